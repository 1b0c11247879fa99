// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/OwnCollection.h"

#include "engine/QuarvelNames.h"
#include "engine/RegularFile.h"
#include "engine/figures/FigureRules.h"
#include "platform/services/AtomicFile.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

namespace zq {

namespace {

QString Shown(const std::filesystem::path& file)
{
    return QFile::decodeName(QByteArray::fromStdString(file.native()));
}

QString T(bool german, const char* de, const char* en) { return QString::fromUtf8(german ? de : en); }

// The positions (1-based) in the file of the records that were kept.
std::vector<int> KeptPositions(const CollectionFile::Contents& c)
{
    std::vector<int> out;
    std::size_t r = 0;
    for (int n = 1; static_cast<int>(out.size()) < static_cast<int>(c.records.size()); ++n) {
        if (r < c.refused.size() && c.refused[r].number == n) {
            ++r;
            continue;
        }
        out.push_back(n);
    }
    return out;
}

std::vector<std::uint8_t> NamesText(const std::vector<std::pair<int, QString>>& named)
{
    QByteArray text = "# The names of the player's own Quarvels: number, category, English, German.\n";
    for (const auto& [n, name] : named) {
        const QByteArray utf8 = name.toUtf8();
        text += QByteArray::number(n) + "\town\t" + utf8 + '\t' + utf8 + '\n';
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A free name beside the file for a damaged copy: FILE.damaged, FILE.damaged-2, ...
std::optional<std::filesystem::path> FreeCopyName(const std::filesystem::path& file)
{
    for (int k = 1; k < 1000; ++k) {
        std::filesystem::path copy = file;
        copy += k == 1 ? std::string(".damaged") : ".damaged-" + std::to_string(k);
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(copy, ec)))
            return copy;
    }
    return std::nullopt;
}

} // namespace

OwnCollection::OwnCollection(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path OwnCollection::DefaultFolder()
{
    // A relative XDG_DATA_HOME is to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return std::filesystem::path(xdg) / "zibble-quarvel";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "zibble-quarvel";
    return {};
}

std::filesystem::path OwnCollection::NamesFileFor(const std::filesystem::path& collection)
{
    std::filesystem::path names = collection;
    names.replace_extension(".names");
    return names;
}

QString OwnCollection::CleanName(const QString& name)
{
    QString out;
    for (const QChar c : name)
        out += c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
                   ? QChar(' ')
                   : c;
    out = out.simplified();
    if (out.size() > MaxNameLength)
        out.truncate(MaxNameLength);
    // A cut must not leave half a surrogate pair behind.
    if (!out.isEmpty() && out.back().isHighSurrogate())
        out.chop(1);
    return out;
}

QString OwnCollection::FaultText(CollectionFile::Fault fault, const QString& file, bool german)
{
    using F = CollectionFile::Fault;
    switch (fault) {
    case F::None: return {};
    case F::Missing: return T(german, "Die Datei %1 gibt es nicht.", "The file %1 does not exist.").arg(file);
    case F::NotRegular:
        return T(german, "%1 ist keine Datei, sondern ein Ordner oder ein Gerät.",
                 "%1 is not a file but a folder or a device.")
            .arg(file);
    case F::Unreadable: return T(german, "Die Datei %1 kann nicht gelesen werden.", "The file %1 cannot be read.").arg(file);
    case F::Empty: return T(german, "Die Datei %1 ist leer.", "The file %1 is empty.").arg(file);
    case F::Truncated:
        return T(german, "Die Datei %1 endet mitten in einem Quarvel: sie ist unvollständig.",
                 "The file %1 ends in the middle of a Quarvel: it is cut short.")
            .arg(file);
    case F::TooMany:
        return T(german, "Die Datei %1 enthält mehr als 1000 Quarvels; nur die ersten 1000 wurden gelesen.",
                 "The file %1 holds more than 1000 Quarvels; only the first 1000 were read.")
            .arg(file);
    }
    return {};
}

QString OwnCollection::RecordFaultText(CollectionFile::RecordFault fault, bool german)
{
    using R = CollectionFile::RecordFault;
    switch (fault) {
    case R::None: return {};
    case R::BadOrientation: return T(german, "ein Teil hat eine ungültige Drehung", "a piece has an invalid turn");
    case R::OffBoard: return T(german, "ein Teil liegt außerhalb des Spielfelds", "a piece lies outside the board");
    case R::Overlapping: return T(german, "Teile liegen übereinander", "pieces lie on top of each other");
    }
    return {};
}

bool OwnCollection::Refuse(bool german, QString* error) const
{
    if (writable_)
        return false;
    if (error && folder_.empty())
        *error = T(german, "Meine Quarvels können nicht aufbewahrt werden: es gibt keinen Benutzerordner (HOME).",
                   "My Quarvels cannot be kept: there is no home folder (HOME).");
    else if (error)
        *error = T(german,
                   "Meine Quarvels werden nicht geändert, solange die beschädigte Datei %1 nicht beiseitegelegt werden kann.",
                   "My Quarvels are not changed while the damaged file %1 cannot be put aside.")
                     .arg(Shown(File()));
    return true;
}

void OwnCollection::Restore(Snapshot s)
{
    records_ = std::move(s.records);
    names_ = std::move(s.names);
    progress_ = std::move(s.progress);
}

bool OwnCollection::Commit(Snapshot before, bool german, QString* error, bool progressOnly)
{
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    const auto write = [this, progressOnly](const Snapshot& s, bool withProgress) {
        if (progressOnly)
            return WriteFileAtomically(folder_ / ProgressFileName, s.progress);
        std::vector<std::pair<int, QString>> n;
        for (qsizetype i = 0; i < s.names.size(); ++i)
            if (!s.names[i].isEmpty())
                n.emplace_back(static_cast<int>(i) + 1, s.names[i]);
        return WriteFileAtomically(File(), CollectionFile::Bytes(s.records)) &&
               WriteFileAtomically(folder_ / NamesFileName, NamesText(n)) &&
               (!withProgress || WriteFileAtomically(folder_ / ProgressFileName, s.progress));
    };
    if (write(Take(), true))
        return true;
    // Part of it may be written: the files go back to what they were, as far as they can.
    write(before, true);
    Restore(std::move(before));
    if (error)
        *error = T(german,
                   "Meine Quarvels konnten nicht in %1 gespeichert werden. Datenträger voll oder nicht beschreibbar.",
                   "My Quarvels could not be saved to %1. Drive full or not writable.")
                     .arg(Shown(File()));
    return false;
}

QString OwnCollection::Load(bool german)
{
    records_.clear();
    names_.clear();
    progress_.clear();
    // Without a home there is no place of the player's own to keep anything.
    writable_ = !folder_.empty();
    if (!writable_)
        return {};
    const std::filesystem::path file = File();
    const CollectionFile::Contents c = CollectionFile::Read(file);
    using F = CollectionFile::Fault;
    if (c.fault == F::NotRegular || c.fault == F::Unreadable) {
        // Not ours to replace: whatever is there stays, and nothing is written over it.
        writable_ = false;
        return FaultText(c.fault, Shown(file), german) + QLatin1Char(' ') +
               T(german, "Meine Quarvels bleiben leer, bis das behoben ist.", "My Quarvels stay empty until that is mended.");
    }
    records_ = c.records;
    QuarvelNames names;
    names.Load(folder_ / NamesFileName);
    std::vector<std::uint8_t> progress;
    ReadRegularFile(folder_ / ProgressFileName, static_cast<std::size_t>(MaxRecords), progress);
    for (const int n : KeptPositions(c)) {
        names_ << CleanName(QString::fromStdString(names.Name(n, false)));
        progress_.push_back(static_cast<std::size_t>(n) <= progress.size() ? progress[static_cast<std::size_t>(n - 1)] : 0);
    }
    if (!c.Damaged())
        return {};

    QStringList why;
    if (c.fault != F::None)
        why << FaultText(c.fault, Shown(file), german);
    for (const CollectionFile::Refusal& r : c.refused)
        why << T(german, "Quarvel %1: %2.", "Quarvel %1: %2.").arg(r.number).arg(RecordFaultText(r.fault, german));
    const std::optional<std::filesystem::path> copy = FreeCopyName(file);
    std::error_code ec;
    if (!copy || (std::filesystem::rename(file, *copy, ec), ec)) {
        writable_ = false;
        why << T(german,
                 "Die Datei bleibt, wie sie ist, und Änderungen an Meinen Quarvels werden nicht gespeichert, bis sie "
                 "beiseitegelegt werden kann.",
                 "The file is left as it is, and changes to My Quarvels are not saved until it can be put aside.");
        return why.join(QLatin1Char('\n'));
    }
    why.prepend(T(german, "Die Datei von Meinen Quarvels war beschädigt; sie wurde als %1 aufbewahrt, und %2 Quarvels "
                          "daraus wurden übernommen.",
                  "The file of My Quarvels was damaged; it was kept as %1, and %2 Quarvels were taken over from it.")
                    .arg(Shown(*copy))
                    .arg(Count()));
    QString error;
    if (!Commit(Take(), german, &error))
        why << error;
    return why.join(QLatin1Char('\n'));
}

bool OwnCollection::Append(const PuzzleRecord& r, const QString& name, bool german, QString* error)
{
    if (Refuse(german, error))
        return false;
    if (Count() >= MaxRecords) {
        if (error)
            *error = T(german, "Meine Quarvels sind voll: es passen höchstens 1000 hinein.",
                       "My Quarvels are full: they hold at most 1000.");
        return false;
    }
    Snapshot before = Take();
    records_.push_back(r);
    names_ << CleanName(name);
    progress_.push_back(0);
    return Commit(std::move(before), german, error);
}

bool OwnCollection::Replace(int i, const PuzzleRecord& r, const QString& name, bool german, QString* error)
{
    if (i < 1 || i > Count() || Refuse(german, error))
        return false;
    Snapshot before = Take();
    records_[static_cast<std::size_t>(i - 1)] = r;
    names_[i - 1] = CleanName(name);
    // Another figure: what was done on the old one does not count for it.
    if (before.records[static_cast<std::size_t>(i - 1)] != r)
        progress_[static_cast<std::size_t>(i - 1)] = 0;
    return Commit(std::move(before), german, error);
}

bool OwnCollection::Rename(int i, const QString& name, bool german, QString* error)
{
    if (i < 1 || i > Count() || Refuse(german, error))
        return false;
    Snapshot before = Take();
    names_[i - 1] = CleanName(name);
    return Commit(std::move(before), german, error);
}

bool OwnCollection::Remove(int i, bool german, QString* error)
{
    if (i < 1 || i > Count() || Refuse(german, error))
        return false;
    Snapshot before = Take();
    records_.erase(records_.begin() + (i - 1));
    names_.removeAt(i - 1);
    progress_.erase(progress_.begin() + (i - 1));
    return Commit(std::move(before), german, error);
}

bool OwnCollection::Move(int i, int to, bool german, QString* error)
{
    if (i < 1 || i > Count() || to < 1 || to > Count() || Refuse(german, error))
        return false;
    if (i == to)
        return true;
    Snapshot before = Take();
    const auto shift = [&](auto& v) {
        auto item = v[static_cast<std::size_t>(i - 1)];
        v.erase(v.begin() + (i - 1));
        v.insert(v.begin() + (to - 1), item);
    };
    shift(records_);
    shift(progress_);
    names_.move(i - 1, to - 1);
    return Commit(std::move(before), german, error);
}

bool OwnCollection::SetProgress(int i, std::uint8_t progress, bool german, QString* error)
{
    if (i < 1 || i > Count() || Refuse(german, error))
        return false;
    if (progress_[static_cast<std::size_t>(i - 1)] == progress)
        return true;
    Snapshot before = Take();
    progress_[static_cast<std::size_t>(i - 1)] = progress;
    return Commit(std::move(before), german, error, true);
}

bool OwnCollection::ClearProgress(bool german, QString* error)
{
    if (Refuse(german, error))
        return false;
    Snapshot before = Take();
    std::fill(progress_.begin(), progress_.end(), std::uint8_t{0});
    return Commit(std::move(before), german, error, true);
}

bool OwnCollection::Export(const std::filesystem::path& file, const std::vector<int>& which, bool german,
                           QString* error) const
{
    std::vector<PuzzleRecord> records;
    std::vector<std::pair<int, QString>> named;
    for (const int i : which) {
        if (i < 1 || i > Count())
            continue;
        records.push_back(Record(i));
        if (!Name(i).isEmpty())
            named.emplace_back(static_cast<int>(records.size()), Name(i));
    }
    // Never over the collection itself, which would lose the figures not chosen.
    std::error_code ec;
    bool ok = !records.empty() && !std::filesystem::equivalent(file, File(), ec) &&
              WriteFileAtomically(file, CollectionFile::Bytes(records));
    // The names travel beside the figures; without any, no names file is left behind.
    if (ok && !named.empty())
        ok = WriteFileAtomically(NamesFileFor(file), NamesText(named));
    if (!ok && error)
        *error = T(german, "Kann %1 nicht speichern. Datenträger voll oder nicht beschreibbar.",
                   "Cannot save %1. Drive full or not writable.")
                     .arg(Shown(file));
    return ok;
}

OwnCollection::ImportPlan OwnCollection::PlanImport(const std::filesystem::path& file, const PuzzleLibrary& shipped,
                                                    bool german, const std::function<bool(int, int)>& progress) const
{
    ImportPlan plan;
    ImportReport& report = plan.report;
    const QString shown = Shown(file);
    const CollectionFile::Contents c = CollectionFile::Read(file);
    using F = CollectionFile::Fault;
    if (c.fault == F::Missing || c.fault == F::NotRegular || c.fault == F::Unreadable || c.fault == F::Empty) {
        report.fileFault = true;
        report.reasons << FaultText(c.fault, shown, german);
        return plan;
    }
    if (QString why; Refuse(german, &why)) {
        report.fileFault = true;
        report.reasons << why;
        return plan;
    }
    if (c.fault != F::None)
        report.reasons << FaultText(c.fault, shown, german);
    const auto refuse = [&](int n, const QString& why) {
        ++report.refused;
        report.reasons << T(german, "Quarvel %1 der Datei: %2.", "Quarvel %1 of the file: %2.").arg(n).arg(why);
    };
    for (const CollectionFile::Refusal& r : c.refused)
        refuse(r.number, RecordFaultText(r.fault, german));

    QuarvelNames names;
    names.Load(NamesFileFor(file));
    // The editor's rules: what could not be saved there is not taken from a file either.
    std::vector<FigureRules::Reference> references;
    for (int n = 1; n <= shipped.PuzzleCount; ++n)
        references.push_back(FigureRules::Reference{shipped[n], n, false, {}});
    for (int i = 1; i <= Count(); ++i)
        references.push_back(FigureRules::Reference{Record(i), i, true, Name(i).toStdString()});
    FigureRules::SlowCheck slow;

    const std::vector<int> positions = KeptPositions(c);
    const int total = static_cast<int>(c.records.size());
    for (int k = 0; k < total; ++k) {
        if (progress && !progress(k, total)) {
            report.stopped = true;
            return plan;
        }
        const PuzzleRecord& record = c.records[static_cast<std::size_t>(k)];
        const int n = positions[static_cast<std::size_t>(k)];
        if (Count() + static_cast<int>(plan.records.size()) >= MaxRecords) {
            refuse(n, T(german, "Meine Quarvels sind voll", "My Quarvels are full"));
            continue;
        }
        FigureRules::Verdict verdict = FigureRules::Quick(record, 0);
        // Played from the board's centre, as a saved figure is.
        const std::optional<PuzzleRecord> centred = FigureRules::Centred(record);
        if (verdict.Ok() && centred)
            verdict = slow.Run(*centred, references, [] { return false; }, [](int) {});
        if (verdict.reason == FigureRules::Reason::SameAs && verdict.twin.own) {
            ++report.duplicates;
            continue;
        }
        if (!verdict.Ok() || !centred) {
            refuse(n, verdict.Ok() ? T(german, "die Figur passt nicht in die Mitte des Spielfelds",
                                       "the figure does not fit the middle of the board")
                                   : QString::fromStdString(verdict.Text(german)));
            continue;
        }
        plan.records.push_back(*centred);
        plan.names << CleanName(QString::fromStdString(names.Name(n, german)));
        references.push_back(FigureRules::Reference{*centred, Count() + static_cast<int>(plan.records.size()), true,
                                                    plan.names.back().toStdString()});
    }
    if (progress)
        progress(total, total);
    return plan;
}

OwnCollection::ImportReport OwnCollection::ApplyImport(ImportPlan plan, bool german)
{
    ImportReport report = std::move(plan.report);
    if (report.stopped || plan.records.empty())
        return report;
    if (QString why; Refuse(german, &why) || Count() + static_cast<int>(plan.records.size()) > MaxRecords) {
        report.fileFault = true;
        report.refused += static_cast<int>(plan.records.size());
        report.reasons.prepend(why);
        return report;
    }
    Snapshot before = Take();
    for (qsizetype i = 0; i < plan.names.size(); ++i) {
        records_.push_back(plan.records[static_cast<std::size_t>(i)]);
        names_ << plan.names[i];
        progress_.push_back(0);
    }
    QString error;
    if (!Commit(std::move(before), german, &error)) {
        report.refused += static_cast<int>(plan.records.size());
        report.fileFault = true;
        report.reasons.prepend(error);
        return report;
    }
    report.added = static_cast<int>(plan.records.size());
    return report;
}

OwnCollection::ImportReport OwnCollection::Import(const std::filesystem::path& file, const PuzzleLibrary& shipped,
                                                  bool german)
{
    return ApplyImport(PlanImport(file, shipped, german), german);
}

} // namespace zq
