// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/Silhouette.h"

#include "engine/BoardEngine.h"
#include "engine/figures/PieceGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace zq {

Silhouette::Silhouette(const PuzzleRecord& solution)
{
    for (int j = 1; j <= PieceCount; ++j)
        StampInto(target_, solution[j], 1);
    minX_ = BoardWidth;
    minY_ = BoardHeight;
    maxX_ = -1;
    maxY_ = -1;
    for (int x = 0; x < BoardWidth; ++x)
        for (int y = 0; y < BoardHeight; ++y)
            if (target_.at(x, y) != 0) {
                ++cellCount_;
                minX_ = std::min(minX_, x);
                maxX_ = std::max(maxX_, x);
                minY_ = std::min(minY_, y);
                maxY_ = std::max(maxY_, y);
            }
    if (cellCount_ == 0) {
        minX_ = minY_ = 0;
        maxX_ = maxY_ = -1;
    }
}

bool Silhouette::Connected() const
{
    if (cellCount_ == 0)
        return false;
    std::vector<char> seen(Grid::Size, 0);
    std::vector<int> stack;
    for (int i = 0; i < Grid::Size && stack.empty(); ++i)
        if (target_.cells[static_cast<std::size_t>(i)] != 0) {
            stack.push_back(i);
            seen[static_cast<std::size_t>(i)] = 1;
        }
    int reached = 0;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        ++reached;
        const int x = i / BoardHeight, y = i % BoardHeight;
        const std::array<std::array<int, 2>, 4> next{{{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}};
        for (const auto& [nx, ny] : next) {
            if (nx < 0 || ny < 0 || nx >= BoardWidth || ny >= BoardHeight)
                continue;
            const int n = Grid::Index(nx, ny);
            if (target_.cells[static_cast<std::size_t>(n)] != 0 && !seen[static_cast<std::size_t>(n)]) {
                seen[static_cast<std::size_t>(n)] = 1;
                stack.push_back(n);
            }
        }
    }
    return reached == cellCount_;
}

int Silhouette::Perimeter() const
{
    auto on = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < BoardWidth && y < BoardHeight && target_.at(x, y) != 0;
    };
    int edges = 0;
    for (int x = 0; x < BoardWidth; ++x)
        for (int y = 0; y < BoardHeight; ++y)
            if (on(x, y))
                edges += !on(x - 1, y) + !on(x + 1, y) + !on(x, y - 1) + !on(x, y + 1);
    return edges;
}

double Silhouette::Irregularity() const
{
    if (cellCount_ == 0)
        return 0;
    return Perimeter() / (4.0 * std::sqrt(static_cast<double>(cellCount_)));
}

std::string Silhouette::TranslationKey() const
{
    std::string key;
    key.reserve(static_cast<std::size_t>(Width() * Height() + 4));
    key.push_back(static_cast<char>(Width()));
    key.push_back(static_cast<char>(Height()));
    for (int y = minY_; y <= maxY_; ++y)
        for (int x = minX_; x <= maxX_; ++x)
            key.push_back(static_cast<char>(target_.at(x, y)));
    return key;
}

std::string Silhouette::SymmetryKey(const PuzzleRecord& solution)
{
    // Sample points at (k + 1/2) / 2 in doubled coordinates: 4 * point = 2k + 1,
    // an odd number, which quarter turns and mirrors map to odd numbers again.
    std::array<PieceGeometry::Triangle, PieceCount> tri;
    for (int j = 1; j <= PieceCount; ++j)
        tri[static_cast<std::size_t>(j - 1)] = PieceGeometry::Vertices(solution[j]);
    int minX = 1 << 20, minY = 1 << 20, maxX = -(1 << 20), maxY = -(1 << 20);
    for (const auto& t : tri)
        for (const Point& p : t) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    // Sample (i, k) lies at 4x = 4 * minX + 1 + 2i, 4y = 4 * minY + 1 + 2k: two
    // samples per cell each way, symmetric about the middle of the box.
    const int w = 2 * (maxX - minX), h = 2 * (maxY - minY);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(w * h), 0);
    auto inside = [](const PieceGeometry::Triangle& t, long long sx, long long sy) {
        long long sign = 0;
        for (int i = 0; i < 3; ++i) {
            const Point a = t[static_cast<std::size_t>(i)], b = t[static_cast<std::size_t>((i + 1) % 3)];
            const long long c = (4LL * b.x - 4LL * a.x) * (sy - 4LL * a.y) - (4LL * b.y - 4LL * a.y) * (sx - 4LL * a.x);
            if (c == 0)
                continue; // on the edge line: closed triangles
            if (sign == 0)
                sign = c;
            else if ((c > 0) != (sign > 0))
                return false;
        }
        return true;
    };
    for (const auto& t : tri) {
        const int tx0 = std::min({t[0].x, t[1].x, t[2].x}), tx1 = std::max({t[0].x, t[1].x, t[2].x});
        const int ty0 = std::min({t[0].y, t[1].y, t[2].y}), ty1 = std::max({t[0].y, t[1].y, t[2].y});
        for (int i = 2 * (tx0 - minX); i < 2 * (tx1 - minX); ++i)
            for (int k = 2 * (ty0 - minY); k < 2 * (ty1 - minY); ++k) {
                std::uint8_t& px = image[static_cast<std::size_t>(k * w + i)];
                if (!px && inside(t, 4LL * minX + 1 + 2LL * i, 4LL * minY + 1 + 2LL * k))
                    px = 1;
            }
    }
    std::string best;
    for (int s = 0; s < 8; ++s) {
        // Map (i, k) by one of the eight symmetries of the square, then crop.
        std::vector<std::array<int, 2>> pts;
        for (int i = 0; i < w; ++i)
            for (int k = 0; k < h; ++k)
                if (image[static_cast<std::size_t>(k * w + i)]) {
                    int a = i, b = k;
                    if (s & 1)
                        a = w - 1 - a;
                    if (s & 2)
                        b = h - 1 - b;
                    if (s & 4)
                        std::swap(a, b);
                    pts.push_back({a, b});
                }
        int mx = 1 << 20, my = 1 << 20, Mx = -1, My = -1;
        for (const auto& p : pts) {
            mx = std::min(mx, p[0]);
            my = std::min(my, p[1]);
            Mx = std::max(Mx, p[0]);
            My = std::max(My, p[1]);
        }
        const int cw = Mx - mx + 1, ch = My - my + 1;
        std::string key(static_cast<std::size_t>(cw * ch) + 2, '\0');
        key[0] = static_cast<char>(cw);
        key[1] = static_cast<char>(ch);
        for (const auto& p : pts)
            key[static_cast<std::size_t>(2 + (p[1] - my) * cw + (p[0] - mx))] = 1;
        if (best.empty() || key < best)
            best = std::move(key);
    }
    return best;
}

int Silhouette::OrientationClass(const PuzzleRecord& solution)
{
    int c = 0;
    for (int j = 1; j <= PieceCount; ++j) {
        const int o = solution[j].o.value();
        c = std::max(c, o % 4 == 0 ? 0 : (o % 2 == 0 ? 1 : 2));
    }
    return c;
}

} // namespace zq
