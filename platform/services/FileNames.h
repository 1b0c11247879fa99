// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace zq {

// File names are bytes to the system and need not be valid UTF-8. They are
// carried in a QString without loss: each byte that is not part of valid UTF-8
// becomes an unpaired surrogate U+DC80..U+DCFF, which no valid name contains,
// and turns back into that byte when the name goes to the system.
QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);
std::filesystem::path FileSystemPath(const QString& name);

// The name made absolute against the working folder, whose name need not be
// UTF-8 either; "." and ".." are resolved as text.
QString AbsoluteFileName(const QString& name);

// The name as it is shown: a byte that was not text shows as U+FFFD.
QString ShownFileName(QString name);

} // namespace zq
