// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zq {

// Where a dialog goes when it is shown: horizontally centred on the main
// window, its centre half the main client height above the main window's
// bottom edge. Integer halves round toward zero, as the game always did.
class OverMainPlacement {
public:
    static QPoint Origin(const QRect& mainFrame, int mainClientHeight, QSize dialogFrame);

    // Moves the dialog's frame there; without a main window it is centred on its screen.
    static void Apply(QWidget& dialog, const QWidget* mainForm);
};

} // namespace zq
