// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CollectionFile.h"

#include "tests/engine/figures/QuarvelFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {
namespace {

using testing::At;
using testing::CentredSquare;
using F = CollectionFile::Fault;
using R = CollectionFile::RecordFault;

TEST(CollectionFile, EveryRefusalOfBytes)
{
    const auto good = testing::Bytes({CentredSquare()});
    PuzzleRecord stacked = CentredSquare();
    stacked[2] = stacked[1]; // two pieces in one place
    PuzzleRecord corner = CentredSquare();
    corner[5] = At(0, 0, 0); // orientation 0 reaches 7 cells left of its point
    std::vector<std::uint8_t> thousandAndOne;
    for (int i = 0; i < 1001; ++i)
        thousandAndOne.insert(thousandAndOne.end(), good.begin(), good.end());
    std::vector<std::uint8_t> mixed = testing::Bytes({CentredSquare(), stacked, corner, CentredSquare(1, 1)});
    mixed[24 * 3 + 2] = 16;
    mixed.push_back(7);

    struct Row {
        const char* what;
        std::vector<std::uint8_t> bytes;
        F fault;
        std::size_t kept;
        std::vector<CollectionFile::Refusal> refused;
    };
    const std::vector<Row> rows{
        {"empty", {}, F::Empty, 0, {}},
        {"less than a record", std::vector<std::uint8_t>(good.begin(), good.begin() + 23), F::Truncated, 0, {}},
        {"one good record", good, F::None, 1, {}},
        {"more than 1000", thousandAndOne, F::TooMany, 1000, {}},
        {"bad records and a tail", mixed, F::Truncated, 1, {{2, R::Overlapping}, {3, R::OffBoard}, {4, R::BadOrientation}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const CollectionFile::Contents c = CollectionFile::Parse(row.bytes);
        EXPECT_EQ(c.fault, row.fault);
        EXPECT_EQ(c.records.size(), row.kept);
        ASSERT_EQ(c.refused.size(), row.refused.size());
        for (std::size_t i = 0; i < row.refused.size(); ++i) {
            EXPECT_EQ(c.refused[i].number, row.refused[i].number);
            EXPECT_EQ(c.refused[i].fault, row.refused[i].fault);
        }
        EXPECT_EQ(c.Damaged(), row.fault == F::Truncated || row.fault == F::TooMany || !row.refused.empty());
    }
}

TEST(CollectionFile, WhatIsNoFileIsRefusedWithoutWaiting)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zq-collection-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "folder.zqc");
    ASSERT_EQ(::mkfifo((dir / "fifo.zqc").c_str(), 0600), 0);
    EXPECT_EQ(CollectionFile::Read(dir / "folder.zqc").fault, F::NotRegular);
    EXPECT_EQ(CollectionFile::Read(dir / "fifo.zqc").fault, F::NotRegular); // a FIFO without a writer would block
    EXPECT_EQ(CollectionFile::Read(dir / "none.zqc").fault, F::Missing);
    std::ofstream(dir / "locked.zqc") << "x";
    std::filesystem::permissions(dir / "locked.zqc", std::filesystem::perms::none);
    if (::geteuid() != 0)
        EXPECT_EQ(CollectionFile::Read(dir / "locked.zqc").fault, F::Unreadable);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace zq
