// Byte order and "the last of repeated names wins" are proven through the parser; what is left
// here is what only the table's own interface shows.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mapfile/AttributeTable.h"

using zandrel::mapfile::AttributeTable;
using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(AttributeTable, DocumentOrderShowsEveryValueUntilOrdered) {
    AttributeTable table;
    for (const auto& [name, value] : Pairs{{"b", "1"}, {"a", "2"}, {"b", "3"}})
        table.Set(name, value);
    const auto seen = [&] {
        Pairs pairs;
        table.ForEachInDocumentOrder([&](std::string_view name, std::string_view value) {
            pairs.emplace_back(name, value);
        });
        return pairs;
    };
    EXPECT_EQ(seen(), (Pairs{{"b", "1"}, {"a", "2"}, {"b", "3"}}));
    EXPECT_EQ(table.Find("c"), std::nullopt);  // orders the table
    EXPECT_EQ(seen(), (Pairs{{"a", "2"}, {"b", "3"}}));

    EXPECT_EQ(table.Find("b"), "3");
    table.Set("z", "set");
    table.InsertAbsent({"b", "y", "y", "zz"});
    EXPECT_EQ(Pairs(table.begin(), table.end()),
              (Pairs{{"a", "2"}, {"b", "3"}, {"y", ""}, {"z", "set"}, {"zz", ""}}));
}
