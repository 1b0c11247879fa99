// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"

#include <QWidget>

#include <functional>

namespace zq {

// A widget that shows a persistent Canvas. The owner draws into Canvas()
// whenever it likes and calls update(); OnPaint redraws the whole picture
// when the widget's size changes or a full repaint is asked for.
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    zq::Canvas& Canvas() { return canvas_; }
    const zq::Canvas& Canvas() const { return canvas_; }

    std::function<void(zq::Canvas&)> OnPaint;
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;

    // Redraws the whole picture through OnPaint now and shows it.
    void Repaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void EnsureSize();
    zq::Canvas canvas_;
};

} // namespace zq
