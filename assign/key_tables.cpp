#include "assign/key_tables.h"

namespace vortal {

const std::array<KeyNameRow, kKeyNameCount> KeyNameTable = {{
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09},
    {"G", 0x0A}, {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F},
    {"M", 0x10}, {"N", 0x11}, {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15},
    {"S", 0x16}, {"T", 0x17}, {"U", 0x18}, {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B},
    {"Y", 0x1C}, {"Z", 0x1D},
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22},
    {"6", 0x23}, {"7", 0x24}, {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    {"Enter", 0x28}, {"Esc", 0x29}, {"Backspace", 0x2A}, {"Tab", 0x2B}, {"Space", 0x2C},
    {"-", 0x2D}, {"=", 0x2E}, {"[", 0x2F}, {"]", 0x30},
    {"Eurpo(Note 2)", 0x32},
    {";", 0x33}, {"'", 0x34}, {"`", 0x35}, {",", 0x36}, {".", 0x37}, {"/", 0x38},
    {"Caps Lock", 0x39},
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F},
    {"F7", 0x40}, {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    {"Prnt Scrn", 0x46}, {"Scroll Lock", 0x47}, {"Pause", 0x48}, {"Insert", 0x49},
    {"Home", 0x4A}, {"Page Up", 0x4B}, {"Delete", 0x4C}, {"End", 0x4D},
    {"Page Down", 0x4E}, {"Right", 0x4F}, {"Left", 0x50}, {"Down", 0x51}, {"Up", 0x52},
    {"Num Lock", 0x53}, {"Num /", 0x54}, {"Num *", 0x55}, {"Num -", 0x56},
    {"Num +", 0x57}, {"Num Enter", 0x58},
    {"Num 1", 0x59}, {"Num 2", 0x5A}, {"Num 3", 0x5B}, {"Num 4", 0x5C}, {"Num 5", 0x5D},
    {"Num 6", 0x5E}, {"Num 7", 0x5F}, {"Num 8", 0x60}, {"Num 9", 0x61},
    {"Num 0", 0x62}, {"Num Del", 0x63},
    {"Ctrl", 0xE0}, {"Shift", 0xE1}, {"Alt", 0xE2}, {"Left Windows", 0xE3},
    {"Right Ctrl", 0xE4}, {"Right Shift", 0xE5}, {"Right Alt", 0xE6},
    {"Right Windows", 0xE7},
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2},
}};

const std::array<ModifierNameRow, kModifierNameCount> ModifierNameTable = {{
    {"Left Ctrl", 0x01}, {"Left Shift", 0x02}, {"Left Alt", 0x04}, {"Left Win", 0x08},
    {"Right Ctrl", 0x10}, {"Right Shift", 0x20}, {"Right Alt", 0x40}, {"Right Win", 0x80},
}};

// The fire list has no GUI keys: the modifiers skip 0xE3 and 0xE7.
const std::array<FireKeyItem, kFireKeyCount> FireKeyList = {{
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09},
    {"G", 0x0A}, {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F},
    {"M", 0x10}, {"N", 0x11}, {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15},
    {"S", 0x16}, {"T", 0x17}, {"U", 0x18}, {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B},
    {"Y", 0x1C}, {"Z", 0x1D},
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22},
    {"6", 0x23}, {"7", 0x24}, {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    {"L-CTRL", 0xE0}, {"L-SHIFT", 0xE1}, {"L-ALT", 0xE2},
    {"R-CTRL", 0xE4}, {"R-SHIFT", 0xE5}, {"R-ALT", 0xE6},
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F},
    {"F7", 0x40}, {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2}, {"B4-Button", 0xF3},
    {"B5-Button", 0xF4}, {"L-Tilt Wheel", 0xF5}, {"R-Tilt Wheel", 0xF6},
}};

const std::array<MediaFunctionItem, kMediaFunctionCount> MediaFunctionList = {{
    {"Next", 0xB5},        // Scan Next Track
    {"Previous", 0xB6},    // Scan Previous Track
    {"Stop", 0xB7},        // Stop
    {"Play/Pause", 0xCD},  // Play/Pause
    {"Mute", 0xE2},        // Mute
    {"Vol+", 0xE9},        // Volume Increment
    {"Vol-", 0xEA},        // Volume Decrement
}};

const std::array<WindowsFunctionItem, kWindowsFunctionCount> WindowsFunctionList = {{
    {"Multimedia Player", 0x83, 1},     // AL Consumer Control Configuration
    {"Mail", 0x8A, 1},                  // AL Email Reader
    {"Calculator", 0x92, 1},            // AL Calculator
    {"My Computer", 0x94, 1},           // AL Local Machine Browser
    {"Browser-Search", 0x21, 2},        // AC Search
    {"Browser-Home", 0x23, 2},          // AC Home
    {"Browser-Back", 0x24, 2},          // AC Back
    {"Browser-Forward", 0x25, 2},       // AC Forward
    {"Browser-Stop", 0x26, 2},          // AC Stop
    {"Browser-Refresh", 0x27, 2},       // AC Refresh
    {"Browser-My Favorites", 0x2A, 2},  // AC Bookmarks
}};

namespace {

template <typename Table>
const typename Table::value_type* At(const Table& table, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

}  // namespace

std::uint8_t KeyCodeFromName(std::string_view name) {
  for (const KeyNameRow& row : KeyNameTable) {
    if (row.name == name) return row.code;
  }
  return 0;
}

std::uint8_t ModifierBitFromName(std::string_view name) {
  for (const ModifierNameRow& row : ModifierNameTable) {
    if (row.name == name) return row.bit;
  }
  return 0;
}

std::uint8_t FireKeyCode(int index) {
  const FireKeyItem* item = At(FireKeyList, index);
  return item ? item->code : 0;
}

std::uint8_t MediaUsageLow(int index) {
  const MediaFunctionItem* item = At(MediaFunctionList, index);
  return item ? item->usageLow : 0;
}

std::uint8_t WindowsUsageLow(int index) {
  const WindowsFunctionItem* item = At(WindowsFunctionList, index);
  return item ? item->usageLow : 0;
}

std::uint8_t WindowsUsageHigh(int index) {
  const WindowsFunctionItem* item = At(WindowsFunctionList, index);
  return item ? item->usageHigh : 0;
}

std::string_view KeyNameFromCode(std::uint8_t code) {
  if (code == 0) return {};
  for (const KeyNameRow& row : KeyNameTable) {
    if (row.code == code) return row.name;
  }
  return {};
}

std::string_view ModifierNameFromBit(std::uint8_t bit) {
  for (const ModifierNameRow& row : ModifierNameTable) {
    if (row.bit == bit) return row.name;
  }
  return {};
}

std::string_view FireKeyText(int index) {
  const FireKeyItem* item = At(FireKeyList, index);
  return item ? item->text : std::string_view{};
}

std::string_view MediaFunctionText(int index) {
  const MediaFunctionItem* item = At(MediaFunctionList, index);
  return item ? item->text : std::string_view{};
}

std::string_view WindowsFunctionText(int index) {
  const WindowsFunctionItem* item = At(WindowsFunctionList, index);
  return item ? item->text : std::string_view{};
}

}  // namespace vortal
