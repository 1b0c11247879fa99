// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/canvas/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zq {

namespace {
// The smallest rectangle holding every point, corners included.
struct PointBox {
    int left, top, right, bottom;
};
PointBox BoxOf(std::span<const CanvasPoint> points)
{
    PointBox box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (CanvasPoint p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}
} // namespace

Canvas::Canvas(int width, int height, int scale) { Resize(width, height, scale); }

void Canvas::Resize(int width, int height, int scale)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    scale_ = std::max(scale, 1);
    image_ = QImage(std::max(width_ * scale_, 1), std::max(height_ * scale_, 1), QImage::Format_RGB32);
    if (image_.isNull()) {
        // Too large to hold: an empty canvas, which every drawing call leaves alone.
        width_ = height_ = 0;
        image_ = QImage(1, 1, QImage::Format_RGB32);
    }
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

void Canvas::StrokePixels(std::vector<CanvasPoint>& path)
{
    // The path is in device pixels; the pen is a square of PenWidth logical pixels laid on each of them,
    // so a high-density outline follows its edge as finely as the fill does. Squares overlap along the
    // path and segments share corners: every device pixel is plotted once, or an XOR outline would lose it.
    if (path.empty())
        return;
    const int s = scale_;
    const int side = std::max(PenWidth, 1) * s;
    const int lo = (std::max(PenWidth, 1) - 1) / 2 * s;
    const PointBox box = BoxOf(path);
    int x0 = box.left, y0 = box.top, x1 = box.right, y1 = box.bottom;
    // The pixels the pen can reach, clipped to the picture.
    x0 = std::max(x0 - lo, 0);
    y0 = std::max(y0 - lo, 0);
    x1 = std::min(x1 - lo + side, width_ * s);
    y1 = std::min(y1 - lo + side, height_ * s);
    if (x0 >= x1 || y0 >= y1)
        return;
    // A mark per pixel of that box is cheaper than sorting the pixels once the squares are 2 by 2.
    const auto boxWidth = static_cast<std::size_t>(x1 - x0);
    std::vector<std::uint8_t> done(boxWidth * static_cast<std::size_t>(y1 - y0), 0);
    QRgb* bits = Bits();
    const qsizetype stride = image_.bytesPerLine() / 4;
    const QRgb rgb = ToQRgb(PenColour);
    const bool xorMode = PenMode_ == PenMode::Xor;
    for (CanvasPoint p : path)
        for (int y = std::max(p.y - lo, y0); y < std::min(p.y - lo + side, y1); ++y) {
            std::uint8_t* mark = done.data() + static_cast<std::size_t>(y - y0) * boxWidth;
            QRgb* line = bits + y * stride;
            for (int x = std::max(p.x - lo, x0); x < std::min(p.x - lo + side, x1); ++x) {
                if (mark[x - x0])
                    continue;
                mark[x - x0] = 1;
                line[x] = xorMode ? (line[x] ^ (rgb & 0x00FFFFFFu)) | 0xFF000000u : rgb;
            }
        }
}

void Canvas::Polyline(std::span<const CanvasPoint> points)
{
    if (!PenVisible || points.size() < 2)
        return;
    const int s = scale_;
    std::vector<CanvasPoint> path;
    for (std::size_t i = 1; i < points.size(); ++i)
        SegmentPixels({points[i - 1].x * s, points[i - 1].y * s}, {points[i].x * s, points[i].y * s}, path);
    StrokePixels(path);
}

namespace {
// Rounds num / den up; den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den)
{
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}
} // namespace

template <typename Span>
void Canvas::FillSpans(std::span<const CanvasPoint> points, Span span) const
{
    // Device pixel (x, y) is filled when the point (x, y) lies inside the polygon through the same
    // points the outline runs along (a corner's logical pixel stands for its vertex). Fill and
    // outline then meet without a gap between them, and neighbours sharing an edge without a seam.
    // Left and top edges belong to the fill, right and bottom ones to the outline. Coordinates are
    // doubled so that the middle of a corner's block of device pixels is a whole number, and the
    // arithmetic is exact: two triangles on one edge agree on every pixel of it.
    const std::int64_t s = scale_;
    const auto dbl = [s](int v) { return 2 * s * v + s - 1; };
    std::int64_t yMin = dbl(points[0].y), yMax = yMin;
    for (CanvasPoint p : points) {
        yMin = std::min(yMin, dbl(p.y));
        yMax = std::max(yMax, dbl(p.y));
    }
    const std::int64_t rowFirst = std::max<std::int64_t>(CeilDiv(yMin, 2), 0);
    const std::int64_t rowEnd = std::min<std::int64_t>(CeilDiv(yMax, 2), image_.height());
    const std::int64_t right = static_cast<std::int64_t>(width_) * s;
    std::vector<std::int64_t> xs;
    for (std::int64_t row = rowFirst; row < rowEnd; ++row) {
        const std::int64_t y = 2 * row;
        xs.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const CanvasPoint a = points[i];
            const CanvasPoint b = points[(i + 1) % points.size()];
            const std::int64_t xa = dbl(a.x), ya = dbl(a.y), xb = dbl(b.x), yb = dbl(b.y);
            if (!((ya <= y && y < yb) || (yb <= y && y < ya)))
                continue;
            // The first pixel at or right of the crossing, in plain device pixels.
            std::int64_t num = xa * (yb - ya) + (y - ya) * (xb - xa);
            std::int64_t den = 2 * (yb - ya);
            if (den < 0) {
                num = -num;
                den = -den;
            }
            xs.push_back(CeilDiv(num, den));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            const std::int64_t x0 = std::max<std::int64_t>(xs[i], 0), x1 = std::min(xs[i + 1], right);
            if (x0 < x1)
                span(static_cast<int>(row), static_cast<int>(x0), static_cast<int>(x1));
        }
    }
}

void Canvas::Polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 3)
        return;
    if (BrushSolid) {
        QRgb* bits = Bits();
        FillSpans(points, [&](int row, int x0, int x1) { FillSpan(bits, row, x0, x1, BrushColour); });
    }
    if (PenVisible) {
        std::vector<CanvasPoint> closed(points.begin(), points.end());
        closed.push_back(points[0]);
        Polyline(closed);
    }
}

void Canvas::XorPattern(std::span<const CanvasPoint> points, Colour colour)
{
    if (points.size() < 3)
        return;
    const int s = scale_;
    // The outline's device pixels, as a 1-pixel pen strokes them, marked over the polygon's box.
    const auto [left, top, right, bottom] = BoxOf(points);
    const int x0 = left * s, y0 = top * s;
    const auto boxWidth = static_cast<std::size_t>((right - left + 1) * s);
    std::vector<std::uint8_t> outline(boxWidth * static_cast<std::size_t>((bottom - top + 1) * s), 0);
    std::vector<CanvasPoint> path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CanvasPoint a = points[i], b = points[(i + 1) % points.size()];
        SegmentPixels({a.x * s, a.y * s}, {b.x * s, b.y * s}, path);
    }
    for (CanvasPoint p : path)
        for (int y = p.y; y < p.y + s; ++y)
            for (int x = p.x; x < p.x + s; ++x)
                outline[static_cast<std::size_t>(y - y0) * boxWidth + static_cast<std::size_t>(x - x0)] = 1;

    QRgb* bits = Bits();
    const qsizetype stride = image_.bytesPerLine() / 4;
    const QRgb flip = ToQRgb(colour) & 0x00FFFFFFu;
    FillSpans(points, [&](int row, int from, int to) {
        QRgb* line = bits + row * stride;
        const std::uint8_t* mark = outline.data() + static_cast<std::size_t>(row - y0) * boxWidth;
        for (int x = from + ((from + row) & 1); x < to; x += 2)
            if (!mark[x - x0])
                line[x] ^= flip;
    });
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
