// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>

#include <functional>

class QWidget;

namespace zq {

// Picks where a window's outer frame goes, given the frame's size.
using FrameOrigin = std::function<QPoint(QSize frame)>;

// The thickness of a top-level window's frame. Before its first showing the
// window system has not framed it yet; the owner's frame stands in then, since
// one window manager frames the windows of one program alike.
QMargins ExpectedFrame(const QWidget& window, const QWidget* owner);

// Puts the window's outer frame where `origin` says. When the window has no
// frame yet, its own frame is looked at again once it is shown, and the window
// is put right if the guess was wrong: the first showing lands where later
// showings land.
void PlaceFrame(QWidget& window, const QWidget* owner, FrameOrigin origin);

} // namespace zq
