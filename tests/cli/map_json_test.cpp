#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "cli/MapJson.h"

using zandrel::cli::WriteElementJson;
using zandrel::mapfile::MarkupElement;

// A Latin-1 byte in a whole file is zdmtool's test (tests/cli, parse).
TEST(MapJson, StringsAreWrittenAsUtf8) {
    // What each case shows, its bytes and the JSON string written for them.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"two bytes", "citt\xc3\xa0.jpg", "citt\xc3\xa0.jpg"},
        {"four bytes, highest", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},
        {"lone continuation", "\x80x", "\\ufffdx"},
        {"overlong two bytes", "\xc0\xaf", "\\ufffd\\ufffd"},
        {"overlong three bytes", "\xe0\x80\xaf", "\\ufffd\\ufffd\\ufffd"},
        {"overlong four bytes", "\xf0\x8f\xbf\xbf", "\\ufffd\\ufffd\\ufffd\\ufffd"},
        {"surrogate", "\xed\xa0\x80", "\\ufffd\\ufffd\\ufffd"},
        {"last before surrogates", "\xed\x9f\xbf", "\xed\x9f\xbf"},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "\\ufffd\\ufffd\\ufffd\\ufffd"},
        {"no lead above F4", "\xf5\x80", "\\ufffd\\ufffd"},
        {"cut short, one mark per part",
         "\xe2\x82"
         "a\xf0\x9f\x98",
         "\\ufffda\\ufffd"},
        {"C0 controls", std::string("\0\x01\x1f\n\t", 5), "\\u0000\\u0001\\u001f\\n\\t"},
        {"C1 control", "\xc2\x85", "\\u0085"},
        {"first after C1", "\xc2\xa0", "\xc2\xa0"},
        {"quote and backslash", "\"\\", "\\\"\\\\"},
    };
    for (const auto& [what, bytes, json] : cases) {
        MarkupElement element;
        element.name = bytes;
        std::ostringstream out;
        WriteElementJson(out, element);
        EXPECT_EQ(out.str(), "{\"name\": \"" + json +
                                 "\", \"attributes\": {}, \"text\": \"\", \"children\": []}")
            << what;
    }
}
