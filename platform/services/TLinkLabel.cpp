// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/TLinkLabel.h"

#include <QDesktopServices>

namespace zq {

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent)
{
    Opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    hide();
}

void TLinkLabel::Click()
{
    if (JumpMode == jmNone)
        return;
    if (!Opener(QUrl(Jump))) {
        JumpMode = jmNone;
        setEnabled(false);
    }
}

} // namespace zq
