// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardEngine.h"
#include "BoardFixtures.h"
#include "Geometry.h"

#include <gtest/gtest.h>

using namespace zq;
using zq::testing::At;

TEST(Bounds, OrientationZeroEdgesOfTheGrid)
{
    EXPECT_TRUE(BoardEngine::PieceInBounds(7, 7, Orientation(0)));
    EXPECT_TRUE(BoardEngine::PieceInBounds(88, 58, Orientation(0)));
    EXPECT_FALSE(BoardEngine::PieceInBounds(6, 7, Orientation(0)));
    EXPECT_FALSE(BoardEngine::PieceInBounds(89, 58, Orientation(0)));
    EXPECT_FALSE(BoardEngine::PieceInBounds(88, 59, Orientation(0)));
    EXPECT_FALSE(BoardEngine::PieceInBounds(-1000, 30, Orientation(0)));
}

TEST(Fits, OnAnEmptyBoardFitEqualsBounds)
{
    const BoardEngine e;
    for (int o = 0; o < 16; ++o)
        for (int x = -10; x <= 100; ++x)
            for (int y = -10; y <= 70; ++y)
                ASSERT_EQ(e.PieceFits(x, y, Orientation(o)), BoardEngine::PieceInBounds(x, y, Orientation(o)))
                    << x << "," << y << "," << o;
}

TEST(Fits, StampThenUnstampRestoresACrowdedBoard)
{
    BoardEngine e;
    e.Placements = zq::testing::SquareOfSquares();
    for (int j = 1; j <= 7; ++j)
        e.StampPiece(j);
    const Grid before = e.Board;
    for (int o = 0; o < 16; ++o) {
        e.Placements[8] = At(30, 31, o);
        e.StampPiece(8);
        EXPECT_NE(e.Board, before);
        e.UnstampPiece(8);
        EXPECT_EQ(e.Board, before) << "orientation " << o;
    }
}

TEST(Fits, IdenticalPieceNeverFitsOnItself)
{
    for (int o = 0; o < 16; ++o) {
        BoardEngine e;
        e.Placements[1] = At(40, 30, o);
        e.StampPiece(1);
        EXPECT_FALSE(e.PieceFits(40, 30, Orientation(o))) << "orientation " << o;
        EXPECT_FALSE(e.PieceFitsLinear(40, 30, Orientation(o)));
    }
}

TEST(Fits, TwoHalvesFillASquareInEitherOrder)
{
    for (int first = 0; first < 2; ++first) {
        BoardEngine e;
        e.Placements[1] = At(27, 27, 0);
        e.Placements[2] = At(23, 23, 8);
        const int a = first == 0 ? 1 : 2, b = 3 - a;
        e.StampPiece(a);
        ASSERT_TRUE(e.PieceFits(e.Placements[b].x, e.Placements[b].y, e.Placements[b].o));
        e.StampPiece(b);
        int covered = 0;
        for (int x = 0; x < BoardWidth; ++x)
            for (int y = 0; y < BoardHeight; ++y)
                if (e.Board.at(x, y) != 0) {
                    ++covered;
                    EXPECT_EQ(e.Board.at(x, y), 64) << x << "," << y;
                    EXPECT_TRUE(x >= 20 && x <= 29 && y >= 20 && y <= 29);
                }
        EXPECT_EQ(covered, 100);
    }
}

TEST(Fits, RefusesAtTheFirstBadCellAndAgreesWithTheLinearSearch)
{
    // Every placement of a ninth piece against a crowded board: both pair tests must agree.
    BoardEngine e;
    e.Placements = zq::testing::SquareOfSquares();
    for (int j = 1; j <= 8; ++j)
        e.StampPiece(j);
    int fits = 0;
    for (int o = 0; o < 16; ++o)
        for (int x = 0; x < BoardWidth; ++x)
            for (int y = 0; y < BoardHeight; ++y) {
                const bool fast = e.PieceFits(x, y, Orientation(o));
                ASSERT_EQ(fast, e.PieceFitsLinear(x, y, Orientation(o))) << x << "," << y << "," << o;
                fits += fast;
            }
    EXPECT_GT(fits, 0);
}

TEST(Stamp, PlacementsLeavingTheGridAreClippedNotWrittenOutside)
{
    // A damaged data file can hold any bytes; stamping must stay inside the grid
    // and unstamping must still restore it.
    BoardEngine e;
    const PiecePlacement bad[] = {At(0, 0, 0), At(90, 60, 8), At(255, 255, 3), At(2, 59, 13)};
    for (const PiecePlacement& p : bad) {
        e.Placements[1] = p;
        e.StampPiece(1);
        e.UnstampPiece(1);
        EXPECT_EQ(e.Board, Grid{});
    }
    e.Placements[1] = At(0, 0, 8); // only its corner with dx, dy >= 0 lies on the grid
    e.StampPiece(1);
    EXPECT_EQ(e.Board.at(0, 0), 64);
    EXPECT_EQ(e.Board.at(3, 0), 35);
    EXPECT_EQ(e.Board.at(4, 0), 0);
}
