// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CollectionFile.h"
#include "engine/PuzzleLibrary.h"
#include "engine/PuzzleRecord.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace zq {

// The player's own Quarvels: a collection file of 24-byte records (the data
// file's format) with an optional names file and the player's progress beside
// it, under DefaultFolder(). Every change is written at once, each file
// atomically; a change that cannot be written is undone in memory and
// reported, so what the player sees is what is on disk.
class OwnCollection {
public:
    static constexpr int MaxRecords = CollectionFile::MaxRecords;
    static constexpr qsizetype MaxNameLength = 60;
    static constexpr const char* FileName = "my-quarvels.zqc";
    static constexpr const char* NamesFileName = "my-quarvels.names";
    static constexpr const char* ProgressFileName = "my-quarvels.zqv";
    // The extension of collection files the player exports and imports.
    static constexpr const char* Extension = "zqc";

    explicit OwnCollection(std::filesystem::path folder = DefaultFolder());
    // ${XDG_DATA_HOME:-~/.local/share}/zibble-quarvel
    static std::filesystem::path DefaultFolder();
    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path File() const { return folder_ / FileName; }

    // Reads the files (again). Returns a message for the player when the
    // collection file was damaged or unreadable, empty when all is well. A
    // damaged file is renamed aside (the message names the copy) and what
    // could be read of it is written back; when no copy can be made, the file
    // is left as it is and every change is refused until it is mended.
    QString Load(bool german);

    int Count() const { return static_cast<int>(records_.size()); }
    const PuzzleRecord& Record(int i) const { return records_[static_cast<std::size_t>(i - 1)]; } // 1..Count()
    QString Name(int i) const { return names_[static_cast<qsizetype>(i - 1)]; }                 // may be empty
    std::uint8_t Progress(int i) const { return progress_[static_cast<std::size_t>(i - 1)]; }
    // Whether changes can be written (false while a damaged file could not be kept aside).
    bool Writable() const { return writable_; }

    // Appends a figure (the editor has checked and centred it) with the
    // player's name. False, with the player's message in *error, when that is
    // not possible (full, cannot write); nothing is lost then.
    bool Append(const PuzzleRecord& r, const QString& name, bool german, QString* error);
    // Puts a figure opened again in the editor back in its place i; its progress starts afresh.
    bool Replace(int i, const PuzzleRecord& r, const QString& name, bool german, QString* error);
    bool Rename(int i, const QString& name, bool german, QString* error);
    bool Remove(int i, bool german, QString* error);
    // Moves figure i to place to (both 1..Count()), the others closing up.
    bool Move(int i, int to, bool german, QString* error);
    // The progress bytes of figures 1..Count(), as a game file holds them.
    bool SetProgress(int i, std::uint8_t progress, bool german, QString* error);
    bool ClearProgress(bool german, QString* error);

    // Writes figures (numbers 1..Count(), in the order given) to a collection
    // file the player named, with their names in a names file beside it.
    bool Export(const std::filesystem::path& file, const std::vector<int>& which, bool german, QString* error) const;

    struct ImportReport {
        int added = 0;
        int duplicates = 0; // already in the collection (or twice in the file): skipped
        int refused = 0;    // broke a rule, or no room left
        QStringList reasons; // one line per refused record, or the file's fault
        bool fileFault = false;
        bool stopped = false; // called off: nothing added
    };
    // Appends the sound figures of a collection file (with the names beside
    // it), moved to the board's centre: refused are those that break the rules
    // a figure saved in the editor obeys, a shipped Quarvel shifted, turned or
    // mirrored among them; figures already here are skipped as duplicates.
    // shipped: records 1..PuzzleCount. Takes a while for many figures.
    ImportReport Import(const std::filesystem::path& file, const PuzzleLibrary& shipped, bool german);
    // The same in two steps, so that the slow part can run beside the windows: the
    // plan changes nothing (and may run on another thread while nothing else
    // changes the collection); progress(done, total) returns false to call it off.
    struct ImportPlan {
        ImportReport report;
        std::vector<PuzzleRecord> records;
        QStringList names;
    };
    ImportPlan PlanImport(const std::filesystem::path& file, const PuzzleLibrary& shipped, bool german,
                          const std::function<bool(int, int)>& progress = {}) const;
    ImportReport ApplyImport(ImportPlan plan, bool german);

    // The names file beside a collection file: same name, extension .names.
    static std::filesystem::path NamesFileFor(const std::filesystem::path& collection);
    // The player's message for a collection file's fault (file shown by name).
    static QString FaultText(CollectionFile::Fault fault, const QString& file, bool german);
    static QString RecordFaultText(CollectionFile::RecordFault fault, bool german);
    // A name as it can be kept: no tabs, line breaks or control characters, trimmed, short.
    static QString CleanName(const QString& name);

private:
    struct Snapshot {
        std::vector<PuzzleRecord> records;
        QStringList names;
        std::vector<std::uint8_t> progress;
    };
    Snapshot Take() const { return Snapshot{records_, names_, progress_}; }
    void Restore(Snapshot s);
    // Writes all three files (or the progress alone); on failure restores the snapshot and sets *error.
    bool Commit(Snapshot before, bool german, QString* error, bool progressOnly = false);
    bool Refuse(bool german, QString* error) const;

    std::filesystem::path folder_;
    std::vector<PuzzleRecord> records_;
    QStringList names_;
    std::vector<std::uint8_t> progress_;
    bool writable_ = true;
};

} // namespace zq
