// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Orientation.h"
#include "engine/PuzzleLibrary.h"
#include "engine/PuzzleRecord.h"

#include <cstdint>
#include <functional>

namespace zq {

// Uniform source of orientations 0..15; the program seeds one from the clock,
// tests pass a fixed sequence.
using OrientationSource = std::function<int()>;

// The board of the main window: the grids, the eight pieces, the drag state
// and the cell size, with the rules that keep them consistent. No drawing and
// no window: the main window owns one and calls it.
class BoardEngine {
public:
    enum : std::uint8_t { Playing = 0, Solved = 1, Revealed = 2 };
    enum : std::uint8_t { NoDrag = 0, Moving = 1, Turning = 2 };
    enum : int { Outside = 0, MoveZone = 1, TurnZone = 2 };

    std::uint8_t PlayState = Playing;
    std::int32_t TargetAnchorX = 0;
    std::int32_t TargetAnchorY = 0;
    std::int32_t CellWidth = 0;
    std::int32_t CellHeight = 0;
    std::int32_t DragOffsetX = 0;
    std::int32_t DragOffsetY = 0;
    std::int32_t TurnReference = 0;
    Grid Board;
    Grid TargetGrid;
    std::uint8_t SelectedPiece = 0;
    std::uint8_t DragMode = NoDrag;
    PuzzleRecord Placements;

    void StampPiece(int j);
    void UnstampPiece(int j);
    static bool PieceInBounds(int x, int y, Orientation o);
    bool PieceFits(int x, int y, Orientation o) const;
    // The same test with the pair list searched from first to last; kept to
    // measure and prove the table lookup against.
    bool PieceFitsLinear(int x, int y, Orientation o) const;

    // Sets up Quarvel n of the library (copying it to element 0) with the given
    // progress byte. Returns whether the help button is to be enabled.
    bool SetupPuzzle(PuzzleLibrary& library, int n, std::uint8_t progress, const OrientationSource& random);

    // Puts piece j at its parking place in a random orientation that fits, and stamps it.
    void ParkPiece(int j, const OrientationSource& random);
    // Lays pieces 1..count (at most 8) at their places in the solution.
    void LayHelpPieces(const PuzzleRecord& solution, int count);

    bool CheckSolved() const;

    int HitTestPiece(int px, int py, int j) const;
    // The pointer's direction from piece j's reference point in 16ths of a turn, 0..16.
    int AngleStep(int px, int py, int j) const;
};

// Adds (sign 1) or subtracts (sign -1) a piece's mask into any grid, modulo 256.
// Cells that would fall outside the grid are skipped, so a damaged data file
// can never reach memory beyond it.
void StampInto(Grid& grid, const PiecePlacement& p, int sign);

} // namespace zq
