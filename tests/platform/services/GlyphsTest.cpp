// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmaps and late-read icons that replaced SVG at start-up must look
// exactly as Qt draws the SVG, at scale 1 and 2.
#include "platform/services/Glyphs.h"
#include "platform/services/RawPicture.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstring>

#include <gtest/gtest.h>

using namespace zq;

namespace {

// Pixels compared premultiplied: a bitmap file stores them straight, which may
// round a half-transparent edge by one step.
::testing::AssertionResult SameLook(const QPixmap& actual, const QPixmap& expected)
{
    if (actual.isNull() || expected.isNull())
        return ::testing::AssertionFailure() << "a picture is missing";
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                                             << expected.width() << "x" << expected.height();
    if (actual.devicePixelRatio() != expected.devicePixelRatio())
        return ::testing::AssertionFailure() << "scale " << actual.devicePixelRatio() << ", expected "
                                             << expected.devicePixelRatio();
    const QImage a = actual.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = e.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 1 || std::abs(qGreen(p) - qGreen(q)) > 1 ||
                std::abs(qBlue(p) - qBlue(q)) > 1 || std::abs(qAlpha(p) - qAlpha(q)) > 1)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    return ::testing::AssertionSuccess();
}

constexpr const char* Toolbar[] = {"newgame", "load", "save", "stat", "exit", "select", "up",
                                   "down",    "tip",  "sound", "tongue", "rules", "info", "zibble"};

} // namespace

TEST(Glyphs, ToolbarBitmapsLookLikeTheirSvgAtOneAndTwiceTheSize)
{
    for (const char* name : Toolbar) {
        SCOPED_TRACE(name);
        const QIcon svg(QStringLiteral(":/art/%1.svg").arg(QLatin1String(name)));
        const QPixmap one = QPixmap::fromImage(ReadRawPicture(QStringLiteral(":/glyphs/%1.pix").arg(QLatin1String(name))));
        EXPECT_TRUE(SameLook(one, svg.pixmap(QSize(22, 22), 1.0)));
        QPixmap two = QPixmap::fromImage(ReadRawPicture(QStringLiteral(":/glyphs/%1@2x.pix").arg(QLatin1String(name))));
        two.setDevicePixelRatio(2.0);
        EXPECT_TRUE(SameLook(two, svg.pixmap(QSize(22, 22), 2.0)));
    }
}

// On a scale-2 screen (run again under QT_SCALE_FACTOR=2) the toolbar must stay sharp.
TEST(Glyphs, BitmapIconGivesTheSharpBitmapWhereTheScreenCanShowIt)
{
    const QIcon icon = BitmapIcon(QStringLiteral(":/glyphs/tip"));
    const QIcon svg(QStringLiteral(":/art/tip.svg"));
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(22, 22), 1.0), svg.pixmap(QSize(22, 22), 1.0)));
    if (qApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "only at scale 2";
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(22, 22), 2.0), svg.pixmap(QSize(22, 22), 2.0)));
}

TEST(Glyphs, LazyIconReadsItsFilesWhenFirstDrawnAndLooksAsTheFileDoes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString normal = dir.filePath(QStringLiteral("next.svg"));
    const QString disabled = dir.filePath(QStringLiteral("next_disabled.svg"));
    const QIcon lazy = LazyIcon(normal, disabled);
    EXPECT_FALSE(lazy.isNull()) << "buttons ask before they draw";
    // The files appear only now: an icon that read them when made would stay empty.
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/art/next.svg"), normal));
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/art/next_disabled.svg"), disabled));

    QIcon direct(normal);
    direct.addFile(disabled, QSize(), QIcon::Disabled);
    const QIcon copy = lazy; // Qt copies icons freely; both must draw
    for (const qreal scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        EXPECT_TRUE(SameLook(lazy.pixmap(QSize(16, 16), scale), direct.pixmap(QSize(16, 16), scale)));
        EXPECT_TRUE(SameLook(copy.pixmap(QSize(16, 16), scale, QIcon::Disabled),
                             direct.pixmap(QSize(16, 16), scale, QIcon::Disabled)));
    }
    EXPECT_EQ(lazy.actualSize(QSize(48, 16)), direct.actualSize(QSize(48, 16)));
}

TEST(Glyphs, GameIconTakesTheSmallestBitmapAtLeastAsLargeAsAsked)
{
    const QIcon icon = GameIcon();
    const auto bitmap = [](int size) { return QPixmap(QStringLiteral(":/art/icon-%1.png").arg(size), "PNG"); };
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(32, 32), 1.0), bitmap(32)));
    // A title bar's icon as sharp as the one drawn from the SVG.
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(16, 16), 1.0), QIcon(QStringLiteral(":/art/icon.svg")).pixmap(QSize(16, 16), 1.0)));
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(128, 128), 1.0), bitmap(128)));
    // 40 comes from the 48 bitmap scaled down, 300 is the largest there is.
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(40, 40), 1.0),
                         bitmap(48).scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    EXPECT_EQ(icon.pixmap(QSize(300, 300), 1.0).size(), QSize(256, 256));
    // At scale 2 a 64-pixel icon is drawn from the 128 bitmap, not blown up from 64.
    QPixmap sharp = bitmap(128);
    sharp.setDevicePixelRatio(2.0);
    EXPECT_TRUE(SameLook(icon.pixmap(QSize(64, 64), 2.0), sharp));
}

TEST(RawPicture, StartUpPicturesAreTheirPngsPixelForPixel)
{
    for (const char* name : {"back", "crmove1", "crturn2", "faces", "splash", "icon-16", "icon-32", "icon-48",
                             "icon-64", "icon-128", "icon-256"}) {
        SCOPED_TRACE(name);
        const QImage raw = ReadRawPicture(QStringLiteral(":/art/%1.pix").arg(QLatin1String(name)));
        const QImage png(QStringLiteral(":/art/%1.png").arg(QLatin1String(name)), "PNG");
        ASSERT_FALSE(raw.isNull());
        EXPECT_EQ(raw, png.convertToFormat(png.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                 : QImage::Format_RGB32));
    }
}

TEST(RawPicture, OnlyWholePicturesAreRead)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(200, 100, 50, 128));
    image.setPixel(2, 1, qRgba(1, 2, 3, 255));
    const QByteArray bytes = RawPictureBytes(image);
    EXPECT_EQ(RawPicture(bytes), image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    const auto changed = [&](int at, quint32 value) {
        QByteArray b = bytes;
        std::memcpy(b.data() + at, &value, sizeof value);
        return b;
    };
    for (const QByteArray& broken : {bytes.chopped(1), bytes + '\0', QByteArray(), changed(0, 0x58505159),
                                     changed(4, 0), changed(4, 0x40000001), changed(8, 0x40000000),
                                     changed(12, QImage::Format_RGB888)})
        EXPECT_TRUE(RawPicture(broken).isNull());
}
