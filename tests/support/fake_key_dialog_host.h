// A sub-dialog host with child controls, a keyboard hook that the test
// presses keys through, a keyboard focus and list scrolling.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/fake_child_controls.h"

namespace vortal::testing {

class FakeKeyDialogHost : public FakeDialogHostWithControls {
 public:
  unsigned InstallKeyCaptureHook(unsigned message) override {
    calls.push_back("HOOK " + std::to_string(message));
    hookMessages.push_back(message);
    return hookError;
  }
  int FocusedControl() const override { return focus; }
  void ScrollList(int id, int lines) override { scrolls.emplace_back(id, lines); }

  // Starts the dialog the way the window does: edits report to it.
  bool Open(SubDialogFrame& dialog) {
    dialog_ = &dialog;
    controls.onAnyTextChange = [&dialog](int id) { dialog.OnEditChanged(id); };
    return dialog.Initialize(*this);
  }
  // A keystroke reaches the hook (if one was installed without error).
  void Key(const std::string& name) {
    if (!hookMessages.empty() && hookError == 0) dialog_->OnKeyCaptured(name);
  }
  // The keyboard focus moves to `id` (0: no control); the field that had it
  // reports the loss.
  void Focus(int id) {
    const int old = focus;
    focus = id;
    if (old != 0 && old != id) dialog_->OnEditFocusLost(old);
  }
  std::string Text(int id) const { return controls.ChildText(id); }

  unsigned hookError = 0;
  std::vector<unsigned> hookMessages;
  int focus = 0;
  std::vector<std::pair<int, int>> scrolls;

 private:
  SubDialogFrame* dialog_ = nullptr;
};

}  // namespace vortal::testing
