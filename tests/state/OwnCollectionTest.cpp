// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/OwnCollection.h"

#include "tests/engine/figures/QuarvelFixtures.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace zq {
namespace {

using testing::At;
using testing::CentredSquare;
using testing::Centred;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

template <typename Bytes> void Put(const std::filesystem::path& p, const Bytes& bytes)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Four 10-cell squares, each split by orientations 0 and 8, at the given square steps; centred.
PuzzleRecord Squares(const std::array<std::array<int, 2>, 4>& at)
{
    PuzzleRecord r;
    for (int k = 0; k < 4; ++k) {
        r[2 * k + 1] = At(10 * at[k][0] + 7, 10 * at[k][1] + 7, 0);
        r[2 * k + 2] = At(10 * at[k][0] + 3, 10 * at[k][1] + 3, 8);
    }
    return Centred(r);
}
PuzzleRecord Bar(bool upright)
{
    return upright ? Squares({{{0, 0}, {0, 1}, {0, 2}, {0, 3}}}) : Squares({{{0, 0}, {1, 0}, {2, 0}, {3, 0}}});
}
PuzzleRecord Ell() { return Squares({{{0, 0}, {0, 1}, {0, 2}, {1, 2}}}); }

class OwnCollectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("zq-own-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
};

TEST_F(OwnCollectionTest, ChangesReachTheFilesAndComeBack)
{
    OwnCollection own(dir / "sub");
    EXPECT_TRUE(own.Load(false).isEmpty()); // nothing made yet is no fault
    QString error;
    ASSERT_TRUE(own.Append(CentredSquare(), QStringLiteral("Box"), false, &error)) << error.toStdString();
    ASSERT_TRUE(own.Append(Bar(false), QStringLiteral(" Long\tbar\n "), false, &error));
    ASSERT_TRUE(own.Append(Ell(), QString(), false, &error));
    ASSERT_TRUE(own.SetProgress(1, 9, false, &error));
    ASSERT_TRUE(own.Move(1, 3, false, &error)); // the box goes last, its name and progress with it
    ASSERT_TRUE(own.Rename(2, QString::fromUtf8("Ecke ü"), false, &error));

    OwnCollection again(dir / "sub");
    EXPECT_TRUE(again.Load(false).isEmpty());
    ASSERT_EQ(again.Count(), 3);
    EXPECT_EQ(again.Record(1), Bar(false));
    EXPECT_EQ(again.Record(3), CentredSquare());
    EXPECT_EQ(again.Name(1), QStringLiteral("Long bar"));
    EXPECT_EQ(again.Name(2), QString::fromUtf8("Ecke ü"));
    EXPECT_EQ(again.Name(3), QStringLiteral("Box"));
    EXPECT_EQ(again.Progress(3), 9);

    // A figure edited again starts afresh; a removed one takes its name and progress with it.
    ASSERT_TRUE(again.Replace(3, Centred(CentredSquare(0, 0)), QStringLiteral("Box"), false, &error));
    EXPECT_EQ(again.Progress(3), 9); // the same figure saved again keeps its progress
    ASSERT_TRUE(again.Replace(3, Bar(true), QStringLiteral("Tower"), false, &error));
    EXPECT_EQ(again.Progress(3), 0);
    ASSERT_TRUE(again.Remove(1, false, &error));
    OwnCollection third(dir / "sub");
    third.Load(true);
    ASSERT_EQ(third.Count(), 2);
    EXPECT_EQ(third.Name(2), QStringLiteral("Tower"));
    EXPECT_FALSE(third.Remove(3, false, &error));
}

TEST_F(OwnCollectionTest, DamagedFileIsKeptAsideAndWhatIsSoundStays)
{
    std::filesystem::create_directories(dir);
    PuzzleRecord offBoard = CentredSquare();
    offBoard[3] = At(90, 60, 0);
    std::vector<std::uint8_t> bytes = testing::Bytes({CentredSquare(), offBoard, Ell()});
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    Put(dir / OwnCollection::FileName, bytes);
    Put(dir / OwnCollection::NamesFileName, std::string("1\town\tBox\tBox\n3\town\tEll\tEll\n"));
    Put(dir / OwnCollection::ProgressFileName, std::vector<std::uint8_t>{8, 1, 12});

    OwnCollection own(dir);
    const QString message = own.Load(false);
    EXPECT_TRUE(message.contains(QStringLiteral("Quarvel 2"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("my-quarvels.zqc.damaged"))) << message.toStdString();
    EXPECT_EQ(FileBytes(dir / "my-quarvels.zqc.damaged"), bytes);
    ASSERT_EQ(own.Count(), 2);
    EXPECT_EQ(own.Name(2), QStringLiteral("Ell"));
    EXPECT_EQ(own.Progress(2), 12);
    EXPECT_EQ(FileBytes(dir / OwnCollection::FileName), testing::Bytes({CentredSquare(), Ell()}));

    // Damaged once more: an older copy is never overwritten.
    Put(dir / OwnCollection::FileName, std::vector<std::uint8_t>(30, 0));
    EXPECT_FALSE(OwnCollection(dir).Load(false).isEmpty());
    EXPECT_EQ(FileBytes(dir / "my-quarvels.zqc.damaged"), bytes);
    EXPECT_EQ(FileBytes(dir / "my-quarvels.zqc.damaged-2").size(), 30U);
}

TEST_F(OwnCollectionTest, WhatIsNotOursIsNeverWrittenOver)
{
    std::filesystem::create_directories(dir / OwnCollection::FileName); // a folder in the file's place
    OwnCollection own(dir);
    EXPECT_TRUE(own.Load(true).contains(QStringLiteral("kein"))) << own.Load(true).toStdString();
    QString error;
    EXPECT_FALSE(own.Append(CentredSquare(), QString(), false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / OwnCollection::FileName));
}

TEST_F(OwnCollectionTest, ReadOnlyFolderLosesNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root; run as a normal user";
    OwnCollection own(dir);
    own.Load(false);
    QString error;
    ASSERT_TRUE(own.Append(CentredSquare(), QStringLiteral("Box"), false, &error));
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::filesystem::permissions(dir / OwnCollection::FileName, std::filesystem::perms::owner_read);
    EXPECT_FALSE(own.Append(Ell(), QStringLiteral("Ell"), false, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("my-quarvels.zqc")));
    EXPECT_EQ(own.Count(), 1);
    EXPECT_EQ(FileBytes(dir / OwnCollection::FileName), testing::Bytes({CentredSquare()}));
}

TEST_F(OwnCollectionTest, ImportRefusesEveryKindOfBadRecordAndSkipsDuplicates)
{
    OwnCollection own(dir);
    own.Load(false);
    QString error;
    ASSERT_TRUE(own.Append(Ell(), QStringLiteral("Corner"), false, &error));
    PuzzleLibrary shipped;
    shipped.PuzzleCount = 1;
    shipped[1] = Bar(true);

    PuzzleRecord stacked = CentredSquare();
    stacked[4] = stacked[3];
    PuzzleRecord offBoard = CentredSquare();
    offBoard[1] = At(0, 0, 0);
    PuzzleRecord apart = CentredSquare(); // two halves twenty cells apart
    for (int j = 1; j <= 4; ++j)
        apart[j] = At(apart[j].x - 10, apart[j].y, apart[j].o.value());
    for (int j = 5; j <= 8; ++j)
        apart[j] = At(apart[j].x + 10, apart[j].y, apart[j].o.value());
    PuzzleRecord row; // eight triangles corner to corner, 80 cells wide
    for (int j = 1; j <= 8; ++j)
        row[j] = At(7 + 10 * j, 30, 0);
    // The L not in the middle is moved there, and is then the one already kept; the
    // tilted squares are refused before the box, of which they would be a turned copy.
    PuzzleRecord ellAside = Ell();
    for (PiecePlacement& p : ellAside.piece)
        p = At(p.x - 20, p.y + 1, p.o.value());
    std::vector<std::uint8_t> bytes = testing::Bytes({testing::TiltedSquares(), stacked, offBoard, CentredSquare(), apart,
                                                      ellAside, Bar(false), row, CentredSquare(), CentredSquare(0, 1)});
    bytes[24 * 3 + 5] = 200; // record 4: an orientation byte out of range
    bytes.push_back(1);      // and half a record at the end
    std::filesystem::create_directories(dir / "in");
    Put(dir / "in" / "gift.zqc", bytes);
    Put(dir / "in" / "gift.names", std::string("9\town\tBox\tKiste\n"));

    const OwnCollection::ImportReport report = own.Import(dir / "in" / "gift.zqc", shipped, false);
    EXPECT_FALSE(report.fileFault);
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.duplicates, 2); // the L shifted, and the box a second time
    EXPECT_EQ(report.refused, 7);
    const QString all = report.reasons.join(QLatin1Char('\n'));
    for (const char* expected : {"cut short", "Quarvel 2 of the file: pieces lie on top", "Quarvel 3 of the file: a piece lies outside",
                                 "Quarvel 4 of the file: a piece has an invalid turn", "Quarvel 5 of the file: piece 5 does not touch",
                                 "Quarvel 7 of the file: this figure is Quarvel 1 turned", "Quarvel 8 of the file: the figure is too wide",
                                 "Quarvel 1 of the file: the same outline can be laid another way"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected << "\n" << all.toStdString();
    ASSERT_EQ(own.Count(), 2);
    EXPECT_EQ(own.Record(2), CentredSquare());
    EXPECT_EQ(own.Name(2), QStringLiteral("Box"));

    // Shared the other way: exported with the name, read into a fresh collection.
    ASSERT_TRUE(own.Export(dir / "out.zqc", {2, 1}, false, &error));
    OwnCollection fresh(dir / "fresh");
    fresh.Load(true);
    const OwnCollection::ImportReport back = fresh.Import(dir / "out.zqc", shipped, true);
    EXPECT_EQ(back.added, 2);
    EXPECT_EQ(fresh.Name(1), QStringLiteral("Box"));
    EXPECT_EQ(fresh.Record(2), Ell());

    for (const auto& bad : {dir / "none.zqc", dir / "in"}) {
        const OwnCollection::ImportReport r = own.Import(bad, shipped, false);
        EXPECT_TRUE(r.fileFault);
        EXPECT_TRUE(r.reasons.join(' ').contains(QString::fromStdString(bad.filename().string())));
    }
}

} // namespace
} // namespace zq
