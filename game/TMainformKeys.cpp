// SPDX-License-Identifier: GPL-3.0-or-later
// The board without a mouse: keys that lift, carry, turn and put down pieces,
// the wheel that turns, undo and redo, and the toolbar's shortcuts.
#include "game/TMainform.h"

#include "engine/Geometry.h"
#include "platform/canvas/CanvasWidget.h"

#include <QKeySequence>
#include <QRect>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <climits>

namespace zq {

namespace {
// Shift+arrow moves this many cells at once.
constexpr int LongStep = 5;
// One notch of an ordinary wheel, in eighths of a degree.
constexpr int Notch = 120;
} // namespace

bool TMainform::boxKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Ctrl and Alt combinations belong to the shortcuts.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool shift = (modifiers & Qt::ShiftModifier) != 0;
    BoardEngine& e = Engine;

    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (e.PlayState != BoardEngine::Playing)
            return true;
        // Like a press beside the lifted piece on another one: put down, then lift.
        if (e.SelectedPiece != 0 && !PutDownSelected())
            return true;
        if (e.PlayState != BoardEngine::Playing)
            return true;
        // Before the first lift of a board, Tab starts at piece 1 and Shift+Tab at piece 8.
        const bool back = key == Qt::Key_Backtab || shift;
        const int from = back && lastLifted_ == 0 ? PieceCount + 1 : lastLifted_;
        LiftPiece(back ? (from + PieceCount - 2) % PieceCount + 1 : from % PieceCount + 1);
        e.DragMode = BoardEngine::NoDrag;
        return true;
    }
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Q:
    case Qt::Key_E:
        if (e.PlayState == BoardEngine::Playing && e.SelectedPiece != 0) {
            const Orientation o = e.Placements[e.SelectedPiece].o;
            TurnSelectedPiece(key == Qt::Key_E ? o + 1 : o - 1, true);
            e.DragMode = BoardEngine::NoDrag;
        }
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (e.PlayState == BoardEngine::Playing && e.SelectedPiece != 0) {
            PutDownSelected();
            e.DragMode = BoardEngine::NoDrag;
        }
        return true;
    case Qt::Key_Escape:
        CancelLift();
        return true;
    default:
        return false;
    }

    if (e.PlayState != BoardEngine::Playing || e.SelectedPiece == 0)
        return true;
    // A long step stops short at the edge rather than not moving at all.
    const PiecePlacement p = e.Placements[e.SelectedPiece];
    for (int n = shift ? LongStep : 1; n > 0; --n)
        if (BoardEngine::PieceInBounds(p.x + n * dx, p.y + n * dy, p.o)) {
            MoveSelectedPiece(p.x + n * dx, p.y + n * dy);
            break;
        }
    // A mouse button still held must not drag the piece back from where the keys took it.
    e.DragMode = BoardEngine::NoDrag;
    return true;
}

void TMainform::boxWheel(int angleDelta)
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing || e.SelectedPiece == 0) {
        wheelRemainder_ = 0;
        return;
    }
    // Fine-grained wheels send parts of a notch; only whole notches turn.
    wheelRemainder_ += angleDelta;
    while (wheelRemainder_ >= Notch || wheelRemainder_ <= -Notch) {
        const int step = wheelRemainder_ > 0 ? -1 : 1; // away from the player: anticlockwise
        wheelRemainder_ += step * Notch;
        TurnSelectedPiece(e.Placements[e.SelectedPiece].o + step, false);
    }
}

void TMainform::CancelLift()
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing || e.SelectedPiece == 0)
        return;
    HideLifted();
    const int j = History.CancelLift(e);
    PlayWave(2);
    ShowLaidDown(j);
    EditorFigureChanged();
}

// Pixels that everything drawn for a piece at p lies in, with one to spare.
QRect TMainform::PieceRect(const PiecePlacement& p) const
{
    const auto o = static_cast<std::size_t>(p.o.value());
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (std::size_t k = 0; k < 3; ++k) {
        const int x = (VertexX[k][o] + p.x) * Engine.CellWidth;
        const int y = (VertexY[k][o] + p.y) * Engine.CellHeight;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return QRect(QPoint(left - 1, top - 1), QPoint(right + 1, bottom + 1));
}

// Erases piece j where it lay before and draws it at its place. Only the pieces
// that share pixels with its old place are drawn again, with every piece that
// lies above one that is drawn, so that the picture ends as a full repaint would
// leave it, for less than a full redraw.
void TMainform::ShowRelaid(int j, const PiecePlacement& left)
{
    std::array<QRect, PieceCount + 1> rect;
    for (int k = 1; k <= PieceCount; ++k)
        rect[static_cast<std::size_t>(k)] = PieceRect(Engine.Placements[k]);
    const QRect old = PieceRect(left);
    std::array<bool, PieceCount + 1> redraw{};
    for (int k = 1; k <= PieceCount; ++k)
        redraw[static_cast<std::size_t>(k)] = k == j || rect[static_cast<std::size_t>(k)].intersects(old);
    // In ascending order a single pass reaches everything above what is redrawn.
    for (std::size_t k = 1; k <= PieceCount; ++k)
        if (redraw[k])
            for (std::size_t m = k + 1; m <= PieceCount; ++m)
                redraw[m] = redraw[m] || rect[m].intersects(rect[k]);

    PiecePlacement& p = Engine.Placements[j];
    const PiecePlacement now = p;
    p = left;
    DrawPiece(j, clSilver, clSilver);
    p = now;
    for (int k = 1; k <= PieceCount; ++k)
        if (redraw[static_cast<std::size_t>(k)])
            DrawPiece(k, clBlack, clGrey);
}

void TMainform::Undo()
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing)
        return;
    // The first undo takes back an unfinished move: the lift.
    if (e.SelectedPiece != 0) {
        CancelLift();
        return;
    }
    if (const auto m = History.Undo(e)) {
        PlayWave(2);
        ShowRelaid(m->piece, m->to);
        EditorFigureChanged();
    }
}

void TMainform::Redo()
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing || !History.CanRedo())
        return;
    CancelLift();
    if (const auto m = History.Redo(e)) {
        PlayWave(2);
        ShowRelaid(m->piece, m->from);
        EditorFigureChanged();
    }
}

void TMainform::CreateShortcuts()
{
    // Each key clicks its button, so it does exactly what the button does, and
    // nothing while the button is disabled.
    const auto press = [this](QToolButton* button, std::initializer_list<const char*> keys) {
        for (const char* k : keys) {
            auto* s = new QShortcut(QKeySequence(QString::fromLatin1(k)), this);
            connect(s, &QShortcut::activated, button, &QToolButton::click);
        }
    };
    press(NewgameBtn, {"Ctrl+N"});
    press(LoadBtn, {"Ctrl+O"});
    press(SaveBtn, {"Ctrl+S"});
    press(StatBtn, {"Ctrl+T"});
    press(ExitBtn, {"Ctrl+Q"});
    press(SelectBtn, {"Ctrl+G"});
    press(UpBtn, {"PgDown", "Alt+Right"}); // onward through the library
    press(DownBtn, {"PgUp", "Alt+Left"});
    press(TipBtn, {"H"});
    press(SoundBtn, {"M"});
    press(TongueBtn, {"Ctrl+L"});
    press(RulesBtn, {"F1"});
    press(InfoBtn, {"Ctrl+I"});
    press(ZibbleBtn, {"Ctrl+B"});

    const auto act = [this](std::initializer_list<const char*> keys, void (TMainform::*handler)()) {
        for (const char* k : keys) {
            auto* s = new QShortcut(QKeySequence(QString::fromLatin1(k)), this);
            connect(s, &QShortcut::activated, this, handler);
        }
    };
    act({"Ctrl+Z"}, &TMainform::Undo);
    act({"Ctrl+Shift+Z", "Ctrl+Y"}, &TMainform::Redo);
    act({"Ctrl+E"}, &TMainform::ToggleEditor);
    act({"Ctrl+Return", "Ctrl+Enter"}, &TMainform::SaveFigure);
}

} // namespace zq
