// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/Silhouette.h"

#include "tests/engine/figures/QuarvelFixtures.h"

#include <gtest/gtest.h>


namespace zq {
namespace {

TEST(SilhouetteTest, SquareMeasures)
{
    const Silhouette s(testing::CentredSquare());
    EXPECT_EQ(s.CellCount(), 400);
    EXPECT_EQ(s.MinX(), 35);
    EXPECT_EQ(s.MaxX(), 54);
    EXPECT_EQ(s.Width(), 20);
    EXPECT_EQ(s.Height(), 20);
    EXPECT_EQ(s.Perimeter(), 80);
    EXPECT_DOUBLE_EQ(s.Irregularity(), 1.0);
    EXPECT_TRUE(s.Connected());
    EXPECT_EQ(Silhouette::OrientationClass(testing::CentredSquare()), 0);
    EXPECT_EQ(Silhouette::OrientationClass(testing::TiltedSquares()), 2);
}

TEST(SilhouetteTest, TranslationKeyComparesValuesNotPlaces)
{
    const std::string key = Silhouette(testing::CentredSquare()).TranslationKey();
    EXPECT_EQ(Silhouette(testing::CentredSquare(5, -3)).TranslationKey(), key);
    // The other diagonals give 34 + 30 where the first give 29 + 35: the same 64s.
    PuzzleRecord other;
    int j = 1;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            const int l = 35 + 10 * sx, t = 20 + 10 * sy;
            other[j++] = testing::At(l + 3, t + 7, 4);
            other[j++] = testing::At(l + 7, t + 3, 12);
        }
    EXPECT_EQ(Silhouette(other).TranslationKey(), key);
    // Turning one piece changes the silhouette.
    PuzzleRecord bumped = testing::CentredSquare();
    bumped[8] = testing::At(bumped[8].x, bumped[8].y, 12);
    EXPECT_NE(Silhouette(bumped).TranslationKey(), key);
}

} // namespace
} // namespace zq
