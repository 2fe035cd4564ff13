#include "settings/settings_record.h"

namespace vortal {

void RestoreButtonDefaults(SettingsRecord& record) {
  static constexpr std::uint8_t kDefaults[9] = {kLeftClick,  kRightClick, kMidClick,
                                                kForward,    kBackward,   kDpiSwitch,
                                                kDpiSwitch,  kTripleClick, kKeyOff};
  for (int mode = 0; mode < 2; ++mode) {
    KeyArea& area = record.area(mode);
    for (int b = 0; b < 9; ++b) area.keyFunction[b] = kDefaults[b];
    record.dpiSwitchFor(mode)[5] = 1;  // DPI +
    record.dpiSwitchFor(mode)[6] = 2;  // DPI -
  }
}

bool IsSharedButton(const SettingsRecord& record, int mode, int slot) {
  return record.area(mode).keyFunction[slot] == kShift;
}

bool HasLeftClickButton(const SettingsRecord& record, int mode) {
  const std::uint8_t* functions = record.area(mode).keyFunction;
  for (int slot = 0; slot < kDeviceButtons; ++slot) {
    if (functions[slot] == kLeftClick) return true;
  }
  return false;
}

void CopyButtonToOtherMode(SettingsRecord& record, int mode, int slot) {
  const KeyArea& from = record.area(mode);
  KeyArea& to = record.area(1 - mode);
  // KeyArea is one column of kButtonSlots bytes per field.
  const auto* source = reinterpret_cast<const std::uint8_t*>(&from);
  auto* target = reinterpret_cast<std::uint8_t*>(&to);
  constexpr std::size_t kColumn = kButtonSlots;
  static_assert(sizeof(KeyArea) % kColumn == 0);
  for (std::size_t field = 0; field < sizeof(KeyArea); field += kColumn) {
    target[field + static_cast<std::size_t>(slot)] = source[field + static_cast<std::size_t>(slot)];
  }
  record.dpiSwitchFor(1 - mode)[slot] = record.dpiSwitchFor(mode)[slot];
}

}  // namespace vortal
