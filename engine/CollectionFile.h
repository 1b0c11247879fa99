// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace zq {

// A collection file: Quarvels in the data file's format (24-byte records, no
// header), at most 1000 of them. It may come from anyone, so every record is
// looked at before it reaches a board: pieces must lie on the board and go
// down one after another through the fit test.
class CollectionFile {
public:
    static constexpr int MaxRecords = 1000;
    static constexpr int RecordSize = 24;

    // What is wrong with the file as a whole. Missing is no fault for the
    // player's own collection (nothing made yet), but is for a named file.
    enum class Fault { None, Missing, NotRegular, Unreadable, Empty, Truncated, TooMany };
    // Why a single record is refused.
    enum class RecordFault { None, BadOrientation, OffBoard, Overlapping };

    struct Refusal {
        int number = 0; // 1-based position in the file
        RecordFault fault = RecordFault::None;
    };

    struct Contents {
        Fault fault = Fault::None;
        std::vector<PuzzleRecord> records; // the sound records, in file order
        std::vector<Refusal> refused;
        std::size_t trailingBytes = 0; // bytes after the last whole record
        // Something in the file was lost on reading; an empty or missing file holds nothing to lose.
        bool Damaged() const
        {
            return (fault != Fault::None && fault != Fault::Missing && fault != Fault::Empty) || !refused.empty();
        }
    };

    // Splits bytes into records and checks each; records past the 1000th are
    // not kept (the fault says so).
    static Contents Parse(std::span<const std::uint8_t> bytes);
    // Reads a regular file only (never waits on a FIFO); at most one record
    // more than fits, so a huge file costs nothing.
    static Contents Read(const std::filesystem::path& file);
    // The bytes of records, as written to a collection file.
    static std::vector<std::uint8_t> Bytes(std::span<const PuzzleRecord> records);

    static RecordFault Check(std::span<const std::uint8_t, RecordSize> raw);
};

} // namespace zq
