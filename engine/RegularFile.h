// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace zq {

// Reads the first bytes of a file the player or the installation named. Only a
// regular file is read: a FIFO, a device, a socket or a folder would block the
// open or the read, or never end, so it is refused before any byte is read.
// The path is taken as bytes, whatever the names' encoding.
enum class ReadResult { Ok, Missing, NotRegular, Failed };
ReadResult ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::vector<std::uint8_t>& bytes);

} // namespace zq
