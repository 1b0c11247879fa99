// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zq {

namespace {
constexpr qint64 LongestRequest = 64 * 1024;
constexpr int AnswerMs = 3000;
const QByteArray Acknowledged = "ok\n";

// Only our own player's game is talked to, also where another user could have
// put a socket of that name (a shared temporary folder).
bool PeerIsUs(qintptr descriptor)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

// The player's runtime folder, else a folder of the player's own in the
// temporary folder; empty when that is not safely ours.
QString MeetingFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && QFileInfo(QFile::decodeName(runtime)).isDir())
        return QFile::decodeName(runtime);
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/zibble-quarvel-" + QByteArray::number(::geteuid());
    ::mkdir(own.constData(), 0700);
    struct stat st {};
    if (::lstat(own.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077))
        return QString();
    return QFile::decodeName(own);
}

// Held on the meeting folder while a start looks for a running game and,
// finding none, begins to answer; two games started at the same moment thus
// never both become first. No file of its own, so nothing piles up.
class ClaimLock {
public:
    explicit ClaimLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        // Never wait long: a stuck holder must not keep the game from starting.
        for (int tries = 0; fd_ >= 0 && tries < 100; ++tries) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~ClaimLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;

private:
    int fd_;
};
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent)
{
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    folder_ = MeetingFolder();
    if (!folder_.isEmpty())
        path_ = folder_ + QStringLiteral("/zibble-quarvel-%1-%2").arg(::geteuid()).arg(QLatin1String(digest));
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::Claim(const QByteArray& file)
{
    if (path_.isEmpty())
        return Outcome::Alone;
    ClaimLock lock(folder_);
    {
        QLocalSocket running;
        running.connectToServer(path_);
        if (running.waitForConnected(AnswerMs) && PeerIsUs(running.socketDescriptor())) {
            running.write(file + '\n');
            running.waitForBytesWritten(AnswerMs);
            while (running.bytesAvailable() < Acknowledged.size() && running.waitForReadyRead(AnswerMs)) {
            }
            // A game that takes the call but does not answer is busy, not gone:
            // its meeting place stays, and this one runs on its own.
            return running.read(Acknowledged.size()) == Acknowledged ? Outcome::HandedOver : Outcome::Alone;
        }
    }
    // Nobody answers there: what is left is a socket of a game that was killed.
    QLocalServer::removeServer(path_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(path_) ? Outcome::First : Outcome::Alone;
}

void SingleInstance::Accept()
{
    while (QLocalSocket* connection = server_.nextPendingConnection()) {
        connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        if (!PeerIsUs(connection->socketDescriptor())) {
            connection->abort();
            continue;
        }
        QPointer<QLocalSocket> guarded(connection);
        connect(connection, &QLocalSocket::readyRead, this, [this, guarded] {
            if (!guarded)
                return;
            if (!guarded->canReadLine()) {
                if (guarded->bytesAvailable() > LongestRequest)
                    guarded->abort();
                return;
            }
            QByteArray file = guarded->readLine(LongestRequest);
            file.chop(1);
            guarded->write(Acknowledged);
            guarded->flush();
            guarded->disconnectFromServer();
            emit Requested(file);
        });
    }
}

} // namespace zq
