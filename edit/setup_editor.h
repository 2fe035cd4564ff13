// The one editor of the user's buttons: the window's pages and dialogs, the
// command line and profiles give a button an action through it, so every
// rule of the buttons is kept once, and the pane texts follow from the action
// in the user's language. A refused change leaves the setup as it was and
// says why as a value; each door words it (the window in the user's
// language, vortalctl in its messages and exit code).
//
// The rules of the other settings (the last DPI stage, the loop-colour gate,
// the LED parameters, the pointer steps) are edit/record_rules.h, which every
// door calls alike.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "settings/skin_settings.h"
#include "setup/button_action.h"
#include "texts/texts.h"

namespace vortal {

// What the window holds of a setup: the record and the buttons' pane texts.
struct WorkingSetup {
  SettingsRecord record{};
  PaneTexts panes;
};

enum class ButtonRefusal {
  kNone,
  kNoSuchButton,   // a mode other than A or B, or a slot past the twelfth
  kLastLeftClick,  // a mode would keep no Left Click among buttons 1 to 8
  kShiftTaken,     // the mode has its Shift button already
  kFireSpeed,      // a fire key's speed outside what the mouse takes
  kNoSuchMacro,    // no stored macro in that slot (or a slot past the twelfth)
};

struct ButtonEdit {
  ButtonRefusal refusal = ButtonRefusal::kNone;
  int lostMode = 0;  // kLastLeftClick: the mode that would lose it (0 A, 1 B)
  bool ok() const { return refusal == ButtonRefusal::kNone; }
};

// Gives button `button` (0..11) of `mode` the action. A Shift is one button
// of both modes: giving it, or replacing it, changes both. `macroNames` are
// the stored macros by slot.
ButtonEdit SetButton(WorkingSetup& setup, int mode, int button, const ButtonAction& action,
                     const LocalizedTexts& texts, const std::vector<std::string>& macroNames);

// Default: the factory layout of buttons 1 to 9 in both modes, with their
// texts; the parameters, buttons 10 to 12 and every other setting stay.
void RestoreDefaultButtons(WorkingSetup& setup, const LocalizedTexts& texts);

}  // namespace vortal
