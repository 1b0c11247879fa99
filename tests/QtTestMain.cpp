// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest entry for widget tests: one application object for the whole run,
// with the program's top-level error handler and its pictures.
#include "resources/ArtResources.h"
#include "platform/services/TApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Also when ctest lists the tests, which it does without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zq::TApplication app(argc, argv);
    zq::initArtResources();
    return RUN_ALL_TESTS();
}
