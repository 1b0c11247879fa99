// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/LibraryChecker.h"

#include "tests/engine/figures/QuarvelFixtures.h"
#include "tools/quarvel-tool/DesignSource.h"
#include "tools/quarvel-tool/LibraryOrder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zq::tool {
namespace {

using testing::At;
using testing::Bytes;

bool Breaks(const LibraryChecker::RecordReport& r, int rule)
{
    return std::any_of(r.issues.begin(), r.issues.end(), [&](const auto& i) { return i.rule == rule; });
}

class CheckerTest : public ::testing::Test {
protected:
    LibraryChecker checker{400000, 1};
};

TEST_F(CheckerTest, GoodRecordPassesEveryRule)
{
    const auto report = checker.CheckBytes(Bytes({testing::CentredSquare()}));
    ASSERT_EQ(report.records.size(), 1U);
    EXPECT_TRUE(report.records[0].issues.empty()) << report.records[0].issues.front().text;
    EXPECT_GT(report.records[0].solutions, 1); // both diagonals of every small square
    EXPECT_EQ(report.records[0].traps, 0);
    EXPECT_TRUE(report.Passed());
    EXPECT_EQ(report.Summary().rfind("PASS: 1 records", 0), 0U) << report.Summary();
}

TEST_F(CheckerTest, Rule1FlagsBadOrientationAndPlacementOffTheBoard)
{
    auto raw = LibraryChecker::ToRaw(testing::CentredSquare());
    raw[2] = 16; // piece 1's orientation byte
    auto r = checker.CheckOne(raw, 1);
    EXPECT_TRUE(Breaks(r, 1));
    EXPECT_NE(r.issues.front().text.find("orientation byte 16"), std::string::npos);

    raw = LibraryChecker::ToRaw(testing::CentredSquare());
    raw[3] = 200; // piece 2's x: far off the board
    r = checker.CheckOne(raw, 1);
    EXPECT_TRUE(Breaks(r, 1));
    EXPECT_FALSE(Breaks(r, 7)); // nothing else is judged on such a record
}

TEST_F(CheckerTest, Rule2FlagsPiecesThatCannotBePutDown)
{
    PuzzleRecord r = testing::CentredSquare();
    r[2] = r[1]; // two pieces in the same place never fit
    EXPECT_TRUE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(r), 1), 2));
}

TEST_F(CheckerTest, Rule3FlagsASilhouetteInTwoParts)
{
    PuzzleRecord r = testing::CentredSquare();
    // Pull the bottom-right small square away from the others.
    r[7] = At(r[7].x + 2, r[7].y + 2, 0);
    r[8] = At(r[8].x + 2, r[8].y + 2, 8);
    const auto rep = checker.CheckOne(LibraryChecker::ToRaw(r), 1);
    EXPECT_TRUE(Breaks(rep, 3));
}

TEST_F(CheckerTest, Rule3FlagsASquareHangingOnByACorner)
{
    PuzzleRecord r = testing::CentredSquare();
    // The top-right small square moved up to touch the top-left one at a corner only.
    r[5] = At(r[5].x, r[5].y - 10, 0);
    r[6] = At(r[6].x, r[6].y - 10, 8);
    const auto rep = checker.CheckOne(LibraryChecker::ToRaw(testing::Centred(r)), 1);
    EXPECT_TRUE(Breaks(rep, 3));
}

TEST_F(CheckerTest, Rule3FlagsTiltedPiecesMeetingAtACornerWhoseCellsJoin)
{
    // Two strips of two tilted squares meeting at one corner: the masks' partial
    // cells join up through edges, but the player sees a figure on a point.
    PuzzleRecord r;
    const int base[4][2] = {{0, 0}, {9, 3}, {21, -3}, {30, 0}};
    int j = 1;
    for (const auto& b : base) {
        r[j++] = At(30 + b[0], 30 + b[1], 1);
        r[j++] = At(28 + b[0], 26 + b[1], 9);
    }
    r = testing::Centred(r);
    ASSERT_TRUE(Silhouette(r).Connected());
    EXPECT_TRUE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(r), 1), 3));
}

TEST_F(CheckerTest, Rule4FlagsTheSameSilhouetteShifted)
{
    const auto report = checker.CheckBytes(Bytes({testing::CentredSquare(), testing::CentredSquare(1, 1)}));
    EXPECT_FALSE(Breaks(report.records[0], 4));
    EXPECT_TRUE(Breaks(report.records[1], 4));
    EXPECT_EQ(report.failuresPerRule[4], 1);
}

TEST_F(CheckerTest, Rule4RefusesTurnedAndMirroredTwinsAndNamesThePairButNotANearTwin)
{
    // An L of four small squares; the same L turned a quarter, turned by 22.5 degrees
    // (odd orientations: rounded, slightly smaller pieces) and mirrored; and a near
    // twin with one triangle moved to the neighbouring square.
    const auto src = DesignSource::Parse("figure a | L | L\n#.\n#.\n##\nend\n"
                                         "figure a | Turned | Gedreht\n###\n#..\nend\n"
                                         "figure a | Tilted | Schief\nturn 22\n#.\n#.\n##\nend\n"
                                         "figure a | Mirrored | Gespiegelt\n.#\n.#\n##\nend\n"
                                         "figure a | Near | Nah\n#.\n#b\n#a\nend\n");
    ASSERT_EQ(src.designs.size(), 5U) << src.errors.front();
    std::vector<PuzzleRecord> records;
    for (const Design& d : src.designs)
        records.push_back(d.record);
    const auto report = checker.CheckBytes(Bytes(records));
    EXPECT_FALSE(Breaks(report.records[0], 4));
    for (std::size_t i = 1; i <= 3; ++i) {
        const auto& issues = report.records[i].issues;
        const auto twin = std::find_if(issues.begin(), issues.end(), [](const auto& s) { return s.rule == 4; });
        ASSERT_NE(twin, issues.end()) << i;
        EXPECT_EQ(twin->text, "the figure of Quarvel 1, turned or mirrored");
    }
    EXPECT_FALSE(Breaks(report.records[4], 4));
    EXPECT_EQ(report.symmetryTwins, 3);
}

TEST_F(CheckerTest, Rule5FlagsAnOffCentreSilhouette)
{
    EXPECT_TRUE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(testing::CentredSquare(-3, 0)), 1), 5));
    EXPECT_TRUE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(testing::CentredSquare(0, 3)), 1), 5));
    EXPECT_FALSE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(testing::CentredSquare(2, 2)), 1), 5));
}

TEST_F(CheckerTest, Rule5FlagsATooWideSilhouette)
{
    // Four parallelograms in a row, 80 cells wide.
    PuzzleRecord r;
    int j = 1;
    for (int k = 0; k < 4; ++k) {
        r[j++] = At(12 + 20 * k, 35, 0);
        r[j++] = At(18 + 20 * k, 31, 8);
    }
    EXPECT_TRUE(Breaks(checker.CheckOne(LibraryChecker::ToRaw(r), 1), 5));
}

TEST_F(CheckerTest, Rule6FlagsOddOrientationsEarlyAndAFallingBlockMedian)
{
    EXPECT_TRUE(Breaks(checker.CheckBytes(Bytes({testing::TiltedSquares()})).records[0], 6));
    // Fifty figures of tilted pieces, then fifty of plain squares: the second block is easier.
    std::vector<PuzzleRecord> records(50, testing::TiltedSquares());
    records.insert(records.end(), 50, testing::CentredSquare());
    const auto report = checker.CheckBytes(Bytes(records));
    ASSERT_EQ(report.blockMedians.size(), 2U);
    EXPECT_LT(report.blockMedians[1], report.blockMedians[0]);
    EXPECT_TRUE(Breaks(report.records[50], 6));
    EXPECT_FALSE(Breaks(report.records[51], 6));
}

TEST(LibraryOrderTest, MediansNeverFallAndDesignsComeFirstAndAllTheWay)
{
    // 120 designs, harder than the 880 grown figures, with scores in a scrambled order:
    // the designs crowded into the first 300 would lift those blocks above the next.
    std::vector<LibraryOrder::Item> items;
    for (int i = 0; i < 1000; ++i) {
        const double scrambled = static_cast<double>((i * 7919) % 1000) / 20.0;
        // Kinds come in runs of about three along the scores, like people or letters of like difficulty.
        const int run = (i * 7919) % 1000 / 25;
        items.push_back({i < 120 ? 40 + scrambled : scrambled, i < 120, 0, true, run % 2 ? 0 : 1 + run / 2 % 3});
    }
    const std::vector<int> order = LibraryOrder::Make(items);
    ASSERT_EQ(order.size(), 1000U);
    std::vector<double> scores;
    int designsEarly = 0, designsLate = 0, sameKindNeighbours = 0, lastKind = -1;
    for (std::size_t p = 0; p < order.size(); ++p) {
        const auto& it = items[static_cast<std::size_t>(order[p])];
        scores.push_back(it.score);
        if (it.designed) {
            sameKindNeighbours += it.kind == lastKind ? 1 : 0;
            lastKind = it.kind;
        }
        if (p < 20)
            EXPECT_TRUE(it.designed) << p;
        (p < 300 ? designsEarly : designsLate) += it.designed ? 1 : 0;
    }
    EXPECT_EQ(items[static_cast<std::size_t>(order[0])].score, 40) << "the easiest design opens the library";
    EXPECT_GE(4 * designsEarly, 300);
    EXPECT_GT(designsLate, 20);
    EXPECT_LE(sameKindNeighbours, 8) << "designs of one kind side by side"; // about 80 unmixed
    const auto med = LibraryChecker::BlockMedians(scores);
    for (std::size_t b = 1; b < med.size(); ++b)
        EXPECT_GE(med[b], med[b - 1]) << b;
}

TEST_F(CheckerTest, Rule7FlagsTheTiltedSquareOutlineTwin)
{
    const auto rep = checker.CheckOne(LibraryChecker::ToRaw(testing::TiltedSquares()), 501);
    EXPECT_GE(rep.solutions, 1);
    EXPECT_GT(rep.traps, 0);
    EXPECT_TRUE(Breaks(rep, 7));
}

TEST_F(CheckerTest, Rule7ReportsASearchThatHitItsBound)
{
    const auto rep = LibraryChecker(5, 1).CheckOne(LibraryChecker::ToRaw(testing::CentredSquare()), 1);
    EXPECT_TRUE(rep.boundHit);
    EXPECT_TRUE(Breaks(rep, 7));
}

TEST_F(CheckerTest, BadFilesGetAReportNotACrash)
{
    auto report = checker.CheckBytes({});
    EXPECT_TRUE(report.fileUnusable);
    EXPECT_FALSE(report.Passed());
    EXPECT_NE(report.Summary().find("empty"), std::string::npos);

    report = checker.CheckBytes(std::vector<std::uint8_t>(23, 0));
    EXPECT_TRUE(report.fileUnusable);

    // A record plus a partial one: the tail is ignored with a note.
    auto bytes = Bytes({testing::CentredSquare()});
    bytes.resize(bytes.size() + 5, 0xFF);
    report = checker.CheckBytes(bytes);
    ASSERT_EQ(report.records.size(), 1U);
    EXPECT_TRUE(report.Passed());
    EXPECT_NE(report.fileNotes.at(0).find("trailing 5 bytes"), std::string::npos);

    // Random garbage: every byte 0xFF.
    report = checker.CheckBytes(std::vector<std::uint8_t>(48, 0xFF));
    ASSERT_EQ(report.records.size(), 2U);
    EXPECT_EQ(report.failuresPerRule[1], 2);
}

TEST_F(CheckerTest, OnlyTheFirstThousandRecordsAreRead)
{
    const auto one = Bytes({testing::CentredSquare()});
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 1002; ++i)
        bytes.insert(bytes.end(), one.begin(), one.end());
    std::vector<std::string> notes;
    EXPECT_EQ(LibraryChecker::SplitRecords(bytes, &notes).size(), 1000U);
    ASSERT_EQ(notes.size(), 1U);
    EXPECT_NE(notes[0].find("2 of them"), std::string::npos);
}

} // namespace
} // namespace zq::tool
