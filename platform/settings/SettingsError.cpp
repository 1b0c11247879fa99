// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/SettingsError.h"

namespace zq {

SettingsError SettingsError::WithName(const std::string& pattern, const std::string& name)
{
    std::string message = pattern;
    if (const auto at = message.find("%s"); at != std::string::npos)
        message.replace(at, 2, name);
    return SettingsError(message);
}

} // namespace zq
