// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zq {

Canvas::Canvas(int width, int height, int scale) { Resize(width, height, scale); }

void Canvas::Resize(int width, int height, int scale)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    scale_ = std::max(scale, 1);
    image_ = QImage(std::max(width_ * scale_, 1), std::max(height_ * scale_, 1), QImage::Format_RGB32);
    image_.fill(ToQRgb(clWhite));
}

QRgb* Canvas::Bits()
{
    // Once per drawing call: asking the image for writable bits checks its sharing each time.
    return reinterpret_cast<QRgb*>(image_.bits());
}

void Canvas::Plot(QRgb* bits, int x, int y, Colour c, PenMode mode) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const QRgb rgb = ToQRgb(c);
    const qsizetype stride = image_.bytesPerLine() / 4;
    for (int dy = 0; dy < scale_; ++dy) {
        QRgb* line = bits + (y * scale_ + dy) * stride;
        for (int dx = 0; dx < scale_; ++dx) {
            QRgb& px = line[x * scale_ + dx];
            px = mode == PenMode::Xor ? (px ^ (rgb & 0x00FFFFFFu)) | 0xFF000000u : rgb;
        }
    }
}

void Canvas::FillSpan(QRgb* bits, int y, int x0, int x1, Colour c) const
{
    // Device pixels x0 .. x1 - 1 of device row y.
    if (y < 0 || y >= image_.height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ * scale_);
    if (x0 >= x1)
        return;
    QRgb* line = bits + y * (image_.bytesPerLine() / 4);
    std::fill(line + x0, line + x1, ToQRgb(c));
}

void Canvas::FillRect(int left, int top, int right, int bottom)
{
    if (!BrushSolid)
        return;
    QRgb* bits = Bits();
    for (int y = top * scale_; y < bottom * scale_; ++y)
        FillSpan(bits, y, left * scale_, right * scale_, BrushColour);
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (!PenVisible) {
        FillRect(left, top, right - 1, bottom - 1);
        return;
    }
    FillRect(left + 1, top + 1, right - 1, bottom - 1);
    // The frame runs along the 1-pixel border l..r-1, t..b-1, widened evenly for thicker pens.
    const int lo = (PenWidth - 1) / 2;
    const int hi = PenWidth / 2;
    QRgb* bits = Bits();
    const auto band = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Plot(bits, x, y, PenColour, PenMode_);
    };
    const int r = right - 1;
    const int b = bottom - 1;
    band(left - lo, top - lo, r + hi, top + hi);              // top
    band(left - lo, b - lo, r + hi, b + hi);                  // bottom
    band(left - lo, top + hi + 1, left + hi, b - lo - 1);     // left
    band(r - lo, top + hi + 1, r + hi, b - lo - 1);           // right
}

void Canvas::SegmentPixels(CanvasPoint a, CanvasPoint b, std::vector<CanvasPoint>& out) const
{
    // Bresenham from a towards b, leaving out b itself.
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x;
    int y = a.y;
    while (x != b.x || y != b.y) {
        out.push_back({x, y});
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Canvas::StrokePixels(std::vector<CanvasPoint>& pixels)
{
    // Segments meeting at a sharp corner can share a pixel; plotting it once keeps an XOR outline whole.
    std::vector<std::uint64_t> keys;
    keys.reserve(pixels.size());
    for (CanvasPoint p : pixels)
        keys.push_back((static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.y)) << 32) |
                       static_cast<std::uint32_t>(p.x));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QRgb* bits = Bits();
    const int lo = (PenWidth - 1) / 2;
    for (std::uint64_t key : keys) {
        const int x = static_cast<int>(static_cast<std::uint32_t>(key));
        const int y = static_cast<int>(static_cast<std::uint32_t>(key >> 32));
        if (PenWidth <= 1) {
            Plot(bits, x, y, PenColour, PenMode_);
            continue;
        }
        for (int py = y - lo; py < y - lo + PenWidth; ++py)
            for (int px = x - lo; px < x - lo + PenWidth; ++px)
                Plot(bits, px, py, PenColour, PenMode_);
    }
}

void Canvas::Polyline(std::span<const CanvasPoint> points)
{
    if (!PenVisible || points.size() < 2)
        return;
    std::vector<CanvasPoint> pixels;
    for (std::size_t i = 1; i < points.size(); ++i)
        SegmentPixels(points[i - 1], points[i], pixels);
    StrokePixels(pixels);
}

void Canvas::Polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 3)
        return;
    if (BrushSolid) {
        // Even-odd fill of the device pixels whose centres lie inside; edges on the
        // right and bottom are left to the outline, as with any pixel-centre rule.
        const int s = scale_;
        int yMin = points[0].y, yMax = points[0].y;
        for (CanvasPoint p : points) {
            yMin = std::min(yMin, p.y);
            yMax = std::max(yMax, p.y);
        }
        std::vector<double> xs;
        QRgb* bits = Bits();
        for (int yd = std::max(yMin * s, 0); yd < std::min(yMax * s, image_.height()); ++yd) {
            const double yc = yd + 0.5;
            xs.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const CanvasPoint a = points[i];
                const CanvasPoint b = points[(i + 1) % points.size()];
                const double ya = a.y * s, yb = b.y * s;
                if ((ya <= yc && yc < yb) || (yb <= yc && yc < ya))
                    xs.push_back(a.x * s + (yc - ya) * (b.x - a.x) * s / (yb - ya));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                FillSpan(bits, yd, static_cast<int>(std::ceil(xs[i] - 0.5)), static_cast<int>(std::ceil(xs[i + 1] - 0.5)),
                         BrushColour);
        }
    }
    if (PenVisible) {
        std::vector<CanvasPoint> closed(points.begin(), points.end());
        closed.push_back(points[0]);
        Polyline(closed);
    }
}

void Canvas::TextOut(int x, int y, const QString& text, const QFont& font, Colour colour)
{
    QPainter p(&image_);
    p.scale(scale_, scale_);
    p.setFont(font);
    p.setPen(QColor::fromRgb(ToQRgb(colour)));
    p.drawText(QRect(x, y, 4 * width_ + 100, 4 * height_ + 100), Qt::AlignLeft | Qt::AlignTop, text);
}

void Canvas::Draw(int x, int y, const QImage& picture) { Draw(x, y, picture, 0, 0, picture.width(), picture.height()); }

void Canvas::Draw(int x, int y, const QImage& picture, int sx, int sy, int w, int h)
{
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRect(x * scale_, y * scale_, w * scale_, h * scale_), picture, QRect(sx, sy, w, h));
}

Colour Canvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return FromQRgb(image_.pixel(x * scale_, y * scale_));
}

} // namespace zq
