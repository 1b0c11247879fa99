// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/canvas/CanvasWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

#include <cmath>

namespace zq {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent)
{
    // We paint every pixel ourselves; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::EnsureSize()
{
    const int scale = std::max(1, static_cast<int>(std::ceil(devicePixelRatioF())));
    if (canvas_.Width() != width() || canvas_.Height() != height() || canvas_.Scale() != scale) {
        canvas_.Resize(width(), height(), scale);
        dirty_ = true;
    }
}

void CanvasWidget::Flush()
{
    EnsureSize();
    if (!dirty_)
        return;
    dirty_ = false;
    if (OnPaint)
        OnPaint(canvas_);
}

void CanvasWidget::Repaint()
{
    dirty_ = true;
    Flush();
    update();
}

void CanvasWidget::Invalidate()
{
    dirty_ = true;
    update();
}

void CanvasWidget::paintEvent(QPaintEvent*)
{
    Flush();
    QPainter p(this);
    p.drawImage(QRect(0, 0, canvas_.Width(), canvas_.Height()), canvas_.Image());
    if (OnOverlay)
        OnOverlay(p);
}

void CanvasWidget::resizeEvent(QResizeEvent*) { EnsureSize(); }

void CanvasWidget::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event);
}

// A double click is two presses to the game.
void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(event);
}

void CanvasWidget::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void CanvasWidget::wheelEvent(QWheelEvent* event)
{
    if (OnWheel)
        OnWheel(event);
    else
        QWidget::wheelEvent(event);
}

// Tab belongs to an owner that takes keys, rather than moving the focus on.
bool CanvasWidget::focusNextPrevChild(bool next) { return OnKeyDown ? false : QWidget::focusNextPrevChild(next); }

} // namespace zq
