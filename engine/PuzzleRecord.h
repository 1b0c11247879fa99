// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Orientation.h"

#include <array>
#include <cstdint>

namespace zq {

inline constexpr int BoardWidth = 91;
inline constexpr int BoardHeight = 61;
inline constexpr int PieceCount = 8;

// Where one piece lies: the grid point at the top-left corner of cell (x, y)
// is its reference point. Three bytes, exactly as in the data file.
struct PiecePlacement {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    Orientation o;

    friend constexpr bool operator==(const PiecePlacement&, const PiecePlacement&) = default;
};
static_assert(sizeof(PiecePlacement) == 3);

// The eight placements of one Quarvel's pieces. Indexed by piece number 1..8,
// the way the game counts pieces everywhere.
struct PuzzleRecord {
    std::array<PiecePlacement, PieceCount> piece{};

    constexpr PiecePlacement& operator[](int j) { return piece[static_cast<std::size_t>(j - 1)]; }
    constexpr const PiecePlacement& operator[](int j) const { return piece[static_cast<std::size_t>(j - 1)]; }

    friend constexpr bool operator==(const PuzzleRecord&, const PuzzleRecord&) = default;
};
static_assert(sizeof(PuzzleRecord) == 24);

// 91 by 61 coverage values, column-major: cell (x, y) is byte x * 61 + y.
struct Grid {
    static constexpr int Size = BoardWidth * BoardHeight;
    std::array<std::uint8_t, Size> cells{};

    static constexpr int Index(int x, int y) { return x * BoardHeight + y; }
    constexpr std::uint8_t& at(int x, int y) { return cells[static_cast<std::size_t>(Index(x, y))]; }
    constexpr std::uint8_t at(int x, int y) const { return cells[static_cast<std::size_t>(Index(x, y))]; }

    friend constexpr bool operator==(const Grid&, const Grid&) = default;
};
static_assert(Grid::Size == 5551);

} // namespace zq
