// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zq {

// Finds every arrangement of the eight pieces that covers exactly the cells of
// a silhouette and that the player can build (some order passes the fit test).
// Those whose values equal the target are solutions; the others are traps: the
// player sees the outline complete and the game does not call it solved.
// Every piece is tried in every orientation at every place inside the cells, so
// the silhouette is rebuilt "up to shift" at its own position.
class ArrangementSolver {
public:
    struct Result {
        long long solutions = 0;
        long long traps = 0;
        long long nodes = 0;
        bool boundHit = false; // the search stopped early: counts are lower bounds
        bool stopped = false;  // it was called off from outside (boundHit is set too)
        std::vector<PuzzleRecord> solutionExamples;
        std::vector<PuzzleRecord> trapExamples;
    };

    explicit ArrangementSolver(long long nodeBound = 400000, int keepExamples = 0)
        : nodeBound_(nodeBound), keepExamples_(keepExamples) {}

    Result Solve(const Grid& target) const;
    // Asked now and then during a search; true calls it off.
    void StopWhen(std::function<bool()> stop) { stop_ = std::move(stop); }

    // True when the eight placements can be put down one after the other in
    // some order, each passing the fit test against those already down.
    static bool Buildable(const PuzzleRecord& pieces);
    // One such order (piece numbers), empty when there is none.
    static std::vector<int> BuildOrder(const PuzzleRecord& pieces);

private:
    long long nodeBound_;
    int keepExamples_;
    std::function<bool()> stop_;
};

} // namespace zq
