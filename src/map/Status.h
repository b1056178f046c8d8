#pragma once

#include <string>
#include <utility>

#include "map/FailureCause.h"

namespace zandrel {

// Result of an operation at a module edge: success, or failure with a reason a user can read
// (in English) and, where known, a cause a user interface can word in its own language.
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Failure(std::string reason) { return Status(std::move(reason), false); }
    static Status Failure(std::string reason, FailureCause cause) {
        Status status(std::move(reason), false);
        status.cause_ = std::move(cause);
        return status;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& message() const { return message_; }
    const FailureCause& cause() const { return cause_; }

private:
    Status() = default;
    Status(std::string reason, bool ok) : message_(std::move(reason)), ok_(ok) {}

    std::string message_;
    FailureCause cause_;
    bool ok_ = true;
};

}  // namespace zandrel
