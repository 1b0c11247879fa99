// SPDX-License-Identifier: GPL-3.0-or-later
// quarvel-tool: makes, checks, solves and pictures the game's Quarvel data file.

#include "engine/RegularFile.h"
#include "engine/figures/ArrangementSolver.h"
#include "tools/quarvel-tool/DesignSource.h"
#include "engine/figures/LibraryChecker.h"
#include "tools/quarvel-tool/LibraryOrder.h"
#include "engine/figures/ShapeTwins.h"
#include "tools/quarvel-tool/ProgressMeter.h"
#include "tools/quarvel-tool/QuarvelGenerator.h"
#include "engine/figures/Silhouette.h"
#ifdef ZQ_WITH_SHEET
#include "tools/quarvel-tool/ContactSheet.h"

#include <QGuiApplication>
#endif

#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace zq;
using namespace zq::tool;

int Usage()
{
    std::cerr << "usage:\n"
                 "  quarvel-tool generate --seed S --count N -o FILE [--designs DESIGNS]\n"
                 "  quarvel-tool check FILE [--all]\n"
                 "  quarvel-tool solve FILE N [--show K]\n"
#ifdef ZQ_WITH_SHEET
                 "  quarvel-tool sheet FILE -o PNG [--scale S] [--columns C] [--first N] [--count K] [--named]\n"
#endif
                 "options common to generate, check and solve: --bound STEPS (search bound), --threads T\n";
    return 2;
}

std::optional<long long> Number(const std::string& s)
{
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::vector<std::string> flags;
    bool bad = false;
};

Args Parse(int argc, char** argv, const std::vector<std::string>& withValue)
{
    Args a;
    for (int i = 2; i < argc; ++i) {
        const std::string s = argv[i];
        if (s.size() > 1 && s[0] == '-') {
            if (std::find(withValue.begin(), withValue.end(), s) != withValue.end()) {
                if (i + 1 >= argc) {
                    std::cerr << "option " << s << " needs a value\n";
                    a.bad = true;
                    return a;
                }
                a.options[s] = argv[++i];
            } else {
                a.flags.push_back(s);
            }
        } else {
            a.positional.push_back(s);
        }
    }
    return a;
}

std::optional<long long> Option(const Args& a, const std::string& name, long long fallback)
{
    const auto it = a.options.find(name);
    if (it == a.options.end())
        return fallback;
    const auto v = Number(it->second);
    if (!v)
        std::cerr << "option " << name << ": not a number: " << it->second << "\n";
    return v;
}

std::optional<std::vector<PuzzleRecord>> ReadRecords(const std::string& file)
{
    std::vector<std::uint8_t> bytes;
    if (const ReadResult read = ReadRegularFile(file, 24 * 1000, bytes); read != ReadResult::Ok) {
        std::cerr << (read == ReadResult::NotRegular ? "not a regular file: " : "cannot open ") << file << "\n";
        return std::nullopt;
    }
    std::vector<PuzzleRecord> out;
    for (const auto& raw : LibraryChecker::SplitRecords(bytes, nullptr))
        out.push_back(LibraryChecker::ToRecord(raw));
    return out;
}

// Writes beside the target and renames, so a failed run never leaves half a file.
bool WriteAtomically(const std::filesystem::path& out, const std::string& bytes)
{
    const std::filesystem::path tmp = out.string() + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!f.flush()) {
            std::cerr << "cannot write " << tmp << "\n";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, out, ec);
    if (ec) {
        std::cerr << "cannot write " << out << ": " << ec.message() << "\n";
        return false;
    }
    return true;
}

// The designs, each checked on its own and against the others; empty and false on any fault.
bool CheckedDesigns(const std::string& file, long long bound, std::vector<Design>& designs, std::vector<double>& scores)
{
    DesignSource src = DesignSource::Read(file);
    bool good = src.errors.empty();
    for (const std::string& e : src.errors)
        std::cerr << file << ": " << e << "\n";
    const LibraryChecker checker(bound, 1);
    ShapeTwins::Index twins;
    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < src.designs.size(); ++i) {
        const Design& d = src.designs[i];
        const auto rep = checker.CheckOne(LibraryChecker::ToRaw(d.record), 0, true);
        for (const auto& issue : rep.issues) {
            std::cerr << file << ": line " << d.line << ": " << d.english << ": rule " << issue.rule << ": " << issue.text << "\n";
            good = false;
        }
        const ShapeTwins::Shape shape = ShapeTwins::Make(d.record);
        if (const int t = twins.Find(shape); t >= 0) {
            const Design& o = src.designs[static_cast<std::size_t>(t)];
            std::cerr << file << ": line " << d.line << ": " << d.english << " is " << o.english << " (line " << o.line
                      << ") turned or mirrored\n";
            good = false;
        }
        twins.Add(shape);
        scores.push_back(rep.score);
    }
    designs = std::move(src.designs);
    return good;
}

int Generate(int argc, char** argv)
{
    const Args a = Parse(argc, argv, {"--seed", "--count", "-o", "--bound", "--threads", "--designs"});
    const auto seed = Option(a, "--seed", -1);
    const auto count = Option(a, "--count", 1000);
    const auto bound = Option(a, "--bound", 400000);
    const auto threads = Option(a, "--threads", 0);
    if (a.bad || !seed || !count || !bound || !threads || *seed < 0 || !a.options.count("-o") || !a.positional.empty())
        return Usage();
    if (*count < 1 || *count > 1000) {
        std::cerr << "--count must be 1 to 1000\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    std::vector<Design> designs;
    std::vector<double> designScores;
    if (a.options.count("--designs")) {
        if (!CheckedDesigns(a.options.at("--designs"), *bound, designs, designScores))
            return 1;
        if (static_cast<long long>(designs.size()) > *count) {
            designs.resize(static_cast<std::size_t>(*count));
            designScores.resize(designs.size());
        }
    }
    std::vector<PuzzleRecord> avoid;
    for (const Design& d : designs)
        avoid.push_back(d.record);
    const int grownCount = static_cast<int>(*count) - static_cast<int>(designs.size());
    QuarvelGenerator::Stats stats;
    std::vector<QuarvelGenerator::Candidate> lib;
    if (grownCount > 0) {
        ProgressMeter meter("generate");
        lib = QuarvelGenerator(static_cast<std::uint64_t>(*seed), *bound, static_cast<int>(*threads))
                  .GenerateDetailed(grownCount, &stats, [&](int done, int total) { meter.Update(done, total); }, avoid);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "designs: %zu; grown: legs along the grid %d, even orientations %d, odd orientations %d\n",
                 designs.size(), stats.perClass[0], stats.perClass[1], stats.perClass[2]);
    std::fprintf(stderr, "styles:");
    for (int s = 0; s < QuarvelGenerator::StyleCount; ++s)
        std::fprintf(stderr, " %s %d", QuarvelGenerator::StyleName(static_cast<QuarvelGenerator::Style>(s)),
                     stats.perStyle[static_cast<std::size_t>(s)]);
    std::fprintf(stderr,
                 "\ncandidates: %lld grown, %lld growth stuck, %lld same silhouette, %lld turned/mirrored twins, "
                 "%lld failed rules 1-5, %lld outline twins (rule 7), %lld search bound reached\n",
                 stats.attempts, stats.grownFailed, stats.duplicates, stats.twins, stats.ruleFailed, stats.trapRejected,
                 stats.boundRejected);
    if (static_cast<long long>(lib.size()) < grownCount) {
        std::cerr << "only " << lib.size() << " of " << grownCount << " grown Quarvels found; nothing written\n";
        return 1;
    }
    // Designs first in the list of items, then the grown ones; the order interleaves them.
    std::vector<LibraryOrder::Item> items;
    std::vector<PuzzleRecord> records;
    std::map<std::string, int> kinds;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        const int kind = kinds.emplace(designs[i].category, static_cast<int>(kinds.size())).first->second;
        items.push_back({designScores[i], true, Silhouette::OrientationClass(designs[i].record), true, kind});
        records.push_back(designs[i].record);
    }
    for (const auto& c : lib) {
        items.push_back({c.score, false, c.orientationClass, LibraryChecker::IsCompact(c.irregularity)});
        records.push_back(c.record);
    }
    const std::vector<int> order = LibraryOrder::Make(items);
    std::string data, names;
    names = "# Names of the designed Quarvels: number, category, English, German, separated by tabs.\n";
    for (std::size_t n = 0; n < order.size(); ++n) {
        const std::size_t i = static_cast<std::size_t>(order[n]);
        const auto raw = LibraryChecker::ToRaw(records[i]);
        data.append(reinterpret_cast<const char*>(raw.data()), raw.size());
        if (i < designs.size())
            names += std::to_string(n + 1) + "\t" + designs[i].category + "\t" + designs[i].english + "\t" + designs[i].german + "\n";
    }
    const std::filesystem::path out = a.options.at("-o");
    if (!WriteAtomically(out, data))
        return 1;
    // Without designs, no names file: an old one beside would name other figures.
    const std::filesystem::path namesFile = LibraryChecker::NamesFileBeside(out);
    if (!designs.empty() ? !WriteAtomically(namesFile, names) : false)
        return 1;
    if (designs.empty()) {
        std::error_code ec;
        std::filesystem::remove(namesFile, ec);
    }
    std::fprintf(stderr, "wrote %zu Quarvels (%zu designed) to %s in %.1f s (seed %lld)\n", order.size(), designs.size(),
                 out.c_str(), seconds, *seed);
    return 0;
}

int Check(int argc, char** argv)
{
    const Args a = Parse(argc, argv, {"--bound", "--threads"});
    const auto bound = Option(a, "--bound", 400000);
    const auto threads = Option(a, "--threads", 0);
    if (a.bad || !bound || !threads || a.positional.size() != 1)
        return Usage();
    const bool all = std::find(a.flags.begin(), a.flags.end(), "--all") != a.flags.end();
    const auto started = std::chrono::steady_clock::now();
    const LibraryChecker::Report r = LibraryChecker(*bound, static_cast<int>(*threads)).CheckFile(a.positional[0]);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    for (const std::string& n : r.fileNotes)
        std::cout << a.positional[0] << ": " << n << "\n";
    for (const auto& rec : r.records) {
        if (all)
            std::cout << "Quarvel " << rec.number << ": class " << rec.orientationClass << ", irregularity "
                      << rec.irregularity << ", score " << rec.score << (rec.named ? ", named" : "") << ", " << rec.solutions << " solution(s), " << rec.traps << " trap(s)"
                      << (rec.issues.empty() ? ", ok" : "") << "\n";
        for (const auto& issue : rec.issues)
            std::cout << "Quarvel " << rec.number << ": rule " << issue.rule << ": " << issue.text << "\n";
    }
    if (!r.blockMedians.empty()) {
        std::cout << "median score per block of " << LibraryChecker::BlockSize << ":";
        for (const double m : r.blockMedians)
            std::cout << " " << std::round(m * 10) / 10;
        std::cout << "\n";
    }
    std::cout << r.Summary() << "\n";
    std::fprintf(stderr, "checked in %.2f s\n", seconds);
    return r.Passed() ? 0 : 1;
}

void PrintRecord(const PuzzleRecord& r)
{
    for (int j = 1; j <= PieceCount; ++j)
        std::cout << (j > 1 ? " " : "  ") << "(" << int(r[j].x) << "," << int(r[j].y) << "," << r[j].o.value() << ")";
    std::cout << "\n";
}

int Solve(int argc, char** argv)
{
    const Args a = Parse(argc, argv, {"--bound", "--show"});
    const auto bound = Option(a, "--bound", 5000000);
    const auto show = Option(a, "--show", 20);
    if (a.bad || !bound || !show || a.positional.size() != 2)
        return Usage();
    const auto n = Number(a.positional[1]);
    const auto records = ReadRecords(a.positional[0]);
    if (!records)
        return 1;
    if (!n || *n < 1 || *n > static_cast<long long>(records->size())) {
        std::cerr << "Quarvel number must be 1 to " << records->size() << "\n";
        return 2;
    }
    const PuzzleRecord& rec = (*records)[static_cast<std::size_t>(*n - 1)];
    const Silhouette sil(rec);
    const auto r = ArrangementSolver(*bound, static_cast<int>(*show)).Solve(sil.Target());
    std::cout << "Quarvel " << *n << ": " << sil.CellCount() << " cells, " << sil.Width() << " by " << sil.Height() << "\n";
    std::cout << "arrangements that rebuild the silhouette: " << r.solutions << "\n";
    for (const auto& s : r.solutionExamples)
        PrintRecord(s);
    std::cout << "arrangements with the same cells and other values (outline twins): " << r.traps << "\n";
    for (const auto& s : r.trapExamples)
        PrintRecord(s);
    std::cout << "search steps: " << r.nodes << (r.boundHit ? " (bound reached: counts are lower bounds)" : "") << "\n";
    return r.boundHit || r.traps > 0 ? 1 : 0;
}

#ifdef ZQ_WITH_SHEET
int Sheet(int argc, char** argv)
{
    const Args a = Parse(argc, argv, {"-o", "--scale", "--columns", "--first", "--count"});
    ContactSheet::Options o;
    const auto scale = Option(a, "--scale", o.scale);
    const auto columns = Option(a, "--columns", o.columns);
    const auto first = Option(a, "--first", o.first);
    const auto count = Option(a, "--count", o.count);
    if (a.bad || !scale || !columns || !first || !count || a.positional.size() != 1 || !a.options.count("-o"))
        return Usage();
    if (*scale < 1 || *scale > 8 || *columns < 1 || *columns > 100) {
        std::cerr << "--scale must be 1 to 8 and --columns 1 to 100\n";
        return 2;
    }
    const auto records = ReadRecords(a.positional[0]);
    if (!records)
        return 1;
    if (records->empty()) {
        std::cerr << a.positional[0] << ": no records\n";
        return 1;
    }
    // Text needs a running application; no window is ever shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    o.scale = static_cast<int>(*scale);
    o.columns = static_cast<int>(*columns);
    o.first = static_cast<int>(std::clamp<long long>(*first, 1, 1000));
    o.count = static_cast<int>(std::clamp<long long>(*count, 0, 1000));
    // The names beside the data file label the figures; --named shows the named ones only.
    QuarvelNames names;
    names.Load(LibraryChecker::NamesFileBeside(a.positional[0]));
    o.names = &names;
    o.namedOnly = std::find(a.flags.begin(), a.flags.end(), "--named") != a.flags.end();
    if (!ContactSheet::Write(*records, a.options.at("-o"), o)) {
        std::cerr << "cannot write " << a.options.at("-o") << "\n";
        return 1;
    }
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string cmd = argv[1];
    if (cmd == "generate")
        return Generate(argc, argv);
    if (cmd == "check")
        return Check(argc, argv);
    if (cmd == "solve")
        return Solve(argc, argv);
#ifdef ZQ_WITH_SHEET
    if (cmd == "sheet")
        return Sheet(argc, argv);
#endif
    return Usage();
}
