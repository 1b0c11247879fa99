// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/QuarvelGenerator.h"
#include "tools/quarvel-tool/ProgressMeter.h"

#include "tools/quarvel-tool/DesignSource.h"
#include "engine/figures/LibraryChecker.h"
#include "tools/quarvel-tool/LibraryOrder.h"
#include "engine/figures/PieceGeometry.h"
#include "tests/engine/figures/QuarvelFixtures.h"
#include "engine/figures/Silhouette.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace zq::tool {
namespace {

TEST(QuarvelGeneratorTest, SameSeedSameRecordsOtherSeedOtherRecords)
{
    const auto a = QuarvelGenerator(11, 400000, 2).Generate(40);
    const auto b = QuarvelGenerator(11, 400000, 1).Generate(40); // thread count must not matter
    const auto c = QuarvelGenerator(12, 400000, 2).Generate(40);
    ASSERT_EQ(a.size(), 40U);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(QuarvelGeneratorTest, GeneratedLibraryInItsOrderPassesTheChecker)
{
    QuarvelGenerator::Stats stats;
    const auto lib = QuarvelGenerator(5, 400000, 2).GenerateDetailed(140, &stats);
    ASSERT_EQ(lib.size(), 140U);
    std::vector<LibraryOrder::Item> items;
    for (const auto& c : lib)
        items.push_back({c.score, false, c.orientationClass, LibraryChecker::IsCompact(c.irregularity)});
    std::vector<PuzzleRecord> records;
    for (const int i : LibraryOrder::Make(items))
        records.push_back(lib[static_cast<std::size_t>(i)].record);
    const auto report = LibraryChecker(400000, 2).CheckBytes(testing::Bytes(records));
    EXPECT_TRUE(report.Passed()) << report.Summary();
    EXPECT_EQ(report.symmetryTwins, 0);
    // All three classes occur; the first hundred are compact along the grid.
    for (std::size_t i = 0; i < 100; ++i)
        EXPECT_EQ(Silhouette::OrientationClass(records[i]), 0) << i;
    EXPECT_GT(stats.perClass[1], 0);
    EXPECT_GT(stats.perClass[2], 0);
    EXPECT_EQ(stats.perClass[0] + stats.perClass[1] + stats.perClass[2], 140);
}

TEST(QuarvelGeneratorTest, GrownFiguresAreJoinedByEdgesWithoutOverlap)
{
    int grown = 0;
    for (std::uint64_t s = 0; s < 60; ++s) {
        const auto style = static_cast<QuarvelGenerator::Style>(s % QuarvelGenerator::StyleCount);
        const int cls = static_cast<int>(s % 3);
        const auto rec = QuarvelGenerator::Grow(1000 + s, cls, style);
        if (!rec)
            continue;
        ++grown;
        EXPECT_EQ(Silhouette::OrientationClass(*rec), cls);
        for (int i = 1; i <= PieceCount; ++i) {
            bool joined = false;
            for (int k = 1; k <= PieceCount; ++k) {
                if (k == i)
                    continue;
                EXPECT_FALSE(PieceGeometry::InteriorsOverlap(PieceGeometry::Vertices((*rec)[i]), PieceGeometry::Vertices((*rec)[k])));
                joined = joined || PieceGeometry::ShareEdge(PieceGeometry::Vertices((*rec)[i]), PieceGeometry::Vertices((*rec)[k]));
            }
            EXPECT_TRUE(joined) << "piece " << i << " of attempt " << s;
        }
    }
    EXPECT_GT(grown, 40);
}

TEST(PieceGeometryTest, TwoHalvesOfASquareTouchButDoNotOverlap)
{
    const auto a = PieceGeometry::Vertices(27, 27, 0);
    const auto b = PieceGeometry::Vertices(23, 23, 8);
    EXPECT_FALSE(PieceGeometry::InteriorsOverlap(a, b));
    EXPECT_TRUE(PieceGeometry::ShareEdge(a, b));
    EXPECT_TRUE(PieceGeometry::InteriorsOverlap(a, a));
    EXPECT_TRUE(PieceGeometry::InteriorsOverlap(a, PieceGeometry::Vertices(28, 27, 0)));
    // Two squares meeting at a corner only share no edge.
    EXPECT_FALSE(PieceGeometry::ShareEdge(a, PieceGeometry::Vertices(37, 37, 8)));
    const auto p = PieceGeometry::PlacementOf({b[2], b[0], b[1]});
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(*p, (std::array<int, 3>{23, 23, 8}));
}

TEST(PieceGeometryTest, MirroredFigureIsASymmetryTwin)
{
    const PuzzleRecord r = testing::TiltedSquares();
    PuzzleRecord m;
    for (int j = 1; j <= PieceCount; ++j) {
        auto t = PieceGeometry::Vertices(r[j]);
        for (Point& v : t)
            v.x = 90 - v.x;
        const auto p = PieceGeometry::PlacementOf(t);
        ASSERT_TRUE(p.has_value());
        m[j] = testing::At((*p)[0], (*p)[1], (*p)[2]);
    }
    EXPECT_EQ(Silhouette::SymmetryKey(r), Silhouette::SymmetryKey(m));
    EXPECT_NE(Silhouette::SymmetryKey(r), Silhouette::SymmetryKey(testing::CentredSquare()));
}

} // namespace
} // namespace zq::tool

namespace zq::tool {
namespace {

TEST(DesignSourceTest, DrawnFiguresPassWhereTheirOrientationsAllow)
{
    // One drawing laid along the grid and turned onto orientations 1, 5, 9, 13.
    const std::string fish = "d#b\na#c\nend\n";
    const auto src = DesignSource::Parse("# comment\nfigure animal | Fish | Fisch\n" + fish +
                                         "figure animal | Odd fish | Schiefer Fisch\nturn 22\n" + fish);
    ASSERT_TRUE(src.errors.empty()) << src.errors.front();
    ASSERT_EQ(src.designs.size(), 2U);
    EXPECT_EQ(src.designs[0].german, "Fisch");
    const LibraryChecker checker(400000, 1);
    EXPECT_TRUE(checker.CheckOne(LibraryChecker::ToRaw(src.designs[0].record), 1, true).issues.empty());
    // Each square of two odd pieces has the other split as an outline twin.
    EXPECT_EQ(Silhouette::OrientationClass(src.designs[1].record), 2);
    EXPECT_GT(checker.CheckOne(LibraryChecker::ToRaw(src.designs[1].record), 1, true).traps, 0);
}

TEST(DesignSourceTest, FaultyFiguresAreNamedByLine)
{
    const auto src = DesignSource::Parse("figure letter | T | T\n###\n.a\nend\n"       // seven pieces
                                         "figure sign | Bar\n####\nend\n" // no German name: "end" stands alone
                                         "figure sign | Bars | Balken\n###\npiece 0,10 5,15\n#\nend\n" // two corners
                                         "figure sign | Heap | Haufen\n####\n#\nturn 45\n");           // no end
    ASSERT_EQ(src.errors.size(), 5U);
    EXPECT_EQ(src.errors[0], "line 1: figure \"T\" has 7 pieces, not 8");
    EXPECT_EQ(src.errors[1].rfind("line 5:", 0), 0U);
    EXPECT_EQ(src.errors[2].rfind("line 7:", 0), 0U);
    EXPECT_EQ(src.errors[3].rfind("line 10:", 0), 0U);
    EXPECT_EQ(src.errors[4], "line 13: figure \"Heap\" has no \"end\"");
    EXPECT_EQ(src.designs.size(), 1U); // "Bars" has its eight pieces without the bad line
}

TEST(ProgressMeterTest, QuietWhenNotATerminal)
{
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    {
        ProgressMeter m("generate", f);
        EXPECT_FALSE(m.Active());
        m.Update(5, 10);
        m.Update(10, 10);
    }
    EXPECT_EQ(std::ftell(f), 0L);
    std::fclose(f);
}

} // namespace
} // namespace zq::tool
