// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store on a crowded file: 100 other keys of 50 values each and a
// one-megabyte value of ours, as a player's file may grow over years. Every call
// reads and rewrites the whole file, so a parse that is not linear shows here.
#include "platform/settings/TIniStore.h"
#include "tests/platform/settings/CrowdedSettingsText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zq;

namespace {

fs::path CrowdedFile()
{
    const fs::path folder = fs::temp_directory_path() / ("zq-settings-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string text = zq::test::CrowdedSettingsText();
    const fs::path file = folder / "settings.reg";
    std::ofstream(file, std::ios::binary) << text;
    TIniStore(file).WriteString("common", "big", std::string(1 << 20, 'q'));
    return file;
}

// One write and one read of a small value, as at every start and quit.
void BM_SettingsWriteAndReadOnACrowdedFile(benchmark::State& state)
{
    const fs::path file = CrowdedFile();
    TIniStore ini(file);
    int level = 0;
    for (auto _ : state) {
        ini.WriteInteger("common", "level", ++level % 1000);
        benchmark::DoNotOptimize(ini.ReadInteger("common", "level", 0));
    }
    state.counters["file_KiB"] = static_cast<double>(fs::file_size(file) / 1024);
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_SettingsWriteAndReadOnACrowdedFile)->Unit(benchmark::kMillisecond);

// What the game asks of the store at a start (seven reads) and at a quit (six
// writes and two deletions), on a file that other programs have grown to 50 MB.
constexpr const char* Common = "common";

fs::path HugeFile()
{
    const fs::path folder = fs::temp_directory_path() / ("zq-settings-bench-50-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "settings.reg";
    std::ofstream(file, std::ios::binary) << zq::test::CrowdedSettingsText(28500);
    return file;
}

void StartReads(const TIniStore& ini)
{
    benchmark::DoNotOptimize(ini.ReadInteger(Common, "tongue", -1));
    benchmark::DoNotOptimize(ini.ReadBool(Common, "sound", true));
    benchmark::DoNotOptimize(ini.ReadInteger(Common, "level", 1));
    benchmark::DoNotOptimize(ini.ReadString(Common, "save", ""));
    benchmark::DoNotOptimize(ini.ReadString("Common", "MainForm", ""));
    benchmark::DoNotOptimize(ini.ReadInteger(Common, "pleft", 500));
    benchmark::DoNotOptimize(ini.ReadInteger(Common, "ptop", 50));
}

void QuitWrites(TIniStore& ini, int level)
{
    ini.WriteBool(Common, "sound", true);
    ini.WriteInteger(Common, "level", level);
    ini.WriteInteger(Common, "tongue", 0);
    ini.WriteString(Common, "save", "/home/player/games/round2.zqv");
    ini.WriteString("Common", "MainForm", "200,0,1,100,50,564,436");
    ini.DeleteValue("Common", "MainFormColor");
    ini.DeleteValue("Common", "MainFormFont");
    ini.WriteInteger(Common, "pleft", 500);
    ini.WriteInteger(Common, "ptop", 50);
}

void BM_StartReadsOn50MB(benchmark::State& state)
{
    const fs::path file = HugeFile();
    TIniStore ini(file);
    QuitWrites(ini, 1);
    for (auto _ : state)
        StartReads(ini);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_StartReadsOn50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_QuitWritesOn50MB(benchmark::State& state)
{
    const fs::path file = HugeFile();
    TIniStore ini(file);
    int level = 0;
    for (auto _ : state)
        QuitWrites(ini, ++level);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_QuitWritesOn50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
