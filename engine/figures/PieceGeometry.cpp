// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/PieceGeometry.h"

#include "engine/Geometry.h"

#include <algorithm>
#include <cstdlib>

namespace zq {

namespace {
long long Cross(Point o, Point a, Point b)
{
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

// Some edge of t has every vertex of u on its far side or on its line.
bool EdgeSeparates(const PieceGeometry::Triangle& t, const PieceGeometry::Triangle& u)
{
    for (int i = 0; i < 3; ++i) {
        const Point p = t[static_cast<std::size_t>(i)];
        const Point q = t[static_cast<std::size_t>((i + 1) % 3)];
        const Point r = t[static_cast<std::size_t>((i + 2) % 3)];
        const long long inner = Cross(p, q, r);
        bool separated = true;
        for (const Point& s : u)
            if ((inner > 0 && Cross(p, q, s) > 0) || (inner < 0 && Cross(p, q, s) < 0)) {
                separated = false;
                break;
            }
        if (separated)
            return true;
    }
    return false;
}
} // namespace

PieceGeometry::Triangle PieceGeometry::Vertices(int x, int y, int o)
{
    Triangle t;
    for (std::size_t k = 0; k < 3; ++k)
        t[k] = Point{x + VertexX[k][static_cast<std::size_t>(o)], y + VertexY[k][static_cast<std::size_t>(o)]};
    return t;
}

bool PieceGeometry::InteriorsOverlap(const Triangle& a, const Triangle& b)
{
    return !EdgeSeparates(a, b) && !EdgeSeparates(b, a);
}

bool PieceGeometry::ShareEdge(const Triangle& a, const Triangle& b)
{
    for (int i = 0; i < 3; ++i) {
        const Point p = a[static_cast<std::size_t>(i)];
        const Point q = a[static_cast<std::size_t>((i + 1) % 3)];
        for (int j = 0; j < 3; ++j) {
            const Point r = b[static_cast<std::size_t>(j)];
            const Point s = b[static_cast<std::size_t>((j + 1) % 3)];
            if (Cross(p, q, r) != 0 || Cross(p, q, s) != 0)
                continue;
            // Collinear: project on the edge direction and look for a stretch of overlap.
            const long long dx = q.x - p.x, dy = q.y - p.y;
            auto along = [&](Point v) { return (v.x - p.x) * dx + (v.y - p.y) * dy; };
            const long long lo1 = 0, hi1 = along(q);
            const long long lo2 = std::min(along(r), along(s)), hi2 = std::max(along(r), along(s));
            if (std::min(hi1, hi2) > std::max(lo1, lo2))
                return true;
        }
    }
    return false;
}

std::optional<std::array<int, 3>> PieceGeometry::PlacementOf(const Triangle& t)
{
    for (int o = 0; o < 16; ++o)
        for (std::size_t k = 0; k < 3; ++k) {
            const int x = t[0].x - VertexX[k][static_cast<std::size_t>(o)];
            const int y = t[0].y - VertexY[k][static_cast<std::size_t>(o)];
            const Triangle c = Vertices(x, y, o);
            const bool same = std::all_of(t.begin(), t.end(), [&](Point v) {
                return std::find(c.begin(), c.end(), v) != c.end();
            });
            if (same)
                return std::array<int, 3>{x, y, o};
        }
    return std::nullopt;
}

} // namespace zq
