// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFormPlacement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <unistd.h>

namespace fs = std::filesystem;
using zq::TFormPlacement;
using zq::TIniStore;

namespace {

class TFormPlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::path(::testing::TempDir()) / "zq-placement-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        store.emplace(root / "settings.reg");
        screen = QGuiApplication::primaryScreen()->geometry();
    }
    void TearDown() override { fs::remove_all(root); }

    // The outer frame of the window's normal rectangle.
    static QRect NormalFrame(const QWidget& w)
    {
        const auto p = TFormPlacement::Capture(w, w.windowHandle()->frameMargins());
        return QRect(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
    }
    static void ShowAndWait(QWidget& w)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QApplication::processEvents();
    }
    // A main window whose outer frame is at the given rectangle.
    static void PlaceAt(QWidget& w, const QRect& frame)
    {
        w.winId();
        const QMargins m = w.windowHandle()->frameMargins();
        w.resize(frame.size().shrunkBy(m));
        w.move(frame.topLeft());
    }

    fs::path root;
    std::optional<TIniStore> store;
    QRect screen;
};

TEST_F(TFormPlacementTest, NormalWindowComesBackWhereItWasLeft)
{
    const QRect left(100, 50, 464, 386);
    {
        QWidget w;
        TFormPlacement placement(w, *store);
        PlaceAt(w, left);
        ShowAndWait(w);
        ASSERT_EQ(w.frameGeometry(), left);
        w.hide();
        store->WriteString("Common", "MainFormColor", "-16777201");
        store->WriteString("common", "MainFormFont", "Tahoma");
        placement.Save();
    }
    EXPECT_EQ(store->ReadString("common", "MainForm", ""), "200,0,1,100,50,564,436");
    EXPECT_EQ(store->ReadString("Common", "MainFormColor", "gone"), "gone");
    EXPECT_EQ(store->ReadString("Common", "MainFormFont", "gone"), "gone");

    QWidget w;
    w.resize(300, 200); // designed size, to be overridden
    TFormPlacement placement(w, *store);
    placement.Restore();
    ShowAndWait(w);
    EXPECT_EQ(w.frameGeometry(), left);
    EXPECT_EQ(w.windowState(), Qt::WindowNoState);
}

TEST_F(TFormPlacementTest, MaximisedWindowKeepsItsNormalRectangle)
{
    const QRect normal(100, 50, 464, 386);
    {
        QWidget w;
        TFormPlacement placement(w, *store);
        PlaceAt(w, normal);
        w.setWindowState(Qt::WindowMaximized);
        ShowAndWait(w);
        ASSERT_TRUE(w.isMaximized());
        w.hide();
        placement.Save();
    }
    EXPECT_EQ(store->ReadString("Common", "MainForm", ""), "200,0,3,100,50,564,436");

    QWidget w;
    w.resize(300, 200);
    TFormPlacement placement(w, *store);
    placement.Restore();
    ShowAndWait(w);
    EXPECT_TRUE(w.isMaximized());
    EXPECT_NE(w.frameGeometry(), normal);
    EXPECT_EQ(NormalFrame(w), normal);
    w.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    EXPECT_EQ(w.frameGeometry(), normal);
}

TEST_F(TFormPlacementTest, MinimisedStateIsStoredAndRestored)
{
    store->WriteString("Common", "MainForm", "200,2,2,100,50,564,436");
    QWidget w;
    TFormPlacement placement(w, *store);
    placement.Restore();
    EXPECT_EQ(w.windowState(), Qt::WindowMinimized | Qt::WindowMaximized);
    EXPECT_EQ(placement.Current().flags, 2);
    EXPECT_EQ(placement.Current().showCmd, 2);

    // A command that would hide the window shows it normally.
    store->WriteString("Common", "MainForm", "200,0,0,100,50,564,436");
    QWidget hidden;
    TFormPlacement second(hidden, *store);
    second.Restore();
    EXPECT_EQ(hidden.windowState(), Qt::WindowNoState);
}

TEST_F(TFormPlacementTest, FirstRunAndUnusableTextsCentre)
{
    for (const char* text : {"", "200,0,1,100,50,564", "200,0,1,100,50,564,436,0", "100,0,1,100,50,564,436"}) {
        if (*text)
            store->WriteString("Common", "MainForm", text);
        QWidget w;
        w.resize(464, 386);
        TFormPlacement placement(w, *store);
        placement.Restore();
        ShowAndWait(w);
        const QRect frame = w.frameGeometry();
        EXPECT_EQ(frame.x(), screen.x() + (screen.width() - frame.width()) / 2) << text;
        EXPECT_EQ(frame.y(), screen.y() + (screen.height() - frame.height()) / 2) << text;
        EXPECT_EQ(w.size(), QSize(464, 386)) << text;
    }
}

TEST_F(TFormPlacementTest, RectanglePastTheScreenIsPulledBack)
{
    const int right = screen.x() + screen.width();
    const int bottom = screen.y() + screen.height();
    store->WriteString("Common", "MainForm",
                       "200,0,1," + std::to_string(right - 364) + "," + std::to_string(bottom - 286) + "," +
                           std::to_string(right + 100) + "," + std::to_string(bottom + 100));
    QWidget w;
    TFormPlacement placement(w, *store);
    placement.Restore();
    ShowAndWait(w);
    EXPECT_EQ(w.frameGeometry(), QRect(right - 464, bottom - 386, 464, 386));
}

TEST_F(TFormPlacementTest, BadFieldRaisesAndLeavesTheWindowAlone)
{
    store->WriteString("Common", "MainForm", "200,0,1,100,fifty,564,436");
    QWidget w;
    w.resize(464, 386);
    w.move(7, 9);
    const QRect designed = w.geometry();
    TFormPlacement placement(w, *store);
    try {
        placement.Restore();
        ADD_FAILURE() << "no error";
    } catch (const zq::SettingsError& e) {
        EXPECT_STREQ(e.what(), "'fifty' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(w.geometry(), designed);
    EXPECT_EQ(w.windowState(), Qt::WindowNoState);
}

} // namespace

namespace {

// The application exists only while tests run, so that listing them needs no display.
class ApplicationEnvironment : public ::testing::Environment {
public:
    ApplicationEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
    void SetUp() override { app_.emplace(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int& argc_;
    char** argv_;
    std::optional<QApplication> app_;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment(argc, argv)); // gtest takes ownership
    return RUN_ALL_TESTS();
}
