// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/GameFile.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zq;

namespace {
// A progress array whose every element is marked, to see which ones were written.
std::array<std::uint8_t, 1001> Marked()
{
    std::array<std::uint8_t, 1001> p{};
    p.fill(0xA5);
    return p;
}
} // namespace

TEST(ReadProgress, ShortFileFillsTheRestWithUntouched)
{
    const std::vector<std::uint8_t> file = {9, 2, 12};
    auto p = Marked();
    ReadProgress(file, 100, p);
    EXPECT_EQ(p[1], 9);
    EXPECT_EQ(p[2], 2);
    EXPECT_EQ(p[3], 12);
    for (int i = 4; i <= 100; ++i)
        ASSERT_EQ(p[static_cast<std::size_t>(i)], 0) << i;
    // Neither the working element nor anything past the library is touched.
    EXPECT_EQ(p[0], 0xA5);
    EXPECT_EQ(p[101], 0xA5);
}

TEST(ReadProgress, EmptyFileClearsEveryQuarvel)
{
    auto p = Marked();
    ReadProgress({}, 1000, p);
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(p[static_cast<std::size_t>(i)], 0) << i;
}

TEST(ReadProgress, ExtraBytesAreIgnored)
{
    std::vector<std::uint8_t> file(2000);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i + 1);
    auto p = Marked();
    ReadProgress(file, 10, p);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(p[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(p[11], 0xA5);
    // A full library takes exactly its 1000 bytes, however long the file.
    ReadProgress(file, 1000, p);
    EXPECT_EQ(p[1000], static_cast<std::uint8_t>(1000));
}

TEST(ReadProgress, CountOutsideTheLibraryRangeStaysInsideTheArray)
{
    const std::vector<std::uint8_t> file(3000, 8);
    auto p = Marked();
    ReadProgress(file, -5, p);
    EXPECT_EQ(p, Marked());
    ReadProgress(file, 5000, p);
    EXPECT_EQ(p[0], 0xA5);
    EXPECT_EQ(p[1000], 8);
}
