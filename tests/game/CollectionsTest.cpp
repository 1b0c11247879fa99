// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainformFixture.h"

#include <QFile>

using namespace zq;
using namespace zq::test;

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}
using C = ProgramState::Collection;
} // namespace

struct Collections : MainformFixture {};

// Own Quarvels are played with help steps and a quit between; the shipped game's
// file, its progress and its settings mean what they meant before.
TEST_F(Collections, OwnQuarvelsLeaveTheShippedGameAlone)
{
    Start(5);
    const QString ownDir = Path("own");
    state.Own = OwnCollection(ownDir.toStdString());
    state.GameFileName = Path("shipped.zqv");
    state.CurrentPuzzle = 3;
    form->SetupPuzzle();
    form->TipBtnClick();
    form->SaveBtnClick();
    form->Modified = false;
    const QByteArray shipped("\0\0\x01\0\0", 5);
    ASSERT_EQ(ReadAll(state.GameFileName), shipped);

    QString error;
    ASSERT_TRUE(state.Own.Append(zq::testing::SquareOfSquares(35, 20), QStringLiteral("A"), false, &error));
    ASSERT_TRUE(state.Own.Append(zq::testing::SquareOfSquares(30, 25), QStringLiteral("B"), false, &error));
    state.OwnLoaded = true;
    ASSERT_TRUE(state.Play(C::Own, 2));
    form->SetupPuzzle();
    form->UpdateTitle();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zibble Quarvel - My Quarvels"));
    EXPECT_EQ(state.Library[0], zq::testing::SquareOfSquares(30, 25));
    for (int step = 0; step < 4; ++step)
        form->TipBtnClick();
    // Kept at once, without a save dialog, and apart from the game.
    EXPECT_EQ(ReadAll(ownDir + QStringLiteral("/my-quarvels.zqv")), QByteArray("\0\x0c", 2));
    EXPECT_FALSE(form->Modified);
    form->SaveBtnClick();
    EXPECT_EQ(ReadAll(state.GameFileName), shipped);

    form->formClose();
    const QByteArray settings = ReadAll(Path("settings.reg"));
    for (const char* line : {"\"level\"=\"3\"", "\"collection\"=\"own\"", "\"ownlevel\"=\"2\""})
        EXPECT_TRUE(settings.contains(line)) << line << "\n" << settings.toStdString();

    // The next run plays the own Quarvel it was left at; the shipped game waits as it was.
    pattern.reset();
    yesNo.reset();
    form.reset();
    state = ProgramState{};
    state.Own = OwnCollection(ownDir.toStdString());
    Start(5);
    EXPECT_EQ(state.Playing, C::Own);
    EXPECT_EQ(state.CurrentPuzzle, 2);
    EXPECT_EQ(state.Progress(2), 12);
    EXPECT_EQ(state.ShippedCurrent(), 3);
    EXPECT_EQ(state.ShippedProgress(3), 1);
    // A game file is about the shipped Quarvels: loading one puts them back on the board.
    form->LoadChosenFile(Path("shipped.zqv"));
    EXPECT_EQ(state.Playing, C::Shipped);
    EXPECT_EQ(state.CurrentPuzzle, 3);
    EXPECT_EQ(state.Progress(2), 0);
}
