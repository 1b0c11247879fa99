// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include "TLinkLabel.h"
#include "TSplash.h"
#include "TTongueDlg.h"

#include <QDialog>
#include <QFileDialog>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
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

TEST_F(Startup, FirstRunShowsSplashThenLanguageAndSpeaksTheChoice)
{
    Start();
    EXPECT_EQ(state.Language, -1);
    EXPECT_TRUE(form->SoundBtn->isChecked());
    EXPECT_EQ(state.CurrentPuzzle, 1);
    EXPECT_TRUE(form->NewgameBtn->toolTip().isEmpty()) << "hints come with the first activation";
    TSplash splash;
    TTongueDlg tongue(state, form.get());
    form->Splash = &splash;
    form->TongueDlg = &tongue;
    std::vector<QString> seen;
    ModalScript script({[&](QWidget* w) {
                            seen.push_back(w->metaObject()->className());
                            splash.Click();
                        },
                        [&](QWidget* w) {
                            seen.push_back(w->metaObject()->className());
                            w->findChild<QPushButton*>(QStringLiteral("GermanBtn"))->click();
                        }});
    form->formActivate();
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("zq::TSplash"), QStringLiteral("zq::TTongueDlg")}));
    EXPECT_EQ(state.Language, 1);
    EXPECT_EQ(form->NewgameBtn->toolTip(), QStringLiteral("Ich fang ein neues Spiel an."));
    EXPECT_EQ(form->TongueBtn->toolTip(), QStringLiteral("I don't speak german."));
    form->formActivate(); // only the first activation does anything
    EXPECT_EQ(script.Answered(), 2u);
    form->Splash = nullptr;
    form->TongueDlg = nullptr;
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
    Quit({Enter(), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); }});
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

TEST_F(Startup, LanguageSwitchChangesEveryHintAndTheTitle)
{
    Start();
    state.GameFileName = Path("round1.zqv");
    state.Language = 1;
    form->UpdateHints();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - Spiel round1.zqv"));
    const auto buttons = form->toolPanel->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 14);
    std::vector<QString> german;
    for (QToolButton* b : buttons)
        german.push_back(b->toolTip());
    state.Language = 0;
    form->UpdateHints();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - Game round1.zqv"));
    for (std::size_t i = 0; i < german.size(); ++i)
        EXPECT_NE(buttons[static_cast<qsizetype>(i)]->toolTip(), german[i]) << buttons[static_cast<qsizetype>(i)]->objectName().toStdString();
    EXPECT_EQ(form->TongueBtn->toolTip(), QStringLiteral("Ich spreche nicht englisch."));
    EXPECT_EQ(form->SoundBtn->toolTip(), QStringLiteral("I dont like the sound always."));
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
