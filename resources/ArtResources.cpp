// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ArtResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initArtResourceTable()
{
    Q_INIT_RESOURCE(art);
    Q_INIT_RESOURCE(pixels);
    Q_INIT_RESOURCE(pixels_later);
}

namespace zq {

void initArtResources()
{
    // Register once only; Qt would otherwise list the same table twice.
    [[maybe_unused]] static const bool registered = (initArtResourceTable(), true);
}

} // namespace zq
