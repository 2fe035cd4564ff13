// Readable text of what config.bin holds, for `vortalctl show`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace vortal {

// One event of a device macro slot.
struct SlotEvent {
  bool release = false;
  std::uint8_t keyCode = 0;
  int pauseMs = 0;  // after the event
  bool operator==(const SlotEvent&) const = default;
};

struct DecodedSlot {
  int loopCount = 0;
  std::vector<SlotEvent> events;
};

// Reads a 128-byte macro slot the way the mouse plays it: event records from
// byte 2, a record whose fourth byte is the marker 0x03 being the long form.
// Zero bytes that fill the rest of the slot end the list.
DecodedSlot DecodeMacroSlot(const std::uint8_t (&slot)[kMacroSlotSize]);

// "Single Key: A", "DPI Switch: DPI +", "Combo Key: Left Ctrl+Left Shift+A" ...
std::string DescribeButton(const SettingsRecord& record, int mode, int button);

// "Standard Mode, brightness 55%" ...
std::string DescribeLed(const SettingsRecord& record);

// "A Dn, 50 ms, A Up": the macro's events with the pauses between them.
std::string DescribeSlotEvents(const DecodedSlot& slot);

struct ReportContext {
  std::optional<std::uint8_t> sensorType;  // known when the mouse answered
  std::vector<std::string> macroNames;     // record.ini's sections, slot order
};

// The whole record, one setting per line.
std::string DescribeSettings(const SettingsState& state, const ReportContext& context);

}  // namespace vortal
