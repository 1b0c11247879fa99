// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/RegValue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

// Reads and writes single value entries of a REGEDIT4 file:
//   "name"="text"   @="text"   "name"=dword:0000002a   "name"=hex(2):41,00
// Hex lists may run over several lines, each but the last ending in a backslash.
class RegValueCodec {
public:
    struct NamePart {
        std::string name;      // unescaped; empty for the default value "@"
        std::size_t dataStart; // offset just after the '='
    };

    // The value name at the start of a line and where its data begins.
    static std::optional<NamePart> ParseName(std::string_view line);

    // True when the data on this first line asks for a continuation line.
    static bool Continues(std::string_view data);

    // The data of an entry; continuation lines are joined with '\n'.
    static std::optional<RegValue> ParseData(std::string_view data);

    // The entry as it is written, lines joined with '\n', no line end at the end.
    // Strings that cannot stand on one quoted line (NUL, CR, LF) are written as hex(1).
    static std::string Format(std::string_view name, const RegValue& value);

    static std::string Quote(std::string_view text);
};

} // namespace zq
