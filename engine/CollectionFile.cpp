// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CollectionFile.h"

#include "engine/BoardEngine.h"
#include "engine/RegularFile.h"
#include "engine/figures/ArrangementSolver.h"

namespace zq {

CollectionFile::RecordFault CollectionFile::Check(std::span<const std::uint8_t, RecordSize> raw)
{
    PuzzleRecord r;
    for (int j = 1; j <= PieceCount; ++j) {
        const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
        // A byte above 15 would silently become another orientation.
        if (raw[at + 2] > 15)
            return RecordFault::BadOrientation;
        r[j] = PiecePlacement{raw[at], raw[at + 1], Orientation(raw[at + 2])};
        if (!BoardEngine::PieceInBounds(r[j].x, r[j].y, r[j].o))
            return RecordFault::OffBoard;
    }
    // Pieces that no order puts down through the fit test lie on each other.
    return ArrangementSolver::Buildable(r) ? RecordFault::None : RecordFault::Overlapping;
}

CollectionFile::Contents CollectionFile::Parse(std::span<const std::uint8_t> bytes)
{
    Contents c;
    if (bytes.empty()) {
        c.fault = Fault::Empty;
        return c;
    }
    const std::size_t whole = bytes.size() / RecordSize;
    c.trailingBytes = bytes.size() % RecordSize;
    if (whole > static_cast<std::size_t>(MaxRecords))
        c.fault = Fault::TooMany;
    else if (c.trailingBytes != 0)
        c.fault = Fault::Truncated;
    const std::size_t kept = std::min(whole, static_cast<std::size_t>(MaxRecords));
    for (std::size_t i = 0; i < kept; ++i) {
        const std::span<const std::uint8_t, RecordSize> raw = bytes.subspan(i * RecordSize).first<RecordSize>();
        const RecordFault f = Check(raw);
        if (f != RecordFault::None) {
            c.refused.push_back(Refusal{static_cast<int>(i) + 1, f});
            continue;
        }
        PuzzleRecord r;
        for (int j = 1; j <= PieceCount; ++j) {
            const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
            r[j] = PiecePlacement{raw[at], raw[at + 1], Orientation(raw[at + 2])};
        }
        c.records.push_back(r);
    }
    return c;
}

CollectionFile::Contents CollectionFile::Read(const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes;
    // One record more than may be kept tells a full file from an overfull one.
    switch (ReadRegularFile(file, static_cast<std::size_t>((MaxRecords + 1) * RecordSize), bytes)) {
    case ReadResult::Ok: return Parse(bytes);
    case ReadResult::Missing: return Contents{Fault::Missing, {}, {}, 0};
    case ReadResult::NotRegular: return Contents{Fault::NotRegular, {}, {}, 0};
    case ReadResult::Failed: break;
    }
    return Contents{Fault::Unreadable, {}, {}, 0};
}

std::vector<std::uint8_t> CollectionFile::Bytes(std::span<const PuzzleRecord> records)
{
    std::vector<std::uint8_t> out;
    out.reserve(records.size() * RecordSize);
    for (const PuzzleRecord& r : records)
        for (int j = 1; j <= PieceCount; ++j) {
            out.push_back(r[j].x);
            out.push_back(r[j].y);
            out.push_back(static_cast<std::uint8_t>(r[j].o.value()));
        }
    return out;
}

} // namespace zq
