#include "tools/settings_report.h"

#include <array>
#include <cstdio>
#include <sstream>

#include "assign/key_tables.h"
#include "device/device_commands.h"
#include "texts/texts.h"

namespace vortal {
namespace {

constexpr std::uint8_t kLongRecordMarker = 0x03;  // byte 3 of a 4-byte macro record
constexpr std::uint8_t kReleaseBit = 0x80;
constexpr int kSlotEventStart = 2;

constexpr const char* kModeNames[2] = {"Mode A", "Mode B"};
constexpr const char* kDpiActions[4] = {"", "DPI +", "DPI -", "DPI Loop"};
// The macro selection dialog's repeat modes, stored as the mode minus 1.
constexpr const char* kMacroRepeatModes[3] = {"repeat a set number of times or until any key",
                                              "repeat until any key", "repeat while held"};
constexpr const char* kLedModes[4] = {"Off Mode", "Standard Mode", "Respiration Mode", "Neon Mode"};
constexpr const char* kBrightness[10] = {"5%",  "15%", "25%", "35%", "45%",
                                         "55%", "65%", "75%", "85%", "100%"};
constexpr const char* kRespirationSpeed[5] = {"8S", "7S", "6S", "5S", "4S"};
constexpr int kNeonTimes = 30;  // 0.5 s to 15 s in half seconds

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string KeyName(std::uint8_t code) {
  std::string_view name = KeyNameFromCode(code);
  return name.empty() ? "key " + Hex(code) : std::string(name);
}

std::string ListText(std::string_view text, int index) {
  return text.empty() ? "item " + std::to_string(index) : std::string(text);
}

std::string FunctionName(std::uint8_t type) {
  if (type < kFunctionListTexts.size())
    return std::string(LocalizedText(Language::kEnglish, kFunctionListTexts[type]));
  return "unknown function " + std::to_string(type);
}

std::string Modifiers(std::uint8_t mask) {
  std::string names;
  for (int bit = 0; bit < 8; ++bit) {
    if (!(mask & (1u << bit))) continue;
    std::string_view name = ModifierNameFromBit(static_cast<std::uint8_t>(1u << bit));
    names += (name.empty() ? "modifier bit " + std::to_string(bit) : std::string(name)) + "+";
  }
  return names;
}

std::string NeonTime(int index) {
  int halves = index + 1;
  return std::to_string(halves / 2) + (halves % 2 ? ".5S" : "S");
}

std::string ReportRate(std::uint8_t code) {
  switch (code) {
    case 1:
      return "1000 Hz";
    case 2:
      return "500 Hz";
    case 4:
      return "250 Hz";
    case 8:
      return "125 Hz";
    default:
      return "not set (code " + std::to_string(code) + ")";
  }
}

}  // namespace

DecodedSlot DecodeMacroSlot(const std::uint8_t (&slot)[kMacroSlotSize]) {
  DecodedSlot decoded;
  decoded.loopCount = slot[0] << 8 | slot[1];
  int end = kMacroSlotSize;
  while (end > kSlotEventStart && slot[end - 1] == 0) --end;
  // Records are whole pairs: a key code 0 at the end still belongs to its record.
  if ((end - kSlotEventStart) % 2) ++end;
  for (int p = kSlotEventStart; p + 1 < end;) {
    SlotEvent event;
    event.release = slot[p] & kReleaseBit;
    event.keyCode = slot[p + 1];
    const int low = slot[p] & ~kReleaseBit & 0xFF;
    if (p + 3 < kMacroSlotSize && slot[p + 3] == kLongRecordMarker) {
      event.pauseMs = slot[p + 2] * 100 + low;
      p += 4;
    } else {
      event.pauseMs = low * 10;
      p += 2;
    }
    decoded.events.push_back(event);
  }
  return decoded;
}

std::string DescribeButton(const SettingsRecord& record, int mode, int button) {
  const KeyArea& area = record.area(mode);
  const std::uint8_t type = area.keyFunction[button];
  std::string text = FunctionName(type);
  std::string detail;
  switch (type) {
    case kDpiSwitch: {
      std::uint8_t action = record.dpiSwitchFor(mode)[button];
      detail =
          action >= 1 && action <= 3 ? kDpiActions[action] : "action " + std::to_string(action);
      break;
    }
    case kWindowsFunction:
      detail = ListText(WindowsFunctionText(area.windowsIndex[button]), area.windowsIndex[button]) +
               " (code " + Hex(area.windowsCode[button]) + ", class " +
               std::to_string(area.windowsClass[button]) + ")";
      break;
    case kMultimedia:
      detail = ListText(MediaFunctionText(area.mediaIndex[button]), area.mediaIndex[button]) +
               " (code " + Hex(area.mediaCode[button]) + ")";
      break;
    case kFireKey:
      detail = KeyName(area.fireCode[button]) + ", speed " +
               std::to_string(area.fireSpeed[button]) + ", " +
               (area.fireTimes[button] == 0 ? std::string("until released")
                                            : std::to_string(area.fireTimes[button]) + " shots");
      break;
    case kSingleKey:
      detail = KeyName(area.singleKeyCode[button]);
      break;
    case kComboKey:
      detail = Modifiers(area.comboModifiers[button]) + KeyName(area.comboKey1[button]);
      if (area.comboKey2[button]) detail += "+" + KeyName(area.comboKey2[button]);
      break;
    case kMacroKey: {
      const int loopMode = area.macroLoopMode[button];
      detail = "macro slot " + std::to_string(area.macroIndex[button] + 1) + ", " +
               (loopMode < 3 ? kMacroRepeatModes[loopMode]
                             : "repeat mode " + std::to_string(loopMode + 1));
      break;
    }
    default:
      break;
  }
  return detail.empty() ? text : text + ": " + detail;
}

std::string DescribeLed(const SettingsRecord& record) {
  const std::uint8_t mode = record.auxLedMode;
  if (mode > 3) return "mode " + std::to_string(mode) + " (the mouse keeps its last mode)";
  std::string text = kLedModes[mode];
  const int param = mode >= 1 ? record.auxLedParam[mode - 1] : 0;
  switch (mode) {
    case 0:
      return text + " (the mouse keeps its last mode)";
    case 1:
      return text + ", brightness " +
             (param < 10 ? kBrightness[param] : "index " + std::to_string(param));
    case 2:
      return text + ", speed " +
             (param < 5 ? kRespirationSpeed[param] : "index " + std::to_string(param));
    default:
      return text + ", time " +
             (param < kNeonTimes ? NeonTime(param) : "index " + std::to_string(param));
  }
}

std::string DescribeSlotEvents(const DecodedSlot& slot) {
  std::string text;
  for (const SlotEvent& e : slot.events) {
    if (!text.empty()) text += ", ";
    text += KeyName(e.keyCode) + (e.release ? " Up" : " Dn");
    if (e.pauseMs) text += ", " + std::to_string(e.pauseMs) + " ms";
  }
  return text;
}

std::string DescribeSettings(const SettingsState& state, const ReportContext& context) {
  const SettingsRecord& r = state.working;
  std::ostringstream out;
  out << "First-run flag: " << int(state.firstRunFlag)
      << (state.firstRunFlag ? " (written by the program)" : " (as delivered)") << "\n";
  out << "Edited mode: " << (r.editedMode <= 1 ? kModeNames[r.editedMode] : "unknown") << "\n";
  for (int mode = 0; mode < 2; ++mode) {
    out << kModeNames[mode] << " buttons:\n";
    for (int button = 0; button < kDeviceButtons; ++button)
      out << "  Button " << button + 1 << ": " << DescribeButton(r, mode, button) << "\n";
  }
  out << "Report rate: " << ReportRate(r.reportRate) << "\n";

  out << "DPI stages";
  if (context.sensorType) out << " (sensor type " << int(*context.sensorType) << ")";
  out << ":\n";
  for (int stage = 0; stage < kDpiStages; ++stage) {
    out << "  Stage " << stage + 1 << ": ";
    std::string label = context.sensorType ? DpiLabel(*context.sensorType, r.dpiLevel[stage]) : "";
    if (!label.empty())
      out << label << " DPI (level " << int(r.dpiLevel[stage]) + 1 << ")";
    else
      out << "level " << int(r.dpiLevel[stage]) + 1;
    out << (r.dpiStageEnabled[stage] ? ", enabled" : ", disabled") << "\n";
  }

  out << "LED: " << DescribeLed(r) << "\n";
  out << "Loop colours:\n";
  for (int i = 0; i < 8; ++i) {
    char rgb[8];
    std::snprintf(rgb, sizeof rgb, "%02X%02X%02X", r.loopColor[i][0], r.loopColor[i][1],
                  r.loopColor[i][2]);
    out << "  Colour " << i + 1 << ": #" << rgb
        << (r.loopColorEnabled[i] == 1 ? ", in use" : ", not in use") << "\n";
  }
  out << "DPI colour bits:\n";
  for (int stage = 0; stage < kDpiStages; ++stage) {
    const int nibble = (r.dpiStageLedBits[stage / 2] >> (stage % 2 ? 4 : 0)) & 0x0F;
    out << "  Stage " << stage + 1 << ":";
    for (int bit = 0; bit < 4; ++bit) out << ((nibble >> bit) & 1 ? " on" : " off");
    out << "\n";
  }

  out << "Macro slots:\n";
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    out << "  Slot " << slot + 1;
    if (static_cast<std::size_t>(slot) < context.macroNames.size())
      out << " (" << context.macroNames[static_cast<std::size_t>(slot)] << ")";
    DecodedSlot decoded = DecodeMacroSlot(r.macroSlots[slot]);
    if (decoded.loopCount == 0 && decoded.events.empty()) {
      out << ": empty\n";
      continue;
    }
    out << ": loop " << decoded.loopCount << ", " << decoded.events.size()
        << (decoded.events.size() == 1 ? " event" : " events");
    if (!decoded.events.empty()) out << ": " << DescribeSlotEvents(decoded);
    out << "\n";
  }

  out << "Pointer:\n"
      << "  Speed: " << int(r.mouseSpeed) << "\n"
      << "  Enhance pointer precision: " << (r.pointerPrecision == 1 ? "on" : "off") << "\n"
      << "  Wheel: "
      << (r.scrollOneScreen == 1 ? "one screen" : std::to_string(r.scrollLines) + " lines") << "\n"
      << "  Double-click speed: position " << int(r.doubleClickIndex) << "\n";
  return out.str();
}

}  // namespace vortal
