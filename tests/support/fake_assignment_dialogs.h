// Assignment dialogs that hand out prepared results (nothing: cancelled) and
// count which dialogs were run.
#pragma once

#include <optional>
#include <string>

#include "assign/assignment_dispatcher.h"

namespace vortal::testing {

class FakeAssignmentDialogs : public PreparedAssignmentDialogs {
 public:
  int runs = 0;
  std::string lastRun;

  std::optional<WindowsChoice> ChooseWindowsFunction() override { return Run("windows", windows); }
  std::optional<MediaChoice> ChooseMediaFunction() override { return Run("media", media); }
  std::optional<FireChoice> ChooseFireKey() override { return Run("fire", fire); }
  std::optional<SingleChoice> ChooseSingleKey() override { return Run("single", single); }
  std::optional<ComboChoice> ChooseComboKey() override { return Run("combo", combo); }
  std::optional<MacroChoice> ChooseMacro() override { return Run("macro", macro); }

 private:
  template <typename T>
  std::optional<T> Run(const char* name, const std::optional<T>& result) {
    ++runs;
    lastRun = name;
    return result;
  }
};

}  // namespace vortal::testing
