// SPDX-License-Identifier: GPL-3.0-or-later
// Making a Quarvel on the main window's board and saving it among the player's own.
#include "MainformFixture.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace zq;
using namespace zq::test;

namespace {

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

    // Four squares of 10 cells, the last one moved down to hang on by a corner: columns 35..54, rows 20..49.
    PuzzleRecord figure = zq::testing::SquareOfSquares(35, 20);
    figure[7].y += 10;
    figure[8].y += 10;
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
    // Work not saved is never dropped unasked: a No keeps the editor and the figure.
    const auto answer = [](QMessageBox::StandardButton b) {
        return [b](QWidget* w) { static_cast<QMessageBox*>(w)->button(b)->click(); };
    };
    for (void (TMainform::*leave)() : {&TMainform::UpBtnClick, &TMainform::ToggleEditor}) {
        ModalScript script({answer(QMessageBox::No)});
        (form.get()->*leave)();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(form->Editing());
    EXPECT_EQ(state.CurrentPuzzle, 1);

    {
        ModalScript script({[](QWidget* w) {
            w->findChild<QLineEdit*>()->setText(QStringLiteral(" Boot\tmit\nSegel "));
            static_cast<QDialog*>(w)->accept();
        }});
        save->click();
        EXPECT_TRUE(script.Done());
    }
    // Moved up as a whole so that its box has the board's centre (45, 30) in its middle.
    PuzzleRecord centred = figure;
    for (int j = 1; j <= 8; ++j)
        centred[j].y -= 4;
    ASSERT_EQ(state.Own.Count(), 1);
    EXPECT_EQ(state.Own.Record(1), centred);
    EXPECT_EQ(state.Own.Name(1), QStringLiteral("Boot mit Segel"));
    EXPECT_EQ(OwnCollection(dir.path().toStdString()).Load(false), QString());
    EXPECT_EQ(form->Engine.Placements, centred);
    EXPECT_EQ(line->text(), QStringLiteral("Saved as your Quarvel 1."));
    EXPECT_FALSE(save->isEnabled()) << "the same figure is not saved twice";

    {
        ModalScript script({answer(QMessageBox::Yes)});
        form->ToggleEditor();
        EXPECT_EQ(script.Answered(), 0u) << "a saved figure is left without a question";
    }
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
