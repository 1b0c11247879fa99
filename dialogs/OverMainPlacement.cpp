// SPDX-License-Identifier: GPL-3.0-or-later
#include "OverMainPlacement.h"

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
    // Before the first showing a window has no frame yet; its client size is the best guess then.
    const QRect own = dialog.frameGeometry();
    const QSize size = own.isValid() && own.width() >= dialog.width() ? own.size() : dialog.size();
    if (mainForm) {
        dialog.move(Origin(mainForm->frameGeometry(), mainForm->height(), size));
        return;
    }
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    dialog.move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

} // namespace zq
