// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include "BoardLayout.h"
#include "Geometry.h"
#include "ProgressByte.h"

#include <QToolButton>

#include <cmath>
#include <numbers>
#include <random>

using namespace zq;
using namespace zq::test;

namespace {
struct Play : MainformFixture {
    // Lifts piece j, turns it with a turn drag and sixteen right presses, carries it to
    // its place in the solution with a move drag and puts it down with a press beside it.
    void Build(int j, const PiecePlacement& target)
    {
        const QPoint grip = ZonePixel(j, BoardEngine::MoveZone);
        Press(grip.x(), grip.y());
        ASSERT_EQ(form->Engine.SelectedPiece, j);

        const QPoint turnGrip = ZonePixel(j, BoardEngine::TurnZone);
        Press(turnGrip.x(), turnGrip.y());
        ASSERT_EQ(form->Engine.DragMode, BoardEngine::Turning);
        const int s = (form->Engine.TurnReference - target.o.value() + 32) % 16;
        const PiecePlacement& p = form->Engine.Placements[j];
        const double a = s * std::numbers::pi / 8;
        Move(static_cast<int>(p.x * Cell() + 60 * std::cos(a)), static_cast<int>(p.y * Cell() - 60 * std::sin(a)));
        ASSERT_EQ(form->Engine.Placements[j].o, target.o);
        for (int i = 0; i < 16; ++i)
            Press(900, 600, Qt::RightButton);
        ASSERT_EQ(form->Engine.Placements[j].o, target.o);

        const QPoint moveGrip = ZonePixel(j, BoardEngine::MoveZone);
        Press(moveGrip.x(), moveGrip.y());
        ASSERT_EQ(form->Engine.DragMode, BoardEngine::Moving);
        Move((target.x - form->Engine.DragOffsetX) * Cell() + 3, (target.y - form->Engine.DragOffsetY) * Cell() + 3);
        ASSERT_EQ(form->Engine.Placements[j], target);
        Move(5000, 5000); // far outside the grid: refused without a sound
        ASSERT_EQ(form->Engine.Placements[j], target);

        const QPoint free = FreePixel();
        Press(free.x(), free.y());
        ASSERT_EQ(form->Engine.SelectedPiece, 0);
    }
};
} // namespace

TEST(BoardLayout, TallAndFlatWindowsCentreTheBoardTheOtherWay)
{
    const BoardLayout tall = BoardLayout::For(500, 900, 33);
    EXPECT_EQ(tall.CellSize, 5);
    EXPECT_EQ(tall.Left, (500 - 455) / 2);
    EXPECT_GT(tall.Top - 33, 200);
    const BoardLayout flat = BoardLayout::For(1500, 400, 33);
    EXPECT_EQ(flat.CellSize, 5);
    EXPECT_EQ(flat.Top, (367 - 305) / 2 + 33);
    EXPECT_GT(flat.Left, 400);
    EXPECT_EQ(BoardLayout::For(50, 50, 33).CellSize, 0);
}

TEST_F(Play, ResizeGivesTenPixelCellsAndTheBoxAtItsPlace)
{
    Start();
    EXPECT_EQ(Cell(), 10);
    EXPECT_EQ(form->box->geometry(), QRect(17, 48, 911, 611));
    // Silver board, black frame around it, the parked pieces black with grey edges.
    EXPECT_EQ(form->box->Canvas().Pixel(450, 300), clSilver);
    EXPECT_EQ(form->FormCanvas().Pixel(16, 100), clBlack);
    EXPECT_EQ(form->box->Canvas().Pixel(9 * 10 - 5, 8 * 10 + 1), clBlack);
}

TEST_F(Play, FullPlayThroughSolvesTheQuarvel)
{
    Start();
    const PuzzleRecord solution = state.Library[state.CurrentPuzzle];
    bool pageShown = false;
    for (int j = 1; j <= 8; ++j) {
        if (j == 8)
            WhenModal([&](QWidget* w) {
                pageShown = yesNo->ActivePage() == TYesNoDlg::won;
                PressKey(w, Qt::Key_Return);
            });
        Build(j, solution[j]);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(CanvasMatchesAFreshPaint()) << "after piece " << j;
        EXPECT_EQ(form->Engine.Board, SumOfMasksExceptLifted());
    }
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Solved);
    EXPECT_TRUE(pageShown);
    EXPECT_EQ(state.Progress(1), 8);
    EXPECT_TRUE(form->Modified);
    const auto played = SoundsPlayed();
    EXPECT_EQ(std::count(played.begin(), played.end(), 1), 8) << "regrabbing a lifted piece lifts nothing";
    EXPECT_EQ(std::count(played.begin(), played.end(), 2), 8);
    EXPECT_EQ(played.back(), 5);
    EXPECT_TRUE(pattern->windowTitle().endsWith(QStringLiteral(" - solved"))) << pattern->windowTitle().toStdString();
    EXPECT_EQ(form->box->Canvas().Pixel(solution[1].x * 10, solution[1].y * 10 - 1), clGreen);
    // The board now ignores presses.
    const QPoint p = ZonePixel(1, BoardEngine::MoveZone);
    Press(p.x(), p.y());
    EXPECT_EQ(form->Engine.SelectedPiece, 0);
}

TEST_F(Play, RefusedPutDownKeepsThePieceLiftedAndStopsTheDrag)
{
    Start();
    const QPoint grip = ZonePixel(1, BoardEngine::MoveZone);
    Press(grip.x(), grip.y());
    // Carry piece 1 onto piece 3's place, where full cells would overlap.
    Move(grip.x(), grip.y() + 15 * Cell());
    form->Engine.Placements[1].o = form->Engine.Placements[3].o;
    ASSERT_FALSE(form->Engine.PieceFits(form->Engine.Placements[1].x, form->Engine.Placements[1].y,
                                        form->Engine.Placements[1].o));
    SoundsPlayed();
    const QPoint free = FreePixel();
    Press(free.x(), free.y());
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{6});
    EXPECT_EQ(form->Engine.SelectedPiece, 1);
    EXPECT_EQ(form->Engine.DragMode, BoardEngine::NoDrag);
    const PiecePlacement before = form->Engine.Placements[1];
    Move(free.x() + 100, free.y() + 100);
    EXPECT_EQ(form->Engine.Placements[1], before);
    EXPECT_TRUE(SoundsPlayed().empty());
}

TEST_F(Play, PressesOffTheGridAndOverlapsPickAsSpecified)
{
    Start();
    // The last pixel column and row of the box are cell 91 and row 61: nothing happens.
    const QPoint grip = ZonePixel(2, BoardEngine::MoveZone);
    Press(grip.x(), grip.y());
    ASSERT_EQ(form->Engine.SelectedPiece, 2);
    Press(910, 300);
    Press(300, 610);
    EXPECT_EQ(form->Engine.SelectedPiece, 2);
    // Right press without a lifted piece does nothing; with one it turns, from 15 to 0.
    form->Engine.Placements[2].o = Orientation(15);
    form->box->Repaint();
    Press(10, 10, Qt::RightButton);
    EXPECT_EQ(form->Engine.Placements[2].o, Orientation(0));
    EXPECT_TRUE(CanvasMatchesAFreshPaint());

    // Two pieces under the pointer: the higher number is lifted.
    form->TipBtnClick(); // ends the lift and lays 1 and 2
    BoardEngine& e = form->Engine;
    e.UnstampPiece(5);
    e.Placements[5] = e.Placements[4];
    e.StampPiece(5);
    form->box->Repaint();
    const QPoint both = ZonePixel(4, BoardEngine::MoveZone);
    ASSERT_GT(e.HitTestPiece(both.x(), both.y(), 5), 0);
    Press(both.x(), both.y());
    EXPECT_EQ(e.SelectedPiece, 5);
}

TEST_F(Play, TurnArithmeticFollowsThePointer)
{
    Start();
    BoardEngine& e = form->Engine;
    const QPoint grip = ZonePixel(1, BoardEngine::MoveZone);
    Press(grip.x(), grip.y());
    ASSERT_EQ(e.SelectedPiece, 1);
    e.Placements[1] = zq::testing::At(45, 30, 5);
    form->box->Repaint();
    e.DragMode = BoardEngine::Turning;
    e.TurnReference = 7; // orientation 5 grabbed at step 2
    const auto toStep = [&](int step) {
        const double a = step * std::numbers::pi / 8;
        Move(static_cast<int>(450 + 80 * std::cos(a)), static_cast<int>(300 - 80 * std::sin(a)));
        return e.Placements[1].o.value();
    };
    EXPECT_EQ(toStep(4), 3);
    EXPECT_EQ(toStep(15), 8);
    EXPECT_EQ(toStep(16), 7);
    EXPECT_EQ(toStep(0), 7);
    EXPECT_TRUE(CanvasMatchesAFreshPaint());
}

TEST_F(Play, HelpStepsLayPiecesAndFinallyRevealInRed)
{
    Start();
    BoardEngine& e = form->Engine;
    const QPoint grip = ZonePixel(3, BoardEngine::MoveZone);
    Press(grip.x(), grip.y()); // a lifted piece is put back by the help
    ASSERT_EQ(e.SelectedPiece, 3);
    const std::uint8_t expected[] = {1, 2, 3, 12};
    for (int step = 0; step < 4; ++step) {
        form->TipBtnClick();
        EXPECT_EQ(state.Progress(1), expected[step]);
        EXPECT_EQ(e.SelectedPiece, 0);
        EXPECT_EQ(e.Board, SumOfMasksExceptLifted());
        for (int j = 1; j <= 2 * (step + 1); ++j)
            EXPECT_EQ(e.Placements[j], state.Library[1][j]);
        EXPECT_TRUE(CanvasMatchesAFreshPaint()) << "step " << step;
    }
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(e.PlayState, BoardEngine::Revealed);
    EXPECT_EQ(form->box->Canvas().Pixel(e.Placements[1].x * 10, e.Placements[1].y * 10 - 1), clRed);
    const Grid board = e.Board;
    form->TipBtnClick();
    EXPECT_EQ(state.Progress(1), 12);
    const QPoint p = ZonePixel(1, BoardEngine::MoveZone);
    Press(p.x(), p.y());
    EXPECT_EQ(e.SelectedPiece, 0);
    EXPECT_EQ(e.Board, board);
    // The next set-up of a finished Quarvel parks everything and disables help.
    form->UpBtnClick();
    form->DownBtnClick();
    EXPECT_FALSE(form->TipBtn->isEnabled());
    EXPECT_TRUE(pattern->windowTitle().endsWith(QStringLiteral(" - dropped")));
}

TEST_F(Play, DamagedHelpLevelNeverLaysMoreThanEightPieces)
{
    Start();
    state.Progress(1) = 6; // only a damaged game file holds this
    form->SetupPuzzle();
    EXPECT_EQ(form->Engine.Placements, state.Library[1]);
    form->TipBtnClick();
    EXPECT_EQ(state.Progress(1), 12);
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Revealed);
}

TEST_F(Play, NavigationStopsAtBothEndsAndSetsUpAgain)
{
    Start(3);
    form->DownBtnClick();
    EXPECT_EQ(state.CurrentPuzzle, 1);
    form->UpBtnClick();
    form->UpBtnClick();
    form->UpBtnClick();
    EXPECT_EQ(state.CurrentPuzzle, 3);
    EXPECT_EQ(state.Library[0], state.Library[3]);
    EXPECT_TRUE(form->TipBtn->isEnabled());
    EXPECT_EQ(pattern->windowTitle(), QStringLiteral("Quarvel 3"));
    EXPECT_FALSE(form->Modified);
}

TEST_F(Play, RandomPressesAndMovesKeepBoardAndPictureConsistent)
{
    Start(5, 99);
    std::mt19937 rng(12345);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int event = 0; event < 600; ++event) {
        const int kind = pick(100);
        // Aim most presses at pieces so that lifts, turns and put-downs all happen.
        QPoint at(pick(930) - 10, pick(630) - 10);
        if (kind < 50) {
            const int j = 1 + pick(8);
            const QPoint p = ZonePixel(j, 1 + pick(2));
            if (p.x() >= 0)
                at = p;
        }
        if (form->Engine.PlayState != BoardEngine::Playing)
            form->UpBtnClick();
        if (kind < 60)
            Press(at.x(), at.y(), pick(5) == 0 ? Qt::RightButton : Qt::LeftButton);
        else if (kind < 97)
            Move(at.x(), at.y(), pick(4) != 0);
        else
            form->TipBtnClick();
        ASSERT_EQ(form->Engine.Board, SumOfMasksExceptLifted()) << "event " << event;
        ASSERT_TRUE(CanvasMatchesAFreshPaint()) << "event " << event;
    }
}
