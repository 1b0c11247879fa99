// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/ArrangementSolver.h"

#include "engine/BoardEngine.h"
#include "tests/engine/figures/QuarvelFixtures.h"
#include "engine/figures/Silhouette.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using testing::At;

TEST(ArrangementSolverTest, SquareOfSquaresHasOnlyTrueRebuilds)
{
    const Silhouette s(testing::CentredSquare());
    const auto r = ArrangementSolver(1000000, 100).Solve(s.Target());
    EXPECT_FALSE(r.boundHit);
    EXPECT_EQ(r.traps, 0);
    // Each small square splits along either diagonal, among other rebuilds.
    EXPECT_GE(r.solutions, 16);
    ASSERT_FALSE(r.solutionExamples.empty());
    for (const PuzzleRecord& rec : r.solutionExamples) {
        EXPECT_EQ(Silhouette(rec).Target(), s.Target());
        EXPECT_TRUE(ArrangementSolver::Buildable(rec));
    }
}

TEST(ArrangementSolverTest, EachArrangementIsCountedOnce)
{
    const Silhouette s(testing::CentredSquare());
    const auto r = ArrangementSolver(1000000, 1000).Solve(s.Target());
    ASSERT_EQ(static_cast<long long>(r.solutionExamples.size()), r.solutions);
    std::vector<std::vector<int>> seen;
    for (const PuzzleRecord& rec : r.solutionExamples) {
        std::vector<int> key;
        for (int j = 1; j <= PieceCount; ++j)
            key.push_back((rec[j].x * 256 + rec[j].y) * 16 + rec[j].o.value());
        std::sort(key.begin(), key.end());
        seen.push_back(key);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(ArrangementSolverTest, TiltedSquaresHaveAnOutlineTwinWithTheSameCells)
{
    const PuzzleRecord rec = testing::TiltedSquares();
    const Silhouette s(rec);
    const auto r = ArrangementSolver(1000000, 5).Solve(s.Target());
    ASSERT_GT(r.traps, 0);
    const Silhouette trapSilhouette(r.trapExamples.front());
    const Grid& trap = trapSilhouette.Target();
    int differ = 0;
    for (int i = 0; i < Grid::Size; ++i) {
        EXPECT_EQ(trap.cells[static_cast<std::size_t>(i)] != 0, s.Target().cells[static_cast<std::size_t>(i)] != 0);
        differ += trap.cells[static_cast<std::size_t>(i)] != s.Target().cells[static_cast<std::size_t>(i)];
    }
    EXPECT_GT(differ, 0);
}

TEST(ArrangementSolverTest, BuildOrderPassesTheFitTestStepByStep)
{
    // The order found really passes the fit test piece by piece; a record with a
    // piece doubled or off the board has no order at all.
    PuzzleRecord r = testing::CentredSquare();
    EXPECT_TRUE(ArrangementSolver::Buildable(r));
    const auto order = ArrangementSolver::BuildOrder(r);
    ASSERT_EQ(order.size(), 8U);
    BoardEngine e;
    for (int j : order) {
        EXPECT_TRUE(e.PieceFits(r[j].x, r[j].y, r[j].o));
        StampInto(e.Board, r[j], 1);
    }
    r[3] = r[1];
    EXPECT_FALSE(ArrangementSolver::Buildable(r));
    r = testing::CentredSquare();
    r[5] = At(1, 1, 0); // off the board
    EXPECT_FALSE(ArrangementSolver::Buildable(r));
}

TEST(ArrangementSolverTest, EmptyTargetHasNoArrangement)
{
    const auto r = ArrangementSolver().Solve(Grid{});
    EXPECT_EQ(r.solutions + r.traps, 0);
    EXPECT_FALSE(r.boundHit);
}

} // namespace
} // namespace zq
