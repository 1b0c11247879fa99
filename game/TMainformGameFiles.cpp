// SPDX-License-Identifier: GPL-3.0-or-later
// Game files: save, save as, load, new game, and the title that names the file.
#include "game/TMainform.h"

#include "dialogs/TYesNoDlg.h"
#include "platform/canvas/CanvasWidget.h"
#include "platform/services/AtomicFile.h"
#include "platform/services/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QFileInfo>
#include <QMessageBox>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

namespace {
// No file system takes a name of more than 255 bytes, so a longer one comes
// from a damaged setting; it is cut short, since laying out a message or title
// of a megabyte takes seconds.
QString FileNameOf(const QString& path)
{
    constexpr qsizetype Longest = 255;
    const QString name = ShownFileName(QFileInfo(path).fileName());
    return name.size() > Longest ? name.left(Longest) + QChar(0x2026) : name;
}
} // namespace

QString TMainform::GameFolder() const
{
    // The program's folder only while the game runs from where it was built; an
    // installed game's data folder is not the player's, even where it is writable.
    const bool besideProgram = QDir(State.ProgramDir) == QDir(QCoreApplication::applicationDirPath());
    if (besideProgram && QFileInfo(State.ProgramDir).isWritable())
        return State.ProgramDir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

TMainform::DiskStamp TMainform::StampOf(const QString& path)
{
    struct stat st {};
    if (::stat(FileSystemPath(path).c_str(), &st) != 0)
        return DiskStamp{}; // no file
    return DiskStamp{static_cast<long long>(st.st_dev), static_cast<long long>(st.st_ino),
                     static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
                     static_cast<long long>(st.st_mtim.tv_nsec)};
}

void TMainform::StampGameFile(const QString& path)
{
    stampedFile_ = path;
    gameFileStamp_ = StampOf(path);
}

bool TMainform::ChangedOnDisk() const
{
    // A file that is gone holds nobody's progress: writing it loses nothing.
    if (State.GameFileName.isEmpty() || State.GameFileName != stampedFile_)
        return false;
    const DiskStamp now = StampOf(State.GameFileName);
    return now != DiskStamp{} && now != gameFileStamp_;
}

bool TMainform::MayOverwriteGameFile()
{
    // Another copy of the game (or anything else) wrote the file since we read
    // or wrote it: its progress is not simply overwritten.
    if (!ChangedOnDisk())
        return true;
    const QString name = FileNameOf(State.GameFileName);
    const QString question =
        State.German() ? QStringLiteral("Spiel ") + name +
                             QStringLiteral(" wurde inzwischen von einem anderen Programm geändert. Überschreiben?")
                       : QStringLiteral("Game ") + name +
                             QStringLiteral(" was changed by another program since it was loaded. Overwrite?");
    return QMessageBox::warning(this, QStringLiteral("Zibble Quarvel"), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QFileDialog& TMainform::FileDialog(QFileDialog*& dialog, bool save)
{
    // A new dialog for every use, made only then (it costs more than the rest of the
    // window): one kept from an earlier use can bring its old pick back over a typed name.
    delete dialog;
    dialog = new QFileDialog(this);
    dialog->setObjectName(save ? QStringLiteral("SaveDlg") : QStringLiteral("OpenDlg"));
    dialog->setNameFilter(QStringLiteral("Zibble Quarvel (*.zqv)"));
    dialog->setDefaultSuffix(QStringLiteral("zqv"));
    // Our own dialog everywhere, so that it behaves alike on every desktop and in tests.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog->setOption(QFileDialog::DontConfirmOverwrite); // asked after the extension is forced
    else
        dialog->setFileMode(QFileDialog::AnyFile); // a typed name that does not exist is reported on loading
    return *dialog;
}

bool TMainform::WriteGameFile(const QString& path)
{
    // A game file holds the shipped Quarvels' progress, also while own ones are played.
    const bool ok = WriteFileAtomically(FileSystemPath(path), State.ShippedGame());
    if (!ok) {
        ShowError(State.German() ? QStringLiteral("Kann Spiel ") + FileNameOf(path) +
                                       QStringLiteral(" nicht speichern. Datenträger voll oder nicht beschreibbar.")
                                 : QStringLiteral("Cannot save game ") + FileNameOf(path) +
                                       QStringLiteral(". Drive full or not writable."));
        RequestClose();
        return false;
    }
    StampGameFile(path);
    return true;
}

bool TMainform::ReadGameFile(const QString& path)
{
    if (!ReadProgressFrom(path)) {
        ShowError(State.German() ? QStringLiteral("Fehler beim Laden des Spiels ") + FileNameOf(path) + QStringLiteral("!")
                                 : QStringLiteral("Error occured while loading file ") + FileNameOf(path) +
                                       QStringLiteral("!"));
        RequestClose();
        return false;
    }
    StampGameFile(path);
    return true;
}

void TMainform::SaveGameAs()
{
    QFileDialog& SaveDialog = FileDialog(SaveDlg, true);
    if (State.GameFileName.isEmpty()) {
        SaveDialog.setDirectory(GameFolder());
        SaveDialog.selectFile(QString());
    } else {
        SaveDialog.setDirectory(QFileInfo(State.GameFileName).absolutePath());
        SaveDialog.selectFile(State.GameFileName);
    }
    for (;;) {
        if (SaveDialog.exec() != QDialog::Accepted || SaveDialog.selectedFiles().isEmpty())
            return;
        const QFileInfo chosen(SaveDialog.selectedFiles().constFirst());
        const QString name = chosen.absolutePath() + QLatin1Char('/') + chosen.completeBaseName() + QStringLiteral(".zqv");
        if (::access(FileSystemPath(name).c_str(), F_OK) == 0 || errno != ENOENT) {
            const QString question =
                State.German() ? QStringLiteral("Spiel ") + FileNameOf(name) + QStringLiteral(" existiert bereits. Überschreiben?")
                               : QStringLiteral("Game ") + FileNameOf(name) + QStringLiteral(" already exists. Overwrite?");
            if (QMessageBox::warning(this, QStringLiteral("Zibble Quarvel"), question, QMessageBox::Yes | QMessageBox::No) !=
                QMessageBox::Yes)
                continue;
        }
        if (WriteGameFile(name)) {
            Modified = false;
            State.GameFileName = name;
            UpdateTitle();
        }
        return;
    }
}

void TMainform::SaveIfModified()
{
    if (!Modified)
        return;
    if (State.GameFileName.isEmpty())
        SaveGameAs();
    else if (MayOverwriteGameFile())
        WriteGameFile(State.GameFileName);
}

void TMainform::SaveBtnClick()
{
    if (State.GameFileName.isEmpty())
        SaveGameAs();
    else if (MayOverwriteGameFile())
        WriteGameFile(State.GameFileName);
}

void TMainform::LoadBtnClick()
{
    if (!EditorMayGo())
        return;
    QFileDialog& OpenDialog = FileDialog(OpenDlg, false);
    OpenDialog.setDirectory(State.GameFileName.isEmpty() ? GameFolder() : QFileInfo(State.GameFileName).absolutePath());
    if (OpenDialog.exec() != QDialog::Accepted)
        return;
    const QString name = OpenDialog.selectedFiles().isEmpty() ? QString() : OpenDialog.selectedFiles().constFirst();
    SaveIfModified();
    if (!name.isEmpty())
        LoadChosenFile(name);
}

void TMainform::LoadChosenFile(const QString& name)
{
    if (ReadGameFile(name)) {
        // A game is played on the shipped Quarvels.
        State.Play(ProgramState::Collection::Shipped);
        SetupPuzzle();
        Modified = false;
        State.GameFileName = name;
        box->Repaint();
        update();
        RepaintPattern();
        UpdateTitle();
    }
}

void TMainform::NewgameBtnClick()
{
    if (!YesNoDlg || !EditorMayGo() || YesNoDlg->ShowModal(TYesNoDlg::giveup) != 6)
        return;
    SaveIfModified();
    // A new game is one on the shipped Quarvels; the own ones keep their progress.
    State.Play(ProgramState::Collection::Shipped);
    for (int i = 1; i <= State.Library.PuzzleCount; ++i)
        State.Progress(i) = 0;
    SetupPuzzle();
    Modified = false;
    State.GameFileName.clear();
    box->Repaint();
    update();
    RepaintPattern();
    UpdateTitle();
}

void TMainform::UpdateTitle()
{
    QString title = QStringLiteral("Zibble Quarvel");
    if (State.Playing != ProgramState::Collection::Shipped)
        title += CollectionTitle();
    else if (!State.GameFileName.isEmpty())
        title += (State.German() ? QStringLiteral(" - Spiel ") : QStringLiteral(" - Game ")) + FileNameOf(State.GameFileName);
    setWindowTitle(title);
}

} // namespace zq
