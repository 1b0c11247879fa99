// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

namespace zq {

// How hard a Quarvel is, from what can be measured on its solution:
//   families   orientation families used (legs along the grid; the diagonal
//              ones; each of the two odd ones): each one more is a new angle
//              the player has to find            4 points each beyond the first
//   tilt       per piece 0 along the grid, 1 diagonal, 2 odd, averaged   3 points a step
//   corners    corners of the outline, convex                          0.4 points each
//   concave    corners of the outline that turn inwards: where pieces
//              have to be fitted into a notch                         1.2 points each
//   slender    irregularity (perimeter over a square's of the same area)
//              above 1: arms, necks and gaps                          8 points a unit
//   solutions  arrangements that rebuild the silhouette: many make it
//              forgiving                   minus 1.5 points per doubling, up to 8 doublings
// The score is their sum; a larger score is a harder Quarvel.
struct Difficulty {
    int families = 0;
    double tilt = 0;
    int corners = 0;
    int concave = 0;
    double slender = 0;
    long long solutions = 0;

    double Score() const;

    // Everything but the solutions, which the caller takes from the solver.
    static Difficulty Measure(const PuzzleRecord& r, long long solutions);
};

} // namespace zq
