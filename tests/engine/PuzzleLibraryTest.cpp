// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PuzzleLibrary.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace zq;
using Result = PuzzleLibrary::LoadResult;

namespace {
std::vector<std::uint8_t> Bytes(std::size_t n)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(i * 7 + i / 24);
    return v;
}
} // namespace

TEST(PuzzleLibrary, CountsWholeRecordsUpToAThousand)
{
    const struct {
        std::size_t bytes;
        int count;
    } cases[] = {{240, 10}, {250, 10}, {24000, 1000}, {24024, 1000}, {30000, 1000}, {24, 1}};
    for (const auto& c : cases) {
        PuzzleLibrary lib;
        EXPECT_EQ(lib.LoadFromBytes(Bytes(c.bytes)), Result::Ok);
        EXPECT_EQ(lib.PuzzleCount, c.count) << c.bytes << " bytes";
    }
}

TEST(PuzzleLibrary, RecordsKeepFileOrderAndByteLayout)
{
    const auto bytes = Bytes(48);
    PuzzleLibrary lib;
    ASSERT_EQ(lib.LoadFromBytes(bytes), Result::Ok);
    EXPECT_EQ(lib[1][1].x, bytes[0]);
    EXPECT_EQ(lib[1][1].y, bytes[1]);
    EXPECT_EQ(lib[1][1].o.value(), bytes[2] & 15);
    EXPECT_EQ(lib[2][8].x, bytes[24 + 21]);
    EXPECT_EQ(lib[2][8].y, bytes[24 + 22]);
}

TEST(PuzzleLibrary, NoWholeRecordIsAFailure)
{
    PuzzleLibrary lib;
    EXPECT_EQ(lib.LoadFromBytes({}), Result::NoRecords);
    EXPECT_EQ(lib.LoadFromBytes(Bytes(23)), Result::NoRecords);
    EXPECT_EQ(lib.PuzzleCount, 0);
}

TEST(PuzzleLibrary, ReadsFilesAndReportsMissingOnes)
{
    const auto dir = std::filesystem::path(::testing::TempDir()) / "zq_library_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "zqvl2.dat";
    {
        std::ofstream out(file, std::ios::binary);
        const auto b = Bytes(24 * 1200 + 5);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    PuzzleLibrary lib;
    EXPECT_EQ(lib.LoadPuzzleLibrary(file), Result::Ok);
    EXPECT_EQ(lib.PuzzleCount, 1000);
    EXPECT_EQ(lib.LoadPuzzleLibrary(dir / "missing.dat"), Result::CannotOpen);
    // Neither a folder nor a FIFO is a data file; the FIFO must not block the start.
    EXPECT_EQ(lib.LoadPuzzleLibrary(dir), Result::CannotOpen);
    ASSERT_EQ(::mkfifo((dir / "fifo.dat").c_str(), 0600), 0);
    EXPECT_EQ(lib.LoadPuzzleLibrary(dir / "fifo.dat"), Result::CannotOpen);
    std::filesystem::remove_all(dir);
}
