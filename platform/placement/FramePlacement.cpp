// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placement/FramePlacement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace zq {

namespace {

QMargins FrameOf(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void PlaceInside(QWidget& window, const QMargins& frame, const FrameOrigin& origin)
{
    // Setting the inside is exact whether or not the window system has framed
    // the window yet; moving the frame is not, before it knows the frame.
    const QPoint outer = origin(window.size().grownBy(frame));
    window.setGeometry(QRect(outer + QPoint(frame.left(), frame.top()), window.size()));
}

// Waits for the window's own frame and places the window again if it differs
// from the one assumed.
class Refit : public QObject {
public:
    static constexpr const char* Name = "zq-frame-refit";

    Refit(QWidget& window, FrameOrigin origin, QMargins assumed)
        : QObject(&window), window_(window), origin_(std::move(origin)), assumed_(assumed)
    {
        setObjectName(QString::fromLatin1(Name));
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_ || done_)
            return false;
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
        case QEvent::Hide: {
            const QMargins frame = FrameOf(window_);
            // Before the window manager has framed the window the frame reads as none,
            // while it is still building it (not yet grown around the window) as
            // negative: neither is a frame to place by, even once a busy machine has
            // painted the window. Where the owner has no frame either, there is no
            // window manager to wait for: the first paint ends the wait.
            const bool building = frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0;
            const bool unframed = frame.isNull() && (event->type() == QEvent::Move || !assumed_.isNull());
            if (event->type() != QEvent::Hide && (building || unframed))
                return false;
            done_ = true;
            if (event->type() != QEvent::Hide && frame != assumed_)
                PlaceInside(window_, frame, origin_);
            deleteLater();
            return false;
        }
        default:
            return false;
        }
    }

private:
    QWidget& window_;
    FrameOrigin origin_;
    QMargins assumed_;
    bool done_ = false;
};

} // namespace

QMargins ExpectedFrame(const QWidget& window, const QWidget* owner)
{
    const QMargins own = FrameOf(window);
    if (!own.isNull() || !owner)
        return own;
    return FrameOf(*owner);
}

void PlaceFrame(QWidget& window, const QWidget* owner, FrameOrigin origin)
{
    // Only the latest placement counts.
    for (QObject* earlier : window.findChildren<QObject*>(QString::fromLatin1(Refit::Name), Qt::FindDirectChildrenOnly))
        delete earlier;
    const bool framed = !FrameOf(window).isNull();
    const QMargins frame = ExpectedFrame(window, owner);
    PlaceInside(window, frame, origin);
    if (!framed)
        new Refit(window, std::move(origin), frame); // owned by the window
}

} // namespace zq
