#include "cli/CheckReport.h"

#include <string>

#include "cli/MapJson.h"

namespace zandrel::cli {

void CheckReport::BeginFile(std::string_view file, bool loaded) {
    out_ << (anyFile_ ? ",\n" : "[\n") << "{\"file\": ";
    WriteJsonString(out_, file);
    out_ << ", \"loaded\": " << (loaded ? "true" : "false");
    anyFile_ = true;
}

void CheckReport::AddChecked(std::string_view file, std::span<const tools::MapFinding> findings) {
    if (format_ == Format::Text) {
        for (const tools::MapFinding& finding : findings) {
            out_ << file << ": " << tools::SeverityName(finding.severity) << ": "
                 << finding.CodeName() << ": " << finding.message;
            if (finding.cell) {
                out_ << " (" << std::to_string(finding.cell->x) << ", "
                     << std::to_string(finding.cell->z) << ")";
            }
            out_ << '\n';
        }
        return;
    }
    BeginFile(file, true);
    out_ << ", \"findings\": [";
    const char* separator = "";
    for (const tools::MapFinding& finding : findings) {
        out_ << separator << "\n  {\"code\": ";
        WriteJsonString(out_, finding.CodeName());
        out_ << ", \"severity\": ";
        WriteJsonString(out_, tools::SeverityName(finding.severity));
        out_ << ", \"cell\": ";
        if (finding.cell) {
            out_ << "{\"x\": " << std::to_string(finding.cell->x)
                 << ", \"z\": " << std::to_string(finding.cell->z) << "}";
        } else {
            out_ << "null";
        }
        out_ << ", \"message\": ";
        WriteJsonString(out_, finding.message);
        out_ << "}";
        separator = ",";
    }
    out_ << "]}";
}

void CheckReport::AddUnreadable(std::string_view file, std::string_view reason) {
    if (format_ == Format::Text) {
        return;
    }
    BeginFile(file, false);
    out_ << ", \"reason\": ";
    WriteJsonString(out_, reason);
    out_ << ", \"findings\": []}";
}

void CheckReport::Finish() {
    if (format_ == Format::Json) {
        out_ << (anyFile_ ? "\n]\n" : "[]\n");
    }
}

}  // namespace zandrel::cli
