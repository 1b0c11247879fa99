// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Exact triangle geometry of the pieces, from the vertex tables. The masks are
// approximations; these integer vertices are what the player sees drawn, so the
// generator and the shape comparison work on them.

#include "engine/PuzzleRecord.h"

#include <array>
#include <optional>

namespace zq {

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

class PieceGeometry {
public:
    using Triangle = std::array<Point, 3>;

    // The three vertices of a placed piece, in board cells.
    static Triangle Vertices(int x, int y, int o);
    static Triangle Vertices(const PiecePlacement& p) { return Vertices(p.x, p.y, p.o.value()); }

    // True when the open interiors of the two triangles meet. Touching along an
    // edge or at a point is no overlap.
    static bool InteriorsOverlap(const Triangle& a, const Triangle& b);

    // True when the two triangles share a stretch of outline of positive length,
    // not just a point: the piece is joined by an edge, not hung on by a corner.
    static bool ShareEdge(const Triangle& a, const Triangle& b);

    // The placement (reference point and orientation) whose vertices are exactly
    // these three points in any order, if some orientation has that shape.
    static std::optional<std::array<int, 3>> PlacementOf(const Triangle& t);

    static int Family(int o) { return o % 4 == 0 ? 0 : (o % 2 == 0 ? 2 : (o % 4 == 1 ? 1 : 3)); }
};

} // namespace zq
