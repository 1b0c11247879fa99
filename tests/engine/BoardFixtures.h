// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BoardEngine.h"
#include "PuzzleRecord.h"

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

// A fixed sequence of orientations, repeated.
struct FixedOrientations {
    std::vector<int> values;
    std::size_t next = 0;
    int operator()() { return values[next++ % values.size()]; }
};

} // namespace zq::testing
