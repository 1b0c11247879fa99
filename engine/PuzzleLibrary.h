// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

namespace zq {

// The Quarvels read from the data file. Element n (1..PuzzleCount) is Quarvel n;
// element 0 is the working copy of the Quarvel on the board.
class PuzzleLibrary {
public:
    static constexpr int MaxPuzzles = 1000;
    static constexpr int RecordSize = 24;

    enum class LoadResult { Ok, CannotOpen, NoRecords };

    // Reads at most MaxPuzzles records; a trailing partial record is ignored.
    // A file without a single whole record is refused like a missing one,
    // because the game cannot set up a Quarvel from it.
    LoadResult LoadPuzzleLibrary(const std::filesystem::path& file);
    LoadResult LoadFromBytes(std::span<const std::uint8_t> bytes);

    PuzzleRecord& operator[](int n) { return records_[static_cast<std::size_t>(n)]; }
    const PuzzleRecord& operator[](int n) const { return records_[static_cast<std::size_t>(n)]; }

    int PuzzleCount = 0;

private:
    std::array<PuzzleRecord, MaxPuzzles + 1> records_{};
};

} // namespace zq
