// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/TApplication.h"

#include <QMessageBox>

namespace zq {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

void TApplication::ShowException(const std::exception& error)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Zibble Quarvel"), QString::fromUtf8(error.what()));
}

} // namespace zq
