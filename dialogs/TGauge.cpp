// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TGauge.h"

#include "dialogs/SmallSansFont.h"

#include <QPainter>

#include <algorithm>

namespace zq {

TGauge::TGauge(QWidget* parent) : CanvasWidget(parent), font_(SmallSansFont::Make())
{
    OnPaint = [this](zq::Canvas& c) { Paint(c); };
}

void TGauge::SetMinValue(int value)
{
    min_ = std::min(value, max_);
    progress_ = std::max(progress_, min_);
    Invalidate();
}

void TGauge::SetMaxValue(int value)
{
    max_ = std::max(value, min_);
    progress_ = std::min(progress_, max_);
    Invalidate();
}

void TGauge::SetProgress(int value)
{
    progress_ = std::clamp(value, min_, max_);
    Invalidate();
}

void TGauge::SetForeColor(Colour colour)
{
    fore_ = colour;
    Invalidate();
}

void TGauge::SetBackColor(Colour colour)
{
    back_ = colour;
    Invalidate();
}

void TGauge::SetTextFont(const QFont& font)
{
    font_ = font;
    Invalidate();
}

int TGauge::PercentDone() const
{
    if (max_ == min_)
        return 0;
    // 64 bits: 100 times a large range would overflow an int.
    return static_cast<int>(100LL * (progress_ - min_) / (static_cast<long long>(max_) - min_));
}

int TGauge::FilledWidth(int width, int percent)
{
    return std::clamp(static_cast<int>((width + 1LL) * percent / 100), 0, std::max(width, 0));
}

void TGauge::Paint(zq::Canvas& canvas) const
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    if (w <= 0 || h <= 0)
        return;
    const int p = PercentDone();
    canvas.BrushSolid = true;
    canvas.BrushColour = back_;
    canvas.FillRect(0, 0, w, h);
    canvas.BrushColour = fore_;
    canvas.FillRect(0, 0, FilledWidth(w, p), h);

    // White text on black, exclusive-or'ed over the bar: every text pixel
    // shows the opposite of what lies beneath it, fore or back colour alike.
    QImage& image = canvas.Image();
    QImage text(image.size(), QImage::Format_RGB32);
    text.fill(Qt::black);
    {
        QPainter p2(&text);
        QFont f = font_;
        f.setStyleStrategy(QFont::NoAntialias); // an inverted pixel is all or nothing
        p2.scale(canvas.Scale(), canvas.Scale());
        p2.setFont(f);
        p2.setPen(Qt::white);
        p2.drawText(QRect(0, 0, w, h), Qt::AlignCenter, QStringLiteral("%1%").arg(p));
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(text.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            dst[x] = (dst[x] ^ (src[x] & 0x00FFFFFFu)) | 0xFF000000u;
    }
}

} // namespace zq
