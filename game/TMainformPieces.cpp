// SPDX-License-Identifier: GPL-3.0-or-later
// The player's hand on the board: lifting, carrying, turning and putting down pieces.
#include "game/TMainform.h"

#include "engine/Geometry.h"
#include "platform/canvas/CanvasWidget.h"

#include <QToolButton>

namespace zq {

void TMainform::SetBoxCursor(int zone)
{
    if (zone == BoardEngine::MoveZone)
        box->setCursor(moveCursor_);
    else if (zone == BoardEngine::TurnZone)
        box->setCursor(turnCursor_);
    else
        box->setCursor(Qt::PointingHandCursor);
}

void TMainform::boxMousedown(Qt::MouseButton button, int X, int Y)
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing)
        return;
    if (button == Qt::RightButton) {
        if (e.SelectedPiece == 0)
            return;
        TurnSelectedPiece(e.Placements[e.SelectedPiece].o + 1, false);
        return;
    }
    if (e.CellWidth <= 0 || e.CellHeight <= 0)
        return;
    const int column = X / e.CellWidth;
    const int row = Y / e.CellHeight;
    if (column < 0 || column > BoardWidth - 1 || row < 0 || row > BoardHeight - 1)
        return;

    const auto grab = [&](int j) {
        const PiecePlacement& p = e.Placements[j];
        if (e.DragMode == BoardEngine::Moving) {
            e.DragOffsetX = p.x - column;
            e.DragOffsetY = p.y - row;
        } else if (e.DragMode == BoardEngine::Turning) {
            e.TurnReference = e.AngleStep(X, Y, j) + p.o.value();
        }
    };

    if (e.SelectedPiece != 0) {
        const int j = e.SelectedPiece;
        e.DragMode = static_cast<std::uint8_t>(e.HitTestPiece(X, Y, j));
        if (e.DragMode != BoardEngine::NoDrag) {
            grab(j);
        } else {
            PutDownSelected();
        }
    }

    if (e.PlayState == BoardEngine::Playing && e.SelectedPiece == 0) {
        PickPiece(X, Y);
        if (e.SelectedPiece != 0) {
            e.DragMode = static_cast<std::uint8_t>(e.HitTestPiece(X, Y, e.SelectedPiece));
            grab(e.SelectedPiece);
        }
    }
}

void TMainform::PickPiece(int X, int Y)
{
    BoardEngine& e = Engine;
    e.SelectedPiece = 0;
    for (int j = 1; j <= PieceCount; ++j)
        if (e.HitTestPiece(X, Y, j) > 0)
            e.SelectedPiece = static_cast<std::uint8_t>(j);
    if (e.SelectedPiece != 0)
        LiftPiece(e.SelectedPiece);
}

void TMainform::LiftPiece(int j)
{
    BoardEngine& e = Engine;
    e.SelectedPiece = static_cast<std::uint8_t>(j);
    PlayWave(1);
    e.UnstampPiece(j);
    History.Lifted(j, e.Placements[j]);
    lastLifted_ = j;
    wheelRemainder_ = 0;
    DrawPiece(j, clSilver, clSilver);
    DrawPieces(clBlack, clGrey);
    ShowLifted();
    EditorFigureChanged();
}

bool TMainform::PutDownSelected()
{
    BoardEngine& e = Engine;
    const int j = e.SelectedPiece;
    const PiecePlacement p = e.Placements[j];
    if (!e.PieceFits(p.x, p.y, p.o)) {
        PlayWave(6);
        SignalRefused();
        return false;
    }
    PlayWave(2);
    e.StampPiece(j);
    e.SelectedPiece = 0;
    // The piece drawn in place covers every pixel of its outline and tint.
    liftedShown_.reset();
    History.PutDown(p);
    ShowLaidDown(j);
    if (editor_)
        EditorFigureChanged(); // a figure being made is never solved
    else if (e.PlayState == BoardEngine::Playing && e.CheckSolved())
        QuarvelSolved();
    return true;
}

void TMainform::ShowLaidDown(int j)
{
    DrawPiece(j, clBlack, clGrey);
    // Pieces with higher numbers lie on top of it, as a full repaint shows them.
    for (int k = j + 1; k <= PieceCount; ++k)
        DrawPiece(k, clBlack, clGrey);
}

bool TMainform::TurnSelectedPiece(Orientation turned, bool withSound)
{
    BoardEngine& e = Engine;
    if (e.SelectedPiece == 0)
        return false;
    PiecePlacement& p = e.Placements[e.SelectedPiece];
    if (!BoardEngine::PieceInBounds(p.x, p.y, turned) || turned == p.o)
        return false;
    if (withSound)
        PlayWave(3);
    HideLifted();
    p.o = turned;
    ShowLifted();
    return true;
}

void TMainform::boxMouseMove(bool leftHeld, int X, int Y)
{
    BoardEngine& e = Engine;
    if (e.SelectedPiece == 0)
        return;
    SetBoxCursor(e.HitTestPiece(X, Y, e.SelectedPiece));
    if (!leftHeld || e.CellWidth <= 0 || e.CellHeight <= 0)
        return;
    if (e.DragMode == BoardEngine::Moving) {
        MoveSelectedPiece(X / e.CellWidth + e.DragOffsetX, Y / e.CellHeight + e.DragOffsetY);
    } else if (e.DragMode == BoardEngine::Turning) {
        const int s = e.AngleStep(X, Y, e.SelectedPiece);
        int t = e.TurnReference - s;
        while (t < 0)
            t += 16;
        TurnSelectedPiece(Orientation(t % 16), true);
    }
}

void TMainform::MoveSelectedPiece(int x, int y)
{
    BoardEngine& e = Engine;
    if (e.SelectedPiece == 0)
        return;
    PiecePlacement& p = e.Placements[e.SelectedPiece];
    if (!BoardEngine::PieceInBounds(x, y, p.o))
        return;
    if (x == p.x && y == p.y)
        return;
    PlayWave(4);
    HideLifted();
    p.x = static_cast<std::uint8_t>(x);
    p.y = static_cast<std::uint8_t>(y);
    ShowLifted();
}

void TMainform::PlayWave(int n)
{
    if (!SoundBtn->isChecked())
        return;
    ReadSounds();
    waves.Play(n - 1);
}

void TMainform::ReadSounds()
{
    if (waves.Count() == 0)
        waves.LoadBuiltInSounds();
}

} // namespace zq
