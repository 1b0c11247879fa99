// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zq::tool {

// Makes a library of Quarvels from a seed: figures grown piece by piece along
// shared edges in several styles, each kept only if it passes every rule the
// checker tests, then ordered by difficulty. The same seed and count always
// give the same records.
class QuarvelGenerator {
public:
    enum Style { Compact, Elongated, Branching, Mirrored, Turned, Loose, Designed, StyleCount };

    struct Stats {
        long long attempts = 0;
        long long grownFailed = 0;   // the growth found no place for a piece
        long long ruleFailed = 0;    // failed rules 1, 2, 3 or 5
        long long duplicates = 0;    // same silhouette as one already kept
        long long twins = 0;         // a turned or mirrored copy of one already kept
        long long trapRejected = 0;  // rule 7: outline twins found
        long long boundRejected = 0; // rule 7: search bound reached
        std::array<int, 3> perClass{};
        std::array<int, StyleCount> perStyle{};
    };

    struct Candidate {
        PuzzleRecord record;
        int orientationClass = 0;
        Style style = Compact;
        double irregularity = 0;
        double score = 0; // see Difficulty
    };

    // progress(kept, wanted) is called as records are accepted.
    using Progress = std::function<void(int, int)>;

    QuarvelGenerator(std::uint64_t seed, long long nodeBound = 400000, int threads = 0)
        : seed_(seed), nodeBound_(nodeBound), threads_(threads) {}

    std::vector<PuzzleRecord> Generate(int count, Stats* stats = nullptr, const Progress& progress = {}) const;
    // The same, with each record's class and style.
    // Figures equal to or twins of those in avoid are not taken.
    std::vector<Candidate> GenerateDetailed(int count, Stats* stats = nullptr, const Progress& progress = {},
                                            const std::vector<PuzzleRecord>& avoid = {}) const;

    // One figure of the class (0, 1, 2) in the style, grown from the attempt's own
    // seed and centred on the board; empty when the growth got stuck.
    static std::optional<PuzzleRecord> Grow(std::uint64_t attemptSeed, int orientationClass, Style style);

    static const char* StyleName(Style s);

private:
    std::uint64_t seed_;
    long long nodeBound_;
    int threads_;
};

} // namespace zq::tool
