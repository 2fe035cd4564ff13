#include "settings/settings_file.h"

#include <cstring>
#include <vector>

#include "files/file_io.h"

namespace vortal {

LoadResult LoadSettings(const std::string& path, SettingsState& state) {
  if (!PathExists(path)) return LoadResult::kMissing;
  std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path);
  if (!bytes) return LoadResult::kUnreadable;
  if (bytes->size() != kSettingsFileSize) return LoadResult::kWrongSize;
  state.firstRunFlag = (*bytes)[0];
  std::memcpy(state.working.bytes(), bytes->data() + 1, kSettingsRecordSize);
  return LoadResult::kLoaded;
}

std::string SaveProblemText(const SaveResult& result) {
  switch (result.status) {
    case SaveStatus::kSaved:
      return {};
    case SaveStatus::kMissing:
      return kSettingsFileMissingText;
    case SaveStatus::kWriteFailed:
      return "Error Code is: " + std::to_string(result.errorCode) + " \n";
  }
  return {};
}

SaveResult SaveSettings(const std::string& path, SettingsState& state) {
  // The file is delivered with the program; a missing one is reported, never created.
  if (!PathExists(path)) return {SaveStatus::kMissing, 0};
  std::vector<std::uint8_t> bytes(kSettingsFileSize);
  bytes[0] = 1;
  std::memcpy(bytes.data() + 1, state.working.bytes(), kSettingsRecordSize);
  if (int error = WriteFileAtomically(path, bytes); error != 0) return {SaveStatus::kWriteFailed, error};
  state.firstRunFlag = 1;
  return {};
}

}  // namespace vortal
