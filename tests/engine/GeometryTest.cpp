// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Geometry.h"

#include <gtest/gtest.h>

using namespace zq;

namespace {
struct Extent {
    int minX = 99, minY = 99, maxX = -99, maxY = -99;
};

Extent MaskExtent(Orientation o)
{
    Extent e;
    for (int dx = -7; dx <= 6; ++dx)
        for (int dy = -7; dy <= 6; ++dy)
            if (MaskAt(o, dx, dy) != 0) {
                e.minX = std::min(e.minX, dx);
                e.maxX = std::max(e.maxX, dx);
                e.minY = std::min(e.minY, dy);
                e.maxY = std::max(e.maxY, dy);
            }
    return e;
}

int Vx(int k, int o) { return VertexX[static_cast<std::size_t>(k)][static_cast<std::size_t>(o)]; }
int Vy(int k, int o) { return VertexY[static_cast<std::size_t>(k)][static_cast<std::size_t>(o)]; }
} // namespace

TEST(Geometry, MaskNonZeroExtentEqualsBoundsInEveryOrientation)
{
    for (int o = 0; o < 16; ++o) {
        const Extent e = MaskExtent(Orientation(o));
        const auto i = static_cast<std::size_t>(o);
        EXPECT_EQ(e.minX, BoundsMinX[i]) << "orientation " << o;
        EXPECT_EQ(e.minY, BoundsMinY[i]) << "orientation " << o;
        EXPECT_EQ(e.maxX, BoundsMaxX[i]) << "orientation " << o;
        EXPECT_EQ(e.maxY, BoundsMaxY[i]) << "orientation " << o;
    }
}

TEST(Geometry, OrientationZeroMaskIsTheListedTriangle)
{
    // Full cells hold 64, the hypotenuse cells 29, nothing outside columns -7..2 and rows -7..2.
    const Orientation o(0);
    int full = 0, edge = 0;
    for (int dx = -7; dx <= 6; ++dx)
        for (int dy = -7; dy <= 6; ++dy) {
            const int v = MaskAt(o, dx, dy);
            if (dx > 2 || dy > 2) {
                EXPECT_EQ(v, 0);
            }
            if (v == 64)
                ++full;
            if (v == 29) {
                ++edge;
                EXPECT_EQ(dx + dy, -5) << dx << "," << dy;
            }
        }
    EXPECT_EQ(full, 45);
    EXPECT_EQ(edge, 10);
    // The two values that the tables call out as not being exact areas.
    EXPECT_EQ(MaskAt(Orientation(1), 0, 0), 60);
    EXPECT_EQ(MaskAt(Orientation(8), 6, -3), 35);
}

TEST(Geometry, VerticesTurnByQuarterAndHalfTurns)
{
    for (int o = 0; o < 16; ++o)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(Vx(k, (o + 4) % 16), -Vy(k, o)) << o << "/" << k;
            EXPECT_EQ(Vy(k, (o + 4) % 16), Vx(k, o)) << o << "/" << k;
            EXPECT_EQ(Vx(k, (o + 8) % 16), -Vx(k, o)) << o << "/" << k;
            EXPECT_EQ(Vy(k, (o + 8) % 16), -Vy(k, o)) << o << "/" << k;
        }
}

TEST(Geometry, RightAngleAtVertexOneWithEqualLegsCounterClockwise)
{
    for (int o = 0; o < 16; ++o) {
        const int ax = Vx(0, o) - Vx(1, o), ay = Vy(0, o) - Vy(1, o);
        const int bx = Vx(2, o) - Vx(1, o), by = Vy(2, o) - Vy(1, o);
        EXPECT_EQ(ax * bx + ay * by, 0) << "orientation " << o;
        const int len = ax * ax + ay * ay;
        EXPECT_EQ(len, bx * bx + by * by);
        EXPECT_EQ(len, o % 4 == 0 ? 100 : o % 2 == 0 ? 98 : 90) << "orientation " << o;
        // Counter-clockwise on a screen whose y grows downward: the cross product of
        // (v1 - v0) and (v2 - v0) is negative.
        const int cx = Vx(1, o) - Vx(0, o), cy = Vy(1, o) - Vy(0, o);
        const int dx = Vx(2, o) - Vx(0, o), dy = Vy(2, o) - Vy(0, o);
        EXPECT_LT(cx * dy - cy * dx, 0) << "orientation " << o;
        // The centroid stays within a third of a cell of the reference point.
        EXPECT_LE(std::abs(Vx(0, o) + Vx(1, o) + Vx(2, o)), 1);
        EXPECT_LE(std::abs(Vy(0, o) + Vy(1, o) + Vy(2, o)), 1);
    }
}

TEST(Geometry, MasksAndPairListMatchTheFigures)
{
    // Worked out once from the listed mask rows, not from this program: per
    // orientation the number of covered cells, the total coverage and its
    // first moments (sum of value * dx and of value * dy). One changed value
    // moves the total; two swapped or transposed values move a moment.
    const struct {
        int cells, total, momentX, momentY;
    } expected[16] = {
        {55, 3170, -2645, -2645}, {60, 2879, -1496, -1480}, {56, 3143, -1449, -441}, {60, 2877, -1633, -1516},
        {55, 3220, -450, -2770},  {60, 2889, -1514, -1388}, {56, 3101, -2618, -1526}, {60, 2937, -1478, -1483},
        {55, 3230, -435, -435},   {60, 2877, -1615, -1367}, {56, 3129, -1442, -2674}, {60, 2883, -1550, -1433},
        {55, 3180, -2670, -510},  {60, 2871, -1555, -1465}, {56, 3171, -413, -1561},  {60, 2823, -1471, -1364},
    };
    for (int o = 0; o < 16; ++o) {
        int cells = 0, total = 0, mx = 0, my = 0;
        for (int dx = -7; dx <= 6; ++dx)
            for (int dy = -7; dy <= 6; ++dy) {
                const int v = MaskAt(Orientation(o), dx, dy);
                cells += v != 0;
                total += v;
                mx += v * dx;
                my += v * dy;
            }
        const auto& e = expected[o];
        EXPECT_EQ(cells, e.cells) << "orientation " << o;
        EXPECT_EQ(total, e.total) << "orientation " << o;
        EXPECT_EQ(mx, e.momentX) << "orientation " << o;
        EXPECT_EQ(my, e.momentY) << "orientation " << o;
    }

    // 32-bit FNV-1a over the 600 bytes of the pair list in the listed order.
    std::uint32_t h = 2166136261U;
    for (std::uint8_t b : CompatiblePairs)
        h = (h ^ b) * 16777619U;
    EXPECT_EQ(h, 0x1beef8d4U);
}

TEST(Geometry, PairTestExamples)
{
    EXPECT_TRUE(PairAllowed(29, 35));
    EXPECT_TRUE(PairAllowed(35, 29));
    EXPECT_TRUE(PairAllowed(17, 54));
    EXPECT_TRUE(PairAllowed(63, 1));
    EXPECT_FALSE(PairAllowed(54, 17));
    EXPECT_FALSE(PairAllowed(1, 1));
    for (int v = 0; v < 256; ++v) {
        EXPECT_FALSE(PairAllowed(64, static_cast<std::uint8_t>(v)));
        EXPECT_FALSE(PairAllowed(static_cast<std::uint8_t>(v), 64));
    }
}

TEST(Geometry, FastPairLookupAnswersAsTheLinearSearchForEveryPair)
{
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(PairAllowed(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)),
                      PairAllowedLinear(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)))
                << a << "," << b;
}

TEST(Geometry, PairListSumsAndAsymmetry)
{
    int exact = 0, over = 0, oneWay = 0;
    for (int i = 0; i < PairCount; ++i) {
        const int a = CompatiblePairs[static_cast<std::size_t>(2 * i)];
        const int b = CompatiblePairs[static_cast<std::size_t>(2 * i + 1)];
        exact += a + b == 64;
        over += a + b > 64;
        oneWay += !PairAllowed(static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(a));
        EXPECT_FALSE(a >= 31 && a <= 33);
    }
    EXPECT_EQ(exact, 52);
    EXPECT_EQ(over, 3);
    EXPECT_EQ(oneWay, 18);
}
