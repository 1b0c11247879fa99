// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace zq {

// Moves a top-level window so that its frame is centred over the owner's frame,
// or over the primary screen when there is no owner. Called just before each
// showing, so the window follows the owner wherever it was moved.
void CentreWindow(QWidget& window, const QWidget* owner);

} // namespace zq
