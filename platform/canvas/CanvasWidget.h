// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas/Canvas.h"

#include <QWidget>

#include <functional>

class QPainter;

namespace zq {

// A widget that shows a persistent Canvas. The owner draws into Canvas()
// whenever it likes and calls update(); OnPaint redraws the whole picture
// when the widget's size changes or a full repaint is asked for.
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    // The picture, brought up to date first if a redraw is pending.
    zq::Canvas& Canvas()
    {
        Flush();
        return canvas_;
    }

    std::function<void(zq::Canvas&)> OnPaint;
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;
    // Returns whether the key was used; unused keys go on to the parent.
    std::function<bool(QKeyEvent*)> OnKeyDown;
    std::function<void(QWheelEvent*)> OnWheel;
    // Drawn over the picture on the screen only, in logical pixels: a passing sign
    // that leaves the picture itself as it is.
    std::function<void(QPainter&)> OnOverlay;

    // Redraws the whole picture through OnPaint now and shows it.
    void Repaint();
    // Asks for a redraw before the picture is next shown or read; cheap for a
    // widget that is not visible yet, which then draws nothing at start-up.
    void Invalidate();
    void Flush();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void EnsureSize();
    zq::Canvas canvas_;
    bool dirty_ = false;
};

} // namespace zq
