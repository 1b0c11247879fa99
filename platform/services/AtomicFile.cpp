// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
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

std::filesystem::path FolderOf(const std::filesystem::path& file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The file a plain open would reach: links are followed one by one, so that a
// link to a file that does not exist yet still names where it is to be made.
// A chain too long or a loop ends on a link, which the open then refuses.
std::filesystem::path FollowLinks(std::filesystem::path file)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return file;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(file.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return file;
        target.resize(static_cast<std::size_t>(n));
        file = target.front() == '/' ? std::filesystem::path(target) : file.parent_path() / target;
    }
    return file;
}

// A fresh file beside `file`, named after it and cut short where the folder's
// name limit would refuse the full name (cut at a character, not inside one).
// New files are created with 0666 so the kernel applies the umask and any
// default ACL of the folder, exactly as for a plain create; the process-wide
// umask is never touched, since other threads may be creating files.
Fd MakeTemporary(const std::filesystem::path& file, mode_t mode, std::string& name)
{
    const std::filesystem::path folder = FolderOf(file);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t maxName = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    constexpr std::size_t suffix = 7; // ".XXXXXX"
    std::string base = file.filename().string();
    if (base.size() + suffix > maxName) {
        std::size_t cut = maxName > suffix ? maxName - suffix : 0;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string leaf = base + '.';
        for (std::size_t i = 1; i < suffix; ++i)
            leaf += letters[pick(random)];
        name = (folder / leaf).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return Fd(fd);
    }
    return Fd();
}

bool Durable(int fd)
{
    // Some devices cannot be flushed; their data went out with the write.
    return ::fsync(fd) == 0 || errno == EINVAL;
}

// Overwrites first and cuts the rest afterwards, so that a write that fails
// early leaves more of the old file than an emptied one.
bool WriteInPlace(Fd& out, std::span<const std::uint8_t> bytes, bool regular)
{
    if (regular && ::lseek(out.get(), 0, SEEK_SET) != 0)
        return false;
    return WriteAll(out.get(), bytes) &&
           (!regular || ::ftruncate(out.get(), static_cast<off_t>(bytes.size())) == 0) && Durable(out.get()) &&
           out.Close();
}
} // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target = FollowLinks(file);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !S_ISREG(st.st_mode)) {
        Fd out(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        return out.get() >= 0 && WriteInPlace(out, bytes, false);
    }

    // An existing file is opened for writing first, without truncating it: what
    // a plain save could not open is refused, and where no temporary can be
    // made beside it, this is what gets written in place.
    Fd existing;
    if (exists) {
        existing = Fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (existing.get() < 0 || ::fstat(existing.get(), &st) != 0)
            return false;
    }

    std::string temp;
    // A replaced file keeps its permissions; the temporary is private until it has them.
    Fd out = MakeTemporary(target, exists ? 0600 : 0666, temp);
    if (out.get() < 0)
        return exists && WriteInPlace(existing, bytes, true);
    const bool written = (!exists || ::fchmod(out.get(), st.st_mode & 07777) == 0) && WriteAll(out.get(), bytes) &&
                         ::fsync(out.get()) == 0 && out.Close() && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    Fd d(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.get() >= 0)
        ::fsync(d.get());
    return true;
}

} // namespace zq
