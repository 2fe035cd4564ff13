// Settings records and config.bin contents the tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "support/temp_dir.h"

namespace vortal::testing {

// A record with a different byte almost everywhere, from `seed` on.
inline SettingsRecord PatternRecord(std::uint8_t seed = 5) {
  SettingsRecord record{};
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i) {
    record.bytes()[i] = static_cast<std::uint8_t>(i * 7 + seed);
  }
  return record;
}

// The bytes of a config.bin: the first-run flag, then the record.
inline std::vector<std::uint8_t> ConfigBytes(std::uint8_t flag, const SettingsRecord& record) {
  std::vector<std::uint8_t> bytes(kSettingsFileSize);
  bytes[0] = flag;
  std::memcpy(bytes.data() + 1, record.bytes(), kSettingsRecordSize);
  return bytes;
}

// config.bin as an Apply saves it: whole, flag 1, then `record`.
inline void ExpectAppliedConfig(const std::string& path, const SettingsRecord& record,
                                const std::string& what = "") {
  EXPECT_EQ(ReadWholeBytes(path), ConfigBytes(1, record)) << what;
}

}  // namespace vortal::testing
