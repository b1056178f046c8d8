#pragma once

#include <cstdint>
#include <string>

namespace zandrel {

// Why an operation failed, in terms a caller can act on or put into its own words: the kind,
// and the values that go with it (a line, an attribute and its value and limit, errno).
enum class FailureKind {
    Unspecified,     // only the reason text says more
    NotFound,        // a file or folder does not exist (ENOENT, ENOTDIR)
    NoPermission,    // EACCES, EPERM, EROFS
    IsFolder,        // a folder where a file was expected
    NotRegularFile,  // a device, FIFO or socket where a file was expected
    DiskFull,        // ENOSPC, EDQUOT
    SystemError,     // another errno value
    ParseError,      // the file breaks the format at line
    StackOverflow,   // the file nests too deeply at line
    TagMismatch,     // a closing tag names another element
    ReadError,       // reading failed at line
    OutOfMemory,
    AboveLimit,   // attribute's value is above limit (SizeX 60 > 50)
    NameTooLong,  // attribute names a texture value characters long, above limit
};

struct FailureCause {
    FailureKind kind = FailureKind::Unspecified;
    std::int64_t line = 0;
    std::string attribute;
    std::int64_t value = 0;
    std::int64_t limit = 0;
    int error = 0;  // errno, when the system said why

    // The cause an errno value stands for.
    static FailureCause FromErrno(int error);
};

}  // namespace zandrel
