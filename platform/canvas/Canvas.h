// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace zq {

// A colour as the game writes it: 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour clSilver = 12632256;
inline constexpr Colour clGrey = 8355711;
inline constexpr Colour clBlack = 0;
inline constexpr Colour clGreen = 65280;
inline constexpr Colour clRed = 255;
inline constexpr Colour clYellow = 65535;
inline constexpr Colour clWhite = 0xFFFFFF;
// An XOR tint that changes every channel by half its range, whatever lies beneath.
inline constexpr Colour clLiftTint = 0x808080;

constexpr QRgb ToQRgb(Colour c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour FromQRgb(QRgb c)
{
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

struct CanvasPoint {
    int x = 0;
    int y = 0;
};

// A persistent picture that the game draws into directly, the way the board
// was always drawn: pen, brush, filled polygons, polylines, rectangles, text
// and plain copies. Lines are rasterised here rather than by Qt so that every
// pixel of an outline is hit exactly once: an XOR outline then shows without
// holes and vanishes completely when drawn a second time.
//
// Coordinates are logical pixels; `scale` device pixels stand for one logical
// pixel, so a high-density display can be drawn at its full resolution: fills
// and slanted lines alike follow their edges in device pixels, not in blocks.
class Canvas {
public:
    enum class PenMode { Copy, Xor };

    Canvas() = default;
    Canvas(int width, int height, int scale = 1);

    void Resize(int width, int height, int scale = 1);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }

    // The pen and the brush, set before each drawing call as the game does.
    Colour PenColour = clBlack;
    int PenWidth = 1;
    PenMode PenMode_ = PenMode::Copy;
    bool PenVisible = true;
    Colour BrushColour = clWhite;
    bool BrushSolid = true;

    // Outline with the pen (right and bottom edges exclusive), inside with the brush.
    // Without a pen the filled area is one pixel smaller at the right and bottom.
    void Rectangle(int left, int top, int right, int bottom);
    // Brush only, right and bottom exclusive.
    void FillRect(int left, int top, int right, int bottom);
    // Filled with the brush, then outlined with the pen.
    void Polygon(std::span<const CanvasPoint> points);
    // Segments joining the points; each leaves out its last point.
    void Polyline(std::span<const CanvasPoint> points);
    // XORs every other device pixel (a checkerboard fixed to the picture) of what the polygon fills,
    // leaving out the pixels its 1-pixel outline covers: a see-through tint that the same call removes
    // again, and that never touches a pixel an XOR outline of the same points toggles.
    void XorPattern(std::span<const CanvasPoint> points, Colour colour);
    // Text in the given font and colour with its top-left corner at (x, y); no background.
    void TextOut(int x, int y, const QString& text, const QFont& font, Colour colour);
    // Plain copy of a picture (logical pixels) to (x, y).
    void Draw(int x, int y, const QImage& picture);
    void Draw(int x, int y, const QImage& picture, int sx, int sy, int w, int h);

    // Logical pixel (x, y) as a colour value; device pixel (0, 0) of its block.
    Colour Pixel(int x, int y) const;
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

private:
    QRgb* Bits();
    void Plot(QRgb* bits, int x, int y, Colour c, PenMode mode) const;
    void FillSpan(QRgb* bits, int y, int x0, int x1, Colour c) const;
    void SegmentPixels(CanvasPoint a, CanvasPoint b, std::vector<CanvasPoint>& out) const;
    void StrokePixels(std::vector<CanvasPoint>& path);
    // Calls span(row, x0, x1) for the device pixels x0 .. x1 - 1 of each device row the polygon fills.
    template <typename Span>
    void FillSpans(std::span<const CanvasPoint> points, Span span) const;

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
};

} // namespace zq
