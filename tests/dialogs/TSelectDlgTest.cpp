// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TSelectDlg.h"

#include "platform/canvas/CanvasWidget.h"
#include "GalleryState.h"
#include "dialogs/NameTips.h"
#include "dialogs/OverMainPlacement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

using namespace zq;
using zq::test::AnswerModal;
using zq::test::GalleryState;

namespace {

int Show(TSelectDlg& d, std::function<void()> act)
{
    return AnswerModal(d, [&d] { return d.ShowModal(); }, std::move(act));
}

Colour Background(const TSelectDlg& d) { return FromQRgb(d.palette().color(QPalette::Window).rgb()); }

void FinishRange(ProgramState& s, int from, int to)
{
    for (int n = from; n <= to; ++n)
        s.Progress(n) = 8;
}

} // namespace

TEST(SelectDlg, FirstShowingStartsAtTheCurrentQuarvelWithinTheRange)
{
    auto s = GalleryState(30);
    TSelectDlg d(*s, nullptr);
    EXPECT_EQ(d.Scroll()->minimum(), 1);
    EXPECT_EQ(d.Scroll()->maximum(), 19);

    s->CurrentPuzzle = 1;
    EXPECT_EQ(Show(d, [&] {
                  EXPECT_EQ(d.Scroll()->value(), 1);
                  EXPECT_EQ(d.QuarvelAt(396, 248), 12);
                  QTest::keyClick(&d, Qt::Key_Escape);
              }),
              2);

    // The last Quarvel shows the last twelve, it does not start the gallery.
    s->CurrentPuzzle = 30;
    EXPECT_EQ(Show(d, [&] {
                  EXPECT_EQ(d.Scroll()->value(), 19);
                  EXPECT_EQ(d.QuarvelAt(0, 0), 19);
                  EXPECT_EQ(d.QuarvelAt(396, 248), 30);
                  QTest::keyClick(&d, Qt::Key_Escape);
              }),
              2);
    EXPECT_EQ(s->CurrentPuzzle, 30);
}

TEST(SelectDlg, AClickAnywhereInACellIncludingItsGapsPicksIt)
{
    auto s = GalleryState(30);
    s->CurrentPuzzle = 7;
    TSelectDlg d(*s, nullptr);
    // Gap right of the first thumbnail, gap below it, and the corner gap of cell 5.
    EXPECT_EQ(Show(d, [&] { QTest::mouseClick(d.box(), Qt::LeftButton, {}, QPoint(95, 40)); }), 1);
    EXPECT_EQ(s->CurrentPuzzle, 7);
    EXPECT_EQ(Show(d, [&] { QTest::mouseClick(d.box(), Qt::RightButton, {}, QPoint(40, 80)); }), 1);
    EXPECT_EQ(s->CurrentPuzzle, 7);
    EXPECT_EQ(Show(d, [&] { QTest::mouseClick(d.box(), Qt::LeftButton, {}, QPoint(199, 169)); }), 1);
    EXPECT_EQ(s->CurrentPuzzle, 12);
    EXPECT_EQ(d.QuarvelAt(-1, 10), 0);
    EXPECT_EQ(d.QuarvelAt(10, -1), 0);
    EXPECT_EQ(d.QuarvelAt(400, 10), 0);
    EXPECT_EQ(d.QuarvelAt(10, 255), 0);
}

TEST(SelectDlg, CancelEscapeAndTheCloseBoxLeaveTheCurrentQuarvel)
{
    auto s = GalleryState(30);
    s->CurrentPuzzle = 9;
    TSelectDlg d(*s, nullptr);
    EXPECT_EQ(Show(d, [&] {
                  d.NextBtnClick();
                  QTest::keyClick(&d, Qt::Key_Escape);
              }),
              2);
    EXPECT_EQ(Show(d, [&] { d.CancelBtn()->click(); }), 2);
    EXPECT_EQ(Show(d, [&] { d.close(); }), 2);
    EXPECT_EQ(s->CurrentPuzzle, 9);
}

// Keys go to the thumbnails; the view moves by whole rows, keeping the columns (range 1 to 19).
TEST(SelectDlg, KeysMoveAVisibleSelectionAndEnterPicksIt)
{
    auto s = GalleryState(30);
    s->CurrentPuzzle = 5;
    TSelectDlg d(*s, nullptr);
    EXPECT_EQ(Show(d, [&] {
                  ASSERT_EQ(d.focusWidget(), d.box());
                  const Colour blue = 0xC80000;
                  EXPECT_EQ(d.box()->Canvas().Pixel(45, 76), blue) << "the selection is framed";
                  for (const auto& [key, selected, first] : std::vector<std::array<int, 3>>{
                           {Qt::Key_Right, 6, 5}, {Qt::Key_Down, 10, 5}, {Qt::Key_Down, 14, 5}, {Qt::Key_Down, 18, 9},
                           {Qt::Key_Up, 14, 9}, {Qt::Key_PageDown, 26, 19}, {Qt::Key_PageDown, 30, 19}, {Qt::Key_Home, 1, 1},
                           {Qt::Key_Left, 1, 1}, {Qt::Key_End, 30, 19}, {Qt::Key_PageUp, 18, 7}}) {
                      QTest::keyClick(d.focusWidget(), Qt::Key(key));
                      EXPECT_EQ(std::pair(d.Selected(), d.Scroll()->value()), std::pair(selected, first)) << key;
                  }
                  // The wheel over the thumbnails pages as over the bar; the selection keeps its cell.
                  QWheelEvent wheel(QPointF(50, 50), d.box()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                  QApplication::sendEvent(d.box(), &wheel);
                  EXPECT_GT(d.Scroll()->value(), 7);
                  EXPECT_EQ(d.Selected() - d.Scroll()->value(), 11);
                  EXPECT_EQ(d.box()->Canvas().Pixel(345, 246), blue);
                  QTest::keyClick(d.focusWidget(), Qt::Key_Return);
              }),
              1);
    EXPECT_EQ(s->CurrentPuzzle, d.Selected());
}

TEST(SelectDlg, NextFindsTheNextUnfinishedScrollPositionOnly)
{
    auto s = GalleryState(30);
    TSelectDlg d(*s, nullptr);
    FinishRange(*s, 2, 5);
    d.Scroll()->setValue(1);
    d.NextBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 6);

    d.Scroll()->setValue(19); // already at the end
    d.NextBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 19);

    // Only Quarvels beyond the last scroll position unfinished: nothing moves.
    FinishRange(*s, 1, 19);
    d.Scroll()->setValue(1);
    d.NextBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 1);
}

TEST(SelectDlg, PrevFindsThePreviousUnfinishedOrStays)
{
    auto s = GalleryState(30);
    TSelectDlg d(*s, nullptr);
    d.Scroll()->setValue(1);
    d.PrevBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 1);

    FinishRange(*s, 6, 9);
    d.Scroll()->setValue(10);
    d.PrevBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 5);

    FinishRange(*s, 1, 9);
    d.Scroll()->setValue(10);
    d.PrevBtnClick();
    EXPECT_EQ(d.Scroll()->value(), 10);
    EXPECT_EQ(s->CurrentPuzzle, 1);
}

TEST(SelectDlg, ASmallLibraryShowsWhatThereIsAndEmptyCellsPickNothing)
{
    auto s = GalleryState(5);
    s->CurrentPuzzle = 4;
    TSelectDlg d(*s, nullptr);
    EXPECT_EQ(d.Scroll()->maximum(), 1);
    EXPECT_EQ(Show(d, [&] {
                  EXPECT_EQ(d.Scroll()->value(), 1);
                  const Canvas& c = d.box()->Canvas();
                  EXPECT_EQ(c.Pixel(0, 85), clBlack);          // Quarvel 5's frame
                  EXPECT_EQ(c.Pixel(100, 85), Background(d)); // no Quarvel 6
                  d.NextBtnClick();
                  d.PrevBtnClick();
                  EXPECT_EQ(d.Scroll()->value(), 1);
                  QTest::mouseClick(d.box(), Qt::LeftButton, {}, QPoint(150, 100));
                  EXPECT_TRUE(d.isVisible());
                  QTest::keyClick(&d, Qt::Key_Escape);
              }),
              2);
    EXPECT_EQ(s->CurrentPuzzle, 4);
    EXPECT_EQ(Show(d, [&] { QTest::mouseClick(d.box(), Qt::LeftButton, {}, QPoint(50, 100)); }), 1);
    EXPECT_EQ(s->CurrentPuzzle, 5);
}

TEST(SelectDlg, ThumbnailOfAFinishedQuarvel)
{
    auto s = GalleryState(30);
    // Cells 5, 6 and 7 of the first page show Quarvels 6, 7 and 8.
    s->Progress(6) = 8;     // solved without help
    s->Progress(7) = 8 + 4; // revealed
    s->Progress(8) = 8 + 7; // damaged level: shown as revealed
    TSelectDlg d(*s, nullptr);
    d.box()->Repaint();
    const Canvas& c = d.box()->Canvas();
    const QImage& strip = d.FaceStrip();
    ASSERT_EQ(strip.size(), QSize(75, 15));

    // Cell 5 at (100, 85): frame to (190, 160), right and bottom exclusive.
    EXPECT_EQ(c.Pixel(100, 85), clBlack);
    EXPECT_EQ(c.Pixel(189, 85), clBlack);
    EXPECT_EQ(c.Pixel(100, 159), clBlack);
    EXPECT_EQ(c.Pixel(189, 159), clBlack);
    EXPECT_EQ(c.Pixel(101, 110), clSilver);
    EXPECT_EQ(c.Pixel(190, 100), Background(d));
    EXPECT_EQ(c.Pixel(120, 160), Background(d));

    // The number starts at (103, 86): something black just there, nothing left of it.
    bool digit = false;
    for (int y = 86; y < 98; ++y)
        for (int x = 103; x < 112; ++x)
            digit = digit || c.Pixel(x, y) == clBlack;
    EXPECT_TRUE(digit);
    EXPECT_EQ(c.Pixel(102, 90), clSilver);

    // Piece 1 at (40, 30), orientation 0: triangle (133, 133), (143, 133), (143, 123).
    EXPECT_EQ(c.Pixel(141, 131), clGrey);
    EXPECT_EQ(c.Pixel(143, 128), clBlack); // outline stays black
    EXPECT_EQ(c.Pixel(138, 128), clBlack);
    EXPECT_EQ(c.Pixel(137, 127), clSilver);
    EXPECT_EQ(c.Pixel(41, 46), clBlack); // cell 0, unfinished: black silhouette

    // Faces at the top right: green broad smile for no help, red for revealed and damaged.
    const auto faceMatches = [&](int x0, int y0, int sx) {
        for (int dy = 0; dy < 15; ++dy)
            for (int dx = 0; dx < 15; ++dx)
                if (c.Pixel(x0 + dx, y0 + dy) != FromQRgb(strip.pixel(sx + dx, dy)))
                    return false;
        return true;
    };
    EXPECT_TRUE(faceMatches(173, 87, 60));
    EXPECT_TRUE(faceMatches(273, 87, 0));
    EXPECT_TRUE(faceMatches(373, 87, 0));
    EXPECT_EQ(c.Pixel(73 + 7, 2 + 7), clSilver); // cell 0 unfinished: no face
}

TEST(SelectDlg, TextsFollowTheLanguage)
{
    auto s = GalleryState(30);
    TSelectDlg d(*s, nullptr);
    s->Language = 1;
    d.FormActivate();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Quarvel wählen"));
    EXPECT_EQ(d.CancelBtn()->text(), "Abbruch");
    EXPECT_EQ(d.NextBtn()->toolTip(), "Welches folgende Quarvel hab ich noch nicht geschafft?");
    s->Language = 2;
    d.FormActivate();
    EXPECT_EQ(d.windowTitle(), "Select Quarvel");
    EXPECT_EQ(d.CancelBtn()->text(), "Cancel");
    EXPECT_EQ(d.PrevBtn()->toolTip(), "Which previous Quarvel I havn't solved yet?");
    EXPECT_EQ(d.box()->toolTip(), "A mouselick and the Quarvel is selected.");

    // A named Quarvel's thumbnail heads the same hint with its name; others show the hint alone.
    QTemporaryDir dir;
    s->ProgramDir = dir.path() + "/";
    QFile names(dir.filePath("zqvl2.names"));
    ASSERT_TRUE(names.open(QIODevice::WriteOnly));
    names.write("2\tboat\tSailboat\tSegelboot\n");
    names.close();
    const auto* tips = d.box()->findChild<NameTips*>();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(tips->TextAt({150, 40}), "Sailboat\nA mouselick and the Quarvel is selected.");
    EXPECT_EQ(tips->TextAt({50, 40}), "A mouselick and the Quarvel is selected.");
    s->Language = 1;
    d.FormActivate();
    EXPECT_EQ(tips->TextAt({195, 84}), "Segelboot\nEin Mausklick und schon gehts mit diesem Quarvel los.");
}

TEST(Placement, CentredOnTheMainWindowTowardItsLowerHalf)
{
    // 176 = 100 + (600 - 448) / 2; 102 = 50 + 400 - (380 + 316) / 2.
    EXPECT_EQ(OverMainPlacement::Origin(QRect(100, 50, 600, 400), 380, QSize(448, 316)), QPoint(176, 102));
    // Halves of negative odd numbers round toward zero.
    EXPECT_EQ(OverMainPlacement::Origin(QRect(0, 0, 301, 100), 1, QSize(448, 316)), QPoint(-73, 100 - 158));

    QWidget main;
    main.setGeometry(100, 50, 600, 400);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    // A window manager frames the window a little after mapping it; without one there is no frame to wait for.
    (void)QTest::qWaitFor([&] { return !main.windowHandle()->frameMargins().isNull(); }, 1000);
    auto s = GalleryState(30);
    TSelectDlg d(*s, &main);
    // The first showing, before the dialog was ever framed, lands where the second does:
    // the frames' centres on one vertical line, the dialog's centre half the main
    // client height above the main frame's bottom edge.
    for (int showing = 1; showing <= 2; ++showing) {
        Show(d, [&] {
            (void)QTest::qWaitFor([&] { return !d.windowHandle()->frameMargins().isNull(); }, 1000);
            QTest::qWait(100); // any correction of the place once the frame is known
            const QRect m = main.frameGeometry();
            const QRect f = d.frameGeometry();
            EXPECT_EQ(f.left(), m.left() + (m.width() - f.width()) / 2) << "showing " << showing;
            EXPECT_EQ(f.top(), m.top() + m.height() - (main.height() + f.height()) / 2) << "showing " << showing;
            d.done(2);
        });
    }
}
