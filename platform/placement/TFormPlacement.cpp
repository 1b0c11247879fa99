// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placement/TFormPlacement.h"

#include "platform/placement/PlacementText.h"

#include <climits>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>

namespace zq {

namespace {

// The window frame's thickness; zero while the window system has not told us.
QMargins FrameMargins(const QWidget& form)
{
    const QWindow* window = form.windowHandle();
    return window ? window->frameMargins() : QMargins();
}

Qt::WindowStates StatesFor(const WindowPlacement& p)
{
    switch (p.showCmd) {
    case WindowPlacement::ShowMaximized:
        return Qt::WindowMaximized;
    case WindowPlacement::ShowMinimized:
    case 6: // minimise
    case 7: // show minimised without activating
        if (p.flags & WindowPlacement::RestoreToMaximized)
            return Qt::WindowMinimized | Qt::WindowMaximized;
        return Qt::WindowMinimized;
    default:
        // Any other command, hiding among them, shows the window normally:
        // a main window that never appears could not be used at all.
        return Qt::WindowNoState;
    }
}

} // namespace

TFormPlacement::TFormPlacement(QWidget& form, TIniStore& store, QObject* parent)
    : QObject(parent), form_(form), store_(store)
{
    form_.installEventFilter(this);
}

WindowPlacement TFormPlacement::Capture(const QWidget& form, const QMargins& normalFrame)
{
    WindowPlacement p;
    const auto state = form.windowState();
    if (state & Qt::WindowMinimized) {
        p.showCmd = WindowPlacement::ShowMinimized;
        if (state & Qt::WindowMaximized)
            p.flags = WindowPlacement::RestoreToMaximized;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        p.showCmd = WindowPlacement::ShowMaximized;
    }
    QRect normal = form.normalGeometry();
    if (!normal.isValid())
        normal = form.geometry();
    const QRect frame = normal.marginsAdded(normalFrame);
    p.left = frame.x();
    p.top = frame.y();
    p.right = frame.x() + frame.width();
    p.bottom = frame.y() + frame.height();
    return p;
}

WindowPlacement TFormPlacement::Current() const
{
    // A restore still waiting for the frame has set the stored outer rectangle
    // as the inside; what was read is what goes back.
    if (pending_ && !pending_->centre) {
        WindowPlacement p = Capture(form_, QMargins());
        p.left = pending_->frameTopLeft.x();
        p.top = pending_->frameTopLeft.y();
        p.right = p.left + pending_->size.width();
        p.bottom = p.top + pending_->size.height();
        return p;
    }
    // A maximised window's frame is not the one it has in the normal state, and
    // a hidden one (the save runs after the window is hidden) has none at all.
    QMargins frame = FrameMargins(form_);
    if (form_.windowState() != Qt::WindowNoState || frame.isNull())
        frame = normalMargins_.value_or(restoreMargins_.value_or(frame));
    return Capture(form_, frame);
}

void TFormPlacement::Save()
{
    store_.WriteString(Section, IniKey, PlacementText::Format(Current()));
    store_.DeleteValue(Section, IniKey + "Color");
    store_.DeleteValue(Section, IniKey + "Font");
}

void TFormPlacement::Restore()
{
    const auto stored = PlacementText::Parse(store_.ReadString(Section, IniKey, ""));
    const QScreen* screen = QGuiApplication::primaryScreen();
    pending_.reset();
    // A window system that knows the frame before the window is shown tells us
    // once the window exists; others tell us later (see eventFilter).
    form_.winId();

    if (!stored) {
        if (!screen)
            return;
        // Show would give an unsized window its preferred size; centre that size.
        if (!form_.testAttribute(Qt::WA_Resized))
            form_.adjustSize();
        // The size the window was given is its outer size, frame included.
        const QMargins margins = FrameMargins(form_);
        if (margins.isNull())
            pending_ = Pending{form_.size(), QPoint(), true};
        else
            form_.resize(form_.size().shrunkBy(margins));
        Centre(screen->geometry());
        return;
    }

    WindowPlacement p = *stored;
    if (screen) {
        // A damaged or foreign value could ask for a window of thousands of
        // millions of pixels, which no window system can draw.
        const QRect area = screen->availableGeometry();
        p = PlacementText::FitToArea(p, area.x(), area.y(), area.x() + area.width(), area.y() + area.height());
        p = PlacementText::KeepOnScreen(p, area.x() + area.width(), area.y() + area.height());
    }
    // QRect cannot hold every pair of stored numbers; keep the size sane.
    const auto extent = [](std::int64_t from, std::int64_t to) {
        return static_cast<int>(std::clamp<std::int64_t>(to - from, 0, QWIDGETSIZE_MAX));
    };
    const QRect frame(p.left, p.top, extent(p.left, p.right), extent(p.top, p.bottom));

    // The normal rectangle can only be set while the window is in the normal state.
    if (form_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        form_.setWindowState(Qt::WindowNoState);
    PlaceFrame(frame);
    restoreMargins_ = FrameMargins(form_);
    if (restoreMargins_->isNull())
        pending_ = Pending{form_.size(), frame.topLeft(), false};
    if (const auto states = StatesFor(p); states != Qt::WindowNoState) {
        // A hidden window keeps its geometry to itself until it is shown; hand
        // it on now, so that leaving the maximised state comes back to it.
        if (QWindow* window = form_.windowHandle())
            window->setGeometry(form_.geometry());
        form_.setWindowState(states);
    }
}

void TFormPlacement::PlaceFrame(const QRect& frame)
{
    // Qt's own idea of the frame can lag behind the window system's, so place
    // the inside ourselves.
    form_.setGeometry(frame.marginsRemoved(FrameMargins(form_)));
}

void TFormPlacement::Centre(const QRect& area)
{
    const QMargins m = FrameMargins(form_);
    const QSize frame = form_.size().grownBy(m);
    const QPoint inside(area.x() + PlacementText::CentredOrigin(area.width(), frame.width()) + m.left(),
                        area.y() + PlacementText::CentredOrigin(area.height(), frame.height()) + m.top());
    form_.setGeometry(QRect(inside, form_.size()));
}

QPoint OnScreen(const QPoint& stored, const QSize& frame)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return stored;
    const QRect area = screen->availableGeometry();
    WindowPlacement p;
    p.left = stored.x();
    p.top = stored.y();
    p.right = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{stored.x()} + frame.width(), INT32_MIN, INT32_MAX));
    p.bottom = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{stored.y()} + frame.height(), INT32_MIN, INT32_MAX));
    p = PlacementText::FitToArea(p, area.x(), area.y(), area.x() + area.width(), area.y() + area.height());
    return QPoint(p.left, p.top);
}

bool TFormPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &form_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
    case QEvent::Paint: {
        const QMargins margins = FrameMargins(form_);
        if (form_.windowState() == Qt::WindowNoState && !margins.isNull())
            normalMargins_ = margins;
        if (!pending_)
            break;
        // A window restored maximised gets its normal frame fitted when it
        // first appears in the normal state. A change of state comes before
        // the resize that goes with it, so it says nothing about the size yet.
        if (form_.windowState() != Qt::WindowNoState || event->type() == QEvent::WindowStateChange)
            break;
        if (form_.size() != pending_->size) {
            // Resized by someone else since: leave it alone. Other events may
            // still carry the size of the maximised state just left.
            if (event->type() == QEvent::Resize)
                pending_.reset();
            break;
        }
        if (margins.isNull()) {
            // By the first paint the window manager has framed the window, if it ever will.
            if (event->type() == QEvent::Paint)
                pending_.reset();
            break;
        }
        // The frame is known now: fit the outside where it was meant to be.
        const Pending pending = *pending_;
        pending_.reset();
        if (pending.centre) {
            form_.resize(pending.size.shrunkBy(margins));
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                Centre(screen->geometry());
        } else {
            PlaceFrame(QRect(pending.frameTopLeft, pending.size));
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zq
