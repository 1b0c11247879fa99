// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, first activation and shutdown; the toolbar hints, language, rules, About page and web link.
#include "game/TMainform.h"

#include "dialogs/TAboutDlg.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TSplash.h"
#include "dialogs/TTongueDlg.h"
#include "dialogs/TYesNoDlg.h"
#include "engine/GameFile.h"
#include "engine/RegularFile.h"
#include "platform/placement/TFormPlacement.h"
#include "platform/services/AtomicFile.h"
#include "platform/services/DataDir.h"
#include "platform/services/FileNames.h"
#include "platform/services/TApplication.h"
#include "platform/services/TLinkLabel.h"
#include "platform/settings/SettingsError.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace zq {

namespace {
constexpr const char* Common = "common";

// Escape closes the rules, as it closes the game's other windows.
class EscapeCloses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (!key || key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        static_cast<QWidget*>(watched)->close();
        return true;
    }
};

struct Hint {
    const char* german;
    const char* english;
};
} // namespace

void TMainform::formCreate(Environment& environment)
{
    FirstActivation = true;
    RecoveryFile = environment.RecoveryFile;
    // Beside the program in the build tree, else ../share/zibble-quarvel/ of an installation.
    // The program's own path as bytes: its folder's name need not be UTF-8.
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const QByteArray programFolder = ec ? QFile::encodeName(QCoreApplication::applicationDirPath())
                                        : QByteArray::fromStdString(self.parent_path().native());
    State.ProgramDir = environment.ProgramDir.isEmpty() ? DecodeFileName(QByteArray(DataDirFor(programFolder.constData()).c_str()))
                                                       : environment.ProgramDir;
    random_.seed(environment.Seed ? *environment.Seed
                                  : static_cast<std::uint32_t>(
                                        std::chrono::steady_clock::now().time_since_epoch().count() ^
                                        std::chrono::system_clock::now().time_since_epoch().count()));
    randomOrientation_ = [this] { return static_cast<int>(random_() % 16); };

    // A damaged settings value is reported and its default used; the rest of
    // the start-up goes on, so the game never starts without its library.
    const auto guarded = [](auto read, auto fallback) {
        try {
            return read();
        } catch (const SettingsError& error) {
            TApplication::ShowException(error);
            return fallback;
        }
    };

    State.Language = guarded([&] { return ini.ReadInteger(Common, "tongue", -1); }, -1);

    const auto loaded = State.Library.LoadPuzzleLibrary(FileSystemPath(State.ProgramDir + QStringLiteral("zqvl2.dat")));
    if (loaded != PuzzleLibrary::LoadResult::Ok) {
        ShowError(State.German() ? QStringLiteral("Datei ZQVL2.DAT konnte nicht gefunden werden. Programm wird abgebrochen.")
                                 : QStringLiteral("Can't find file ZQVL2.DAT. Program aborted."));
        aborted_ = true;
        return;
    }

    HelpFile = State.ProgramDir + QStringLiteral("ZQVL2.HLP");
    SoundBtn->setChecked(guarded([&] { return ini.ReadBool(Common, "sound", true); }, true));
    State.CurrentPuzzle = guarded([&] { return ini.ReadInteger(Common, "level", 1); }, 1);
    // A stored number outside the library (a smaller data file, a damaged value) starts at the first.
    if (State.CurrentPuzzle < 1 || State.CurrentPuzzle > State.Library.PuzzleCount)
        State.CurrentPuzzle = 1;
    // The stored name is the name's bytes, which need not be UTF-8.
    State.GameFileName = DecodeFileName(
        QByteArray::fromStdString(guarded([&] { return ini.ReadString(Common, "save", std::string()); }, std::string())));
    State.ProgressBytes.fill(0);

    const auto loadError = [this](const QString& path) {
        ShowError(State.German() ? QStringLiteral("Fehler beim Laden des Spiels ") + path + QStringLiteral("!")
                                 : QStringLiteral("Error occured while loading file ") + path + QStringLiteral("!"));
    };
    // A file named on the command line is opened as the load button opens one: it becomes
    // the current game file. One that cannot be read is reported, and the stored game is
    // played instead: the player asked for a file, not for the game to end.
    bool opened = false;
    if (!environment.GameFile.isEmpty()) {
        const QString named = AbsoluteFileName(environment.GameFile);
        opened = ReadProgressFrom(named);
        if (opened)
            State.GameFileName = named;
        else
            loadError(named);
    }
    struct stat st {};
    if (!opened && !State.GameFileName.isEmpty() && ::stat(FileSystemPath(State.GameFileName).c_str(), &st) == 0) {
        if (!ReadProgressFrom(State.GameFileName)) {
            loadError(State.GameFileName);
            aborted_ = true;
            return;
        }
    }
    StampGameFile(State.GameFileName);
    Modified = false;
    ReadCollectionSettings(environment.CollectionFile);
    SetupPuzzle();
}

bool TMainform::ReadProgressFrom(const QString& path)
{
    // Never more than the library needs, however large the file is; never a
    // FIFO or a device, which could block the game or never end.
    std::vector<std::uint8_t> bytes;
    const int count = State.ShippedLibrary().PuzzleCount;
    if (ReadRegularFile(FileSystemPath(path), static_cast<std::size_t>(count), bytes) != ReadResult::Ok)
        return false;
    ReadProgress(bytes, count, State.ShippedProgressBytes());
    return true;
}

void TMainform::showEvent(QShowEvent* event)
{
    if (!placementRestored_) {
        placementRestored_ = true;
        FormPlacement1->Restore();
    }
    QWidget::showEvent(event);
}

void TMainform::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && FirstActivation)
        formActivate();
}

void TMainform::formActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    if (Splash)
        Splash->ShowModal();
    if (State.Language == -1 && TongueDlg)
        TongueDlg->ShowModal();
    UpdateHints();
    OfferRecovery();
    // The splash or the language dialog had the focus: the board's keys belong here.
    activateWindow();
}


void TMainform::closeEvent(QCloseEvent* event)
{
    if (sessionEnded_) {
        // Everything was saved when the session ended.
        event->accept();
        emit Closed();
        return;
    }
    if (closing_) {
        // A close asked for from inside the shutdown (a failed automatic save) changes nothing.
        event->ignore();
        return;
    }
    if (!EditorMayGo() || !formCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    try {
        formClose();
    } catch (const std::exception& error) {
        // Settings that cannot be written are reported, but never keep the player from quitting.
        TApplication::ShowException(error);
    }
    closing_ = false;
    event->accept();
    emit Closed();
}

bool TMainform::formCloseQuery()
{
    if (!YesNoDlg)
        return true;
    return YesNoDlg->ShowModal(TYesNoDlg::endgame) == 6;
}

void TMainform::formClose()
{
    if (HelpViewer)
        HelpViewer->close();
    SaveIfModified();
    ini.WriteBool(Common, "sound", SoundBtn->isChecked());
    ini.WriteInteger(Common, "level", State.ShippedCurrent());
    ini.WriteInteger(Common, "tongue", State.Language);
    ini.WriteString(Common, "save", EncodeFileName(State.GameFileName).toStdString());
    WriteCollectionSettings();
}

void TMainform::ExitBtnClick() { RequestClose(); }

std::filesystem::path TMainform::DefaultRecoveryFile()
{
    std::filesystem::path data;
    // A relative XDG_DATA_HOME is to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        return {};
    return data / "zibble-quarvel" / "recovery.zqv";
}

void TMainform::EndSession()
{
    if (sessionEnded_)
        return;
    sessionEnded_ = true;
    if (HelpViewer)
        HelpViewer->close();
    if (Modified) {
        // Nobody is there to answer a question or read a message now: the game
        // goes to its file unless someone else changed that file, and whatever
        // cannot go there is kept for the next start.
        const std::span bytes = State.ShippedGame();
        bool kept = !State.GameFileName.isEmpty() && !ChangedOnDisk() &&
                    WriteFileAtomically(FileSystemPath(State.GameFileName), bytes);
        if (kept) {
            StampGameFile(State.GameFileName);
        } else if (!RecoveryFile.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(RecoveryFile.parent_path(), ec);
            kept = WriteFileAtomically(RecoveryFile, bytes);
        }
        if (kept)
            Modified = false;
    }
    try {
        ini.WriteBool(Common, "sound", SoundBtn->isChecked());
        ini.WriteInteger(Common, "level", State.ShippedCurrent());
        ini.WriteInteger(Common, "tongue", State.Language);
        ini.WriteString(Common, "save", EncodeFileName(State.GameFileName).toStdString());
        WriteCollectionSettings();
    } catch (const std::exception&) {
        // Nothing more can be done while the session ends; the game file is safe.
    }
}

void TMainform::OfferRecovery()
{
    if (RecoveryFile.empty() || sessionEnded_)
        return;
    std::vector<std::uint8_t> bytes;
    // Anything but a regular file there is not ours: left alone.
    if (ReadRegularFile(RecoveryFile, static_cast<std::size_t>(State.ShippedLibrary().PuzzleCount), bytes) !=
        ReadResult::Ok)
        return;
    const QString question =
        State.German() ? QStringLiteral("Das Spiel wurde beim letzten Mal beendet, bevor der Spielstand gespeichert "
                                        "werden konnte. Mit diesem Spielstand weiterspielen?")
                       : QStringLiteral("The game was ended last time before its progress could be saved. Continue "
                                        "with that progress?");
    const bool resume = QMessageBox::question(this, QStringLiteral("Zibble Quarvel"), question,
                                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    // The session ended while the question was up: it was not answered, and the kept game stays kept.
    if (sessionEnded_)
        return;
    std::error_code ec;
    std::filesystem::remove(RecoveryFile, ec);
    if (!resume)
        return;
    // The kept game is one of the shipped Quarvels: they are played again.
    State.Play(ProgramState::Collection::Shipped);
    ReadProgress(bytes, State.Library.PuzzleCount, State.ProgressBytes);
    UpdateTitle();
    // Not saved yet: the next save, load, new game or quit saves it.
    Modified = true;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::BringToFront(const QString& file)
{
    if (sessionEnded_ || closing_)
        return;
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    front->raise();
    front->activateWindow();
    if (file.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        // A question or dialog is open: the file is opened once it is answered.
        QTimer::singleShot(250, this, [this, file] { BringToFront(file); });
        return;
    }
    if (!EditorMayGo())
        return;
    // A collection file handed over is played as --collection plays it.
    if (file.startsWith(QLatin1String(CollectionRequest))) {
        OpenCollectionFile(file.mid(static_cast<qsizetype>(std::strlen(CollectionRequest))));
        return;
    }
    SaveIfModified();
    LoadChosenFile(file);
}

void TMainform::RequestClose()
{
    if (closing_)
        return;
    close();
}

void TMainform::UpdateHints()
{
    static constexpr std::array<Hint, 14> hints{{
        {"Ich fang ein neues Spiel an.", "I want to play a new game."},
        {"Ich hol mir einen alten Spielstand.", "I want to continue an old game."},
        {"Einmal zu oft gesichert ist besser als einmal zuwenig", "Save often, save always."},
        {"Mal sehen, was ich bisher schon geschafft habe.", "Let me see, what I've solved until now."},
        {"Ich hab genug!", "I have enough!"},
        {"Ich probier ein anderes Quarvel.", "I try another Quarvel."},
        {"Ich nehm' das nächste Quarvel.", "I take the next Quarvel."},
        {"Ich nehm' das vorige Quarvel.", "I take the previous Quarvel."},
        {"Ich lass mir unter die Arme greifen.", "I need a little help."},
        {"Die Geräusche mag ich nicht immer.", "I dont like the sound always."},
        {"I don't speak german.", "Ich spreche nicht englisch."},
        {"Worum geht's da eigentlich?", "What's to do here?"},
        {"Wer hat dieses Spiel nur verbrochen?", "Who did this ZIBBLE GAME?"},
        {"Hurra, es gibt noch mehr Zibble Games.", "Hurrah, there are more ZIBBLE GAMES."},
    }};
    const std::array<QToolButton*, 14> buttons{NewgameBtn, LoadBtn, SaveBtn, StatBtn,  ExitBtn,   SelectBtn, UpBtn,
                                               DownBtn,    TipBtn,  SoundBtn, TongueBtn, RulesBtn, InfoBtn,   ZibbleBtn};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setToolTip(QString::fromUtf8(State.German() ? hints[i].german : hints[i].english));
    UpdateTitle();
    UpdateEditorTexts();
}

void TMainform::TongueBtnClick()
{
    if (TongueDlg)
        TongueDlg->ShowModal();
    UpdateHints();
    // The language dialog had the focus: the board's keys belong here.
    activateWindow();
}

void TMainform::rules()
{
    if (!HelpViewer) {
        HelpViewer = new QTextBrowser(this);
        HelpViewer->setObjectName(QStringLiteral("HelpViewer"));
        HelpViewer->setWindowFlag(Qt::Window);
        HelpViewer->resize(560, 520);
        HelpViewer->setOpenExternalLinks(true);
        HelpViewer->installEventFilter(new EscapeCloses(HelpViewer));
    }
    const QString topic = State.German() ? QStringLiteral("Das_Spiel") : QStringLiteral("The_game");
    HelpViewer->setWindowTitle(State.German() ? QStringLiteral("Zibble Quarvel - Spielregeln")
                                              : QStringLiteral("Zibble Quarvel - Rules"));
    // Like every file the game reads: a regular file only, so that nothing in its place can hang the game.
    constexpr std::size_t LargestHelp = 16 << 20;
    std::vector<std::uint8_t> help;
    if (ReadRegularFile(FileSystemPath(HelpFile), LargestHelp, help) != ReadResult::Ok) {
        // An empty viewer would leave the player guessing what went wrong.
        ShowError(State.German() ? QStringLiteral("Die Hilfedatei ") + HelpFile + QStringLiteral(" konnte nicht geöffnet werden.")
                                 : QStringLiteral("Can't open the help file ") + HelpFile + QStringLiteral("."));
        return;
    }
    HelpViewer->setHtml(QString::fromUtf8(reinterpret_cast<const char*>(help.data()), static_cast<qsizetype>(help.size())));
    HelpViewer->show();
    HelpViewer->raise();
    HelpViewer->scrollToAnchor(topic);
}

void TMainform::info()
{
    if (AboutDlg)
        AboutDlg->ShowModal();
    UpdateHints();
    RepaintPattern();
}

void TMainform::ZibbleBtnClick() { WebLabel->Click(); }

} // namespace zq
