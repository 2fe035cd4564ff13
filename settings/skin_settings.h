// The skin in use, the UI text colour and the button pane texts, kept in the
// skin settings file str.ini beside the executable. The skin name and colour
// live under "Skins"; the 24 pane texts under the language's own section
// ("Setting-EN", "Setting-CHS" or "Setting-CHT"), so each language keeps its
// own texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vortal {

inline constexpr std::string_view kSkinsSection = "Skins";
inline constexpr std::string_view kSkinPathKey = "Path";
inline constexpr std::string_view kRedColorKey = "RColor";
inline constexpr std::string_view kGreenColorKey = "GColor";
inline constexpr std::string_view kBlueColorKey = "BColor";
// Skins are the sub-folders of this folder beside the executable.
inline constexpr std::string_view kSkinsFolder = "Skins";

// Values are read into a buffer of this many UTF-16 characters, so a longer
// value is cut to one character less.
inline constexpr std::size_t kSkinValueBufferChars = 1024;

inline constexpr int kPaneModeCount = 2;     // 0 Mode A, 1 Mode B
inline constexpr int kPaneButtonCount = 12;  // buttons 0..11

using PaneTexts = std::array<std::array<std::string, kPaneButtonCount>, kPaneModeCount>;

struct TextColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TextColor&, const TextColor&) = default;
};

// str.ini's values as they are stored: texts, converted only at start-up.
struct SkinSettingsValues {
  PaneTexts paneText;
  std::string red;
  std::string green;
  std::string blue;
  std::string path;  // the skin folder's name
};

// What the window and its dialogs draw with.
struct SkinState {
  std::string skinFolderPath;  // image names are appended to it
  std::string skinName;
  TextColor textColor;
  PaneTexts paneText;
};

// The key of a pane text: Mode A "Item1".."Item12", Mode B "Item13",
// "Item23" ... "Item123" (the button number followed by 3). Empty for a mode
// or button out of range.
std::string PaneTextKey(int mode, int button);

// Reads the 24 pane texts from the language section, then the colours and the
// skin name from "Skins". A missing file, section or key reads as an empty
// text; every value is cut to kSkinValueBufferChars - 1 characters.
SkinSettingsValues LoadSkinSettings(const std::string& skinSettingsPath,
                                    std::string_view languageSection);

// A stored colour byte: the text read as a C decimal number, its low byte
// (300 gives 44, -1 gives 255, no digits give 0).
std::uint8_t ColorByteFromText(std::string_view text);

// The skin folder at start-up: the program directory (with its trailing
// separator), "/Skins/", then the skin name. An empty name leaves the skins
// folder itself with a trailing "/".
std::string SkinFolderAtStartup(std::string_view programDir, std::string_view skinName);

// The start-up conversion of the stored values.
SkinState SkinStateAtStartup(const SkinSettingsValues& values, std::string_view programDir);

// Writes the 24 pane texts to the language section in one save: either all of
// them are stored or, when a text cannot be stored (a line break in it) or the
// file cannot be written, the file is left as it was and false is returned.
bool SavePaneTexts(const std::string& skinSettingsPath, std::string_view languageSection,
                   const PaneTexts& paneText);

// Writes the chosen skin under "Skins": "RColor", "GColor", "BColor" in
// decimal, then "Path"; all or nothing, like SavePaneTexts.
bool SaveSkinChoice(const std::string& skinSettingsPath, std::string_view skinName,
                    TextColor color);

}  // namespace vortal
