#include <gtest/gtest.h>

#include "settings/delivered_settings.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

// The delivered settings must be ones the pages themselves could have produced.
TEST(DeliveredSettings, KeepTheInvariantsOfTheEditingPages) {
  const SettingsRecord r = DeliveredSettings();
  for (int mode = 0; mode < 2; ++mode) {
    int leftClicks = 0, shifts = 0;
    for (int b = 0; b < kDeviceButtons; ++b) {
      leftClicks += r.area(mode).keyFunction[b] == kLeftClick;
      shifts += r.area(mode).keyFunction[b] == kShift;
      if (r.area(mode).keyFunction[b] == kDpiSwitch) {
        EXPECT_GE(r.dpiSwitchFor(mode)[b], 1);
        EXPECT_LE(r.dpiSwitchFor(mode)[b], 3);
      }
    }
    EXPECT_GE(leftClicks, 1) << "mode " << mode;
    EXPECT_LE(shifts, 1) << "mode " << mode;
  }
  int stages = 0;
  for (int s = 0; s < 4; ++s) {
    stages += r.dpiStageEnabled[s] == 1;
    EXPECT_LT(r.dpiLevel[s], 8) << "levels must exist on every sensor type";
  }
  EXPECT_GE(stages, 1);
  EXPECT_TRUE(r.reportRate == 1 || r.reportRate == 2 || r.reportRate == 4 || r.reportRate == 8);
  EXPECT_LE(r.auxLedMode, 3);
  EXPECT_LE(r.auxLedParam[0], 9);
  EXPECT_LE(r.auxLedParam[1], 4);
  EXPECT_LE(r.auxLedParam[2], 29);
  EXPECT_GE(r.mouseSpeed, 1);
  EXPECT_LE(r.mouseSpeed, 11);
  EXPECT_LE(r.scrollLines, 11);
  EXPECT_GE(r.doubleClickIndex, 1);
  EXPECT_LE(r.doubleClickIndex, 11);
}

TEST(DeliveredSettings, FileLoadsWithFirstRunFlagZero) {
  testing::TempDir dir;
  SettingsState state;
  ASSERT_EQ(LoadSettings(dir.Write("config.bin", DeliveredSettingsFile()), state), LoadResult::kLoaded);
  EXPECT_EQ(state.firstRunFlag, 0);
  EXPECT_EQ(state.working.reportRate, DeliveredSettings().reportRate);
}

// dist/ holds the files shipped beside the program; config.bin must be the
// delivered settings byte for byte.
TEST(DeliveredSettings, ShippedConfigFileMatchesTheDefaults) {
  EXPECT_EQ(testing::ReadWholeBytes(std::string(VORTAL_SOURCE_DIR) + "/dist/config.bin"), DeliveredSettingsFile());
}

}  // namespace
}  // namespace vortal
