// SPDX-License-Identifier: GPL-3.0-or-later
// Own Quarvels and collection files on the board: their progress, the
// collection remembered between runs, and a collection file played read-only.
#include "game/TMainform.h"

#include "engine/CollectionFile.h"
#include "engine/QuarvelNames.h"
#include "platform/canvas/CanvasWidget.h"
#include "platform/services/FileNames.h"
#include "platform/settings/SettingsError.h"
#include "platform/services/TApplication.h"

#include <QFileInfo>

namespace zq {

namespace {
constexpr const char* Common = "common";
// New keys: the old ones ("level" among them) keep meaning the shipped Quarvels.
constexpr const char* CollectionKey = "collection";
constexpr const char* OwnLevelKey = "ownlevel";
} // namespace

void TMainform::ProgressChanged()
{
    QString error;
    if (State.ProgressChanged(&error))
        Modified = true;
    else if (!error.isEmpty())
        ShowError(error);
}

void TMainform::ReadCollectionSettings(const QString& collectionFile)
{
    std::string stored;
    int ownLevel = 1;
    try {
        stored = ini.ReadString(Common, CollectionKey, std::string());
        ownLevel = ini.ReadInteger(Common, OwnLevelKey, 1);
    } catch (const SettingsError& error) {
        TApplication::ShowException(error);
    }
    if (stored == "own") {
        if (const QString message = State.LoadOwnOnce(); !message.isEmpty())
            ShowError(message);
        State.OwnChanged(ownLevel);
        State.Play(ProgramState::Collection::Own); // an empty collection leaves the shipped Quarvels on the board
    }
    if (!collectionFile.isEmpty())
        PlayCollectionFile(collectionFile); // set up by the start-up
}

void TMainform::WriteCollectionSettings()
{
    // Nothing new is written for a player who never opened the own Quarvels.
    if (!State.OwnLoaded)
        return;
    if (State.Playing != ProgramState::Collection::File)
        ini.WriteString(Common, CollectionKey, State.Playing == ProgramState::Collection::Own ? "own" : "shipped");
    ini.WriteInteger(Common, OwnLevelKey, State.CurrentOf(ProgramState::Collection::Own));
}

QString TMainform::CollectionTitle() const
{
    if (State.Playing == ProgramState::Collection::Own)
        return State.German() ? QStringLiteral(" - Meine Quarvels") : QStringLiteral(" - My Quarvels");
    if (State.Playing == ProgramState::Collection::File)
        return (State.German() ? QStringLiteral(" - Sammlung ") : QStringLiteral(" - Collection ")) +
               ShownFileName(QFileInfo(State.Loose.File).fileName());
    return {};
}

void TMainform::OpenCollectionFile(const QString& file)
{
    if (!PlayCollectionFile(file))
        return;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
    UpdateTitle();
}

bool TMainform::PlayCollectionFile(const QString& file)
{
    const QString path = AbsoluteFileName(file);
    const std::filesystem::path fsPath = FileSystemPath(path);
    const CollectionFile::Contents c = CollectionFile::Read(fsPath);
    const bool german = State.German();
    const QString shown = ShownFileName(path);
    QStringList why;
    if (c.fault != CollectionFile::Fault::None)
        why << OwnCollection::FaultText(c.fault, shown, german);
    for (const CollectionFile::Refusal& r : c.refused) {
        // A long list of bad records says no more than its start.
        if (why.size() >= 12) {
            why << QStringLiteral("...");
            break;
        }
        why << QStringLiteral("Quarvel %1: %2.").arg(r.number).arg(OwnCollection::RecordFaultText(r.fault, german));
    }
    if (c.records.empty()) {
        why << (german ? QStringLiteral("Es wird weiter gespielt wie bisher.") : QStringLiteral("The game goes on as before."));
        ShowError(why.join(QLatin1Char('\n')));
        return false;
    }
    if (!why.isEmpty()) {
        why << (german ? QStringLiteral("Die übrigen %1 Quarvels werden gespielt.")
                       : QStringLiteral("The other %1 Quarvels are played."))
                   .arg(c.records.size());
        ShowError(why.join(QLatin1Char('\n')));
    }
    // The names beside the file label its Quarvels in the file's numbering.
    QuarvelNames names;
    names.Load(OwnCollection::NamesFileFor(fsPath));
    QStringList kept;
    std::size_t refused = 0;
    for (int n = 1; kept.size() < static_cast<qsizetype>(c.records.size()); ++n) {
        if (refused < c.refused.size() && c.refused[refused].number == n) {
            ++refused;
            continue;
        }
        kept << OwnCollection::CleanName(QString::fromStdString(names.Name(n, german)));
    }
    // Another file played before is left; its progress is not kept.
    if (State.Playing == ProgramState::Collection::File)
        State.Play(ProgramState::Collection::Shipped);
    State.Loose = ProgramState::LooseCollection{path, c.records, kept};
    State.Play(ProgramState::Collection::File, 1);
    for (int n = 1; n <= State.Library.PuzzleCount; ++n)
        State.Progress(n) = 0;
    return true;
}

} // namespace zq
