// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/RegValueCodec.h"

#include <cstdio>

namespace zq {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// A quoted text starting at s[0] == '"'. Returns the text and the offset after
// the closing quote. Only \\ and \" are escapes; any other backslash stays as it is.
std::optional<std::pair<std::string, std::size_t>> Unquote(std::string_view s)
{
    std::string text;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"')
            return std::pair{std::move(text), i + 1};
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            ++i;
        text.push_back(s[i]);
    }
    return std::nullopt;
}

// Bytes written as "41,42,\<newline>  43": pairs of hex digits, commas between,
// and line breaks after a backslash.
std::optional<std::string> ParseHexList(std::string_view s)
{
    std::string bytes;
    bytes.reserve(s.size() / 3 + 1);
    std::size_t i = 0;
    const auto skipSpace = [&] {
        for (;;) {
            while (i < s.size() && IsBlank(s[i]))
                ++i;
            if (i < s.size() && s[i] == '\\') {
                std::size_t j = i + 1;
                while (j < s.size() && IsBlank(s[j]))
                    ++j;
                if (j < s.size() && s[j] == '\n') {
                    i = j + 1;
                    continue;
                }
            }
            return;
        }
    };
    skipSpace();
    if (i == s.size())
        return bytes;
    for (;;) {
        int value = 0;
        int digits = 0;
        while (i < s.size() && digits < 2 && HexDigit(s[i]) >= 0) {
            value = value * 16 + HexDigit(s[i]);
            ++i;
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(value));
        skipSpace();
        if (i == s.size())
            return bytes;
        if (s[i] != ',')
            return std::nullopt;
        ++i;
        skipSpace();
    }
}

void AppendHexList(std::string& out, std::string_view bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    out.reserve(out.size() + bytes.size() * 3 + bytes.size() / 8);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
        if (i + 1 < bytes.size()) {
            out.push_back(',');
            // Keep lines within 80 columns, as registry exports do.
            if (out.size() - lineStart >= 76) {
                out += "\\\n  ";
                lineStart = out.size() - 2;
            }
        }
    }
}

} // namespace

std::optional<RegValueCodec::NamePart> RegValueCodec::ParseName(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size())
        return std::nullopt;
    NamePart part;
    if (line[i] == '@') {
        ++i;
    } else if (line[i] == '"') {
        auto quoted = Unquote(line.substr(i));
        if (!quoted)
            return std::nullopt;
        part.name = std::move(quoted->first);
        i += quoted->second;
    } else {
        return std::nullopt;
    }
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size() || line[i] != '=')
        return std::nullopt;
    ++i;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    part.dataStart = i;
    return part;
}

bool RegValueCodec::Continues(std::string_view data)
{
    data = TrimRight(data);
    return StartsWithNoCase(data, "hex") && !data.empty() && data.back() == '\\';
}

std::optional<RegValue> RegValueCodec::ParseData(std::string_view data)
{
    data = TrimRight(data);
    if (!data.empty() && data.front() == '"') {
        auto quoted = Unquote(data);
        if (!quoted || quoted->second != data.size())
            return std::nullopt;
        return RegValue::String(quoted->first);
    }
    if (StartsWithNoCase(data, "dword:")) {
        const auto digits = data.substr(6);
        if (digits.empty() || digits.size() > 8)
            return std::nullopt;
        std::uint32_t n = 0;
        for (const char c : digits) {
            const int d = HexDigit(c);
            if (d < 0)
                return std::nullopt;
            n = n * 16 + static_cast<std::uint32_t>(d);
        }
        RegValue v{RegValue::Dword, {}};
        for (int k = 0; k < 4; ++k)
            v.data.push_back(static_cast<char>((n >> (8 * k)) & 0xff));
        return v;
    }
    if (!StartsWithNoCase(data, "hex"))
        return std::nullopt;
    std::size_t i = 3;
    std::uint32_t type = RegValue::Binary;
    if (i < data.size() && data[i] == '(') {
        const auto close = data.find(')', i);
        if (close == std::string_view::npos || close == i + 1 || close - i - 1 > 8)
            return std::nullopt;
        type = 0;
        for (std::size_t k = i + 1; k < close; ++k) {
            const int d = HexDigit(data[k]);
            if (d < 0)
                return std::nullopt;
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        i = close + 1;
    }
    if (i == data.size() || data[i] != ':')
        return std::nullopt;
    auto bytes = ParseHexList(data.substr(i + 1));
    if (!bytes)
        return std::nullopt;
    return RegValue{type, std::move(*bytes)};
}

std::string RegValueCodec::Quote(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string RegValueCodec::Format(std::string_view name, const RegValue& value)
{
    std::string out = name.empty() ? std::string("@") : Quote(name);
    out.push_back('=');
    const std::string_view data = value.data;
    if (value.type == RegValue::Sz && !data.empty() && data.back() == '\0') {
        const auto text = data.substr(0, data.size() - 1);
        if (text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos) {
            out += Quote(text);
            return out;
        }
    }
    if (value.type == RegValue::Dword && data.size() == 4) {
        std::uint32_t n = 0;
        for (int k = 3; k >= 0; --k)
            n = (n << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(k)]);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        out += buf;
        return out;
    }
    if (value.type == RegValue::Binary) {
        out += "hex:";
    } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        out += buf;
    }
    AppendHexList(out, data);
    return out;
}

} // namespace zq
