#pragma once

#include <ostream>
#include <string_view>

#include "mapfile/MarkupElement.h"

namespace zandrel::cli {

// The element tree as one JSON object: {"name", "attributes" (in table order), "text",
// "children"}. Bytes outside ASCII are written as \u00XX, one Latin-1 character per byte.
void WriteElementJson(std::ostream& out, const mapfile::MarkupElement& element);

// One JSON string, quotes included, written as the tree's strings are.
void WriteJsonString(std::ostream& out, std::string_view text);

}  // namespace zandrel::cli
