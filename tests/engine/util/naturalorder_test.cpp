// File names in the order people count them.
#include "util/naturalorder.h"

#include <gtest/gtest.h>

TEST(NaturalOrder, DigitRunsCompareByValue)
{
    const std::pair<const char*, const char*> ordered[] = {
        {"specimen 2.csv", "specimen 10.csv"}, {"s9", "s010"}, {"a", "b"}, {"s1", "s1a"}, {"s01", "s2"}, {"", "x"},
        {"A-2-7", "A-10-1"},
    };
    for (const auto& [first, second] : ordered) {
        EXPECT_TRUE(NaturalLess(first, second)) << first << " < " << second;
        EXPECT_FALSE(NaturalLess(second, first)) << second << " < " << first;
    }
    EXPECT_FALSE(NaturalLess("s2", "s2"));
}
