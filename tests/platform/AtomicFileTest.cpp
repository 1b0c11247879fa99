// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zq;
namespace fs = std::filesystem;

namespace {
std::vector<std::uint8_t> Contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct AtomicFileTest : ::testing::Test {
    fs::path dir = fs::path(::testing::TempDir()) / ("zq_atomic_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
};
} // namespace

TEST_F(AtomicFileTest, ReplacesContentsKeepsPermissionsAndLeavesNoTemporary)
{
    const fs::path file = dir / "game.zqv";
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<std::uint8_t>{1, 2, 3}));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<std::uint8_t>{9}));
    EXPECT_EQ(Contents(file), std::vector<std::uint8_t>{9});
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "x.zqv", std::vector<std::uint8_t>{1}));
}

TEST_F(AtomicFileTest, DeviceTargetsAreWrittenInPlaceAndAFullOneFails)
{
    // Renaming over /dev/full would replace the device; writing to it must fail instead.
    EXPECT_FALSE(WriteFileAtomically("/dev/full", std::vector<std::uint8_t>(100, 7)));
    EXPECT_TRUE(WriteFileAtomically("/dev/null", std::vector<std::uint8_t>(100, 7)));
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(AtomicFileTest, KilledWriterLeavesTheOldOrTheNewFileNeverAMix)
{
    const fs::path file = dir / "progress.zqv";
    const std::vector<std::uint8_t> a(4 << 20, 'a'), b(4 << 20, 'b');
    ASSERT_TRUE(WriteFileAtomically(file, a));
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                WriteFileAtomically(file, i % 2 ? a : b);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::vector<std::uint8_t> now = Contents(file);
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}
