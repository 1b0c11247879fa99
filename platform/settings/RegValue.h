// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zq {

// One value as the registry holds it: its type and its raw data bytes.
// A string's data carries its terminating NUL, as the registry stores it.
struct RegValue {
    static constexpr std::uint32_t Sz = 1;
    static constexpr std::uint32_t ExpandSz = 2;
    static constexpr std::uint32_t Binary = 3;
    static constexpr std::uint32_t Dword = 4;

    std::uint32_t type = Sz;
    std::string data;

    static RegValue String(std::string_view text)
    {
        RegValue v{Sz, std::string(text)};
        v.data.push_back('\0');
        return v;
    }

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

} // namespace zq
