// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoardEngine.h"
#include "BoardFixtures.h"
#include "engine/PointAngle.h"

#include <gtest/gtest.h>

#include <cmath>
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
    // Off the diagonals, so that a swapped quotient shows: a vector two across
    // and one up lies atan(1/2) above the right-hand axis, and its mirror
    // images lie as far from the left-hand axis or below.
    const long double t = std::atan(0.5L);
    const struct {
        int dx, dy;
        long double angle;
    } quadrants[] = {{2, -1, t}, {1, -2, pi / 2 - t}, {-2, -1, pi - t}, {-1, -2, pi / 2 + t},
                     {-2, 1, pi + t}, {-1, 2, 3 * pi / 2 - t}, {2, 1, 2 * pi - t}, {1, 2, 3 * pi / 2 + t}};
    for (const auto& q : quadrants)
        EXPECT_NEAR(static_cast<double>(PointAngle(q.dx, q.dy)), static_cast<double>(q.angle), 1e-12)
            << q.dx << "," << q.dy;
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
    // On the hypotenuse x + y = 360, still within the move circle (28.3 pixels).
    EXPECT_EQ(e.HitTestPiece(180, 180, 1), BoardEngine::MoveZone);
    EXPECT_EQ(e.HitTestPiece(179, 180, 1), BoardEngine::Outside);
    // Vertex 0 itself: the zero vector points up, outside the acute wedge.
    EXPECT_EQ(e.HitTestPiece(130, 230, 1), BoardEngine::Outside);
}

TEST(HitTest, MoveZoneIsTheOpenCircleOfThreeCells)
{
    // Reference point (200, 200), radius 30 pixels. Points inside the triangle
    // whose squared distance is 898 (just inside), 900 (on the circle, which
    // belongs to the turn zone) and 901 (just outside), in several directions.
    const BoardEngine e = WithPiece(20, 20, 0);
    const struct {
        int dx, dy, zone;
    } points[] = {
        {13, 27, BoardEngine::MoveZone}, {27, 13, BoardEngine::MoveZone}, {-13, 27, BoardEngine::MoveZone},
        {18, 24, BoardEngine::TurnZone}, {24, 18, BoardEngine::TurnZone}, {-18, 24, BoardEngine::TurnZone},
        {24, -18, BoardEngine::TurnZone}, {0, 30, BoardEngine::TurnZone}, {0, 29, BoardEngine::MoveZone},
        {15, 26, BoardEngine::TurnZone}, {26, 15, BoardEngine::TurnZone}, {26, -15, BoardEngine::TurnZone},
    };
    for (const auto& p : points)
        EXPECT_EQ(e.HitTestPiece(200 + p.dx, 200 + p.dy, 1), p.zone) << p.dx << "," << p.dy;
    // With 7-pixel cells the radius is 21: (14, 15) lies at 20.5, (15, 15) at 21.2.
    const BoardEngine small = WithPiece(20, 20, 0, 7);
    EXPECT_EQ(small.HitTestPiece(140 + 14, 140 + 15, 1), BoardEngine::MoveZone);
    EXPECT_EQ(small.HitTestPiece(140 + 15, 140 + 15, 1), BoardEngine::TurnZone);
}

TEST(HitTest, EveryOrientationHitsItsCentroidAndMissesFarAway)
{
    for (int o = 0; o < 16; ++o) {
        const BoardEngine e = WithPiece(45, 30, o, 8);
        EXPECT_EQ(e.HitTestPiece(45 * 8, 30 * 8, 1), BoardEngine::MoveZone) << o;
        EXPECT_EQ(e.HitTestPiece(45 * 8 + 200, 30 * 8, 1), BoardEngine::Outside) << o;
    }
}

TEST(HitTest, AngleStepRoundsToTheNearestSixteenth)
{
    const BoardEngine e = WithPiece(20, 20, 0);
    // Half a step is 11.25 degrees, tan = 0.19891: 198 up over 1000 lies just
    // below it, 199 up just above.
    EXPECT_EQ(e.AngleStep(1200, 200 - 198, 1), 0);
    EXPECT_EQ(e.AngleStep(1200, 200 - 199, 1), 1);
    EXPECT_EQ(e.AngleStep(300, 200, 1), 0);  // right
    EXPECT_EQ(e.AngleStep(200, 100, 1), 4);  // up
    EXPECT_EQ(e.AngleStep(100, 200, 1), 8);  // left
    EXPECT_EQ(e.AngleStep(200, 300, 1), 12); // down
    EXPECT_EQ(e.AngleStep(300, 201, 1), 16); // just below the right-hand axis
}
