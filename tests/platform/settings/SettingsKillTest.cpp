// SPDX-License-Identifier: GPL-3.0-or-later
// A game killed while it writes its settings must leave the file as it was
// before or after that write, never cut short or mixed.
#include "platform/settings/TIniStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using zq::TIniStore;

namespace {
std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

TEST(SettingsKill, KilledWriterLeavesTheOldOrTheNewFile)
{
    std::string pattern = (fs::path(::testing::TempDir()) / "zq-kill-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    const fs::path file = root / "zibble-quarvel" / "settings.reg";

    // Two values large enough that writing one takes a while; the writer swaps between them.
    const std::string a(256 << 10, 'a'), b(256 << 10, 'b');
    TIniStore ini(file);
    ini.WriteInteger("common", "level", 7);
    ini.WriteString("common", "save", b);
    const std::string withB = Slurp(file);
    ini.WriteString("common", "save", a);
    const std::string withA = Slurp(file);
    ASSERT_NE(withA, withB);

    int sawA = 0, sawB = 0;
    for (int round = 0; round < 24; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TIniStore writer(file);
            for (int i = 0;; ++i)
                writer.WriteString("common", "save", i % 2 ? a : b);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + 5 * round));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = Slurp(file);
        ASSERT_TRUE(now == withA || now == withB) << "round " << round << ": " << now.size() << " bytes";
        const std::string save = TIniStore(file).ReadString("common", "save", "");
        (save == a ? sawA : sawB)++;
        EXPECT_EQ(TIniStore(file).ReadInteger("common", "level", 0), 7);
    }
    // A writer killed before its rename leaves its temporary beside the file;
    // the next write, under the lock, clears them away.
    const auto temporaries = [&] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (name != "settings.reg" && name != "settings.reg.lock") {
                EXPECT_EQ(name.rfind("settings.reg.tmp-", 0), 0u) << name;
                ++n;
            }
        }
        return n;
    };
    const int left = temporaries();
    // One planted for certain, beside files of other names that must stay.
    std::ofstream(file.parent_path() / "settings.reg.tmp-Ab12Cd") << "stale";
    std::ofstream(file.parent_path() / "settings.reg.tmp-notours") << "kept";
    std::ofstream(root / "settings.reg.tmp-Ef34Gh") << "another folder";
    // No lock is left held by the dead writers either.
    ini.WriteInteger("common", "level", 8);
    EXPECT_EQ(ini.ReadInteger("common", "level", 0), 8);
    EXPECT_FALSE(fs::exists(file.parent_path() / "settings.reg.tmp-Ab12Cd"));
    EXPECT_TRUE(fs::exists(file.parent_path() / "settings.reg.tmp-notours"));
    EXPECT_TRUE(fs::exists(root / "settings.reg.tmp-Ef34Gh"));
    fs::remove(file.parent_path() / "settings.reg.tmp-notours");
    EXPECT_EQ(temporaries(), 0);
    std::cout << "[ figures  ] 24 killed writers: old or new value, " << sawA << " / " << sawB << "; " << left
              << " temporaries left, cleared by the next write\n";
    std::error_code ec;
    fs::remove_all(root, ec);
}
