// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zq {

// Compares figures on the exact outline of their eight triangles, turned by
// any of the sixteen steps of 22.5 degrees and mirrored. The tilted vertex
// tables are rounded and their pieces slightly smaller, so a figure is first
// scaled to the other's area and laid on its centre of area; what still differs
// is measured as a share of the area. The odd orientations' tables lie at
// 18.4 degrees (legs 3 across for 9 down), so those angles are tried too.
// Rounding leaves a few per cent; one triangle moved to the neighbouring
// square changes about a quarter.
class ShapeTwins {
public:
    // Below this share two figures are one figure turned or mirrored.
    static constexpr double TwinLimit = 0.08;
    // Below this share they are near twins: one slanted corner apart (counted, not refused).
    static constexpr double NearLimit = 0.15;

    struct Shape {
        std::array<std::array<double, 6>, 8> tri{}; // x0 y0 x1 y1 x2 y2, centred on the centre of area
        double area = 0;
        double radius = 0;                         // farthest corner from the centre
        std::array<double, 3> invariants{};        // turn, mirror and scale invariant moments
        // The figure sampled every quarter cell over the square of side 2 * radius, row by row.
        std::vector<std::uint8_t> raster;
        int rasterSide = 0;
        bool Covers(double x, double y) const;
    };

    static Shape Make(const PuzzleRecord& r);

    // The smallest differing share of area over the turns and mirrors; a
    // cheap test on the invariants answers 1 for figures that cannot be close.
    static double Difference(const Shape& a, const Shape& b, double giveUpAbove = NearLimit);

    // The same, with how b lies best on a: mirrored, turned (by a step other than none).
    struct Match {
        double share = 1;
        bool mirrored = false;
        bool turned = false;
    };
    static Match Compare(const Shape& a, const Shape& b, double giveUpAbove = NearLimit);

    // Adds figures one by one and tells whether a new one is a twin of one added before.
    class Index {
    public:
        // The index of the first added figure closer than the limit, or -1.
        int Find(const Shape& s, double limit = TwinLimit) const;
        void Add(const Shape& s) { shapes_.push_back(s); }
        int Size() const { return static_cast<int>(shapes_.size()); }

    private:
        std::vector<Shape> shapes_;
    };
};

} // namespace zq
