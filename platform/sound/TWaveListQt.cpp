// SPDX-License-Identifier: GPL-3.0-or-later
// The bank on Qt's audio output, linked in directly; apart from the bank so
// that the game, which loads its output as a module, does not link the audio libraries.
#include "platform/sound/QtSoundOutput.h"
#include "platform/sound/TWaveList.h"

namespace zq {

TWaveList::TWaveList() : TWaveList(std::make_unique<QtSoundOutput>())
{
    LoadBuiltInSounds();
}

} // namespace zq
