// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <poll.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace zq {

namespace {
constexpr qint64 LongestRequest = 64 * 1024;
constexpr int AnswerMs = 3000;
const QByteArray Acknowledged = "ok\n";

// Only our own player's game is talked to, also where another user could have
// put a socket of that name (a shared temporary folder).
bool PeerIsUs(int descriptor)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

// The socket's address; false where the path is too long for one.
bool AddressOf(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// Whether the descriptor becomes ready for `events` within `ms`.
bool Ready(int fd, short events, int ms)
{
    pollfd p {fd, events, 0};
    int n;
    while ((n = ::poll(&p, 1, ms)) < 0 && errno == EINTR) {
    }
    return n == 1 && (p.revents & events);
}

bool SendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (!(n < 0 && (errno == EINTR || (errno == EAGAIN && Ready(fd, POLLOUT, AnswerMs)))))
            return false;
    }
    return true;
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
}

SingleInstance::~SingleInstance()
{
    if (listening_ < 0)
        return;
    delete notifier_;
    ::close(listening_);
    ::unlink(QFile::encodeName(path_).constData());
}

SingleInstance::Outcome SingleInstance::Claim(const QByteArray& file)
{
    sockaddr_un address;
    if (path_.isEmpty() || !AddressOf(QFile::encodeName(path_), address))
        return Outcome::Alone;
    const auto* where = reinterpret_cast<const sockaddr*>(&address);
    ClaimLock lock(folder_);
    {
        const int running = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (running < 0)
            return Outcome::Alone;
        // Not blocking: a game too busy to take calls must not hold this start.
        const bool connected = ::connect(running, where, sizeof address) == 0;
        const bool busy = !connected && errno == EAGAIN;
        if (connected && PeerIsUs(running)) {
            QByteArray answer;
            if (SendAll(running, file + '\n')) {
                char buffer[8];
                while (answer.size() < Acknowledged.size() && Ready(running, POLLIN, AnswerMs)) {
                    const ssize_t n = ::read(running, buffer, sizeof buffer);
                    if (n <= 0 && !(n < 0 && (errno == EINTR || errno == EAGAIN)))
                        break;
                    if (n > 0)
                        answer.append(buffer, n);
                }
            }
            ::close(running);
            // A game that takes the call but does not answer is busy, not gone:
            // its meeting place stays, and this one runs on its own.
            return answer.startsWith(Acknowledged) ? Outcome::HandedOver : Outcome::Alone;
        }
        ::close(running);
        if (busy)
            return Outcome::Alone;
    }
    // Nobody answers there: what is left is a socket of a game that was killed.
    const QByteArray path = QFile::encodeName(path_);
    ::unlink(path.constData());
    listening_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listening_ < 0)
        return Outcome::Alone;
    if (::bind(listening_, where, sizeof address) != 0 || ::chmod(path.constData(), 0600) != 0 ||
        ::listen(listening_, 8) != 0) {
        ::close(listening_);
        listening_ = -1;
        ::unlink(path.constData());
        return Outcome::Alone;
    }
    notifier_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::Accept);
    return Outcome::First;
}

void SingleInstance::Accept()
{
    for (;;) {
        const int connection = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            if (errno == EINTR)
                continue;
            return; // no more calls waiting
        }
        if (!PeerIsUs(connection)) {
            ::close(connection);
            continue;
        }
        auto* reader = new QSocketNotifier(connection, QSocketNotifier::Read, this);
        auto request = std::make_shared<QByteArray>();
        connect(reader, &QSocketNotifier::activated, this, [this, reader, connection, request] {
            char buffer[4096];
            for (;;) {
                const ssize_t n = ::read(connection, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && errno == EAGAIN)
                    return; // the rest comes later
                if (n <= 0 || request->size() + n > LongestRequest + 1)
                    return Close(reader); // gone before a whole line, or far too long
                request->append(buffer, n);
                const qsizetype end = request->indexOf('\n');
                if (end < 0)
                    continue;
                ::send(connection, Acknowledged.constData(), static_cast<std::size_t>(Acknowledged.size()), MSG_NOSIGNAL);
                const QByteArray file = request->left(end);
                Close(reader);
                emit Requested(file);
                return;
            }
        });
    }
}

void SingleInstance::Close(QSocketNotifier* reader)
{
    reader->setEnabled(false);
    ::close(static_cast<int>(reader->socket()));
    reader->deleteLater();
}

} // namespace zq
