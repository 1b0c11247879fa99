// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures stored as the pixels Qt draws with, so that the pictures needed
// before the first paint cost no decoding. The build makes them from the PNGs
// (tools/render-art); the game maps them from its resources as they are.
//
// Layout, native byte order: "ZQPX", width, height and QImage::Format as 32-bit
// numbers, then height rows of width 32-bit pixels without padding. Only the
// two 32-bit formats are used: RGB32 for opaque pictures, else
// ARGB32_Premultiplied.
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace zq {

// The picture in the layout above, in whichever of the two formats suits it.
QByteArray RawPictureBytes(const QImage& image);

// A copy of the picture in bytes; null if they are not a whole picture.
QImage RawPicture(QByteArrayView bytes);

// The picture at a resource path (":/..."), read without copying where the
// resource is stored uncompressed; null if it is missing or damaged.
QImage ReadRawPicture(const QString& resourcePath);

} // namespace zq
