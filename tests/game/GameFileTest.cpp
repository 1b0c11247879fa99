// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>

using namespace zq;
using namespace zq::test;

namespace {
using Answer = std::function<void(QWidget*)>;

Answer ChooseFile(const QString& path)
{
    return [path](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr) << "expected a file dialog";
        d->selectFile(path);
        QMetaObject::invokeMethod(d, "accept"); // what the dialog's own button does
    };
}
Answer Cancel()
{
    return [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
}
Answer Click(QMessageBox::StandardButton button, QString* text = nullptr)
{
    return [button, text](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(m, nullptr) << "expected a message box";
        if (text)
            *text = m->text();
        m->button(button)->click();
    };
}
Answer Key(int key)
{
    return [key](QWidget* w) { PressKey(w, key); };
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct GameFiles : MainformFixture {};
} // namespace

TEST_F(GameFiles, SaveAsForcesTheExtensionAndNamesTheTitle)
{
    Start();
    state.Progress(2) = 9;
    form->Modified = true;
    QDir(dir.path()).mkdir(QStringLiteral("a"));
    QDir(dir.path()).mkdir(QStringLiteral("b"));
    {
        ModalScript script({ChooseFile(Path("a/round2.txt"))});
        form->SaveGameAs();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(ReadAll(Path("a/round2.zqv")), QByteArray("\0\x09\0\0\0", 5));
    EXPECT_FALSE(QFileInfo::exists(Path("a/round2.txt")));
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(state.GameFileName, Path("a/round2.zqv"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - Game round2.zqv"));
    {
        ModalScript script({ChooseFile(Path("b/round2"))});
        form->SaveGameAs();
    }
    EXPECT_EQ(ReadAll(Path("b/round2.zqv")).size(), 5);
    state.Language = 1;
    form->UpdateTitle();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - Spiel round2.zqv"));
}

TEST_F(GameFiles, NoToTheOverwriteQuestionShowsTheDialogAgainAlsoForTheCurrentFile)
{
    Start();
    WriteBytes(Path("round3.zqv"), "old");
    state.Progress(1) = 1;
    for (const bool current : {false, true}) {
        SCOPED_TRACE(current ? "the current game file" : "another file");
        state.GameFileName = current ? Path("round3.zqv") : QString();
        form->Modified = true;
        QString question;
        ModalScript script({ChooseFile(Path("round3.zqv")), Click(QMessageBox::No, &question), Cancel()});
        form->SaveGameAs();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(question, QStringLiteral("Game round3.zqv already exists. Overwrite?"));
        EXPECT_EQ(ReadAll(Path("round3.zqv")), QByteArray("old"));
        EXPECT_TRUE(form->Modified);
    }
    // Yes writes it.
    ModalScript script({ChooseFile(Path("round3.zqv")), Click(QMessageBox::Yes)});
    form->SaveGameAs();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(ReadAll(Path("round3.zqv")), QByteArray("\x01\0\0\0\0", 5));
    EXPECT_FALSE(form->Modified);
}

TEST_F(GameFiles, LoadTakesShortEmptyAndLongFilesByTheReadingRules)
{
    Start(100);
    state.Progress(50) = 3;
    WriteBytes(Path("short.zqv"), QByteArray("\x08\x01\x0c", 3));
    {
        ModalScript script({ChooseFile(Path("short.zqv"))});
        form->LoadBtnClick();
    }
    EXPECT_EQ(state.Progress(1), 8);
    EXPECT_EQ(state.Progress(2), 1);
    EXPECT_EQ(state.Progress(3), 12);
    for (int i = 4; i <= 100; ++i)
        ASSERT_EQ(state.Progress(i), 0) << i;
    EXPECT_EQ(state.GameFileName, Path("short.zqv"));
    EXPECT_FALSE(form->TipBtn->isEnabled()) << "Quarvel 1 is finished now";

    WriteBytes(Path("empty.zqv"), QByteArray());
    {
        ModalScript script({ChooseFile(Path("empty.zqv"))});
        form->LoadBtnClick();
        EXPECT_EQ(script.Answered(), 1u) << "no message for an empty file";
        EXPECT_EQ(state.GameFileName, Path("empty.zqv"));
    }
    EXPECT_EQ(state.Progress(1), 0);

    WriteBytes(Path("long.zqv"), QByteArray(300, '\x02'));
    {
        ModalScript script({ChooseFile(Path("long.zqv"))});
        form->LoadBtnClick();
        EXPECT_EQ(script.Answered(), 1u);
        EXPECT_EQ(state.GameFileName, Path("long.zqv"));
    }
    EXPECT_EQ(state.Progress(100), 2);
    EXPECT_EQ(state.Progress(101), 0) << "bytes past the library are ignored";
}

TEST_F(GameFiles, FailedLoadAndNoToQuittingLeaveTheGameAsItWas)
{
    Start();
    state.Progress(2) = 3;
    QString message;
    ModalScript script({ChooseFile(Path("missing.zqv")), Click(QMessageBox::Ok, &message), Key(Qt::Key_Escape)});
    form->LoadBtnClick();
    EXPECT_TRUE(script.Done()) << "the quit question follows the error";
    EXPECT_EQ(message, QStringLiteral("Error occured while loading file missing.zqv!"));
    EXPECT_EQ(state.Progress(2), 3);
    EXPECT_TRUE(state.GameFileName.isEmpty());
}

TEST_F(GameFiles, LoadingAnUnnamedModifiedGameAsksForANameAndLoadsAfterACancel)
{
    Start();
    form->TipBtnClick();
    ASSERT_TRUE(form->Modified);
    WriteBytes(Path("other.zqv"), QByteArray("\x0a", 1));
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", Path("home").toUtf8());
    qputenv("XDG_CONFIG_HOME", Path("home/.config").toUtf8());
    QDir(dir.path()).mkpath(QStringLiteral("home/Documents"));
    QStringList folders;
    const auto at = [&](Answer a) -> Answer {
        return [&, a](QWidget* w) { folders << static_cast<QFileDialog*>(w)->directory().absolutePath(), a(w); };
    };
    ModalScript script({at(ChooseFile(Path("other.zqv"))), at(Cancel())});
    form->LoadBtnClick();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(folders, QStringList(2, Path("home/Documents"))) << "not the program's folder: the player's documents";
    EXPECT_EQ(state.Progress(1), 10);
    EXPECT_FALSE(form->Modified);
}

TEST_F(GameFiles, DirectSaveKeepsModifiedAndNewGameSavesFirstThenClearsEverything)
{
    Start();
    state.GameFileName = Path("direct.zqv");
    form->TipBtnClick();
    form->SaveBtnClick();
    EXPECT_EQ(ReadAll(Path("direct.zqv")), QByteArray("\x01\0\0\0\0", 5));
    EXPECT_TRUE(form->Modified);
    // Another program (a second game) writes the file since: it is overwritten only when the player says so.
    WriteBytes(Path("direct.zqv"), "\x07");
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        ModalScript script({Click(answer, &question)});
        form->SaveBtnClick();
        EXPECT_TRUE(question.contains(QStringLiteral("direct.zqv"))) << question.toStdString();
        EXPECT_EQ(ReadAll(Path("direct.zqv")), answer == QMessageBox::No ? QByteArray("\x07") : QByteArray("\x01\0\0\0\0", 5));
    }

    form->TipBtnClick(); // not saved yet
    {
        ModalScript script({Key(Qt::Key_Escape)}); // No on the give-up page
        form->NewgameBtnClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(state.Progress(1), 2);
    EXPECT_EQ(ReadAll(Path("direct.zqv")), QByteArray("\x01\0\0\0\0", 5)) << "No saves nothing";
    {
        ModalScript script({Key(Qt::Key_Return)});
        form->NewgameBtnClick();
        EXPECT_TRUE(script.Done());
    }
    // The modified game was saved to its file before it was given up.
    EXPECT_EQ(ReadAll(Path("direct.zqv")), QByteArray("\x02\0\0\0\0", 5));
    EXPECT_EQ(state.Progress(1), 0);
    EXPECT_TRUE(state.GameFileName.isEmpty());
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel"));

    // A modified game without a file asks for a name first; the next save does too.
    form->TipBtnClick();
    bool saveDialog = false;
    {
        ModalScript script({Key(Qt::Key_Return), [&](QWidget* w) {
                                auto* d = qobject_cast<QFileDialog*>(w);
                                saveDialog = d && d->acceptMode() == QFileDialog::AcceptSave;
                                d->reject();
                            }});
        form->NewgameBtnClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(saveDialog);
    EXPECT_EQ(state.Progress(1), 0);
    saveDialog = false;
    {
        ModalScript script({[&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            saveDialog = d && d->acceptMode() == QFileDialog::AcceptSave;
            d->reject();
        }});
        form->SaveBtnClick();
    }
    EXPECT_TRUE(saveDialog);
}

// Every message and title of the game files, in both languages; any language
// but German speaks English.
TEST_F(GameFiles, EveryMessageAndTitleInBothLanguages)
{
    Start();
    WriteBytes(Path("notafolder"), "a plain file where a folder should be");
    WriteBytes(Path("round2.zqv"), "x");
    enum What { SaveFails, LoadFails, Overwrite, Title, NoFileTitle };
    struct Row {
        int language;
        What what;
        const char* expected;
    };
    const Row rows[] = {
        {1, SaveFails, "Kann Spiel game.zqv nicht speichern. Datenträger voll oder nicht beschreibbar."},
        {0, SaveFails, "Cannot save game game.zqv. Drive full or not writable."},
        {1, LoadFails, "Fehler beim Laden des Spiels missing.zqv!"},
        {0, LoadFails, "Error occured while loading file missing.zqv!"},
        {1, Overwrite, "Spiel round2.zqv existiert bereits. Überschreiben?"},
        {0, Overwrite, "Game round2.zqv already exists. Overwrite?"},
        {-1, Overwrite, "Game round2.zqv already exists. Overwrite?"},
        {1, Title, "Zibble Quarvel - Spiel round2.zqv"},
        {0, Title, "Zibble Quarvel - Game round2.zqv"},
        {-1, Title, "Zibble Quarvel - Game round2.zqv"},
        {1, NoFileTitle, "Zibble Quarvel"},
        {0, NoFileTitle, "Zibble Quarvel"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        state.Language = r.language;
        state.GameFileName.clear();
        QString text;
        switch (r.what) {
        case SaveFails: {
            ModalScript script({Click(QMessageBox::Ok, &text), Key(Qt::Key_Escape)});
            EXPECT_FALSE(form->WriteGameFile(Path("notafolder/game.zqv")));
            EXPECT_TRUE(script.Done());
            break;
        }
        case LoadFails: {
            ModalScript script({Click(QMessageBox::Ok, &text), Key(Qt::Key_Escape)});
            EXPECT_FALSE(form->ReadGameFile(Path("missing.zqv")));
            EXPECT_TRUE(script.Done());
            break;
        }
        case Overwrite: {
            ModalScript script({ChooseFile(Path("round2.zqv")), Click(QMessageBox::No, &text), Cancel()});
            form->SaveGameAs();
            EXPECT_TRUE(script.Done());
            break;
        }
        case Title:
            state.GameFileName = Path("round2.zqv");
            [[fallthrough]];
        case NoFileTitle:
            form->UpdateTitle();
            text = form->windowTitle();
            break;
        }
        EXPECT_EQ(text, QString::fromUtf8(r.expected));
    }
}

TEST_F(GameFiles, FailedSaveReportsAndKeepsTheOldFile)
{
    Start(100);
    WriteBytes(Path("keep.zqv"), "previous progress");
    state.Progress(1) = 8;
    // A file size limit makes the disk "full" after 10 bytes, also for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 10;
    setrlimit(RLIMIT_FSIZE, &tiny);
    QString message;
    bool ok = true;
    {
        ModalScript script({Click(QMessageBox::Ok, &message), Key(Qt::Key_Escape)});
        ok = form->WriteGameFile(Path("keep.zqv"));
    }
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(ok);
    EXPECT_EQ(message, QStringLiteral("Cannot save game keep.zqv. Drive full or not writable."));
    EXPECT_EQ(ReadAll(Path("keep.zqv")), QByteArray("previous progress"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("keep.zqv*")}, QDir::Files).size(), 1) << "no temporary left";

    state.Language = 1;
    {
        ModalScript script({Click(QMessageBox::Ok, &message), Key(Qt::Key_Escape)});
        ok = form->WriteGameFile(QStringLiteral("/dev/full"));
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(message, QStringLiteral("Kann Spiel full nicht speichern. Datenträger voll oder nicht beschreibbar."));
    {
        ModalScript script({Click(QMessageBox::Ok), Key(Qt::Key_Escape)});
        ok = form->WriteGameFile(Path("gone/folder/x.zqv"));
    }
    EXPECT_FALSE(ok);
}

TEST_F(GameFiles, FailedAutomaticSaveAtShutdownDoesNotStartASecondShutdown)
{
    Start();
    state.GameFileName = Path("no/such/folder/game.zqv");
    form->TipBtnClick();
    ModalScript script({Key(Qt::Key_Return), Click(QMessageBox::Ok), Key(Qt::Key_Escape)});
    EXPECT_TRUE(form->close());
    EXPECT_EQ(script.Answered(), 2u) << "the quit question must not come a second time";
    TIniStore ini(SettingsPath());
    EXPECT_EQ(ini.ReadString("common", "save", "?"), Path("no/such/folder/game.zqv").toStdString());
}
