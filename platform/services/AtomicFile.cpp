// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <sys/file.h>
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
// A link in a sticky folder that anyone may write to (/tmp) is followed only
// when it belongs to us or to the folder's owner, as the kernel's own
// protection for such links decides: anyone else may have planted it there to
// make us overwrite a file of ours. nullopt: such a link was met.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path file)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return file;
        struct stat folder {};
        if (::stat(FolderOf(file).c_str(), &folder) != 0)
            return std::nullopt;
        constexpr mode_t shared = S_ISVTX | S_IWOTH;
        if ((folder.st_mode & shared) == shared && st.st_uid != ::geteuid() && st.st_uid != folder.st_uid)
            return std::nullopt;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(file.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return file;
        target.resize(static_cast<std::size_t>(n));
        file = target.front() == '/' ? std::filesystem::path(target) : file.parent_path() / target;
    }
    return file;
}

// A temporary is named "<file name>.saving-" and six random letters: a mark
// that no name of the player's is likely to carry, so that leftovers can be
// told from the player's own files.
constexpr std::string_view Mark = ".saving-";
constexpr std::size_t SuffixLetters = 6;
constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The name a temporary of `file` starts with, up to its mark: the file's own name, cut short where the folder's name limit would
// refuse the full name (cut at a character, not inside one).
std::string TemporaryBase(const std::filesystem::path& file)
{
    const long limit = ::pathconf(FolderOf(file).c_str(), _PC_NAME_MAX);
    const std::size_t maxName = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    constexpr std::size_t suffix = Mark.size() + SuffixLetters;
    std::string base = file.filename().string();
    if (base.size() + suffix > maxName) {
        std::size_t cut = maxName > suffix ? maxName - suffix : 0;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    return base;
}

// A fresh file beside `file`, named after it. New files are created with 0666
// so the kernel applies the umask and any default ACL of the folder, exactly
// as for a plain create; the process-wide umask is never touched, since other
// threads may be creating files. The temporary stays locked while it is
// written, which tells a later writer that it is no leftover.
Fd MakeTemporary(const std::filesystem::path& file, mode_t mode, std::string& name)
{
    const std::filesystem::path folder = FolderOf(file);
    const std::string base = TemporaryBase(file);
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string leaf = base + std::string(Mark);
        for (std::size_t i = 0; i < SuffixLetters; ++i)
            leaf += Letters[pick(random)];
        name = (folder / leaf).string();
        Fd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                continue;
            return fd;
        }
        struct stat st {};
        // Removed as a leftover by another writer before we held the lock: try another name.
        if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &st) == 0 && st.st_nlink > 0)
            return fd;
    }
    return Fd();
}

// A killed writer leaves its temporary behind. Ours are named after the file,
// are regular files of our own no larger than the file's contents, and are no
// longer locked by a writer; only those are removed.
void RemoveLeftovers(const std::filesystem::path& file, std::size_t largest)
{
    const std::string base = TemporaryBase(file) + std::string(Mark);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(FolderOf(file), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string leaf = it->path().filename().string();
        if (leaf.size() != base.size() + SuffixLetters || leaf.compare(0, base.size(), base) != 0 ||
            leaf.find_first_not_of(Letters, base.size()) != std::string::npos)
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            static_cast<std::uintmax_t>(st.st_size) > largest)
            continue;
        Fd fd(::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat locked {};
        if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &locked) == 0 &&
            locked.st_ino == st.st_ino && locked.st_dev == st.st_dev)
            ::unlink(it->path().c_str());
    }
}

bool Durable(int fd)
{
    // Some devices cannot be flushed; their data went out with the write.
    return ::fsync(fd) == 0 || errno == EINVAL;
}

// Overwrites first and cuts the rest afterwards, so that a write that fails
// early leaves more of the old file than an emptied one.
bool WriteInPlace(Fd& out, std::span<const std::uint8_t> bytes)
{
    return ::lseek(out.get(), 0, SEEK_SET) == 0 && WriteAll(out.get(), bytes) &&
           ::ftruncate(out.get(), static_cast<off_t>(bytes.size())) == 0 && Durable(out.get()) && out.Close();
}
} // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes)
{
    const std::optional<std::filesystem::path> followed = FollowLinks(file);
    if (!followed)
        return false;
    const std::filesystem::path& target = *followed;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    // A FIFO would block the open, a device or socket is no place for a game, and
    // a rename would replace either: anything but a regular file is refused.
    if (exists && !S_ISREG(st.st_mode))
        return false;

    // An existing file is opened for writing first, without truncating it: what
    // a plain save could not open is refused, and where no temporary can be
    // made beside it, this is what gets written in place.
    Fd existing;
    if (exists) {
        existing = Fd(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (existing.get() < 0 || ::fstat(existing.get(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
    }

    RemoveLeftovers(target, bytes.size());
    std::string temp;
    // A replaced file keeps its permissions; the temporary is private until it has them.
    Fd out = MakeTemporary(target, exists ? 0600 : 0666, temp);
    if (out.get() < 0)
        return exists && WriteInPlace(existing, bytes);
    // A replaced file keeps its owner and group too (root saving a player's
    // game must not take it over); where they cannot be kept, it is written in place.
    struct stat made {};
    if (exists && (::fstat(out.get(), &made) != 0 || made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
        ::fchown(out.get(), st.st_uid, st.st_gid) != 0) {
        ::unlink(temp.c_str());
        return WriteInPlace(existing, bytes);
    }
    const bool written = (!exists || ::fchmod(out.get(), st.st_mode & 07777) == 0) && WriteAll(out.get(), bytes) &&
                         ::fsync(out.get()) == 0;
    // The temporary stays open, and so locked, until it has its name.
    const bool renamed = written && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!renamed) {
        // A sticky folder lets no one rename over another user's file, though
        // that file may be writable to us: write it in place then.
        const bool notPermitted = written && (errno == EPERM || errno == EACCES);
        ::unlink(temp.c_str());
        return notPermitted && exists && WriteInPlace(existing, bytes);
    }
    if (!out.Close())
        return false;
    // Make the rename itself durable.
    Fd d(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.get() >= 0)
        ::fsync(d.get());
    return true;
}

} // namespace zq
