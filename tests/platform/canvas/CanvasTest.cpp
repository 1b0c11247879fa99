// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/CanvasHoles.h"
#include "platform/canvas/Canvas.h"
#include "engine/Geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

using namespace zq;
using zq::test::EnclosedSilver;

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

// Device pixels, so that a scale-2 picture is compared in full, not one pixel per block.
std::set<std::pair<int, int>> DeviceDiffering(const Canvas& a, const Canvas& b)
{
    std::set<std::pair<int, int>> d;
    for (int y = 0; y < a.Image().height(); ++y)
        for (int x = 0; x < a.Image().width(); ++x)
            if (a.Image().pixel(x, y) != b.Image().pixel(x, y))
                d.insert({x, y});
    return d;
}

// Distance from (px, py) to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
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
                // Every device pixel that the outline covers must show: none was toggled back.
                EXPECT_EQ(DeviceDiffering(xored, before), DeviceDiffering(copy, before)) << "cell " << cell << " o " << o;
                xored.Polyline(pts);
                EXPECT_TRUE(xored.Image() == before.Image()) << "scale " << scale << " cell " << cell << " o " << o;
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

TEST(Canvas, OutlineHugsItsEdgeAndClosesOverTheFillAtBothScales)
{
    // A piece as the board draws it: grey pen, black brush.
    for (int scale : {1, 2})
        for (int cell : {1, 2, 10})
            for (int o = 0; o < 16; ++o) {
                const auto pts = Outline(9, 9, o, cell);
                Canvas c = Silver(19 * cell, 19 * cell, scale);
                c.PenColour = clGrey;
                c.BrushColour = clBlack;
                c.Polygon(std::span(pts.data(), 3));
                const QImage& im = c.Image();
                // A vertex stands for the middle of its logical pixel.
                const auto at = [&](int k, bool y) {
                    return (y ? pts[static_cast<std::size_t>(k)].y : pts[static_cast<std::size_t>(k)].x) * scale + scale / 2.0;
                };
                double worst = 0;
                int pokes = 0;
                for (int y = 0; y < im.height(); ++y)
                    for (int x = 0; x < im.width(); ++x) {
                        const QRgb px = im.pixel(x, y);
                        if (px == ToQRgb(clGrey)) {
                            double d = 1e9;
                            for (int k = 0; k < 3; ++k)
                                d = std::min(d, SegmentDistance(x + 0.5, y + 0.5, at(k, false), at(k, true), at((k + 1) % 3, false),
                                                                at((k + 1) % 3, true)));
                            worst = std::max(worst, d);
                        } else if (px == ToQRgb(clBlack)) {
                            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                                pokes += x + dx >= 0 && y + dy >= 0 && x + dx < im.width() && y + dy < im.height() &&
                                         im.pixel(x + dx, y + dy) == ToQRgb(clSilver);
                        }
                    }
                // One device pixel rounded half a pixel off the edge at most; at scale 2 the pen's two
                // device pixels straddle the edge, their path rounded by half a pixel: sqrt(1 + 1/4).
                EXPECT_LE(worst, scale == 1 ? 0.5 + 1e-9 : std::sqrt(1.25) + 1e-9) << "scale " << scale << " cell " << cell << " o " << o;
                // The fill never meets the board: the outline lies between them all round.
                EXPECT_EQ(pokes, 0) << "scale " << scale << " cell " << cell << " o " << o;
            }
}

TEST(Canvas, TrianglesSharingAnEdgeLeaveNoSilverInsideTheirSilhouette)
{
    // Every pair of orientations that can share an edge, laid on either side of it, drawn as
    // the pattern window and the gallery draw silhouettes: black pen and brush.
    int pairs = 0;
    for (int scale : {1, 2})
        for (int cell : {1, 2})
            for (int o1 = 0; o1 < 16; ++o1)
                for (int o2 = 0; o2 < 16; ++o2)
                    for (int e1 = 0; e1 < 3; ++e1)
                        for (int e2 = 0; e2 < 3; ++e2) {
                            const auto v = [](int k, int o) {
                                return CanvasPoint{VertexX[static_cast<std::size_t>(k % 3)][static_cast<std::size_t>(o)],
                                                   VertexY[static_cast<std::size_t>(k % 3)][static_cast<std::size_t>(o)]};
                            };
                            const CanvasPoint a1 = v(e1, o1), b1 = v(e1 + 1, o1), a2 = v(e2, o2), b2 = v(e2 + 1, o2);
                            // Edge a1-b1 of the first is edge b2-a2 of the second: run the other way, it lies on the other side.
                            if (b1.x - a1.x != a2.x - b2.x || b1.y - a1.y != a2.y - b2.y)
                                continue;
                            ++pairs;
                            Canvas c = Silver(45 * cell, 45 * cell, scale);
                            c.PenColour = clBlack;
                            c.BrushColour = clBlack;
                            const int qx = 20 + a1.x - b2.x, qy = 20 + a1.y - b2.y;
                            c.Polygon(std::span(Outline(20, 20, o1, cell).data(), 3));
                            c.Polygon(std::span(Outline(qx, qy, o2, cell).data(), 3));
                            EXPECT_EQ(EnclosedSilver(c), 0)
                                << "scale " << scale << " cell " << cell << " o " << o1 << "/" << o2 << " edge " << e1 << "/" << e2;
                        }
    // Among them the square tilted by 22.5 degrees, two pieces on one long side.
    EXPECT_GT(pairs, 4 * 16);
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
