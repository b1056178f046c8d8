#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "mapfile/AttributeTable.h"

using zandrel::mapfile::AttributeTable;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

AttributeTable TableOf(const Pairs& pairs) {
    AttributeTable table;
    for (const auto& [name, value] : pairs)
        table.Set(name, value);
    return table;
}

Pairs Ordered(const AttributeTable& table) {
    return Pairs(table.begin(), table.end());
}

}  // namespace

TEST(AttributeTable, OrdersByBytesAndKeepsTheLastOfRepeatedNames) {
    struct Case {
        Pairs given;
        Pairs ordered;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"b", "1"}, {"a", "2"}}, {{"a", "2"}, {"b", "1"}}},
        {{{"a", "1"}, {"a", "2"}}, {{"a", "2"}}},
        {{{"x", "1"}, {"a", ""}, {"x", "2"}, {"a", "3"}, {"x", "4"}}, {{"a", "3"}, {"x", "4"}}},
        // Byte order: upper case before lower, "_" between them, "10" before "9".
        {{{"a", ""}, {"_", ""}, {"B", ""}, {"NO_9_0", ""}, {"NO_10_0", ""}},
         {{"B", ""}, {"NO_10_0", ""}, {"NO_9_0", ""}, {"_", ""}, {"a", ""}}},
    };
    for (const Case& c : cases) {
        const AttributeTable table = TableOf(c.given);
        EXPECT_EQ(Ordered(table), c.ordered);
        EXPECT_EQ(table.size(), c.ordered.size());
        for (const auto& [name, value] : c.ordered) {
            ASSERT_NE(table.Find(name), nullptr) << name;
            EXPECT_EQ(*table.Find(name), value);
        }
    }
}

TEST(AttributeTable, DocumentOrderShowsEveryValueUntilOrdered) {
    const AttributeTable table = TableOf({{"b", "1"}, {"a", "2"}, {"b", "3"}});
    Pairs seen;
    table.ForEachInDocumentOrder(
        [&](std::string_view name, const std::string& value) { seen.emplace_back(name, value); });
    EXPECT_EQ(seen, (Pairs{{"b", "1"}, {"a", "2"}, {"b", "3"}}));
    EXPECT_EQ(table.Find("c"), nullptr);  // orders the table
    seen.clear();
    table.ForEachInDocumentOrder(
        [&](std::string_view name, const std::string& value) { seen.emplace_back(name, value); });
    EXPECT_EQ(seen, (Pairs{{"a", "2"}, {"b", "3"}}));
}

TEST(AttributeTable, InsertingLookupsAndInsertAbsentAddEmptyValuesInOrder) {
    AttributeTable table = TableOf({{"m", "1"}, {"c", "2"}});
    EXPECT_EQ(table.Lookup("c"), "2");
    EXPECT_EQ(table.Lookup("z"), "");
    table.Lookup("a") = "set";
    table.InsertAbsent({"m", "b", "y", "b", "zz"});
    EXPECT_EQ(
        Ordered(table),
        (Pairs{{"a", "set"}, {"b", ""}, {"c", "2"}, {"m", "1"}, {"y", ""}, {"z", ""}, {"zz", ""}}));
}
