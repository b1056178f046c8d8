#pragma once

#include <ostream>
#include <string_view>

#include "mapfile/MarkupElement.h"

namespace zandrel::cli {

// The element tree as one JSON object: {"name", "attributes" (in table order), "text",
// "children"}. Strings are written as UTF-8: valid UTF-8 as it stands, each ill-formed part of
// it as \ufffd, control characters as \u00XX escapes.
void WriteElementJson(std::ostream& out, const mapfile::MarkupElement& element);

// One JSON string, quotes included, written as the tree's strings are.
void WriteJsonString(std::ostream& out, std::string_view text);

}  // namespace zandrel::cli
