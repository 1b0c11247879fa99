// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/FigureRules.h"

#include "tests/engine/figures/QuarvelFixtures.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using testing::At;

// Squares of 10 cells, each split by orientations 0 and 8, at square steps (sx, sy) from (30, 15).
PuzzleRecord Squares(std::initializer_list<std::pair<int, int>> steps)
{
    PuzzleRecord r;
    int j = 1;
    for (const auto& [sx, sy] : steps) {
        r[j++] = At(37 + 10 * sx, 22 + 10 * sy, 0);
        r[j++] = At(33 + 10 * sx, 18 + 10 * sy, 8);
    }
    return r;
}

const PuzzleRecord L = Squares({{0, 0}, {0, 1}, {0, 2}, {1, 2}});

// Eight triangles of orientation 0 (10 cells wide) in a chain, each touching the next at a corner;
// `down` stacks the first six instead.
PuzzleRecord Chain(bool down)
{
    PuzzleRecord r;
    for (int k = 0; k < 8; ++k)
        r[k + 1] = down && k < 6 ? At(10, 7 + 10 * k, 0) : At(down ? 10 * (k - 4) : 8 + 10 * k, down ? 7 : 30, 0);
    return r;
}

struct Row {
    PuzzleRecord figure;
    int lifted;
    std::vector<FigureRules::Reference> references;
    const char* english;
    const char* german;
};

TEST(FigureRulesTest, EachReasonIsToldInBothLanguages)
{
    PuzzleRecord apart = L, overlap = L, parked;
    apart[5] = At(80, 50, 0);
    overlap[4] = overlap[3];
    for (int j = 1; j <= 8; ++j)
        parked[j] = At(j % 2 ? 9 : 81, (j - 1) / 2 * 15 + 8, 0);
    const FigureRules::Reference shippedL{L, 12, false, {}};
    const std::vector<Row> rows = {
        {L, 3, {}, "piece 3 is still in the hand", "Dreieck 3 ist noch in der Hand"},
        {parked, 0, {}, "lay the eight pieces together into one figure", "lege die acht Dreiecke zu einer Figur zusammen"},
        {apart, 0, {}, "piece 5 does not touch the figure", "Dreieck 5 berührt die Figur nicht"},
        {overlap, 0, {}, "pieces 3 and 4 overlap", "Dreiecke 3 und 4 überdecken sich"},
        {Chain(false), 0, {}, "the figure is too wide for the pattern window (80 cells, at most 56)",
         "die Figur ist zu breit für das Musterfenster (80 Felder, höchstens 56)"},
        {Chain(true), 0, {}, "the figure is too tall for the pattern window (60 cells, at most 56)",
         "die Figur ist zu hoch für das Musterfenster (60 Felder, höchstens 56)"},
        // The same L anywhere, turned a quarter, mirrored into a J.
        {Squares({{2, 0}, {2, 1}, {2, 2}, {3, 2}}), 0, {shippedL}, "this figure is Quarvel 12", "diese Figur ist Quarvel 12"},
        {Squares({{0, 0}, {1, 0}, {2, 0}, {0, 1}}), 0, {shippedL}, "this figure is Quarvel 12 turned",
         "diese Figur ist Quarvel 12, gedreht"},
        {Squares({{1, 0}, {1, 1}, {1, 2}, {0, 2}}), 0, {{L, 3, true, "Boot"}}, "this figure is your Quarvel 3 (Boot) mirrored",
         "diese Figur ist Dein Quarvel 3 (Boot), gespiegelt"},
        {testing::TiltedSquares(), 0, {}, "the same outline can be laid another way, which would not count as solved",
         "derselbe Umriss lässt sich auch anders legen, und das zählte nicht als gelöst"},
        // A square is neither an L turned nor mirrored.
        {Squares({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), 0, {shippedL}, "", ""},
    };
    FigureRules::SlowCheck slow;
    for (const Row& row : rows) {
        FigureRules::Verdict v = FigureRules::Quick(row.figure, row.lifted);
        if (v.Ok())
            v = slow.Run(row.figure, row.references, [] { return false; }, [](int) {});
        EXPECT_EQ(v.Text(false), row.english);
        EXPECT_EQ(v.Text(true), row.german);
        EXPECT_EQ(v.Ok(), std::string(row.english).empty()) << row.english;
    }
}

} // namespace
} // namespace zq
