// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace zq {

// The folder the program reads its data file and help file from, with a
// trailing separator. The program's own folder comes first, so a build tree
// runs its own copy; an installed program finds them in
// ../share/zibble-quarvel/ beside its bin/ folder. When neither holds the data
// file, the program's own folder is returned, so the missing file is reported
// where a player would put it.
std::string DataDirFor(const std::filesystem::path& programFolder);

} // namespace zq
