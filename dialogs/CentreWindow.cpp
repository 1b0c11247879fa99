// SPDX-License-Identifier: GPL-3.0-or-later
#include "CentreWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zq {

void CentreWindow(QWidget& window, const QWidget* owner)
{
    QRect area;
    if (owner)
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    else
        return;
    // Before the first showing the frame is not known yet; the client size is the best guess.
    const QSize size = window.frameGeometry().size();
    window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

} // namespace zq
