// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace zq {

// Raised by the settings store and by the window placement when a stored value
// cannot be used. what() is the exact message the player sees (UTF-8).
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // Builds the message from a pattern holding one "%s".
    static SettingsError WithName(const std::string& pattern, const std::string& name);
};

} // namespace zq
