#include "tools/TextureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace zandrel::tools {

namespace {

// Closes the descriptor it holds.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// Whether path lies below folder; both are canonical, so a plain component comparison is
// enough and "/a/bc" is not taken to be inside "/a/b".
bool IsInside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    auto part = path.begin();
    for (const std::filesystem::path& component : folder) {
        if (part == path.end() || *part != component) {
            return false;
        }
        ++part;
    }
    return part != path.end();
}

Status Refuse(std::string_view name, const std::string& why) {
    return Status::Failure("texture " + std::string(name) + ": " + why);
}

Status ReadAll(int fd, std::string_view name, std::size_t expected, std::size_t maxBytes,
               std::vector<unsigned char>& bytes) {
    // One byte beyond what fstat announced tells a file that grew since.
    bytes.resize(std::min(expected, maxBytes) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) {
                return Refuse(name, "larger than the texture file limit");
            }
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Refuse(name, std::strerror(errno));
        }
        if (got == 0) {
            bytes.resize(filled);
            return Status::Ok();
        }
        filled += static_cast<std::size_t>(got);
    }
}

// The path rule shared by finding and reading: name resolves, links included, to a regular
// file inside directory. On success resolved holds the canonical path.
Status ResolveTextureFile(const std::filesystem::path& directory, std::string_view name,
                          std::filesystem::path& resolved) {
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return Refuse(name, "not a file name");
    }
    const std::filesystem::path relative(name);
    if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) {
        return Refuse(name, "absolute names are not opened");
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(directory, error);
    if (error) {
        return Refuse(name, "working folder: " + error.message());
    }
    // Resolves "..", "." and every symbolic link; fails when the file does not exist.
    resolved = std::filesystem::canonical(folder / relative, error);
    if (error) {
        return Refuse(name, error.message());
    }
    if (!IsInside(resolved, folder)) {
        return Refuse(name, "outside the working folder");
    }
    // Checked before opening too: opening a device can have effects of its own.
    struct stat before {};
    if (::stat(resolved.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return Refuse(name, "not a regular file");
    }
    return Status::Ok();
}

}  // namespace

Status FindTextureFile(const std::filesystem::path& directory, std::string_view name) {
    std::filesystem::path resolved;
    return ResolveTextureFile(directory, name, resolved);
}

Status ReadTextureFile(const std::filesystem::path& directory, std::string_view name,
                       std::vector<unsigned char>& bytes, std::size_t maxBytes) {
    bytes.clear();
    std::filesystem::path resolved;
    if (Status found = ResolveTextureFile(directory, name, resolved); !found.ok()) {
        return found;
    }
    // O_NOFOLLOW: the last component was resolved above, so a link there now is a swap.
    const FileDescriptor fd(
        ::open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
    if (fd.get() < 0) {
        return Refuse(name, std::strerror(errno));
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
        return Refuse(name, "not a regular file");
    }
    if (opened.st_size < 0 || static_cast<std::uintmax_t>(opened.st_size) > maxBytes) {
        return Refuse(name, "larger than the texture file limit");
    }
    const Status read =
        ReadAll(fd.get(), name, static_cast<std::size_t>(opened.st_size), maxBytes, bytes);
    if (!read.ok()) {
        bytes.clear();
    }
    return read;
}

}  // namespace zandrel::tools
