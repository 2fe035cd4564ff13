// config.bin: the first-run flag byte, then the 2021-byte settings record.
// Loading and saving say how they went and why; telling the user is the
// caller's (the window in its language, vortalctl on its error stream).
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace vortal {

inline constexpr std::size_t kSettingsFileSize = 1 + kSettingsRecordSize;  // 2022

// The window's own words about the file, English in every language.
inline constexpr const char* kSettingsFileMissingText = "Config file is not exist.";
inline constexpr const char* kSettingsWriteFailedCaption = "NULL ==fp ";

enum class LoadResult {
  kNotRead,     // nothing tried to read it yet (a start that stopped early)
  kLoaded,
  kMissing,
  kWrongSize,   // not the 2022 bytes of a settings file: damaged or foreign
  kUnreadable,  // there, but it could not be read (a folder, locked, no access)
};

// Reads config.bin into the flag and the working record. The record is left
// unchanged unless loaded.
LoadResult LoadSettings(const std::string& path, SettingsState& state);

enum class SaveStatus {
  kSaved,
  kMissing,      // the file is delivered with the program and never created
  kWriteFailed,  // errorCode holds the system's code
};

struct SaveResult {
  SaveStatus status = SaveStatus::kSaved;
  int errorCode = 0;
  bool saved() const { return status == SaveStatus::kSaved; }
};

// "Config file is not exist." or "Error Code is: %d \n" (shown under
// kSettingsWriteFailedCaption); empty for a saved file.
std::string SaveProblemText(const SaveResult& result);

// Writes flag 1 and the working record over config.bin, through a temporary
// file and a rename, so the old file stays whole if anything fails. A missing
// file is never created. The flag in memory becomes 1 only when saved.
SaveResult SaveSettings(const std::string& path, SettingsState& state);

}  // namespace vortal
