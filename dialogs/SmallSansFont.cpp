// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SmallSansFont.h"

#include <QGuiApplication>

namespace zq {

QFont SmallSansFont::Make(bool bold)
{
    QFont f = QGuiApplication::font();
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(PixelSize);
    f.setBold(bold);
    return f;
}

} // namespace zq
