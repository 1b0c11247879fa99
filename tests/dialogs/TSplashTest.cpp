// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "dialogs/TSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

using namespace zq;
using zq::test::WhenModal;

TEST(TSplash, PictureSizeAndPlace)
{
    TSplash splash;
    EXPECT_EQ(splash.size(), QSize(200, 150));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);

    QPoint centre;
    WhenModal([&](QWidget& w) {
        EXPECT_EQ(image->pixmap().deviceIndependentSize(), QSizeF(200, 150)) << "the picture is there when the splash is";
        // Sharp on a screen of scale 2 (run again under QT_SCALE_FACTOR=2): twice the pixels, not blown up.
        EXPECT_EQ(image->pixmap().size(), QSize(200, 150) * (w.devicePixelRatioF() > 1.0 ? 2 : 1));
        centre = w.frameGeometry().center();
        QTest::mouseClick(w.findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton, {}, QPoint(50, 50));
    });
    splash.ShowModal();
    EXPECT_FALSE(splash.isVisible());
    const QPoint screen = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((centre - screen).manhattanLength(), 2);
}

TEST(TSplash, TimerRunsFromCreationAndEveryTickClosesIt)
{
    TSplash splash;
    auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 3000);

    // A shorter interval, so the test need not wait three seconds per showing.
    timer->setInterval(100);
    // Ticks while hidden change nothing.
    QTest::qWait(250);
    EXPECT_FALSE(splash.isVisible());

    // Counted, not timed: the first tick while shown closes it, however busy the machine is.
    bool showing = false;
    int ticksWhileShown = 0;
    QObject::connect(timer, &QTimer::timeout, &splash, [&] { ticksWhileShown += showing ? 1 : 0; });
    for (int round = 0; round < 2; ++round) {
        WhenModal([](QWidget&) {}); // the player does nothing
        ticksWhileShown = 0;
        showing = true;
        EXPECT_EQ(splash.ShowModal(), 2);
        showing = false;
        EXPECT_EQ(ticksWhileShown, 1);
        EXPECT_FALSE(splash.isVisible());
        EXPECT_TRUE(timer->isActive());
    }
}
