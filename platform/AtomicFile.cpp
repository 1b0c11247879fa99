// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

namespace {
bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closing can report a late write error, so it is checked.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};
} // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes)
{
    struct stat st {};
    const bool exists = ::stat(file.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        Fd out(::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        return out.get() >= 0 && WriteAll(out.get(), bytes) && (::fsync(out.get()) == 0 || errno == EINVAL) &&
               out.Close();
    }

    std::string temp = file.string() + ".XXXXXX";
    Fd out(::mkstemp(temp.data()));
    if (out.get() < 0)
        return false;
    // A new file gets the usual permissions; a replaced one keeps its own.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~mask);
    const bool written = ::fchmod(out.get(), mode) == 0 && WriteAll(out.get(), bytes) && ::fsync(out.get()) == 0 &&
                         out.Close() && ::rename(temp.c_str(), file.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    Fd d(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.get() >= 0)
        ::fsync(d.get());
    return true;
}

} // namespace zq
