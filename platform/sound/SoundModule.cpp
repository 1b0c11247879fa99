// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module's entry, which the game loads when it first needs sound.
#include "platform/sound/QtSoundOutput.h"
#include "platform/sound/SoundModule.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT zq::SoundOutput* zq_sound_output_create() { return new zq::QtSoundOutput; }
