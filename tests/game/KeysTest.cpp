// SPDX-License-Identifier: GPL-3.0-or-later
// The board played from the keyboard, the wheel, undo and redo, and the toolbar's shortcuts.
#include "MainformFixture.h"

#include "engine/Geometry.h"
#include "engine/ProgressByte.h"

#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <map>
#include <set>

using namespace zq;
using namespace zq::test;

namespace {

struct Keys : MainformFixture {
    PiecePlacement& P(int j) { return form->Engine.Placements[j]; }
    int Lifted() const { return form->Engine.SelectedPiece; }

    // Shortcuts work in the active window only, and keys go where the focus is.
    void ShowActive()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->resize(945, 673);
        form->formResize();
        ASSERT_EQ(QApplication::focusWidget(), form->box) << "the board takes the focus";
        SoundsPlayed();
    }
    // A virtual screen hands the activation back to no window when a modal page closes.
    void Reactivate()
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(QApplication::focusWidget(), form->box);
    }
    void Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr) << "key " << key << " finds no focus";
        QTest::keyClick(w, static_cast<Qt::Key>(key), m);
    }
    void Wheel(int delta)
    {
        const QPointF at(450, 300);
        QWheelEvent e(at, form->box->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->box, &e);
    }
    void ExpectConsistent()
    {
        EXPECT_EQ(form->Engine.Board, SumOfMasksExceptLifted());
        EXPECT_TRUE(CanvasMatchesAFreshPaint());
    }

    // Turns the lifted piece by the shorter way and walks it to `to`, five cells
    // at a time while it can; every key is checked against plain arithmetic.
    void Carry(const PiecePlacement& to)
    {
        const int j = Lifted();
        ASSERT_NE(j, 0);
        const int turns = (to.o.value() - P(j).o.value() + 16) % 16;
        const int step = turns <= 8 ? 1 : -1;
        for (int i = 0; i < (turns <= 8 ? turns : 16 - turns); ++i) {
            const Orientation want = P(j).o + step;
            Key(step > 0 ? Qt::Key_E : Qt::Key_Q);
            ASSERT_EQ(P(j).o, want);
            ASSERT_EQ(SoundsPlayed(), std::vector<int>{3});
        }
        const auto walk = [&](int from, int target, int less, int more, bool vertical) {
            int at = from;
            while (at != target) {
                const int n = std::abs(target - at) >= 5 ? 5 : 1;
                const int d = target > at ? n : -n;
                Key(d > 0 ? more : less, n == 5 ? Qt::ShiftModifier : Qt::NoModifier);
                at += d;
                ASSERT_EQ(vertical ? P(j).y : P(j).x, at);
                ASSERT_EQ(SoundsPlayed(), std::vector<int>{4});
            }
        };
        walk(P(j).x, to.x, Qt::Key_Left, Qt::Key_Right, false);
        walk(P(j).y, to.y, Qt::Key_Up, Qt::Key_Down, true);
        ASSERT_EQ(P(j), to);
    }
};

// The leftmost column piece o can take: every covered cell on the grid, read from the mask.
int LeftmostColumn(Orientation o)
{
    int least = 0;
    for (int dx = -7; dx <= 6; ++dx)
        for (int dy = -7; dy <= 6; ++dy)
            if (MaskAt(o, dx, dy) != 0)
                least = std::min(least, dx);
    return -least;
}

} // namespace

// Quarvel 1 built piece by piece with keys alone, in piece order; on the way a
// carried piece is taken back with Escape, a put-down is undone and redone, and
// Tab puts one piece down while lifting the next.
TEST_F(Keys, KeyboardAloneSolvesAQuarvelWithUndoAlongTheWay)
{
    Start();
    ShowActive();
    if (HasFatalFailure())
        return;
    const PuzzleRecord solution = state.Library[1];
    bool wonShown = false;
    for (int j = 1; j <= 8; ++j) {
        SCOPED_TRACE(::testing::Message() << "piece " << j);
        Key(Qt::Key_Tab);
        ASSERT_EQ(Lifted(), j) << "Tab lifts the pieces in order";
        EXPECT_EQ(SoundsPlayed(), std::vector<int>{1});
        const PiecePlacement parked = P(j);
        Carry(solution[j]);
        if (HasFatalFailure())
            return;
        if (j == 3) {
            Key(Qt::Key_Escape);
            EXPECT_EQ(Lifted(), 0);
            EXPECT_EQ(P(3), parked) << "Escape puts it back where it was lifted";
            EXPECT_EQ(SoundsPlayed(), std::vector<int>{2});
            ExpectConsistent();
            Key(Qt::Key_Tab, Qt::ShiftModifier);
            EXPECT_EQ(Lifted(), 2);
            Key(Qt::Key_Tab);
            EXPECT_EQ(Lifted(), 3);
            EXPECT_EQ(P(2), solution[2]);
            EXPECT_EQ(SoundsPlayed(), (std::vector<int>{1, 2, 1}));
            Carry(solution[3]);
            if (HasFatalFailure())
                return;
        }
        if (j < 8) {
            Key(j % 2 ? Qt::Key_Space : Qt::Key_Return);
            EXPECT_EQ(SoundsPlayed(), std::vector<int>{2});
        } else {
            ModalScript script({[&](QWidget* w) {
                wonShown = w == yesNo.get() && yesNo->ActivePage() == TYesNoDlg::won;
                PressKey(w, Qt::Key_Return);
            }});
            Key(Qt::Key_Space);
            EXPECT_TRUE(script.Done());
            Reactivate();
        }
        EXPECT_EQ(Lifted(), 0);
        EXPECT_EQ(P(j), solution[j]);
        ExpectConsistent();
        if (j == 5) {
            const PiecePlacement placedBefore = P(4);
            const struct {
                Qt::Key key;
                Qt::KeyboardModifiers mods;
                PiecePlacement want;
            } undoRedo[] = {{Qt::Key_Z, Qt::ControlModifier, parked},
                            {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, solution[5]},
                            {Qt::Key_Z, Qt::ControlModifier, parked},
                            {Qt::Key_Y, Qt::ControlModifier, solution[5]}};
            for (const auto& u : undoRedo) {
                Key(u.key, u.mods);
                EXPECT_EQ(P(5), u.want);
                EXPECT_EQ(P(4), placedBefore);
                ExpectConsistent();
            }
            // Undo while a piece is carried only takes the lift back.
            Key(Qt::Key_Tab);
            ASSERT_EQ(Lifted(), 6);
            const PiecePlacement six = P(6);
            Key(Qt::Key_Down);
            Key(Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(Lifted(), 0);
            EXPECT_EQ(P(6), six);
            EXPECT_EQ(P(5), solution[5]);
            ExpectConsistent();
            Key(Qt::Key_Tab, Qt::ShiftModifier); // back to 5, so that Tab goes on with 6
            Key(Qt::Key_Escape);
            SoundsPlayed();
        }
    }
    EXPECT_TRUE(wonShown);
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Solved);
    EXPECT_EQ(form->Engine.Placements, solution);
    EXPECT_EQ(state.Progress(1), FinishedBit);
    EXPECT_EQ(form->box->Canvas().Pixel(solution[1].x * 10, solution[1].y * 10 - 1), clGreen);

    // A solved board takes no keys and no undo.
    SoundsPlayed();
    for (const auto& [key, mods] : {std::pair{Qt::Key_Z, Qt::ControlModifier}, std::pair{Qt::Key_Tab, Qt::NoModifier},
                                    std::pair{Qt::Key_Left, Qt::NoModifier}, std::pair{Qt::Key_Escape, Qt::NoModifier}})
        Key(key, mods);
    Wheel(120);
    EXPECT_EQ(Lifted(), 0);
    EXPECT_EQ(form->Engine.Placements, solution);
    EXPECT_TRUE(SoundsPlayed().empty());
}

TEST_F(Keys, BoardKeysKeepToTheGridAndTheWheelTurnsByWholeNotches)
{
    Start();
    ShowActive();
    if (HasFatalFailure())
        return;
    const PuzzleRecord start = form->Engine.Placements;

    // Nothing lifted: carrying keys and the wheel do nothing.
    for (int key : {Qt::Key_Left, Qt::Key_Q, Qt::Key_E, Qt::Key_Space, Qt::Key_Escape})
        Key(key);
    Wheel(-120);
    EXPECT_EQ(form->Engine.Placements, start);
    EXPECT_TRUE(SoundsPlayed().empty());

    // Shift+Tab on a fresh board starts from the last piece; Tab then wraps round to the first.
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Lifted(), 8);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Tab);
    ASSERT_EQ(Lifted(), 1);
    SoundsPlayed();

    // Turning: Q anticlockwise through 0 to 15 and on; the wheel by whole notches, silently.
    const Orientation o = P(1).o;
    for (int i = 0; i <= o.value(); ++i)
        Key(Qt::Key_Q);
    EXPECT_EQ(P(1).o, Orientation(15));
    Key(Qt::Key_E);
    EXPECT_EQ(P(1).o, Orientation(0));
    SoundsPlayed();
    Wheel(120); // away from the player
    EXPECT_EQ(P(1).o, Orientation(15));
    Wheel(60);
    EXPECT_EQ(P(1).o, Orientation(15)) << "half a notch does not turn";
    Wheel(60);
    EXPECT_EQ(P(1).o, Orientation(14));
    Wheel(-240);
    EXPECT_EQ(P(1).o, Orientation(0));
    EXPECT_TRUE(SoundsPlayed().empty());
    ExpectConsistent();

    // Shift+Left stops at the left edge; a further Left is refused without a sound.
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(P(1).x, LeftmostColumn(P(1).o));
    SoundsPlayed();
    Key(Qt::Key_Left);
    EXPECT_EQ(P(1).x, LeftmostColumn(P(1).o));
    EXPECT_TRUE(SoundsPlayed().empty());

    // Onto piece 3 in its orientation: every full cell overlaps, so the put-down is
    // refused by Space and by Tab alike; Escape takes it back.
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Down, Qt::ShiftModifier);
    while (P(1).x < P(3).x)
        Key(Qt::Key_Right);
    while (P(1).o != P(3).o)
        Key(Qt::Key_E);
    ASSERT_EQ(P(1), P(3));
    SoundsPlayed();
    for (const int key : {Qt::Key_Space, Qt::Key_Tab}) {
        QTest::qWait(700); // the sign of an earlier refusal is over
        ASSERT_FALSE(form->RefusalShowing());
        Key(key);
        EXPECT_EQ(SoundsPlayed(), std::vector<int>{6});
        EXPECT_TRUE(form->RefusalShowing()) << "a refusal is seen as well as heard";
    }
    EXPECT_EQ(Lifted(), 1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Lifted(), 0);
    EXPECT_EQ(form->Engine.Placements, start);
    ExpectConsistent();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->Engine.Placements, start) << "a lift taken back leaves nothing to undo";
}

// Every toolbar button has its keys, and they click that button and no other.
TEST_F(Keys, ToolbarShortcutsClickTheirButtons)
{
    Start();
    ShowActive();
    if (HasFatalFailure())
        return;
    // Ctrl+Q asks as the close box does; No keeps the game.
    bool asked = false;
    {
        ModalScript script({[&](QWidget* w) {
            asked = w == yesNo.get() && yesNo->ActivePage() == TYesNoDlg::endgame;
            PressKey(w, Qt::Key_Escape);
        }});
        Key(Qt::Key_Q, Qt::ControlModifier);
    }
    EXPECT_TRUE(asked);
    EXPECT_TRUE(form->isVisible());
    Reactivate();
    // H is the help step, and like the button it does nothing on a finished Quarvel.
    Key(Qt::Key_H);
    EXPECT_EQ(state.Progress(1), 1);
    state.Progress(1) = FinishedBit;
    form->SetupPuzzle();
    Key(Qt::Key_H);
    EXPECT_EQ(state.Progress(1), FinishedBit);

    const std::vector<std::tuple<int, Qt::KeyboardModifiers, QToolButton*>> table{
        {Qt::Key_N, Qt::ControlModifier, form->NewgameBtn}, {Qt::Key_O, Qt::ControlModifier, form->LoadBtn},
        {Qt::Key_S, Qt::ControlModifier, form->SaveBtn},    {Qt::Key_T, Qt::ControlModifier, form->StatBtn},
        {Qt::Key_Q, Qt::ControlModifier, form->ExitBtn},    {Qt::Key_G, Qt::ControlModifier, form->SelectBtn},
        {Qt::Key_PageDown, Qt::NoModifier, form->UpBtn},    {Qt::Key_Right, Qt::AltModifier, form->UpBtn},
        {Qt::Key_PageUp, Qt::NoModifier, form->DownBtn},    {Qt::Key_Left, Qt::AltModifier, form->DownBtn},
        {Qt::Key_M, Qt::NoModifier, form->SoundBtn},        {Qt::Key_L, Qt::ControlModifier, form->TongueBtn},
        {Qt::Key_F1, Qt::NoModifier, form->RulesBtn},       {Qt::Key_I, Qt::ControlModifier, form->InfoBtn},
        {Qt::Key_B, Qt::ControlModifier, form->ZibbleBtn},
    };
    // Counted instead of run: the buttons' own work is tested elsewhere.
    std::map<QToolButton*, int> clicks;
    for (QToolButton* b : form->findChildren<QToolButton*>()) {
        QObject::disconnect(b, &QToolButton::clicked, form.get(), nullptr);
        QObject::connect(b, &QToolButton::clicked, [&clicks, b] { ++clicks[b]; });
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << "focus never rests in the toolbar";
    }
    form->TipBtn->setEnabled(true);
    const std::vector<std::tuple<int, Qt::KeyboardModifiers, QToolButton*>> helpKey{{Qt::Key_H, Qt::NoModifier, form->TipBtn}};
    for (const auto& rows : {table, helpKey})
        for (const auto& [key, mods, button] : rows) {
            SCOPED_TRACE(button->objectName().toStdString());
            clicks.clear();
            Key(key, mods);
            EXPECT_EQ(clicks, (std::map<QToolButton*, int>{{button, 1}}));
        }
    std::set<QToolButton*> covered;
    for (const auto& row : table)
        covered.insert(std::get<2>(row));
    covered.insert(form->TipBtn);
    EXPECT_EQ(covered.size(), form->findChildren<QToolButton*>().size()) << "every button has a shortcut";
}

// Seven pieces of a square of squares share edges; piece 1, lowest of all, is carried
// away and its move undone and redone: those above it must still be drawn over it.
TEST_F(Keys, UndoAndRedoKeepThePiecesDrawnInTheirOrder)
{
    Start();
    ShowActive();
    if (HasFatalFailure())
        return;
    const PuzzleRecord square = zq::testing::SquareOfSquares(20, 10);
    BoardEngine& e = form->Engine;
    for (int k = 1; k <= 7; ++k) {
        e.UnstampPiece(k);
        e.Placements[k] = square[k];
        e.StampPiece(k);
    }
    form->box->Repaint();
    for (const int j : {1, 4}) {
        SCOPED_TRACE(::testing::Message() << "piece " << j);
        while (Lifted() != j)
            Key(Qt::Key_Tab);
        for (int i = 0; i < 6; ++i)
            Key(Qt::Key_Right, Qt::ShiftModifier);
        Key(Qt::Key_Space);
        ASSERT_EQ(Lifted(), 0);
        PiecePlacement away = square[j];
        away.x = static_cast<std::uint8_t>(away.x + 30);
        ASSERT_EQ(P(j), away);
        for (const auto& [key, mods, want] : {std::tuple{Qt::Key_Z, Qt::KeyboardModifiers(Qt::ControlModifier), square[j]},
                                              std::tuple{Qt::Key_Y, Qt::KeyboardModifiers(Qt::ControlModifier), away},
                                              std::tuple{Qt::Key_Z, Qt::KeyboardModifiers(Qt::ControlModifier), square[j]}}) {
            Key(key, mods);
            EXPECT_EQ(P(j), want);
            ExpectConsistent();
        }
    }
}
