#include "ui/window/assignment_dialogs.h"

#include <utility>

#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/dialogs/function_dialogs.h"
#include "ui/dialogs/macro_dialog.h"
#include "ui/window/main_window_model.h"
#include "ui/dialogs/single_dialog.h"

namespace vortal {

AssignmentDialogRunner::AssignmentDialogRunner(MainWindowModel& model, std::string recordPath)
    : model_(model), recordPath_(std::move(recordPath)) {}

SubDialogLook AssignmentDialogRunner::Look() const {
  return {model_.skin.skinFolderPath, model_.textColor(), model_.texts.language()};
}

bool AssignmentDialogRunner::Run(SubDialogFrame& dialog) {
  return model_.services().RunSubDialog(dialog) == DialogResult::kOk;
}

std::optional<WindowsChoice> AssignmentDialogRunner::ChooseWindowsFunction() {
  CWindowsDialog dialog(Look());
  if (!Run(dialog)) return std::nullopt;
  return WindowsChoice{dialog.chosenIndex(), dialog.chosenText()};
}

std::optional<MediaChoice> AssignmentDialogRunner::ChooseMediaFunction() {
  CMediaDialog dialog(Look());
  if (!Run(dialog)) return std::nullopt;
  return MediaChoice{dialog.chosenIndex(), dialog.chosenText()};
}

std::optional<FireChoice> AssignmentDialogRunner::ChooseFireKey() {
  CFireKeyDialog dialog(Look());
  if (!Run(dialog)) return std::nullopt;
  return FireChoice{dialog.keyIndex(), dialog.keyText(), dialog.speed(), dialog.times()};
}

std::optional<SingleChoice> AssignmentDialogRunner::ChooseSingleKey() {
  CSingleDialog dialog(Look());
  if (!Run(dialog)) return std::nullopt;
  return SingleChoice{dialog.keyName()};
}

std::optional<ComboChoice> AssignmentDialogRunner::ChooseComboKey() {
  CComboDialog dialog(Look());
  if (!Run(dialog)) return std::nullopt;
  return ComboChoice{dialog.modifier(), dialog.firstKey(), dialog.secondKey()};
}

std::optional<MacroChoice> AssignmentDialogRunner::ChooseMacro() {
  CMacroDialog dialog(Look(), recordPath_);
  if (!Run(dialog)) return std::nullopt;
  return MacroChoice{dialog.chosenPosition(), dialog.chosenName(), dialog.repeatMode()};
}

}  // namespace vortal
