#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "mapfile/AttributeTable.h"
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

// Parses text, keeping the diagnostics and stray characters for the test to look at;
// attributes are scanned as one token each unless asked otherwise.
struct Parsed {
    explicit Parsed(const std::string& text, bool attributeTokens = true)
        : result(ParseMapText(text, {errors.get(), stray.get(), attributeTokens})) {}
    const MarkupElement& root() const { return *result.root; }

    // Everything the parse left behind (status, line, messages, stray bytes, tree) as one string.
    std::string Report() {
        std::string report = std::to_string(static_cast<int>(result.status)) + " line " +
                             std::to_string(result.line) + "\nerrors: " + errors.text() +
                             "\nstray: [" + stray.text() + "]\ntree: ";
        if (result.root)
            Describe(*result.root, report);
        return report;
    }

    CaptureStream errors;
    CaptureStream stray;
    ParseResult result;
};

std::string Nested(int depth, const std::string& inner = "") {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

// What the parser keeps of a well-formed file: the root's name, its attributes in byte order
// with the last of a repeated name winning, its text, how many children it has and the
// characters no rule takes (the stray output; nullopt where not looked at). Names are runs of
// letters, digits and underscores; a value holds anything but its quote, and a lone line feed
// value reads as empty. Text runs keep their blanks, blank runs are skipped, comments vanish,
// and a "]" that does not close a CDATA section starts a skipped run. In a tag NUL and SOH are
// characters no rule takes; in values, text and CDATA they are data.
TEST(MapParser, WhatAWellFormedFileKeeps) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        std::string name;
        std::string attributes;
        std::string rootText;
        std::size_t children;
        std::optional<std::string> stray;
    } cases[] = {
        {"<?xml version=\"1.0\"?><!DOCTYPE m SYSTEM \"m.dtd\">"
         "<ZanMap\r\n SizeX = \"50\"\r\n\tNO_0_0=\"1.5\"   \r\n/>\r\n",
         "ZanMap", "NO_0_0=1.5 SizeX=50 ", "", 0, std::nullopt},
        {"<m a b=\"\" c=\"1\" c=\"2\" d=\"<>&\n;\" e-f=\"3\" x:y=\"4\" l=\"\n\" B=\"\" _=\"\" "
         "9=\"\"/>",
         "m", "9= B= _= a= b= c=2 d=<>&\n; e= f=3 l= x= y=4 ", "", 0, "      - :    "},
        {"<a>  <b/>   </a>", "a", "", "", 1, std::nullopt},
        {"<a>  hi \n there <b/>x<![CDATA[<y>&]]></a>", "a", "", "  hi  there x<y>&", 1,
         std::nullopt},
        {"<!-- a - b -->\n<a><![CDATA[x]y]]></a><!-- after -->\n", "a", "", "x", 0, std::nullopt},
        {"<m \0\x01 a=\"\0\xff\x80\">t\0<![CDATA[\x01\0]]></m>"s, "m", "a=\0\xff\x80 "s,
         "t\0\x01\0"s, 0, " \0\x01 "s},
    };
    for (const auto& c : cases) {
        Parsed parsed(c.text);
        ASSERT_TRUE(parsed.result.ok()) << c.text << ": " << parsed.errors.text();
        EXPECT_EQ(parsed.root().name, c.name) << c.text;
        std::string table;
        for (const auto& [name, value] : parsed.root().attributes)
            table.append(name).append("=").append(value).append(" ");
        EXPECT_EQ(table, c.attributes) << c.text;
        EXPECT_EQ(parsed.root().text, c.rootText) << c.text;
        EXPECT_EQ(parsed.root().children.size(), c.children) << c.text;
        EXPECT_EQ(parsed.errors.text(), "") << c.text;
        EXPECT_EQ(c.stray.value_or(parsed.stray.text()), parsed.stray.text()) << c.text;
    }
}

TEST(MapParser, RefusedFormsReportTheirLine) {
    const std::pair<const char*, int> cases[] = {
        // Single quotes and an element left open at the end: zdmtool's test (tests/cli).
        {"<m/>\n\nstray text", 3},
        {"", 1},
        {"<m a=\"x\ny\"\n b=>", 2},  // value line feeds don't count
        {"<m a=\"\n\"\n\n<", 4},     // a lone line feed value does
        {"<m/><m/>", 1},
        {"\n<m>", 2},  // each parse counts lines from one
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<m/>", 1},
    };
    for (const auto& [text, line] : cases) {
        Parsed parsed(text);
        EXPECT_EQ(parsed.result.status, ParseStatus::SyntaxError) << text;
        EXPECT_EQ(parsed.errors.text(), "parse error at line " + std::to_string(line) + "\n")
            << text;
        EXPECT_FALSE(parsed.result.root.has_value());
    }
    Parsed mismatch("<a>\n<b></c>\n</a>");
    EXPECT_EQ(mismatch.result.status, ParseStatus::NameMismatch);
    EXPECT_EQ(mismatch.errors.text(), "");
}

TEST(MapParser, HugeTokensAndDeepNestingUpToTheStackLimit) {
    // Values longer than the scanner's reads: HostileInput below.
    const std::string name(100000, 'n');
    Parsed huge("<" + name + ">" + std::string(50000, 't') + "</" + name + ">");
    ASSERT_TRUE(huge.result.ok()) << huge.errors.text();
    EXPECT_EQ(huge.root().name.size(), name.size());
    EXPECT_EQ(huge.root().text.size(), 50000u);

    // Depths just under the limit read fine (AttributeTokens below); this far past it, the
    // reason is named.
    Parsed tooDeep(Nested(5000));
    EXPECT_EQ(tooDeep.result.status, ParseStatus::StackOverflow);
    EXPECT_EQ(tooDeep.errors.text(), "parser stack overflow at line 1\n");
}

// A folder opens for reading on Linux, but every read fails. A file that does not open is
// zdmtool's test (tests/cli: "cannot be opened", with no parse message).
TEST(MapParser, AFileThatCannotBeReadFails) {
    CaptureStream errors;
    EXPECT_EQ(ParseMapFile(std::filesystem::temp_directory_path(), {errors.get(), nullptr}).status,
              ParseStatus::ReadError);
    EXPECT_EQ(errors.text(), "read error at line 1\n");
}

// Inputs built to make the reader slow or confused: runs of one byte in every scanner state,
// NULs anywhere. They must end in the usual result; a reader that turns quadratic again makes
// the byte table here run for minutes instead of seconds.
TEST(HostileInput, RunsOfEveryByteInEveryStateEndInAParseError) {
    constexpr std::size_t kRun = 32 * 1024;
    // Whether the run's line feeds count: quoted values keep theirs uncounted.
    const std::tuple<const char*, std::string, bool> openings[] = {{"content", "", true},
                                                                   {"value", "<m a=\"", false},
                                                                   {"comment", "<!--", true},
                                                                   {"cdata", "<m><![CDATA[", true}};
    for (const auto& [condition, opening, countsLineFeeds] : openings) {
        for (int value = 0; value < 256; ++value) {
            const char byte = static_cast<char>(value);
            CaptureStream errors;
            const ParseResult result = ParseMapText(opening + std::string(kRun, byte),
                                                    ParseOptions{errors.get(), nullptr});
            const std::size_t line = byte == '\n' && countsLineFeeds ? kRun + 1 : 1;
            EXPECT_FALSE(result.ok());
            EXPECT_EQ(errors.text(), "parse error at line " + std::to_string(line) + "\n")
                << condition << " byte " << value;
        }
    }
}

TEST(HostileInput, NulRunsAcrossReadsComeBackWhole) {
    // Runs that start, end and straddle the scanner's reads, in a value read from a file.
    std::string value;
    for (const std::size_t length : {1u, 2u, 16383u, 16384u, 16385u, 70000u, 3u}) {
        value += std::string(length, '\0') + "\x01x";
    }
    const std::string text = "<m a=\"" + value + "\" b=\"\x01\"/>";
    const auto path = std::filesystem::temp_directory_path() / "hostile_nul_runs.zdm";
    testsupport::WriteFile(path, text);
    for (const ParseResult& result : {ParseMapText(text, ParseOptions{nullptr, nullptr}),
                                      ParseMapFile(path, ParseOptions{nullptr, nullptr})}) {
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(*result.root->attributes.Find("a"), value);
        EXPECT_EQ(*result.root->attributes.Find("b"), "\x01");
    }
    std::filesystem::remove(path);
}

// The one-token scanning of ordinary attributes against the separate name, "=", quote, text and
// quote tokens: for every input both must end alike (status, message, line, element tree, stray
// bytes). Inputs are the fuzz corpus and the test maps, forms at the edges of the one-token rule,
// nestings around the parser's stack limit, and mutations of the corpus seeds.
void ExpectSameBothWays(const std::string& text, const std::string& origin) {
    EXPECT_EQ(Parsed(text).Report(), Parsed(text, false).Report())
        << origin << "\ninput: [" << text << "]";
}

// The fuzz corpus and the maps under the tests' data folders.
std::vector<std::filesystem::path> CorpusAndTestMaps() {
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
    return files;
}

TEST(AttributeTokens, CorpusEdgeFormsAndDeepNestingReadAlikeBothWays) {
    const auto files = CorpusAndTestMaps();
    ASSERT_GE(files.size(), 4u) << "no corpus found under " << CORE_TESTS_DIR;
    for (const auto& file : files)
        ExpectSameBothWays(testsupport::ReadFile(file), file.string());
    // Blanks everywhere, names after "?", "!" and "/", values that span lines or do not end, and
    // errors right after "=".
    // clang-format off
    const std::string edges[] = {
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
    for (const std::string& text : edges)
        ExpectSameBothWays(text, "edge form");
    // An attribute read as separate tokens stacks more parser states than one token does; the
    // depths straddle the limit, or this compares nothing that matters.
    std::set<ParseStatus> seen;
    for (int depth = 1990; depth <= 2000; ++depth) {
        const std::string text = Nested(depth, "<b  c = \"d\"  e=\"\"/>");
        ExpectSameBothWays(text, "depth " + std::to_string(depth));
        seen.insert(ParseMapText(text, ParseOptions{nullptr, nullptr}).status);
    }
    EXPECT_EQ(seen, (std::set<ParseStatus>{ParseStatus::Ok, ParseStatus::StackOverflow}));
}

// Random inserts, deletes and replacements, in the corpus seeds, of the bytes that steer the
// scanner.
RC_GTEST_PROP(AttributeTokens, MutatedSeedsReadAlikeBothWays, ()) {
    static const std::vector<std::string> seeds = [] {
        std::vector<std::string> texts;
        for (const auto& file : CorpusAndTestMaps()) {
            if (file.filename().string().starts_with("seed-") && file.extension() == ".zdm")
                texts.push_back(testsupport::ReadFile(file));
        }
        return texts;
    }();
    RC_ASSERT(!seeds.empty());
    const std::string alphabet("\"=<>/?! \t\r\n\0aZ_-", 17);
    std::string text = *rc::gen::elementOf(seeds);
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
    RC_ASSERT(Parsed(text).Report() == Parsed(text, false).Report());
}

}  // namespace
}  // namespace zandrel::mapfile
