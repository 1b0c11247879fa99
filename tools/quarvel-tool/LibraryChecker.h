// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zq::tool {

// Checks a data file, any data file of the game's format, against the rules a
// shipped Quarvel obeys. Rules by number:
//  1 placements on the board, orientations 0..15
//  2 buildable in some order under the fit test
//  3 silhouette joined through cell edges
//  4 no two silhouettes equal up to translation
//  5 centred within two cells, at most 56 by 56, clear of the parking columns
//  6 difficulty order (see DifficultyClass)
//  7 no outline twins: every arrangement with the silhouette's cells has its values
class LibraryChecker {
public:
    static constexpr int RuleCount = 7;
    static constexpr int MaxSize = 56;
    static constexpr int CentreSlack = 2;
    // Cells a parked piece can reach: columns up to 15 and from 74 on.
    static constexpr int FirstFreeColumn = 16;
    static constexpr int LastFreeColumn = 73;
    // The first hundred must be at most this irregular (1 is a square).
    static constexpr double CompactLimit = 1.6;
    static constexpr int CompactCount = 100;

    using RawRecord = std::array<std::uint8_t, 24>;

    struct Issue {
        int rule = 0;
        std::string text;
    };
    struct RecordReport {
        int number = 0;
        std::vector<Issue> issues;
        long long solutions = 0;
        long long traps = 0;
        bool boundHit = false;
        int orientationClass = 0;
        double irregularity = 0;
        std::string translationKey; // see Silhouette
        std::string symmetryKey;
    };
    struct Report {
        std::vector<RecordReport> records;
        std::vector<std::string> fileNotes; // about the file as a whole
        bool fileUnusable = false;          // nothing to check at all
        std::array<int, RuleCount + 1> failuresPerRule{};
        int failedRecords = 0;
        int symmetryTwins = 0; // records that are a turned or mirrored copy of an earlier one
        bool Passed() const { return !fileUnusable && failedRecords == 0; }
        std::string Summary() const;
    };

    explicit LibraryChecker(long long nodeBound = 400000, int threads = 0) : nodeBound_(nodeBound), threads_(threads) {}

    // Splits bytes into records like the game: at most 1000, a partial tail ignored.
    static std::vector<RawRecord> SplitRecords(std::span<const std::uint8_t> bytes, std::vector<std::string>* notes);
    static PuzzleRecord ToRecord(const RawRecord& raw);
    static RawRecord ToRaw(const PuzzleRecord& r);

    // The rules that look at one record alone (1, 2, 3, 5 and 7); fills the report's measures.
    RecordReport CheckOne(const RawRecord& raw, int number) const;

    Report CheckBytes(std::span<const std::uint8_t> bytes) const;
    Report CheckFile(const std::filesystem::path& file) const;

    // Difficulty measure: orientation class first (0 legs along the grid,
    // 1 even orientations, 2 odd ones), then irregularity.
    static bool IsCompact(double irregularity) { return irregularity <= CompactLimit; }

private:
    long long nodeBound_;
    int threads_;
};

} // namespace zq::tool
