// Inputs built to make the reader slow or confused: runs of one byte in every scanner state,
// NULs anywhere. They must end in the usual result; a reader that turns quadratic again makes
// the byte table here run for minutes instead of seconds.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "mapfile/MapParser.h"
#include "mapfile/NulMask.h"
#include "support/CaptureStream.h"

bool ScannerClassesNulWithSoh();

using zandrel::mapfile::NulMask;
using zandrel::mapfile::ParseMapFile;
using zandrel::mapfile::ParseMapText;
using zandrel::mapfile::ParseOptions;
using zandrel::mapfile::ParseResult;

namespace {

struct Opening {
    const char* condition;
    std::string text;
    bool countsLineFeeds;  // quoted values keep their line feeds uncounted
};

const Opening kOpenings[] = {
    {"content", "", true},
    {"value", "<m a=\"", false},
    {"comment", "<!--", true},
    {"cdata", "<m><![CDATA[", true},
};

}  // namespace

TEST(HostileInput, RunsOfEveryByteInEveryStateEndInAParseError) {
    constexpr std::size_t kRun = 32 * 1024;
    for (const Opening& opening : kOpenings) {
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

    struct Case {
        std::size_t offset;
        std::size_t count;
        std::string restored;
        bool touches;
    };
    const Case cases[] = {
        {0, 1, "a", false},
        {0, 7, std::string("a\0\0\0b\x01\0", 7), true},
        {2, 3, std::string("\0\0b", 3), true},
        {4, 2, "b\x01", false},
        {6, 1, std::string("\0", 1), true},
    };
    const std::string hidden = first + second;
    for (const Case& c : cases) {
        std::string bytes = hidden.substr(c.offset, c.count);
        mask.Restore(bytes.data(), bytes.size(), c.offset);
        EXPECT_EQ(bytes, c.restored) << c.offset << "+" << c.count;
        EXPECT_EQ(mask.Touches(c.offset, c.count), c.touches) << c.offset << "+" << c.count;
    }
}
