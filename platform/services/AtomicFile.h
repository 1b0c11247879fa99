// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace zq {

// Replaces a file's contents so that a crash, a full disk or a killed process
// leaves either the old file or the new one, never a mix: the bytes go to a
// temporary file beside it, are flushed to disk and then renamed over it.
//
// It refuses what a plain create-or-truncate would refuse, and reaches what
// that would reach:
// - an existing file that cannot be opened for writing (read-only, another
//   user's) is left alone and the write fails;
// - a symbolic link is followed, and the file it names is replaced; but in a
//   sticky folder that anyone may write to, only a link of our own or of the
//   folder's owner is followed, and the write fails on any other;
// - a target that is no regular file (FIFO, device, socket, folder) is refused
//   without blocking;
// - where no temporary file can be made beside an existing file (a folder
//   that is not writable), or it cannot replace the file (a sticky folder), or
//   it cannot get the file's owner and group, the file is overwritten in place;
// - a new file gets the permissions the process's umask gives it, and a
//   replaced one keeps its own, its owner and its group;
// - temporaries that a killed writer left beside the file are removed.
// Returns false on any failure; the old file is then untouched unless an
// in-place write had already begun.
bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace zq
