// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/FigureRules.h"

#include "engine/BoardEngine.h"
#include "engine/figures/ArrangementSolver.h"
#include "engine/figures/LibraryChecker.h"
#include "engine/figures/PieceGeometry.h"
#include "engine/figures/Silhouette.h"

#include <algorithm>

namespace zq {

namespace {

long long Cross(Point o, Point a, Point b)
{
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

// The closed triangles meet, at least in a point: no edge line of either has the
// other wholly and strictly beyond it.
bool Touch(const PieceGeometry::Triangle& a, const PieceGeometry::Triangle& b)
{
    const auto beyond = [](const PieceGeometry::Triangle& t, const PieceGeometry::Triangle& u) {
        for (std::size_t i = 0; i < 3; ++i) {
            const Point p = t[i], q = t[(i + 1) % 3], r = t[(i + 2) % 3];
            const long long inner = Cross(p, q, r);
            if (std::all_of(u.begin(), u.end(), [&](Point s) { return inner * Cross(p, q, s) < 0; }))
                return true;
        }
        return false;
    };
    return !beyond(a, b) && !beyond(b, a);
}

std::string Num(int n) { return std::to_string(n); }

} // namespace

FigureRules::Verdict FigureRules::Quick(const PuzzleRecord& figure, int liftedPiece)
{
    Verdict v;
    if (liftedPiece != 0) {
        v.reason = Reason::Lifted;
        v.piece = liftedPiece;
        return v;
    }
    std::array<PieceGeometry::Triangle, PieceCount> tri;
    for (int j = 1; j <= PieceCount; ++j)
        tri[static_cast<std::size_t>(j - 1)] = PieceGeometry::Vertices(figure[j]);

    // Groups of pieces that touch; the figure is the largest, the first of equals.
    std::array<int, PieceCount> group{};
    int groups = 0;
    for (std::size_t s = 0; s < tri.size(); ++s) {
        if (group[s] != 0)
            continue;
        group[s] = ++groups;
        for (bool grew = true; grew;) {
            grew = false;
            for (std::size_t i = 0; i < tri.size(); ++i)
                for (std::size_t k = 0; k < tri.size(); ++k)
                    if (group[i] == groups && group[k] == 0 && Touch(tri[i], tri[k])) {
                        group[k] = groups;
                        grew = true;
                    }
        }
    }
    int figureGroup = 1, figureSize = 0;
    for (int g = 1; g <= groups; ++g)
        if (const int n = static_cast<int>(std::count(group.begin(), group.end(), g)); n > figureSize) {
            figureGroup = g;
            figureSize = n;
        }
    if (figureSize == 1) {
        v.reason = Reason::Scattered;
        return v;
    }
    for (int j = 1; j <= PieceCount; ++j)
        if (group[static_cast<std::size_t>(j - 1)] != figureGroup) {
            v.reason = Reason::Apart;
            v.piece = j;
            return v;
        }

    if (!ArrangementSolver::Buildable(figure)) {
        v.reason = Reason::NotBuildable;
        for (int a = 1; a <= PieceCount && v.piece == 0; ++a)
            for (int b = a + 1; b <= PieceCount; ++b)
                if (PieceGeometry::InteriorsOverlap(tri[static_cast<std::size_t>(a - 1)], tri[static_cast<std::size_t>(b - 1)])) {
                    v.piece = a;
                    v.other = b;
                    break;
                }
        return v;
    }

    const Silhouette sil(figure);
    if (sil.Width() > MaxSize) {
        v.reason = Reason::TooWide;
        v.size = sil.Width();
    } else if (sil.Height() > MaxSize) {
        v.reason = Reason::TooTall;
        v.size = sil.Height();
    }
    return v;
}

std::optional<PuzzleRecord> FigureRules::Centred(const PuzzleRecord& figure)
{
    const Silhouette sil(figure);
    if (sil.Empty())
        return std::nullopt;
    // The box's centre, doubled to stay in whole cells, goes to the board's (90, 60);
    // an odd size leaves half a cell, and a step either way still lies within the
    // library's slack of two cells.
    const int dx = (90 - sil.MinX() - sil.MaxX()) / 2, dy = (60 - sil.MinY() - sil.MaxY()) / 2;
    for (const int ex : {0, 1, -1})
        for (const int ey : {0, 1, -1}) {
            PuzzleRecord moved = figure;
            bool inside = true;
            for (int j = 1; j <= PieceCount && inside; ++j) {
                const int x = figure[j].x + dx + ex, y = figure[j].y + dy + ey;
                inside = BoardEngine::PieceInBounds(x, y, figure[j].o);
                moved[j] = PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), figure[j].o};
            }
            if (inside)
                return moved;
        }
    return std::nullopt;
}

const ShapeTwins::Shape& FigureRules::SlowCheck::ShapeOf(const PuzzleRecord& r)
{
    const auto raw = LibraryChecker::ToRaw(r);
    auto it = shapes_.find(raw);
    if (it == shapes_.end())
        it = shapes_.emplace(raw, ShapeTwins::Make(r)).first;
    return it->second;
}

FigureRules::Verdict FigureRules::SlowCheck::Run(const PuzzleRecord& figure, const std::vector<Reference>& references,
                                                 const std::function<bool()>& stop,
                                                 const std::function<void(int)>& progress)
{
    Verdict v;
    // Outlines not seen before cost about as much as a comparison's worst case; the
    // arrangement search counts as a tenth of the whole.
    int unseen = 0;
    for (const Reference& r : references)
        unseen += shapes_.count(LibraryChecker::ToRaw(r.record)) == 0 ? 1 : 0;
    const int steps = unseen + static_cast<int>(references.size());
    const int total = steps + std::max(1, steps / 9);
    int done = 0, told = -1;
    const auto tell = [&] {
        if (const int percent = 100 * done / total; percent != told) {
            told = percent;
            progress(percent);
        }
    };
    tell();
    const ShapeTwins::Shape mine = ShapeTwins::Make(figure);
    for (const Reference& r : references) {
        if (stop()) {
            v.reason = Reason::Stopped;
            return v;
        }
        done += shapes_.count(LibraryChecker::ToRaw(r.record)) == 0 ? 2 : 1;
        const ShapeTwins::Match m = ShapeTwins::Compare(ShapeOf(r.record), mine, ShapeTwins::TwinLimit);
        tell();
        if (m.share < ShapeTwins::TwinLimit) {
            v.reason = Reason::SameAs;
            v.twin = r;
            v.turned = m.turned;
            v.mirrored = m.mirrored;
            return v;
        }
    }

    ArrangementSolver solver(NodeBound);
    solver.StopWhen(stop);
    const ArrangementSolver::Result found = solver.Solve(Silhouette(figure).Target());
    if (found.stopped)
        v.reason = Reason::Stopped;
    else if (found.traps > 0)
        v.reason = Reason::OutlineTwin;
    else if (found.boundHit)
        v.reason = Reason::TooIntricate;
    done = total;
    tell();
    return v;
}

std::string FigureRules::Verdict::Text(bool german) const
{
    switch (reason) {
    case Reason::None:
    case Reason::Stopped:
        return {};
    case Reason::Lifted:
        return german ? "Dreieck " + Num(piece) + " ist noch in der Hand" : "piece " + Num(piece) + " is still in the hand";
    case Reason::Scattered:
        return german ? "lege die acht Dreiecke zu einer Figur zusammen" : "lay the eight pieces together into one figure";
    case Reason::Apart:
        return german ? "Dreieck " + Num(piece) + " berührt die Figur nicht" : "piece " + Num(piece) + " does not touch the figure";
    case Reason::NotBuildable:
        if (piece != 0)
            return german ? "Dreiecke " + Num(piece) + " und " + Num(other) + " überdecken sich"
                          : "pieces " + Num(piece) + " and " + Num(other) + " overlap";
        return german ? "keine Reihenfolge legt die Dreiecke nacheinander ab"
                      : "no order puts the pieces down one after the other";
    case Reason::TooWide:
    case Reason::TooTall: {
        const bool wide = reason == Reason::TooWide;
        return german ? std::string("die Figur ist zu ") + (wide ? "breit" : "hoch") + " für das Musterfenster (" + Num(size) +
                            " Felder, höchstens " + Num(MaxSize) + ")"
                      : std::string("the figure is too ") + (wide ? "wide" : "tall") + " for the pattern window (" +
                            Num(size) + " cells, at most " + Num(MaxSize) + ")";
    }
    case Reason::SameAs: {
        std::string who = twin.own ? (german ? "Dein Quarvel " : "your Quarvel ") : "Quarvel ";
        who += Num(twin.number);
        if (!twin.name.empty())
            who += " (" + twin.name + ")";
        if (german)
            return "diese Figur ist " + who + (mirrored ? ", gespiegelt" : turned ? ", gedreht" : "");
        return "this figure is " + who + (mirrored ? " mirrored" : turned ? " turned" : "");
    }
    case Reason::OutlineTwin:
        return german ? "derselbe Umriss lässt sich auch anders legen, und das zählte nicht als gelöst"
                      : "the same outline can be laid another way, which would not count as solved";
    case Reason::TooIntricate:
        return german ? "der Umriss lässt sich auf zu viele Arten legen, um sie alle zu prüfen"
                      : "the outline can be laid in too many ways to check them all";
    }
    return {};
}

std::string FigureRules::Verdict::Line(bool german) const
{
    if (Ok())
        return german ? "Die Figur kann gespeichert werden." : "The figure can be saved.";
    return (german ? "Noch nicht zu speichern: " : "Cannot be saved yet: ") + Text(german) + ".";
}

std::string FigureRules::CheckingLine(bool german, int percent)
{
    return (german ? "Vergleiche mit den anderen Quarvels … " : "Comparing with the other Quarvels … ") +
           Num(percent) + " %";
}

} // namespace zq
