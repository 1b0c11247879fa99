// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoardEngine.h"

#include "engine/Geometry.h"
#include "engine/PointAngle.h"
#include "engine/ProgressByte.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zq {

void StampInto(Grid& grid, const PiecePlacement& p, int sign)
{
    const Orientation o = p.o;
    const int x = p.x;
    const int y = p.y;
    const std::size_t oi = static_cast<std::size_t>(o.value());
    const bool inside = BoardEngine::PieceInBounds(x, y, o);
    for (int dx = BoundsMinX[oi]; dx <= BoundsMaxX[oi]; ++dx) {
        if (!inside && (x + dx < 0 || x + dx >= BoardWidth))
            continue;
        for (int dy = BoundsMinY[oi]; dy <= BoundsMaxY[oi]; ++dy) {
            if (!inside && (y + dy < 0 || y + dy >= BoardHeight))
                continue;
            std::uint8_t& cell = grid.at(x + dx, y + dy);
            cell = static_cast<std::uint8_t>(cell + sign * MaskAt(o, dx, dy));
        }
    }
}

void BoardEngine::StampPiece(int j) { StampInto(Board, Placements[j], 1); }

void BoardEngine::UnstampPiece(int j) { StampInto(Board, Placements[j], -1); }

bool BoardEngine::PieceInBounds(int x, int y, Orientation o)
{
    const std::size_t oi = static_cast<std::size_t>(o.value());
    return x + BoundsMinX[oi] >= 0 && y + BoundsMinY[oi] >= 0 && x + BoundsMaxX[oi] <= BoardWidth - 1 &&
           y + BoundsMaxY[oi] <= BoardHeight - 1;
}

bool BoardEngine::PieceFits(int x, int y, Orientation o) const
{
    if (!PieceInBounds(x, y, o))
        return false;
    // Same cells in the same order as the bounding-box loop, minus the cells
    // where the mask is 0, which can never refuse a piece.
    const MaskCells& m = NonZeroMaskCells[static_cast<std::size_t>(o.value())];
    const std::uint8_t* base = Board.cells.data() + Grid::Index(x, y);
    for (int i = 0; i < m.count; ++i) {
        const MaskCell c = m.cell[static_cast<std::size_t>(i)];
        const std::uint8_t a = base[c.offset];
        if (a != 0 && !PairAllowed(a, c.value))
            return false;
    }
    return true;
}

bool BoardEngine::PieceFitsLinear(int x, int y, Orientation o) const
{
    if (!PieceInBounds(x, y, o))
        return false;
    const std::size_t oi = static_cast<std::size_t>(o.value());
    for (int dx = BoundsMinX[oi]; dx <= BoundsMaxX[oi]; ++dx) {
        for (int dy = BoundsMinY[oi]; dy <= BoundsMaxY[oi]; ++dy) {
            const std::uint8_t a = Board.at(x + dx, y + dy);
            const std::uint8_t b = MaskAt(o, dx, dy);
            if (a != 0 && b != 0 && !PairAllowedLinear(a, b))
                return false;
        }
    }
    return true;
}

void BoardEngine::ParkPiece(int j, const OrientationSource& random)
{
    PiecePlacement& p = Placements[j];
    p.x = static_cast<std::uint8_t>(j % 2 == 1 ? 9 : 81);
    p.y = static_cast<std::uint8_t>(((j - 1) / 2) * 15 + 8);
    // Parking places never share a cell, so the first draw fits; the bound only
    // keeps a broken random source from hanging the game.
    int draws = 0;
    do
        p.o = Orientation(random());
    while (!PieceFits(p.x, p.y, p.o) && ++draws < 1000);
    StampPiece(j);
}

void BoardEngine::LayHelpPieces(const PuzzleRecord& solution, int count)
{
    for (int c = 1; c <= std::min(count, PieceCount); ++c) {
        UnstampPiece(c);
        Placements[c] = solution[c];
        StampPiece(c);
    }
}

namespace {
// First non-zero cell scanning rows top to bottom, each row left to right.
bool Anchor(const Grid& grid, int& ax, int& ay)
{
    for (int y = 0; y < BoardHeight; ++y)
        for (int x = 0; x < BoardWidth; ++x)
            if (grid.at(x, y) != 0) {
                ax = x;
                ay = y;
                return true;
            }
    return false;
}
} // namespace

bool BoardEngine::SetupPuzzle(PuzzleLibrary& library, int n, std::uint8_t progress, const OrientationSource& random)
{
    library[0] = library[n];
    Board = Grid{};
    TargetGrid = Grid{};
    for (int j = 1; j <= PieceCount; ++j)
        StampInto(TargetGrid, library[0][j], 1);
    for (int j = 1; j <= PieceCount; ++j)
        ParkPiece(j, random);
    const bool finished = IsFinished(progress);
    if (!finished)
        LayHelpPieces(library[n], 2 * EffectiveHelpLevel(progress));
    TargetAnchorX = 0;
    TargetAnchorY = 0;
    Anchor(TargetGrid, TargetAnchorX, TargetAnchorY);
    SelectedPiece = 0;
    PlayState = Playing;
    return !finished;
}

bool BoardEngine::CheckSolved() const
{
    int ax = 0;
    int ay = 0;
    if (!Anchor(Board, ax, ay))
        return false;
    const int ox = TargetAnchorX - ax;
    const int oy = TargetAnchorY - ay;
    for (int x = 0; x < BoardWidth; ++x) {
        for (int y = 0; y < BoardHeight; ++y) {
            const std::uint8_t cell = Board.at(x, y);
            if (cell == 0)
                continue;
            const int tx = x + ox;
            const int ty = y + oy;
            if (tx < 0 || tx >= BoardWidth || ty < 0 || ty >= BoardHeight)
                return false;
            if (TargetGrid.at(tx, ty) != cell)
                return false;
        }
    }
    return true;
}

int BoardEngine::HitTestPiece(int px, int py, int j) const
{
    constexpr long double twoPi = 2 * std::numbers::pi_v<long double>;
    const PiecePlacement& p = Placements[j];
    const std::size_t o = static_cast<std::size_t>(p.o.value());
    const int x = p.x;
    const int y = p.y;
    const long double v0x = VertexX[0][o], v0y = VertexY[0][o];
    const long double v1x = VertexX[1][o], v1y = VertexY[1][o];
    const long double v2x = VertexX[2][o], v2y = VertexY[2][o];

    long double a1 = PointAngle(v1x - v0x, v1y - v0y);
    long double a2 = PointAngle(v2x - v0x, v2y - v0y);
    long double ap = PointAngle(px - (x + v0x) * CellWidth, py - (y + v0y) * CellHeight);
    if (a1 > a2)
        a2 += twoPi;
    if (a1 > ap)
        ap += twoPi;
    if (a2 < ap)
        return Outside;

    long double b1 = PointAngle(v2x - v1x, v2y - v1y);
    long double b2 = PointAngle(v0x - v1x, v0y - v1y);
    long double bp = PointAngle(px - (x + v1x) * CellWidth, py - (y + v1y) * CellHeight);
    if (b1 > b2)
        b2 += twoPi;
    if (b1 > bp)
        bp += twoPi;
    if (b2 < bp)
        return Outside;

    const std::int64_t ddx = static_cast<std::int64_t>(x) * CellWidth - px;
    const std::int64_t ddy = static_cast<std::int64_t>(y) * CellHeight - py;
    const long double d = std::sqrt(static_cast<long double>(ddx * ddx + ddy * ddy));
    return d < 3.0L * CellWidth ? MoveZone : TurnZone;
}

int BoardEngine::AngleStep(int px, int py, int j) const
{
    const PiecePlacement& p = Placements[j];
    const long double a = PointAngle(static_cast<long double>(px) - static_cast<long double>(p.x) * CellWidth,
                                     static_cast<long double>(py) - static_cast<long double>(p.y) * CellHeight);
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return static_cast<int>(std::nearbyint(a * 8 / std::numbers::pi_v<long double>));
}

} // namespace zq
