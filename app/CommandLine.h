// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace zq {

// What the command line asks for: a game file to open, or an exit code when
// the program ends at once (help, version, a usage error) without a window.
struct CommandLine {
    QString GameFile;            // empty: the stored game
    std::optional<int> ExitCode; // set: end with it, the text already printed
    QString Display;             // -display, for the message when it cannot be opened
    QString CollectionFile;      // --collection: a collection file to play read-only
};

// Read before the application object exists, so that --help and --version
// work without a display and leave the settings alone.
CommandLine ParseCommandLine(int argc, char** argv);

} // namespace zq
