// SPDX-License-Identifier: GPL-3.0-or-later
// Time to make the 1000 shipped Quarvels and to check them, and one record's checks.

#include "engine/figures/LibraryChecker.h"
#include "tools/quarvel-tool/QuarvelGenerator.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using zq::LibraryChecker;
using zq::tool::QuarvelGenerator;

constexpr std::uint64_t LibrarySeed = 4711; // the seed of `make library`

void GenerateLibrary(benchmark::State& state)
{
    for (auto _ : state) {
        auto lib = QuarvelGenerator(LibrarySeed).Generate(1000);
        benchmark::DoNotOptimize(lib);
    }
}
BENCHMARK(GenerateLibrary)->Unit(benchmark::kSecond)->Iterations(1);

void CheckShippedLibrary(benchmark::State& state)
{
    const std::filesystem::path file = std::filesystem::path(ZQ_SOURCE_DIR) / "resources" / "zqvl2.dat";
    for (auto _ : state) {
        const auto report = LibraryChecker().CheckFile(file);
        if (!report.Passed())
            state.SkipWithError("the shipped library fails the check");
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(CheckShippedLibrary)->Unit(benchmark::kMillisecond)->Iterations(3);

void CheckOneQuarvel(benchmark::State& state)
{
    const auto lib = QuarvelGenerator(LibrarySeed).Generate(120);
    std::size_t i = 0;
    for (auto _ : state) {
        LibraryChecker::RecordReport r = LibraryChecker(400000, 1).CheckOne(LibraryChecker::ToRaw(lib[i++ % lib.size()]), 1);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(CheckOneQuarvel)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
