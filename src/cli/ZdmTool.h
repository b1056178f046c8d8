#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace zandrel::cli {

// zdmtool: map files from the command line, on the same core code as the editor.
// Exit status: 0 success, 1 a file could not be read or written, 2 a usage error.
class ZdmTool {
public:
    ZdmTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int Run(std::span<const std::string_view> args);

private:
    int New(std::span<const std::string_view> args);
    int Check(std::span<const std::string_view> args);
    int Info(std::span<const std::string_view> args);
    int Parse(std::span<const std::string_view> args);
    int Script(std::span<const std::string_view> args);

    int UsageError(const std::string& problem, std::string_view verb);

    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace zandrel::cli
