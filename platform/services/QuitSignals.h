// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace zq {

// Turns SIGTERM, SIGHUP and SIGINT (a session that ends, a closed terminal,
// Ctrl+C) into a Qt signal delivered by the event loop, where the game can
// still save. One instance per program.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void Received(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace zq
