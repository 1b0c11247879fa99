// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

// The one rule by which stored texts become integers, shared by the settings
// store and the window placement so that both accept exactly the same texts.
class IntegerText {
public:
    // Leading spaces, an optional sign, then decimal digits or hex digits after
    // "$" or "0x", up to the end. Anything else, an empty text or a value outside
    // the 32-bit signed range gives nullopt.
    static std::optional<std::int32_t> Parse(std::string_view text);

    // Decimal, minus sign when negative, no plus sign, no leading zeros.
    static std::string Format(std::int32_t value);
};

} // namespace zq
