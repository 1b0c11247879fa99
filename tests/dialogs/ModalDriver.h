// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zq::test {

// Plays the player's part in a modal loop: once a modal window is up, `act`
// runs on it. A watchdog closes whatever is still modal after a few seconds,
// so that a dialog which ignores its answer fails the test instead of hanging it.
inline void WhenModal(std::function<void(QWidget&)> act, int watchdogMs = 5000)
{
    // Owned by the application; it deletes itself once it has acted or given up.
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act = std::move(act), watchdogMs] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w && ++*tries <= 300)
            return;
        poll->stop();
        poll->deleteLater();
        if (!w) {
            ADD_FAILURE() << "no modal window appeared";
            return;
        }
        QTimer::singleShot(watchdogMs, [window = QPointer<QWidget>(w)] {
            if (window && window->isVisible()) {
                ADD_FAILURE() << "modal window still open; closing it";
                window->close();
            }
        });
        act(*w);
    });
    poll->start();
}

// A key as the player types it: to the widget that has the focus.
inline void Press(QWidget& window, Qt::Key key)
{
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(target, key);
}

} // namespace zq::test
