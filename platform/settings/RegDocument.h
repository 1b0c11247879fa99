// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/RegValue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq {

// A REGEDIT4 file held as its key blocks. Key paths and value names match
// without regard to ASCII case. Lines that cannot be read are kept word for
// word, and entries that are not changed are written back exactly as read, so
// a rewrite disturbs nothing but the values it sets or removes.
class RegDocument {
public:
    static constexpr std::string_view Signature = "REGEDIT4";

    static RegDocument Parse(std::string_view text);
    // Parse(text).Find(keyPath, name), without keeping the other keys' values:
    // a file crowded by other programs is read many times faster.
    static std::optional<RegValue> Lookup(std::string_view text, std::string_view keyPath, std::string_view name);

    // The last entry of that name in any block of that key; later ones win,
    // as they would on import.
    std::optional<RegValue> Find(std::string_view keyPath, std::string_view name) const;
    bool HasKey(std::string_view keyPath) const;

    // Replaces the value where it stands (keeping the name's spelling) or adds it
    // to the key, creating the key's block when there is none.
    void Set(std::string_view keyPath, std::string_view name, const RegValue& value);
    // Removes every entry of that name in that key; false when there was none.
    bool Remove(std::string_view keyPath, std::string_view name);

    std::string Text() const;

private:
    struct Entry {
        std::string text;                 // lines joined with '\n'
        std::optional<std::string> folded; // folded value name; none for a kept raw line
        std::string name;
        RegValue value;
    };
    struct Block {
        std::string header; // the whole header line
        std::string path;   // key path as spelt in the file
        std::string folded;
        std::vector<Entry> entries;
    };

    std::string SpellNewKey(std::string_view keyPath) const;
    // onlyKey (folded): keep only that key's blocks; empty: keep all.
    static RegDocument Parse(std::string_view text, std::string_view onlyKey);

    std::vector<std::string> preamble_; // unreadable lines before the first key
    std::vector<Block> blocks_;
    std::string eol_ = "\n";
};

} // namespace zq
