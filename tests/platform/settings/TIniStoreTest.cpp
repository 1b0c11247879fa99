// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/TIniStore.h"
#include "tests/platform/settings/CrowdedSettingsText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using zq::SettingsError;
using zq::TIniStore;

namespace {

const std::string Key = "[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]";

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

template <typename F>
std::string MessageOf(F&& f)
{
    try {
        f();
    } catch (const SettingsError& e) {
        return e.what();
    }
    return "(no error)";
}

class TIniStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::path(::testing::TempDir()) / "zq-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        folder = root / "zibble-quarvel";
        file = folder / "settings.reg";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    TIniStore Store() const { return TIniStore(file); }

    fs::path root, folder, file;
};

TEST_F(TIniStoreTest, FirstRunReadsDefaultsAndCreatesNothing)
{
    auto ini = Store();
    EXPECT_EQ(ini.ReadString("common", "save", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("common", "level", -7), -7);
    EXPECT_TRUE(ini.ReadBool("common", "sound", true));
    EXPECT_FALSE(ini.ReadBool("common", "sound", false));
    ini.DeleteValue("Common", "MainFormColor");
    EXPECT_FALSE(fs::exists(folder));

    // An existing file without the section creates nothing either.
    fs::create_directories(folder);
    Put(file, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Other]\n\"a\"=\"1\"\n\n");
    const auto before = Slurp(file);
    EXPECT_EQ(ini.ReadInteger("common", "a", 3), 3);
    ini.DeleteValue("common", "a");
    EXPECT_EQ(Slurp(file), before);
    EXPECT_FALSE(fs::exists(folder / "settings.reg.lock"));
}

TEST_F(TIniStoreTest, EveryWriteIsAStringInRegistryExportForm)
{
    auto ini = Store();
    ini.WriteBool("common", "sound", true);
    ini.WriteBool("common", "tongue", false);
    ini.WriteInteger("common", "level", -1);
    ini.WriteInteger("common", "pleft", 42);
    ini.WriteString("common", "save", "/home/p/a \"b\" c\\d.zqv");
    ini.WriteString("other", "x", "");
    EXPECT_EQ(Slurp(file), "REGEDIT4\n\n" + Key +
                               "\n\"sound\"=\"1\"\n\"tongue\"=\"0\"\n\"level\"=\"-1\"\n\"pleft\"=\"42\"\n"
                               "\"save\"=\"/home/p/a \\\"b\\\" c\\\\d.zqv\"\n\n"
                               "[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\other]\n"
                               "\"x\"=\"\"\n\n");
    EXPECT_EQ(ini.ReadInteger("common", "level", 0), -1);
    EXPECT_TRUE(ini.ReadBool("common", "sound", false));
    EXPECT_FALSE(ini.ReadBool("common", "tongue", true));
    EXPECT_EQ(ini.ReadString("common", "save", ""), "/home/p/a \"b\" c\\d.zqv");
    EXPECT_EQ(ini.ReadString("other", "x", "def"), "");

    ini.WriteInteger("common", "level", INT_MIN);
    EXPECT_EQ(ini.ReadString("common", "level", ""), "-2147483648");
    EXPECT_EQ(ini.ReadInteger("common", "level", 0), INT_MIN);
}

TEST_F(TIniStoreTest, IntegerAndBooleanConversion)
{
    auto ini = Store();
    const std::pair<const char*, int> cases[] = {
        {"42", 42},           {"  42", 42},         {"+7", 7},           {"-0", 0},
        {"007", 7},           {"$ff", 255},         {"0x1F", 31},        {"0XfF", 255},
        {"-$10", -16},        {" -0x10", -16},      {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN}, {"-$80000000", INT_MIN}, {"$7fffffff", INT_MAX},
    };
    for (const auto& [text, expected] : cases) {
        ini.WriteString("common", "n", text);
        EXPECT_EQ(ini.ReadInteger("common", "n", 99), expected) << text;
    }
    const char* rejected[] = {"", " ", "42 ", "4a", "abc", "+", "-", "$", "0x", "1 2", "\t1", "- 1",
                              "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "99999999999999999999",
                              "0x-1", "1.0", "1e3", "٣"};
    for (const char* text : rejected) {
        ini.WriteString("common", "n", text);
        EXPECT_EQ(ini.ReadInteger("common", "n", 99), 99) << '"' << text << '"';
    }
    const std::pair<const char*, bool> bools[] = {{"1", true}, {"2", true}, {"-1", true}, {"0", false}, {"$0", false}};
    for (const auto& [text, expected] : bools) {
        ini.WriteString("common", "b", text);
        EXPECT_EQ(ini.ReadBool("common", "b", !expected), expected) << text;
    }
    for (const char* text : {"", "true", "yes", "1x"}) {
        ini.WriteString("common", "b", text);
        EXPECT_TRUE(ini.ReadBool("common", "b", true)) << text;
        EXPECT_FALSE(ini.ReadBool("common", "b", false)) << text;
    }
}

TEST_F(TIniStoreTest, NonStringValuesRaiseUntilRewritten)
{
    fs::create_directories(folder);
    Put(file, "REGEDIT4\n\n" + Key +
                  "\n\"level\"=dword:0000002a\n\"bin\"=hex:01,02\n\"multi\"=hex(7):41,00,00\n"
                  "\"path\"=hex(2):25,48,4f,4d,45,25,2f,78,00\n\"nul\"=hex(1):61,62,00,63,64,00\n"
                  "\"empty\"=hex(1):\n\n");
    auto ini = Store();
    EXPECT_EQ(MessageOf([&] { ini.ReadInteger("common", "level", 0); }), "Ungültiger Datentyp für 'level'");
    EXPECT_EQ(MessageOf([&] { ini.ReadString("common", "BIN", ""); }), "Ungültiger Datentyp für 'BIN'");
    EXPECT_EQ(MessageOf([&] { ini.ReadBool("common", "multi", false); }), "Ungültiger Datentyp für 'multi'");
    // An expandable string is taken as it stands; text ends at the first NUL.
    EXPECT_EQ(ini.ReadString("common", "path", ""), "%HOME%/x");
    EXPECT_EQ(ini.ReadString("common", "nul", ""), "ab");
    EXPECT_EQ(ini.ReadString("common", "empty", "def"), "");

    ini.WriteInteger("common", "level", 5);
    EXPECT_EQ(ini.ReadInteger("common", "level", 0), 5);
    const auto text = Slurp(file);
    EXPECT_NE(text.find("\"level\"=\"5\"\n\"bin\"=hex:01,02\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("dword"), std::string::npos);
}

TEST_F(TIniStoreTest, TextsThatCannotBeQuotedAreStoredAsHex)
{
    auto ini = Store();
    ini.WriteString("common", "nul", std::string("left\0right", 10));
    EXPECT_NE(Slurp(file).find("\"nul\"=hex(1):6c,65,66,74,00,72,69,67,68,74,00\n"), std::string::npos);
    EXPECT_EQ(ini.ReadString("common", "nul", ""), "left");

    // Line breaks would split the entry; long data wraps over continuation lines.
    std::string multi = "line one\r\nline two\n";
    for (int i = 0; i < 20; ++i)
        multi += "more text with \"quotes\" and \\ backslashes\n";
    ini.WriteString("common", "multi", multi);
    ini.WriteString("common", "after", "still here");
    EXPECT_EQ(ini.ReadString("common", "multi", ""), multi);
    EXPECT_EQ(ini.ReadString("common", "after", ""), "still here");
    EXPECT_NE(Slurp(file).find(",\\\n  "), std::string::npos);
}

TEST_F(TIniStoreTest, SectionsAndNamesMatchWithoutCaseKeepingFirstSpelling)
{
    auto ini = Store();
    ini.WriteString("common", "Save", "a");
    ini.WriteString("Common", "MainForm", "200,0,1,0,0,10,10");
    ini.WriteString("COMMON", "save", "b");
    EXPECT_EQ(ini.ReadString("cOmMoN", "SAVE", ""), "b");
    EXPECT_EQ(ini.ReadString("common", "mainform", ""), "200,0,1,0,0,10,10");
    EXPECT_EQ(Slurp(file), "REGEDIT4\n\n" + Key + "\n\"Save\"=\"b\"\n\"MainForm\"=\"200,0,1,0,0,10,10\"\n\n");
    ini.DeleteValue("Common", "SAVE");
    EXPECT_EQ(ini.ReadString("common", "save", "gone"), "gone");

    // A new section below a base key spelt otherwise in the file takes that spelling.
    Put(file, "REGEDIT4\n\n[hkey_current_user\\software\\zibblegames]\n\n");
    ini.WriteString("Common", "x", "1");
    EXPECT_NE(Slurp(file).find("[hkey_current_user\\software\\zibblegames\\ZibbleQuarvel\\V2\\Common]"),
              std::string::npos);
    EXPECT_EQ(ini.ReadString("common", "X", ""), "1");
}

TEST_F(TIniStoreTest, DeleteValueRemovesOnlyThatValue)
{
    auto ini = Store();
    ini.WriteString("Common", "MainForm", "x");
    ini.WriteString("Common", "MainFormFont", "y");
    const auto before = Slurp(file);
    ini.DeleteValue("Common", "MainFormColor");
    ini.DeleteValue("nosuchsection", "MainForm");
    EXPECT_EQ(Slurp(file), before);
    ini.DeleteValue("common", "mainformfont");
    EXPECT_EQ(ini.ReadString("Common", "MainFormFont", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("Common", "MainForm", ""), "x");
}

TEST_F(TIniStoreTest, ForeignAndDamagedContentSurvivesRewrites)
{
    fs::create_directories(folder);
    const std::string foreign = "[HKEY_CURRENT_USER\\Software\\Another\\Program]\r\n"
                                "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
                                "  16,17,18\r\n"
                                "\"Odd\"=dword:000000FF\r\n"
                                "@=\"default value\"\r\n";
    const std::string ours = Key + "\r\n"
                             "this line is garbage\r\n"
                             "\"broken\"=hex:zz,\\\r\n"
                             "  01,02\r\n"
                             "\"tongue\"=\"1\"\r\n"
                             "\"unterminated=\"x\r\n"
                             "\"cut\"=hex(1):41,\\\r\n";
    Put(file, "REGEDIT4\r\n\r\n; kept comment\r\n\r\n" + foreign + "\r\n" + ours);
    auto ini = Store();
    EXPECT_EQ(ini.ReadInteger("common", "tongue", 0), 1);
    EXPECT_EQ(ini.ReadString("common", "broken", "def"), "def");
    EXPECT_EQ(ini.ReadString("common", "cut", "def"), "def");

    ini.WriteInteger("common", "tongue", 0);
    ini.WriteString("common", "sound", "1");
    // Foreign keys stay byte for byte, damaged lines stay where they were, and the
    // file keeps its line ends.
    EXPECT_EQ(Slurp(file), "REGEDIT4\r\n; kept comment\r\n\r\n" + foreign + "\r\n" + Key +
                               "\r\n"
                               "this line is garbage\r\n"
                               "\"broken\"=hex:zz,\\\r\n"
                               "  01,02\r\n"
                               "\"tongue\"=\"0\"\r\n"
                               "\"unterminated=\"x\r\n"
                               "\"cut\"=hex(1):41,\\\r\n"
                               "\"sound\"=\"1\"\r\n\r\n");
}

TEST_F(TIniStoreTest, WritesLeaveNoTemporaryFilesAndKeepLinks)
{
    auto ini = Store();
    for (int i = 0; i < 20; ++i)
        ini.WriteInteger("common", "level", i);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));

    // A settings file kept as a link elsewhere is updated through the link.
    const auto real = root / "real.reg";
    fs::rename(file, real);
    fs::create_symlink(real, file);
    ini.WriteInteger("common", "level", 77);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(TIniStore(real).ReadInteger("common", "level", 0), 77);

    // Root rewriting a player's settings leaves them the player's.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(real.c_str(), 65534, 65534), 0);
        ini.WriteInteger("common", "level", 78);
        EXPECT_EQ(fs::status(real).type(), fs::file_type::regular);
        struct stat st {};
        EXPECT_TRUE(::stat(real.c_str(), &st) == 0 && st.st_uid == 65534 && st.st_gid == 65534);
    }
}

TEST_F(TIniStoreTest, FailuresRaiseTheGermanMessages)
{
    // A plain file where the folder should be: neither folder nor key can be made.
    Put(root / "blocker", "x");
    TIniStore blocked(root / "blocker" / "settings.reg");
    EXPECT_EQ(blocked.ReadString("common", "save", "d"), "d");
    EXPECT_EQ(MessageOf([&] { blocked.WriteString("common", "save", "x"); }),
              "Erzeugung von Schlüssel common mißlungen");
    EXPECT_NO_THROW(blocked.DeleteValue("common", "save"));

    // Something that opens but cannot be read as a file: a folder, or a FIFO,
    // whose open or read would wait for a writer for ever.
    fs::create_directories(file);
    auto ini = Store();
    for (const fs::file_type kind : {fs::file_type::directory, fs::file_type::fifo}) {
        if (kind == fs::file_type::fifo) {
            ASSERT_TRUE(fs::remove(file) && ::mkfifo(file.c_str(), 0600) == 0);
        }
        EXPECT_EQ(MessageOf([&] { ini.ReadString("common", "save", ""); }), "Fehler beim Holen der Daten für 'save'");
        EXPECT_EQ(MessageOf([&] { ini.WriteString("common", "save", "x"); }), "Fehler beim Setzen der Daten für 'save'");
        EXPECT_EQ(fs::status(file).type(), kind);
    }

    // Names that cannot go into the file.
    fs::remove(file);
    EXPECT_EQ(MessageOf([&] { ini.WriteString("common", "a\nb", "x"); }), "Fehler beim Setzen der Daten für 'a\nb'");
    EXPECT_EQ(MessageOf([&] { ini.WriteString("com\nmon", "a", "x"); }), "Erzeugung von Schlüssel com\nmon mißlungen");
}

TEST_F(TIniStoreTest, ReadOnlyFolderRaisesAndKeepsTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    auto ini = Store();
    ini.WriteString("common", "save", "old");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(MessageOf([&] { ini.WriteString("common", "save", "new"); }),
              "Erzeugung von Schlüssel common mißlungen");
    EXPECT_EQ(ini.ReadString("common", "save", ""), "old");
}

TEST_F(TIniStoreTest, ReadOnlyFileRaisesAndKeepsTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    auto ini = Store();
    ini.WriteString("common", "save", "old");
    const std::string before = Slurp(file);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(MessageOf([&] { ini.WriteString("common", "save", "new"); }), "Fehler beim Setzen der Daten für 'save'");
    EXPECT_NO_THROW(ini.DeleteValue("common", "save"));
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read);
    EXPECT_EQ(ini.ReadString("common", "save", ""), "old");
}

TEST_F(TIniStoreTest, ConcurrentWritersLoseNothing)
{
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([this, t] {
            auto ini = Store();
            for (int i = 0; i < 25; ++i)
                ini.WriteInteger("common", "v" + std::to_string(t) + "_" + std::to_string(i), t * 100 + i);
        });
    for (auto& w : writers)
        w.join();
    auto ini = Store();
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(ini.ReadInteger("common", "v" + std::to_string(t) + "_" + std::to_string(i), -1), t * 100 + i);
}

TEST_F(TIniStoreTest, BigFilesAndMegabyteValuesKeepEveryValue)
{
    fs::create_directories(folder);
    const std::string text = zq::test::CrowdedSettingsText();
    Put(file, text);
    auto ini = Store();
    const std::string mega(1 << 20, 'q');
    ini.WriteString("common", "big", mega);
    ini.WriteString("common", "bigNul", mega + '\0' + "tail");
    EXPECT_EQ(ini.ReadString("common", "big", ""), mega);
    EXPECT_EQ(ini.ReadString("common", "bignul", ""), mega);
    ini.WriteInteger("common", "level", 3);
    EXPECT_EQ(ini.ReadInteger("common", "level", 0), 3);
    EXPECT_EQ(TIniStore(file).ReadString("Other\\Key99", "value49", ""), "");
    TIniStore other(file);
    other.RegPath = "Software\\Other";
    EXPECT_EQ(other.ReadString("Key99", "value49", ""), "some text for value 49");
    // How long such calls take is measured by settings_bench, not here.
}

TEST(TIniStoreDefaults, FileFollowsTheConfigFolder)
{
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(TIniStore().FileName(), fs::path("/tmp/xdg/zibble-quarvel/settings.reg"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/player", 1);
    EXPECT_EQ(TIniStore::DefaultFileName(), fs::path("/home/player/.config/zibble-quarvel/settings.reg"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TIniStore::DefaultFileName(), fs::path("/home/player/.config/zibble-quarvel/settings.reg"));
    if (oldXdg)
        ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
