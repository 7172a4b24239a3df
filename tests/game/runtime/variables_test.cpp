// Script variables: exact names, empty values remove, order kept.
#include <gtest/gtest.h>

#include "runtime/game_errors.h"
#include "runtime/variables.h"

namespace gb {
namespace {

std::string Names(const TVariables& variables) {
    std::string names;
    for (std::int32_t i = 0; i < variables.Count(); ++i) names += variables.Item(i).Name + "=" + variables.Item(i).Value + ";";
    return names;
}

TEST(Variables, NamesCompareExactly) {
    TVariables variables;
    variables.SetValue("door", "open");
    EXPECT_EQ(variables.GetValue("door"), "open");
    EXPECT_EQ(variables.GetValue("Door"), "");
    EXPECT_EQ(variables.GetValue("door "), "");
    EXPECT_EQ(variables.GetValue(""), "");
}

TEST(Variables, EmptyValueRemovesAndEmptyNameDoesNothing) {
    TVariables variables;
    variables.SetValue("door", "open");
    variables.SetValue("door", "");
    EXPECT_EQ(variables.GetValue("door"), "");
    EXPECT_EQ(variables.Count(), 0);
    variables.SetValue("window", "");
    variables.SetValue("", "value");
    EXPECT_EQ(variables.Count(), 0);
    EXPECT_EQ(variables.GetValue(""), "");
}

TEST(Variables, OverwriteKeepsThePlaceAndRemovalKeepsTheOrder) {
    TVariables variables;
    variables.SetValue("a", "1");
    variables.SetValue("b", "2");
    variables.SetValue("c", "3");
    variables.SetValue("a", "one");
    EXPECT_EQ(Names(variables), "a=one;b=2;c=3;");
    variables.SetValue("a", "");
    EXPECT_EQ(Names(variables), "b=2;c=3;");
    variables.SetValue("a", "again");
    EXPECT_EQ(Names(variables), "b=2;c=3;a=again;");
    EXPECT_THROW(variables.Item(3), EListError);
}

TEST(Variables, TextsAreBytes) {
    TVariables variables;
    const std::string polish = "\xB3\xB9\x9C";  // łąś in Windows-1250
    variables.SetValue(polish, std::string("a\0b", 3));
    EXPECT_EQ(variables.GetValue(polish), std::string("a\0b", 3));
    EXPECT_EQ(variables.GetValue("\xA3\xA5\x8C"), "");
}

}  // namespace
}  // namespace gb
