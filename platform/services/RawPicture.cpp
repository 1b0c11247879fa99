// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/RawPicture.h"

#include <QResource>

#include <array>
#include <cstdint>
#include <cstring>

namespace zq {

namespace {

constexpr std::array<char, 4> Magic{'Z', 'Q', 'P', 'X'};
constexpr qsizetype HeaderSize = 16;
// Far above any picture of ours; keeps width * height * 4 from overflowing.
constexpr std::uint32_t MaxSide = 8192;

struct Layout {
    int width = 0;
    int height = 0;
    QImage::Format format = QImage::Format_Invalid;
    const uchar* pixels = nullptr;
};

std::uint32_t Word(const char* at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The picture's layout if bytes hold exactly one whole picture.
bool Parse(QByteArrayView bytes, Layout& layout)
{
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), Magic.data(), Magic.size()) != 0)
        return false;
    const std::uint32_t width = Word(bytes.data() + 4);
    const std::uint32_t height = Word(bytes.data() + 8);
    const std::uint32_t format = Word(bytes.data() + 12);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide)
        return false;
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (bytes.size() - HeaderSize != static_cast<qsizetype>(width) * height * 4)
        return false;
    layout = {static_cast<int>(width), static_cast<int>(height), static_cast<QImage::Format>(format),
              reinterpret_cast<const uchar*>(bytes.data() + HeaderSize)};
    return true;
}

} // namespace

QByteArray RawPictureBytes(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage pixels = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                        : QImage::Format_RGB32);
    const std::array<std::uint32_t, 3> header{static_cast<std::uint32_t>(pixels.width()),
                                              static_cast<std::uint32_t>(pixels.height()),
                                              static_cast<std::uint32_t>(pixels.format())};
    QByteArray bytes(Magic.data(), Magic.size());
    bytes.append(reinterpret_cast<const char*>(header.data()), sizeof header);
    const qsizetype row = static_cast<qsizetype>(pixels.width()) * 4;
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), row);
    return bytes;
}

QImage RawPicture(QByteArrayView bytes)
{
    Layout layout;
    if (!Parse(bytes, layout))
        return {};
    QImage image(layout.width, layout.height, layout.format);
    if (image.isNull())
        return {};
    const qsizetype row = static_cast<qsizetype>(layout.width) * 4;
    for (int y = 0; y < layout.height; ++y)
        std::memcpy(image.scanLine(y), layout.pixels + y * row, static_cast<std::size_t>(row));
    return image;
}

QImage ReadRawPicture(const QString& resourcePath)
{
    const QResource resource(resourcePath);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        return RawPicture(resource.uncompressedData());
    const QByteArrayView bytes(reinterpret_cast<const char*>(resource.data()), resource.size());
    Layout layout;
    // Compiled-in resources live as long as the program, so the picture may use them in place;
    // QImage wants its rows 32-bit aligned, and a copy serves where they are not.
    if (!Parse(bytes, layout) || reinterpret_cast<std::uintptr_t>(layout.pixels) % 4 != 0)
        return RawPicture(bytes);
    return QImage(layout.pixels, layout.width, layout.height, layout.width * 4, layout.format);
}

} // namespace zq
