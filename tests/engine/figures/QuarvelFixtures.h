// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/figures/LibraryChecker.h"
#include "engine/PuzzleRecord.h"
#include "engine/figures/Silhouette.h"

#include <cstdint>
#include <vector>

namespace zq::testing {

inline PiecePlacement At(int x, int y, int o)
{
    return PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), Orientation(o)};
}

// A 20 by 20 square of four small squares, each split by orientations 0 and 8,
// centred on the board (columns 35..54, rows 20..39).
inline PuzzleRecord CentredSquare(int shiftX = 0, int shiftY = 0)
{
    PuzzleRecord r;
    int j = 1;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            const int l = 35 + shiftX + 10 * sx, t = 20 + shiftY + 10 * sy;
            r[j++] = At(l + 7, t + 7, 0);
            r[j++] = At(l + 3, t + 3, 8);
        }
    return r;
}

// Moves a record so that its silhouette's box is centred on the board.
inline PuzzleRecord Centred(PuzzleRecord r)
{
    const Silhouette s(r);
    const int dx = (90 - (s.MinX() + s.MaxX())) / 2, dy = (60 - (s.MinY() + s.MaxY())) / 2;
    for (int j = 1; j <= PieceCount; ++j)
        r[j] = At(r[j].x + dx, r[j].y + dy, r[j].o.value());
    return r;
}

// Four squares tilted by the odd orientations' angle, each split along one
// diagonal by orientations 1 and 9: the other diagonal (5 and 13) gives the same
// cells with one value different, an outline twin.
inline PuzzleRecord TiltedSquares()
{
    PuzzleRecord r;
    const int x = 40, y = 32;
    const int steps[4][2] = {{0, 0}, {9, 3}, {3, -9}, {12, -6}};
    int j = 1;
    for (const auto& s : steps) {
        r[j++] = At(x + s[0], y + s[1], 1);
        r[j++] = At(x + s[0] - 2, y + s[1] - 4, 9);
    }
    return Centred(r);
}

inline std::vector<std::uint8_t> Bytes(const std::vector<PuzzleRecord>& records)
{
    std::vector<std::uint8_t> out;
    for (const PuzzleRecord& r : records) {
        const auto raw = LibraryChecker::ToRaw(r);
        out.insert(out.end(), raw.begin(), raw.end());
    }
    return out;
}

} // namespace zq::testing
