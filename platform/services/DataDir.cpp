// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/DataDir.h"

#include <system_error>

namespace zq {

namespace {
constexpr const char* DataFileName = "zqvl2.dat";

bool HoldsDataFile(const std::filesystem::path& folder)
{
    std::error_code error; // an unreadable folder counts as not holding it
    return std::filesystem::is_regular_file(folder / DataFileName, error);
}

std::string WithSeparator(const std::filesystem::path& folder)
{
    std::string text = folder.string();
    if (text.empty())
        return "./";
    if (text.back() != '/')
        text += '/';
    return text;
}
} // namespace

std::string DataDirFor(const std::filesystem::path& programFolder)
{
    if (HoldsDataFile(programFolder))
        return WithSeparator(programFolder);
    const std::filesystem::path shared = (programFolder / ".." / "share" / "zibble-quarvel").lexically_normal();
    if (HoldsDataFile(shared))
        return WithSeparator(shared);
    return WithSeparator(programFolder);
}

} // namespace zq
