#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assign/key_tables.h"

namespace vortal {
namespace {

TEST(KeyTables, KeyCodeFromNameFindsEachGroup) {
  struct Case {
    const char* name;
    int code;
  } cases[] = {
      {"A", 0x04},           {"M", 0x10},           {"Z", 0x1D},
      {"1", 0x1E},           {"9", 0x26},           {"0", 0x27},
      {"Enter", 0x28},       {"Space", 0x2C},       {"]", 0x30},
      {"Eurpo(Note 2)", 0x32}, {";", 0x33},         {"`", 0x35},
      {"/", 0x38},           {"Caps Lock", 0x39},   {"F1", 0x3A},
      {"F10", 0x43},         {"F12", 0x45},         {"Prnt Scrn", 0x46},
      {"Page Down", 0x4E},   {"Up", 0x52},          {"Num Lock", 0x53},
      {"Num Enter", 0x58},   {"Num 1", 0x59},       {"Num 9", 0x61},
      {"Num 0", 0x62},       {"Num Del", 0x63},     {"Ctrl", 0xE0},
      {"Left Windows", 0xE3}, {"Right Ctrl", 0xE4}, {"Right Windows", 0xE7},
      {"L-Button", 0xF0},    {"M-Button", 0xF2},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyCodeFromName(c.name), c.code) << '"' << c.name << '"';
}

TEST(KeyTables, KeyCodeFromNameNeedsTheExactWholeName) {
  const char* misses[] = {
      "a",          "Num 0 ",  " A",         "\\",        "",          "enter",
      "Left Ctrl",  "L-CTRL",  "B4-Button",  "Europe",    "Eurpo(Note 2) ",
      "Num0",       "F13",     "AB",         "Win",
  };
  for (const char* name : misses) EXPECT_EQ(KeyCodeFromName(name), 0) << '"' << name << '"';
  // A name with an embedded zero is not the name before the zero.
  EXPECT_EQ(KeyCodeFromName(std::string_view("A\0", 2)), 0);
}

TEST(KeyTables, KeyNameTableHasEveryUsageOnceInOrder) {
  ASSERT_EQ(KeyNameTable.size(), 106u);
  std::set<std::string_view> names;
  std::set<int> codes;
  int previous = 0;
  for (const KeyNameRow& row : KeyNameTable) {
    EXPECT_FALSE(row.name.empty());
    EXPECT_GT(row.code, previous) << row.name;  // codes rise in table order
    previous = row.code;
    names.insert(row.name);
    codes.insert(row.code);
  }
  EXPECT_EQ(names.size(), 106u);
  std::set<int> expected;
  for (int c = 0x04; c <= 0x63; ++c) {
    if (c != 0x31) expected.insert(c);
  }
  for (int c = 0xE0; c <= 0xE7; ++c) expected.insert(c);
  for (int c = 0xF0; c <= 0xF2; ++c) expected.insert(c);
  EXPECT_EQ(codes, expected);
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(KeyNameTable[i].name, std::string(1, static_cast<char>('A' + i)));
  }
}

TEST(KeyTables, KeyNameFromCodeReversesTheTable) {
  for (const KeyNameRow& row : KeyNameTable) {
    EXPECT_EQ(KeyNameFromCode(row.code), row.name);
    EXPECT_EQ(KeyCodeFromName(KeyNameFromCode(row.code)), row.code);
  }
  for (int code : {0x00, 0x03, 0x31, 0x64, 0xE8, 0xF3, 0xFF}) {
    EXPECT_TRUE(KeyNameFromCode(static_cast<std::uint8_t>(code)).empty()) << code;
  }
}

TEST(KeyTables, ModifierNamesGiveOneBitEach) {
  struct Case {
    const char* name;
    int bit;
  } cases[] = {
      {"Left Ctrl", 0x01},  {"Left Shift", 0x02},  {"Left Alt", 0x04},  {"Left Win", 0x08},
      {"Right Ctrl", 0x10}, {"Right Shift", 0x20}, {"Right Alt", 0x40}, {"Right Win", 0x80},
      {"Ctrl", 0},          {"left ctrl", 0},      {"Left Ctrl ", 0},   {"", 0},
      {"Left Windows", 0},  {"L-CTRL", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ModifierBitFromName(c.name), c.bit) << '"' << c.name << '"';
  // "Ctrl" is a key, not a modifier.
  EXPECT_EQ(KeyCodeFromName("Ctrl"), 0xE0);
  ASSERT_EQ(ModifierNameTable.size(), 8u);
  for (std::size_t i = 0; i < ModifierNameTable.size(); ++i) {
    EXPECT_EQ(ModifierNameTable[i].bit, 1u << i);
    EXPECT_EQ(ModifierNameFromBit(ModifierNameTable[i].bit), ModifierNameTable[i].name);
  }
  for (int bit : {0x00, 0x03, 0xFF}) {
    EXPECT_TRUE(ModifierNameFromBit(static_cast<std::uint8_t>(bit)).empty()) << bit;
  }
}

TEST(KeyTables, FireKeyListIndexes) {
  struct Case {
    int index;
    const char* text;
    int code;
  } cases[] = {
      {0, "A", 0x04},          {25, "Z", 0x1D},        {26, "1", 0x1E},
      {35, "0", 0x27},         {36, "L-CTRL", 0xE0},   {38, "L-ALT", 0xE2},
      {39, "R-CTRL", 0xE4},    {40, "R-SHIFT", 0xE5},  {41, "R-ALT", 0xE6},
      {42, "F1", 0x3A},        {53, "F12", 0x45},      {54, "L-Button", 0xF0},
      {57, "B4-Button", 0xF3}, {58, "B5-Button", 0xF4}, {59, "L-Tilt Wheel", 0xF5},
      {60, "R-Tilt Wheel", 0xF6},
      {61, "", 0},             {255, "", 0},           {-1, "", 0},
  };
  ASSERT_EQ(FireKeyList.size(), 61u);
  for (const Case& c : cases) {
    EXPECT_EQ(FireKeyCode(c.index), c.code) << c.index;
    EXPECT_EQ(FireKeyText(c.index), c.text) << c.index;
  }
}

TEST(KeyTables, FireKeysNamedLikeKeysHaveTheKeyCodes) {
  // Letters, digits, function keys and mouse buttons are spelt as in the key
  // name table; their codes must agree, and no fire key is a GUI key.
  int shared = 0;
  for (const FireKeyItem& item : FireKeyList) {
    EXPECT_FALSE(item.text.empty());
    EXPECT_NE(item.code, 0xE3);
    EXPECT_NE(item.code, 0xE7);
    if (std::uint8_t code = KeyCodeFromName(item.text)) {
      EXPECT_EQ(item.code, code) << item.text;
      ++shared;
    }
  }
  EXPECT_EQ(shared, 26 + 10 + 12 + 3);
}

TEST(KeyTables, MediaAndWindowsFunctionIndexes) {
  struct Case {
    int index;
    int media;
    int low;
    int high;
  } cases[] = {
      {0, 0xB5, 0x83, 1}, {1, 0xB6, 0x8A, 1}, {2, 0xB7, 0x92, 1}, {3, 0xCD, 0x94, 1},
      {4, 0xE2, 0x21, 2}, {5, 0xE9, 0x23, 2}, {6, 0xEA, 0x24, 2}, {7, 0, 0x25, 2},
      {8, 0, 0x26, 2},    {9, 0, 0x27, 2},    {10, 0, 0x2A, 2},   {11, 0, 0, 0},
      {255, 0, 0, 0},     {-1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MediaUsageLow(c.index), c.media) << c.index;
    EXPECT_EQ(WindowsUsageLow(c.index), c.low) << c.index;
    EXPECT_EQ(WindowsUsageHigh(c.index), c.high) << c.index;
  }
  EXPECT_EQ(MediaFunctionText(3), "Play/Pause");
  EXPECT_EQ(MediaFunctionText(6), "Vol-");
  EXPECT_EQ(MediaFunctionText(7), "");
  EXPECT_EQ(WindowsFunctionText(2), "Calculator");
  EXPECT_EQ(WindowsFunctionText(10), "Browser-My Favorites");
  EXPECT_EQ(WindowsFunctionText(11), "");
}

}  // namespace
}  // namespace vortal
