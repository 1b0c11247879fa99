// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the game's bitmaps from the SVG sources and from code, always the same
// bytes for the same input, so the committed PNGs can be checked by
// rendering again.
//
//   render-art <art-dir> [font-file]      write every PNG into <art-dir>
//   render-art --sheet <art-dir> <out>    contact sheet of all pictures, for review
//   render-art --glyphs <out-dir> <size> <svg>...
//                                         each SVG as raw pixels, <name>.pix at
//                                         size and <name>@2x.pix at twice the size
//   render-art --raw <out-dir> <png>...   each PNG as raw pixels, <name>.pix
#include "platform/services/RawPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kTile = 96;
constexpr std::uint32_t kTileSeed = 0x5eed2023u;
constexpr const char* kDefaultFont = "/usr/share/fonts/opentype/urw-base35/URWGothic-Demi.otf";

bool fail(const QString& what)
{
    std::fprintf(stderr, "render-art: %s\n", qPrintable(what));
    return false;
}

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG"))
        return fail("cannot write " + path);
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

QImage renderSvg(const QString& path, QSize size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// ---- background tile: periodic value noise, so the tile has no seams ----

std::uint32_t hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed ^ (static_cast<std::uint32_t>(x) * 0x8da6b343u)
                    ^ (static_cast<std::uint32_t>(y) * 0xd8163841u);
    h ^= h >> 13;
    h *= 0x85ebca6bu;
    h ^= h >> 16;
    h *= 0xc2b2ae35u;
    h ^= h >> 15;
    return h;
}

double lattice(int x, int y, int periodX, int periodY, std::uint32_t seed)
{
    const int px = ((x % periodX) + periodX) % periodX;
    const int py = ((y % periodY) + periodY) % periodY;
    return hash(px, py, seed) / 4294967295.0;
}

// Value noise with cells of cellX by cellY pixels; both must divide the tile.
double noise(double x, double y, int cellX, int cellY, std::uint32_t seed)
{
    const double fx = x / cellX;
    const double fy = y / cellY;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const double tx = fx - ix;
    const double ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx);
    const double sy = ty * ty * (3 - 2 * ty);
    const int periodX = kTile / cellX;
    const int periodY = kTile / cellY;
    const double a = lattice(ix, iy, periodX, periodY, seed);
    const double b = lattice(ix + 1, iy, periodX, periodY, seed);
    const double c = lattice(ix, iy + 1, periodX, periodY, seed);
    const double d = lattice(ix + 1, iy + 1, periodX, periodY, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

// A calm wood: wavy grain running across, fine fibres, a little grit.
QImage makeBackTile()
{
    QImage tile(kTile, kTile, QImage::Format_Indexed8);
    tile.setColorCount(256);
    constexpr QColor dark(104, 84, 64);
    constexpr QColor light(142, 116, 89);
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        tile.setColor(i, qRgb(qRound(dark.red() + (light.red() - dark.red()) * t),
                              qRound(dark.green() + (light.green() - dark.green()) * t),
                              qRound(dark.blue() + (light.blue() - dark.blue()) * t)));
    }
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double warp = noise(x, y, 48, 24, kTileSeed) * 1.2 + noise(x, y, 16, 12, kTileSeed + 1) * 0.4;
            const double grain = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (y * 3.0 / kTile + warp));
            const double fibre = noise(x, y, 24, 2, kTileSeed + 2);
            const double grit = noise(x, y, 2, 2, kTileSeed + 3);
            const double v = 0.4 * grain + 0.4 * fibre + 0.2 * grit;
            tile.setPixel(x, y, static_cast<uint>(std::clamp(qRound(v * 255), 0, 255)));
        }
    }
    return tile;
}

// ---- face strip: five 15x15 faces drawn pixel by pixel ----

struct Pixel {
    int x;
    int y;
};

QImage makeFaces()
{
    constexpr int kSize = 15;
    constexpr std::array<QRgb, 5> kFill = {qRgb(255, 0, 0), qRgb(255, 121, 30), qRgb(255, 224, 30),
                                           qRgb(193, 255, 0), qRgb(0, 255, 0)};
    const QRgb silver = qRgb(192, 192, 192);
    const QRgb ink = qRgb(40, 40, 40);
    // Mouths from sad (strip x 0) to broad smile (strip x 60).
    const std::array<std::vector<Pixel>, 5> mouths = {{
        {{6, 9}, {7, 9}, {8, 9}, {5, 10}, {9, 10}, {4, 11}, {10, 11}},
        {{6, 10}, {7, 10}, {8, 10}, {5, 11}, {9, 11}},
        {{5, 10}, {6, 10}, {7, 10}, {8, 10}, {9, 10}},
        {{4, 9}, {10, 9}, {5, 10}, {6, 10}, {7, 10}, {8, 10}, {9, 10}},
        {{3, 8}, {11, 8}, {4, 9}, {5, 9}, {6, 9}, {7, 9}, {8, 9}, {9, 9}, {10, 9}, {5, 10}, {6, 10}, {7, 10}, {8, 10}, {9, 10}},
    }};
    QImage strip(kSize * 5, kSize, QImage::Format_RGB32);
    strip.fill(silver);
    for (int f = 0; f < 5; ++f) {
        const int x0 = f * kSize;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const double d = std::hypot(x - 7, y - 7);
                if (d <= 5.6)
                    strip.setPixel(x0 + x, y, kFill[f]);
                else if (d <= 6.7)
                    strip.setPixel(x0 + x, y, ink);
            }
        }
        for (const Pixel eye : {Pixel{5, 4}, Pixel{5, 5}, Pixel{9, 4}, Pixel{9, 5}})
            strip.setPixel(x0 + eye.x, eye.y, ink);
        for (const Pixel p : mouths[f])
            strip.setPixel(x0 + p.x, p.y, ink);
    }
    return strip.convertToFormat(QImage::Format_RGB888);
}

// ---- splash: name over a small board with a house and a fir of eight pieces ----

void drawPiece(QPainter& painter, const QPolygonF& piece, QColor fill)
{
    painter.setPen(QPen(QColor(127, 127, 127), 1));
    painter.setBrush(fill);
    painter.drawPolygon(piece);
}

// At scale 2 the same picture in twice the pixels, for screens that show that many:
// the tile's pixels doubled, as the board's background is, the rest drawn sharp.
QImage makeSplash(const QImage& back, const QString& family, int pixelScale)
{
    QImage splash(200 * pixelScale, 150 * pixelScale, QImage::Format_RGB32);
    QPainter painter(&splash);
    painter.scale(pixelScale, pixelScale);
    for (int y = 0; y < 150; y += kTile)
        for (int x = 0; x < 200; x += kTile)
            painter.drawImage(x, y, back);

    // The board as the main window frames it: silver inside three black lines.
    const QRect board(17, 50, 166, 90);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(board.adjusted(-4, -4, 4, 4));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(board.adjusted(-7, -7, 7, 7));
    painter.drawRect(board.adjusted(-1, -1, 1, 1));
    painter.fillRect(board, QColor(192, 192, 192));

    painter.setRenderHint(QPainter::Antialiasing);
    // Eight equal right-angled isosceles triangles with legs of L pixels.
    constexpr double L = 36;
    const QPointF base(30, 132); // bottom left of the house
    const auto at = [&](double x, double y) { return base + QPointF(x, y); };
    const QColor black(0, 0, 0);
    const QColor red(255, 0, 0);
    const QColor green(0, 200, 0);
    // Walls: two squares, each cut along a diagonal.
    drawPiece(painter, QPolygonF({at(0, 0), at(0, -L), at(L, 0)}), black);
    drawPiece(painter, QPolygonF({at(0, -L), at(L, -L), at(L, 0)}), black);
    drawPiece(painter, QPolygonF({at(L, -L), at(2 * L, -L), at(L, 0)}), black);
    drawPiece(painter, QPolygonF({at(2 * L, -L), at(2 * L, 0), at(L, 0)}), black);
    // Roof: two pieces meeting under the ridge.
    drawPiece(painter, QPolygonF({at(0, -L), at(L, -2 * L), at(L, -L)}), red);
    drawPiece(painter, QPolygonF({at(L, -2 * L), at(2 * L, -L), at(L, -L)}), red);
    // Fir: two pieces standing on their long sides, one above the other.
    const double h = L / std::numbers::sqrt2;
    const double firX = 2 * L + 18 + h;
    drawPiece(painter, QPolygonF({at(firX - h, 0), at(firX + h, 0), at(firX, -h)}), green);
    drawPiece(painter, QPolygonF({at(firX - h, -h * 0.7), at(firX + h, -h * 0.7), at(firX, -h * 1.7)}), green);

    // The name: bold letters, yellow with a dark rim, scaled to fit the width.
    QFont font(family);
    font.setPixelSize(30);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("Zibble Quarvel"));
    const QRectF bounds = text.boundingRect();
    const double scale = std::min(1.0, 186.0 / bounds.width());
    QTransform place;
    place.translate(100 - bounds.center().x() * scale, 24 - bounds.center().y() * scale);
    place.scale(scale, scale);
    const QPainterPath title = place.map(text);
    painter.setPen(QPen(QColor(40, 30, 20), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(title);
    // A thin rim in the fill colour makes the strokes a little heavier.
    painter.setPen(QPen(QColor(255, 216, 74), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 216, 74));
    painter.drawPath(title);
    painter.end();
    return splash.convertToFormat(QImage::Format_RGB888);
}

bool renderAll(const QString& dir, const QString& fontFile)
{
    const QDir art(dir);
    // 16 for window title bars, which would otherwise get the 32 scaled down.
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = renderSvg(art.filePath("icon.svg"), QSize(size, size));
        if (icon.isNull())
            return fail("cannot render icon.svg");
        if (!save(icon, art.filePath(QString("icon-%1.png").arg(size))))
            return false;
    }
    for (const char* cursor : {"crmove1", "crturn2"}) {
        const QImage image = renderSvg(art.filePath(QString(cursor) + ".svg"), QSize(32, 32));
        if (image.isNull())
            return fail(QString("cannot render ") + cursor + ".svg");
        if (!save(image, art.filePath(QString(cursor) + ".png")))
            return false;
    }
    const QImage back = makeBackTile();
    if (!save(back, art.filePath("back.png")) || !save(makeFaces(), art.filePath("faces.png")))
        return false;
    const int fontId = QFontDatabase::addApplicationFont(fontFile);
    const QStringList families = fontId < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(fontId);
    if (families.isEmpty())
        return fail("cannot load the title font " + fontFile);
    return save(makeSplash(back, families.first(), 1), art.filePath("splash.png")) &&
           save(makeSplash(back, families.first(), 2), art.filePath("splash@2x.png"));
}

bool saveRaw(const QImage& image, const QString& path)
{
    QFile file(path);
    const QByteArray bytes = zq::RawPictureBytes(image);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return fail("cannot write " + path);
    return true;
}

// A glyph drawn as the icon engine would draw it for a button: kept in its
// aspect ratio within size x size, so the pictures look the same as before.
QImage renderGlyph(const QString& path, int size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QSize actual = renderer.defaultSize();
    actual.scale(size, size, Qt::KeepAspectRatio);
    QImage image(actual, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

// Build time: the game loads these instead of parsing SVG at start-up.
bool renderGlyphs(const QString& outDir, int size, const QStringList& svgs)
{
    if (size <= 0)
        return fail("glyph size must be positive");
    if (!QDir().mkpath(outDir))
        return fail("cannot make " + outDir);
    const QDir out(outDir);
    for (const QString& svg : svgs) {
        const QString base = QFileInfo(svg).completeBaseName();
        for (const int scale : {1, 2}) {
            const QImage image = renderGlyph(svg, size * scale);
            if (image.isNull())
                return fail("cannot render " + svg);
            const QString name = scale == 1 ? base + ".pix" : base + "@2x.pix";
            if (!saveRaw(image, out.filePath(name)))
                return false;
        }
    }
    return true;
}

// Build time: the pictures the game needs before its first paint, so it decodes none.
bool convertToRaw(const QString& outDir, const QStringList& pngs)
{
    if (!QDir().mkpath(outDir))
        return fail("cannot make " + outDir);
    const QDir out(outDir);
    for (const QString& png : pngs) {
        const QImage image(png, "PNG");
        if (image.isNull())
            return fail("cannot read " + png);
        if (!saveRaw(image, out.filePath(QFileInfo(png).completeBaseName() + ".pix")))
            return false;
    }
    return true;
}

// Every SVG at its own size, at 24 and 32 pixels, and the bitmaps, on silver.
bool renderSheet(const QString& dir, const QString& out)
{
    const QDir art(dir);
    const QStringList svgs = art.entryList({"*.svg"}, QDir::Files, QDir::Name);
    const QStringList pngs = art.entryList({"*.png"}, QDir::Files, QDir::Name);
    constexpr int kRow = 80;
    QImage sheet(900, kRow * (svgs.size() + pngs.size() + 4), QImage::Format_RGB32);
    sheet.fill(QColor(192, 192, 192));
    QPainter painter(&sheet);
    int y = 4;
    for (const QString& name : svgs) {
        painter.setPen(Qt::black);
        painter.drawText(4, y + 14, name);
        QSvgRenderer renderer(art.filePath(name));
        const QSize native = renderer.viewBox().size();
        int x = 160;
        for (const QSize size : {native, QSize(24, 24 * native.height() / native.width()),
                                 QSize(32, 32 * native.height() / native.width()), native * 3}) {
            painter.fillRect(QRect(QPoint(x, y), size), Qt::white);
            painter.drawImage(x, y, renderSvg(art.filePath(name), size));
            painter.drawImage(x + size.width() + 4, y, renderSvg(art.filePath(name), size));
            x += 2 * size.width() + 24;
        }
        y += std::max(kRow / 2, native.height() * 3 + 6);
    }
    for (const QString& name : pngs) {
        const QImage image(art.filePath(name));
        painter.setPen(Qt::black);
        painter.drawText(4, y + 14, name);
        if (name == "back.png") {
            for (int ty = 0; ty < 3; ++ty)
                for (int tx = 0; tx < 3; ++tx)
                    painter.drawImage(160 + tx * kTile, y + ty * kTile, image);
            y += 3 * kTile + 6;
            continue;
        }
        painter.drawImage(160, y, image.width() > 300 ? image.scaled(256, 256) : image);
        if (image.width() <= 80) {
            painter.drawImage(260, y, image.scaled(image.size() * 4));
            painter.fillRect(QRect(600, y, 32, 32), Qt::black);
            painter.drawImage(600, y, image);
        }
        y += std::max(kRow / 2, std::min(image.height(), 256) * (image.width() <= 80 ? 4 : 1) + 6);
        if (y > sheet.height() - 300)
            break;
    }
    painter.end();
    return save(sheet.copy(0, 0, sheet.width(), std::min(y + 4, sheet.height())), out);
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs a GUI application for fonts, but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == "--sheet")
        return renderSheet(args[1], args[2]) ? 0 : 1;
    if (args.size() >= 4 && args[0] == "--glyphs")
        return renderGlyphs(args[1], args[2].toInt(), args.mid(3)) ? 0 : 1;
    if (args.size() >= 3 && args[0] == "--raw")
        return convertToRaw(args[1], args.mid(2)) ? 0 : 1;
    if (args.size() == 1 || args.size() == 2)
        return renderAll(args[0], args.size() == 2 ? args[1] : QString(kDefaultFont)) ? 0 : 1;
    std::fprintf(stderr, "usage: render-art <art-dir> [font-file]\n       render-art --sheet <art-dir> <out.png>\n"
                         "       render-art --glyphs <out-dir> <size> <svg>...\n"
                         "       render-art --raw <out-dir> <png>...\n");
    return 2;
}
