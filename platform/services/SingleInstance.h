// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zq {

// One game per player and settings file: a second start hands its file (or
// none) to the game that runs already, which comes to the front, and ends.
// The games meet at a local socket in the player's runtime folder that only
// the player can reach; a game found there answers only its own player.
// Plain sockets, so that a start does not load a network library for this.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key: what makes two starts the same game (the settings file's path).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Outcome {
        First,      // no game ran: this one now answers later starts
        HandedOver, // a running game took the request; this start should end
        Alone,      // no meeting place could be made: this game runs on its own
    };
    // file: an absolute file name as bytes, or empty.
    Outcome Claim(const QByteArray& file);

    const QString& SocketPath() const { return path_; }

signals:
    // A later start asked to come to the front and open `file` (bytes; empty: none).
    void Requested(QByteArray file);

private:
    void Accept();
    void Close(QSocketNotifier* reader);

    QString folder_;
    QString path_;
    int listening_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace zq
