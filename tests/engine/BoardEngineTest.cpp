// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoardEngine.h"
#include "BoardFixtures.h"
#include "engine/Geometry.h"

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

TEST(Fits, InBoundsExactlyWhenEveryCoveredCellIsOnTheGrid)
{
    // The expectation comes from the masks alone, not from the bounds tables;
    // on an empty board the fit test must answer the same.
    const BoardEngine e;
    for (int o = 0; o < 16; ++o)
        for (int x = -10; x <= 100; ++x)
            for (int y = -10; y <= 70; ++y) {
                bool onGrid = true;
                for (int dx = -7; dx <= 6; ++dx)
                    for (int dy = -7; dy <= 6; ++dy)
                        if (MaskAt(Orientation(o), dx, dy) != 0 &&
                            (x + dx < 0 || x + dx > 90 || y + dy < 0 || y + dy > 60))
                            onGrid = false;
                ASSERT_EQ(BoardEngine::PieceInBounds(x, y, Orientation(o)), onGrid) << x << "," << y << "," << o;
                ASSERT_EQ(e.PieceFits(x, y, Orientation(o)), onGrid) << x << "," << y << "," << o;
            }
}

TEST(Fits, StampingAddsTheMasksAndUnstampingRestoresACrowdedBoard)
{
    BoardEngine e;
    e.Placements = zq::testing::Skewed();
    for (int j = 1; j <= 8; ++j)
        e.StampPiece(j);
    EXPECT_EQ(e.Board, zq::testing::MasksOf(e.Placements));
    EXPECT_EQ(zq::testing::Total(e.Board), 23028);
    e.UnstampPiece(8);
    const Grid before = e.Board;
    for (int o = 0; o < 16; ++o) {
        e.Placements[8] = At(40, 20, o); // over pieces 3 to 5
        e.StampPiece(8);
        EXPECT_NE(e.Board, before);
        e.UnstampPiece(8);
        EXPECT_EQ(e.Board, before) << "orientation " << o;
    }
}

TEST(Fits, PairsAreReadWithTheBoardValueFirst)
{
    using zq::testing::Skewed;
    const auto fitsAfter = [](const PuzzleRecord& q, std::initializer_list<int> stamped, int j) {
        BoardEngine e;
        e.Placements = q;
        for (int s : stamped)
            e.StampPiece(s);
        return std::pair{e.PieceFits(q[j].x, q[j].y, q[j].o), e.PieceFitsLinear(q[j].x, q[j].y, q[j].o)};
    };
    const auto yes = std::pair(true, true), no = std::pair(false, false);
    // (2, 38) and (24, 17) are pairs; (38, 2) is not.
    EXPECT_EQ(fitsAfter(Skewed(), {1}, 2), yes);
    EXPECT_EQ(fitsAfter(Skewed(), {2}, 1), no);
    // Three pieces in one cell: 11 + 2 = 13 on the board meets 51; (51, 13) is no pair.
    EXPECT_EQ(fitsAfter(Skewed(), {3, 4}, 5), yes);
    // The same wherever the group lies.
    EXPECT_EQ(fitsAfter(Skewed(-13, 9), {1}, 2), yes);
    EXPECT_EQ(fitsAfter(Skewed(12, -6), {2}, 1), no);
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
    e.Placements = zq::testing::Skewed();
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
    // A damaged data file can hold any bytes; stamping must stay inside the
    // grid (the target grid lies right behind the board) and unstamping must
    // still restore it.
    BoardEngine e;
    const PiecePlacement bad[] = {At(0, 0, 8), At(90, 60, 8), At(90, 30, 3), At(30, 60, 5),
                                  At(255, 255, 3), At(2, 59, 13), At(89, 58, 0)};
    for (const PiecePlacement& p : bad) {
        e.Placements[1] = p;
        e.StampPiece(1);
        Grid expected;
        zq::testing::AddMask(expected, p);
        EXPECT_EQ(e.Board, expected) << int(p.x) << "," << int(p.y) << "," << p.o.value();
        EXPECT_EQ(e.TargetGrid, Grid{});
        e.UnstampPiece(1);
        EXPECT_EQ(e.Board, Grid{});
    }
    // Only the corner of orientation 8 with dx, dy >= 0 lies on the grid.
    e.Placements[1] = At(0, 0, 8);
    e.StampPiece(1);
    EXPECT_EQ(e.Board.at(0, 0), 64);
    EXPECT_EQ(e.Board.at(3, 0), 35);
    EXPECT_EQ(e.Board.at(4, 0), 0);
}
