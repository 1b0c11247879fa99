// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/FileNames.h"

#include <gtest/gtest.h>

using namespace zq;

TEST(FileNames, AnyBytesComeBackUnchangedAndShowWithAReplacementCharacter)
{
    const struct { QByteArray bytes; QString shown; } rows[] = {
        {"/home/p/round2.zqv", QStringLiteral("/home/p/round2.zqv")},
        {"/home/p/Spielst\xc3\xa4nde/r.zqv", QStringLiteral("/home/p/Spielst\u00e4nde/r.zqv")},
        {"bad\xff.zqv", QStringLiteral("bad\ufffd.zqv")},                // a byte that starts nothing
        {"latin\xe4.zqv", QStringLiteral("latin\ufffd.zqv")},            // a sequence cut short
        {"\xc0\xaf.zqv", QStringLiteral("\ufffd\ufffd.zqv")},            // an overlong '/'
        {"\xed\xb2\x80.zqv", QStringLiteral("\ufffd\ufffd\ufffd.zqv")},  // an encoded surrogate
        {"\xf0\x9f\x8e\xb2\xff", QStringLiteral("\U0001F3B2\ufffd")},    // a pair, then a stray byte
    };
    for (const auto& row : rows) {
        const QString name = DecodeFileName(row.bytes);
        EXPECT_EQ(EncodeFileName(name), row.bytes) << row.bytes.toHex().constData();
        EXPECT_EQ(ShownFileName(name), row.shown) << row.bytes.toHex().constData();
        EXPECT_EQ(FileSystemPath(name).native(), row.bytes.toStdString());
    }
}
