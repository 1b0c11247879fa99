// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/LibraryChecker.h"

#include "QuarvelFixtures.h"

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

TEST_F(CheckerTest, Rule4CountsTurnedTwinsWithoutFailing)
{
    // An L of three small squares and the same L turned a quarter: twins, not duplicates.
    PuzzleRecord l;
    const int cells[4][2] = {{30, 20}, {40, 20}, {30, 30}, {20, 30}};
    int j = 1;
    for (const auto& c : cells) {
        l[j++] = At(c[0] + 7, c[1] + 7, 0);
        l[j++] = At(c[0] + 3, c[1] + 3, 8);
    }
    PuzzleRecord turned;
    for (int k = 1; k <= PieceCount; ++k) {
        // A quarter turn maps orientation o to o + 4 and (x, y) to (-y, x).
        turned[k] = At(80 - l[k].y, l[k].x, l[k].o.value() + 4);
    }
    const auto report = checker.CheckBytes(Bytes({testing::Centred(l), testing::Centred(turned)}));
    EXPECT_EQ(report.symmetryTwins, 1);
    EXPECT_EQ(report.failuresPerRule[4], 0);
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

TEST_F(CheckerTest, Rule6FlagsOddOrientationsEarlyAndFallingDifficulty)
{
    const PuzzleRecord odd = testing::TiltedSquares();
    const auto report = checker.CheckBytes(Bytes({odd, testing::CentredSquare()}));
    EXPECT_TRUE(Breaks(report.records[0], 6)); // odd orientations as Quarvel 1
    EXPECT_TRUE(Breaks(report.records[1], 6)); // easier than the one before it
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
