#include "assign/assignment_choices.h"

#include <algorithm>

namespace vortal {

bool IsOnlyLeftClick(const SettingsRecord& record, int mode, int slot) {
  if (mode < 0 || mode > 1 || slot < 0 || slot >= kDeviceButtons) return false;
  const std::uint8_t* functions = record.area(mode).keyFunction;
  return functions[slot] == kLeftClick &&
         std::count(functions, functions + kDeviceButtons, std::uint8_t{kLeftClick}) == 1;
}

std::optional<int> ModeLosingLeftClick(const SettingsRecord& before, const SettingsRecord& after) {
  for (int mode = 0; mode < 2; ++mode) {
    if (HasLeftClickButton(before, mode) && !HasLeftClickButton(after, mode)) return mode;
  }
  return std::nullopt;
}

}  // namespace vortal
