// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/SoundOutput.h"

namespace zq {

// The one entry of the sound module: makes its output, owned by the caller.
using SoundModuleCreate = SoundOutput* (*)();
inline constexpr const char* SoundModuleCreateName = "zq_sound_output_create";

} // namespace zq
