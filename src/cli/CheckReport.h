#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "tools/MapFinding.h"

namespace zandrel::cli {

// What `zdmtool check --strict` prints, file by file. As text: one line per finding,
// "FILE: SEVERITY: CODE: MESSAGE" followed by " (X, Z)" when the finding has a cell. As JSON:
// one array with an object per file, {"file", "loaded", "reason" (only when not loaded),
// "findings": [{"code", "severity", "cell": {"x", "z"} or null, "message"}]}.
class CheckReport {
public:
    enum class Format { Text, Json };

    CheckReport(std::ostream& out, Format format) : out_(out), format_(format) {}
    CheckReport(const CheckReport&) = delete;
    CheckReport& operator=(const CheckReport&) = delete;

    void AddChecked(std::string_view file, std::span<const tools::MapFinding> findings);
    // A file that could not be loaded; the text form leaves it to the caller's error stream.
    void AddUnreadable(std::string_view file, std::string_view reason);
    // Closes the JSON array; call once after the last file.
    void Finish();

private:
    void BeginFile(std::string_view file, bool loaded);

    std::ostream& out_;
    Format format_;
    bool anyFile_ = false;
};

}  // namespace zandrel::cli
