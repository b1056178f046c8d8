#include "mapfile/SafeFileWriter.h"

#include "mapfile/TemporaryFileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace zandrel::mapfile {

namespace {

namespace fs = std::filesystem;

// Attempts at finding a free temporary name before giving up; the names hold our process id and
// 36 random bits, so a clash means someone else is creating the same names on purpose.
constexpr int kNameAttempts = 16;

// Owns one open file descriptor; Close() reports what close() said, the destructor forgets it.
class OpenFile {
public:
    explicit OpenFile(int fd) : fd_(fd) {}
    OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OpenFile& operator=(OpenFile&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // 0 when closed cleanly, else the errno value.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

Status KindFailure(const std::string& reason, FailureKind kind) {
    FailureCause cause;
    cause.kind = kind;
    return Status::Failure(reason, cause);
}

Status ErrnoFailure(const std::string& what, int error) {
    return Status::Failure(what + ": " + std::generic_category().message(error),
                           FailureCause::FromErrno(error));
}

// Writes all of text to fd, retrying short writes; 0 on success, else the errno value.
int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The permissions the new file gets: the old file's, or the usual ones for a new file.
mode_t ModeFor(const struct stat* existing) {
    if (existing != nullptr) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Opens a file with no name in the folder, or returns an invalid one where the file system or
// the missing /proc would not let it be linked into place later.
OpenFile OpenUnnamed(int folder) {
    OpenFile file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (!file.valid()) {
        return file;
    }
    struct stat viaProc {};
    struct stat direct {};
    const std::string proc = "/proc/self/fd/" + std::to_string(file.fd());
    if (::stat(proc.c_str(), &viaProc) != 0 || ::fstat(file.fd(), &direct) != 0 ||
        viaProc.st_ino != direct.st_ino || viaProc.st_dev != direct.st_dev) {
        return OpenFile(-1);
    }
    return file;
}

// Creates a fresh hidden file in the folder; name receives its name, and only on success.
OpenFile OpenNamed(int folder, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = TemporaryFileName();
        OpenFile file(::openat(folder, candidate.c_str(),
                               O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (file.valid()) {
            name = candidate;
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return OpenFile(-1);
}

// Gives the unnamed file a name in the folder: target itself when nothing has that name yet,
// else a fresh hidden name, in name. 0 on success, else the errno value and name left empty.
// Linking through /proc needs no privilege, unlike linkat(fd, "", ..., AT_EMPTY_PATH).
int LinkUnnamed(int fd, int folder, const std::string& target, std::string& name) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, proc.c_str(), folder, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        name = target;
        return 0;
    }
    int error = errno;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        const std::string candidate = TemporaryFileName();
        if (::linkat(AT_FDCWD, proc.c_str(), folder, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            name = candidate;
            return 0;
        }
        error = errno;
    }
    return error;
}

// Writes a character device where it is; it cannot be replaced by renaming. O_NONBLOCK keeps
// the open from waiting should the path have become a FIFO since it was looked at.
Status WriteToDevice(const fs::path& path, std::string_view text) {
    OpenFile device(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!device.valid()) {
        return ErrnoFailure("cannot open " + path.string(), errno);
    }
    struct stat opened {};
    if (::fstat(device.fd(), &opened) != 0 || !S_ISCHR(opened.st_mode)) {
        return KindFailure("cannot save " + path.string() + ": it is not a regular file",
                           FailureKind::NotRegularFile);
    }
    const int flags = ::fcntl(device.fd(), F_GETFL);
    if (flags < 0 || ::fcntl(device.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return ErrnoFailure("cannot write " + path.string(), errno);
    }
    const int writeError = WriteAll(device.fd(), text);
    const int closeError = device.Close();
    if (writeError != 0 || closeError != 0) {
        return ErrnoFailure("cannot write " + path.string(),
                            writeError != 0 ? writeError : closeError);
    }
    return Status::Ok();
}

// Writes text to the new file and flushes it to disk; 0 on success, else the errno value.
int FillAndFlush(int fd, mode_t mode, std::string_view text) {
    if (::fchmod(fd, mode) != 0) {
        return errno;
    }
    if (const int error = WriteAll(fd, text); error != 0) {
        return error;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

Status ReplaceFileContents(const fs::path& requested, std::string_view text) {
    // Replace what a symbolic link points to, not the link.
    std::error_code error;
    fs::path path = requested;
    if (fs::is_symlink(requested, error)) {
        path = fs::weakly_canonical(requested, error);
        if (error) {
            return ErrnoFailure("cannot resolve " + requested.string(), error.value());
        }
    }

    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return KindFailure("cannot save " + path.string() + ": it is a folder",
                           FailureKind::IsFolder);
    }
    if (exists && S_ISCHR(existing.st_mode)) {
        return WriteToDevice(path, text);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return KindFailure("cannot save " + path.string() + ": it is not a regular file",
                           FailureKind::NotRegularFile);
    }

    const fs::path folderPath = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string target = path.filename().string();
    OpenFile folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return ErrnoFailure("cannot create a file in " + folderPath.string(), errno);
    }

    std::string name;
    OpenFile file = OpenUnnamed(folder.fd());
    const bool unnamed = file.valid();
    if (!unnamed) {
        file = OpenNamed(folder.fd(), name);
        if (!file.valid()) {
            return ErrnoFailure("cannot create a file in " + folderPath.string(), errno);
        }
    }

    int failure = FillAndFlush(file.fd(), ModeFor(exists ? &existing : nullptr), text);
    if (failure == 0 && unnamed) {
        failure = LinkUnnamed(file.fd(), folder.fd(), target, name);
    }
    // Between the link and the rename the new file is visible under its temporary name; nothing
    // else happens there, so that a kill finds that window as seldom as can be.
    if (failure == 0 && name != target &&
        ::renameat(folder.fd(), name.c_str(), folder.fd(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        if (!name.empty()) {
            ::unlinkat(folder.fd(), name.c_str(), 0);
        }
        return ErrnoFailure("cannot save " + path.string(), failure);
    }
    // fsync has already reported every write error; close can add nothing.
    (void)file.Close();
    RemoveAbandonedTemporaries(folder.fd());

    // The rename is done and the file is whole; a folder that cannot be flushed only leaves the
    // new name at risk from a power cut, which the caller should still hear about. File systems
    // that cannot flush folders at all say EINVAL, and there is nothing more to do for them.
    if (::fsync(folder.fd()) != 0 && errno != EINVAL) {
        return ErrnoFailure(
            "saved " + path.string() + ", but its folder could not be flushed to disk", errno);
    }
    return Status::Ok();
}

}  // namespace zandrel::mapfile
