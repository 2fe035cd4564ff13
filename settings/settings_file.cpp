#include "settings/settings_file.h"

#include <cstring>
#include <vector>

#include "files/file_io.h"

namespace vortal {
namespace {

constexpr const char* kMissingFileText = "Config file is not exist.";
constexpr const char* kWriteFailedCaption = "NULL ==fp ";

}  // namespace

LoadResult LoadSettings(const std::string& path, SettingsState& state, UserMessages& messages) {
  if (!PathExists(path)) {
    messages.Show(kMissingFileText, kAppCaption);
    return LoadResult::kMissing;
  }
  std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path);
  if (!bytes) return LoadResult::kUnreadable;
  if (bytes->size() != kSettingsFileSize) return LoadResult::kWrongSize;
  state.firstRunFlag = (*bytes)[0];
  std::memcpy(state.working.bytes(), bytes->data() + 1, kSettingsRecordSize);
  return LoadResult::kLoaded;
}

bool SaveSettings(const std::string& path, SettingsState& state, UserMessages& messages) {
  // The file is delivered with the program; a missing one is reported, never created.
  if (!PathExists(path)) {
    messages.Show(kMissingFileText, kAppCaption);
    return false;
  }
  std::vector<std::uint8_t> bytes(kSettingsFileSize);
  bytes[0] = 1;
  std::memcpy(bytes.data() + 1, state.working.bytes(), kSettingsRecordSize);
  if (int error = WriteFileAtomically(path, bytes); error != 0) {
    messages.Show("Error Code is: " + std::to_string(error) + " \n", kWriteFailedCaption);
    return false;
  }
  state.firstRunFlag = 1;
  return true;
}

}  // namespace vortal
