// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace zq {

// The names of the designed Quarvels, read from the optional text file beside
// the data file. UTF-8, one Quarvel a line, four fields separated by tabs:
//   number  category  English name  German name
// Empty lines and lines starting with '#' are comments. A line that does not
// fit (wrong field count, a number outside 1..1000, an empty name, not UTF-8)
// is skipped, as is a number already named; a missing file names nothing.
// Names only label a figure: nothing in the game depends on them.
class QuarvelNames {
public:
    static constexpr const char* FileName = "zqvl2.names";
    static constexpr std::size_t MaxFileSize = 1 << 20;

    struct Entry {
        std::string category;
        std::string english;
        std::string german;
    };

    void LoadFromBytes(std::span<const std::uint8_t> bytes);
    void LoadFromText(std::string_view text);
    // Reads at most MaxFileSize bytes; a missing or unreadable file leaves the list empty.
    void Load(const std::filesystem::path& file);

    // The name in the language (German when true), empty for an unnamed Quarvel.
    std::string Name(int number, bool german) const;
    const Entry* Find(int number) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::map<int, Entry>& Entries() const { return entries_; }

private:
    std::map<int, Entry> entries_;
};

} // namespace zq
