// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/figures/LibraryChecker.h"

#include "engine/figures/ArrangementSolver.h"
#include "engine/figures/Difficulty.h"
#include "engine/figures/ShapeTwins.h"
#include "engine/BoardEngine.h"
#include "engine/figures/PieceGeometry.h"
#include "engine/PuzzleLibrary.h"
#include "engine/RegularFile.h"
#include "engine/figures/Silhouette.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <sstream>
#include <thread>

namespace zq {

std::vector<LibraryChecker::RawRecord> LibraryChecker::SplitRecords(std::span<const std::uint8_t> bytes,
                                                                    std::vector<std::string>* notes)
{
    std::vector<RawRecord> out;
    const std::size_t whole = bytes.size() / PuzzleLibrary::RecordSize;
    const std::size_t used = std::min<std::size_t>(whole, PuzzleLibrary::MaxPuzzles);
    for (std::size_t i = 0; i < used; ++i) {
        RawRecord r;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * PuzzleLibrary::RecordSize), r.size(), r.begin());
        out.push_back(r);
    }
    if (notes) {
        if (const std::size_t tail = bytes.size() % PuzzleLibrary::RecordSize; tail != 0)
            notes->push_back("trailing " + std::to_string(tail) + " bytes are not a whole record and are ignored");
        if (whole > used)
            notes->push_back("records after the " + std::to_string(PuzzleLibrary::MaxPuzzles) + "th (" +
                             std::to_string(whole - used) + " of them) are ignored, as the game does");
    }
    return out;
}

PuzzleRecord LibraryChecker::ToRecord(const RawRecord& raw)
{
    PuzzleRecord r;
    for (int j = 1; j <= PieceCount; ++j) {
        const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
        r[j] = PiecePlacement{raw[at], raw[at + 1], Orientation(raw[at + 2])};
    }
    return r;
}

LibraryChecker::RawRecord LibraryChecker::ToRaw(const PuzzleRecord& r)
{
    RawRecord raw{};
    for (int j = 1; j <= PieceCount; ++j) {
        const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
        raw[at] = r[j].x;
        raw[at + 1] = r[j].y;
        raw[at + 2] = static_cast<std::uint8_t>(r[j].o.value());
    }
    return raw;
}

namespace {
// The drawn triangles form one figure through shared stretches of edge.
bool PiecesJoinedByEdges(const PuzzleRecord& rec)
{
    std::array<PieceGeometry::Triangle, PieceCount> tri;
    for (int j = 1; j <= PieceCount; ++j)
        tri[static_cast<std::size_t>(j - 1)] = PieceGeometry::Vertices(rec[j]);
    unsigned reached = 1;
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t i = 0; i < tri.size(); ++i)
            for (std::size_t k = 0; k < tri.size(); ++k)
                if ((reached >> i & 1U) && !(reached >> k & 1U) && PieceGeometry::ShareEdge(tri[i], tri[k])) {
                    reached |= 1U << k;
                    grew = true;
                }
    }
    return reached == (1U << PieceCount) - 1;
}
} // namespace

LibraryChecker::RecordReport LibraryChecker::CheckOne(const RawRecord& raw, int number, bool named) const
{
    RecordReport rep;
    rep.number = number;
    rep.named = named;
    auto fail = [&](int rule, std::string text) { rep.issues.push_back(Issue{rule, std::move(text)}); };

    // Rule 1 first: nothing else can be judged on placements that leave the board.
    for (int j = 1; j <= PieceCount; ++j) {
        const std::size_t at = static_cast<std::size_t>(3 * (j - 1));
        const int x = raw[at], y = raw[at + 1], o = raw[at + 2];
        if (o > 15)
            fail(1, "piece " + std::to_string(j) + " has orientation byte " + std::to_string(o) + ", above 15");
        else if (!BoardEngine::PieceInBounds(x, y, Orientation(o)))
            fail(1, "piece " + std::to_string(j) + " at (" + std::to_string(x) + ", " + std::to_string(y) +
                        ") in orientation " + std::to_string(o) + " reaches outside the board");
    }
    if (!rep.issues.empty()) {
        fail(1, "the other rules are not checked for this record");
        return rep;
    }

    const PuzzleRecord rec = ToRecord(raw);
    const Silhouette sil(rec);
    rep.orientationClass = Silhouette::OrientationClass(rec);
    rep.irregularity = sil.Irregularity();
    rep.translationKey = sil.TranslationKey();
    rep.symmetryKey = Silhouette::SymmetryKey(rec);

    if (!ArrangementSolver::Buildable(rec))
        fail(2, "no order puts the eight pieces down one after the other through the fit test");
    if (named) {
        // A designed figure may hang a fin or a head on by a corner: the solve test compares cells.
    } else if (!sil.Connected())
        fail(3, "the silhouette falls apart into pieces joined at most by corners");
    else if (!PiecesJoinedByEdges(rec))
        fail(3, "a piece touches the others only at a corner or across a gap, though the cells join up");

    std::ostringstream where;
    const int cx2 = sil.MinX() + sil.MaxX(), cy2 = sil.MinY() + sil.MaxY();
    if (sil.Width() > MaxSize || sil.Height() > MaxSize) {
        where << "the silhouette is " << sil.Width() << " by " << sil.Height() << " cells, more than " << MaxSize;
        fail(5, where.str());
    }
    // Centre of the box, doubled to stay in integers: the board's is (90, 60).
    if (std::abs(cx2 - 90) > 2 * CentreSlack || std::abs(cy2 - 60) > 2 * CentreSlack) {
        std::ostringstream s;
        s << "the silhouette's box is centred at (" << cx2 / 2.0 << ", " << cy2 / 2.0
          << "), more than " << CentreSlack << " cells from the board's centre (45, 30)";
        fail(5, s.str());
    }
    if (sil.MinX() < FirstFreeColumn || sil.MaxX() > LastFreeColumn) {
        std::ostringstream s;
        s << "the silhouette spans columns " << sil.MinX() << " to " << sil.MaxX()
          << " and meets the parking places (free columns are " << FirstFreeColumn << " to " << LastFreeColumn << ")";
        fail(5, s.str());
    }

    const ArrangementSolver::Result r = ArrangementSolver(nodeBound_).Solve(sil.Target());
    rep.solutions = r.solutions;
    rep.traps = r.traps;
    rep.boundHit = r.boundHit;
    rep.score = Difficulty::Measure(rec, r.solutions).Score();
    if (r.traps > 0)
        fail(7, std::to_string(r.traps) + " arrangement(s) cover exactly the silhouette's cells with other values");
    if (r.boundHit)
        fail(7, "the arrangement search stopped at its bound of " + std::to_string(nodeBound_) +
                    " steps; outline twins are not ruled out");
    return rep;
}

std::vector<double> LibraryChecker::BlockMedians(const std::vector<double>& scores)
{
    std::vector<double> out;
    for (std::size_t at = 0; at < scores.size(); at += BlockSize) {
        std::vector<double> block(scores.begin() + static_cast<std::ptrdiff_t>(at),
                                  scores.begin() + static_cast<std::ptrdiff_t>(std::min(scores.size(), at + BlockSize)));
        std::sort(block.begin(), block.end());
        const std::size_t n = block.size();
        out.push_back(n % 2 ? block[n / 2] : (block[n / 2 - 1] + block[n / 2]) / 2);
    }
    return out;
}

std::filesystem::path LibraryChecker::NamesFileBeside(const std::filesystem::path& dataFile)
{
    return dataFile.parent_path() / QuarvelNames::FileName;
}

LibraryChecker::Report LibraryChecker::CheckBytes(std::span<const std::uint8_t> bytes, const QuarvelNames* names) const
{
    Report report;
    const std::vector<RawRecord> raws = SplitRecords(bytes, &report.fileNotes);
    if (raws.empty()) {
        report.fileUnusable = true;
        report.fileNotes.push_back(bytes.empty() ? "the file is empty" : "the file holds no whole 24-byte record");
        return report;
    }
    report.records.resize(raws.size());
    // Records are independent here; the search is the slow part, so share it out.
    const int threads = std::max(1, threads_ > 0 ? threads_ : static_cast<int>(std::thread::hardware_concurrency()));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < raws.size();)
            report.records[i] = CheckOne(raws[i], static_cast<int>(i) + 1, names && names->Find(static_cast<int>(i) + 1));
    };
    std::vector<std::jthread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    pool.clear();

    // Rules across records: duplicates and twins (4) and the difficulty order (6).
    const int count = static_cast<int>(raws.size());
    std::map<std::string, int> seen;
    std::vector<int> shapeOwner; // record number of each shape in the index
    ShapeTwins::Index shapes, nearShapes;
    std::vector<double> scores;
    int named = 0;
    for (int i = 0; i < count; ++i) {
        RecordReport& rep = report.records[static_cast<std::size_t>(i)];
        const bool placed = std::none_of(rep.issues.begin(), rep.issues.end(), [](const Issue& s) { return s.rule == 1; });
        if (!placed)
            continue;
        scores.push_back(rep.score);
        named += rep.named ? 1 : 0;
        const auto [it, fresh] = seen.emplace(rep.translationKey, rep.number);
        const ShapeTwins::Shape shape = ShapeTwins::Make(ToRecord(raws[static_cast<std::size_t>(i)]));
        if (!fresh) {
            rep.issues.push_back(Issue{4, "same silhouette as Quarvel " + std::to_string(it->second)});
        } else if (const int twin = shapes.Find(shape); twin >= 0) {
            ++report.symmetryTwins;
            rep.issues.push_back(Issue{4, "the figure of Quarvel " + std::to_string(shapeOwner[static_cast<std::size_t>(twin)]) +
                                              ", turned or mirrored"});
        } else {
            if (rep.number <= NamedShareCount && shapes.Find(shape, ShapeTwins::NearLimit) >= 0)
                ++report.nearTwinsEarly;
            shapes.Add(shape);
            shapeOwner.push_back(rep.number);
        }

        if (rep.number <= CompactCount) {
            if (rep.orientationClass != 0)
                rep.issues.push_back(Issue{6, "one of the first " + std::to_string(CompactCount) +
                                                  " uses an orientation that is not a multiple of 4"});
            else if (!rep.named && !IsCompact(rep.irregularity)) {
                std::ostringstream s;
                s << "one of the first " << CompactCount << " is not compact (irregularity " << rep.irregularity
                  << ", at most " << CompactLimit << ")";
                rep.issues.push_back(Issue{6, s.str()});
            }
        }
        if (names && names->Count() > 0 && rep.number <= NamedFirst && !rep.named)
            rep.issues.push_back(Issue{6, "one of the first " + std::to_string(NamedFirst) + " is not a named figure"});
        if (names && names->Count() > 0 && rep.number == std::min(count, NamedShareCount) && 4 * named < rep.number)
            rep.issues.push_back(Issue{6, "only " + std::to_string(named) + " of the first " + std::to_string(rep.number) +
                                              " are named figures, fewer than one in four"});
    }
    report.blockMedians = BlockMedians(scores);
    for (std::size_t b = 1; b < report.blockMedians.size(); ++b)
        if (report.blockMedians[b] < report.blockMedians[b - 1]) {
            const std::size_t first = b * BlockSize;
            if (first < report.records.size()) {
                std::ostringstream s;
                s << "the median score of Quarvels " << first + 1 << " to " << std::min(scores.size(), first + BlockSize)
                  << " is " << report.blockMedians[b] << ", below the block before (" << report.blockMedians[b - 1] << ")";
                report.records[first].issues.push_back(Issue{6, s.str()});
            }
        }
    for (RecordReport& rep : report.records) {
        std::array<bool, RuleCount + 1> broke{};
        for (const Issue& s : rep.issues)
            broke[static_cast<std::size_t>(s.rule)] = true;
        for (int k = 1; k <= RuleCount; ++k)
            report.failuresPerRule[static_cast<std::size_t>(k)] += broke[static_cast<std::size_t>(k)];
        report.failedRecords += rep.issues.empty() ? 0 : 1;
    }
    return report;
}

LibraryChecker::Report LibraryChecker::CheckFile(const std::filesystem::path& file) const
{
    // Data files are small; a huge one is read only as far as a check can use.
    constexpr std::size_t cap = std::size_t{1} << 20;
    std::vector<std::uint8_t> bytes;
    const ReadResult read = ReadRegularFile(file, cap + 1, bytes);
    if (read != ReadResult::Ok) {
        Report r;
        r.fileUnusable = true;
        r.fileNotes.push_back((read == ReadResult::NotRegular ? "not a regular file: " : "cannot open ") + file.string());
        return r;
    }
    const bool cut = bytes.size() > cap;
    bytes.resize(std::min(bytes.size(), cap));
    QuarvelNames names;
    names.Load(NamesFileBeside(file));
    Report r = CheckBytes(bytes, &names);
    if (names.Count() > 0)
        r.fileNotes.push_back(std::to_string(names.Count()) + " named figures in " + NamesFileBeside(file).string());
    if (cut)
        r.fileNotes.push_back("only the first MiB of the file was read");
    return r;
}

std::string LibraryChecker::Report::Summary() const
{
    std::ostringstream s;
    if (fileUnusable) {
        s << "FAIL: no records to check";
        for (const std::string& n : fileNotes)
            s << "; " << n;
        return s.str();
    }
    s << (Passed() ? "PASS: " : "FAIL: ") << records.size() << " records, " << records.size() - static_cast<std::size_t>(failedRecords)
      << " pass, " << failedRecords << " fail";
    for (int k = 1; k <= RuleCount; ++k)
        s << "; rule " << k << ": " << failuresPerRule[static_cast<std::size_t>(k)];
    s << "; turned/mirrored twins: " << symmetryTwins << "; near twins in the first " << NamedShareCount << ": "
      << nearTwinsEarly;
    return s.str();
}

} // namespace zq
