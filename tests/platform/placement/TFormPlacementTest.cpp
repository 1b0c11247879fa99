// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placement/TFormPlacement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <unistd.h>

#include <functional>

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

    // The outer frame of the window's normal rectangle, as it would be stored.
    static QRect NormalFrame(const TFormPlacement& placement)
    {
        const auto p = placement.Current();
        return QRect(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
    }
    static void ShowAndWait(QWidget& w)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        // A window manager frames the window a little after mapping it.
        // Without a window manager there is no frame to wait for.
        (void)QTest::qWaitFor([&] { return !w.windowHandle()->frameMargins().isNull(); }, 1000);
        QApplication::processEvents();
    }
    // Hides the window as the end of a run does, and lets the window manager
    // take its frame away.
    static void HideAndWait(QWidget& w)
    {
        w.hide();
        if (QGuiApplication::platformName() == "xcb")
            (void)QTest::qWaitFor([&] { return w.windowHandle()->frameMargins().isNull(); }, 1000);
        QApplication::processEvents();
    }
    // Geometry settles only when the window system answers.
    static bool Settles(const std::function<bool()>& done) { return QTest::qWaitFor(done, 3000); }
    // A shown main window whose outer frame is at the given rectangle.
    static void PlaceAt(QWidget& w, const QRect& frame)
    {
        ShowAndWait(w);
        const QMargins m = w.windowHandle()->frameMargins();
        w.setGeometry(frame.marginsRemoved(m));
        ASSERT_TRUE(Settles([&] { return w.frameGeometry() == frame; })) << "frame stays at " << Text(w.frameGeometry());
    }
    static std::string Text(const QRect& r)
    {
        return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
               std::to_string(r.height());
    }

    fs::path root;
    std::optional<TIniStore> store;
    QRect screen;
};

TEST_F(TFormPlacementTest, NormalWindowComesBackWhereItWasLeft)
{
    // Saved after hiding, as the main window is at the end of a run: the frame
    // is gone by then, yet the outer rectangle is what is stored.
    const QRect left(100, 50, 464, 386);
    {
        QWidget w;
        TFormPlacement placement(w, *store);
        PlaceAt(w, left);
        HideAndWait(w);
        store->WriteString("Common", "MainFormColor", "-16777201");
        store->WriteString("common", "MainFormFont", "Tahoma");
        placement.Save();
    }
    EXPECT_EQ(store->ReadString("common", "MainForm", ""), "200,0,1,100,50,564,436");
    EXPECT_EQ(store->ReadString("Common", "MainFormColor", "gone"), "gone");
    EXPECT_EQ(store->ReadString("Common", "MainFormFont", "gone"), "gone");

    // Run after run, the window neither creeps nor shrinks.
    for (int run = 1; run <= 2; ++run) {
        QWidget w;
        w.resize(300, 200); // designed size, to be overridden
        TFormPlacement placement(w, *store);
        placement.Restore();
        ShowAndWait(w);
        EXPECT_TRUE(Settles([&] { return w.frameGeometry() == left; })) << "run " << run << ": " << Text(w.frameGeometry());
        EXPECT_EQ(w.windowState(), Qt::WindowNoState);
        HideAndWait(w);
        placement.Save();
        EXPECT_EQ(store->ReadString("common", "MainForm", ""), "200,0,1,100,50,564,436") << "run " << run;
    }
}

TEST_F(TFormPlacementTest, MaximisedWindowKeepsItsNormalRectangle)
{
    const QRect normal(100, 50, 464, 386);
    {
        QWidget w;
        TFormPlacement placement(w, *store);
        PlaceAt(w, normal);
        w.setWindowState(Qt::WindowMaximized);
        ASSERT_TRUE(Settles([&] { return w.isMaximized() && w.frameGeometry() != normal; }));
        HideAndWait(w);
        placement.Save();
    }
    EXPECT_EQ(store->ReadString("Common", "MainForm", ""), "200,0,3,100,50,564,436");

    for (int run = 1; run <= 2; ++run) {
        QWidget w;
        w.resize(300, 200);
        TFormPlacement placement(w, *store);
        placement.Restore();
        ShowAndWait(w);
        EXPECT_TRUE(w.isMaximized()) << "run " << run;
        EXPECT_TRUE(Settles([&] { return w.frameGeometry() != normal; })) << "run " << run;
        EXPECT_EQ(NormalFrame(placement), normal) << "run " << run;
        if (run == 1) {
            // A window that never left the maximised state stores what it was given.
            HideAndWait(w);
            placement.Save();
            EXPECT_EQ(store->ReadString("Common", "MainForm", ""), "200,0,3,100,50,564,436");
            continue;
        }
        w.setWindowState(Qt::WindowNoState);
        EXPECT_TRUE(Settles([&] { return w.frameGeometry() == normal; })) << Text(w.frameGeometry());
    }
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
        // The size given is the outer size: the frame is centred at 464 by 386.
        const QRect centred(screen.x() + (screen.width() - 464) / 2, screen.y() + (screen.height() - 386) / 2, 464, 386);
        EXPECT_TRUE(Settles([&] { return w.frameGeometry() == centred; })) << text << ": " << Text(w.frameGeometry());
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
    const QRect pulledBack(right - 464, bottom - 386, 464, 386);
    EXPECT_TRUE(Settles([&] { return w.frameGeometry() == pulledBack; })) << Text(w.frameGeometry());
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
