// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/ArrangementSolver.h"

#include "engine/BoardEngine.h"
#include "engine/Geometry.h"

#include <algorithm>
#include <array>

namespace zq {

namespace {

struct Candidate {
    PiecePlacement place;
    int first = 0; // index into the shared cell list
    int count = 0;
};

struct Search {
    Search(const Grid& t, long long bound, int keep, const std::function<bool()>& s)
        : target(t), nodeBound(bound), keepExamples(keep), stop(s) {}

    const Grid& target;
    long long nodeBound;
    int keepExamples;
    const std::function<bool()>& stop;
    std::vector<Candidate> cand;
    std::vector<int> cellIndex;               // grid index of each mask cell of every candidate
    std::vector<std::uint8_t> cellValue;      // its value
    std::vector<int> order;                   // silhouette cells, rows top to bottom
    // Per grid index i, the candidates with a cell there: covering[coverStart[i] .. coverStart[i + 1]).
    std::vector<int> coverStart;
    std::vector<int> covering;
    std::vector<int> value;                   // current sum per grid index
    std::vector<std::uint8_t> count;          // pieces per grid index
    std::vector<char> banned;
    std::array<int, PieceCount> chosen{};
    int maxCells = 0;
    int uncovered = 0;
    ArrangementSolver::Result result;

    bool CanAdd(const Candidate& c) const
    {
        for (int k = c.first; k < c.first + c.count; ++k) {
            const int i = cellIndex[static_cast<std::size_t>(k)];
            const int n = count[static_cast<std::size_t>(i)];
            if (n == 0)
                continue;
            const int a = value[static_cast<std::size_t>(i)];
            const int b = cellValue[static_cast<std::size_t>(k)];
            // No pair sums beyond 71; a full cell takes nothing more.
            if (a + b > 71 || a >= 64 || b >= 64)
                return false;
            // Two pieces that pair in neither order can only share the cell if a
            // third one comes between them, which needs room below 64.
            if (n == 1 && a + b >= 64 && !PairAllowed(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)) &&
                !PairAllowed(static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(a)))
                return false;
        }
        return true;
    }

    void Apply(const Candidate& c, int sign)
    {
        for (int k = c.first; k < c.first + c.count; ++k) {
            const std::size_t i = static_cast<std::size_t>(cellIndex[static_cast<std::size_t>(k)]);
            if (sign > 0) {
                if (count[i]++ == 0)
                    --uncovered;
                value[i] += cellValue[static_cast<std::size_t>(k)];
            } else {
                if (--count[i] == 0)
                    ++uncovered;
                value[i] -= cellValue[static_cast<std::size_t>(k)];
            }
        }
    }

    void Leaf()
    {
        PuzzleRecord r;
        for (int j = 1; j <= PieceCount; ++j)
            r[j] = cand[static_cast<std::size_t>(chosen[static_cast<std::size_t>(j - 1)])].place;
        if (!ArrangementSolver::Buildable(r))
            return;
        bool same = true;
        for (int i : order)
            if (value[static_cast<std::size_t>(i)] != target.cells[static_cast<std::size_t>(i)]) {
                same = false;
                break;
            }
        if (same) {
            ++result.solutions;
            if (static_cast<int>(result.solutionExamples.size()) < keepExamples)
                result.solutionExamples.push_back(r);
        } else {
            ++result.traps;
            if (static_cast<int>(result.trapExamples.size()) < keepExamples)
                result.trapExamples.push_back(r);
        }
    }

    void Dfs(int depth, std::size_t pos)
    {
        if (result.boundHit)
            return;
        if (++result.nodes > nodeBound) {
            result.boundHit = true;
            return;
        }
        // Asking is cheap against a thousand steps of search.
        if (stop && result.nodes % 1024 == 0 && stop()) {
            result.boundHit = result.stopped = true;
            return;
        }
        while (pos < order.size() && count[static_cast<std::size_t>(order[pos])] != 0)
            ++pos;
        if (depth == PieceCount) {
            if (pos == order.size())
                Leaf();
            return;
        }
        if (pos == order.size() || uncovered > (PieceCount - depth) * maxCells)
            return;
        const std::size_t cell = static_cast<std::size_t>(order[pos]);
        std::vector<int> bannedHere;
        for (int at = coverStart[cell]; at < coverStart[cell + 1]; ++at) {
            const int id = covering[static_cast<std::size_t>(at)];
            if (banned[static_cast<std::size_t>(id)])
                continue;
            const Candidate& c = cand[static_cast<std::size_t>(id)];
            if (CanAdd(c)) {
                Apply(c, 1);
                chosen[static_cast<std::size_t>(depth)] = id;
                Dfs(depth + 1, pos);
                Apply(c, -1);
                if (result.boundHit)
                    break;
            }
            // Every arrangement holding this piece has been seen: later siblings
            // leave it out, so each arrangement is counted once.
            banned[static_cast<std::size_t>(id)] = 1;
            bannedHere.push_back(id);
        }
        for (int id : bannedHere)
            banned[static_cast<std::size_t>(id)] = 0;
    }
};

} // namespace

ArrangementSolver::Result ArrangementSolver::Solve(const Grid& target) const
{
    Search s(target, nodeBound_, keepExamples_, stop_);
    int minX = BoardWidth, minY = BoardHeight, maxX = -1, maxY = -1;
    for (int y = 0; y < BoardHeight; ++y)
        for (int x = 0; x < BoardWidth; ++x)
            if (target.at(x, y) != 0) {
                s.order.push_back(Grid::Index(x, y));
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    if (s.order.empty())
        return s.result;
    s.value.assign(Grid::Size, 0);
    s.count.assign(Grid::Size, 0);
    s.uncovered = static_cast<int>(s.order.size());

    for (int o = 0; o < 16; ++o) {
        const MaskCells& m = NonZeroMaskCells[static_cast<std::size_t>(o)];
        s.maxCells = std::max(s.maxCells, m.count);
        const Orientation orient(o);
        // Only reference points whose mask box lies within the silhouette's box.
        for (int x = minX - BoundsMinX[static_cast<std::size_t>(o)]; x <= maxX - BoundsMaxX[static_cast<std::size_t>(o)]; ++x)
            for (int y = minY - BoundsMinY[static_cast<std::size_t>(o)]; y <= maxY - BoundsMaxY[static_cast<std::size_t>(o)]; ++y) {
                if (!BoardEngine::PieceInBounds(x, y, orient))
                    continue;
                const int base = Grid::Index(x, y);
                bool inside = true;
                for (int k = 0; k < m.count && inside; ++k)
                    inside = target.cells[static_cast<std::size_t>(base + m.cell[static_cast<std::size_t>(k)].offset)] != 0;
                if (!inside)
                    continue;
                Candidate c{PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), orient},
                            static_cast<int>(s.cellIndex.size()), m.count};
                for (int k = 0; k < m.count; ++k) {
                    s.cellIndex.push_back(base + m.cell[static_cast<std::size_t>(k)].offset);
                    s.cellValue.push_back(m.cell[static_cast<std::size_t>(k)].value);
                }
                s.cand.push_back(c);
            }
    }
    // Candidates per cell, in the order they were found.
    s.coverStart.assign(Grid::Size + 1, 0);
    for (int i : s.cellIndex)
        ++s.coverStart[static_cast<std::size_t>(i) + 1];
    for (std::size_t i = 1; i < s.coverStart.size(); ++i)
        s.coverStart[i] += s.coverStart[i - 1];
    s.covering.resize(s.cellIndex.size());
    {
        std::vector<int> fill(s.coverStart.begin(), s.coverStart.end() - 1);
        for (std::size_t id = 0; id < s.cand.size(); ++id) {
            const Candidate& c = s.cand[id];
            for (int k = c.first; k < c.first + c.count; ++k)
                s.covering[static_cast<std::size_t>(fill[static_cast<std::size_t>(s.cellIndex[static_cast<std::size_t>(k)])]++)] =
                    static_cast<int>(id);
        }
    }
    s.banned.assign(s.cand.size(), 0);
    s.Dfs(0, 0);
    return s.result;
}

std::vector<int> ArrangementSolver::BuildOrder(const PuzzleRecord& pieces)
{
    for (int j = 1; j <= PieceCount; ++j)
        if (!BoardEngine::PieceInBounds(pieces[j].x, pieces[j].y, pieces[j].o))
            return {};
    // Depth-first over the sets of pieces already down; a set from which no
    // order completes is remembered, so each of the 256 sets is tried once.
    std::array<char, 256> dead{};
    std::vector<int> order;
    BoardEngine board;
    auto go = [&](auto& self, unsigned done) -> bool {
        if (done == 255U)
            return true;
        if (dead[done])
            return false;
        for (int j = 1; j <= PieceCount; ++j) {
            const unsigned bit = 1U << (j - 1);
            if (done & bit)
                continue;
            const PiecePlacement& p = pieces[j];
            if (!board.PieceFits(p.x, p.y, p.o))
                continue;
            StampInto(board.Board, p, 1);
            order.push_back(j);
            if (self(self, done | bit))
                return true;
            order.pop_back();
            StampInto(board.Board, p, -1);
        }
        dead[done] = 1;
        return false;
    };
    if (!go(go, 0U))
        return {};
    return order;
}

bool ArrangementSolver::Buildable(const PuzzleRecord& pieces) { return !BuildOrder(pieces).empty(); }

} // namespace zq
