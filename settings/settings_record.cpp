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

}  // namespace vortal
