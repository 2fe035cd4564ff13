#include "assign/key_names.h"

#include <array>

#include "assign/key_tables.h"

namespace vortal {

namespace {

struct ScanCodeName {
  unsigned scanCode;
  bool extended;
  std::string_view name;  // as in KeyNameTable
};

// Scan code set 1, as the keyboard driver reports it in a keystroke's flags.
// Every keyboard key of KeyNameTable has one row; the mouse buttons have none.
constexpr std::array<ScanCodeName, 103> kScanCodeNames = {{
    {0x1E, false, "A"}, {0x30, false, "B"}, {0x2E, false, "C"}, {0x20, false, "D"},
    {0x12, false, "E"}, {0x21, false, "F"}, {0x22, false, "G"}, {0x23, false, "H"},
    {0x17, false, "I"}, {0x24, false, "J"}, {0x25, false, "K"}, {0x26, false, "L"},
    {0x32, false, "M"}, {0x31, false, "N"}, {0x18, false, "O"}, {0x19, false, "P"},
    {0x10, false, "Q"}, {0x13, false, "R"}, {0x1F, false, "S"}, {0x14, false, "T"},
    {0x16, false, "U"}, {0x2F, false, "V"}, {0x11, false, "W"}, {0x2D, false, "X"},
    {0x15, false, "Y"}, {0x2C, false, "Z"},
    {0x02, false, "1"}, {0x03, false, "2"}, {0x04, false, "3"}, {0x05, false, "4"},
    {0x06, false, "5"}, {0x07, false, "6"}, {0x08, false, "7"}, {0x09, false, "8"},
    {0x0A, false, "9"}, {0x0B, false, "0"},
    {0x1C, false, "Enter"}, {0x01, false, "Esc"}, {0x0E, false, "Backspace"},
    {0x0F, false, "Tab"}, {0x39, false, "Space"}, {0x0C, false, "-"}, {0x0D, false, "="},
    {0x1A, false, "["}, {0x1B, false, "]"},
    // The key beside Enter: backslash on US keyboards, '#' on ISO ones. The
    // table's only usage for it is 0x32, which the system maps back to the
    // same key, so it types what the key types.
    {0x2B, false, "Eurpo(Note 2)"},
    {0x27, false, ";"}, {0x28, false, "'"}, {0x29, false, "`"}, {0x33, false, ","},
    {0x34, false, "."}, {0x35, false, "/"}, {0x3A, false, "Caps Lock"},
    {0x3B, false, "F1"}, {0x3C, false, "F2"}, {0x3D, false, "F3"}, {0x3E, false, "F4"},
    {0x3F, false, "F5"}, {0x40, false, "F6"}, {0x41, false, "F7"}, {0x42, false, "F8"},
    {0x43, false, "F9"}, {0x44, false, "F10"}, {0x57, false, "F11"}, {0x58, false, "F12"},
    {0x37, true, "Prnt Scrn"}, {0x46, false, "Scroll Lock"},
    // Pause arrives as 0x45 without the extended bit, Num Lock with it.
    {0x45, false, "Pause"}, {0x52, true, "Insert"}, {0x47, true, "Home"},
    {0x49, true, "Page Up"}, {0x53, true, "Delete"}, {0x4F, true, "End"},
    {0x51, true, "Page Down"}, {0x4D, true, "Right"}, {0x4B, true, "Left"},
    {0x50, true, "Down"}, {0x48, true, "Up"},
    {0x45, true, "Num Lock"}, {0x35, true, "Num /"}, {0x37, false, "Num *"},
    {0x4A, false, "Num -"}, {0x4E, false, "Num +"}, {0x1C, true, "Num Enter"},
    {0x4F, false, "Num 1"}, {0x50, false, "Num 2"}, {0x51, false, "Num 3"},
    {0x4B, false, "Num 4"}, {0x4C, false, "Num 5"}, {0x4D, false, "Num 6"},
    {0x47, false, "Num 7"}, {0x48, false, "Num 8"}, {0x49, false, "Num 9"},
    {0x52, false, "Num 0"}, {0x53, false, "Num Del"},
    {0x1D, false, "Ctrl"}, {0x2A, false, "Shift"}, {0x38, false, "Alt"},
    {0x5B, true, "Left Windows"}, {0x1D, true, "Right Ctrl"}, {0x36, false, "Right Shift"},
    {0x38, true, "Right Alt"}, {0x5C, true, "Right Windows"},
}};

}  // namespace

std::string_view KeyNameForScanCode(unsigned scanCode, bool extended) {
  for (const ScanCodeName& row : kScanCodeNames) {
    if (row.scanCode == scanCode && row.extended == extended) return row.name;
  }
  return {};
}

std::string KeyNameForCapture(std::string_view systemName, unsigned scanCode, bool extended) {
  const std::string_view byPosition = KeyNameForScanCode(scanCode, extended);
  if (!byPosition.empty()) return std::string(byPosition);
  return std::string(systemName);
}

}  // namespace vortal
