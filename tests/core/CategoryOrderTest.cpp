#include "core/CategoryOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> sorted(std::vector<std::string> labels)
{
    std::ranges::sort(
        labels, [](const std::string &a, const std::string &b) { return CategoryLess(a, b); });
    return labels;
}

} // namespace

TEST(CategoryOrder, NumbersInLabelsCompareByValue)
{
    EXPECT_EQ(sorted({ "100代", "20代", "第10回", "３０代", "第2回", "020代" }),
        (std::vector<std::string>{ "020代", "20代", "３０代", "100代", "第2回", "第10回" }));
}

TEST(CategoryOrder, CaseWidthAndKanaAreFoldedThenBytesDecide)
{
    EXPECT_EQ(sorted({ "b", "Ｂ", "a", "A", "キ", "か", "カ", "が", "Ab", "a" }),
        (std::vector<std::string>{ "A", "a", "a", "Ab", "b", "Ｂ", "か", "カ", "が", "キ" }));
    // A label that begins the other comes first; bytes that are no UTF-8
    // still take a place.
    EXPECT_TRUE(CategoryLess("満足", "満足度"));
    EXPECT_TRUE(CategoryLess("x\xFF", "x\xFFy"));
    EXPECT_FALSE(CategoryLess("x", "x"));
}
