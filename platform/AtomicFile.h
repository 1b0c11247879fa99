// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace zq {

// Replaces a file's contents so that a crash, a full disk or a killed process
// leaves either the old file or the new one, never a mix: the bytes go to a
// temporary file beside it, are flushed to disk and then renamed over it.
// A target that exists but is no regular file (a device, say) is written in
// place, since renaming over it would replace the device itself.
// Returns false on any failure; the old file is then untouched.
bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace zq
