#include "mapfile/TemporaryFileName.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <string_view>

namespace zandrel::mapfile {

namespace {

constexpr std::string_view kPrefix = ".zdm-";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kDigits =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+_";

// The process id in a name of ours, or 0 when name is not one of ours.
pid_t OwnerOf(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) {
        return 0;
    }
    name.remove_prefix(kPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash > 10 || name.size() != dash + 1 + kRandomLength) {
        return 0;
    }
    std::int64_t pid = 0;
    for (const char digit : name.substr(0, dash)) {
        if (digit < '0' || digit > '9') {
            return 0;
        }
        pid = pid * 10 + (digit - '0');
    }
    for (const char random : name.substr(dash + 1)) {
        if (kDigits.find(random) == std::string_view::npos) {
            return 0;
        }
    }
    return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

std::string TemporaryFileName() {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        // Uniqueness comes from O_EXCL and link's EEXIST; randomness only spares retries.
        bits = static_cast<std::uint64_t>(::time(nullptr)) * 0x9E3779B97F4A7C15ULL ^
               reinterpret_cast<std::uintptr_t>(&bits);
    }
    std::string name(kPrefix);
    name += std::to_string(::getpid());
    name += '-';
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        name += kDigits[bits & 63u];
        bits >>= 6;
    }
    return name;
}

void RemoveAbandonedTemporaries(int folder) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* const entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return;
    }
    const pid_t self = ::getpid();
    while (const dirent* const entry = ::readdir(entries)) {
        const pid_t owner = OwnerOf(entry->d_name);
        if (owner == 0 || owner == self || ::kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat file {};
        if (::fstatat(folder, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(file.st_mode) && file.st_nlink == 1 && file.st_uid == ::geteuid()) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

}  // namespace zandrel::mapfile
