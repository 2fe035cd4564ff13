// The assignment dialogs as the main window runs them: the dialog of a
// function, opened on the button's current action when it has that
// function, built with the current skin, text colour and language, run
// modally over the window; after OK it gives the action chosen.
#pragma once

#include <optional>
#include <string>

#include "settings/settings_record.h"
#include "setup/button_action.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

class MainWindowModel;

// The functions whose parameters a dialog asks for: Windows, Multimedia,
// Fire Key, Single Key, Combo Key and Macro Key.
bool HasAssignmentDialog(FunctionType function);

class AssignmentDialogs {
 public:
  virtual ~AssignmentDialogs() = default;
  // Runs the dialog of `function` opened on `current` (another function's
  // action opens it on its defaults); nothing when the user cancelled it or
  // the dialog could not be shown.
  virtual std::optional<ButtonAction> Choose(FunctionType function, const ButtonAction& current) = 0;
};

class AssignmentDialogRunner : public AssignmentDialogs {
 public:
  // `recordPath`: the macro store the macro dialog lists.
  AssignmentDialogRunner(MainWindowModel& model, std::string recordPath);

  std::optional<ButtonAction> Choose(FunctionType function, const ButtonAction& current) override;

 private:
  SubDialogLook Look() const;  // taken anew each time: the skin may change
  bool Run(SubDialogFrame& dialog);

  MainWindowModel& model_;
  std::string recordPath_;
};

}  // namespace vortal
