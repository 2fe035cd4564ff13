// What happens when the user picks a function for a button: the category is
// stored in the working record, the category's dialog runs where the category
// needs parameters, its result is written into the record and the text the
// button's pane shows is composed.
#pragma once

#include <optional>
#include <string>

#include "settings/settings_record.h"
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

}  // namespace vortal
