// The one-token scanning of ordinary attributes against the separate name, "=", quote, text and
// quote tokens: for every input both must end alike (status, message, line, element tree, stray
// bytes). Inputs are the fuzz corpus, the test maps, mutations of small maps at the bytes the
// scanner cares about, and nestings around the parser's stack limit.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "mapfile/MapParser.h"
#include "support/CaptureStream.h"
#include "support/ScratchFolder.h"

namespace zandrel::mapfile {
namespace {

void Describe(const MarkupElement& element, std::string& out) {
    out += "<" + element.name + "|" + element.text + "|";
    // Document order first: once the table is walked in name order it forgets the other.
    element.attributes.ForEachInDocumentOrder([&](std::string_view name, std::string_view value) {
        out.append(name).append("=[").append(value).append("]");
    });
    out += "|";
    for (const auto& [name, value] : element.attributes)
        out.append(name).append("=[").append(value).append("]");
    for (const MarkupElement& child : element.children)
        Describe(child, out);
    out += ">";
}

// Everything a parse leaves behind (status, line, messages, stray bytes, tree) as one string.
std::string Parse(const std::string& text, bool attributeTokens) {
    CaptureStream errors;
    CaptureStream stray;
    ParseOptions options{errors.get(), stray.get()};
    options.attributeTokens = attributeTokens;
    const ParseResult result = ParseMapText(text, options);
    std::string report = std::to_string(static_cast<int>(result.status)) + " line " +
                         std::to_string(result.line) + "\nerrors: " + errors.text() + "\nstray: [" +
                         stray.text() + "]\ntree: ";
    if (result.root)
        Describe(*result.root, report);
    return report;
}

void ExpectSameBothWays(const std::string& text, const std::string& origin) {
    EXPECT_EQ(Parse(text, true), Parse(text, false)) << origin << "\ninput: [" << text << "]";
}

const std::string kSmallMap =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE ZanMap SYSTEM \"zan.dtd\">\n"
    "<!-- a -- comment -->\n"
    "<ZanMap\r\n"
    " SizeX=\"2\" \r\n"
    "\tSizeZ = \"1\"\n"
    "  Tex_0=\"a b.jpg\"  lone  e=\"\" \n"
    " NO_0_0 =\"1.5\"\v\f\n"
    " ml=\"two\nlines\" after=\"x\">text<![CDATA[ <c> ]] ]]>"
    "<child a=\"1\" b/><child2 q=\"&lt;\"></child2> tail</ZanMap>\n";

const std::string kWriterMap =
    "<ZanMap\n SizeX=\"1\" \n SizeZ=\"1\" \n numtex=\"1\" \n Tex_0=\"t.jpg\"\n"
    " NO_0_0 =\"0.000000\"\n C_0_0 =\"1.000000\"\n X_S=\"0\" \n Z_S=\"0\" \n/>\n";

TEST(AttributeTokens, CorpusAndTestMapsReadAlikeBothWays) {
    const std::filesystem::path tests(CORE_TESTS_DIR);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tests)) {
        const auto& path = entry.path();
        const bool underData = path.parent_path().filename() == "data";
        const bool inCorpus = path.string().find("/corpus/") != std::string::npos;
        if (entry.is_regular_file() && (path.extension() == ".zdm" || inCorpus) &&
            (underData || inCorpus)) {
            files.push_back(path);
        }
    }
    ASSERT_GE(files.size(), 4u) << "no corpus found under " << tests;
    for (const auto& file : files)
        ExpectSameBothWays(testsupport::ReadFile(file), file.string());
}

// Hand-picked forms at the edges of the one-token rule: blanks everywhere, names after "?", "!"
// and "/", values that span lines or do not end, and errors right after "=".
TEST(AttributeTokens, EdgeFormsReadAlikeBothWays) {
    // clang-format off
    const std::string cases[] = {
        "<a b=\"c\"/>", "< a b=\"c\" />", "<#a  b = \"c\"  >x</a>", "<a / b=\"c\">", "<a b= c = \"d\">",
        "<a b=\"c\n\" d = \"e\"  />", "<a b=\"\n\"  c=\"d\" />", "<a \"x\">",
        "<a b=\"unterminated  c=\"d\"/>", "<a b c=\"d\" e/>", "<a b==\"c\"/>",
        "<a\tb\t=\t\"c\"\t/>", "<?xml version=\"1.0\" ?><a/>", "<?xml a=\"1\" b=\"2\"?><a/>",
        "<!DOCTYPE a b c \"d\"><a/>", "<?xml version=\"1.0\"  b = \"2\" ?><a/>",
        "<!DOCTYPE a b c \"d\"  e = \"f\" ><a/>", "</a b=\"c\">",
        "<a><b c=\"d\" ></b ><c d=\"e\"/></a>", "<a b=\"c\" ?>", "<a b=\"c\" d>", "<a b=\"c\"",
        "<a b=\"c\"  ", "<a b=\"c\"\n\n<", std::string("<a b=\"\0x\" c=\"\0\"/>", 18),
        "<a b=\"c\"><a-b c=\"d\"/></a>", "<a b='c'/>", "<a =\"c\"/>", "<a b=\"c\" =\"d\"/>"};
    // clang-format on
    for (const std::string& text : cases)
        ExpectSameBothWays(text, "edge form");
}

// Random inserts, deletes and replacements of the bytes that steer the scanner.
RC_GTEST_PROP(AttributeTokens, MutatedMapsReadAlikeBothWays, ()) {
    const std::string alphabet("\"=<>/?! \t\r\n\0aZ_-", 17);
    std::string text = *rc::gen::elementOf(std::vector<std::string>{kSmallMap, kWriterMap});
    const auto edits = *rc::gen::container<std::vector<std::tuple<int, std::size_t, char>>>(
        *rc::gen::inRange<std::size_t>(1, 4),
        rc::gen::tuple(rc::gen::inRange(0, 3), rc::gen::inRange<std::size_t>(0, text.size() + 1),
                       rc::gen::elementOf(alphabet)));
    for (const auto& [kind, place, byte] : edits) {
        const std::size_t at = std::min(place, text.size());
        if (kind == 0)
            text.insert(at, 1, byte);
        else if (at < text.size())
            kind == 1 ? (void)text.erase(at, 1) : (void)(text[at] = byte);
    }
    RC_ASSERT(Parse(text, true) == Parse(text, false));
}

// An attribute read as separate tokens stacks more parser states than one token does; around the
// stack's limit both ways must still overflow (or not) on the same inputs.
TEST(AttributeTokens, NestingAtTheStackLimitOverflowsAlikeBothWays) {
    std::set<ParseStatus> seen;
    for (int depth = 1990; depth <= 2000; ++depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        text += "<b  c = \"d\"  e=\"\"/>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        ExpectSameBothWays(text, "depth " + std::to_string(depth));
        seen.insert(ParseMapText(text, ParseOptions{nullptr, nullptr}).status);
    }
    // The range straddles the limit, or this test compares nothing that matters.
    EXPECT_EQ(seen, (std::set<ParseStatus>{ParseStatus::Ok, ParseStatus::StackOverflow}));
}

}  // namespace
}  // namespace zandrel::mapfile
