// SPDX-License-Identifier: GPL-3.0-or-later
#include "Silhouette.h"

#include "BoardEngine.h"
#include "PieceGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace zq::tool {

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
    int lo = 1 << 20, hi = -(1 << 20);
    for (const auto& t : tri)
        for (const Point& p : t) {
            lo = std::min({lo, p.x, p.y});
            hi = std::max({hi, p.x, p.y});
        }
    // Coordinates times 4; sample at odd values from 4 * lo + 1 to 4 * hi - 1, step 2.
    const int n = 2 * (hi - lo);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(n * n), 0);
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
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) {
            const long long sx = 4LL * lo + 1 + 2LL * i, sy = 4LL * lo + 1 + 2LL * k;
            for (const auto& t : tri)
                if (inside(t, sx, sy)) {
                    image[static_cast<std::size_t>(k * n + i)] = 1;
                    break;
                }
        }
    std::string best;
    for (int s = 0; s < 8; ++s) {
        // Map (i, k) by one of the eight symmetries of the square, then crop.
        std::vector<std::array<int, 2>> pts;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k)
                if (image[static_cast<std::size_t>(k * n + i)]) {
                    int a = i, b = k;
                    if (s & 1)
                        a = n - 1 - a;
                    if (s & 2)
                        b = n - 1 - b;
                    if (s & 4)
                        std::swap(a, b);
                    pts.push_back({a, b});
                }
        int mx = n, my = n, Mx = -1, My = -1;
        for (const auto& p : pts) {
            mx = std::min(mx, p[0]);
            my = std::min(my, p[1]);
            Mx = std::max(Mx, p[0]);
            My = std::max(My, p[1]);
        }
        const int w = Mx - mx + 1, h = My - my + 1;
        std::string key(static_cast<std::size_t>(w * h) + 2, '\0');
        key[0] = static_cast<char>(w);
        key[1] = static_cast<char>(h);
        for (const auto& p : pts)
            key[static_cast<std::size_t>(2 + (p[1] - my) * w + (p[0] - mx))] = 1;
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

} // namespace zq::tool
