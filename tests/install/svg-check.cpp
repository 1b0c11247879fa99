// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an SVG the way the toolkit does and prints its size as WxH, so the install
// check needs no image program with an SVG reader of its own.
//
//   svg-check FILE      exit 0 and "WxH" when FILE renders to a picture, 1 otherwise
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

// A file the renderer accepts can still draw nothing (an empty or clipped document);
// a desktop would then show a blank icon, so count what actually lands on the canvas.
bool drawsSomething(QSvgRenderer& renderer)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: svg-check FILE\n");
        return 2;
    }
    // No display is needed to read a file, and the check runs without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const QSize size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty()) {
        std::fprintf(stderr, "svg-check: %s is no readable SVG\n", argv[1]);
        return 1;
    }
    if (!drawsSomething(renderer)) {
        std::fprintf(stderr, "svg-check: %s draws nothing\n", argv[1]);
        return 1;
    }
    std::printf("%dx%d\n", size.width(), size.height());
    return 0;
}
