// What happens when the user picks a function for a button: the category is
// stored in the working record, the category's dialog runs where the category
// needs parameters, its result is written into the record and the text the
// button's pane shows is composed.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "settings/settings_record.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

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
class AssignmentDialogs {
 public:
  virtual ~AssignmentDialogs() = default;
  virtual std::optional<WindowsChoice> ChooseWindowsFunction() = 0;
  virtual std::optional<MediaChoice> ChooseMediaFunction() = 0;
  virtual std::optional<FireChoice> ChooseFireKey() = 0;
  virtual std::optional<SingleChoice> ChooseSingleKey() = 0;
  virtual std::optional<ComboChoice> ChooseComboKey() = 0;
  virtual std::optional<MacroChoice> ChooseMacro() = 0;
};

// Dialogs whose results were prepared beforehand (nothing: cancelled), for
// choices made without a window, such as on the command line.
class PreparedAssignmentDialogs : public AssignmentDialogs {
 public:
  std::optional<WindowsChoice> windows;
  std::optional<MediaChoice> media;
  std::optional<FireChoice> fire;
  std::optional<SingleChoice> single;
  std::optional<ComboChoice> combo;
  std::optional<MacroChoice> macro;

  std::optional<WindowsChoice> ChooseWindowsFunction() override { return windows; }
  std::optional<MediaChoice> ChooseMediaFunction() override { return media; }
  std::optional<FireChoice> ChooseFireKey() override { return fire; }
  std::optional<SingleChoice> ChooseSingleKey() override { return single; }
  std::optional<ComboChoice> ChooseComboKey() override { return combo; }
  std::optional<MacroChoice> ChooseMacro() override { return macro; }
};

// Whether the button's list stays open after a choice.
enum class AssignmentOutcome { kListKeptOpen, kListClosed };

// A choice in the function list of button slot `slot` (0..11) of the edited
// mode `mode` (0 Mode A, 1 Mode B); `selection` is the list's selection
// (nothing: none).
struct AssignmentChoice {
  int slot = 0;
  int mode = 0;
  std::optional<int> selection;
};
// What the choice changed besides the record: the slot's new pane texts, in
// the edited mode and in the other one (nothing: unchanged). The caller
// closes the list when kListClosed is returned and redraws the pane.
struct AssignmentResult {
  AssignmentOutcome outcome = AssignmentOutcome::kListKeptOpen;
  std::optional<std::string> shownText;
  std::optional<std::string> otherText;
};
AssignmentResult DispatchAssignment(const AssignmentChoice& choice, SettingsRecord& record,
                                    const LocalizedTexts& texts, AssignmentDialogs& dialogs);

// Writes the result's pane texts into `panes` (button `slot` of `mode` and
// of the other mode).
void StorePaneTexts(PaneTexts& panes, int mode, int slot, const AssignmentResult& result);

// The DPI Switch sub-list: its items, in every language, are the stored
// actions 1, 2 and 3.
inline constexpr std::array<const char*, 3> kDpiSwitchTexts = {"DPI +", "DPI -", "DPI Loop"};
// Item `index` (0..2) of the sub-list for button `slot` of `mode`: the button
// becomes DPI Switch with that action, in both modes when it was shared.
// Nothing for an index outside the list.
AssignmentResult AssignDpiSwitch(SettingsRecord& record, int mode, int slot, int index);

// At least one of the buttons that reach the mouse (1 to 8) of a mode keeps
// Left Click: the last one cannot be given another function (its list does
// not open). Left Clicks on the hidden slots 9 to 12 do not count.
bool IsOnlyLeftClick(const SettingsRecord& record, int mode, int slot);
// The mode (0 or 1) that had a Left Click among buttons 1 to 8 before a
// change and has none after it; a Shift takes a button in both modes, so a
// change of one mode can cost the other its Left Click. Nothing: none lost.
std::optional<int> ModeLosingLeftClick(const SettingsRecord& before, const SettingsRecord& after);

// The fire key's speed and times as the mouse takes them; a value typed
// outside them is replaced.
inline constexpr int kFireMinSpeed = 5;
inline constexpr int kFireMaxSpeed = 255;
inline constexpr int kFireSpeedReplacement = 5;
inline constexpr int kFireMaxTimes = 255;
inline constexpr int kFireTimesReplacement = 1;
// The repeat modes of a macro button, as the macro dialog numbers them.
inline constexpr int kRepeatModeCount = 3;

}  // namespace vortal
