// config.bin: the first-run flag byte, then the 2021-byte settings record.
#pragma once

#include <string>

#include "settings/settings_record.h"
#include "settings/user_messages.h"

namespace vortal {

inline constexpr std::size_t kSettingsFileSize = 1 + kSettingsRecordSize;  // 2022

enum class LoadResult {
  kNotRead,     // nothing tried to read it yet (a start that stopped early)
  kLoaded,
  kMissing,
  kWrongSize,   // not the 2022 bytes of a settings file: damaged or foreign
  kUnreadable,  // there, but it could not be read (a folder, locked, no access)
};

// Reads config.bin into the flag and the working record. A missing file shows
// "Config file is not exist."; a file of another size, or one that cannot be
// read, is ignored silently. The record is left unchanged unless loaded.
LoadResult LoadSettings(const std::string& path, SettingsState& state, UserMessages& messages);

// Writes flag 1 and the working record over config.bin, through a temporary
// file and a rename, so the old file stays whole if anything fails. A missing
// file is never created ("Config file is not exist."); a failed write shows
// "Error Code is: %d \n". Returns true when the file was written.
bool SaveSettings(const std::string& path, SettingsState& state, UserMessages& messages);

}  // namespace vortal
