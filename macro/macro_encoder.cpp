#include "macro/macro_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "assign/key_tables.h"
#include "macro/macro_store.h"
#include "files/profile_file.h"
#include "settings/number_text.h"

namespace vortal {

namespace {

std::string RemoveAll(std::string_view text, std::string_view part) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(part, from)) != std::string_view::npos; from = at + part.size()) {
    out.append(text.substr(from, at - from));
  }
  out.append(text.substr(from));
  return out;
}

// The pause a line gives to the event before it: its number once every " ms"
// is taken out. A negative number means no pause, and a pause longer than
// the long form can carry is the longest it can, rather than wrapping round
// to a short one.
int PauseOf(std::string_view line) {
  return std::clamp(ReadCNumber(RemoveAll(line, kDelaySuffix)), 0, kLongPauseMaxMs);
}

// The slot of `name` in a list of names by slot, -1 when it has none.
int SlotOf(const std::vector<std::string>& names, const std::string& name) {
  const auto at = std::find(names.begin(), names.end(), name);
  const auto index = at - names.begin();
  return at != names.end() && index < kMacroSlots ? static_cast<int>(index) : -1;
}

}  // namespace

bool EncodeMacroSlot(const std::vector<std::string>& lines, std::uint8_t (&slot)[kMacroSlotSize]) {
  if (lines.empty()) {
    std::memset(slot, 0, kMacroSlotSize);
    return true;
  }
  std::memset(slot + kMacroEventAreaStart, 0, kMacroSlotSize - kMacroEventAreaStart);
  std::size_t p = kMacroEventAreaStart;
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const MacroLineKind kind = ClassifyMacroLine(lines[j]);
    if (kind == MacroLineKind::kOther) continue;
    const bool press = kind == MacroLineKind::kPress;
    const std::uint8_t flag = press ? kPressFlag : kReleaseFlag;
    const int pause = j + 1 < lines.size() ? PauseOf(lines[j + 1]) : 0;
    const std::uint8_t code =
        KeyCodeFromName(RemoveAll(lines[j], press ? kPressMarker : kReleaseMarker));
    const std::size_t size = pause <= kShortPauseMaxMs ? 2 : 4;
    if (p + size > kMacroSlotSize) return false;
    if (size == 2) {
      slot[p] = static_cast<std::uint8_t>(flag | (pause / 10));
      slot[p + 1] = code;
    } else {
      slot[p] = static_cast<std::uint8_t>(flag | (pause % 100));
      slot[p + 1] = code;
      slot[p + 2] = static_cast<std::uint8_t>(pause / 100);
      slot[p + 3] = kLongPauseMarker;
    }
    p += size;
  }
  return true;
}

MacroEncodeResult EncodeMacros(const std::string& recordPath, SettingsRecord& record) {
  MacroEncodeResult result;
  const ProfileFile file(recordPath);
  if (!file.exists()) return result;
  result.fileFound = true;
  const std::vector<std::string> names = ListMacroNames(file);
  for (std::size_t t = 0; t < names.size(); ++t) {
    if (t >= static_cast<std::size_t>(kMacroSlots)) {
      result.droppedMacros.push_back(names[t]);
      continue;
    }
    if (!EncodeMacroSlot(ReadMacro(file, names[t]), record.macroSlots[t])) {
      result.cutMacros.push_back(names[t]);
    }
    result.slotsWritten = static_cast<int>(t) + 1;
  }
  return result;
}

std::vector<RecordButton> FollowMacroSlots(SettingsRecord& record,
                                           const std::vector<std::string>& before,
                                           const std::vector<std::string>& after) {
  using LoopCount = std::array<std::uint8_t, 2>;  // bytes 0 and 1 of a slot
  std::array<LoopCount, kMacroSlots> counts{};
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    counts[slot] = {record.macroSlots[slot][0], record.macroSlots[slot][1]};
  }
  const int afterSlots = std::min(static_cast<int>(after.size()), kMacroSlots);
  for (int slot = 0; slot < afterSlots; ++slot) {
    const int from = SlotOf(before, after[slot]);
    const LoopCount count = from >= 0 ? counts[from] : LoopCount{0, 1};
    record.macroSlots[slot][0] = count[0];
    record.macroSlots[slot][1] = count[1];
  }

  std::vector<RecordButton> switchedOff;
  const int beforeSlots = std::min(static_cast<int>(before.size()), kMacroSlots);
  for (int mode = 0; mode < 2; ++mode) {
    KeyArea& area = record.area(mode);
    for (int button = 0; button < kButtonSlots; ++button) {
      if (area.keyFunction[button] != kMacroKey) continue;
      const int from = area.macroIndex[button];
      // A slot no listed macro held (a hand-edited or lost record.ini) is
      // left alone until a macro comes to take it.
      const bool unnamed = from >= beforeSlots;
      if (unnamed && from >= afterSlots) continue;
      const int to = unnamed ? -1 : SlotOf(after, before[from]);
      if (to >= 0) {
        area.macroIndex[button] = static_cast<std::uint8_t>(to);
      } else {
        area.keyFunction[button] = kKeyOff;
        switchedOff.push_back({mode, button});
      }
    }
  }
  return switchedOff;
}

int SlotLoopCount(const SettingsRecord& record, int slot) {
  return (record.macroSlots[slot][0] << 8) | record.macroSlots[slot][1];
}

void SetSlotLoopCount(SettingsRecord& record, int slot, int count) {
  record.macroSlots[slot][0] = static_cast<std::uint8_t>((count >> 8) & 0xFF);
  record.macroSlots[slot][1] = static_cast<std::uint8_t>(count & 0xFF);
}

}  // namespace vortal
