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

// A slot's loop count: bytes 0 and 1, high byte first; the macro editor
// takes 1 to kMaxLoopCount.
inline constexpr int kMaxLoopCount = 65535;
int SlotLoopCount(const SettingsRecord& record, int slot);
void SetSlotLoopCount(SettingsRecord& record, int slot, int count);

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

// One button of the record: mode 0 (A) or 1 (B), button slot 0..11.
struct RecordButton {
  int mode = 0;
  int button = 0;
  friend bool operator==(const RecordButton&, const RecordButton&) = default;
};

// Keeps the record's loop counts and Macro Key buttons with their macros when
// the list of macros changes (a macro created, confirmed, which moves it to
// the end of the file, or deleted). `before` holds the macro names by slot as
// the record refers to them now, `after` the names by slot from now on; the
// first twelve of each have slots. Each loop count moves to its macro's new
// slot (a name new in `after` starts at 1), and every Macro Key button of
// both modes is pointed at its macro's new slot, its loop mode kept. A button
// whose macro is in no slot any more (deleted, or moved past the twelfth)
// becomes Key Off rather than play whatever takes its slot, and so does a
// button of a slot no name of `before` held once `after` gives that slot a
// macro; those buttons are returned. Runs before the encoder, which then
// rewrites the event areas in the new order.
std::vector<RecordButton> FollowMacroSlots(SettingsRecord& record,
                                           const std::vector<std::string>& before,
                                           const std::vector<std::string>& after);

}  // namespace vortal
