// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the pictures through the compiled resource, as the game does, and checks
// what the drawing code relies on: sizes, formats and the face colours.
#include "resources/ArtResources.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

class ArtResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        zq::initArtResources();
        zq::initArtResources(); // a second call must not break anything
    }

    static QImage load(const QString& name)
    {
        QImageReader reader(":/art/" + name);
        return reader.read();
    }

    static QStringList listed(const QString& pattern)
    {
        QStringList names;
        QDirIterator it(":/art", {pattern}, QDir::Files);
        while (it.hasNext())
            names << it.next().section('/', -1);
        names.sort();
        return names;
    }
};

TEST_F(ArtResourcesTest, EveryNamedPictureIsCompiledIn)
{
    const QStringList required = {
        // toolbar
        "newgame.svg", "load.svg", "save.svg", "stat.svg", "exit.svg", "select.svg", "up.svg", "down.svg",
        "tip.svg", "sound.svg", "tongue.svg", "rules.svg", "info.svg", "zibble.svg",
        // gallery and dialogs
        "prev.svg", "next.svg", "prev_disabled.svg", "next_disabled.svg", "smile_yellow.svg", "sad_green.svg",
        "turn_back_green.svg", "cross_red.svg", "door_blue.svg", "cancel.svg", "flags_en.svg", "flags_de.svg",
        // bitmaps
        "back.png", "crmove1.png", "crturn2.png", "faces.png", "splash.png", "icon.svg", "icon-32.png",
        "icon-48.png", "icon-64.png", "icon-128.png", "icon-256.png"};
    for (const QString& name : required)
        EXPECT_TRUE(QFile::exists(":/art/" + name)) << name.toStdString();
}

TEST_F(ArtResourcesTest, BackgroundTileIs96SquareWithAPalette)
{
    const QImage back = load("back.png");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(96, 96));
    EXPECT_EQ(back.format(), QImage::Format_Indexed8);
    EXPECT_LE(back.colorCount(), 256);
    EXPECT_FALSE(back.hasAlphaChannel());
}

// Tiled, the step across a seam must look like any step inside the tile.
TEST_F(ArtResourcesTest, BackgroundTileHasNoVisibleSeams)
{
    const QImage back = load("back.png");
    ASSERT_EQ(back.size(), QSize(96, 96));
    const auto step = [&](int x0, int y0, int x1, int y1) {
        return std::abs(qGray(back.pixel(x0, y0)) - qGray(back.pixel(x1, y1)));
    };
    double inside = 0;
    double seam = 0;
    for (int i = 0; i < 96; ++i) {
        inside += step(47, i, 48, i) + step(i, 47, i, 48);
        seam += step(95, i, 0, i) + step(i, 95, i, 0);
    }
    EXPECT_LE(seam, inside * 1.5 + 96);
}

TEST_F(ArtResourcesTest, FaceStripHasTheFiveLevelColoursAtTheFaceCentres)
{
    const QImage faces = load("faces.png");
    ASSERT_FALSE(faces.isNull());
    ASSERT_EQ(faces.size(), QSize(75, 15));
    // From strip x 0 (help level 4, revealed) to x 60 (level 0, no help).
    constexpr std::array<QRgb, 5> fill = {0xffff0000, 0xffff791e, 0xffffe01e, 0xffc1ff00, 0xff00ff00};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(faces.pixel(15 * i + 7, 7), fill[i]) << "face at x " << 15 * i;
        // Copied plainly onto a silver thumbnail: the corners must be silver.
        EXPECT_EQ(faces.pixel(15 * i, 0), qRgb(192, 192, 192));
        EXPECT_EQ(faces.pixel(15 * i + 14, 14), qRgb(192, 192, 192));
    }
    EXPECT_FALSE(faces.hasAlphaChannel());
}

TEST_F(ArtResourcesTest, SplashIs200By150WithoutAlpha)
{
    const QImage splash = load("splash.png");
    ASSERT_FALSE(splash.isNull());
    EXPECT_EQ(splash.size(), QSize(200, 150));
    EXPECT_FALSE(splash.hasAlphaChannel());
}

TEST_F(ArtResourcesTest, CursorsAre32SquareAndOpaqueAtTheHotspot)
{
    for (const char* name : {"crmove1.png", "crturn2.png"}) {
        const QImage cursor = load(name);
        ASSERT_FALSE(cursor.isNull()) << name;
        EXPECT_EQ(cursor.size(), QSize(32, 32)) << name;
        EXPECT_TRUE(cursor.hasAlphaChannel()) << name;
        // The hotspot (16, 16) is on the black part; the corners are see-through.
        const QColor hot = cursor.pixelColor(16, 16);
        EXPECT_EQ(hot.alpha(), 255) << name;
        EXPECT_LT(hot.lightness(), 64) << name;
        EXPECT_EQ(cursor.pixelColor(0, 0).alpha(), 0) << name;
    }
}

TEST_F(ArtResourcesTest, IconBitmapsHaveTheirNamedSizes)
{
    for (const int size : {32, 48, 64, 128, 256}) {
        const QImage icon = load(QString("icon-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
}

TEST_F(ArtResourcesTest, EverySvgRendersSomethingInItsViewBox)
{
    const QStringList svgs = listed("*.svg");
    ASSERT_GE(svgs.size(), 27);
    for (const QString& name : svgs) {
        QSvgRenderer renderer(":/art/" + name);
        ASSERT_TRUE(renderer.isValid()) << name.toStdString();
        const QRectF box = renderer.viewBoxF();
        EXPECT_GT(box.width(), 0) << name.toStdString();
        QImage image(box.size().toSize() * 2, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        int covered = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                covered += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        // A glyph that draws next to nothing is as broken as one that fails to load.
        EXPECT_GT(covered, image.width() * image.height() / 10) << name.toStdString();
    }
}

TEST_F(ArtResourcesTest, GlyphViewBoxesMatchTheirUse)
{
    const auto viewBox = [](const QString& name) { return QSvgRenderer(":/art/" + name).viewBoxF(); };
    for (const char* name : {"newgame.svg", "load.svg", "save.svg", "stat.svg", "exit.svg", "select.svg", "up.svg",
                             "down.svg", "tip.svg", "sound.svg", "tongue.svg", "rules.svg", "info.svg", "zibble.svg"})
        EXPECT_EQ(viewBox(name), QRectF(0, 0, 32, 32)) << name;
    for (const char* name : {"prev.svg", "next.svg", "prev_disabled.svg", "next_disabled.svg"})
        EXPECT_EQ(viewBox(name), QRectF(0, 0, 24, 24)) << name;
    for (const char* name : {"smile_yellow.svg", "sad_green.svg", "turn_back_green.svg", "cross_red.svg",
                             "door_blue.svg", "cancel.svg"})
        EXPECT_EQ(viewBox(name), QRectF(0, 0, 16, 16)) << name;
    for (const char* name : {"flags_en.svg", "flags_de.svg"})
        EXPECT_EQ(viewBox(name), QRectF(0, 0, 48, 16)) << name;
}

// The rules open at these two topics, and their pictures come from the resource.
TEST_F(ArtResourcesTest, HelpFileHasBothTopicsAndOnlyPicturesThatExist)
{
    QFile file(QStringLiteral(ZQ_HELP_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(R"(<a name="Das_Spiel"></a>)"));
    EXPECT_TRUE(html.contains(R"(<a name="The_game"></a>)"));
    EXPECT_LT(html.indexOf("Das_Spiel\"></a>"), html.indexOf("The_game\"></a>"));
    EXPECT_TRUE(html.contains("charset=utf-8"));
    const QRegularExpression image(R"re(src="qrc(:/art/[^"]+)")re");
    int images = 0;
    for (auto it = image.globalMatch(html); it.hasNext(); ++images) {
        const QString path = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    EXPECT_EQ(images, 28); // the fourteen toolbar buttons, once per language

    // Each language has its keys, undo included, under its own topic.
    const int english = html.indexOf("The_game\"></a>");
    const QString german = html.left(english);
    for (const char* key : {"Umschalt+Tab", "Strg+Z", "Strg+Umschalt+Z", "Strg+Y", "Bild ab", "Strg+Q", "F1"})
        EXPECT_TRUE(german.contains(QString::fromUtf8(key))) << key;
    for (const char* key : {"Shift+Tab", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y", "Page Down", "Ctrl+Q", "F1"})
        EXPECT_TRUE(html.indexOf(QString::fromUtf8(key), english) > english) << key;
}

} // namespace

int main(int argc, char** argv)
{
    // Images and SVG rendering want a GUI application; the test never shows a window.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
