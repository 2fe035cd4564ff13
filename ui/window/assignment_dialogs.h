// The assignment dialogs as the main window runs them: each one built with
// the current skin, text colour and language, run modally over the window,
// and its result handed to the dispatcher after OK.
#pragma once

#include <string>

#include "assign/assignment_dispatcher.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

class MainWindowModel;

class AssignmentDialogRunner : public AssignmentDialogs {
 public:
  // `recordPath`: the macro store the macro dialog lists.
  AssignmentDialogRunner(MainWindowModel& model, std::string recordPath);

  std::optional<WindowsChoice> ChooseWindowsFunction() override;
  std::optional<MediaChoice> ChooseMediaFunction() override;
  std::optional<FireChoice> ChooseFireKey() override;
  std::optional<SingleChoice> ChooseSingleKey() override;
  std::optional<ComboChoice> ChooseComboKey() override;
  std::optional<MacroChoice> ChooseMacro() override;

 private:
  SubDialogLook Look() const;  // taken anew each time: the skin may change
  bool Run(SubDialogFrame& dialog);

  MainWindowModel& model_;
  std::string recordPath_;
};

}  // namespace vortal
