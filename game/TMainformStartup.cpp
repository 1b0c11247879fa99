// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, first activation and shutdown; the toolbar hints, language, rules, About page and web link.
#include "game/TMainform.h"

#include "dialogs/TAboutDlg.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TSplash.h"
#include "dialogs/TTongueDlg.h"
#include "dialogs/TYesNoDlg.h"
#include "engine/GameFile.h"
#include "platform/placement/TFormPlacement.h"
#include "platform/services/DataDir.h"
#include "platform/services/TApplication.h"
#include "platform/services/TLinkLabel.h"
#include "platform/settings/SettingsError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>

#include <chrono>

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
    // Beside the program in the build tree, else ../share/zibble-quarvel/ of an installation.
    const QByteArray programFolder = QFile::encodeName(QCoreApplication::applicationDirPath());
    State.ProgramDir = environment.ProgramDir.isEmpty() ? QFile::decodeName(DataDirFor(programFolder.constData()).c_str())
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

    const auto loaded = State.Library.LoadPuzzleLibrary(std::filesystem::path(
        (State.ProgramDir + QStringLiteral("zqvl2.dat")).toStdString()));
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
    State.GameFileName =
        QString::fromStdString(guarded([&] { return ini.ReadString(Common, "save", std::string()); }, std::string()));
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
        const QString named = QFileInfo(environment.GameFile).absoluteFilePath();
        opened = ReadProgressFrom(named);
        if (opened)
            State.GameFileName = named;
        else
            loadError(named);
    }
    if (!opened && !State.GameFileName.isEmpty() && QFileInfo::exists(State.GameFileName)) {
        if (!ReadProgressFrom(State.GameFileName)) {
            loadError(State.GameFileName);
            aborted_ = true;
            return;
        }
    }
    Modified = false;
    SetupPuzzle();
}

bool TMainform::ReadProgressFrom(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Never more than the library needs, however large the file is.
    const QByteArray bytes = f.read(State.Library.PuzzleCount);
    if (f.error() != QFileDevice::NoError)
        return false;
    ReadProgress(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
                 State.Library.PuzzleCount, State.ProgressBytes);
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
    // The splash or the language dialog had the focus: the board's keys belong here.
    activateWindow();
}


void TMainform::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        // A close asked for from inside the shutdown (a failed automatic save) changes nothing.
        event->ignore();
        return;
    }
    if (!formCloseQuery()) {
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
    ini.WriteInteger(Common, "level", State.CurrentPuzzle);
    ini.WriteInteger(Common, "tongue", State.Language);
    ini.WriteString(Common, "save", State.GameFileName.toStdString());
}

void TMainform::ExitBtnClick() { RequestClose(); }

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
    QFile f(HelpFile);
    if (!f.open(QIODevice::ReadOnly)) {
        // An empty viewer would leave the player guessing what went wrong.
        ShowError(State.German() ? QStringLiteral("Die Hilfedatei ") + HelpFile + QStringLiteral(" konnte nicht geöffnet werden.")
                                 : QStringLiteral("Can't open the help file ") + HelpFile + QStringLiteral("."));
        return;
    }
    HelpViewer->setHtml(QString::fromUtf8(f.readAll()));
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
