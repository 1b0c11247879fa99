// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"
#include "engine/QuarvelNames.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zq {

// Checks a data file, any data file of the game's format, against the rules a
// shipped Quarvel obeys. Rules by number:
//  1 placements on the board, orientations 0..15
//  2 buildable in some order under the fit test
//  3 silhouette joined through cell edges (a named figure may hang pieces on by a corner)
//  4 no two figures the same, shifted, turned by any of the 16 steps or mirrored (see ShapeTwins)
//  5 centred within two cells, at most 56 by 56, clear of the parking columns
//  6 difficulty order: the first hundred along the grid (and compact, unless named),
//    and the median score (see Difficulty) of each block of 50 at least the last block's;
//    with names, the first 20 are named and at least one in four of the first 300
//  7 no outline twins: every arrangement with the silhouette's cells has its values
// Named figures are those of the names file beside the data file.
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
    static constexpr int BlockSize = 50;
    static constexpr int NamedFirst = 20;
    static constexpr int NamedShareCount = 300;

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
        double score = 0;
        bool named = false;
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
        int nearTwinsEarly = 0; // among the first 300, records one slanted corner from an earlier one
        std::vector<double> blockMedians;
        bool Passed() const { return !fileUnusable && failedRecords == 0; }
        std::string Summary() const;
    };

    explicit LibraryChecker(long long nodeBound = 400000, int threads = 0) : nodeBound_(nodeBound), threads_(threads) {}

    // Splits bytes into records like the game: at most 1000, a partial tail ignored.
    static std::vector<RawRecord> SplitRecords(std::span<const std::uint8_t> bytes, std::vector<std::string>* notes);
    static PuzzleRecord ToRecord(const RawRecord& raw);
    static RawRecord ToRaw(const PuzzleRecord& r);

    // The rules that look at one record alone (1, 2, 3, 5 and 7); fills the report's measures.
    RecordReport CheckOne(const RawRecord& raw, int number, bool named = false) const;

    Report CheckBytes(std::span<const std::uint8_t> bytes, const QuarvelNames* names = nullptr) const;
    // Reads the names file beside the data file, when there is one.
    Report CheckFile(const std::filesystem::path& file) const;
    static std::filesystem::path NamesFileBeside(const std::filesystem::path& dataFile);

    // Medians of the scores in blocks of BlockSize (the last one may be shorter).
    static std::vector<double> BlockMedians(const std::vector<double>& scores);

    // Difficulty measure: orientation class first (0 legs along the grid,
    // 1 even orientations, 2 odd ones), then irregularity.
    static bool IsCompact(double irregularity) { return irregularity <= CompactLimit; }

private:
    long long nodeBound_;
    int threads_;
};

} // namespace zq
