#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

TEST(LoadSettings, ReadsFlagAndRecordOnlyFromAFileOfExactly2022Bytes) {
  struct Case {
    std::size_t size;
    LoadResult expected;
  } cases[] = {{2022, LoadResult::kLoaded},   {2021, LoadResult::kWrongSize},
               {2023, LoadResult::kWrongSize}, {0, LoadResult::kWrongSize},
               {1, LoadResult::kWrongSize},    {100000, LoadResult::kWrongSize}};
  for (const Case& c : cases) {
    TempDir dir;
    std::vector<std::uint8_t> file = Pattern(c.size, 3);
    if (!file.empty()) file[0] = 0;  // delivered file: first-run flag 0
    dir.Write("config.bin", file);
    SettingsState state;
    state.working.reportRate = 0x55;  // what was there before must survive an ignored file
    EXPECT_EQ(LoadSettings(dir.File("config.bin"), state), c.expected) << c.size;
    if (c.expected == LoadResult::kLoaded) {
      EXPECT_EQ(state.firstRunFlag, 0);
      EXPECT_EQ(std::memcmp(state.working.bytes(), file.data() + 1, kSettingsRecordSize), 0);
    } else {
      EXPECT_EQ(state.working.reportRate, 0x55) << c.size;
    }
  }
}

TEST(LoadSettings, AMissingFileOrAFolderInItsPlaceIsToldAndLeavesTheRecordAlone) {
  for (bool folder : {false, true}) {
    TempDir dir;
    if (folder) dir.MakeFolder("config.bin");
    SettingsState state;
    state.working.dpiLevel[2] = 9;
    EXPECT_EQ(LoadSettings(dir.File("config.bin"), state),
              folder ? LoadResult::kUnreadable : LoadResult::kMissing);
    EXPECT_EQ(state.working.dpiLevel[2], 9);
  }
}

TEST(SaveSettings, WritesFlagOneAndTheWholeRecordKeepingReservedBytes) {
  TempDir dir;
  std::vector<std::uint8_t> delivered = Pattern(kSettingsFileSize, 11);
  delivered[0] = 0;
  dir.Write("config.bin", delivered);

  SettingsState state;
  ASSERT_EQ(LoadSettings(dir.File("config.bin"), state), LoadResult::kLoaded);
  state.working.reportRate = 2;
  state.working.macroSlots[11][127] = 0xEE;
  ASSERT_TRUE(SaveSettings(dir.File("config.bin"), state).saved());
  EXPECT_EQ(state.firstRunFlag, 1);

  std::vector<std::uint8_t> saved = dir.ReadBytes("config.bin");
  ASSERT_EQ(saved.size(), kSettingsFileSize);
  EXPECT_EQ(saved[0], 1);
  EXPECT_EQ(saved[1 + 1925], 2);
  EXPECT_EQ(saved[1 + 1919], 0xEE);
  // Everything the program never writes comes back byte for byte.
  for (std::size_t offset : {1920u, 1921u, 1922u, 1923u, 1924u, 1926u, 1939u, 1946u, 1951u,
                             1952u, 1953u, 1954u, 2019u, 2020u})
    EXPECT_EQ(saved[1 + offset], delivered[1 + offset]) << offset;
  // No temporary file is left beside it.
  EXPECT_EQ(dir.List(), std::vector<std::string>{"config.bin"});
}

TEST(SettingsState, CancelRestoresEveryByteOfTheAppliedRecord) {
  SettingsState state;
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i)
    state.working.bytes()[i] = static_cast<std::uint8_t>(i * 13);
  state.Snapshot();
  SettingsRecord before = state.working;
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i) state.working.bytes()[i] ^= 0xFF;
  state.Revert();
  EXPECT_EQ(std::memcmp(state.working.bytes(), before.bytes(), kSettingsRecordSize), 0);
}

TEST(RestoreButtonDefaults, SetsButtonsZeroToEightInBothModesAndNothingElse) {
  SettingsRecord record;
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i)
    record.bytes()[i] = static_cast<std::uint8_t>(0xA0 + i % 7);
  const SettingsRecord before = record;
  RestoreButtonDefaults(record);

  const std::uint8_t expected[9] = {0, 1, 2, 3, 4, 6, 6, 5, 15};
  std::vector<std::size_t> changed;
  for (int mode = 0; mode < 2; ++mode) {
    for (int b = 0; b < 9; ++b) {
      EXPECT_EQ(record.area(mode).keyFunction[b], expected[b]) << mode << ' ' << b;
      changed.push_back(static_cast<std::size_t>(mode * 192 + b));
    }
    EXPECT_EQ(record.dpiSwitchFor(mode)[5], 1);
    EXPECT_EQ(record.dpiSwitchFor(mode)[6], 2);
  }
  changed.insert(changed.end(), {1961 + 5, 1961 + 6, 1973 + 5, 1973 + 6});
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i) {
    if (std::find(changed.begin(), changed.end(), i) != changed.end()) continue;
    EXPECT_EQ(record.bytes()[i], before.bytes()[i]) << "offset " << i;
  }
}

}  // namespace
}  // namespace vortal
