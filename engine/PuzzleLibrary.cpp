// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PuzzleLibrary.h"

#include "engine/RegularFile.h"

#include <vector>

namespace zq {

PuzzleLibrary::LoadResult PuzzleLibrary::LoadPuzzleLibrary(const std::filesystem::path& file)
{
    // Never read more than the records we keep: a huge file costs nothing.
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(file, static_cast<std::size_t>(MaxPuzzles * RecordSize), bytes) != ReadResult::Ok)
        return LoadResult::CannotOpen;
    return LoadFromBytes(bytes);
}

PuzzleLibrary::LoadResult PuzzleLibrary::LoadFromBytes(std::span<const std::uint8_t> bytes)
{
    PuzzleCount = 0;
    while (PuzzleCount < MaxPuzzles && bytes.size() >= static_cast<std::size_t>(RecordSize)) {
        ++PuzzleCount;
        PuzzleRecord& r = records_[static_cast<std::size_t>(PuzzleCount)];
        for (int j = 1; j <= PieceCount; ++j) {
            const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
            // Orientation keeps only 0..15, so a damaged byte cannot index past the tables.
            r[j] = PiecePlacement{bytes[at], bytes[at + 1], Orientation(bytes[at + 2])};
        }
        bytes = bytes.subspan(RecordSize);
    }
    return PuzzleCount > 0 ? LoadResult::Ok : LoadResult::NoRecords;
}

} // namespace zq
