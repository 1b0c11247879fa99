// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

// The file under the settings store. Reading takes no lock and creates
// nothing; since every change replaces the file by a rename, a reader always
// sees a whole file. Changes run under an exclusive lock on a lock file beside
// it, so that two copies of the game never lose each other's values.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path file);

    enum class ReadStatus { Ok, Missing, Failed };
    struct Contents {
        ReadStatus status = ReadStatus::Missing;
        std::string text;
    };
    // Missing: no file, or it cannot be opened. Failed: opened but not read.
    Contents Read() const;

    enum class UpdateStatus { Written, Unchanged, CannotCreate, CannotWrite };
    // Calls edit with the current text (empty when there is no file); when it
    // returns a text, the file is replaced by it atomically. CannotCreate: the
    // folder, the lock or the temporary file could not be made. CannotWrite:
    // the current file could not be read or the new one not written.
    UpdateStatus Update(const std::function<std::optional<std::string>(std::string_view current)>& edit) const;

    const std::filesystem::path& Path() const { return file_; }

private:
    std::filesystem::path file_;
};

} // namespace zq
