// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/DataDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace zq;
namespace fs = std::filesystem;

namespace {
// A prefix with a bin/ folder and a share/zibble-quarvel/ folder, as an installation lays them out.
struct DataDirTest : ::testing::Test {
    fs::path prefix = fs::path(::testing::TempDir()) / ("zq_datadir_" + std::to_string(::getpid()));
    fs::path bin = prefix / "bin";
    fs::path share = prefix / "share" / "zibble-quarvel";
    void SetUp() override
    {
        fs::create_directories(bin);
        fs::create_directories(share);
    }
    void TearDown() override { fs::remove_all(prefix); }
    static void Touch(const fs::path& file) { std::ofstream(file) << "x"; }
};
} // namespace

TEST_F(DataDirTest, DataBesideTheProgramWinsOverTheSharedFolder)
{
    Touch(bin / "zqvl2.dat");
    Touch(share / "zqvl2.dat");
    EXPECT_EQ(DataDirFor(bin), bin.string() + "/");
    EXPECT_EQ(DataDirFor(bin.string() + "/"), bin.string() + "/"); // no doubled separator
}

TEST_F(DataDirTest, InstalledProgramReadsFromTheSharedFolder)
{
    Touch(share / "zqvl2.dat");
    EXPECT_EQ(DataDirFor(bin), share.string() + "/");
}

TEST_F(DataDirTest, WithoutDataFileTheProgramFolderIsNamed)
{
    EXPECT_EQ(DataDirFor(bin), bin.string() + "/");
    // Only the data file counts: a help file or a folder of that name is not enough.
    Touch(share / "ZQVL2.HLP");
    fs::create_directories(bin / "zqvl2.dat");
    EXPECT_EQ(DataDirFor(bin), bin.string() + "/");
}

TEST_F(DataDirTest, UnreadableOrMissingFoldersDoNotThrow)
{
    EXPECT_EQ(DataDirFor(prefix / "gone"), (prefix / "gone").string() + "/");
    EXPECT_EQ(DataDirFor(fs::path()), "./");
    if (::geteuid() != 0) { // root reads through permissions
        Touch(share / "zqvl2.dat");
        fs::permissions(prefix / "share", fs::perms::none);
        EXPECT_NO_THROW(EXPECT_EQ(DataDirFor(bin), bin.string() + "/"));
        fs::permissions(prefix / "share", fs::perms::owner_all);
    }
}
