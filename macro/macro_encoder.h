// Turns the macros of "record.ini" into the event bytes of the mouse's twelve
// 128-byte macro slots in the settings record.
//
// Slot layout: bytes 0 and 1 are the loop count (big-endian, kept by the
// encoder); from byte 2 one record per press or release line, zeros after the
// last. A record carries the pause d (ms) after its event, taken from the
// next line: d <= 1270 gives two bytes (D | d/10, key code), a longer pause
// four (D | d%100, key code, d/100, 0x03), with D = 0x00 for a press and 0x80
// for a release.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace vortal {

inline constexpr std::size_t kMacroEventAreaStart = 2;
inline constexpr std::uint8_t kPressFlag = 0x00;
inline constexpr std::uint8_t kReleaseFlag = 0x80;
inline constexpr int kShortPauseMaxMs = 1270;  // 7 bits of 10 ms
inline constexpr std::uint8_t kLongPauseMarker = 0x03;
// The long form holds the hundreds in one byte: 255 * 100 + 99 ms at most.
inline constexpr int kLongPauseMaxMs = 25599;

// One macro's lines into one slot. No lines: the whole slot becomes zero,
// loop count included. Otherwise the loop count stays and the event area is
// written afresh. Records that no longer fit in the 126-byte event area are
// left out, never written past the slot; returns false when that happened.
bool EncodeMacroSlot(const std::vector<std::string>& lines, std::uint8_t (&slot)[kMacroSlotSize]);

struct MacroEncodeResult {
  bool fileFound = false;
  int slotsWritten = 0;                    // slots 0 .. slotsWritten-1 were encoded
  std::vector<std::string> cutMacros;      // too long for a slot: their last events are missing
  std::vector<std::string> droppedMacros;  // beyond the twelfth: in no slot at all
};

// Encodes every macro of the file, in the order of ListMacroNames, into slot
// 0, 1, 2 ... of the record. Slots after the last macro keep their contents;
// without the file nothing changes.
MacroEncodeResult EncodeMacros(const std::string& recordPath, SettingsRecord& record);

}  // namespace vortal
