// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <exception>

namespace zq {

// The application object. An error that escapes an event handler is shown in
// a message box and the program goes on, so one failed operation (a settings
// file that cannot be written, say) never takes the game down.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error the way the top-level handler does.
    static void ShowException(const std::exception& error);
};

} // namespace zq
