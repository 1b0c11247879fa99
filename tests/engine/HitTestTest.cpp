// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardEngine.h"
#include "BoardFixtures.h"
#include "PointAngle.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace zq;
using zq::testing::At;

namespace {
constexpr long double pi = std::numbers::pi_v<long double>;

BoardEngine WithPiece(int x, int y, int o, int cell = 10)
{
    BoardEngine e;
    e.CellWidth = e.CellHeight = cell;
    e.Placements[1] = At(x, y, o);
    return e;
}
} // namespace

TEST(PointAngle, AxesAndQuadrants)
{
    EXPECT_EQ(PointAngle(0, 0), pi / 2);
    EXPECT_EQ(PointAngle(1, 0), 0);
    EXPECT_EQ(PointAngle(0, 1), 3 * pi / 2);
    EXPECT_EQ(PointAngle(0, -1), pi / 2);
    EXPECT_EQ(PointAngle(-1, 0), pi);
    EXPECT_NEAR(static_cast<double>(PointAngle(1, -1)), static_cast<double>(pi / 4), 1e-15);
    EXPECT_NEAR(static_cast<double>(PointAngle(-1, -1)), static_cast<double>(3 * pi / 4), 1e-15);
    EXPECT_NEAR(static_cast<double>(PointAngle(-1, 1)), static_cast<double>(5 * pi / 4), 1e-15);
    EXPECT_NEAR(static_cast<double>(PointAngle(1, 1)), static_cast<double>(7 * pi / 4), 1e-15);
    for (int dx = -5; dx <= 5; ++dx)
        for (int dy = -5; dy <= 5; ++dy) {
            const long double a = PointAngle(dx, dy);
            EXPECT_GE(a, 0);
            EXPECT_LT(a, 2 * pi);
        }
}

TEST(HitTest, ZonesOfAPieceWithTenPixelCells)
{
    const BoardEngine e = WithPiece(20, 20, 0);
    EXPECT_EQ(e.HitTestPiece(205, 205, 1), BoardEngine::MoveZone);
    EXPECT_EQ(e.HitTestPiece(225, 225, 1), BoardEngine::TurnZone);
    EXPECT_EQ(e.HitTestPiece(240, 200, 1), BoardEngine::Outside);
    EXPECT_EQ(e.HitTestPiece(150, 200, 1), BoardEngine::Outside);
    // Edges count as inside: the right leg at x = 230 and the bottom leg at y = 230.
    EXPECT_EQ(e.HitTestPiece(230, 180, 1), BoardEngine::TurnZone);
    EXPECT_EQ(e.HitTestPiece(180, 230, 1), BoardEngine::TurnZone);
    EXPECT_EQ(e.HitTestPiece(231, 180, 1), BoardEngine::Outside);
    // Vertex 0 itself: the zero vector points up, outside the acute wedge.
    EXPECT_EQ(e.HitTestPiece(130, 230, 1), BoardEngine::Outside);
}

TEST(HitTest, EveryOrientationHitsItsCentroidAndMissesFarAway)
{
    for (int o = 0; o < 16; ++o) {
        const BoardEngine e = WithPiece(45, 30, o, 8);
        EXPECT_EQ(e.HitTestPiece(45 * 8, 30 * 8, 1), BoardEngine::MoveZone) << o;
        EXPECT_EQ(e.HitTestPiece(45 * 8 + 200, 30 * 8, 1), BoardEngine::Outside) << o;
    }
}

TEST(HitTest, AngleStepRoundsHalvesToEven)
{
    const BoardEngine e = WithPiece(20, 20, 0);
    EXPECT_EQ(e.AngleStep(300, 200, 1), 0);  // right
    EXPECT_EQ(e.AngleStep(200, 100, 1), 4);  // up
    EXPECT_EQ(e.AngleStep(100, 200, 1), 8);  // left
    EXPECT_EQ(e.AngleStep(200, 300, 1), 12); // down
    EXPECT_EQ(e.AngleStep(300, 201, 1), 16); // just below the right-hand axis
}
