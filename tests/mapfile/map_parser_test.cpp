#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "mapfile/MapParser.h"
#include "mapfile/NulMask.h"
#include "support/CaptureStream.h"

bool ScannerClassesNulWithSoh();

using zandrel::mapfile::MarkupElement;
using zandrel::mapfile::NulMask;
using zandrel::mapfile::ParseMapFile;
using zandrel::mapfile::ParseMapText;
using zandrel::mapfile::ParseOptions;
using zandrel::mapfile::ParseResult;
using zandrel::mapfile::ParseStatus;

namespace {

// Parses text, keeping the diagnostics and stray characters for the test to look at.
struct Parsed {
    explicit Parsed(const std::string& text)
        : result(ParseMapText(text, ParseOptions{errors.get(), stray.get()})) {}

    const MarkupElement& root() const { return *result.root; }
    std::string attribute(const std::string& name) const {
        const auto value = root().attributes.Find(name);
        return std::string(value ? *value : "<absent>");
    }

    CaptureStream errors;
    CaptureStream stray;
    ParseResult result;
};

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

}  // namespace

TEST(MapParser, WriterFormGivesOneRootWithItsAttributes) {
    Parsed unix_("<ZanMap\n SizeX=\"50\" \n NO_0_0 =\"1.5\"\n/>\n");
    Parsed dos(
        "<?xml version=\"1.0\"?><!DOCTYPE m SYSTEM \"m.dtd\">"
        "<ZanMap\r\n SizeX = \"50\"\r\n\tNO_0_0=\"1.5\"   \r\n/>\r\n");
    for (Parsed* parsed : {&unix_, &dos}) {
        ASSERT_TRUE(parsed->result.ok()) << parsed->errors.text();
        EXPECT_EQ(parsed->root().name, "ZanMap");
        EXPECT_EQ(parsed->root().attributes.size(), 2u);
        EXPECT_EQ(parsed->attribute("SizeX"), "50");
        EXPECT_EQ(parsed->attribute("NO_0_0"), "1.5");
        EXPECT_TRUE(parsed->root().text.empty() && parsed->root().children.empty());
        EXPECT_EQ(parsed->errors.text(), "");
    }
    // Blanks inside a tag are characters no rule takes: they go to the stray output.
    EXPECT_EQ(unix_.stray.text(), "    ");
}

// Names are runs of letters, digits and underscores; a value may hold anything but its quote,
// and a lone line feed value reads as empty. The table is ordered byte-wise.
TEST(MapParser, AttributeFormsRepeatsAndOrder) {
    Parsed parsed(
        "<m a b=\"\" c=\"1\" c=\"2\" d=\"<>&\n;\" e-f=\"3\" x:y=\"4\" l=\"\n\" B=\"\" _=\"\" "
        "9=\"\"/>");
    ASSERT_TRUE(parsed.result.ok());
    std::string table;
    for (const auto& [name, value] : parsed.root().attributes)
        table.append(name).append("=").append(value).append(" ");
    EXPECT_EQ(table, "9= B= _= a= b= c=2 d=<>&\n; e= f=3 l= x= y=4 ");
    EXPECT_EQ(parsed.stray.text(), "      - :    ");
}

// Text runs keep their blanks, blank runs are skipped, comments vanish, and a "]" that does not
// close a CDATA section starts a skipped run.
TEST(MapParser, TextOfTheRoot) {
    const struct {
        const char* text;
        const char* rootText;
    } cases[] = {
        {"<a>  <b/>   </a>", ""},
        {"<a>  hi \n there <b/>x<![CDATA[<y>&]]></a>", "  hi  there x<y>&"},
        {"<!-- a - b -->\n<a><![CDATA[x]y]]></a><!-- after -->\n", "x"},
    };
    for (const auto& c : cases) {
        Parsed parsed(c.text);
        ASSERT_TRUE(parsed.result.ok()) << c.text;
        EXPECT_EQ(parsed.root().text, c.rootText) << c.text;
    }
}

TEST(MapParser, RefusedFormsReportTheirLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"<m a='1'/>", "parse error at line 1\n"},
        {"<m/>\n\nstray text", "parse error at line 3\n"},
        {"<m>\n<n>\n\n", "parse error at line 4\n"},
        {"", "parse error at line 1\n"},
        {"<m a=\"x\ny\"\n b=>", "parse error at line 2\n"},  // value line feeds don't count
        {"<m a=\"\n\"\n\n<", "parse error at line 4\n"},     // a lone line feed value does
        {"<m/><m/>", "parse error at line 1\n"},
        {"\n<m>", "parse error at line 2\n"},  // each parse counts lines from one
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<m/>", "parse error at line 1\n"},
    };
    for (const auto& c : cases) {
        Parsed parsed(c.text);
        EXPECT_EQ(parsed.result.status, ParseStatus::SyntaxError) << c.text;
        EXPECT_EQ(parsed.errors.text(), c.message) << c.text;
        EXPECT_FALSE(parsed.result.root.has_value());
    }
    Parsed mismatch("<a>\n<b></c>\n</a>");
    EXPECT_EQ(mismatch.result.status, ParseStatus::NameMismatch);
    EXPECT_EQ(mismatch.errors.text(), "");
}

TEST(MapParser, HugeTokensAndDeepNestingUpToTheStackLimit) {
    const std::string name(100000, 'n');
    const std::string value(1 << 18, 'v');
    Parsed huge("<" + name + " a=\"" + value + "\">" + std::string(50000, 't') + "</" + name + ">");
    ASSERT_TRUE(huge.result.ok()) << huge.errors.text();
    EXPECT_EQ(huge.root().name.size(), name.size());
    EXPECT_EQ(huge.attribute("a").size(), value.size());
    EXPECT_EQ(huge.root().text.size(), 50000u);

    const Parsed deep(Nested(1500));
    ASSERT_TRUE(deep.result.ok());
    int depth = 1;
    for (const MarkupElement* e = &deep.root(); !e->children.empty(); e = &e->children[0])
        ++depth;
    EXPECT_EQ(depth, 1500);
    Parsed tooDeep(Nested(5000));
    EXPECT_EQ(tooDeep.result.status, ParseStatus::StackOverflow);
    EXPECT_EQ(tooDeep.errors.text(), "parser stack overflow at line 1\n");
}

TEST(MapParser, FilesThatCannotBeOpenedOrReadFail) {
    CaptureStream errors;
    const ParseOptions quiet{errors.get(), nullptr};
    EXPECT_EQ(ParseMapFile("/nonexistent/map.zdm", quiet).status, ParseStatus::CannotOpen);
    EXPECT_EQ(errors.text(), "");
    // A folder opens for reading on Linux, but every read fails.
    EXPECT_EQ(ParseMapFile(std::filesystem::temp_directory_path(), quiet).status,
              ParseStatus::ReadError);
    EXPECT_EQ(errors.text(), "read error at line 1\n");
}

TEST(MapParser, NulSohAndHighBytesKeepTheirPlaceInEveryToken) {
    // In a tag NUL and SOH are characters no rule takes; in values, text and CDATA they are data.
    Parsed parsed(std::string("<m \0\x01 a=\"\0\xff\x80\">t\0<![CDATA[\x01\0]]></m>", 34));
    ASSERT_TRUE(parsed.result.ok()) << parsed.errors.text();
    EXPECT_EQ(parsed.stray.text(), std::string(" \0\x01 ", 4));
    EXPECT_EQ(parsed.root().text, std::string("t\0\x01\0", 4));
    EXPECT_EQ(parsed.attribute("a"), std::string("\0\xff\x80", 3));
}

// Inputs built to make the reader slow or confused: runs of one byte in every scanner state,
// NULs anywhere. They must end in the usual result; a reader that turns quadratic again makes
// the byte table here run for minutes instead of seconds.
TEST(HostileInput, RunsOfEveryByteInEveryStateEndInAParseError) {
    constexpr std::size_t kRun = 32 * 1024;
    const struct {
        const char* condition;
        std::string text;
        bool countsLineFeeds;  // quoted values keep their line feeds uncounted
    } openings[] = {{"content", "", true},
                    {"value", "<m a=\"", false},
                    {"comment", "<!--", true},
                    {"cdata", "<m><![CDATA[", true}};
    for (const auto& opening : openings) {
        for (int value = 0; value < 256; ++value) {
            const char byte = static_cast<char>(value);
            CaptureStream errors;
            const ParseResult result = ParseMapText(opening.text + std::string(kRun, byte),
                                                    ParseOptions{errors.get(), nullptr});
            const std::size_t line = byte == '\n' && opening.countsLineFeeds ? kRun + 1 : 1;
            EXPECT_FALSE(result.ok());
            EXPECT_EQ(errors.text(), "parse error at line " + std::to_string(line) + "\n")
                << opening.condition << " byte " << value;
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
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);

    for (const ParseResult& result : {ParseMapText(text, ParseOptions{nullptr, nullptr}),
                                      ParseMapFile(path, ParseOptions{nullptr, nullptr})}) {
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(*result.root->attributes.Find("a"), value);
        EXPECT_EQ(*result.root->attributes.Find("b"), "\x01");
    }
    std::filesystem::remove(path);
}

TEST(HostileInput, ScannerCannotTellNulFromSoh) {
    EXPECT_TRUE(ScannerClassesNulWithSoh());
}

TEST(NulMask, HidesNulsAndRestoresThemByOffset) {
    NulMask mask;
    std::string first("a\0\0", 3);
    std::string second("\0b\x01\0", 4);
    mask.Hide(first.data(), first.size(), 0);
    mask.Hide(second.data(), second.size(), 3);
    EXPECT_EQ(first + second,
              "a\x01\x01\x01"
              "b\x01\x01");

    const struct {
        std::size_t offset;
        std::size_t count;
        std::string restored;
        bool touches;
    } cases[] = {
        {0, 1, "a", false},
        {0, 7, std::string("a\0\0\0b\x01\0", 7), true},
        {2, 3, std::string("\0\0b", 3), true},
        {4, 2, "b\x01", false},
        {6, 1, std::string("\0", 1), true},
    };
    const std::string hidden = first + second;
    for (const auto& c : cases) {
        std::string bytes = hidden.substr(c.offset, c.count);
        mask.Restore(bytes.data(), bytes.size(), c.offset);
        EXPECT_EQ(bytes, c.restored) << c.offset << "+" << c.count;
        EXPECT_EQ(mask.Touches(c.offset, c.count), c.touches) << c.offset << "+" << c.count;
    }
}
