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

} // namespace

BENCHMARK_MAIN();
