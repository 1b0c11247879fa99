// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleLibrary.h"
#include "engine/QuarvelNames.h"
#include "state/OwnCollection.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

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

    // The player's own Quarvels; which collection is on the board is Playing.
    OwnCollection Own;
    enum class Collection { Shipped, Own, File };
    Collection Playing = Collection::Shipped;

    // A collection file played straight from the command line, never written:
    // its progress lasts for the run.
    struct LooseCollection {
        QString File;
        std::vector<PuzzleRecord> Records;
        QStringList Names;
    };
    LooseCollection Loose;

    // The data file's Quarvels and their progress, whichever collection is played.
    const PuzzleLibrary& ShippedLibrary() const { return Playing == Collection::Shipped ? Library : shipped_.library; }
    std::uint8_t ShippedProgress(int n) const
    {
        return Playing == Collection::Shipped ? Progress(n) : shipped_.progress[static_cast<std::size_t>(n)];
    }
    int ShippedCurrent() const { return Playing == Collection::Shipped ? CurrentPuzzle : shipped_.current; }
    // What game files hold and are read into: the shipped Quarvels' progress, whichever collection is played.
    std::array<std::uint8_t, 1001>& ShippedProgressBytes()
    {
        return Playing == Collection::Shipped ? ProgressBytes : shipped_.progress;
    }
    std::span<const std::uint8_t> ShippedGame()
    {
        return std::span(ShippedProgressBytes().data() + 1, static_cast<std::size_t>(ShippedLibrary().PuzzleCount));
    }

    // Reads the own collection the first time it is needed, so that a player
    // who never makes a Quarvel reads nothing of it. Returns the message for
    // the player about a damaged file (once), empty when there is none.
    QString LoadOwnOnce()
    {
        if (OwnLoaded)
            return {};
        OwnLoaded = true;
        return Own.Load(German());
    }
    bool OwnLoaded = false;

    // How many Quarvels a collection holds, and their records and progress, whether it is played or not.
    int CountOf(Collection c) const;
    const PuzzleRecord& RecordOf(Collection c, int n) const;
    std::uint8_t ProgressOf(Collection c, int n) const;
    // The Quarvel of a collection that was (or is) on the board.
    int CurrentOf(Collection c) const;

    // Puts collection c on the board: Library, ProgressBytes and CurrentPuzzle
    // become its own (current: its Quarvel to start at, 0 for the one it was
    // left at); the collection left keeps its values aside. False, and
    // nothing changed, for a collection without Quarvels.
    bool Play(Collection c, int current = 0);
    // The played own collection changed (edited, imported): the library follows it,
    // the Quarvel on the board becomes current (0: kept, brought in range).
    // With no own Quarvel left, the shipped ones are played.
    void OwnChanged(int current = 0);
    // After a help step or a solution: an own Quarvel's progress goes to its
    // file at once. Returns whether the shipped game changed (it is then
    // modified); *error tells when the own progress could not be written.
    bool ProgressChanged(QString* error);

    std::uint8_t& Progress(int n) { return ProgressBytes[static_cast<std::size_t>(n)]; }
    std::uint8_t Progress(int n) const { return ProgressBytes[static_cast<std::size_t>(n)]; }
    bool German() const { return Language == 1; }

    // The name of Quarvel n in the current language, empty when it has none.
    // The names file is read when a name is first asked for, not at start-up:
    // it only labels tooltips.
    QString QuarvelName(int n) const { return NameOf(Playing, n); }
    QString NameOf(Collection c, int n) const
    {
        if (c == Collection::Own)
            return n >= 1 && n <= Own.Count() ? Own.Name(n) : QString();
        if (c == Collection::File)
            return n >= 1 && n <= Loose.Names.size() ? Loose.Names[n - 1] : QString();
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
    struct Aside {
        PuzzleLibrary library;
        std::array<std::uint8_t, 1001> progress{};
        int current = 1;
    };
    Aside shipped_;         // the data file's Quarvels while another collection is played
    int ownCurrent_ = 1;    // the own Quarvel last on the board
    std::array<std::uint8_t, 1001> looseProgress_{};
    int looseCurrent_ = 1;

    mutable QuarvelNames names_;
    mutable QString namesDir_;
    mutable bool namesLoaded_ = false;
};

} // namespace zq
