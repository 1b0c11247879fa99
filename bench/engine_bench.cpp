// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoardEngine.h"
#include "engine/PuzzleLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

using namespace zq;

namespace {
PiecePlacement At(int x, int y, int o)
{
    return PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), Orientation(o)};
}

// All eight pieces stamped edge to edge: four 10 by 10 squares in a 20 by 20 block.
PuzzleRecord Crowded()
{
    PuzzleRecord r;
    int j = 1;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            r[j++] = At(27 + 10 * sx, 27 + 10 * sy, 0);
            r[j++] = At(23 + 10 * sx, 23 + 10 * sy, 8);
        }
    return r;
}

BoardEngine CrowdedBoard()
{
    BoardEngine e;
    e.Placements = Crowded();
    for (int j = 1; j <= 8; ++j)
        e.StampPiece(j);
    return e;
}

struct Probe {
    int x, y;
    Orientation o;
};

// Placements of a ninth piece around the crowded block; with touching set, only
// those whose mask shares at least one cell with a stamped piece (a put-down
// beside or onto other pieces, where the pair test does its work).
std::vector<Probe> Probes(const BoardEngine& e, bool touching)
{
    std::vector<Probe> probes;
    for (int o = 0; o < 16; ++o)
        for (int x = 15; x < 50; ++x)
            for (int y = 15; y < 50; ++y) {
                BoardEngine alone;
                alone.Placements[1] = At(x, y, o);
                alone.StampPiece(1);
                bool shares = false;
                for (int i = 0; i < Grid::Size; ++i)
                    shares |= alone.Board.cells[static_cast<std::size_t>(i)] != 0 &&
                              e.Board.cells[static_cast<std::size_t>(i)] != 0;
                if (shares || !touching)
                    probes.push_back({x, y, Orientation(o)});
            }
    return probes;
}

template <bool Linear>
void FitsOverCrowdedBoard(benchmark::State& state)
{
    const BoardEngine e = CrowdedBoard();
    const std::vector<Probe> probes = Probes(e, state.range(0) != 0);
    for (auto _ : state) {
        int fits = 0;
        for (const Probe& p : probes)
            fits += Linear ? e.PieceFitsLinear(p.x, p.y, p.o) : e.PieceFits(p.x, p.y, p.o);
        benchmark::DoNotOptimize(fits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(probes.size()));
}
BENCHMARK(FitsOverCrowdedBoard<false>)->Name("PieceFits/table/touching")->Arg(1);
BENCHMARK(FitsOverCrowdedBoard<true>)->Name("PieceFits/linear/touching")->Arg(1);
BENCHMARK(FitsOverCrowdedBoard<false>)->Name("PieceFits/table/all")->Arg(0);
BENCHMARK(FitsOverCrowdedBoard<true>)->Name("PieceFits/linear/all")->Arg(0);

void CheckSolvedBench(benchmark::State& state)
{
    PuzzleLibrary lib;
    lib.PuzzleCount = 1;
    lib[1] = Crowded();
    BoardEngine e;
    e.SetupPuzzle(lib, 1, 0, [] { return 0; });
    e.Board = Grid{};
    e.Placements = Crowded();
    if (state.range(0) == 0) // unsolved: one piece shifted, found late in the scan
        e.Placements[8].x = static_cast<std::uint8_t>(e.Placements[8].x + 1);
    for (int j = 1; j <= 8; ++j)
        e.StampPiece(j);
    for (auto _ : state)
        benchmark::DoNotOptimize(e.CheckSolved());
}
BENCHMARK(CheckSolvedBench)->Name("CheckSolved/solved")->Arg(1);
BENCHMARK(CheckSolvedBench)->Name("CheckSolved/unsolved")->Arg(0);

// The yardstick for CheckSolved: one plain pass over the 5551 cells.
void OnePassOverTheGrid(benchmark::State& state)
{
    const BoardEngine e = CrowdedBoard();
    for (auto _ : state) {
        unsigned sum = 0;
        for (std::uint8_t c : e.Board.cells)
            sum += c != 0;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(OnePassOverTheGrid)->Name("Grid/one pass");

void HitTestBench(benchmark::State& state)
{
    BoardEngine e = CrowdedBoard();
    e.CellWidth = e.CellHeight = 10;
    int px = 0;
    for (auto _ : state) {
        int hits = 0;
        for (int j = 1; j <= 8; ++j)
            hits += e.HitTestPiece(250 + px % 200, 260 + px % 150, j);
        px += 7;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(HitTestBench)->Name("HitTestPiece");

void SetupBench(benchmark::State& state)
{
    PuzzleLibrary lib;
    lib.PuzzleCount = 1;
    lib[1] = Crowded();
    BoardEngine e;
    std::mt19937 rng(1);
    const OrientationSource random = [&] { return static_cast<int>(rng() % 16); };
    for (auto _ : state)
        benchmark::DoNotOptimize(e.SetupPuzzle(lib, 1, 2, random));
}
BENCHMARK(SetupBench)->Name("SetupPuzzle");

void LoadBench(benchmark::State& state)
{
    const auto file = std::filesystem::temp_directory_path() / "zq_bench_zqvl2.dat";
    {
        std::vector<char> bytes(24000);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i % 61);
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    auto lib = std::make_unique<PuzzleLibrary>();
    for (auto _ : state)
        benchmark::DoNotOptimize(lib->LoadPuzzleLibrary(file));
    std::filesystem::remove(file);
}
BENCHMARK(LoadBench)->Name("LoadPuzzleLibrary/24000 bytes");
} // namespace

BENCHMARK_MAIN();
