#include "settings/skin_settings.h"

#include <optional>

#include "files/profile_file.h"
#include "files/text_encoding.h"
#include "settings/number_text.h"

namespace vortal {
namespace {

// What GetPrivateProfileStringW leaves in the buffer: the value cut to the
// buffer, or an empty text when the key is missing.
std::string ReadValue(const ProfileFile& file, std::string_view section, std::string_view key) {
  std::optional<std::u16string> value = file.Find(Utf8ToUtf16(section), Utf8ToUtf16(key));
  if (!value) return {};
  if (value->size() > kSkinValueBufferChars - 1) value->resize(kSkinValueBufferChars - 1);
  return Utf16ToUtf8(*value);
}

}  // namespace

std::string PaneTextKey(int mode, int button) {
  if (mode < 0 || mode >= kPaneModeCount || button < 0 || button >= kPaneButtonCount) return {};
  std::string key = "Item";
  key += std::to_string(button + 1);
  if (mode == 1) key += '3';
  return key;
}

SkinSettingsValues LoadSkinSettings(const std::string& skinSettingsPath,
                                    std::string_view languageSection) {
  const ProfileFile file(skinSettingsPath);
  SkinSettingsValues values;
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int button = 0; button < kPaneButtonCount; ++button) {
      values.paneText[mode][button] =
          ReadValue(file, languageSection, PaneTextKey(mode, button));
    }
  }
  values.red = ReadValue(file, kSkinsSection, kRedColorKey);
  values.green = ReadValue(file, kSkinsSection, kGreenColorKey);
  values.blue = ReadValue(file, kSkinsSection, kBlueColorKey);
  values.path = ReadValue(file, kSkinsSection, kSkinPathKey);
  return values;
}

std::uint8_t ColorByteFromText(std::string_view text) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(ReadCNumber(text)) & 0xFFu);
}

std::string SkinFolderAtStartup(std::string_view programDir, std::string_view skinName) {
  std::string folder(programDir);
  folder += '/';
  folder += kSkinsFolder;
  folder += '/';
  folder += skinName;
  return folder;
}

SkinState SkinStateAtStartup(const SkinSettingsValues& values, std::string_view programDir) {
  SkinState state;
  state.skinFolderPath = SkinFolderAtStartup(programDir, values.path);
  state.skinName = values.path;
  state.textColor = {ColorByteFromText(values.red), ColorByteFromText(values.green),
                     ColorByteFromText(values.blue)};
  state.paneText = values.paneText;
  return state;
}

bool SavePaneTexts(const std::string& skinSettingsPath, std::string_view languageSection,
                   const PaneTexts& paneText) {
  ProfileFile file(skinSettingsPath);
  if (!file.readable()) return false;
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int button = 0; button < kPaneButtonCount; ++button) {
      const std::string key = PaneTextKey(mode, button);
      if (!file.Write(languageSection, std::string_view(key),
                      std::string_view(paneText[mode][button]))) {
        return false;
      }
    }
  }
  return file.Save();
}

bool SaveSkinChoice(const std::string& skinSettingsPath, std::string_view skinName,
                    TextColor color) {
  ProfileFile file(skinSettingsPath);
  if (!file.readable()) return false;
  const std::string red = std::to_string(color.red);
  const std::string green = std::to_string(color.green);
  const std::string blue = std::to_string(color.blue);
  return file.Write(kSkinsSection, kRedColorKey, std::string_view(red)) &&
         file.Write(kSkinsSection, kGreenColorKey, std::string_view(green)) &&
         file.Write(kSkinsSection, kBlueColorKey, std::string_view(blue)) &&
         file.Write(kSkinsSection, kSkinPathKey, skinName) && file.Save();
}

}  // namespace vortal
