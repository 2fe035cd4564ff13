// The fixed tables that turn what the user sees (key names, list items) into
// the one-byte codes the mouse understands: HID keyboard usages (page 0x07),
// the mouse's own button codes 0xF0..0xF6, and HID consumer usages (page 0x0C).
// Pure data with lookups; no state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vortal {

struct KeyNameRow {
  std::string_view name;  // as the system's key-name service spells it (English)
  std::uint8_t code;
};

struct ModifierNameRow {
  std::string_view name;
  std::uint8_t bit;  // HID modifier byte: bit 0 left Ctrl ... bit 7 right GUI
};

struct FireKeyItem {
  std::string_view text;  // the fire key dialog's list item
  std::uint8_t code;
};

struct MediaFunctionItem {
  std::string_view text;    // English list item
  std::uint8_t usageLow;    // consumer usage; all lie below 0x100
};

struct WindowsFunctionItem {
  std::string_view text;    // English list item
  std::uint8_t usageLow;    // low byte of the consumer usage
  std::uint8_t usageHigh;   // high-byte selector: 1 for 0x01xx, 2 for 0x02xx
};

inline constexpr std::size_t kKeyNameCount = 106;
inline constexpr std::size_t kModifierNameCount = 8;
inline constexpr std::size_t kFireKeyCount = 61;
inline constexpr std::size_t kMediaFunctionCount = 7;
inline constexpr std::size_t kWindowsFunctionCount = 11;

// Key names in lookup order. Usage 0x31 has no row; "Eurpo(Note 2)" is the
// name the stored macros and the mouse's tools have always used for 0x32.
extern const std::array<KeyNameRow, kKeyNameCount> KeyNameTable;
// Also the items of the combo key dialog's modifier list, in this order.
extern const std::array<ModifierNameRow, kModifierNameCount> ModifierNameTable;
extern const std::array<FireKeyItem, kFireKeyCount> FireKeyList;
extern const std::array<MediaFunctionItem, kMediaFunctionCount> MediaFunctionList;
extern const std::array<WindowsFunctionItem, kWindowsFunctionCount> WindowsFunctionList;

// Exact, case-sensitive comparison of the whole text in table order; the first
// equal row gives the code, none gives 0 (the caller then treats the key as
// absent).
std::uint8_t KeyCodeFromName(std::string_view name);
std::uint8_t ModifierBitFromName(std::string_view name);

// List index in, byte out. Indexes outside a list (negative ones included,
// such as a list box's "no selection") give 0.
std::uint8_t FireKeyCode(int index);
std::uint8_t MediaUsageLow(int index);
std::uint8_t WindowsUsageLow(int index);
std::uint8_t WindowsUsageHigh(int index);

// Reverse lookups for showing stored assignments. Empty when nothing matches.
std::string_view KeyNameFromCode(std::uint8_t code);      // first row with the code
std::string_view ModifierNameFromBit(std::uint8_t bit);   // exactly one bit set
std::string_view FireKeyText(int index);
std::string_view MediaFunctionText(int index);
std::string_view WindowsFunctionText(int index);

}  // namespace vortal
