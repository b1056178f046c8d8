#pragma once

#include <string>
#include <utility>

namespace zandrel {

// Result of an operation at a module edge: success, or failure with a reason a user can read.
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Failure(std::string reason) { return Status(std::move(reason), false); }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    Status(std::string reason, bool ok) : message_(std::move(reason)), ok_(ok) {}

    std::string message_;
    bool ok_ = true;
};

}  // namespace zandrel
