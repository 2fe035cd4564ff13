#include "edit/setup_editor.h"

#include <variant>

#include "assign/assignment_choices.h"

namespace vortal {
namespace {

// Only the buttons that reach the mouse can switch the mode; a Shift on one
// of the others does no harm and does not count.
bool ModeHasShift(const SettingsRecord& record, int mode) {
  for (int b = 0; b < kDeviceButtons; ++b) {
    if (record.area(mode).keyFunction[b] == kShift) return true;
  }
  return false;
}

void Label(WorkingSetup& setup, int mode, int button, const std::string& text) {
  if (button < 0 || button >= kPaneButtonCount) return;
  setup.panes[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)] = text;
}

}  // namespace

ButtonEdit SetButton(WorkingSetup& setup, int mode, int button, const ButtonAction& action,
                     const LocalizedTexts& texts, const std::vector<std::string>& macroNames) {
  if (mode < 0 || mode > 1 || button < 0 || button >= kButtonSlots)
    return {ButtonRefusal::kNoSuchButton};
  if (const auto* fire = std::get_if<FireKeyAction>(&action);
      fire && (fire->speed < kFireMinSpeed || fire->speed > kFireMaxSpeed))
    return {ButtonRefusal::kFireSpeed};
  if (const auto* macro = std::get_if<MacroKeyAction>(&action);
      macro && (macro->slot >= macroNames.size() || macro->slot >= kMacroSlots))
    return {ButtonRefusal::kNoSuchMacro};

  SettingsRecord changed = setup.record;
  const bool toShift = FunctionOf(action) == kShift;
  const bool shared = IsSharedButton(changed, mode, button);
  if (toShift && !shared) {
    // One Shift a mode; it takes the button in both modes, function alone.
    if (ModeHasShift(changed, mode)) return {ButtonRefusal::kShiftTaken};
    changed.modeA.keyFunction[button] = kShift;
    changed.modeB.keyFunction[button] = kShift;
  } else if (!toShift) {
    WriteButtonAction(changed, mode, button, action);
    if (shared) CopyButtonToOtherMode(changed, mode, button);
  }
  if (const auto lost = ModeLosingLeftClick(setup.record, changed))
    return {ButtonRefusal::kLastLeftClick, *lost};

  setup.record = changed;
  const std::string text = ButtonLabel(action, texts, macroNames);
  Label(setup, mode, button, text);
  if (toShift || shared) Label(setup, 1 - mode, button, text);
  return {};
}

void RestoreDefaultButtons(WorkingSetup& setup, const LocalizedTexts& texts) {
  RestoreButtonDefaults(setup.record);
  SetDefaultPaneTexts(setup.panes, texts, kDefaultPaneCount);
}

}  // namespace vortal
