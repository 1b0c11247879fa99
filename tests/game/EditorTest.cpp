// SPDX-License-Identifier: GPL-3.0-or-later
// Making a Quarvel on the main window's board and saving it among the player's own.
#include "MainformFixture.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace zq;
using namespace zq::test;

namespace {

// An L of four squares of 10 cells, each split by orientations 0 and 8, its box 20 by 30 cells at (20, 10).
PuzzleRecord L()
{
    PuzzleRecord r;
    const int steps[4][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 2}};
    for (int k = 0; k < 4; ++k) {
        r[2 * k + 1] = zq::testing::At(27 + 10 * steps[k][0], 17 + 10 * steps[k][1], 0);
        r[2 * k + 2] = zq::testing::At(23 + 10 * steps[k][0], 13 + 10 * steps[k][1], 8);
    }
    return r;
}

TEST_F(MainformFixture, EditorBuildsChecksAndSavesAFigureAndGivesTheGameBack)
{
    Start();
    state.Own = OwnCollection(dir.path().toStdString());
    ASSERT_TRUE(state.Own.Load(false).isEmpty());
    form->LiftPiece(3); // the game has a piece in the hand
    const BoardEngine game = form->Engine;
    const std::uint8_t progress = state.Progress(1);

    form->OpenEditor();
    auto* line = form->findChild<QLabel*>(QStringLiteral("editorLine"));
    auto* save = form->findChild<QPushButton*>(QStringLiteral("editorSave"));
    ASSERT_TRUE(line && save);
    EXPECT_FALSE(form->TipBtn->isEnabled());
    EXPECT_EQ(line->text(), QStringLiteral("Cannot be saved yet: lay the eight pieces together into one figure."));
    EXPECT_LT(form->box->geometry().bottom(), line->mapTo(form.get(), QPoint(0, 0)).y()) << "the line is under the board";

    const PuzzleRecord figure = L();
    const auto lay = [&](int j) {
        form->LiftPiece(j);
        form->Engine.Placements[j] = figure[j];
        ASSERT_TRUE(form->PutDownSelected());
    };
    for (int j = 1; j <= 8; ++j)
        lay(j);
    // The next move calls the check off: its verdict never overwrites the line.
    form->LiftPiece(8);
    QTest::qWait(300);
    EXPECT_EQ(line->text(), QStringLiteral("Cannot be saved yet: piece 8 is still in the hand."));
    EXPECT_FALSE(save->isEnabled());
    ASSERT_TRUE(form->PutDownSelected());
    EXPECT_EQ(form->Engine.PlayState, BoardEngine::Playing) << "a figure being made is never solved";
    QTRY_COMPARE(line->text(), QStringLiteral("The figure can be saved."));
    EXPECT_TRUE(save->isEnabled());

    {
        ModalScript script({[](QWidget* w) {
            w->findChild<QLineEdit*>()->setText(QStringLiteral(" Boot\tmit\nSegel "));
            static_cast<QDialog*>(w)->accept();
        }});
        save->click();
        EXPECT_TRUE(script.Done());
    }
    // Moved as a whole so that its box, columns 20..39 and rows 10..39, has the board's centre (45, 30) in its middle.
    PuzzleRecord centred = figure;
    for (int j = 1; j <= 8; ++j)
        centred[j] = zq::testing::At(figure[j].x + 15, figure[j].y + 5, figure[j].o.value());
    ASSERT_EQ(state.Own.Count(), 1);
    EXPECT_EQ(state.Own.Record(1), centred);
    EXPECT_EQ(state.Own.Name(1), QStringLiteral("Boot mit Segel"));
    EXPECT_EQ(OwnCollection(dir.path().toStdString()).Load(false), QString());
    EXPECT_EQ(form->Engine.Placements, centred);
    EXPECT_EQ(line->text(), QStringLiteral("Saved as your Quarvel 1."));
    EXPECT_FALSE(save->isEnabled()) << "the same figure is not saved twice";

    form->CloseEditor();
    EXPECT_EQ(form->Engine.Placements, game.Placements);
    EXPECT_EQ(form->Engine.Board, game.Board);
    EXPECT_EQ(form->Engine.SelectedPiece, 3) << "the piece is in the hand again";
    EXPECT_TRUE(form->TipBtn->isEnabled());
    EXPECT_EQ(state.Progress(1), progress);
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("editorLine")), nullptr);

    // Opened again, the own figure lies on the board, and the check no longer finds itself a twin.
    form->OpenEditor(1);
    EXPECT_EQ(form->Engine.Placements, centred);
    line = form->findChild<QLabel*>(QStringLiteral("editorLine"));
    QTRY_COMPARE(line->text(), QStringLiteral("The figure can be saved."));
}

} // namespace
