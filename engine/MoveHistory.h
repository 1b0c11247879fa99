// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <optional>
#include <vector>

namespace zq {

class BoardEngine;

// One completed move of a lying piece: lifted at `from`, put down at `to`.
struct PieceMove {
    int piece = 0;
    PiecePlacement from;
    PiecePlacement to;

    friend constexpr bool operator==(const PieceMove&, const PieceMove&) = default;
};

// Undo and redo of the player's moves on one board. Every move it replays
// restores a board the player had before, so no fit test is needed: undoing
// the moves in reverse order walks back through states that were all valid.
// The owner clears it whenever the board is set up anew.
class MoveHistory {
public:
    void Clear();

    // Notes where piece j was when it was lifted; a later put-down is recorded against it.
    void Lifted(int j, const PiecePlacement& from);
    // The lifted piece was put down at `to`. A put-down where it was lifted is no move.
    void PutDown(const PiecePlacement& to);
    // Where the lifted piece came from; none if nothing is noted as lifted.
    std::optional<PiecePlacement> LiftOrigin() const;

    // Stamps the lifted piece back where it was lifted, as if it had never been.
    // Returns the piece, 0 if none was lifted.
    int CancelLift(BoardEngine& e);

    // Lays the piece of the last move back at its start (Undo) or again at its
    // end (Redo). Both refuse while a piece is lifted; cancel the lift first.
    std::optional<PieceMove> Undo(BoardEngine& e);
    std::optional<PieceMove> Redo(BoardEngine& e);

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }

private:
    static void Relay(BoardEngine& e, int j, const PiecePlacement& to);

    std::vector<PieceMove> done_;
    std::vector<PieceMove> undone_;
    int liftedPiece_ = 0;
    PiecePlacement liftedFrom_;
};

} // namespace zq
