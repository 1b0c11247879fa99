// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/CentreWindow.h"

#include "platform/placement/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zq {

void CentreWindow(QWidget& window, const QWidget* owner)
{
    if (!owner && !QGuiApplication::primaryScreen())
        return;
    PlaceFrame(window, owner, [owner](QSize frame) {
        const QRect area = owner ? owner->frameGeometry() : QGuiApplication::primaryScreen()->geometry();
        return QPoint(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
    });
}

} // namespace zq
