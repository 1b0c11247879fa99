// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/TIniStore.h"

#include "platform/settings/IntegerText.h"
#include "platform/settings/RegDocument.h"
#include "platform/settings/SettingsFile.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace zq {

namespace {

constexpr const char* InvalidType = "Ungültiger Datentyp für '%s'";
constexpr const char* FetchFailed = "Fehler beim Holen der Daten für '%s'";
constexpr const char* CreateFailed = "Erzeugung von Schlüssel %s mißlungen";
constexpr const char* SetFailed = "Fehler beim Setzen der Daten für '%s'";

// Names go into the file between quotes on one line.
bool FitsOnOneLine(const std::string& s)
{
    return s.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos;
}

} // namespace

TIniStore::TIniStore() : file_(DefaultFileName()) {}

TIniStore::TIniStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path TIniStore::DefaultFileName()
{
    std::filesystem::path config;
    // A relative XDG_CONFIG_HOME is to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            if (const passwd* pw = ::getpwuid(::getuid()))
                home = pw->pw_dir;
        }
        config = std::filesystem::path(home ? home : ".") / ".config";
    }
    return config / "zibble-quarvel" / "settings.reg";
}

std::string TIniStore::KeyPath(const std::string& section) const
{
    std::string_view base = RegPath;
    while (!base.empty() && base.front() == '\\')
        base.remove_prefix(1);
    while (!base.empty() && base.back() == '\\')
        base.remove_suffix(1);
    std::string path = RootKey;
    if (!base.empty()) {
        path += '\\';
        path += base;
    }
    // An empty section is the base key itself.
    if (!section.empty()) {
        path += '\\';
        path += section;
    }
    return path;
}

std::string TIniStore::ReadString(const std::string& section, const std::string& name,
                                  const std::string& defaultValue) const
{
    const auto contents = SettingsFile(file_).Read();
    if (contents.status == SettingsFile::ReadStatus::Failed)
        throw SettingsError::WithName(FetchFailed, name);
    if (contents.status == SettingsFile::ReadStatus::Missing)
        return defaultValue;
    const auto value = RegDocument::Lookup(contents.text, KeyPath(section), name);
    if (!value)
        return defaultValue;
    if (value->type != RegValue::Sz && value->type != RegValue::ExpandSz)
        throw SettingsError::WithName(InvalidType, name);
    // The text ends at the first NUL; an expandable string is taken as it stands.
    const auto end = value->data.find('\0');
    return value->data.substr(0, end);
}

std::int32_t TIniStore::ReadInteger(const std::string& section, const std::string& name,
                                    std::int32_t defaultValue) const
{
    const auto text = ReadString(section, name, IntegerText::Format(defaultValue));
    return IntegerText::Parse(text).value_or(defaultValue);
}

bool TIniStore::ReadBool(const std::string& section, const std::string& name, bool defaultValue) const
{
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void TIniStore::WriteString(const std::string& section, const std::string& name, const std::string& value)
{
    if (!FitsOnOneLine(section))
        throw SettingsError::WithName(CreateFailed, section);
    if (!FitsOnOneLine(name))
        throw SettingsError::WithName(SetFailed, name);
    const auto key = KeyPath(section);
    const auto status = SettingsFile(file_).Update([&](std::string_view current) -> std::optional<std::string> {
        const RegValue wanted = RegValue::String(value);
        // A value that reads as it is to be written already needs no rewrite,
        // which on a file crowded by other programs costs a second or more.
        if (RegDocument::Lookup(current, key, name) == wanted)
            return std::nullopt;
        auto doc = RegDocument::Parse(current);
        doc.Set(key, name, wanted);
        return doc.Text();
    });
    if (status == SettingsFile::UpdateStatus::CannotCreate)
        throw SettingsError::WithName(CreateFailed, section);
    if (status == SettingsFile::UpdateStatus::CannotWrite)
        throw SettingsError::WithName(SetFailed, name);
}

void TIniStore::WriteInteger(const std::string& section, const std::string& name, std::int32_t value)
{
    WriteString(section, name, IntegerText::Format(value));
}

void TIniStore::WriteBool(const std::string& section, const std::string& name, bool value)
{
    WriteString(section, name, value ? "1" : "0");
}

void TIniStore::DeleteValue(const std::string& section, const std::string& name)
{
    // Look first without the lock, so that deleting what is not there creates
    // nothing, not even the folder or the lock file.
    const SettingsFile file(file_);
    const auto contents = file.Read();
    const auto key = KeyPath(section);
    if (contents.status != SettingsFile::ReadStatus::Ok || !RegDocument::Lookup(contents.text, key, name))
        return;
    file.Update([&](std::string_view current) -> std::optional<std::string> {
        auto doc = RegDocument::Parse(current);
        if (!doc.Remove(key, name))
            return std::nullopt;
        return doc.Text();
    });
}

} // namespace zq
