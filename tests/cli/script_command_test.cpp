#include "cli/ScriptCommand.h"

#include <gtest/gtest.h>

namespace zandrel::cli {
namespace {

using Words = std::vector<std::string_view>;

TEST(ScriptLine, WordsAreSplitAtAnyRunOfBlanks) {
    const auto command = SplitScriptLine("  select\t2  3 4\t 4\r");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->name, "select");
    EXPECT_EQ(command->args, (Words{"2", "3", "4", "4"}));
}

TEST(ScriptLine, BlankLinesAndCommentsHoldNoCommand) {
    EXPECT_FALSE(SplitScriptLine("").has_value());
    EXPECT_FALSE(SplitScriptLine(" \t\r").has_value());
    EXPECT_FALSE(SplitScriptLine("# select 1 1 1 1").has_value());
    EXPECT_FALSE(SplitScriptLine("   #indented").has_value());
    const auto notComment = SplitScriptLine("copy # trailing");
    ASSERT_TRUE(notComment.has_value());
    EXPECT_EQ(notComment->args, (Words{"#", "trailing"}));
}

TEST(ScriptNumbers, WholeNumbersTakeASignAndNothingElse) {
    EXPECT_EQ(ParseWholeNumber("-160"), -160);
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    EXPECT_EQ(ParseWholeNumber("0"), 0);
    EXPECT_FALSE(ParseWholeNumber("2.5").has_value());
    EXPECT_FALSE(ParseWholeNumber("7x").has_value());
    EXPECT_FALSE(ParseWholeNumber("").has_value());
    EXPECT_FALSE(ParseWholeNumber("+").has_value());
    EXPECT_FALSE(ParseWholeNumber("+-3").has_value());
    EXPECT_FALSE(ParseWholeNumber("99999999999").has_value());
}

TEST(ScriptNumbers, ToolValuesAreFiniteDecimals) {
    EXPECT_EQ(ParseNumber("100"), 100.0);
    EXPECT_EQ(ParseNumber("-0.5"), -0.5);
    EXPECT_EQ(ParseNumber("+1e2"), 100.0);
    EXPECT_FALSE(ParseNumber("inf").has_value());
    EXPECT_FALSE(ParseNumber("nan").has_value());
    EXPECT_FALSE(ParseNumber("1e999").has_value());
    EXPECT_FALSE(ParseNumber("0x10").has_value());
    EXPECT_FALSE(ParseNumber("1,5").has_value());
}

}  // namespace
}  // namespace zandrel::cli
