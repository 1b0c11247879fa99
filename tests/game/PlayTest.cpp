// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include "engine/BoardLayout.h"
#include "engine/Geometry.h"
#include "engine/ProgressByte.h"

#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include <cmath>
#include <numbers>
#include <random>

using namespace zq;
using namespace zq::test;

namespace {
// The pointer's direction from a point in 16ths of a turn, worked out from the
// geometry: counter-clockwise on the screen from the right, halves to the even step.
int StepOf(int dx, int dy)
{
    double a = std::atan2(-static_cast<double>(dy), static_cast<double>(dx));
    if (a < 0)
        a += 2 * std::numbers::pi;
    return static_cast<int>(std::nearbyint(a * 8 / std::numbers::pi));
}

struct Play : MainformFixture {
    std::vector<int> heard; // sounds that Build took out of the log, in order
    PiecePlacement& Placement(int j) { return form->Engine.Placements[j]; }

    // A pixel at the given angle step, `radius` pixels from the reference point of p.
    QPoint AtStep(const PiecePlacement& p, int step, int radius = 60) const
    {
        const double a = step * std::numbers::pi / 8;
        return QPoint(static_cast<int>(std::lround(p.x * Cell() + radius * std::cos(a))),
                      static_cast<int>(std::lround(p.y * Cell() - radius * std::sin(a))));
    }

    // A pixel on piece `on` that lies on no part of piece `off`.
    QPoint PixelOnlyOn(int on, int off) const
    {
        const PiecePlacement& p = form->Engine.Placements[on];
        for (int y = (p.y - 8) * Cell(); y <= (p.y + 8) * Cell(); ++y)
            for (int x = (p.x - 8) * Cell(); x <= (p.x + 8) * Cell(); ++x)
                if (form->Engine.HitTestPiece(x, y, on) > 0 && form->Engine.HitTestPiece(x, y, off) == 0)
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }

    void Lift(int j, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint grip = ZonePixel(j, BoardEngine::MoveZone);
        Press(grip.x(), grip.y(), button);
        ASSERT_EQ(form->Engine.SelectedPiece, j);
    }

    // Lifts piece j, turns it with a turn drag and sixteen right presses, carries it to
    // its place in the solution with a move drag and puts it down with a press on piece
    // `putDownOn` (0: on the bare board). The pointer is aimed from the geometry alone.
    void Build(int j, const PiecePlacement& target, int putDownOn = 0)
    {
        Lift(j);
        const PiecePlacement start = Placement(j);
        const QPoint turnGrip = ZonePixel(j, BoardEngine::TurnZone);
        Press(turnGrip.x(), turnGrip.y());
        ASSERT_EQ(form->Engine.DragMode, BoardEngine::Turning);
        ASSERT_EQ(Placement(j), start) << "a grab neither moves nor turns the piece";
        // Each step the pointer travels clockwise turns the piece one step on.
        const int grabbed = StepOf(turnGrip.x() - start.x * Cell(), turnGrip.y() - start.y * Cell());
        const int turns = (target.o.value() - start.o.value() + 16) % 16;
        const QPoint turnTo = AtStep(start, (grabbed - turns + 16) % 16);
        Move(turnTo.x(), turnTo.y());
        ASSERT_EQ(Placement(j).o, target.o);
        const auto sofar = SoundsPlayed();
        heard.insert(heard.end(), sofar.begin(), sofar.end());
        for (int i = 0; i < 16; ++i)
            Press(900, 600, Qt::RightButton);
        ASSERT_EQ(Placement(j).o, target.o);
        ASSERT_TRUE(SoundsPlayed().empty()) << "the right button turns silently";

        const QPoint moveGrip = ZonePixel(j, BoardEngine::MoveZone);
        const PiecePlacement turned = Placement(j);
        Press(moveGrip.x(), moveGrip.y());
        ASSERT_EQ(form->Engine.DragMode, BoardEngine::Moving);
        // The piece keeps its distance in cells from the pointer's cell.
        Move(moveGrip.x() + (target.x - turned.x) * Cell(), moveGrip.y() + (target.y - turned.y) * Cell());
        ASSERT_EQ(Placement(j), target);
        Move(5000, 5000); // far outside the grid: refused without a sound
        ASSERT_EQ(Placement(j), target);

        const QPoint down = putDownOn ? PixelOnlyOn(putDownOn, j) : FreePixel();
        ASSERT_GE(down.x(), 0);
        Press(down.x(), down.y());
        if (!putDownOn) {
            ASSERT_EQ(form->Engine.SelectedPiece, 0);
        }
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

TEST_F(Play, PlayAfterTwoHelpStepsSolvesKeepsTheLevelAndThenIgnoresPressesAndHelp)
{
    Start();
    const PuzzleRecord solution = state.Library[state.CurrentPuzzle];
    form->TipBtnClick();
    form->TipBtnClick();
    ASSERT_EQ(state.Progress(1), 2);
    form->Modified = false;
    SoundsPlayed();
    for (int j = 5; j <= 7; ++j) {
        Build(j, solution[j]);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(CanvasMatchesAFreshPaint()) << "after piece " << j;
        EXPECT_EQ(form->Engine.Board, SumOfMasksExceptLifted());
    }
    bool wonShown = false;
    {
        ModalScript script({[&](QWidget* w) {
            wonShown = w == yesNo.get() && yesNo->ActivePage() == TYesNoDlg::won;
            PressKey(w, Qt::Key_Return);
        }});
        // The press that solves lies on piece 1: it must not lift it.
        Build(8, solution[8], 1);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(wonShown);
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Solved);
    EXPECT_EQ(form->Engine.SelectedPiece, 0);
    EXPECT_EQ(form->Engine.Placements, solution);
    EXPECT_EQ(form->Engine.Board, SumOfMasksExceptLifted());
    EXPECT_EQ(state.Progress(1), 10) << "solved after two help steps";
    EXPECT_TRUE(form->Modified);
    std::vector<int> played = heard;
    for (int n : SoundsPlayed())
        played.push_back(n);
    EXPECT_EQ(std::count(played.begin(), played.end(), 1), 4) << "regrabbing a lifted piece lifts nothing";
    EXPECT_EQ(std::count(played.begin(), played.end(), 2), 4);
    EXPECT_EQ(std::count(played.begin(), played.end(), 5), 1);
    EXPECT_EQ(played.back(), 5);
    EXPECT_TRUE(pattern->windowTitle().endsWith(QStringLiteral(" - solved"))) << pattern->windowTitle().toStdString();
    EXPECT_EQ(form->box->Canvas().Pixel(solution[1].x * 10, solution[1].y * 10 - 1), clGreen);

    // From now on presses and the help button do nothing.
    const Grid board = form->Engine.Board;
    const QPoint p = ZonePixel(1, BoardEngine::MoveZone);
    Press(p.x(), p.y());
    Press(p.x(), p.y(), Qt::MiddleButton);
    form->TipBtnClick();
    EXPECT_EQ(form->Engine.SelectedPiece, 0);
    EXPECT_EQ(form->Engine.Board, board);
    EXPECT_EQ(form->Engine.Placements, solution);
    EXPECT_EQ(state.Progress(1), 10);
    EXPECT_TRUE(SoundsPlayed().empty());
}

TEST_F(Play, SolvingAFinishedQuarvelAgainChangesNeitherItsByteNorModified)
{
    Start();
    state.Progress(1) = 9;
    form->SetupPuzzle();
    form->Modified = false;
    const PuzzleRecord solution = state.Library[1];
    form->Engine.LayHelpPieces(solution, 7);
    form->box->Repaint();
    SoundsPlayed();
    bool wonShown = false;
    {
        ModalScript script({[&](QWidget* w) {
            wonShown = w == yesNo.get() && yesNo->ActivePage() == TYesNoDlg::won;
            PressKey(w, Qt::Key_Return);
        }});
        Build(8, solution[8]);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Solved);
    EXPECT_EQ(state.Progress(1), 9);
    EXPECT_FALSE(form->Modified);
    EXPECT_TRUE(wonShown);
    const auto played = SoundsPlayed();
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.back(), 5);
}

TEST_F(Play, RefusedPutDownKeepsThePieceLiftedAndStopsTheDrag)
{
    Start();
    // What the player sees in the middle of piece 1: green over red where it would fit, red over green where not.
    const auto greenOverRed = [&, &p = form->Engine.Placements[1]] {
        const std::size_t o = p.o.value();
        const QColor c = form->box->grab().toImage().pixelColor((VertexX[0][o] + VertexX[1][o] + VertexX[2][o] + 3 * p.x) * Cell() / 3,
                                                                (VertexY[0][o] + VertexY[1][o] + VertexY[2][o] + 3 * p.y) * Cell() / 3);
        return c.green() - c.red();
    };
    const QPoint grip = ZonePixel(1, BoardEngine::MoveZone);
    Press(grip.x(), grip.y());
    EXPECT_GT(greenOverRed(), 40) << "lifted where it lay, it would fit";
    // Carry piece 1 onto piece 3's place, where full cells would overlap.
    Move(grip.x(), grip.y() + 15 * Cell());
    form->HideLifted();
    form->Engine.Placements[1].o = form->Engine.Placements[3].o;
    form->ShowLifted();
    EXPECT_LT(greenOverRed(), -40) << "over piece 3 it would not fit";
    ASSERT_FALSE(form->Engine.PieceFits(form->Engine.Placements[1].x, form->Engine.Placements[1].y,
                                        form->Engine.Placements[1].o));
    SoundsPlayed();
    const QPoint free = FreePixel();
    EXPECT_FALSE(form->RefusalShowing());
    Press(free.x(), free.y());
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{6});
    EXPECT_TRUE(form->RefusalShowing());
    EXPECT_EQ(form->Engine.SelectedPiece, 1);
    EXPECT_EQ(form->Engine.DragMode, BoardEngine::NoDrag);
    const PiecePlacement before = form->Engine.Placements[1];
    Move(free.x() + 100, free.y() + 100);
    EXPECT_EQ(form->Engine.Placements[1], before);
    EXPECT_TRUE(SoundsPlayed().empty());
}

// The lifted piece in the worst place, its own gap: across each edge the same triangle turned half round
// about the edge's middle, so every edge runs along a neighbour's grey outline. The piece's pixels are those
// whose centre lies in its triangle; a pixel is seen where some channel differs by a quarter of its range.
TEST_F(Play, TheLiftedPieceStaysInViewInItsOwnGapInEveryOrientationAtScaleOneAndTwo)
{
    Start();
    BoardEngine& e = form->Engine;
    const auto cross = [](QPoint a, QPoint b, QPoint c) {
        return qint64(b.x() - a.x()) * (c.y() - a.y()) - qint64(b.y() - a.y()) * (c.x() - a.x());
    };
    for (int scale : {1, 2}) {
        double worst = 1;
        for (std::size_t o = 0; o < 16; ++o) {
            const QPoint at(45, 30);
            std::array<QPoint, 3> v; // the corners in cells
            for (std::size_t k = 0; k < 3; ++k)
                v[k] = at + QPoint(VertexX[k][o], VertexY[k][o]);
            for (std::size_t k = 0; k < 3; ++k) // reference points turned round the edges' middles
                e.Placements[k + 2] = {std::uint8_t((v[k] + v[(k + 1) % 3] - at).x()),
                                       std::uint8_t((v[k] + v[(k + 1) % 3] - at).y()), Orientation(int(o + 8) % 16)};
            for (int j = 5; j <= 8; ++j)
                e.Placements[j] = {10, 50, Orientation(0)};
            e.SelectedPiece = 1;
            const auto paint = [&](int x, int y) {
                e.Placements[1] = {std::uint8_t(x), std::uint8_t(y), Orientation(int(o))};
                Canvas c(911, 611, scale);
                form->boxPaint(c);
                return c.Image();
            };
            const QImage without = paint(80, 10), with = paint(at.x(), at.y());
            int pixels = 0, seen = 0;
            for (QPoint& d : v) // in doubled device pixels: a pixel's centre is twice its index
                d = d * Cell() * scale * 2 + QPoint(scale - 1, scale - 1);
            for (int y = 0; y < with.height(); ++y)
                for (int x = 0; x < with.width(); ++x) {
                    const QPoint q(2 * x, 2 * y);
                    const qint64 c0 = cross(v[0], v[1], q), c1 = cross(v[1], v[2], q), c2 = cross(v[2], v[0], q);
                    if ((c0 < 0 || c1 < 0 || c2 < 0) && (c0 > 0 || c1 > 0 || c2 > 0))
                        continue;
                    const QRgb p = with.pixel(x, y), b = without.pixel(x, y);
                    ++pixels;
                    seen += std::max({std::abs(qRed(p) - qRed(b)), std::abs(qGreen(p) - qGreen(b)),
                                      std::abs(qBlue(p) - qBlue(b))}) >= 64;
                }
            worst = std::min(worst, double(seen) / pixels);
        }
        std::printf("lifted piece in its gap at scale %d: at least %.2f of its pixels seen\n", scale, worst);
        EXPECT_GE(worst, 0.4) << "scale " << scale;
    }
}

TEST_F(Play, PressesOffTheGridDoNothingAndTheTopPieceIsLifted)
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

// Grab points worked out by hand for 10-pixel cells. Under 3 cells from the reference
// point is the move zone; a drag then goes on from where the piece was grabbed.
TEST_F(Play, GrabsTakeTheirZoneFromTheDistanceAndDragFromTheGrabPoint)
{
    using zq::testing::At;
    Start();
    BoardEngine& e = form->Engine;
    Lift(1);
    // Piece 3 lies under the lifted piece's second place: carrying and turning it there
    // must pass, as only the bounds test applies while a piece is carried.
    e.UnstampPiece(3);
    e.Placements[3] = At(45, 30, 5);
    e.StampPiece(3);
    const QImage moveCursor = QPixmap(QStringLiteral(":/art/crmove1.png")).toImage();
    const QImage turnCursor = QPixmap(QStringLiteral(":/art/crturn2.png")).toImage();
    const auto cursorImage = [&] { return form->box->cursor().pixmap().toImage(); };

    struct Row {
        PiecePlacement at;
        QPoint grab;
        int mode;
        int step; // angle step of the grab point, for turn grabs
    };
    const Row rows[] = {
        {At(20, 20, 0), {205, 205}, BoardEngine::Moving, 0},   // 7.1 pixels from (200, 200)
        {At(20, 20, 0), {217, 224}, BoardEngine::Moving, 0},   // 29.4 pixels
        {At(20, 20, 0), {218, 224}, BoardEngine::Turning, 14}, // 30 pixels exactly
        {At(20, 20, 0), {225, 225}, BoardEngine::Turning, 14}, // 35.4 pixels, down and right
        {At(45, 30, 5), {447, 304}, BoardEngine::Moving, 0},
        {At(45, 30, 5), {490, 340}, BoardEngine::Turning, 14},
        {At(45, 30, 5), {445, 245}, BoardEngine::Turning, 4}, // up, a little left
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "grab at " << r.grab.x() << "," << r.grab.y()
                                          << " orientation " << int(r.at.o.value()));
        e.Placements[1] = r.at;
        form->box->Repaint();
        Move(r.grab.x(), r.grab.y(), false);
        EXPECT_EQ(cursorImage(), r.mode == BoardEngine::Moving ? moveCursor : turnCursor) << "the cursor shows the zone";
        SoundsPlayed();
        Press(r.grab.x(), r.grab.y());
        ASSERT_EQ(e.SelectedPiece, 1);
        EXPECT_EQ(e.DragMode, r.mode);
        // Moving on within the grab's cell and angle step changes nothing.
        Move(r.grab.x() + 1, r.grab.y() + 1);
        EXPECT_EQ(e.Placements[1], r.at);
        EXPECT_TRUE(SoundsPlayed().empty());
        if (r.mode == BoardEngine::Moving) {
            Move(r.grab.x() + 30, r.grab.y() + 20, false); // no button held: nothing
            EXPECT_EQ(e.Placements[1], r.at);
            Move(r.grab.x() + 30, r.grab.y() + 20);
            EXPECT_EQ(e.Placements[1], At(r.at.x + 3, r.at.y + 2, r.at.o.value()));
            EXPECT_EQ(SoundsPlayed(), std::vector<int>{4});
        } else {
            // Two steps clockwise turn the piece two steps on.
            const QPoint to = AtStep(r.at, (r.step + 14) % 16);
            Move(to.x(), to.y(), false);
            EXPECT_EQ(e.Placements[1], r.at);
            Move(to.x(), to.y());
            EXPECT_EQ(e.Placements[1], At(r.at.x, r.at.y, (r.at.o.value() + 2) % 16));
            EXPECT_EQ(SoundsPlayed(), std::vector<int>{3});
        }
        // The right button turns one step wherever it is pressed, silently, over piece 3 too.
        const PiecePlacement before = e.Placements[1];
        Press(900, 20, Qt::RightButton);
        EXPECT_EQ(e.Placements[1], At(before.x, before.y, (before.o.value() + 1) % 16));
        EXPECT_TRUE(SoundsPlayed().empty());
        EXPECT_TRUE(CanvasMatchesAFreshPaint());
    }
    Move(905, 605, false);
    EXPECT_EQ(form->box->cursor().shape(), Qt::PointingHandCursor);

    // Near the left edge orientation 15 would leave the grid: the right button does nothing there.
    e.Placements[1] = At(2, 30, 14);
    form->box->Repaint();
    Press(900, 20, Qt::RightButton);
    EXPECT_EQ(e.Placements[1].o, Orientation(14));

    // The middle button puts down and lifts like the left one.
    e.Placements[1] = At(45, 10, 0);
    form->box->Repaint();
    SoundsPlayed();
    const QPoint free = FreePixel();
    Press(free.x(), free.y(), Qt::MiddleButton);
    EXPECT_EQ(e.SelectedPiece, 0);
    Lift(1, Qt::MiddleButton);
    EXPECT_EQ(SoundsPlayed(), (std::vector<int>{2, 1}));
    EXPECT_EQ(e.Board, SumOfMasksExceptLifted());
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

TEST_F(Play, NavigationStopsAtBothEndsAndSetsThatQuarvelUpAgain)
{
    Start(3);
    state.Progress(1) = 1;
    state.Progress(3) = 2;
    for (const int last : {1, 3}) {
        SCOPED_TRACE(last);
        state.CurrentPuzzle = last;
        form->SetupPuzzle();
        // Play on it: carry a parked piece away and leave it lifted.
        const int j = 2 * state.Progress(last) + 1;
        const QPoint grip = ZonePixel(j, BoardEngine::MoveZone);
        Press(grip.x(), grip.y());
        Move(grip.x() + 200, grip.y() + 100);
        ASSERT_EQ(form->Engine.SelectedPiece, j);
        if (last == 1)
            form->DownBtnClick();
        else
            form->UpBtnClick();
        EXPECT_EQ(state.CurrentPuzzle, last);
        EXPECT_EQ(form->Engine.SelectedPiece, 0);
        const int laid = 2 * state.Progress(last);
        for (int k = 1; k <= 8; ++k) {
            const PiecePlacement& p = form->Engine.Placements[k];
            if (k <= laid)
                EXPECT_EQ(p, state.Library[last][k]) << "help piece " << k;
            else
                EXPECT_EQ(QPoint(p.x, p.y), QPoint(k % 2 ? 9 : 81, (k - 1) / 2 * 15 + 8)) << "parked piece " << k;
        }
        EXPECT_EQ(form->Engine.Board, SumOfMasksExceptLifted());
        EXPECT_TRUE(CanvasMatchesAFreshPaint());
    }
    EXPECT_EQ(state.Library[0], state.Library[3]);
    EXPECT_TRUE(form->TipBtn->isEnabled());
    EXPECT_EQ(pattern->windowTitle(), QStringLiteral("Quarvel 3"));
    EXPECT_FALSE(form->Modified);
}

TEST_F(Play, RandomPressesMovesUndoAndRedoKeepBoardAndPictureConsistent)
{
    Start(5, 99);
    std::mt19937 rng(12345);
    std::mt19937 undoRng(54321);
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
        // Undo and redo from a side stream, so the presses and moves stay those above.
        if (undoRng() % 8 == 0) {
            ASSERT_TRUE(UndoRedoExcursion(1 + static_cast<int>(undoRng() % 5))) << "event " << event;
        }
    }
}
