// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/SettingsError.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace zq {

// The per-user settings: named text values in sections below RegPath, kept in
// a registry export file (REGEDIT4) under HKEY_CURRENT_USER. Every operation
// reads the file afresh and every change rewrites it at once, so the store
// holds no state between calls. Failures raise SettingsError with the German
// message the player is shown.
class TIniStore {
public:
    static constexpr const char* RootKey = "HKEY_CURRENT_USER";

    // ${XDG_CONFIG_HOME:-$HOME/.config}/zibble-quarvel/settings.reg
    TIniStore();
    explicit TIniStore(std::filesystem::path file);

    static std::filesystem::path DefaultFileName();
    const std::filesystem::path& FileName() const { return file_; }

    std::string RegPath = "Software\\ZibbleGames\\ZibbleQuarvel\\V2";

    bool ReadBool(const std::string& section, const std::string& name, bool defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& name, std::int32_t defaultValue) const;
    std::string ReadString(const std::string& section, const std::string& name, const std::string& defaultValue) const;

    void WriteBool(const std::string& section, const std::string& name, bool value);
    void WriteInteger(const std::string& section, const std::string& name, std::int32_t value);
    void WriteString(const std::string& section, const std::string& name, const std::string& value);

    // A missing value or section is no error, and neither is a value that cannot be removed.
    void DeleteValue(const std::string& section, const std::string& name);

private:
    std::string KeyPath(const std::string& section) const;

    std::filesystem::path file_;
};

} // namespace zq
