// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file of any content, then a run of the store's seven operations
// on it. Sections, names and texts are cut from the file itself, so they often
// name what the file holds. SettingsError is an expected answer; any other
// exception, a crash or a written value that does not read back is a finding.
#include "platform/settings/RegDocument.h"
#include "platform/settings/SettingsError.h"
#include "platform/settings/TIniStore.h"
#include "tests/fuzz/FuzzRequire.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

using namespace zq;
using zq::fuzz::Require;
namespace fs = std::filesystem;

namespace {


// One folder per fuzzing process, below ZQ_FUZZ_SCRATCH when the runner sets
// it (a folder in memory, since the store syncs every write), else in /tmp;
// removed when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* base = std::getenv("ZQ_FUZZ_SCRATCH");
        path_ = (base && *base ? fs::path(base) : fs::temp_directory_path()) /
                ("zq-settings-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// A piece of the file's text, or one of the names the game uses.
std::string Pick(FuzzedDataProvider& in, const std::string& text)
{
    static constexpr const char* Known[] = {"common", "save", "tongue", "MainForm", ""};
    const auto choice = in.ConsumeIntegral<std::uint8_t>();
    if (choice < 64 || text.empty())
        return Known[choice % std::size(Known)];
    const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, text.size() - 1);
    return text.substr(at, in.ConsumeIntegralInRange<std::size_t>(0, 24));
}

// Names match without regard to ASCII case.
std::string Folded(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// What reading a value gives: its text, or the message it is refused with.
std::string Outcome(const TIniStore& ini, const std::string& section, const std::string& name)
{
    try {
        return "value " + ini.ReadString(section, name, "\x01");
    } catch (const SettingsError& e) {
        return std::string("error ") + e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder scratch;
    FuzzedDataProvider in(data, size);
    const int operations = in.ConsumeIntegralInRange(1, 8);
    struct Operation {
        int kind;
        std::uint8_t section, name, text;
        std::int32_t number;
    };
    std::vector<Operation> ops;
    for (int i = 0; i < operations; ++i)
        ops.push_back({in.ConsumeIntegralInRange(0, 6), 0, 0, 0, in.ConsumeIntegral<std::int32_t>()});
    // What is left of the end picks the names; the front is the file.
    const std::size_t pickBytes = std::min<std::size_t>(in.remaining_bytes() / 2, static_cast<std::size_t>(operations) * 12);
    const std::string file = in.ConsumeBytesAsString(in.remaining_bytes() - pickBytes);

    const fs::path path = scratch.Path() / "settings.reg";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    TIniStore ini(path);
    for (const Operation& op : ops) {
        const std::string section = Pick(in, file);
        const std::string name = Pick(in, file);
        const std::string text = Pick(in, file);
        const bool flag = (op.number & 1) != 0;
        // A value elsewhere, to see that a change disturbs nothing but its own value.
        const std::string otherSection = Pick(in, file);
        const std::string otherName = Pick(in, file);
        const bool sameValue = Folded(otherSection) == Folded(section) && Folded(otherName) == Folded(name);
        // The quick look-up that reads skip the other keys with finds what the whole document holds.
        Require(RegDocument::Lookup(file, section, name) == RegDocument::Parse(file).Find(section, name), "look-up");
        const auto before = Outcome(ini, otherSection, otherName);
        // Reading may refuse a damaged value; a refused write leaves nothing to read back.
        try {
            switch (op.kind) {
            case 0:
                ini.ReadBool(section, name, flag);
                continue;
            case 1:
                ini.ReadInteger(section, name, op.number);
                continue;
            case 2:
                ini.ReadString(section, name, text);
                continue;
            case 3:
                ini.WriteBool(section, name, flag);
                break;
            case 4:
                ini.WriteInteger(section, name, op.number);
                break;
            case 5:
                ini.WriteString(section, name, text);
                break;
            case 6:
                ini.DeleteValue(section, name);
                break;
            }
        } catch (const SettingsError&) {
            continue;
        }
        // What was just written reads back; an exception here is a finding too.
        switch (op.kind) {
        case 3:
            Require(ini.ReadBool(section, name, !flag) == flag, "bool reads back");
            break;
        case 4:
            Require(ini.ReadInteger(section, name, ~op.number) == op.number, "integer reads back");
            break;
        case 5:
            // The text ends at its first NUL.
            Require(ini.ReadString(section, name, "\x01") == text.substr(0, text.find('\0')), "text reads back");
            break;
        case 6:
            Require(ini.ReadString(section, name, "\x01") == "\x01", "deleted value is gone");
            break;
        }
        if (!sameValue)
            Require(Outcome(ini, otherSection, otherName) == before, "other values untouched");
    }
    return 0;
}
