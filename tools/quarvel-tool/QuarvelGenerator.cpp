// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/QuarvelGenerator.h"

#include "engine/figures/ArrangementSolver.h"
#include "engine/BoardEngine.h"
#include "engine/Geometry.h"
#include "engine/figures/LibraryChecker.h"
#include "engine/figures/PieceGeometry.h"
#include "tools/quarvel-tool/Random.h"
#include "engine/figures/ShapeTwins.h"
#include "engine/figures/Silhouette.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <set>
#include <thread>
#include <unordered_set>

namespace zq::tool {

namespace {

using Tri = PieceGeometry::Triangle;

constexpr int MaxSpan = LibraryChecker::MaxSize;

struct Figure {
    std::vector<PiecePlacement> pieces;
    std::vector<Tri> tris;
    BoardEngine engine;

    void Add(const PiecePlacement& p)
    {
        pieces.push_back(p);
        tris.push_back(PieceGeometry::Vertices(p));
        StampInto(engine.Board, p, 1);
    }

    std::array<int, 4> Box(const Tri* extra = nullptr) const
    {
        std::array<int, 4> b{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
        auto take = [&](const Tri& t) {
            for (const Point& v : t) {
                b[0] = std::min(b[0], v.x);
                b[1] = std::min(b[1], v.y);
                b[2] = std::max(b[2], v.x);
                b[3] = std::max(b[3], v.y);
            }
        };
        for (const Tri& t : tris)
            take(t);
        if (extra)
            take(*extra);
        return b;
    }

    // Moves every piece so that the figure's box sits in the middle of the board,
    // which keeps room on every side for the next piece.
    bool Recentre()
    {
        const auto b = Box();
        const int dx = (90 - (b[0] + b[2])) / 2;
        const int dy = (60 - (b[1] + b[3])) / 2;
        std::vector<PiecePlacement> moved;
        for (const PiecePlacement& p : pieces) {
            const int x = p.x + dx, y = p.y + dy;
            if (x < 0 || y < 0 || x > 255 || y > 255 || !BoardEngine::PieceInBounds(x, y, p.o))
                return false;
            moved.push_back(PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), p.o});
        }
        pieces.clear();
        tris.clear();
        engine.Board = Grid{};
        for (const PiecePlacement& p : moved)
            Add(p);
        return true;
    }
};

int EncodePlacement(int x, int y, int o) { return (x * 256 + y) * 16 + o; }

// Every placement of a piece in one of the orientations that lays one of its
// edges along an edge of the figure, from a common end, on the open side.
std::vector<PiecePlacement> Attachments(const Figure& f, const std::vector<int>& orientations)
{
    std::set<int> seen;
    std::vector<PiecePlacement> out;
    for (const Tri& t : f.tris)
        for (int i = 0; i < 3; ++i)
            for (int dir = 0; dir < 2; ++dir) {
                const Point p = t[static_cast<std::size_t>(dir == 0 ? i : (i + 1) % 3)];
                const Point q = t[static_cast<std::size_t>(dir == 0 ? (i + 1) % 3 : i)];
                const int ex = q.x - p.x, ey = q.y - p.y;
                for (int o : orientations)
                    for (int a = 0; a < 3; ++a)
                        for (int b = 0; b < 3; ++b) {
                            if (a == b)
                                continue;
                            const int ax = VertexX[static_cast<std::size_t>(a)][static_cast<std::size_t>(o)];
                            const int ay = VertexY[static_cast<std::size_t>(a)][static_cast<std::size_t>(o)];
                            const int bx = VertexX[static_cast<std::size_t>(b)][static_cast<std::size_t>(o)];
                            const int by = VertexY[static_cast<std::size_t>(b)][static_cast<std::size_t>(o)];
                            const int nx = bx - ax, ny = by - ay;
                            if (ex * ny - ey * nx != 0 || ex * nx + ey * ny <= 0)
                                continue;
                            const std::array<std::array<int, 2>, 2> refs{{{p.x - ax, p.y - ay}, {q.x - bx, q.y - by}}};
                            for (const auto& [x, y] : refs) {
                                if (x < 0 || y < 0 || x > 90 || y > 60)
                                    continue;
                                const Orientation orient(o);
                                if (!seen.insert(EncodePlacement(x, y, o)).second)
                                    continue;
                                if (!f.engine.PieceFits(x, y, orient))
                                    continue;
                                const Tri nt = PieceGeometry::Vertices(x, y, o);
                                bool clash = false;
                                for (const Tri& u : f.tris)
                                    if (PieceGeometry::InteriorsOverlap(nt, u)) {
                                        clash = true;
                                        break;
                                    }
                                if (clash)
                                    continue;
                                const auto box = f.Box(&nt);
                                if (box[2] - box[0] > MaxSpan - 2 || box[3] - box[1] > MaxSpan - 2)
                                    continue;
                                out.push_back(PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), orient});
                            }
                        }
            }
    return out;
}

int Contacts(const Figure& f, const Tri& t)
{
    int n = 0;
    for (const Tri& u : f.tris)
        n += PieceGeometry::ShareEdge(t, u) ? 1 : 0;
    return n;
}

// Grows a figure to `size` pieces; the style decides which attachment is taken.
bool GrowTo(Figure& f, int size, const std::vector<int>& orientations, QuarvelGenerator::Style style, Random& rng,
            bool needEvenFamily)
{
    const int axis = rng.Below(2); // elongated figures: 0 along x, 1 along y
    while (static_cast<int>(f.pieces.size()) < size) {
        std::vector<PiecePlacement> options = Attachments(f, orientations);
        if (options.empty())
            return false;
        // The last piece of a mixed figure must bring in the diagonal family if no piece has yet.
        if (needEvenFamily && static_cast<int>(f.pieces.size()) == size - 1 &&
            std::none_of(f.pieces.begin(), f.pieces.end(), [](const PiecePlacement& p) { return p.o.value() % 4 == 2; })) {
            std::erase_if(options, [](const PiecePlacement& p) { return p.o.value() % 4 != 2; });
            if (options.empty())
                return false;
        }
        double cx = 0, cy = 0;
        for (const Tri& t : f.tris)
            for (const Point& v : t) {
                cx += v.x;
                cy += v.y;
            }
        cx /= 3.0 * static_cast<double>(f.tris.size());
        cy /= 3.0 * static_cast<double>(f.tris.size());

        std::size_t best = 0;
        double bestScore = -1e300;
        for (std::size_t i = 0; i < options.size(); ++i) {
            const Tri t = PieceGeometry::Vertices(options[i]);
            const auto b = f.Box(&t);
            const int w = b[2] - b[0], h = b[3] - b[1];
            const double jitter = rng.Below(1000) / 1000.0;
            double score = 0;
            switch (style) {
            case QuarvelGenerator::Compact:
                score = 40.0 * Contacts(f, t) - 0.05 * w * h - 0.4 * std::abs(w - h) + 45 * jitter;
                break;
            case QuarvelGenerator::Elongated:
                score = axis == 0 ? 2.0 * w - 5.0 * h : 2.0 * h - 5.0 * w;
                score += 15 * jitter;
                break;
            case QuarvelGenerator::Branching: {
                const double mx = (t[0].x + t[1].x + t[2].x) / 3.0 - cx;
                const double my = (t[0].y + t[1].y + t[2].y) / 3.0 - cy;
                score = -30.0 * Contacts(f, t) + 0.8 * std::sqrt(mx * mx + my * my) + 12 * jitter;
                break;
            }
            default:
                score = jitter;
                break;
            }
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        f.Add(options[best]);
        if (!f.Recentre())
            return false;
    }
    return true;
}

// The placement of the image of a piece under a map of the plane, if the image
// is one of the sixteen orientations.
template <typename Map>
std::optional<PiecePlacement> Image(const PiecePlacement& p, Map map)
{
    Tri t = PieceGeometry::Vertices(p);
    for (Point& v : t)
        v = map(v);
    const auto pl = PieceGeometry::PlacementOf(t);
    if (!pl || (*pl)[0] < 0 || (*pl)[1] < 0 || (*pl)[0] > 90 || (*pl)[1] > 60)
        return std::nullopt;
    return PiecePlacement{static_cast<std::uint8_t>((*pl)[0]), static_cast<std::uint8_t>((*pl)[1]), Orientation((*pl)[2])};
}

// Completes a half figure with its mirror image (across a line through an outer
// edge) or its half-turned image (about the middle of an outer edge), so that the
// two halves are joined along that edge.
bool Symmetrise(Figure& f, bool mirror, Random& rng)
{
    std::vector<PiecePlacement> half = f.pieces;
    std::vector<std::function<Point(Point)>> maps;
    const auto b = f.Box();
    for (const Tri& t : f.tris)
        for (int i = 0; i < 3; ++i) {
            const Point p = t[static_cast<std::size_t>(i)], q = t[static_cast<std::size_t>((i + 1) % 3)];
            if (mirror) {
                if (p.x == q.x && (p.x == b[0] || p.x == b[2])) {
                    const int a2 = 2 * p.x;
                    maps.push_back([a2](Point v) { return Point{a2 - v.x, v.y}; });
                }
                if (p.y == q.y && (p.y == b[1] || p.y == b[3])) {
                    const int a2 = 2 * p.y;
                    maps.push_back([a2](Point v) { return Point{v.x, a2 - v.y}; });
                }
            } else {
                bool shared = false;
                for (const Tri& u : f.tris)
                    if (&u != &t && PieceGeometry::ShareEdge(Tri{p, q, p}, u))
                        shared = true;
                if (!shared) {
                    const Point c{p.x + q.x, p.y + q.y};
                    maps.push_back([c](Point v) { return Point{c.x - v.x, c.y - v.y}; });
                }
            }
        }
    if (maps.empty())
        return false;
    const auto& map = maps[static_cast<std::size_t>(rng.Below(static_cast<int>(maps.size())))];
    std::vector<PiecePlacement> all = half;
    for (const PiecePlacement& p : half) {
        const auto img = Image(p, map);
        if (!img)
            return false;
        all.push_back(*img);
    }
    f.pieces.clear();
    f.tris.clear();
    f.engine.Board = Grid{};
    for (const PiecePlacement& p : all)
        f.Add(p);
    return true;
}

// No two pieces overlap and every piece is joined to the others by edges.
bool SoundFigure(const Figure& f)
{
    const std::size_t n = f.tris.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = i + 1; k < n; ++k)
            if (PieceGeometry::InteriorsOverlap(f.tris[i], f.tris[k]))
                return false;
    std::vector<char> reached(n, 0);
    std::vector<std::size_t> stack{0};
    reached[0] = 1;
    std::size_t count = 0;
    while (!stack.empty()) {
        const std::size_t i = stack.back();
        stack.pop_back();
        ++count;
        for (std::size_t k = 0; k < n; ++k)
            if (!reached[k] && PieceGeometry::ShareEdge(f.tris[i], f.tris[k])) {
                reached[k] = 1;
                stack.push_back(k);
            }
    }
    return count == n;
}

std::uint64_t Mix(std::uint64_t seed, std::uint64_t a, std::uint64_t b)
{
    Random r(seed ^ (a * 0x9E3779B97F4A7C15ULL) ^ (b * 0xC2B2AE3D27D4EB4FULL));
    r.Next();
    return r.Next();
}

// Checks a complete figure, stores its pieces in an order the player can build
// them in (so that the pieces laid by the help steps never block the rest) and
// centres the cells' box on the board.
std::optional<PuzzleRecord> Finish(const Figure& f, int orientationClass)
{
    if (f.pieces.size() != static_cast<std::size_t>(PieceCount) || !SoundFigure(f))
        return std::nullopt;
    PuzzleRecord r;
    for (int j = 1; j <= PieceCount; ++j)
        r[j] = f.pieces[static_cast<std::size_t>(j - 1)];
    if (Silhouette::OrientationClass(r) != orientationClass)
        return std::nullopt;
    const std::vector<int> order = ArrangementSolver::BuildOrder(r);
    if (order.empty())
        return std::nullopt;
    PuzzleRecord sorted;
    for (int j = 1; j <= PieceCount; ++j)
        sorted[j] = r[order[static_cast<std::size_t>(j - 1)]];
    r = sorted;
    const Silhouette sil(r);
    const int dx = (90 - (sil.MinX() + sil.MaxX())) / 2;
    const int dy = (60 - (sil.MinY() + sil.MaxY())) / 2;
    for (int j = 1; j <= PieceCount; ++j) {
        const int x = r[j].x + dx, y = r[j].y + dy;
        if (x < 0 || y < 0 || x > 90 || y > 60 || !BoardEngine::PieceInBounds(x, y, r[j].o))
            return std::nullopt;
        r[j].x = static_cast<std::uint8_t>(x);
        r[j].y = static_cast<std::uint8_t>(y);
    }
    return r;
}

// How often each style is tried, per class. Odd orientations have no edge along
// the grid, so their figures cannot be mirrored across one.
constexpr std::array<QuarvelGenerator::Style, 10> StyleCycle = {
    QuarvelGenerator::Compact,   QuarvelGenerator::Mirrored, QuarvelGenerator::Elongated, QuarvelGenerator::Branching,
    QuarvelGenerator::Turned,    QuarvelGenerator::Compact,  QuarvelGenerator::Mirrored,  QuarvelGenerator::Loose,
    QuarvelGenerator::Branching, QuarvelGenerator::Elongated};

} // namespace

const char* QuarvelGenerator::StyleName(Style s)
{
    switch (s) {
    case Compact: return "compact";
    case Elongated: return "elongated";
    case Branching: return "branching";
    case Mirrored: return "mirrored";
    case Turned: return "half-turn";
    case Loose: return "free";
    case Designed: return "drawn";
    default: return "?";
    }
}

std::optional<PuzzleRecord> QuarvelGenerator::Grow(std::uint64_t attemptSeed, int orientationClass, Style style)
{
    Random rng(attemptSeed);
    std::vector<int> orientations;
    bool needEven = false;
    if (orientationClass == 0)
        orientations = {0, 4, 8, 12};
    else if (orientationClass == 1) {
        if (rng.Below(5) < 2)
            orientations = {2, 6, 10, 14};
        else {
            orientations = {0, 2, 4, 6, 8, 10, 12, 14};
            needEven = true;
        }
    } else {
        orientations = rng.Below(2) == 0 ? std::vector<int>{1, 5, 9, 13} : std::vector<int>{3, 7, 11, 15};
        if (style == Mirrored)
            style = Turned;
    }
    Figure f;
    const int first = needEven ? 2 + 4 * rng.Below(4) : orientations[static_cast<std::size_t>(rng.Below(static_cast<int>(orientations.size())))];
    f.Add(PiecePlacement{45, 30, Orientation(first)});
    const bool symmetric = style == Mirrored || style == Turned;
    if (symmetric) {
        const Style halfStyle = std::array<Style, 3>{Compact, Branching, Loose}[static_cast<std::size_t>(rng.Below(3))];
        if (!GrowTo(f, PieceCount / 2, orientations, halfStyle, rng, false) || !Symmetrise(f, style == Mirrored, rng))
            return std::nullopt;
    } else if (!GrowTo(f, PieceCount, orientations, style, rng, needEven)) {
        return std::nullopt;
    }
    return Finish(f, orientationClass);
}

std::vector<PuzzleRecord> QuarvelGenerator::Generate(int count, Stats* stats, const Progress& progress) const
{
    std::vector<PuzzleRecord> out;
    for (const Candidate& c : GenerateDetailed(count, stats, progress))
        out.push_back(c.record);
    return out;
}

std::vector<QuarvelGenerator::Candidate> QuarvelGenerator::GenerateDetailed(int count, Stats* statsOut,
                                                                            const Progress& progress,
                                                                            const std::vector<PuzzleRecord>& avoid) const
{
    Stats stats;
    count = std::clamp(count, 0, 1000);
    // Shares of the three classes; the first hundred (or all of a small library)
    // are compact figures with legs along the grid, and odd orientations stay in
    // the second half.
    const int needCompact = std::min(count, LibraryChecker::CompactCount);
    std::array<int, 3> quota{};
    quota[0] = std::max(needCompact, count * 35 / 100);
    quota[1] = (count - quota[0]) * 46 / 100;
    quota[2] = count - quota[0] - quota[1];

    const LibraryChecker checker(nodeBound_, 1);
    const int threads = std::max(1, threads_ > 0 ? threads_ : static_cast<int>(std::thread::hardware_concurrency()));
    std::unordered_set<std::string> keys, shapes;
    // Turned by any step or mirrored, on the exact outline: the figures given to avoid and those kept.
    ShapeTwins::Index twins;
    for (const PuzzleRecord& r : avoid) {
        keys.insert(Silhouette(r).TranslationKey());
        twins.Add(ShapeTwins::Make(r));
    }
    std::vector<Candidate> kept;
    int keptTotal = 0;

    for (int cls = 0; cls < 3; ++cls) {
        std::vector<Candidate> mine;
        int compactKept = 0;
        std::uint64_t attempt = 0;
        const std::uint64_t attemptCap = static_cast<std::uint64_t>(quota[static_cast<std::size_t>(cls)]) * 200 + 200;
        while (static_cast<int>(mine.size()) < quota[static_cast<std::size_t>(cls)] && attempt < attemptCap) {
            // A batch of figures grown one after the other from their own seeds,
            // judged in parallel, then taken in order: the result does not depend
            // on the number of threads.
            struct Item {
                Candidate cand;
                std::string key, shape;
                LibraryChecker::RecordReport report;
            };
            std::vector<Item> batch;
            while (batch.size() < 32 && attempt < attemptCap) {
                const Style style = StyleCycle[attempt % StyleCycle.size()];
                const std::uint64_t s = Mix(seed_, static_cast<std::uint64_t>(cls) + 1, attempt);
                ++attempt;
                const std::optional<PuzzleRecord> rec = Grow(s, cls, style);
                ++stats.attempts;
                if (!rec) {
                    ++stats.grownFailed;
                    continue;
                }
                const Silhouette sil(*rec);
                std::string key = sil.TranslationKey();
                if (keys.count(key)) {
                    ++stats.duplicates;
                    continue;
                }
                std::string shape = Silhouette::SymmetryKey(*rec);
                if (shapes.count(shape)) {
                    ++stats.twins;
                    continue;
                }
                batch.push_back(Item{Candidate{*rec, cls, style, sil.Irregularity()}, std::move(key), std::move(shape), {}});
            }
            std::atomic<std::size_t> next{0};
            auto work = [&] {
                for (std::size_t i; (i = next++) < batch.size();)
                    batch[i].report = checker.CheckOne(LibraryChecker::ToRaw(batch[i].cand.record), 0);
            };
            {
                std::vector<std::jthread> pool;
                for (int t = 1; t < threads; ++t)
                    pool.emplace_back(work);
                work();
            }
            for (Item& it : batch) {
                if (static_cast<int>(mine.size()) >= quota[static_cast<std::size_t>(cls)])
                    break;
                // Two of the same batch may be twins; the first one kept wins.
                if (keys.count(it.key)) {
                    ++stats.duplicates;
                    continue;
                }
                if (shapes.count(it.shape)) {
                    ++stats.twins;
                    continue;
                }
                const ShapeTwins::Shape twinShape = ShapeTwins::Make(it.cand.record);
                if (twins.Find(twinShape) >= 0) {
                    ++stats.twins;
                    continue;
                }
                const auto& issues = it.report.issues;
                if (!issues.empty()) {
                    if (it.report.traps > 0)
                        ++stats.trapRejected;
                    else if (it.report.boundHit)
                        ++stats.boundRejected;
                    else
                        ++stats.ruleFailed;
                    continue;
                }
                const bool compact = LibraryChecker::IsCompact(it.cand.irregularity);
                if (cls == 0 && !compact &&
                    quota[0] - static_cast<int>(mine.size()) <= needCompact - compactKept)
                    continue; // the rest of the quota is needed for compact figures
                compactKept += cls == 0 && compact ? 1 : 0;
                keys.insert(it.key);
                shapes.insert(it.shape);
                twins.Add(twinShape);
                it.cand.score = it.report.score;
                mine.push_back(it.cand);
                ++stats.perClass[static_cast<std::size_t>(cls)];
                ++stats.perStyle[static_cast<std::size_t>(it.cand.style)];
                if (progress)
                    progress(++keptTotal, count);
            }
        }
        // Within a class, difficulty grows with irregularity; ties keep the order found.
        std::stable_sort(mine.begin(), mine.end(),
                         [](const Candidate& a, const Candidate& b) { return a.irregularity < b.irregularity; });
        kept.insert(kept.end(), mine.begin(), mine.end());
    }
    if (statsOut)
        *statsOut = stats;
    return kept;
}

} // namespace zq::tool
