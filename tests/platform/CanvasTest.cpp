// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"
#include "Geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

using namespace zq;

namespace {
std::array<CanvasPoint, 4> Outline(int x, int y, int o, int cell)
{
    std::array<CanvasPoint, 4> pts;
    for (int k = 0; k < 3; ++k)
        pts[static_cast<std::size_t>(k)] = {(x + VertexX[static_cast<std::size_t>(k)][static_cast<std::size_t>(o)]) * cell,
                                            (y + VertexY[static_cast<std::size_t>(k)][static_cast<std::size_t>(o)]) * cell};
    pts[3] = pts[0];
    return pts;
}

std::set<std::pair<int, int>> Differing(const Canvas& a, const Canvas& b)
{
    std::set<std::pair<int, int>> d;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                d.insert({x, y});
    return d;
}

Canvas Silver(int w, int h, int scale = 1)
{
    Canvas c(w, h, scale);
    c.BrushColour = clSilver;
    c.FillRect(0, 0, w, h);
    return c;
}
} // namespace

TEST(Canvas, XorOutlineHasNoGapAndVanishesWhenDrawnTwiceInEveryOrientation)
{
    for (int scale : {1, 2})
        for (int cell : {1, 3, 7, 10, 23})
            for (int o = 0; o < 16; ++o) {
                const auto pts = Outline(9, 9, o, cell);
                Canvas copy = Silver(19 * cell, 19 * cell, scale);
                const Canvas before = copy;
                copy.PenColour = clBlack;
                copy.Polyline(pts);
                Canvas xored = before;
                xored.PenColour = clYellow;
                xored.PenMode_ = Canvas::PenMode::Xor;
                xored.Polyline(pts);
                // Every pixel that the outline covers must show: none was toggled back.
                EXPECT_EQ(Differing(xored, before), Differing(copy, before)) << "cell " << cell << " o " << o;
                xored.Polyline(pts);
                EXPECT_TRUE(Differing(xored, before).empty()) << "cell " << cell << " o " << o;
            }
}

TEST(Canvas, ClosedOutlineIsAConnectedRingThroughAllThreeCorners)
{
    for (int o = 0; o < 16; ++o) {
        const auto pts = Outline(9, 9, o, 10);
        Canvas c = Silver(190, 190);
        const Canvas before = c;
        c.PenColour = clBlack;
        c.Polyline(pts);
        const auto ring = Differing(c, before);
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(ring.count({pts[static_cast<std::size_t>(k)].x, pts[static_cast<std::size_t>(k)].y})) << o;
        // Every ring pixel but a sharp tip has two 8-neighbours on the ring: no break.
        for (auto [x, y] : ring) {
            int n = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    n += (dx || dy) && ring.count({x + dx, y + dy});
            bool corner = false;
            for (int k = 0; k < 3; ++k)
                corner |= pts[static_cast<std::size_t>(k)].x == x && pts[static_cast<std::size_t>(k)].y == y;
            EXPECT_GE(n, corner ? 1 : 2) << "orientation " << o << " at " << x << "," << y;
        }
    }
}

TEST(Canvas, FilledTriangleWithSilverPenAndBrushErasesWhatWasDrawn)
{
    for (int o = 0; o < 16; ++o) {
        const auto pts = Outline(20, 20, o, 7);
        Canvas c = Silver(300, 300);
        const Canvas before = c;
        c.PenColour = clGrey;
        c.BrushColour = clBlack;
        c.Polygon(std::span(pts.data(), 3));
        EXPECT_FALSE(Differing(c, before).empty());
        // The yellow XOR outline lies only on pixels of the drawn piece.
        Canvas x = c;
        x.PenColour = clYellow;
        x.PenMode_ = Canvas::PenMode::Xor;
        x.Polyline(pts);
        for (auto [px, py] : Differing(x, c))
            EXPECT_NE(c.Pixel(px, py), clSilver) << o;
        c.PenColour = clSilver;
        c.BrushColour = clSilver;
        c.Polygon(std::span(pts.data(), 3));
        EXPECT_TRUE(Differing(c, before).empty()) << "orientation " << o;
    }
}

TEST(Canvas, RectanglesFollowTheExclusiveEdgeRules)
{
    Canvas c = Silver(40, 40);
    c.PenColour = clBlack;
    c.BrushColour = clGreen;
    c.Rectangle(5, 5, 15, 12);
    EXPECT_EQ(c.Pixel(5, 5), clBlack);
    EXPECT_EQ(c.Pixel(14, 11), clBlack);
    EXPECT_EQ(c.Pixel(15, 11), clSilver);
    EXPECT_EQ(c.Pixel(14, 12), clSilver);
    EXPECT_EQ(c.Pixel(6, 6), clGreen);
    // Without a pen the fill stops one pixel short at the right and bottom.
    c.PenVisible = false;
    c.BrushColour = clRed;
    c.Rectangle(20, 20, 30, 25);
    EXPECT_EQ(c.Pixel(20, 20), clRed);
    EXPECT_EQ(c.Pixel(28, 23), clRed);
    EXPECT_EQ(c.Pixel(29, 23), clSilver);
    EXPECT_EQ(c.Pixel(28, 24), clSilver);
    // A 3-pixel pen straddles the 1-pixel frame.
    Canvas t = Silver(40, 40);
    t.PenColour = clBlack;
    t.PenWidth = 3;
    t.BrushSolid = false;
    t.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(t.Pixel(9, 20), clBlack);
    EXPECT_EQ(t.Pixel(11, 20), clBlack);
    EXPECT_EQ(t.Pixel(12, 20), clSilver);
    EXPECT_EQ(t.Pixel(8, 20), clSilver);
    EXPECT_EQ(t.Pixel(30, 30), clBlack);
    EXPECT_EQ(t.Pixel(20, 20), clSilver);
}

TEST(Canvas, ColourValuesAreBlueGreenRed)
{
    EXPECT_EQ(ToQRgb(clRed), 0xFFFF0000u);
    EXPECT_EQ(ToQRgb(clYellow), 0xFFFFFF00u);
    EXPECT_EQ(FromQRgb(0xFF00FF00u), clGreen);
    Canvas c = Silver(4, 4, 2);
    EXPECT_EQ(c.Image().width(), 8);
    EXPECT_EQ(c.Pixel(3, 3), clSilver);
}
