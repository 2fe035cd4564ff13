// The settings a new mouse ships with: what the delivered config.bin holds
// (first-run flag 0, so the first start also writes the default pane texts).
#pragma once

#include <cstdint>
#include <vector>

#include "settings/settings_record.h"

namespace vortal {

SettingsRecord DeliveredSettings();

// The 2022 bytes of the delivered config.bin.
std::vector<std::uint8_t> DeliveredSettingsFile();

}  // namespace vortal
