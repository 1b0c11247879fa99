// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/FileNames.h"

#include <QDir>

namespace zq {

namespace {
constexpr char16_t EscapeBase = 0xDC00;

bool IsEscapedByte(char16_t c) { return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF; }

// The length of the valid UTF-8 sequence at `at`, or 0.
int SequenceLength(const unsigned char* s, qsizetype at, qsizetype size)
{
    const unsigned char lead = s[at];
    int length = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > size)
        return 0;
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((s[at + i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (s[at + i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no valid UTF-8.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}
} // namespace

QString DecodeFileName(const QByteArray& bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = SequenceLength(s, at, bytes.size());
        if (length == 0) {
            name += QChar(static_cast<char16_t>(EscapeBase + s[at]));
            ++at;
        } else {
            name += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
        }
    }
    return name;
}

QByteArray EncodeFileName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            bytes += QStringView(name).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        // A surrogate pair is a character; only a lone low half stands for a byte.
        const bool paired = i > 0 && QChar::isHighSurrogate(name.at(i - 1).unicode());
        if (IsEscapedByte(c) && !paired) {
            flush(i);
            bytes += static_cast<char>(c - EscapeBase);
            runStart = i + 1;
        }
    }
    flush(name.size());
    return bytes;
}

std::filesystem::path FileSystemPath(const QString& name)
{
    const QByteArray bytes = EncodeFileName(name);
    return std::filesystem::path(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString AbsoluteFileName(const QString& name)
{
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    std::error_code ec;
    const std::string here = std::filesystem::current_path(ec).native();
    return QDir::cleanPath(DecodeFileName(QByteArray::fromStdString(here)) + QLatin1Char('/') + name);
}

QString ShownFileName(QString name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool paired = i > 0 && QChar::isHighSurrogate(name.at(i - 1).unicode());
        if (IsEscapedByte(name.at(i).unicode()) && !paired)
            name[i] = QChar(QChar::ReplacementCharacter);
    }
    return name;
}

} // namespace zq
