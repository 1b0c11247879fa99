// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/ShapeTwins.h"

#include "engine/figures/PieceGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zq {

namespace {

bool Inside(const std::array<double, 6>& t, double x, double y)
{
    const double d1 = (t[2] - t[0]) * (y - t[1]) - (t[3] - t[1]) * (x - t[0]);
    const double d2 = (t[4] - t[2]) * (y - t[3]) - (t[5] - t[3]) * (x - t[2]);
    const double d3 = (t[0] - t[4]) * (y - t[5]) - (t[1] - t[5]) * (x - t[4]);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

bool InShape(const ShapeTwins::Shape& s, double x, double y)
{
    if (x * x + y * y > s.radius * s.radius)
        return false;
    for (const auto& t : s.tri)
        if (Inside(t, x, y))
            return true;
    return false;
}

constexpr double Step = 0.5; // sampling step in cells
constexpr double Fine = 0.25; // the raster's step

} // namespace

bool ShapeTwins::Shape::Covers(double x, double y) const
{
    const int i = static_cast<int>(std::lround((x + radius) / Fine));
    const int k = static_cast<int>(std::lround((y + radius) / Fine));
    if (i < 0 || k < 0 || i >= rasterSide || k >= rasterSide)
        return false;
    return raster[static_cast<std::size_t>(k * rasterSide + i)] != 0;
}

ShapeTwins::Shape ShapeTwins::Make(const PuzzleRecord& r)
{
    Shape s;
    double cx = 0, cy = 0;
    for (int j = 1; j <= PieceCount; ++j) {
        const auto v = PieceGeometry::Vertices(r[j]);
        auto& t = s.tri[static_cast<std::size_t>(j - 1)];
        for (std::size_t k = 0; k < 3; ++k) {
            t[2 * k] = v[k].x;
            t[2 * k + 1] = v[k].y;
        }
        const double a = std::abs((t[2] - t[0]) * (t[5] - t[1]) - (t[3] - t[1]) * (t[4] - t[0])) / 2;
        s.area += a;
        cx += a * (t[0] + t[2] + t[4]) / 3;
        cy += a * (t[1] + t[3] + t[5]) / 3;
    }
    cx /= s.area;
    cy /= s.area;
    for (auto& t : s.tri)
        for (std::size_t k = 0; k < 3; ++k) {
            t[2 * k] -= cx;
            t[2 * k + 1] -= cy;
            s.radius = std::max(s.radius, std::hypot(t[2 * k], t[2 * k + 1]));
        }
    // Second and third moments from samples, made free of scale; their turn and
    // mirror invariant combinations.
    double m20 = 0, m02 = 0, m11 = 0, m30 = 0, m03 = 0, m21 = 0, m12 = 0, n = 0;
    for (double y = -s.radius; y <= s.radius; y += Step)
        for (double x = -s.radius; x <= s.radius; x += Step)
            if (InShape(s, x, y)) {
                n += 1;
                m20 += x * x;
                m02 += y * y;
                m11 += x * y;
                m30 += x * x * x;
                m03 += y * y * y;
                m21 += x * x * y;
                m12 += x * y * y;
            }
    const double a = std::max(n, 1.0) * Step * Step, w = Step * Step;
    const double k2 = w / (a * a), k3 = w / std::pow(a, 2.5);
    s.rasterSide = static_cast<int>(std::ceil(2 * s.radius / Fine)) + 1;
    s.raster.assign(static_cast<std::size_t>(s.rasterSide * s.rasterSide), 0);
    for (int k = 0; k < s.rasterSide; ++k)
        for (int i = 0; i < s.rasterSide; ++i)
            s.raster[static_cast<std::size_t>(k * s.rasterSide + i)] = InShape(s, i * Fine - s.radius, k * Fine - s.radius) ? 1 : 0;
    const double e20 = m20 * k2, e02 = m02 * k2, e11 = m11 * k2;
    const double e30 = m30 * k3, e03 = m03 * k3, e21 = m21 * k3, e12 = m12 * k3;
    s.invariants[0] = e20 + e02;
    s.invariants[1] = std::sqrt((e20 - e02) * (e20 - e02) + 4 * e11 * e11);
    s.invariants[2] = std::sqrt((e30 + e12) * (e30 + e12) + (e21 + e03) * (e21 + e03));
    return s;
}

namespace {

// The share of area that differs when b is laid on a, sampled in a's frame.
ShapeTwins::Match OneWay(const ShapeTwins::Shape& a, const ShapeTwins::Shape& b, double giveUpAbove);

} // namespace

double ShapeTwins::Difference(const Shape& a, const Shape& b, double giveUpAbove)
{
    return Compare(a, b, giveUpAbove).share;
}

ShapeTwins::Match ShapeTwins::Compare(const Shape& a, const Shape& b, double giveUpAbove)
{
    // Sampled in one figure's frame, the measure is not quite symmetric; taking
    // the smaller way keeps a verdict from depending on which figure came first.
    const Match ab = OneWay(a, b, giveUpAbove), ba = OneWay(b, a, giveUpAbove);
    return ba.share < ab.share ? ba : ab;
}

namespace {

ShapeTwins::Match OneWay(const ShapeTwins::Shape& a, const ShapeTwins::Shape& b, double giveUpAbove)
{
    // Invariants far apart: no turn or mirror can bring the figures together.
    const double spread = giveUpAbove * (a.invariants[0] + b.invariants[0]);
    if (std::abs(a.invariants[0] - b.invariants[0]) > 0.25 * spread ||
        std::abs(a.invariants[1] - b.invariants[1]) > 0.01 + 0.25 * spread ||
        std::abs(a.invariants[2] - b.invariants[2]) > 0.01 + 0.25 * spread)
        return {};
    const double scale = std::sqrt(a.area / b.area); // b's points into a's size
    const double mean = (a.area + b.area) / 2;
    const double limit = giveUpAbove * mean / (Step * Step); // samples
    const double reach = std::max(a.radius, b.radius * scale);
    // Samples that differ with b turned, mirrored and shifted by (ox, oy) cells; counting
    // stops once it passes stopAt.
    // The sixteen steps, and the angle at which the vertex tables really lay the odd
    // orientations: their legs run 3 across for 9 down, not quite 22.5 degrees.
    std::array<double, 24> angles{};
    for (int k = 0; k < 16; ++k)
        angles[static_cast<std::size_t>(k)] = k * std::numbers::pi / 8;
    for (int k = 0; k < 4; ++k) {
        angles[static_cast<std::size_t>(16 + k)] = std::atan2(1.0, 3.0) + k * std::numbers::pi / 2;
        angles[static_cast<std::size_t>(20 + k)] = -std::atan2(1.0, 3.0) + k * std::numbers::pi / 2;
    }
    auto differing = [&](int mirror, int turn, double ox, double oy, double stopAt) {
        const double ang = angles[static_cast<std::size_t>(turn)];
        const double c = std::cos(ang), s = std::sin(ang);
        double n = 0;
        for (double y = -reach; y <= reach && n < stopAt; y += Step)
            for (double x = -reach; x <= reach; x += Step) {
                // The sample in a's frame maps to b's frame by the inverse shift, turn, mirror and scale.
                const double px = x - ox, py = y - oy;
                double bx = (c * px + s * py) / scale, by = (-s * px + c * py) / scale;
                if (mirror)
                    bx = -bx;
                if (a.Covers(x, y) != b.Covers(bx, by))
                    n += 1;
            }
        return n;
    };
    double best = limit;
    int bestMirror = -1, bestTurn = 0;
    for (int mirror = 0; mirror < 2; ++mirror)
        for (int turn = 0; turn < static_cast<int>(angles.size()); ++turn)
            if (const double n = differing(mirror, turn, 0, 0, best); n < best) {
                best = n;
                bestMirror = mirror;
                bestTurn = turn;
            }
    if (bestMirror < 0)
        return {};
    // Rounded corners pull the centre of area a little aside: try the best turn shifted.
    for (const double ox : {-1.0, -0.5, 0.0, 0.5, 1.0})
        for (const double oy : {-1.0, -0.5, 0.0, 0.5, 1.0})
            best = std::min(best, differing(bestMirror, bestTurn, ox, oy, best));
    // Turns 16 to 23 are the odd orientations' own angles, never none.
    return {best * Step * Step / mean, bestMirror == 1, bestTurn != 0};
}

} // namespace

int ShapeTwins::Index::Find(const Shape& s, double limit) const
{
    for (std::size_t i = 0; i < shapes_.size(); ++i)
        if (Difference(shapes_[i], s, limit) < limit)
            return static_cast<int>(i);
    return -1;
}

} // namespace zq
