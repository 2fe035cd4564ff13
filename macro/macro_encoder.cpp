#include "macro/macro_encoder.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "assign/key_tables.h"
#include "macro/macro_store.h"
#include "macro/profile_file.h"
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

}  // namespace vortal
