// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/CanvasHoles.h"
#include "ModalDriver.h"
#include "dialogs/TPatForm.h"
#include "dialogs/NameTips.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <vector>

using namespace zq;
using zq::test::WhenModal;

namespace {

class TPatFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        file_ = std::filesystem::path(dir_.path().toStdString()) / "settings.reg";
    }
    TIniStore Store() const { return TIniStore(file_); }

    QTemporaryDir dir_;
    std::filesystem::path file_;
    ProgramState state_;
};

PuzzleRecord AllAt(int x, int y, int o)
{
    PuzzleRecord r;
    for (int j = 1; j <= PieceCount; ++j)
        r[j] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), Orientation(o)};
    return r;
}

} // namespace

TEST_F(TPatFormTest, FirstRunOpensAt500By50AndStoresTheMovedPosition)
{
    TIniStore ini = Store();
    {
        TPatForm form(state_, ini);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.pos(), QPoint(500, 50));
        form.move(321, 222);
        // A window manager still framing the window may report it at the screen's
        // corner, unasked: the place stays the one the game gave it.
        QMoveEvent unasked(QPoint(0, 0), form.pos());
        QSpontaneKeyEvent::setSpontaneous(&unasked);
        qApp->notify(&form, &unasked);
    }
    EXPECT_EQ(ini.ReadInteger("common", "pleft", 0), 321);
    EXPECT_EQ(ini.ReadInteger("common", "ptop", 0), 222);

    // The next run comes back there, also partly off the screen; wholly off it,
    // where the player could never reach it, it comes back onto the screen's edge.
    ini.WriteInteger("common", "pleft", -50);
    EXPECT_EQ(TPatForm(state_, ini).pos(), QPoint(-50, 222));
    ini.WriteInteger("common", "pleft", -5000);
    TPatForm again(state_, ini);
    EXPECT_EQ(again.pos(), QPoint(0, 222));
}

TEST_F(TPatFormTest, UnwritableSettingsAreReportedNotFatal)
{
    // A plain file where the settings folder should be.
    const auto blocker = file_.parent_path() / "blocker";
    std::ofstream(blocker) << "x";
    TIniStore ini(blocker / "settings.reg");
    auto form = std::make_unique<TPatForm>(state_, ini);
    EXPECT_EQ(form->pos(), QPoint(500, 50));
    QString reported;
    WhenModal([&](QWidget& w) {
        if (auto* box = qobject_cast<QMessageBox*>(&w))
            reported = box->text();
        w.close();
    });
    // The destructor writes the position; a modal report appears, the program goes on.
    QTimer::singleShot(0, [&form] { form.reset(); });
    QTest::qWait(200);
    QTRY_VERIFY_WITH_TIMEOUT(!form, 3000);
    EXPECT_FALSE(reported.isEmpty());
}

TEST_F(TPatFormTest, SilhouetteIsTheWorkingCopyAtTwoPixelsPerCell)
{
    // Seven pieces on one spot; the eighth elsewhere and turned, so each piece counts.
    state_.Library[0] = AllAt(40, 30, 0);
    state_.Library[0][8] = {20, 20, Orientation(4)};
    state_.Library[1] = AllAt(70, 50, 8); // the library entry itself is not what is shown
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    form.Repaint();
    const Canvas& c = form.Canvas();
    ASSERT_EQ(c.Width(), 181);
    ASSERT_EQ(c.Height(), 120);
    // The triangle through (66, 66), (86, 66) and (86, 46), corners and inside black.
    for (auto [x, y] : {std::pair{66, 66}, {86, 66}, {86, 46}, {80, 60}, {85, 50}, {77, 62}})
        EXPECT_EQ(c.Pixel(x, y), clBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{70, 50}, {60, 60}, {88, 60}, {80, 68}, {0, 0}, {180, 119}, {140, 100}})
        EXPECT_EQ(c.Pixel(x, y), clSilver) << x << "," << y;
    // Piece 8 at (20, 20) turned by 4: the triangle through (34, 26), (34, 46), (54, 46).
    EXPECT_EQ(c.Pixel(38, 42), clBlack);
    EXPECT_EQ(c.Pixel(50, 30), clSilver);
}

TEST_F(TPatFormTest, TiltedSquareIsSolidAtTheScreensScale)
{
    // Two pieces turned by 22.5 degrees on one long side make a tilted square; four on each half.
    PuzzleRecord r = AllAt(40, 30, 1);
    for (int j = 5; j <= PieceCount; ++j)
        r[j] = {38, 26, Orientation(9)};
    state_.Library[0] = r;
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    form.Repaint();
    const Canvas& c = form.Canvas();
    // The scale-2 run of this test sets QT_SCALE_FACTOR; the picture must be drawn at it.
    EXPECT_EQ(c.Scale(), std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR")));
    EXPECT_EQ(c.Pixel(78, 56), clBlack); // the middle of the square
    EXPECT_EQ(zq::test::EnclosedSilver(c), 0);
}

TEST_F(TPatFormTest, CaptionShowsNumberAndFinishedState)
{
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    state_.CurrentPuzzle = 17;
    struct Case {
        std::uint8_t progress;
        int language;
        const char* caption;
    };
    const Case cases[] = {
        {0, 0, "Quarvel 17"},
        {3, 1, "Quarvel 17"},
        {4, 0, "Quarvel 17"}, // all help taken but not yet revealed by the board
        {8 | 0, 0, "Quarvel 17 - solved"},
        {8 | 3, -1, "Quarvel 17 - solved"},
        {8 | 2, 1, "Quarvel 17 - gelöst"},
        {8 | 4, 0, "Quarvel 17 - dropped"},
        {8 | 4, 1, "Quarvel 17 - aufgegeben"},
        {8 | 6, 0, "Quarvel 17 - dropped"}, // a damaged level reads as given up, as everywhere else
    };
    for (const Case& c : cases) {
        state_.Progress(17) = c.progress;
        state_.Language = c.language;
        form.Repaint();
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.caption)) << int(c.progress) << " " << c.language;
    }
    // The tooltip names the current Quarvel in the language, read from beside the data file.
    state_.ProgramDir = dir_.path() + "/";
    std::ofstream(dir_.filePath("zqvl2.names").toStdString()) << "17\tanimal\tFish\tFisch\n";
    const auto* tips = form.findChild<NameTips*>();
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(form.testAttribute(Qt::WA_AlwaysShowToolTips)); // it is never the active window
    state_.Language = 1;
    EXPECT_EQ(tips->TextAt({90, 60}), QString::fromUtf8("Fisch"));
    state_.Language = 0;
    EXPECT_EQ(tips->TextAt({90, 60}), "Fish");
    state_.CurrentPuzzle = 18;
    EXPECT_EQ(tips->TextAt({90, 60}), "");
}

TEST_F(TPatFormTest, AnyRepaintUpdatesTheCaption)
{
    TIniStore ini = Store();
    state_.CurrentPuzzle = 3;
    TPatForm form(state_, ini);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.Repaint();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quarvel 3"));
    // Revealed by the help step, which asks for no repaint: the next paint from the system shows it.
    state_.Progress(3) = 8 | 4;
    form.repaint();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quarvel 3 - dropped"));
}

// Not one pixel of the caption bar's colour, per column of the bar: where text is.
std::vector<int> TextColumns(const QImage& bar)
{
    std::vector<int> columns;
    for (int x = 0; x < bar.width(); ++x)
        for (int y = 0; y < bar.height(); ++y)
            if (bar.pixelColor(x, y) != QColor(0, 0, 128)) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST_F(TPatFormTest, OwnFrameShowsTheWholeCaptionAndNoButtons)
{
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    // No frame from the window system, which may add buttons: a one-pixel border,
    // an 18-pixel caption bar and the 181 by 120 client area under it.
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.size(), QSize(1 + 181 + 1, 1 + 18 + 120 + 1));
    EXPECT_EQ(form.ClientRect(), QRect(1, 19, 181, 120));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // The longest captions are shown whole: one digit fewer makes the text
    // shorter, which a caption cut at the bar's end would not, and the text
    // keeps clear of both ends of the bar.
    state_.Language = 1;
    state_.Progress(1000) = state_.Progress(100) = 8 | 4;
    auto textOf = [&](int quarvel) {
        state_.CurrentPuzzle = quarvel;
        form.Repaint();
        return TextColumns(form.grab(form.CaptionRect()).toImage().scaled(181, 18));
    };
    const std::vector<int> longest = textOf(1000);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quarvel 1000 - aufgegeben"));
    const std::vector<int> shorter = textOf(100);
    ASSERT_FALSE(longest.empty());
    ASSERT_FALSE(shorter.empty());
    EXPECT_GE(longest.front(), 2);
    EXPECT_LE(longest.back(), 181 - 3);
    EXPECT_LT(shorter.back(), longest.back() - 3);

    // The border is black all round; the client area below the bar is the picture.
    const QImage whole = form.grab().toImage().scaled(form.size());
    for (auto [x, y] : {std::pair{0, 0}, {182, 0}, {0, 139}, {182, 139}, {91, 0}, {91, 139}, {0, 70}, {182, 70}})
        EXPECT_EQ(whole.pixelColor(x, y), QColor(0, 0, 0)) << x << "," << y;
    EXPECT_EQ(whole.pixelColor(1 + 180, 19 + 119), QColor(192, 192, 192));
}

TEST_F(TPatFormTest, DraggedByItsCaptionOnly)
{
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    auto send = [&](QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(&form, &event);
    };
    // A press on the picture moves nothing.
    const QPoint inPicture(90, 80);
    send(QEvent::MouseButtonPress, inPicture, start + inPicture, Qt::LeftButton);
    send(QEvent::MouseMove, inPicture + QPoint(40, 30), start + inPicture + QPoint(40, 30), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, inPicture + QPoint(40, 30), start + inPicture + QPoint(40, 30), Qt::NoButton);
    EXPECT_EQ(form.pos(), start);
    // A press on the caption carries the window with the pointer.
    const QPoint onCaption(60, 9);
    send(QEvent::MouseButtonPress, onCaption, start + onCaption, Qt::LeftButton);
    send(QEvent::MouseMove, onCaption + QPoint(40, 30), start + onCaption + QPoint(40, 30), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, onCaption + QPoint(40, 30), start + onCaption + QPoint(40, 30), Qt::NoButton);
    EXPECT_EQ(form.pos(), start + QPoint(40, 30));
    // Moves after the release carry nothing.
    send(QEvent::MouseMove, onCaption + QPoint(90, 90), start + onCaption + QPoint(90, 90), Qt::NoButton);
    EXPECT_EQ(form.pos(), start + QPoint(40, 30));
}

TEST_F(TPatFormTest, CloseRequestsLeaveTheTargetInView)
{
    TIniStore ini = Store();
    TPatForm form(state_, ini);
    ASSERT_TRUE(form.isVisible());
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
}
