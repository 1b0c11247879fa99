// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zq {

// What a Quarvel looks like: the target grid its solution stamps, with the
// measures the rules and the difficulty order are built on.
class Silhouette {
public:
    explicit Silhouette(const PuzzleRecord& solution);

    const Grid& Target() const { return target_; }
    bool Empty() const { return cellCount_ == 0; }
    int CellCount() const { return cellCount_; }
    int MinX() const { return minX_; }
    int MaxX() const { return maxX_; }
    int MinY() const { return minY_; }
    int MaxY() const { return maxY_; }
    int Width() const { return Empty() ? 0 : maxX_ - minX_ + 1; }
    int Height() const { return Empty() ? 0 : maxY_ - minY_ + 1; }

    // All non-zero cells joined through shared cell edges.
    bool Connected() const;
    // Cell edges between the silhouette and the outside.
    int Perimeter() const;
    // Perimeter over that of a square of the same area: 1 for a square, larger
    // for elongated, ragged or branching figures.
    double Irregularity() const;

    // The values cropped to the bounding box: equal keys mean the same silhouette
    // up to translation.
    std::string TranslationKey() const;

    // The smallest of the eight images of the drawn triangles (turned by quarter
    // turns and mirrored), sampled on a half-cell lattice that those maps keep:
    // equal keys mean the figures are rotation or mirror twins.
    static std::string SymmetryKey(const PuzzleRecord& solution);

    // 0 when every orientation is a multiple of 4, 1 when all are even, 2 otherwise.
    static int OrientationClass(const PuzzleRecord& solution);

private:
    Grid target_;
    int cellCount_ = 0;
    int minX_ = 0, maxX_ = -1, minY_ = 0, maxY_ = -1;
};

} // namespace zq
