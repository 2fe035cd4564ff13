#include "assign/assignment_dispatcher.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "assign/key_tables.h"

namespace vortal {

namespace {

// Only the slots that reach the mouse can switch the mode; a Shift on one of
// the others does no harm and does not count.
constexpr int kShiftExaminedSlots = kDeviceButtons;
constexpr std::string_view kLabelSeparator = "-";
constexpr std::string_view kComboJoiner = "+";

std::string Labelled(const LocalizedTexts& texts, TextId label, std::string_view item) {
  std::string text(texts[label]);
  text += kLabelSeparator;
  text += item;
  return text;
}

// Composes the pane text of a key combination: only the parts the mouse will
// actually press are shown.
std::string ComboText(const LocalizedTexts& texts, const ComboChoice& choice) {
  std::string text(texts[TextId::kComboKey]);
  text += kLabelSeparator;
  std::vector<std::string_view> parts;
  if (ModifierBitFromName(choice.modifier) != 0) parts.push_back(choice.modifier);
  if (KeyCodeFromName(choice.key1) != 0) parts.push_back(choice.key1);
  if (KeyCodeFromName(choice.key2) != 0) parts.push_back(choice.key2);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += kComboJoiner;
    text += parts[i];
  }
  return text;
}

// Runs the category's dialog and, after OK, writes its result into `area` and
// returns the pane text. A cancelled dialog changes nothing: nothing.
std::optional<std::string> RunCategoryDialog(int category, int slot, KeyArea& area,
                                             const LocalizedTexts& texts,
                                             AssignmentDialogs& dialogs) {
  switch (category) {
    case kWindowsFunction:
      if (const auto choice = dialogs.ChooseWindowsFunction()) {
        area.windowsIndex[slot] = static_cast<std::uint8_t>(choice->index);
        area.windowsCode[slot] = WindowsUsageLow(choice->index);
        area.windowsClass[slot] = WindowsUsageHigh(choice->index);
        return choice->text;
      }
      break;
    case kMultimedia:
      if (const auto choice = dialogs.ChooseMediaFunction()) {
        area.mediaIndex[slot] = static_cast<std::uint8_t>(choice->index);
        area.mediaCode[slot] = MediaUsageLow(choice->index);
        return Labelled(texts, TextId::kMultimedia, choice->text);
      }
      break;
    case kFireKey:
      if (const auto choice = dialogs.ChooseFireKey()) {
        area.fireIndex[slot] = static_cast<std::uint8_t>(choice->index);
        area.fireCode[slot] = FireKeyCode(choice->index);
        area.fireSpeed[slot] = static_cast<std::uint8_t>(choice->speed);
        area.fireTimes[slot] = static_cast<std::uint8_t>(choice->times);
        return Labelled(texts, TextId::kFireKey, choice->text);
      }
      break;
    case kSingleKey:
      if (const auto choice = dialogs.ChooseSingleKey()) {
        area.singleKeyCode[slot] = KeyCodeFromName(choice->keyName);
        return Labelled(texts, TextId::kSingleKey, choice->keyName);
      }
      break;
    case kComboKey:
      if (const auto choice = dialogs.ChooseComboKey()) {
        area.comboModifiers[slot] = ModifierBitFromName(choice->modifier);
        area.comboKey1[slot] = KeyCodeFromName(choice->key1);
        area.comboKey2[slot] = KeyCodeFromName(choice->key2);
        return ComboText(texts, *choice);
      }
      break;
    case kMacroKey:
      if (const auto choice = dialogs.ChooseMacro()) {
        area.macroIndex[slot] = static_cast<std::uint8_t>(choice->slot);
        // The mouse knows loop modes 0..2; the dialog offers 1..3.
        const int mode = (choice->repeatMode >= 1 && choice->repeatMode <= 3)
                             ? choice->repeatMode - 1
                             : 0;
        area.macroLoopMode[slot] = static_cast<std::uint8_t>(mode);
        return Labelled(texts, TextId::kMacroKey, choice->name);
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

AssignmentResult DispatchAssignment(const AssignmentChoice& choice, SettingsRecord& record,
                                    const LocalizedTexts& texts, AssignmentDialogs& dialogs) {
  const int category = choice.selection.value_or(-1);
  const int slot = choice.slot;
  const int mode = choice.mode;
  AssignmentResult result;
  // DPI Switch opens its own sub-list instead; no choice (or a slot that does
  // not exist) leaves everything as it is.
  if (category < 0 || category >= static_cast<int>(kFunctionListTexts.size()) ||
      category == kDpiSwitch || slot < 0 || slot >= kButtonSlots) {
    return result;
  }
  result.outcome = AssignmentOutcome::kListClosed;
  KeyArea& edited = mode == 0 ? record.modeA : record.modeB;
  KeyArea& other = mode == 0 ? record.modeB : record.modeA;

  if (category == kShift) {
    // One Shift button per mode: a second one is refused.
    for (int b = 0; b < kShiftExaminedSlots; ++b) {
      if (edited.keyFunction[b] == kShift) return result;
    }
    edited.keyFunction[slot] = kShift;
    other.keyFunction[slot] = kShift;
    result.shownText = std::string(texts[TextId::kShift]);
    result.otherText = result.shownText;
    return result;
  }

  const bool shared = IsSharedButton(record, mode, slot);
  if (category >= kWindowsFunction && category <= kMacroKey) {
    // A cancelled dialog leaves the button as it was: a new category with the
    // old parameters would send the mouse something the pane does not say.
    result.shownText = RunCategoryDialog(category, slot, edited, texts, dialogs);
    if (!result.shownText) return result;
  } else {
    result.shownText = std::string(texts[kFunctionListTexts[static_cast<std::size_t>(category)]]);
  }

  edited.keyFunction[slot] = static_cast<std::uint8_t>(category);
  if (shared) {
    CopyButtonToOtherMode(record, mode, slot);
    result.otherText = result.shownText;
  }
  return result;
}

void StorePaneTexts(PaneTexts& panes, int mode, int slot, const AssignmentResult& result) {
  if (mode < 0 || mode > 1 || slot < 0 || slot >= kPaneButtonCount) return;
  const auto s = static_cast<std::size_t>(slot);
  if (result.shownText) panes[static_cast<std::size_t>(mode)][s] = *result.shownText;
  if (result.otherText) panes[static_cast<std::size_t>(1 - mode)][s] = *result.otherText;
}

AssignmentResult AssignDpiSwitch(SettingsRecord& record, int mode, int slot, int index) {
  AssignmentResult result;
  if (index < 0 || index >= static_cast<int>(kDpiSwitchTexts.size()) || slot < 0 ||
      slot >= kButtonSlots) {
    return result;
  }
  result.outcome = AssignmentOutcome::kListClosed;
  const bool shared = IsSharedButton(record, mode, slot);
  record.area(mode).keyFunction[slot] = kDpiSwitch;
  record.dpiSwitchFor(mode)[slot] = static_cast<std::uint8_t>(index + 1);
  result.shownText = kDpiSwitchTexts[static_cast<std::size_t>(index)];
  if (shared) {
    CopyButtonToOtherMode(record, mode, slot);
    result.otherText = result.shownText;
  }
  return result;
}

bool IsOnlyLeftClick(const SettingsRecord& record, int mode, int slot) {
  if (mode < 0 || mode > 1 || slot < 0 || slot >= kDeviceButtons) return false;
  const std::uint8_t* functions = record.area(mode).keyFunction;
  return functions[slot] == kLeftClick &&
         std::count(functions, functions + kDeviceButtons, std::uint8_t{kLeftClick}) == 1;
}

std::optional<int> ModeLosingLeftClick(const SettingsRecord& before, const SettingsRecord& after) {
  for (int mode = 0; mode < 2; ++mode) {
    if (HasLeftClickButton(before, mode) && !HasLeftClickButton(after, mode)) return mode;
  }
  return std::nullopt;
}

}  // namespace vortal
