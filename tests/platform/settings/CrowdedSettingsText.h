// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings file crowded by other programs: 100 keys of 50 values each, about
// 250 KB. The store's test and its benchmark both start from it.
#include <string>

namespace zq::test {

inline std::string CrowdedSettingsText(int keys = 100)
{
    std::string text = "REGEDIT4\n\n";
    for (int k = 0; k < keys; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Other\\Key" + std::to_string(k) + "]\n";
        for (int v = 0; v < 50; ++v)
            text += "\"value" + std::to_string(v) + "\"=\"some text for value " + std::to_string(v) + "\"\n";
        text += "\n";
    }
    return text;
}

} // namespace zq::test
