// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MoveHistory.h"

#include "BoardFixtures.h"
#include "engine/BoardEngine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zq;
using zq::testing::At;
using zq::testing::MasksOf;

namespace {

// The eight pieces parked as a set-up parks them, all in orientation 0.
PuzzleRecord Parked()
{
    PuzzleRecord r;
    for (int j = 1; j <= 8; ++j)
        r[j] = At(j % 2 ? 9 : 81, (j - 1) / 2 * 15 + 8, 0);
    return r;
}

struct History : ::testing::Test {
    BoardEngine e;
    MoveHistory h;

    void SetUp() override
    {
        e.Placements = Parked();
        for (int j = 1; j <= 8; ++j)
            e.StampPiece(j);
    }

    void Lift(int j)
    {
        e.UnstampPiece(j);
        e.SelectedPiece = static_cast<std::uint8_t>(j);
        h.Lifted(j, e.Placements[j]);
    }
    // A whole move as the player makes it: lift, carry, put down where it fits.
    void Move(int j, const PiecePlacement& to)
    {
        Lift(j);
        e.Placements[j] = to;
        ASSERT_TRUE(e.PieceFits(to.x, to.y, to.o)) << "the scenario only makes moves that fit";
        e.StampPiece(j);
        e.SelectedPiece = 0;
        h.PutDown(to);
    }
    // The board must hold exactly the masks of the placements, read independently.
    void ExpectState(const PuzzleRecord& placements)
    {
        EXPECT_EQ(e.Placements, placements);
        EXPECT_EQ(e.Board, MasksOf(placements));
        EXPECT_EQ(e.SelectedPiece, 0);
    }
};

} // namespace

// Pieces of the square of squares built one by one, piece 1 carried twice,
// piece 3 turned where it lies: undo walks back through every state, redo forward.
TEST_F(History, UndoWalksBackThroughEveryStateAndRedoForward)
{
    const PuzzleRecord home = zq::testing::SquareOfSquares(30, 20);
    const struct {
        int piece;
        PiecePlacement to;
    } moves[] = {
        {1, home[1]}, {2, home[2]}, {1, At(60, 40, 3)}, {3, At(9, 23, 5)}, {1, home[1]}, {3, home[3]}, {4, home[4]},
    };
    std::vector<PuzzleRecord> states{e.Placements};
    std::vector<PieceMove> made;
    for (const auto& m : moves) {
        made.push_back({m.piece, e.Placements[m.piece], m.to});
        Move(m.piece, m.to);
        states.push_back(e.Placements);
    }
    const std::size_t n = made.size();
    for (std::size_t k = 1; k <= n; ++k) {
        SCOPED_TRACE(::testing::Message() << "undo " << k);
        const auto undone = h.Undo(e);
        ASSERT_TRUE(undone);
        EXPECT_EQ(*undone, made[n - k]);
        ExpectState(states[n - k]);
    }
    EXPECT_FALSE(h.Undo(e)) << "nothing left to undo";
    ExpectState(states[0]);
    for (std::size_t k = 1; k <= n; ++k) {
        SCOPED_TRACE(::testing::Message() << "redo " << k);
        const auto redone = h.Redo(e);
        ASSERT_TRUE(redone);
        EXPECT_EQ(*redone, made[k - 1]);
        ExpectState(states[k]);
    }
    EXPECT_FALSE(h.Redo(e));
    ExpectState(states[n]);
}

TEST_F(History, ANewMoveAfterUndoDropsWhatWasUndone)
{
    const PuzzleRecord start = e.Placements;
    Move(1, At(40, 30, 0));
    Move(2, At(60, 30, 8));
    const PuzzleRecord afterFirst = [&] { PuzzleRecord r = start; r[1] = At(40, 30, 0); return r; }();
    ASSERT_TRUE(h.Undo(e));
    ExpectState(afterFirst);
    Move(4, At(40, 50, 2));
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(h.Redo(e));
    ASSERT_TRUE(h.Undo(e));
    ExpectState(afterFirst);
    ASSERT_TRUE(h.Undo(e));
    ExpectState(start);
}

TEST_F(History, LiftsAreCancelledNotRecordedAndBlockUndo)
{
    const PuzzleRecord start = e.Placements;
    Move(5, At(45, 30, 4));
    const PuzzleRecord moved = e.Placements;

    // Carried and turned, then taken back: as if never lifted.
    Lift(2);
    e.Placements[2] = At(50, 12, 7);
    EXPECT_EQ(h.LiftOrigin(), start[2]);
    EXPECT_FALSE(h.Undo(e)) << "no undo under a lifted piece";
    EXPECT_FALSE(h.Redo(e));
    EXPECT_EQ(e.Placements[2], At(50, 12, 7));
    EXPECT_EQ(h.CancelLift(e), 2);
    ExpectState(moved);
    EXPECT_FALSE(h.LiftOrigin());
    EXPECT_EQ(h.CancelLift(e), 0) << "nothing lifted any more";

    // Put down where it was lifted: no move to undo.
    Lift(6);
    e.StampPiece(6);
    e.SelectedPiece = 0;
    h.PutDown(e.Placements[6]);
    ASSERT_TRUE(h.Undo(e));
    ExpectState(start);
    EXPECT_FALSE(h.Undo(e));

    // A new set-up forgets everything, a noted lift too.
    ASSERT_TRUE(h.Redo(e));
    Lift(7);
    h.Clear();
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(h.LiftOrigin());
}
