// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleLibrary.h"
#include "engine/QuarvelNames.h"

#include <QFile>
#include <QString>

#include <array>
#include <cstdint>

namespace zq {

// The values that live for the whole run and that every window reads: the
// library, the progress of each Quarvel, the one on the board, the language
// and the game file. The main window owns the one instance and hands it to
// the dialogs.
struct ProgramState {
    PuzzleLibrary Library;                           // Library.PuzzleCount Quarvels, element 0 the working copy
    std::array<std::uint8_t, 1001> ProgressBytes{}; // indexed by Quarvel number 1..1000
    int CurrentPuzzle = 1;
    int Language = -1;    // 1 German, 0 English, -1 not chosen yet (English texts)
    QString GameFileName; // full path of the current game file, empty for none
    QString ProgramDir;   // the program's folder, with a trailing separator

    std::uint8_t& Progress(int n) { return ProgressBytes[static_cast<std::size_t>(n)]; }
    std::uint8_t Progress(int n) const { return ProgressBytes[static_cast<std::size_t>(n)]; }
    bool German() const { return Language == 1; }

    // The name of Quarvel n in the current language, empty when it has none.
    // The names file is read when a name is first asked for, not at start-up:
    // it only labels tooltips.
    QString QuarvelName(int n) const
    {
        if (namesDir_ != ProgramDir || !namesLoaded_) {
            names_ = QuarvelNames{};
            if (!ProgramDir.isEmpty())
                names_.Load(QFile::encodeName(ProgramDir + QLatin1String(QuarvelNames::FileName)).toStdString());
            namesDir_ = ProgramDir;
            namesLoaded_ = true;
        }
        return QString::fromStdString(names_.Name(n, German()));
    }

private:
    mutable QuarvelNames names_;
    mutable QString namesDir_;
    mutable bool namesLoaded_ = false;
};

} // namespace zq
