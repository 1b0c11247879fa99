// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardEngine.h"
#include "BoardFixtures.h"
#include "Geometry.h"

#include <gtest/gtest.h>

using namespace zq;
using namespace zq::testing;

namespace {
struct SetupFixture : ::testing::Test {
    PuzzleLibrary lib;
    BoardEngine e;
    FixedOrientations random{{3, 14, 7, 0, 9, 5, 12, 1}};

    void SetUp() override
    {
        lib.PuzzleCount = 2;
        lib[1] = SquareOfSquares();
        lib[2] = SquareOfSquares(50, 30);
    }

    Grid SumOfMasks() const
    {
        Grid g;
        for (int j = 1; j <= 8; ++j)
            StampInto(g, e.Placements[j], 1);
        return g;
    }

    static PiecePlacement Parked(int j, int o)
    {
        return At(j % 2 ? 9 : 81, (j - 1) / 2 * 15 + 8, o);
    }
};
} // namespace

TEST_F(SetupFixture, UntouchedQuarvelParksEveryPieceInTheDrawnOrientation)
{
    EXPECT_TRUE(e.SetupPuzzle(lib, 2, 0, std::ref(random)));
    EXPECT_EQ(lib[0], lib[2]);
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(e.Placements[j], Parked(j, random.values[static_cast<std::size_t>(j - 1)])) << "piece " << j;
    EXPECT_EQ(e.Board, SumOfMasks());
    EXPECT_EQ(e.SelectedPiece, 0);
    EXPECT_EQ(e.PlayState, BoardEngine::Playing);
    // Anchor: the first covered cell in row order is the top row's leftmost one.
    EXPECT_EQ(e.TargetAnchorY, 30);
    EXPECT_EQ(e.TargetAnchorX, 50);
}

TEST_F(SetupFixture, HelpLevelLaysPiecesInTheirPlacesUnlessFinished)
{
    EXPECT_TRUE(e.SetupPuzzle(lib, 1, 3, std::ref(random)));
    for (int j = 1; j <= 6; ++j)
        EXPECT_EQ(e.Placements[j], lib[1][j]);
    EXPECT_EQ(e.Placements[7].x, 9);
    EXPECT_EQ(e.Placements[8].x, 81);
    EXPECT_EQ(e.Board, SumOfMasks());

    for (std::uint8_t finished : {8, 9, 10, 11, 12, 15}) {
        EXPECT_FALSE(e.SetupPuzzle(lib, 1, finished, std::ref(random))) << int(finished);
        for (int j = 1; j <= 8; ++j)
            EXPECT_EQ(e.Placements[j].x, j % 2 ? 9 : 81) << int(finished);
    }
}

TEST_F(SetupFixture, DamagedHelpLevelsLayNoMoreThanEightPieces)
{
    for (std::uint8_t level : {4, 5, 6, 7}) {
        EXPECT_TRUE(e.SetupPuzzle(lib, 1, level, std::ref(random)));
        EXPECT_EQ(e.Placements, lib[1]) << int(level);
        EXPECT_EQ(e.Board, e.TargetGrid);
    }
}

TEST_F(SetupFixture, BrokenRandomSourceCannotHangTheSetup)
{
    // Parking never refuses an orientation, but nothing may spin forever if it did.
    e.SetupPuzzle(lib, 1, 0, [] { return 200; });
    EXPECT_EQ(e.Placements[1].o.value(), 200 & 15);
}

TEST_F(SetupFixture, SolvedWhereverBuiltAndWhicheverPieceLiesWhere)
{
    e.SetupPuzzle(lib, 1, 0, std::ref(random));
    EXPECT_FALSE(e.CheckSolved());

    const auto build = [&](const PuzzleRecord& r) {
        e.Board = Grid{};
        e.Placements = r;
        for (int j = 1; j <= 8; ++j)
            e.StampPiece(j);
        return e.CheckSolved();
    };
    EXPECT_TRUE(build(SquareOfSquares()));
    EXPECT_TRUE(build(SquareOfSquares(3, 2)));
    EXPECT_TRUE(build(SquareOfSquares(71, 41))) << "touching column 90 and row 60";
    PuzzleRecord swapped = SquareOfSquares(40, 10);
    std::swap(swapped[1], swapped[3]);
    std::swap(swapped[2], swapped[8]);
    EXPECT_TRUE(build(swapped));
    // Other diagonals, other orientations: every cell still holds 64, and only values count.
    EXPECT_TRUE(build(SquareOfSquaresOtherDiagonal(60, 5)));
    PuzzleRecord oneOff = SquareOfSquares();
    oneOff[8].x = static_cast<std::uint8_t>(oneOff[8].x + 1);
    EXPECT_FALSE(build(oneOff));
    e.Board = Grid{};
    EXPECT_FALSE(e.CheckSolved()) << "an empty board is never solved";
}

TEST_F(SetupFixture, SilhouetteAtTheGridEdgeCanBeSolvedAndEmptyTargetAnchorsAtOrigin)
{
    lib[1] = SquareOfSquares(71, 41);
    e.SetupPuzzle(lib, 1, 0, std::ref(random));
    e.Board = Grid{};
    e.Placements = SquareOfSquares(30, 10);
    for (int j = 1; j <= 8; ++j)
        e.StampPiece(j);
    EXPECT_TRUE(e.CheckSolved());

    // A target whose every piece lies off the grid clips to nothing.
    for (int j = 1; j <= 8; ++j)
        lib[1][j] = At(250, 250, 0);
    e.SetupPuzzle(lib, 1, 0, std::ref(random));
    EXPECT_EQ(e.TargetGrid, Grid{});
    EXPECT_EQ(e.TargetAnchorX, 0);
    EXPECT_EQ(e.TargetAnchorY, 0);
}
