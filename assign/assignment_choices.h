// The results the assignment dialogs give for a button, in their own terms
// (list positions and key names), and the limits and rules of a button that
// every door shares: the DPI switch's items, the last Left Click, the fire
// key's speed and times, the macro button's repeat modes.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "settings/settings_record.h"

namespace vortal {

// Results of the assignment dialogs, read after the dialog ended with OK.
struct WindowsChoice {
  int index = 0;     // into the Windows function table
  std::string text;  // the chosen item as the dialog showed it (UTF-8)
};
struct MediaChoice {
  int index = 0;  // into the multimedia function table
  std::string text;
};
struct FireChoice {
  int index = 0;  // into the fire key list
  std::string text;
  int speed = 32;
  int times = 1;
};
struct SingleChoice {
  std::string keyName;  // the captured key's name
};
struct ComboChoice {
  std::string modifier;  // the chosen modifier's text, empty for none
  std::string key1;
  std::string key2;
};
struct MacroChoice {
  int slot = 0;        // the macro's position in record.ini
  std::string name;
  int repeatMode = 1;  // 1, 2 or 3
};

// Runs each category's dialog modally; nothing when the user cancelled it (or
// the dialog could not be shown).

// The DPI Switch sub-list: its items, in every language, are the stored
// actions 1, 2 and 3.
inline constexpr std::array<const char*, 3> kDpiSwitchTexts = {"DPI +", "DPI -", "DPI Loop"};

// At least one of the buttons that reach the mouse (1 to 8) of a mode keeps
// Left Click: the last one cannot be given another function (its list does
// not open). Left Clicks on the hidden slots 9 to 12 do not count.
bool IsOnlyLeftClick(const SettingsRecord& record, int mode, int slot);
// The mode (0 or 1) that had a Left Click among buttons 1 to 8 before a
// change and has none after it; a Shift takes a button in both modes, so a
// change of one mode can cost the other its Left Click. Nothing: none lost.
std::optional<int> ModeLosingLeftClick(const SettingsRecord& before, const SettingsRecord& after);

// The fire key's speed and times as the mouse takes them. The fire key
// dialog shows the replacement of a value typed outside them in its field;
// a speed outside them is refused (the dialog's OK, the editor).
inline constexpr int kFireMinSpeed = 5;
inline constexpr int kFireMaxSpeed = 255;
inline constexpr int kFireSpeedReplacement = 5;
inline constexpr int kFireMaxTimes = 255;
inline constexpr int kFireTimesReplacement = 1;
// The repeat modes of a macro button, as the macro dialog numbers them.
inline constexpr int kRepeatModeCount = 3;

}  // namespace vortal
