#include "assign/key_names.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "assign/key_tables.h"

namespace vortal {
namespace {

// Every keyboard key of the table is reached from exactly one position, and
// every position names a key the table knows.
TEST(KeyNames, EveryKeyboardKeyOfTheTableHasExactlyOnePosition) {
  std::map<std::string, int> hits;
  for (unsigned scan = 0; scan <= 0xFF; ++scan) {
    for (bool extended : {false, true}) {
      const std::string_view name = KeyNameForScanCode(scan, extended);
      if (name.empty()) continue;
      EXPECT_NE(KeyCodeFromName(name), 0) << std::hex << scan << " ext " << extended;
      ++hits[std::string(name)];
    }
  }
  int keyboardRows = 0;
  for (const KeyNameRow& row : KeyNameTable) {
    if (row.code >= 0xF0) {
      EXPECT_EQ(hits.count(std::string(row.name)), 0u) << row.name;  // mouse buttons
      continue;
    }
    ++keyboardRows;
    EXPECT_EQ(hits[std::string(row.name)], 1) << row.name;
  }
  EXPECT_EQ(keyboardRows, 103);
}

// Where the keys sit on a PC keyboard (scan code set 1).
TEST(KeyNames, PositionsOfAPcKeyboard) {
  struct Case {
    unsigned scan;
    bool extended;
    const char* name;
  } cases[] = {
      {0x1E, false, "A"},         {0x2C, false, "Z"},          {0x10, false, "Q"},
      {0x02, false, "1"},         {0x0B, false, "0"},          {0x1C, false, "Enter"},
      {0x1C, true, "Num Enter"},  {0x01, false, "Esc"},        {0x39, false, "Space"},
      {0x2B, false, "Eurpo(Note 2)"}, {0x29, false, "`"},      {0x3A, false, "Caps Lock"},
      {0x3B, false, "F1"},        {0x44, false, "F10"},        {0x57, false, "F11"},
      {0x58, false, "F12"},       {0x37, true, "Prnt Scrn"},   {0x37, false, "Num *"},
      {0x45, false, "Pause"},     {0x45, true, "Num Lock"},    {0x53, true, "Delete"},
      {0x53, false, "Num Del"},   {0x48, true, "Up"},          {0x48, false, "Num 8"},
      {0x35, true, "Num /"},      {0x35, false, "/"},          {0x1D, false, "Ctrl"},
      {0x1D, true, "Right Ctrl"}, {0x2A, false, "Shift"},      {0x36, false, "Right Shift"},
      {0x38, false, "Alt"},       {0x38, true, "Right Alt"},   {0x5B, true, "Left Windows"},
      {0x5C, true, "Right Windows"},
      // Keys the mouse cannot send.
      {0x5D, true, ""},           {0x56, false, ""},           {0x00, false, ""},
      {0x1E, true, ""},           {0x100, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyNameForScanCode(c.scan, c.extended), c.name)
        << std::hex << c.scan << " ext " << c.extended;
  }
}

TEST(KeyNameForCapture, NamesKeysByPositionAndOthersAsTheSystemDoes) {
  struct Case {
    const char* systemName;
    unsigned scan;
    bool extended;
    const char* stored;
  } cases[] = {
      {"A", 0x1E, false, "A"},
      {"Right Ctrl", 0x1D, true, "Right Ctrl"},
      // X11 names under Wine.
      {"Control", 0x1D, false, "Ctrl"},
      {"Return", 0x1C, false, "Enter"},
      {"Escape", 0x01, false, "Esc"},
      {"Super_L", 0x5B, true, "Left Windows"},
      // Other keyboard languages.
      {"Strg", 0x1D, false, "Ctrl"},
      {"Eingabe", 0x1C, false, "Enter"},
      {"\xC3\x9C", 0x1A, false, "["},  // German U umlaut on the '[' key
      // The mouse presses positions: the German Y key sits where US keyboards
      // have Z, the French A key where they have Q.
      {"Y", 0x2C, false, "Z"},
      {"A", 0x10, false, "Q"},
      {"\\", 0x2B, false, "Eurpo(Note 2)"},
      // A position the table does not know: shown as the system names it.
      {"Menu", 0x5D, true, "Menu"},
      {"Right Ctrl", 0x7F, true, "Right Ctrl"},
      {"", 0x5D, true, ""},
      {"", 0x1E, false, "A"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyNameForCapture(c.systemName, c.scan, c.extended), c.stored)
        << '"' << c.systemName << "\" " << std::hex << c.scan;
  }
}

}  // namespace
}  // namespace vortal
