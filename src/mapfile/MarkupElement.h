#pragma once

#include <string>
#include <vector>

#include "mapfile/AttributeTable.h"

namespace zandrel::mapfile {

// One element of a parsed map file.
struct MarkupElement {
    std::string name;
    // The element's text runs and CDATA contents concatenated in document order.
    std::string text;
    AttributeTable attributes;
    std::vector<MarkupElement> children;
};

}  // namespace zandrel::mapfile
