#include "ui/window/assignment_dialogs.h"

#include <utility>

#include "assign/key_tables.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/dialogs/function_dialogs.h"
#include "ui/dialogs/macro_dialog.h"
#include "ui/dialogs/single_dialog.h"
#include "ui/window/main_window_model.h"

namespace vortal {
namespace {

// The key's name as the key dialogs show it; empty for none.
std::string KeyText(std::uint8_t code) { return code == 0 ? std::string() : std::string(KeyNameFromCode(code)); }

// The modifier list's position of a single modifier bit; -1 for none.
int ModifierIndex(std::uint8_t bits) {
  for (std::size_t i = 0; i < ModifierNameTable.size(); ++i)
    if (ModifierNameTable[i].bit == bits && bits != 0) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool HasAssignmentDialog(FunctionType function) {
  return function >= kWindowsFunction && function <= kMacroKey;
}

AssignmentDialogRunner::AssignmentDialogRunner(MainWindowModel& model, std::string recordPath)
    : model_(model), recordPath_(std::move(recordPath)) {}

SubDialogLook AssignmentDialogRunner::Look() const {
  return {model_.skin.skinFolderPath, model_.textColor(), model_.texts.language()};
}

bool AssignmentDialogRunner::Run(SubDialogFrame& dialog) {
  return model_.services().RunSubDialog(dialog) == DialogResult::kOk;
}

std::optional<ButtonAction> AssignmentDialogRunner::Choose(FunctionType function,
                                                          const ButtonAction& current) {
  switch (function) {
    case kWindowsFunction: {
      CWindowsDialog dialog(Look());
      if (const auto* was = std::get_if<WindowsAction>(&current)) dialog.StartFrom(was->item);
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(WindowsChoice{dialog.chosenIndex(), dialog.chosenText()});
    }
    case kMultimedia: {
      CMediaDialog dialog(Look());
      if (const auto* was = std::get_if<MultimediaAction>(&current)) dialog.StartFrom(was->item);
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(MediaChoice{dialog.chosenIndex(), dialog.chosenText()});
    }
    case kFireKey: {
      CFireKeyDialog dialog(Look());
      if (const auto* was = std::get_if<FireKeyAction>(&current))
        dialog.StartFrom(was->item, was->speed, was->times);
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(
          FireChoice{dialog.keyIndex(), dialog.keyText(), dialog.speed(), dialog.times()});
    }
    case kSingleKey: {
      CSingleDialog dialog(Look());
      if (const auto* was = std::get_if<SingleKeyAction>(&current))
        dialog.StartFrom(was->key != 0 ? KeyText(was->key) : was->unlistedName);
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(SingleChoice{dialog.keyName()});
    }
    case kComboKey: {
      CComboDialog dialog(Look());
      if (const auto* was = std::get_if<ComboKeyAction>(&current))
        dialog.StartFrom(ModifierIndex(was->modifiers), KeyText(was->key1), KeyText(was->key2));
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(ComboChoice{dialog.modifier(), dialog.firstKey(), dialog.secondKey()});
    }
    case kMacroKey: {
      CMacroDialog dialog(Look(), recordPath_);
      if (const auto* was = std::get_if<MacroKeyAction>(&current))
        dialog.StartFrom(was->slot, static_cast<int>(was->repeat) + 1);
      if (!Run(dialog)) return std::nullopt;
      return ActionOfChoice(MacroChoice{dialog.chosenPosition(), dialog.chosenName(), dialog.repeatMode()});
    }
    default:
      return std::nullopt;
  }
}

}  // namespace vortal
