// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/OverMainPlacement.h"

#include "platform/placement/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zq {

QPoint OverMainPlacement::Origin(const QRect& mainFrame, int mainClientHeight, QSize dialogFrame)
{
    // C++ division truncates toward zero, which is the rounding wanted here for negative halves too.
    const int left = mainFrame.left() + (mainFrame.width() - dialogFrame.width()) / 2;
    const int top = mainFrame.top() + mainFrame.height() - (mainClientHeight + dialogFrame.height()) / 2;
    return {left, top};
}

void OverMainPlacement::Apply(QWidget& dialog, const QWidget* mainForm)
{
    if (mainForm) {
        PlaceFrame(dialog, mainForm, [mainForm](QSize frame) {
            return Origin(mainForm->frameGeometry(), mainForm->height(), frame);
        });
        return;
    }
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    PlaceFrame(dialog, nullptr, [area](QSize frame) {
        return QPoint(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
    });
}

} // namespace zq
