// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/DialogLook.h"

#include "platform/services/Glyphs.h"

#include <QApplication>
#include <QWidget>

namespace zq {

QFont DialogFont(bool bold)
{
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QIcon MainFormIcon(const QWidget* mainForm)
{
    if (mainForm && !mainForm->windowIcon().isNull())
        return mainForm->windowIcon();
    return GameIcon();
}

} // namespace zq
