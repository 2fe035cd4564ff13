// Assignment dialogs that hand out prepared actions (none: cancelled) and
// tell which dialog ran, opened on what.
#pragma once

#include <map>
#include <optional>

#include "ui/window/assignment_dialogs.h"

namespace vortal::testing {

class FakeAssignmentDialogs : public AssignmentDialogs {
 public:
  std::map<FunctionType, ButtonAction> results;  // a function without one is cancelled
  int runs = 0;
  std::optional<FunctionType> lastRun;
  std::optional<ButtonAction> openedOn;

  std::optional<ButtonAction> Choose(FunctionType function, const ButtonAction& current) override {
    ++runs;
    lastRun = function;
    openedOn = current;
    const auto result = results.find(function);
    if (result == results.end()) return std::nullopt;
    return result->second;
  }
};

}  // namespace vortal::testing
