// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QIcon>

class QWidget;

namespace zq {

// The small dialog font: the desktop's sans-serif face at 8 point, 11 pixels high.
QFont DialogFont(bool bold);

// The main window's icon, which every dialog shows in its picture box; the
// program's own icon when there is no main window (or it has none yet).
QIcon MainFormIcon(const QWidget* mainForm);

} // namespace zq
