// SPDX-License-Identifier: GPL-3.0-or-later
// A data file of any content, then Quarvels of it set up with any progress byte
// and orientation draw, played on with stamping, fit, solve and hit tests.
// The set-up parameters come from the end of the input, so a plain slice of
// zqvl2.dat is a good seed as it stands.
#include "engine/BoardEngine.h"
#include "engine/ProgressByte.h"
#include "engine/PuzzleLibrary.h"
#include "tests/fuzz/FuzzRequire.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace zq;
using zq::fuzz::Require;

namespace {


bool AnyCell(const Grid& g)
{
    for (const std::uint8_t c : g.cells)
        if (c != 0)
            return true;
    return false;
}

// Sizes the program can produce: a cell is at most the largest widget over 93,
// a pointer at most a widget's extent away from the board.
constexpr int MaxCell = 16777215 / 93;
constexpr int MaxPointer = 16777215;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int quarvels = in.ConsumeIntegralInRange(1, 3);
    struct Trial {
        int pick;
        std::uint8_t progress;
        std::vector<std::uint8_t> draws;
    };
    std::vector<Trial> trials;
    for (int t = 0; t < quarvels; ++t) {
        Trial trial{in.ConsumeIntegral<std::uint16_t>(), in.ConsumeIntegral<std::uint8_t>(), {}};
        const int draws = in.ConsumeIntegralInRange(1, 8);
        for (int d = 0; d < draws; ++d)
            trial.draws.push_back(in.ConsumeIntegral<std::uint8_t>());
        trials.push_back(std::move(trial));
    }
    const int probes = in.ConsumeIntegralInRange(0, 4);
    struct Probe {
        int x, y, o, px, py, cw, ch;
    };
    std::vector<Probe> probe;
    for (int i = 0; i < probes; ++i)
        probe.push_back({in.ConsumeIntegralInRange(-20, 110), in.ConsumeIntegralInRange(-20, 80),
                         in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegralInRange(-MaxPointer, MaxPointer),
                         in.ConsumeIntegralInRange(-MaxPointer, MaxPointer), in.ConsumeIntegralInRange(0, MaxCell),
                         in.ConsumeIntegralInRange(0, MaxCell)});
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();

    // The library is 24 kB: on the heap, as the program keeps it.
    const auto owner = std::make_unique<PuzzleLibrary>();
    PuzzleLibrary& library = *owner;
    const auto result = library.LoadFromBytes(file);
    Require((result == PuzzleLibrary::LoadResult::Ok) == (file.size() >= PuzzleLibrary::RecordSize), "load result");
    Require(library.PuzzleCount == static_cast<int>(std::min<std::size_t>(file.size() / PuzzleLibrary::RecordSize,
                                                                          PuzzleLibrary::MaxPuzzles)),
            "record count");
    if (result != PuzzleLibrary::LoadResult::Ok)
        return 0;

    auto engine = std::make_unique<BoardEngine>();
    for (const Trial& t : trials) {
        const int n = 1 + t.pick % library.PuzzleCount;
        std::size_t next = 0;
        const OrientationSource random = [&] { return static_cast<int>(t.draws[next++ % t.draws.size()]); };
        const bool helpEnabled = engine->SetupPuzzle(library, n, t.progress, random);
        Require(helpEnabled == !IsFinished(t.progress), "help button state");
        Require(library[0] == library[n], "working copy");
        if (!IsFinished(t.progress))
            for (int j = 1; j <= 2 * EffectiveHelpLevel(t.progress); ++j)
                Require(engine->Placements[j] == library[n][j], "help pieces at their places");
        engine->CheckSolved();

        // Lifting and putting back any piece leaves the board as it was.
        for (int j = 1; j <= PieceCount; ++j) {
            const Grid before = engine->Board;
            engine->UnstampPiece(j);
            engine->StampPiece(j);
            Require(engine->Board == before, "unstamp then stamp");
        }
        for (const Probe& p : probe) {
            const Orientation o(p.o);
            Require(engine->PieceFits(p.x, p.y, o) == engine->PieceFitsLinear(p.x, p.y, o), "fit tests agree");
            engine->CellWidth = p.cw;
            engine->CellHeight = p.ch;
            for (int j = 1; j <= PieceCount; ++j) {
                const int zone = engine->HitTestPiece(p.px, p.py, j);
                Require(zone >= BoardEngine::Outside && zone <= BoardEngine::TurnZone, "hit zone");
                const int step = engine->AngleStep(p.px, p.py, j);
                Require(step >= 0 && step <= 16, "angle step");
            }
        }

        // The whole solution laid is the target itself, solved wherever it lies on the board.
        engine->LayHelpPieces(library[n], PieceCount);
        Require(engine->Board == engine->TargetGrid, "solution rebuilds the target");
        Require(engine->CheckSolved() == AnyCell(engine->Board), "laid solution is solved");
    }
    return 0;
}
