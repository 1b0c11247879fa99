// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/BoardEngine.h"
#include "engine/Geometry.h"
#include "engine/PuzzleRecord.h"

#include <utility>
#include <vector>

namespace zq::testing {

inline PiecePlacement At(int x, int y, int o)
{
    return PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), Orientation(o)};
}

// A 20 by 20 square of four 10 by 10 squares, each split along its falling
// diagonal by orientations 0 and 8, with its top-left cell at (left, top).
inline PuzzleRecord SquareOfSquares(int left = 20, int top = 20)
{
    PuzzleRecord r;
    int j = 1;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            const int l = left + 10 * sx, t = top + 10 * sy;
            r[j++] = At(l + 7, t + 7, 0);
            r[j++] = At(l + 3, t + 3, 8);
        }
    return r;
}

// The same outline with every small square split along the other diagonal.
inline PuzzleRecord SquareOfSquaresOtherDiagonal(int left = 20, int top = 20)
{
    PuzzleRecord r;
    int j = 1;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            const int l = left + 10 * sx, t = top + 10 * sy;
            r[j++] = At(l + 3, t + 7, 4);
            r[j++] = At(l + 7, t + 3, 12);
        }
    return r;
}

// A Quarvel without any mirror symmetry, shifted by (sx, sy) from its home.
// Pieces 1 and 2 share two cells as the one-way pairs (2, 38) and (24, 17):
// piece 2 fits after piece 1 but piece 1 is refused after piece 2, since
// (38, 2) is no pair. Pieces 3, 4 and 5 share cell (43, 20): 11 + 2 = 13
// there when piece 5 adds 51, and (13, 51) is one-way as well. The rest lie
// apart in odd orientations. Worked out by hand from the mask rows: it covers
// columns 13..78 and rows 6..51 with a total coverage of 23028 over 463 cells;
// its first cell row by row is (29, 6), column by column (13, 20).
inline PuzzleRecord Skewed(int sx = 0, int sy = 0)
{
    const int home[8][3] = {{20, 20, 1}, {29, 13, 15}, {50, 20, 1}, {39, 23, 1},
                            {48, 16, 9}, {20, 45, 7},  {45, 45, 11}, {75, 45, 13}};
    PuzzleRecord r;
    for (int j = 1; j <= 8; ++j)
        r[j] = At(home[j - 1][0] + sx, home[j - 1][1] + sy, home[j - 1][2]);
    return r;
}

// Adds a mask into a grid cell by cell over the whole 14 by 14 square, without
// the bounds tables: an independent reading of where a mask lands. Cells off
// the grid are dropped.
inline void AddMask(Grid& g, const PiecePlacement& p)
{
    for (int dx = -7; dx <= 6; ++dx)
        for (int dy = -7; dy <= 6; ++dy) {
            const int x = p.x + dx, y = p.y + dy;
            if (const int v = MaskAt(p.o, dx, dy); v != 0 && x >= 0 && x < BoardWidth && y >= 0 && y < BoardHeight)
                g.at(x, y) = static_cast<std::uint8_t>(g.at(x, y) + v);
        }
}

inline Grid MasksOf(const PuzzleRecord& r, int count = 8)
{
    Grid g;
    for (int j = 1; j <= count; ++j)
        AddMask(g, r[j]);
    return g;
}

// The grid moved by (sx, sy); cells moved off it are dropped.
inline Grid Shifted(const Grid& g, int sx, int sy)
{
    Grid out;
    for (int x = 0; x < BoardWidth; ++x)
        for (int y = 0; y < BoardHeight; ++y)
            if (x + sx >= 0 && x + sx < BoardWidth && y + sy >= 0 && y + sy < BoardHeight)
                out.at(x + sx, y + sy) = g.at(x, y);
    return out;
}

inline int Total(const Grid& g)
{
    int t = 0;
    for (std::uint8_t v : g.cells)
        t += v;
    return t;
}

// A fixed sequence of orientations, repeated.
struct FixedOrientations {
    std::vector<int> values;
    std::size_t next = 0;
    int operator()() { return values[next++ % values.size()]; }
};

} // namespace zq::testing
