#include "settings/delivered_settings.h"

#include <cstring>

#include "settings/settings_file.h"

namespace vortal {

SettingsRecord DeliveredSettings() {
  SettingsRecord r{};
  RestoreButtonDefaults(r);
  r.reportRate = 1;  // 1000 Hz
  // Four stages, from slow to fast; on the 12-step sensor: 500, 1000, 1500 and 2000 DPI.
  const std::uint8_t levels[4] = {1, 3, 5, 7};
  for (int s = 0; s < 4; ++s) {
    r.dpiLevel[s] = levels[s];
    r.dpiStageEnabled[s] = 1;
  }
  r.auxLedMode = 1;  // Standard Mode
  r.auxLedParam[0] = 9;  // full brightness
  r.auxLedParam[1] = 2;  // middle speed
  r.auxLedParam[2] = 4;
  // Red, orange, yellow, green, cyan, blue, violet, white; the first four in use.
  const std::uint8_t colours[8][3] = {{255, 0, 0},   {255, 128, 0}, {255, 255, 0},
                                      {0, 255, 0},   {0, 255, 255}, {0, 0, 255},
                                      {160, 0, 255}, {255, 255, 255}};
  std::memcpy(r.loopColor, colours, sizeof colours);
  for (int i = 0; i < 4; ++i) r.loopColorEnabled[i] = 1;
  // Stage 1 red, stage 2 green, stage 3 blue, stage 4 all three.
  r.dpiStageLedBits[0] = 0x01 | 0x20;
  r.dpiStageLedBits[1] = 0x04 | 0x70;
  // The system's own pointer defaults: speed 10, 3 lines, about 550 ms, precision on.
  r.pointerPrecision = 1;
  r.mouseSpeed = 6;
  r.scrollLines = 3;
  r.doubleClickIndex = 6;
  return r;
}

std::vector<std::uint8_t> DeliveredSettingsFile() {
  std::vector<std::uint8_t> bytes(kSettingsFileSize, 0);
  const SettingsRecord record = DeliveredSettings();
  std::memcpy(bytes.data() + 1, record.bytes(), kSettingsRecordSize);
  return bytes;
}

}  // namespace vortal
