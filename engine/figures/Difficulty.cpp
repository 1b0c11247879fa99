// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/Difficulty.h"

#include "engine/figures/PieceGeometry.h"
#include "engine/figures/Silhouette.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace zq {

namespace {

using Tri = PieceGeometry::Triangle;

long long Cross(Point o, Point a, Point b)
{
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

// p lies on the closed segment a-b.
bool OnSegment(Point a, Point b, Point p)
{
    return Cross(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

// The outline's corners: every triangle edge is cut at the corners of the
// others that lie on it; a stretch that no other triangle shares is outline.
// With all triangles turned the same way round, the outline runs the same way,
// and the turn at each of its points says convex or concave.
void OutlineCorners(const PuzzleRecord& r, int& convex, int& concave)
{
    std::vector<Tri> tris;
    for (int j = 1; j <= PieceCount; ++j) {
        Tri t = PieceGeometry::Vertices(r[j]);
        if (Cross(t[0], t[1], t[2]) < 0)
            std::swap(t[1], t[2]);
        tris.push_back(t);
    }
    // Doubled coordinates keep midpoints whole.
    std::map<std::pair<int, int>, std::vector<Point>> out, in; // point -> directions
    for (std::size_t i = 0; i < tris.size(); ++i)
        for (std::size_t e = 0; e < 3; ++e) {
            const Point a = tris[i][e], b = tris[i][(e + 1) % 3];
            std::vector<Point> cuts{a, b};
            for (std::size_t k = 0; k < tris.size(); ++k)
                if (k != i)
                    for (const Point& v : tris[k])
                        if (OnSegment(a, b, v))
                            cuts.push_back(v);
            const long long dx = b.x - a.x, dy = b.y - a.y;
            std::sort(cuts.begin(), cuts.end(), [&](Point p, Point q) {
                return (p.x - a.x) * dx + (p.y - a.y) * dy < (q.x - a.x) * dx + (q.y - a.y) * dy;
            });
            cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
            for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
                const Point p = cuts[c], q = cuts[c + 1];
                const Point m2{p.x + q.x, p.y + q.y};
                bool shared = false;
                for (std::size_t k = 0; k < tris.size() && !shared; ++k)
                    for (std::size_t f = 0; f < 3 && k != i && !shared; ++f) {
                        const Point u = tris[k][f], w = tris[k][(f + 1) % 3];
                        shared = OnSegment(Point{2 * u.x, 2 * u.y}, Point{2 * w.x, 2 * w.y}, m2);
                    }
                if (!shared) {
                    out[{p.x, p.y}].push_back(Point{q.x - p.x, q.y - p.y});
                    in[{q.x, q.y}].push_back(Point{q.x - p.x, q.y - p.y});
                }
            }
        }
    convex = concave = 0;
    for (const auto& [pt, outs] : out) {
        const auto it = in.find(pt);
        if (it == in.end())
            continue;
        const std::size_t n = std::min(outs.size(), it->second.size());
        for (std::size_t k = 0; k < n; ++k) {
            const Point d1 = it->second[k], d2 = outs[k];
            const long long c = static_cast<long long>(d1.x) * d2.y - static_cast<long long>(d1.y) * d2.x;
            if (c > 0)
                ++convex;
            else if (c < 0)
                ++concave;
        }
    }
}

} // namespace

double Difficulty::Score() const
{
    const double doublings = std::min(8.0, std::log2(static_cast<double>(std::max(1LL, solutions))));
    return 4.0 * std::max(0, families - 1) + 3.0 * tilt + 0.4 * corners + 1.2 * concave + 8.0 * std::max(0.0, slender - 1.0) -
           1.5 * doublings;
}

Difficulty Difficulty::Measure(const PuzzleRecord& r, long long solutions)
{
    Difficulty d;
    std::set<int> families;
    for (int j = 1; j <= PieceCount; ++j) {
        const int o = r[j].o.value();
        families.insert(PieceGeometry::Family(o));
        d.tilt += o % 4 == 0 ? 0 : (o % 2 == 0 ? 1 : 2);
    }
    d.families = static_cast<int>(families.size());
    d.tilt /= PieceCount;
    OutlineCorners(r, d.corners, d.concave);
    d.slender = Silhouette(r).Irregularity();
    d.solutions = solutions;
    return d;
}

} // namespace zq
