// SPDX-License-Identifier: GPL-3.0-or-later
// Help steps, a solved Quarvel, and moving between Quarvels.
#include "game/TMainform.h"

#include "dialogs/TPatForm.h"
#include "dialogs/TSelectDlg.h"
#include "dialogs/TStatDlg.h"
#include "dialogs/TYesNoDlg.h"
#include "engine/Geometry.h"
#include "engine/ProgressByte.h"
#include "platform/canvas/CanvasWidget.h"

#include <QToolButton>

namespace zq {

void TMainform::SetupPuzzle()
{
    // Another Quarvel on the board ends the making of one.
    CloseEditor();
    const bool tip = Engine.SetupPuzzle(State.Library, State.CurrentPuzzle, State.Progress(State.CurrentPuzzle),
                                        randomOrientation_);
    TipBtn->setEnabled(tip);
    History.Clear();
    lastLifted_ = 0;
}

void TMainform::RepaintPattern()
{
    if (PatForm)
        PatForm->Repaint();
}

void TMainform::TipBtnClick()
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing || editor_)
        return;
    for (int j = 1; j <= PieceCount; ++j)
        if (j != e.SelectedPiece)
            e.UnstampPiece(j);
    e.SelectedPiece = 0;
    // The moves made so far lead nowhere from the new arrangement.
    History.Clear();
    lastLifted_ = 0;
    DrawPieces(clSilver, clSilver);
    for (int j = 1; j <= PieceCount; ++j)
        e.ParkPiece(j, randomOrientation_);
    std::uint8_t& progress = State.Progress(State.CurrentPuzzle);
    // Levels 5 to 7 come only from damaged files; they count as the level that reveals all.
    int level = EffectiveHelpLevel(progress);
    if (level < 4)
        ++level;
    if (level == 4) {
        progress = 4 + FinishedBit;
        e.PlayState = BoardEngine::Revealed;
    } else {
        progress = static_cast<std::uint8_t>(level);
    }
    e.LayHelpPieces(State.Library[State.CurrentPuzzle], 2 * level);
    DrawPieces(level == 4 ? clRed : clBlack, clGrey);
    ProgressChanged();
}

void TMainform::QuarvelSolved()
{
    Engine.PlayState = BoardEngine::Solved;
    DrawPieces(clGreen, clGrey);
    std::uint8_t& progress = State.Progress(State.CurrentPuzzle);
    if (!IsFinished(progress)) {
        progress = static_cast<std::uint8_t>(progress | FinishedBit);
        ProgressChanged();
    }
    PlayWave(5);
    if (YesNoDlg)
        YesNoDlg->ShowModal(TYesNoDlg::won);
    RepaintPattern();
}

void TMainform::UpBtnClick()
{
    if (!EditorMayGo())
        return;
    if (State.CurrentPuzzle < State.Library.PuzzleCount)
        ++State.CurrentPuzzle;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::DownBtnClick()
{
    if (!EditorMayGo())
        return;
    if (State.CurrentPuzzle > 1)
        --State.CurrentPuzzle;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::SelectBtnClick()
{
    if (!SelectDlg || !EditorMayGo())
        return;
    const ProgramState::Collection before = State.Playing;
    const int shownBefore = State.CurrentPuzzle;
    const PuzzleRecord onBoard = State.Library[0];
    SelectDlg->OpenEditor = [this](int ownIndex) { OpenEditor(ownIndex); };
    // Own Quarvels edited in the gallery may move the one on the board: set up again when it is not the same.
    const bool picked = SelectDlg->ShowModal() == 1;
    if (!picked && State.Playing == before && State.CurrentPuzzle == shownBefore &&
        State.Library[State.CurrentPuzzle] == onBoard)
        return;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
    UpdateTitle();
}

void TMainform::StatBtnClick()
{
    if (StatDlg)
        StatDlg->ShowModal();
}

} // namespace zq
