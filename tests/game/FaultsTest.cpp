// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged or hostile surroundings: folders that are files or vanish, huge
// settings, game and data files. None may crash the game, stall its start or
// leave a file half written.
#include "MainformFixture.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <fcntl.h>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {
using Answer = std::function<void(QWidget*)>;

Answer Ok(QString* text = nullptr)
{
    return [text](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(m, nullptr) << "expected a message box, got " << w->metaObject()->className();
        if (text)
            *text = m->text();
        m->button(QMessageBox::Ok)->click();
    };
}
Answer No()
{
    return [](QWidget* w) { PressKey(w, Qt::Key_Escape); };
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

// A sparse file: its size is set, its blocks never written.
void MakeSparse(const QString& path, off_t size)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

struct Faults : MainformFixture {
    QStringList Entries(const QString& sub = QString()) const
    {
        return QDir(dir.path() + QLatin1Char('/') + sub).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
};
} // namespace

// Root may write anywhere, so a folder that cannot take the file is made by a plain file in its place.
TEST_F(Faults, SaveIntoAFolderThatIsAFileFailsAndLeavesNothing)
{
    Start();
    WriteBytes(Path("notafolder"), "plain file");
    state.GameFileName = Path("notafolder/game.zqv");
    form->TipBtnClick();
    QString message;
    {
        ModalScript script({Ok(&message), No()});
        form->SaveBtnClick();
        EXPECT_TRUE(script.Done()) << "the error is reported and quitting offered";
    }
    EXPECT_EQ(message, QStringLiteral("Cannot save game game.zqv. Drive full or not writable."));
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(ReadAll(Path("notafolder")), QByteArray("plain file"));
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("notafolder"), QStringLiteral("zqvl2.dat")}));
}

TEST_F(Faults, ReadOnlyFolderStillTakesTheSaveOfAWritableGameFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root; CTest runs this again as an unprivileged user";
    Start();
    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    WriteBytes(Path("ro/game.zqv"), "old bytes");
    QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    state.GameFileName = Path("ro/game.zqv");
    form->TipBtnClick();
    bool saved = false;
    {
        ModalScript script({Ok(), No()});
        saved = form->WriteGameFile(state.GameFileName);
        EXPECT_EQ(script.Answered(), 0u) << "no error shown";
    }
    QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadAll(Path("ro/game.zqv")), QByteArray("\x01\0\0\0\0", 5));
    EXPECT_EQ(Entries(QStringLiteral("ro")), QStringList{QStringLiteral("game.zqv")});
}

TEST_F(Faults, ReadOnlyGameFileIsRefusedAndKept)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root; CTest runs this again as an unprivileged user";
    Start();
    WriteBytes(Path("game.zqv"), "old");
    QFile::setPermissions(Path("game.zqv"), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    state.GameFileName = Path("game.zqv");
    form->TipBtnClick();
    QString message;
    {
        ModalScript script({Ok(&message), No()});
        form->SaveBtnClick();
        EXPECT_TRUE(script.Done()) << "the error is reported and quitting offered";
    }
    EXPECT_EQ(message, QStringLiteral("Cannot save game game.zqv. Drive full or not writable."));
    EXPECT_EQ(ReadAll(Path("game.zqv")), QByteArray("old"));
    EXPECT_EQ(QFileInfo(Path("game.zqv")).permissions() & ~QFileDevice::ReadUser,
              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("game.zqv"), QStringLiteral("zqvl2.dat")}));
}

TEST_F(Faults, FolderRemovedAfterTheNameWasChosenFailsTheSaveAndRecreatesNothing)
{
    Start();
    QDir(dir.path()).mkdir(QStringLiteral("away"));
    form->TipBtnClick();
    QString message;
    {
        // The player picks a name in the folder, which goes before the game writes.
        ModalScript script({[&](QWidget* w) {
                                auto* d = qobject_cast<QFileDialog*>(w);
                                ASSERT_NE(d, nullptr);
                                d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Path("away/g.zqv"));
                                ASSERT_TRUE(QDir(Path("away")).removeRecursively());
                                QMetaObject::invokeMethod(d, "accept");
                            },
                            Ok(&message), No()});
        form->SaveGameAs();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(message, QStringLiteral("Cannot save game g.zqv. Drive full or not writable."));
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(state.GameFileName.isEmpty()) << "a failed save names no game";
    EXPECT_FALSE(QFileInfo::exists(Path("away")));

    // The same for the remembered game file of a direct save.
    QDir(dir.path()).mkdir(QStringLiteral("later"));
    state.GameFileName = Path("later/g.zqv");
    ASSERT_TRUE(form->WriteGameFile(state.GameFileName));
    ASSERT_TRUE(QDir(Path("later")).removeRecursively());
    {
        ModalScript script({Ok(), No()});
        form->SaveBtnClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_FALSE(QFileInfo::exists(Path("later")));
}

// How long these starts take is measured in bench/start_files_bench.cpp.
TEST_F(Faults, ThousandsOfSettingLinesAndAMegabyteSaveValueStartAndAreKept)
{
    std::string text = "REGEDIT4\n\n";
    for (int k = 0; k < 200; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Elsewhere\\Key" + std::to_string(k) + "]\n";
        for (int v = 0; v < 50; ++v)
            text += "\"v" + std::to_string(v) + "\"=\"text of value " + std::to_string(v) + "\"\n";
        text += "\n";
    }
    {
        std::ofstream(SettingsPath(), std::ios::binary) << text;
    }
    // A path of a megabyte: no file system takes it, so it reads as a game file that is gone.
    const std::string mega = dir.path().toStdString() + "/" + std::string(1 << 20, 'm') + ".zqv";
    TIniStore ini(SettingsPath());
    ini.WriteInteger("common", "tongue", 0);
    ini.WriteInteger("common", "level", 4);
    ini.WriteString("common", "save", mega);

    Start();
    EXPECT_EQ(state.CurrentPuzzle, 4);
    EXPECT_EQ(state.GameFileName.size(), static_cast<qsizetype>(mega.size()));
    form->UpdateHints();
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Zibble Quarvel - Game mmm")));
    EXPECT_LT(form->windowTitle().size(), 300) << "a name no file can have is cut short";

    // Saving to it fails like any unwritable name; quitting still stores every setting.
    form->TipBtnClick();
    QString message;
    {
        ModalScript script({Ok(&message), No()});
        form->SaveBtnClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot save game mmm")));
    EXPECT_TRUE(message.endsWith(QStringLiteral("m\u2026. Drive full or not writable."))) << message.right(40).toStdString();
    EXPECT_LT(message.size(), 320);
    {
        // The shutdown itself, without the application's exit that closing the window would ask for.
        ModalScript script({Ok(), No()});
        form->formClose();
        EXPECT_TRUE(script.Done());
    }
    TIniStore after(SettingsPath());
    EXPECT_EQ(after.ReadString("common", "save", ""), mega);
    EXPECT_EQ(after.ReadInteger("common", "level", 0), 4);
    TIniStore other(SettingsPath());
    other.RegPath = "Software\\Elsewhere";
    EXPECT_EQ(other.ReadString("Key199", "v49", ""), "text of value 49") << "foreign keys survive";
}

TEST_F(Faults, GameFileOfManyMegabytesLoadsOnlyWhatTheLibraryNeeds)
{
    QByteArray big(64 << 20, '\x03');
    big[0] = '\x01';
    big[4] = '\x85'; // a finished one
    WriteBytes(Path("big.zqv"), big);
    big.clear();
    TIniStore(SettingsPath()).WriteString("common", "save", Path("big.zqv").toStdString());
    Start(5);
    EXPECT_EQ(state.Progress(1), 1);
    EXPECT_EQ(state.Progress(5), 0x85);
    EXPECT_EQ(state.Progress(6), 0) << "nothing past the library";

    // Loading one of many megabytes of zeros, sparse this time, by the open button.
    MakeSparse(Path("huge.zqv"), off_t{1} << 32);
    {
        ModalScript script({[&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Path("huge.zqv"));
            QMetaObject::invokeMethod(d, "accept");
        }});
        form->LoadBtnClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(state.GameFileName, Path("huge.zqv"));
    EXPECT_EQ(state.Progress(1), 0);
    EXPECT_EQ(state.Progress(5), 0);
    // Saving it again writes the five bytes the library has.
    ASSERT_TRUE(form->WriteGameFile(state.GameFileName));
    EXPECT_EQ(ReadAll(Path("huge.zqv")), QByteArray(5, '\0'));
}

TEST_F(Faults, GigabyteDataFileStartsAndItsEmptyRecordsPlaySafely)
{
    WriteLibrary(dir.path(), 3);
    MakeSparse(Path("zqvl2.dat"), off_t{1} << 30);
    Create();
    ASSERT_FALSE(form->Aborted());
    EXPECT_EQ(state.Library.PuzzleCount, 1000) << "only the records the game keeps are read";
    form->resize(945, 673);
    form->formResize();
    // Record 4 onwards is all zero bytes: its pieces lie outside the board; set-up, help and play must cope.
    for (int n = 0; n < 3; ++n)
        form->UpBtnClick();
    ASSERT_EQ(state.CurrentPuzzle, 4);
    for (int step = 0; step < 4; ++step) {
        form->TipBtnClick();
        ASSERT_EQ(form->Engine.Board, SumOfMasksExceptLifted()) << "help step " << step;
    }
    form->UpBtnClick();
    for (int j = 1; j <= 8; ++j) {
        const QPoint p = ZonePixel(j, 1);
        if (p.x() >= 0) {
            Press(p.x(), p.y());
            Move(p.x() + 40, p.y() + 30);
            Press(p.x() + 40, p.y() + 30);
        }
        ASSERT_EQ(form->Engine.Board, SumOfMasksExceptLifted()) << "piece " << j;
    }
    EXPECT_TRUE(CanvasMatchesAFreshPaint());
}
