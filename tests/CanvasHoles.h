// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel checks on drawn silhouettes, shared by the canvas and window tests.
#pragma once

#include "platform/canvas/Canvas.h"

#include <utility>
#include <vector>

namespace zq::test {

// Silver device pixels that the background cannot reach from the picture's border
// without crossing a drawn pixel: holes inside a drawn shape.
inline int EnclosedSilver(const Canvas& c)
{
    const QImage& im = c.Image();
    const int w = im.width();
    const int h = im.height();
    const QRgb silver = ToQRgb(clSilver);
    std::vector<char> reached(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    std::vector<std::pair<int, int>> todo;
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x); };
    const auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || reached[at(x, y)] || im.pixel(x, y) != silver)
            return;
        reached[at(x, y)] = 1;
        todo.push_back({x, y});
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            enclosed += !reached[at(x, y)] && im.pixel(x, y) == silver;
    return enclosed;
}

} // namespace zq::test
