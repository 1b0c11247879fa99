// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
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

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

fs::perms Mode(const fs::path& file)
{
    return fs::status(file).permissions() & fs::perms::all;
}

std::size_t EntryCount(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

struct AtomicFileTest : ::testing::Test {
    fs::path dir = fs::path(::testing::TempDir()) / ("zq_atomic_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override
    {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir, ec))
            if (e.is_directory(ec) && !e.is_symlink(ec))
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
};

// Permissions do not bind root; CTest runs these again as an unprivileged user.
#define SKIP_AS_ROOT()                                                                                                \
    if (::geteuid() == 0)                                                                                              \
    GTEST_SKIP() << "permissions do not bind root"
} // namespace

// Counts the calls of umask in this program, passing them on to the system.
std::atomic<int> umaskCalls{0};
extern "C" mode_t umask(mode_t mask) noexcept
{
    ++umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

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

TEST_F(AtomicFileTest, AnythingButARegularFileIsRefusedWithoutBlockingAndKept)
{
    // A FIFO without a reader would block a plain open for ever; a rename would replace any of them.
    ASSERT_EQ(::mkfifo((dir / "fifo.zqv").c_str(), 0666), 0);
    fs::create_directory(dir / "folder.zqv");
    for (const fs::path& target : {fs::path("/dev/null"), fs::path("/dev/full"), dir / "fifo.zqv", dir / "folder.zqv"}) {
        const fs::file_type kind = fs::status(target).type();
        EXPECT_FALSE(WriteFileAtomically(target, std::vector<std::uint8_t>(100, 7))) << target;
        EXPECT_EQ(fs::status(target).type(), kind) << target;
    }
}

// Only root can plant a link owned by someone else, or save another user's file.
TEST_F(AtomicFileTest, OthersLinksInAStickySharedFolderAreNotFollowedAndOwnersAreKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a second user";
    const fs::path shared = dir / "tmp";
    fs::create_directory(shared);
    ::chmod(shared.c_str(), 01777);
    ASSERT_TRUE(WriteFileAtomically(dir / "own.zqv", Bytes("mine")));
    fs::create_symlink(dir / "own.zqv", shared / "planted.zqv");
    ASSERT_EQ(::lchown((shared / "planted.zqv").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(WriteFileAtomically(shared / "planted.zqv", Bytes("progress")));
    EXPECT_EQ(Contents(dir / "own.zqv"), Bytes("mine"));
    // Our own link there is followed; the player's file stays the player's.
    ASSERT_EQ(::lchown((shared / "planted.zqv").c_str(), 0, 0), 0);
    ASSERT_EQ(::chown((dir / "own.zqv").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(WriteFileAtomically(shared / "planted.zqv", Bytes("progress")));
    EXPECT_EQ(Contents(dir / "own.zqv"), Bytes("progress"));
    struct stat st {};
    EXPECT_TRUE(::stat((dir / "own.zqv").c_str(), &st) == 0 && st.st_uid == 65534 && st.st_gid == 65534);
}

TEST_F(AtomicFileTest, LeftoversOfAKilledWriterGoButNothingElse)
{
    const fs::path file = dir / "g.zqv";
    const auto make = [&](const std::string& name, std::size_t size) {
        std::ofstream(dir / name, std::ios::binary) << std::string(size, 'x');
    };
    make("g.zqv.saving-Ab3dE9", 3);   // ours: left by a killed save
    make("g.zqv.saving-Zz0000", 3);   // ours too
    make("g.zqv.backup", 3);          // the player's
    make("g.zqv.saving-Ab3dE", 3);    // one letter short
    make("g.zqv.saving-Ab3dE!", 3);   // not our letters
    make("h.zqv.saving-Ab3dE9", 3);   // another file's
    make("g.zqv.saving-Qq1111", 500); // larger than anything we wrote there
    ASSERT_TRUE(WriteFileAtomically(file, Bytes("new")));
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"g.zqv", "g.zqv.backup", "g.zqv.saving-Ab3dE", "g.zqv.saving-Ab3dE!",
                                              "g.zqv.saving-Qq1111", "h.zqv.saving-Ab3dE9"}));
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

TEST_F(AtomicFileTest, ReadOnlyFileIsRefusedAndKept)
{
    SKIP_AS_ROOT();
    const fs::path file = dir / "game.zqv";
    ASSERT_TRUE(WriteFileAtomically(file, Bytes("old")));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteFileAtomically(file, Bytes("new")));
    EXPECT_EQ(Contents(file), Bytes("old"));
    EXPECT_EQ(Mode(file), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(EntryCount(dir), 1U) << "no temporary left behind";

    // Reached through a link, it is refused just the same.
    fs::create_symlink("game.zqv", dir / "link.zqv");
    EXPECT_FALSE(WriteFileAtomically(dir / "link.zqv", Bytes("new")));
    EXPECT_EQ(Contents(file), Bytes("old"));
}

TEST_F(AtomicFileTest, ReadOnlyFolderWritesAWritableFileInPlace)
{
    SKIP_AS_ROOT();
    const fs::path ro = dir / "ro";
    fs::create_directories(ro);
    ASSERT_TRUE(WriteFileAtomically(ro / "game.zqv", Bytes("old old old")));
    ASSERT_TRUE(WriteFileAtomically(ro / "locked.zqv", Bytes("kept")));
    fs::permissions(ro / "game.zqv", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(ro / "locked.zqv", fs::perms::owner_read);
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);

    // Shorter contents: what is beyond them goes.
    EXPECT_TRUE(WriteFileAtomically(ro / "game.zqv", Bytes("new")));
    EXPECT_EQ(Contents(ro / "game.zqv"), Bytes("new"));
    EXPECT_EQ(Mode(ro / "game.zqv"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(WriteFileAtomically(ro / "game.zqv", Bytes("longer than before")));
    EXPECT_EQ(Contents(ro / "game.zqv"), Bytes("longer than before"));

    // A plain write fails here too: no new file, no read-only one replaced.
    EXPECT_FALSE(WriteFileAtomically(ro / "new.zqv", Bytes("x")));
    EXPECT_FALSE(WriteFileAtomically(ro / "locked.zqv", Bytes("x")));
    EXPECT_EQ(Contents(ro / "locked.zqv"), Bytes("kept"));
    EXPECT_EQ(EntryCount(ro), 2U);
}

TEST_F(AtomicFileTest, NewFilesTakeTheUmaskWhichStaysUntouched)
{
    const mode_t before = ::umask(027);
    umaskCalls = 0;
    EXPECT_TRUE(WriteFileAtomically(dir / "a.zqv", Bytes("a")));
    EXPECT_TRUE(WriteFileAtomically(dir / "a.zqv", Bytes("b")));
    EXPECT_EQ(umaskCalls, 0) << "the mask is the whole process's, and other threads create files meanwhile";
    ::umask(before);
    EXPECT_EQ(Mode(dir / "a.zqv"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFileTest, LongestNamesAreWrittenAndReplaced)
{
    // Up to the file system's limit of 255 bytes, also where the cut would fall inside a character.
    const std::string umlaut = "\xC3\xBC";
    const std::vector<std::string> names = {std::string(245, 'g') + ".zqv", std::string(248, 'g') + ".zqv",
                                            std::string(251, 'g') + ".zqv", std::string(125, 'g') + [&] {
                                                std::string u;
                                                for (int i = 0; i < 63; ++i)
                                                    u += umlaut;
                                                return u;
                                            }() + ".zqv"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.size());
        ASSERT_LE(name.size(), 255U);
        ASSERT_TRUE(WriteFileAtomically(dir / name, Bytes("old")));
        ASSERT_TRUE(WriteFileAtomically(dir / name, Bytes("new")));
        EXPECT_EQ(Contents(dir / name), Bytes("new"));
        EXPECT_EQ(EntryCount(dir), 1U);
        fs::remove(dir / name);
    }
    // One byte more is too long for a plain write as well.
    EXPECT_FALSE(WriteFileAtomically(dir / (std::string(252, 'g') + ".zqv"), Bytes("x")));
    EXPECT_EQ(EntryCount(dir), 0U);
}

TEST_F(AtomicFileTest, LinksAreFollowedAndStayLinks)
{
    fs::create_directories(dir / "elsewhere");
    const fs::path real = dir / "elsewhere" / "real.zqv";
    ASSERT_TRUE(WriteFileAtomically(real, Bytes("old")));
    fs::create_symlink("elsewhere/real.zqv", dir / "relative.zqv");
    fs::create_symlink(dir / "relative.zqv", dir / "chain.zqv");

    for (const char* link : {"relative.zqv", "chain.zqv"}) {
        SCOPED_TRACE(link);
        ASSERT_TRUE(WriteFileAtomically(dir / link, Bytes(link)));
        EXPECT_TRUE(fs::is_symlink(dir / link));
        EXPECT_EQ(Contents(real), Bytes(link));
    }
    EXPECT_EQ(EntryCount(dir / "elsewhere"), 1U) << "the temporary goes beside the real file";

    // A link to a file not made yet: the file is made where it points.
    fs::create_symlink("elsewhere/later.zqv", dir / "dangling.zqv");
    ASSERT_TRUE(WriteFileAtomically(dir / "dangling.zqv", Bytes("made")));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.zqv"));
    EXPECT_EQ(Contents(dir / "elsewhere" / "later.zqv"), Bytes("made"));

    // A loop cannot be written and stays as it was.
    fs::create_symlink("loop-b.zqv", dir / "loop-a.zqv");
    fs::create_symlink("loop-a.zqv", dir / "loop-b.zqv");
    EXPECT_FALSE(WriteFileAtomically(dir / "loop-a.zqv", Bytes("x")));
    EXPECT_TRUE(fs::is_symlink(dir / "loop-a.zqv"));
    EXPECT_EQ(EntryCount(dir), 6U);
}
