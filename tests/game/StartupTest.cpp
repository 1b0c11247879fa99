// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include "platform/services/TLinkLabel.h"
#include "dialogs/TSplash.h"
#include "dialogs/TTongueDlg.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTest>
#include <QToolButton>

using namespace zq;
using namespace zq::test;

namespace {
struct Startup : MainformFixture {
    QString message;
    std::function<void(QWidget*)> TakeMessage()
    {
        return [this](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(m, nullptr);
            message = m->text();
            m->button(QMessageBox::Ok)->click();
        };
    }
    void Quit(std::vector<std::function<void(QWidget*)>> answers)
    {
        ModalScript script(std::move(answers));
        form->close();
    }
};

std::function<void(QWidget*)> Enter()
{
    return [](QWidget* w) { PressKey(w, Qt::Key_Return); };
}
std::function<void(QWidget*)> Escape()
{
    return [](QWidget* w) { PressKey(w, Qt::Key_Escape); };
}
} // namespace

// The splash comes at every start, the language dialog only while no language is stored;
// the language button offers it again later. Hints follow the language at once.
TEST_F(Startup, FirstActivationShowsSplashAndAsksForALanguageOnlyWhileNoneIsStored)
{
    for (const int stored : {-1, 0, 1}) {
        SCOPED_TRACE(stored);
        if (stored != -1)
            TIniStore(SettingsPath()).WriteInteger("common", "tongue", stored);
        Start();
        ASSERT_EQ(state.Language, stored);
        EXPECT_TRUE(form->NewgameBtn->toolTip().isEmpty()) << "hints come with the first activation";
        TSplash splash;
        TTongueDlg tongue(state, form.get());
        form->Splash = &splash;
        form->TongueDlg = &tongue;
        std::vector<QString> seen;
        {
            ModalScript script({[&](QWidget* w) {
                                    seen.push_back(w->metaObject()->className());
                                    splash.Click();
                                },
                                [&](QWidget* w) {
                                    seen.push_back(w->metaObject()->className());
                                    w->findChild<QPushButton*>(QStringLiteral("GermanBtn"))->click();
                                }});
            form->formActivate();
            form->formActivate(); // only the first activation does anything
        }
        std::vector<QString> expected{QStringLiteral("zq::TSplash")};
        if (stored == -1)
            expected.push_back(QStringLiteral("zq::TTongueDlg"));
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(state.Language, stored == -1 ? 1 : stored);
        EXPECT_EQ(form->NewgameBtn->toolTip(),
                  state.Language == 1 ? QStringLiteral("Ich fang ein neues Spiel an.") : QStringLiteral("I want to play a new game."));

        // The language button: the dialog, then every hint in the new language.
        const int before = state.Language;
        {
            ModalScript script({[&](QWidget* w) {
                w->findChild<QPushButton*>(before == 1 ? QStringLiteral("EnglishBtn") : QStringLiteral("GermanBtn"))->click();
            }});
            form->TongueBtnClick();
            EXPECT_TRUE(script.Done());
        }
        EXPECT_EQ(state.Language, before == 1 ? 0 : 1);
        EXPECT_EQ(form->TipBtn->toolTip(),
                  state.Language == 1 ? QStringLiteral("Ich lass mir unter die Arme greifen.") : QStringLiteral("I need a little help."));
        form->Splash = nullptr;
        form->TongueDlg = nullptr;
        TearDown();
        std::filesystem::remove(SettingsPath());
        state = ProgramState{};
    }
}

TEST_F(Startup, MissingDataFileIsReportedInTheStoredLanguageAndEndsTheStart)
{
    {
        ModalScript script({TakeMessage()});
        Create();
    }
    EXPECT_TRUE(form->Aborted());
    EXPECT_EQ(message, QStringLiteral("Can't find file ZQVL2.DAT. Program aborted."));
    form.reset();
    TIniStore(SettingsPath()).WriteInteger("common", "tongue", 1);
    {
        ModalScript script({TakeMessage()});
        Create();
    }
    EXPECT_TRUE(form->Aborted());
    EXPECT_EQ(message, QStringLiteral("Datei ZQVL2.DAT konnte nicht gefunden werden. Programm wird abgebrochen."));
    form.reset();
    EXPECT_EQ(TIniStore(SettingsPath()).ReadString("common", "level", "none"), "none") << "nothing is written";
}

TEST_F(Startup, LastGameFileGoneIsNoFailureButAnUnreadableOneEndsTheStart)
{
    TIniStore ini(SettingsPath());
    ini.WriteString("common", "save", Path("gone.zqv").toStdString());
    ini.WriteInteger("common", "level", 999); // outside the library: the first Quarvel instead
    Start();
    EXPECT_EQ(state.GameFileName, Path("gone.zqv"));
    EXPECT_EQ(state.CurrentPuzzle, 1);
    form->UpdateHints();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - Game gone.zqv"));
    TearDown();

    QDir(dir.path()).mkdir(QStringLiteral("folder.zqv")); // exists, cannot be read as a file
    ini.WriteString("common", "save", Path("folder.zqv").toStdString());
    {
        ModalScript script({TakeMessage()});
        Create();
    }
    EXPECT_TRUE(form->Aborted());
    EXPECT_EQ(message, QStringLiteral("Error occured while loading file ") + Path("folder.zqv") + QStringLiteral("!"));
}

// A game file named on the command line is read as a load reads it (of any length) and
// becomes the game file by its full path, so that the next start finds it from any folder.
// One that cannot be read is reported with its full path, and the stored game is played.
TEST_F(Startup, GameFileFromTheCommandLineReplacesTheStoredOneOnlyWhenItCanBeRead)
{
    const auto write = [&](const char* name, std::initializer_list<char> bytes) {
        std::ofstream(Path(name).toStdString(), std::ios::binary).write(std::data(bytes), std::ssize(bytes));
    };
    const auto progress = [&] {
        std::vector<int> bytes;
        for (int i = 1; i <= 5; ++i)
            bytes.push_back(state.Progress(i));
        return bytes;
    };
    write("stored.zqv", {9, 9, 9, 9, 9});
    write("short.zqv", {12, 2, 1});
    TIniStore(SettingsPath()).WriteString("common", "save", Path("stored.zqv").toStdString());

    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    gameFile = QStringLiteral("short.zqv");
    Start();
    QDir::setCurrent(before);
    EXPECT_EQ(state.GameFileName, Path("short.zqv"));
    EXPECT_EQ(progress(), (std::vector<int>{12, 2, 1, 0, 0}));
    EXPECT_FALSE(form->Modified);
    Quit({Enter()});
    EXPECT_EQ(TIniStore(SettingsPath()).ReadString("common", "save", "?"), Path("short.zqv").toStdString());
    EXPECT_EQ(QFileInfo(Path("short.zqv")).size(), 3) << "an unchanged game is not written back";
    TearDown();
    state = ProgramState{};

    TIniStore(SettingsPath()).WriteString("common", "save", Path("stored.zqv").toStdString());
    for (const char* unreadable : {"gone.zqv", "folder.zqv"}) {
        SCOPED_TRACE(unreadable);
        QDir(dir.path()).mkdir(QStringLiteral("folder.zqv"));
        gameFile = Path(unreadable);
        message.clear();
        {
            ModalScript script({TakeMessage()});
            Start();
        }
        EXPECT_EQ(message, QStringLiteral("Error occured while loading file ") + Path(unreadable) + QStringLiteral("!"));
        EXPECT_EQ(state.GameFileName, Path("stored.zqv"));
        EXPECT_EQ(progress(), (std::vector<int>{9, 9, 9, 9, 9}));
        TearDown();
        state = ProgramState{};
    }
}

TEST_F(Startup, DamagedSettingIsReportedAndTheGameStillStarts)
{
    {
        std::ofstream out(SettingsPath());
        out << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"
               "\"tongue\"=dword:00000001\n\"level\"=\"3\"\n";
    }
    WriteLibrary(dir.path(), 5);
    {
        ModalScript script({TakeMessage()});
        Create();
    }
    EXPECT_FALSE(form->Aborted());
    EXPECT_EQ(message, QStringLiteral("Ungültiger Datentyp für 'tongue'"));
    EXPECT_EQ(state.Language, -1);
    EXPECT_EQ(state.CurrentPuzzle, 3);
    EXPECT_EQ(state.Library[0], state.Library[3]);
}

TEST_F(Startup, NoToTheQuitQuestionKeepsEverything)
{
    Start();
    form->TipBtnClick();
    Quit({Escape()});
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(state.Progress(1), 1);
    EXPECT_EQ(TIniStore(SettingsPath()).ReadString("common", "level", "none"), "none");
}

TEST_F(Startup, QuittingModifiedWithoutANameAndCancellingSavesNothing)
{
    Start();
    form->TipBtnClick();
    bool saveDialog = false;
    Quit({Enter(), [&](QWidget* w) {
              auto* d = qobject_cast<QFileDialog*>(w);
              saveDialog = d && d->acceptMode() == QFileDialog::AcceptSave;
              static_cast<QDialog*>(w)->reject();
          }});
    EXPECT_TRUE(saveDialog) << "a modified game without a file asks for a name";
    TIniStore ini(SettingsPath());
    EXPECT_EQ(ini.ReadString("common", "save", "?"), "");
    EXPECT_EQ(ini.ReadInteger("common", "tongue", 5), -1) << "an unchosen language is stored, so it is asked again";
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.zqv")}, QDir::Files).isEmpty());
}

TEST_F(Startup, SoundQuarvelAndLanguageSurviveARestart)
{
    Start(20);
    form->SoundBtn->setChecked(false);
    for (int i = 0; i < 16; ++i)
        form->UpBtnClick();
    state.Language = 0;
    Quit({Enter()});
    TearDown();
    state = ProgramState{};
    Start(20);
    EXPECT_FALSE(form->SoundBtn->isChecked());
    EXPECT_EQ(state.CurrentPuzzle, 17);
    EXPECT_EQ(state.Language, 0);
    EXPECT_EQ(state.Library[0], state.Library[17]);
    // With the sound button up nothing is played.
    sounds.Events.clear();
    form->TipBtnClick();
    form->PlayWave(5);
    EXPECT_TRUE(sounds.Events.empty());
}

// The sound system is bound once the window has painted, so that the first
// sound starts as quickly as later ones; with sound off, once it is switched on.
TEST_F(Startup, SoundIsReadiedAfterTheFirstPaintOnlyWhenItIsOn)
{
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        TIniStore(SettingsPath()).WriteBool("common", "sound", on);
        Start();
        QCoreApplication::processEvents();
        EXPECT_EQ(sounds.Prepared, 0) << "not while the window is not on screen";
        form->show();
        // Long enough for several paints; readied once all the same.
        QDeadlineTimer deadline(1000);
        while (!deadline.hasExpired()) {
            form->update();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(sounds.Prepared, on ? 1 : 0);
        if (!on) {
            form->SoundBtn->click();
            EXPECT_EQ(sounds.Prepared, 1) << "switched on, ready for the next sound";
        }
        TearDown();
        state = ProgramState{};
        sounds.Prepared = 0;
    }
}

// Every hint in both languages; any language but German gives the English ones.
TEST_F(Startup, EveryHintFollowsTheLanguage)
{
    Start();
    struct Row {
        const char* button;
        const char* german;
        const char* english;
    };
    const Row rows[] = {
        {"NewgameBtn", "Ich fang ein neues Spiel an.", "I want to play a new game."},
        {"LoadBtn", "Ich hol mir einen alten Spielstand.", "I want to continue an old game."},
        {"SaveBtn", "Einmal zu oft gesichert ist besser als einmal zuwenig", "Save often, save always."},
        {"StatBtn", "Mal sehen, was ich bisher schon geschafft habe.", "Let me see, what I've solved until now."},
        {"ExitBtn", "Ich hab genug!", "I have enough!"},
        {"SelectBtn", "Ich probier ein anderes Quarvel.", "I try another Quarvel."},
        {"UpBtn", "Ich nehm' das nächste Quarvel.", "I take the next Quarvel."},
        {"DownBtn", "Ich nehm' das vorige Quarvel.", "I take the previous Quarvel."},
        {"TipBtn", "Ich lass mir unter die Arme greifen.", "I need a little help."},
        {"SoundBtn", "Die Geräusche mag ich nicht immer.", "I dont like the sound always."},
        {"TongueBtn", "I don't speak german.", "Ich spreche nicht englisch."},
        {"RulesBtn", "Worum geht's da eigentlich?", "What's to do here?"},
        {"InfoBtn", "Wer hat dieses Spiel nur verbrochen?", "Who did this ZIBBLE GAME?"},
        {"ZibbleBtn", "Hurra, es gibt noch mehr Zibble Games.", "Hurrah, there are more ZIBBLE GAMES."},
    };
    ASSERT_EQ(form->toolPanel->findChildren<QToolButton*>().size(), 14);
    state.GameFileName = Path("round1.zqv");
    for (const int language : {1, 0, 1, -1}) {
        SCOPED_TRACE(language);
        state.Language = language;
        form->UpdateHints();
        for (const Row& r : rows) {
            auto* b = form->toolPanel->findChild<QToolButton*>(QString::fromLatin1(r.button));
            ASSERT_NE(b, nullptr) << r.button;
            EXPECT_EQ(b->toolTip(), QString::fromUtf8(language == 1 ? r.german : r.english)) << r.button;
        }
        EXPECT_EQ(form->windowTitle(), language == 1 ? QStringLiteral("Zibble Quarvel - Spiel round1.zqv")
                                                     : QStringLiteral("Zibble Quarvel - Game round1.zqv"));
    }
}

TEST_F(Startup, RulesOpenAtTheTopicAndCloseAtShutdown)
{
    Start();
    QFile help(Path("ZQVL2.HLP"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><a name=\"Das_Spiel\"></a><h1>Regeln</h1>"
               "<p style='margin-top:3000px'><a name=\"The_game\"></a>Rules</p></body></html>");
    help.close();
    form->rules();
    ASSERT_NE(form->HelpViewer, nullptr);
    EXPECT_TRUE(form->HelpViewer->isVisible());
    EXPECT_GT(form->HelpViewer->verticalScrollBar()->value(), 0) << "English opens at The_game";
    QTest::keyClick(form->HelpViewer, Qt::Key_Escape);
    EXPECT_FALSE(form->HelpViewer->isVisible()) << "Escape closes the rules";
    form->rules();
    Quit({Enter()});
    EXPECT_FALSE(form->HelpViewer->isVisible());
}

TEST_F(Startup, WebButtonGivesUpAfterTheFirstFailure)
{
    Start();
    int calls = 0;
    form->WebLabel->Opener = [&](const QUrl& url) {
        ++calls;
        EXPECT_TRUE(url.isValid());
        return false;
    };
    form->ZibbleBtnClick();
    form->ZibbleBtnClick();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(form->WebLabel->JumpMode, TLinkLabel::jmNone);
}

TEST_F(Startup, UnwritableSettingsAreReportedAndTheGameStillQuits)
{
    Start();
    // A folder where the settings file should be: every write fails.
    std::filesystem::create_directories(SettingsPath());
    ModalScript script({Enter(), TakeMessage()});
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(message.isEmpty());
    // Writable again, so that the pattern window can store its place when the test ends.
    std::filesystem::remove_all(SettingsPath());
}

TEST_F(Startup, NarrowestWindowStillShowsEveryToolbarButtonWhole)
{
    Start();
    // Fourteen 29-pixel buttons one pixel apart inside a 2-pixel margin: 423 pixels.
    form->resize(1, 1);
    form->formResize();
    form->toolPanel->layout()->activate();
    EXPECT_EQ(form->width(), 423);
    const auto buttons = form->toolPanel->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 14);
    QRect previous;
    for (const QToolButton* b : buttons) {
        EXPECT_EQ(b->size(), QSize(29, 29)) << b->objectName().toStdString();
        EXPECT_TRUE(form->toolPanel->rect().contains(b->geometry())) << b->objectName().toStdString();
        EXPECT_FALSE(previous.intersects(b->geometry())) << b->objectName().toStdString();
        previous = b->geometry();
    }
}

TEST_F(Startup, RulesWithoutTheHelpFileNameItInsteadOfOpeningBlank)
{
    Start();
    QString message;
    {
        ModalScript script({[&](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(m, nullptr);
            message = m->text();
            m->button(QMessageBox::Ok)->click();
        }});
        form->rules();
        EXPECT_TRUE(script.Done()) << "no message about the missing help file";
    }
    EXPECT_TRUE(message.contains(Path("ZQVL2.HLP"))) << message.toStdString();
    EXPECT_FALSE(form->HelpViewer && form->HelpViewer->isVisible());
}
