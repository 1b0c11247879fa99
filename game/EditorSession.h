// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/BoardEngine.h"
#include "engine/MoveHistory.h"
#include "engine/figures/FigureRules.h"
#include "game/EditorCheck.h"

#include <optional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace zq {

// What the main window keeps while its board is lent to the editor: the game to
// go back to, the strip under the board and the check of the figure.
struct EditorSession {
    int ownIndex = 0; // the own Quarvel a save replaces, 0: a save adds one
    PuzzleRecord opened; // that Quarvel as it was opened
    PuzzleRecord start;  // the pieces as the editor laid them out: nothing made yet
    // The game on the board when the editor opened, put back as it was.
    BoardEngine game;
    MoveHistory gameHistory;
    int gameLastLifted = 0;
    bool tipEnabled = false;

    QWidget* bar = nullptr;
    QLabel* line = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* save = nullptr;
    QPushButton* close = nullptr;

    EditorCheck check;
    FigureRules::Verdict verdict; // as the line shows it
    // The last figure the slow rules were run on, with their verdict.
    std::optional<std::pair<PuzzleRecord, FigureRules::Verdict>> checked;
    std::optional<PuzzleRecord> saved;   // the figure as last saved, while it is unchanged
    int savedAs = 0;
    bool replacedCurrent = false; // the Quarvel the game is playing was replaced: set it up anew
};

} // namespace zq
