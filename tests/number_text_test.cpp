#include <gtest/gtest.h>

#include <climits>

#include "settings/number_text.h"

namespace vortal {
namespace {

TEST(ReadCNumber, ReadsLikeTheCLibrary) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"", 0},           {"abc", 0},         {"42", 42},          {"  42", 42},
      {"\t\r\n 7", 7},   {"-15", -15},       {"+8", 8},           {"12ms", 12},
      {"50 ms", 50},     {"1 2", 1},         {"- 5", 0},          {"--5", 0},
      {"300", 300},      {"007", 7},         {"2147483647", INT_MAX},
      {"99999999999999999999", INT_MAX},     {"-99999999999999999999", INT_MIN},
      {"-2147483648", INT_MIN},              {"0x10", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadCNumber(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace vortal
