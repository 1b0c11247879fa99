// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/SettingsFile.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

namespace {

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // close() can report a late write error, so the writer checks it.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes the temporary file unless it has been renamed into place.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    void release() { path_.clear(); }

private:
    std::string path_;
};

SettingsFile::ReadStatus ReadAll(int fd, std::string& text)
{
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return SettingsFile::ReadStatus::Ok;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return SettingsFile::ReadStatus::Failed;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const auto n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Never blocks: a FIFO put where the settings belong would hold the open until
// someone writes to it, and the game with it.
int OpenForReading(const std::filesystem::path& file)
{
    return ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool IsRegular(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Where the data really lives: a settings file kept as a link elsewhere stays a link.
std::filesystem::path Resolve(const std::filesystem::path& file)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto target = std::filesystem::canonical(file, ec);
        if (!ec)
            return target;
    }
    return file;
}

// Under the lock no other writer is under way, so a temporary of ours still
// there was left by one that was killed: removed, so that they never pile up.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            it->is_regular_file(ec) && !it->is_symlink(ec)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

SettingsFile::SettingsFile(std::filesystem::path file) : file_(std::move(file)) {}

SettingsFile::Contents SettingsFile::Read() const
{
    Contents contents;
    Fd fd(OpenForReading(file_));
    if (!fd.ok())
        return contents; // no file or no access: nothing stored
    contents.status = IsRegular(fd.get()) ? ReadAll(fd.get(), contents.text) : ReadStatus::Failed;
    if (contents.status != ReadStatus::Ok)
        contents.text.clear();
    return contents;
}

SettingsFile::UpdateStatus SettingsFile::Update(
    const std::function<std::optional<std::string>(std::string_view current)>& edit) const
{
    const auto folder = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return UpdateStatus::CannotCreate;

    auto lockPath = file_;
    lockPath += ".lock";
    Fd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.ok())
        return UpdateStatus::CannotCreate;
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR)
            return UpdateStatus::CannotCreate;

    const auto target = Resolve(file_);
    std::string current;
    mode_t mode = 0600;
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    bool exists = false;
    {
        Fd in(OpenForReading(target));
        exists = in.ok();
        if (in.ok()) {
            // A FIFO or a device would block or never end; it is no settings file to replace.
            if (!IsRegular(in.get()))
                return UpdateStatus::CannotWrite;
            struct stat st {};
            if (::fstat(in.get(), &st) == 0) {
                mode = st.st_mode & 07777;
                owner = st.st_uid;
                group = st.st_gid;
            }
            // Never replace a file whose contents we could not read: that would lose them.
            if (ReadAll(in.get(), current) != ReadStatus::Ok)
                return UpdateStatus::CannotWrite;
        } else if (errno != ENOENT) {
            return UpdateStatus::CannotWrite;
        }
    }

    const auto replacement = edit(current);
    if (!replacement)
        return UpdateStatus::Unchanged;
    // A file the player made read-only is refused, as a plain write would refuse it,
    // rather than replaced by the rename.
    if (exists && !Fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)).ok())
        return UpdateStatus::CannotWrite;

    const auto targetFolder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    RemoveStaleTemporaries(targetFolder, target.filename().string() + ".tmp-");
    std::string tempName = (targetFolder / target.filename()).string() + ".tmp-XXXXXX";
    Fd out(::mkostemp(tempName.data(), O_CLOEXEC));
    if (!out.ok())
        return UpdateStatus::CannotCreate;
    TempFile temp(tempName);
    // The player's file stays the player's when root rewrites it (only root can hand it over).
    if (owner != ::geteuid() || group != ::getegid())
        [[maybe_unused]] const int kept = ::fchown(out.get(), owner, group);
    if (::fchmod(out.get(), mode) != 0 || !WriteAll(out.get(), *replacement) || ::fsync(out.get()) != 0 ||
        !out.close())
        return UpdateStatus::CannotWrite;
    if (::rename(tempName.c_str(), target.c_str()) != 0)
        return UpdateStatus::CannotWrite;
    temp.release();
    // Make the rename itself survive a crash.
    Fd dir(::open(targetFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok())
        ::fsync(dir.get());
    return UpdateStatus::Written;
}

} // namespace zq
