// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ProgramState.h"

#include <algorithm>

namespace zq {

int ProgramState::CountOf(Collection c) const
{
    switch (c) {
    case Collection::Shipped: return ShippedLibrary().PuzzleCount;
    case Collection::Own: return Own.Count();
    case Collection::File: return static_cast<int>(Loose.Records.size());
    }
    return 0;
}

const PuzzleRecord& ProgramState::RecordOf(Collection c, int n) const
{
    if (c == Playing)
        return Library[n];
    switch (c) {
    case Collection::Own: return Own.Record(n);
    case Collection::File: return Loose.Records[static_cast<std::size_t>(n - 1)];
    case Collection::Shipped: break;
    }
    return shipped_.library[n];
}

std::uint8_t ProgramState::ProgressOf(Collection c, int n) const
{
    if (c == Playing)
        return Progress(n);
    switch (c) {
    case Collection::Own: return Own.Progress(n);
    case Collection::File: return looseProgress_[static_cast<std::size_t>(n)];
    case Collection::Shipped: break;
    }
    return shipped_.progress[static_cast<std::size_t>(n)];
}

int ProgramState::CurrentOf(Collection c) const
{
    if (c == Playing)
        return CurrentPuzzle;
    switch (c) {
    case Collection::Own: return std::clamp(ownCurrent_, 1, std::max(1, Own.Count()));
    case Collection::File: return looseCurrent_;
    case Collection::Shipped: break;
    }
    return shipped_.current;
}

bool ProgramState::Play(Collection c, int current)
{
    if (CountOf(c) < 1)
        return false;
    if (c != Playing) {
        // The collection left keeps its values; an own Quarvel's progress is on disk already.
        switch (Playing) {
        case Collection::Shipped: shipped_ = Aside{Library, ProgressBytes, CurrentPuzzle}; break;
        case Collection::Own: ownCurrent_ = CurrentPuzzle; break;
        case Collection::File:
            looseProgress_ = ProgressBytes;
            looseCurrent_ = CurrentPuzzle;
            break;
        }
        const int wasCurrent = CurrentOf(c);
        switch (c) {
        case Collection::Shipped:
            Library = shipped_.library;
            ProgressBytes = shipped_.progress;
            break;
        case Collection::Own:
            ProgressBytes.fill(0);
            Library.PuzzleCount = Own.Count();
            for (int n = 1; n <= Own.Count(); ++n) {
                Library[n] = Own.Record(n);
                Progress(n) = Own.Progress(n);
            }
            break;
        case Collection::File:
            ProgressBytes = looseProgress_;
            Library.PuzzleCount = static_cast<int>(Loose.Records.size());
            for (int n = 1; n <= Library.PuzzleCount; ++n)
                Library[n] = Loose.Records[static_cast<std::size_t>(n - 1)];
            break;
        }
        Playing = c;
        CurrentPuzzle = wasCurrent;
    }
    if (current != 0)
        CurrentPuzzle = current;
    CurrentPuzzle = std::clamp(CurrentPuzzle, 1, Library.PuzzleCount);
    return true;
}

void ProgramState::OwnChanged(int current)
{
    if (Playing != Collection::Own) {
        if (current != 0)
            ownCurrent_ = current;
        return;
    }
    if (Own.Count() == 0) {
        ownCurrent_ = 1;
        Play(Collection::Shipped);
        return;
    }
    // Played afresh from the collection as it now is.
    Library.PuzzleCount = Own.Count();
    ProgressBytes.fill(0);
    for (int n = 1; n <= Own.Count(); ++n) {
        Library[n] = Own.Record(n);
        Progress(n) = Own.Progress(n);
    }
    if (current != 0)
        CurrentPuzzle = current;
    CurrentPuzzle = std::clamp(CurrentPuzzle, 1, Library.PuzzleCount);
}

bool ProgramState::ProgressChanged(QString* error)
{
    if (Playing == Collection::Shipped)
        return true;
    // A collection file from the command line is only read: its progress lasts for the run.
    if (Playing == Collection::Own)
        Own.SetProgress(CurrentPuzzle, Progress(CurrentPuzzle), German(), error);
    return false;
}

} // namespace zq
