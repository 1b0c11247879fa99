// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoardEngine.h"
#include "BoardFixtures.h"
#include "engine/Geometry.h"

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
        lib[2] = Skewed();
    }

    static PiecePlacement Parked(int j, int o)
    {
        return At(j % 2 ? 9 : 81, (j - 1) / 2 * 15 + 8, o);
    }

    // Lays the pieces at r and asks the solve test.
    bool Built(const PuzzleRecord& r)
    {
        e.Board = Grid{};
        e.Placements = r;
        for (int j = 1; j <= 8; ++j)
            e.StampPiece(j);
        return e.CheckSolved();
    }

    bool WithBoard(const Grid& g)
    {
        e.Board = g;
        return e.CheckSolved();
    }
};
} // namespace

TEST_F(SetupFixture, UntouchedQuarvelParksEveryPieceAndStartsAFreshGame)
{
    // Whatever the board was doing before (a solve, a reveal, a lifted piece,
    // another Quarvel's anchor), the set-up starts over.
    for (std::uint8_t before : {BoardEngine::Solved, BoardEngine::Revealed}) {
        e.PlayState = before;
        e.SelectedPiece = 5;
        e.TargetAnchorX = 77;
        e.TargetAnchorY = 44;
        EXPECT_TRUE(e.SetupPuzzle(lib, 2, 0, std::ref(random)));
        EXPECT_EQ(lib[0], lib[2]);
        for (int j = 1; j <= 8; ++j)
            EXPECT_EQ(e.Placements[j], Parked(j, random.values[static_cast<std::size_t>(j - 1)])) << "piece " << j;
        EXPECT_EQ(e.Board, MasksOf(e.Placements));
        EXPECT_EQ(e.TargetGrid, MasksOf(Skewed()));
        EXPECT_EQ(Total(e.TargetGrid), 23028);
        EXPECT_EQ(e.SelectedPiece, 0);
        EXPECT_EQ(e.PlayState, BoardEngine::Playing);
        // The first covered cell row by row, not column by column (13, 20).
        EXPECT_EQ(e.TargetAnchorX, 29);
        EXPECT_EQ(e.TargetAnchorY, 6);
    }
}

TEST_F(SetupFixture, HelpLevelLaysPiecesInTheirPlacesUnlessFinished)
{
    EXPECT_TRUE(e.SetupPuzzle(lib, 2, 3, std::ref(random)));
    for (int j = 1; j <= 6; ++j)
        EXPECT_EQ(e.Placements[j], lib[2][j]);
    EXPECT_EQ(e.Placements[7], Parked(7, random.values[6]));
    EXPECT_EQ(e.Placements[8], Parked(8, random.values[7]));
    EXPECT_EQ(e.Board, MasksOf(e.Placements));

    for (std::uint8_t finished : {8, 9, 10, 11, 12, 15}) {
        EXPECT_FALSE(e.SetupPuzzle(lib, 2, finished, std::ref(random))) << int(finished);
        for (int j = 1; j <= 8; ++j)
            EXPECT_EQ(e.Placements[j].x, j % 2 ? 9 : 81) << int(finished);
        EXPECT_EQ(e.Board, MasksOf(e.Placements));
    }
}

TEST_F(SetupFixture, DamagedHelpLevelsLayNoMoreThanEightPieces)
{
    for (std::uint8_t level : {4, 5, 6, 7}) {
        EXPECT_TRUE(e.SetupPuzzle(lib, 2, level, std::ref(random)));
        EXPECT_EQ(e.Placements, lib[2]) << int(level);
        EXPECT_EQ(e.Board, e.TargetGrid);
        EXPECT_TRUE(e.CheckSolved());
    }
}

TEST_F(SetupFixture, BrokenRandomSourceCannotHangTheSetup)
{
    // Parking never refuses an orientation, but nothing may spin forever if it did.
    e.SetupPuzzle(lib, 1, 0, [] { return 200; });
    EXPECT_EQ(e.Placements[1].o.value(), 200 & 15);
}

TEST_F(SetupFixture, SolvedWhereverTheSilhouetteIsBuiltAsAWhole)
{
    // Targets at home and in two opposite corners of the grid, each built at
    // home, shifted both ways and in both corners.
    const int shifts[][2] = {{0, 0}, {7, 4}, {-9, 5}, {12, 9}, {-13, -6}};
    for (const int* t : {shifts[0], shifts[3], shifts[4]}) {
        lib[2] = Skewed(t[0], t[1]);
        e.SetupPuzzle(lib, 2, 0, std::ref(random));
        EXPECT_FALSE(e.CheckSolved()) << "parked pieces";
        for (const auto& b : shifts)
            EXPECT_TRUE(Built(Skewed(b[0], b[1]))) << "target " << t[0] << "," << t[1] << " board " << b[0] << "," << b[1];
    }
    // Which piece lies where does not matter.
    PuzzleRecord swapped = Skewed(5, 3);
    std::swap(swapped[1], swapped[6]);
    std::swap(swapped[2], swapped[8]);
    EXPECT_TRUE(Built(swapped));
}

TEST_F(SetupFixture, AlmostRightBoardsAreNotSolved)
{
    e.SetupPuzzle(lib, 2, 0, std::ref(random)); // the target at home, anchor (29, 6)
    const Grid target = MasksOf(Skewed());

    PuzzleRecord nudged = Skewed();
    nudged[6].x = static_cast<std::uint8_t>(nudged[6].x + 1);
    EXPECT_FALSE(Built(nudged));
    PuzzleRecord turned = Skewed();
    turned[8].o = turned[8].o + 1;
    EXPECT_FALSE(Built(turned));

    // Grids edited cell by cell. (14, 21) holds 39, cut by an edge, and is not
    // the anchor (29, 6).
    const auto edited = [&](int sx, int sy, int x, int y, int value) {
        Grid g = Shifted(target, sx, sy);
        if (x >= 0)
            g.at(x, y) = static_cast<std::uint8_t>(value);
        return g;
    };
    const struct {
        const char* what;
        Grid board;
    } cases[] = {
        {"a partial cell below its target", edited(6, 2, 14 + 6, 21 + 2, 38)},
        {"a partial cell above its target", edited(6, 2, 14 + 6, 21 + 2, 40)},
        {"the anchor's cell missing", edited(6, 2, 29 + 6, 6 + 2, 0)},
        {"an extra cell in the last column and row", edited(3, 4, 90, 60, 7)},
        // Extra cells whose place in the target would lie off the grid.
        {"an extra cell left of the target's grid", edited(12, 9, 5, 30, 64)},
        {"an extra cell right of the target's grid", edited(-13, -6, 80, 30, 64)},
        {"an extra cell below the target's grid", edited(-13, -6, 40, 58, 64)},
        {"no piece at all", Grid{}},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(WithBoard(c.board)) << c.what;
    EXPECT_TRUE(WithBoard(edited(6, 2, -1, 0, 0))) << "the unedited grid";
}

TEST_F(SetupFixture, EmptyTargetAnchorsAtTheOrigin)
{
    // A target whose every piece lies off the grid clips to nothing.
    e.SetupPuzzle(lib, 2, 0, std::ref(random));
    for (int j = 1; j <= 8; ++j)
        lib[1][j] = At(250, 250, 0);
    e.SetupPuzzle(lib, 1, 0, std::ref(random));
    EXPECT_EQ(e.TargetGrid, Grid{});
    EXPECT_EQ(e.TargetAnchorX, 0);
    EXPECT_EQ(e.TargetAnchorY, 0);
}
