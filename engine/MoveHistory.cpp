// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MoveHistory.h"

#include "engine/BoardEngine.h"

namespace zq {

void MoveHistory::Clear()
{
    done_.clear();
    undone_.clear();
    liftedPiece_ = 0;
}

void MoveHistory::Lifted(int j, const PiecePlacement& from)
{
    liftedPiece_ = j;
    liftedFrom_ = from;
}

void MoveHistory::PutDown(const PiecePlacement& to)
{
    if (liftedPiece_ == 0)
        return;
    if (to != liftedFrom_) {
        done_.push_back({liftedPiece_, liftedFrom_, to});
        // A new move starts a new line of play: what was undone cannot come back on top of it.
        undone_.clear();
    }
    liftedPiece_ = 0;
}

std::optional<PiecePlacement> MoveHistory::LiftOrigin() const
{
    if (liftedPiece_ == 0)
        return std::nullopt;
    return liftedFrom_;
}

int MoveHistory::CancelLift(BoardEngine& e)
{
    const int j = e.SelectedPiece;
    if (j == 0)
        return 0;
    // A lift the history did not see (none should exist) stays where it is.
    if (liftedPiece_ == j)
        e.Placements[j] = liftedFrom_;
    e.StampPiece(j);
    e.SelectedPiece = 0;
    e.DragMode = BoardEngine::NoDrag;
    liftedPiece_ = 0;
    return j;
}

void MoveHistory::Relay(BoardEngine& e, int j, const PiecePlacement& to)
{
    e.UnstampPiece(j);
    e.Placements[j] = to;
    e.StampPiece(j);
}

std::optional<PieceMove> MoveHistory::Undo(BoardEngine& e)
{
    if (e.SelectedPiece != 0 || done_.empty())
        return std::nullopt;
    const PieceMove m = done_.back();
    done_.pop_back();
    Relay(e, m.piece, m.from);
    undone_.push_back(m);
    return m;
}

std::optional<PieceMove> MoveHistory::Redo(BoardEngine& e)
{
    if (e.SelectedPiece != 0 || undone_.empty())
        return std::nullopt;
    const PieceMove m = undone_.back();
    undone_.pop_back();
    Relay(e, m.piece, m.to);
    done_.push_back(m);
    return m;
}

} // namespace zq
