// SPDX-License-Identifier: GPL-3.0-or-later
// A collection file of any content: what is kept must be playable (on the
// board, built through the fit test), what is refused is counted once, and
// the kept records written back read again unchanged and without a refusal.
#include "engine/BoardEngine.h"
#include "engine/CollectionFile.h"
#include "engine/figures/ArrangementSolver.h"
#include "tests/fuzz/FuzzRequire.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace zq;
using zq::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const CollectionFile::Contents c = CollectionFile::Parse(bytes);
    const std::size_t whole = size / CollectionFile::RecordSize;
    const std::size_t read = std::min<std::size_t>(whole, CollectionFile::MaxRecords);
    Require(c.records.size() + c.refused.size() == read, "every record kept or refused");
    Require(c.trailingBytes == size % CollectionFile::RecordSize, "trailing bytes");
    using F = CollectionFile::Fault;
    Require(c.fault == (size == 0                                   ? F::Empty
                        : whole > CollectionFile::MaxRecords         ? F::TooMany
                        : size % CollectionFile::RecordSize != 0     ? F::Truncated
                                                                     : F::None),
            "file fault");
    for (std::size_t i = 1; i < c.refused.size(); ++i)
        Require(c.refused[i - 1].number < c.refused[i].number, "refusals in file order");

    // Laid as the solution, a kept record is its own target and solved.
    auto engine = std::make_unique<BoardEngine>();
    auto library = std::make_unique<PuzzleLibrary>();
    library->PuzzleCount = 1;
    for (const PuzzleRecord& r : c.records) {
        (*library)[1] = r;
        engine->SetupPuzzle(*library, 1, 0, [] { return 0; });
        engine->LayHelpPieces(r, PieceCount);
        Require(ArrangementSolver::Buildable(r) && engine->Board == engine->TargetGrid && engine->CheckSolved(),
                "kept record playable");
    }
    const std::vector<std::uint8_t> again = CollectionFile::Bytes(c.records);
    const CollectionFile::Contents back = CollectionFile::Parse(again);
    Require(back.records == c.records && back.refused.empty(), "kept records read back the same");
    return 0;
}
