// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QuarvelNames.h"

#include "engine/RegularFile.h"

#include <array>
#include <charconv>
#include <vector>

namespace zq {

namespace {

// Well-formed UTF-8 without control characters: a name ends up in a tooltip.
bool PlainUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                return false;
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            more = 1;
            cp = c & 0x1FU;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            cp = c & 0x0FU;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            cp = c & 0x07U;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3FU);
        }
        constexpr std::array<std::uint32_t, 4> least{0, 0x80, 0x800, 0x10000};
        if (cp < least[static_cast<std::size_t>(more)] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ||
            (cp >= 0x80 && cp < 0xA0))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

void QuarvelNames::LoadFromBytes(std::span<const std::uint8_t> bytes)
{
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void QuarvelNames::LoadFromText(std::string_view text)
{
    entries_.clear();
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string_view> fields;
        for (std::size_t at = 0;;) {
            const std::size_t tab = line.find('\t', at);
            fields.push_back(Trim(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at)));
            if (tab == std::string_view::npos)
                break;
            at = tab + 1;
        }
        if (fields.size() != 4)
            continue;
        int number = 0;
        const auto [ptr, ec] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), number);
        if (ec != std::errc() || ptr != fields[0].data() + fields[0].size() || number < 1 || number > 1000)
            continue;
        if (fields[2].empty() || fields[3].empty() || entries_.count(number))
            continue;
        if (!PlainUtf8(fields[1]) || !PlainUtf8(fields[2]) || !PlainUtf8(fields[3]))
            continue;
        entries_.emplace(number, Entry{std::string(fields[1]), std::string(fields[2]), std::string(fields[3])});
    }
}

void QuarvelNames::Load(const std::filesystem::path& file)
{
    entries_.clear();
    // A FIFO or a folder in its place must not hang the tooltip that asked.
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(file, MaxFileSize, bytes) == ReadResult::Ok)
        LoadFromBytes(bytes);
}

std::string QuarvelNames::Name(int number, bool german) const
{
    const Entry* e = Find(number);
    return e ? (german ? e->german : e->english) : std::string{};
}

const QuarvelNames::Entry* QuarvelNames::Find(int number) const
{
    const auto it = entries_.find(number);
    return it == entries_.end() ? nullptr : &it->second;
}

} // namespace zq
