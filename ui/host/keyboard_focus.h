// The keyboard's way through an owner-drawn window, the same in the main
// window and every sub-dialog: Tab and Shift+Tab from group to group, the
// arrows within a group and along a slider, Home and End, Space and Enter on
// the control in focus; and the keys of an open drop-down list.
#pragma once

#include <string>
#include <vector>

#include "ui/host/window_controls.h"

namespace vortal {

class KeyboardFocus {
 public:
  // One key over the window's controls, in focus order; true when it was
  // used. The first key only shows where the focus is (on the first
  // control, or the last one for Shift+Tab) and does nothing else.
  bool OnKey(const KeyPress& key, const std::vector<WindowControl>& controls);

  // The control in focus; 0 for none (also when it is no longer there).
  int focused(const std::vector<WindowControl>& controls) const;
  // A click gives the focus to the control it hit, as in every window.
  void Focus(int id) { focused_ = id; }
  // The focus, shown, on the control with this id (a key changed pages).
  void Show(int id) {
    focused_ = id;
    keyboardUsed_ = true;
  }
  // The ring around the control in focus, shown from the first key on.
  FocusRing Ring(const std::vector<WindowControl>& controls) const;
  bool keyboardUsed() const { return keyboardUsed_; }

 private:
  int focused_ = 0;
  bool keyboardUsed_ = false;
};

// What a key does in an open list of `items` whose selection is `selection`
// (kNoItem for none): move the selection, choose it, close the list, or
// nothing.
struct ListKeyOutcome {
  enum Kind { kNone, kMove, kChoose, kClose } kind = kNone;
  int index = -1;  // the new selection (kMove) or the chosen item (kChoose)
};
ListKeyOutcome KeyInList(const KeyPress& key, const std::vector<std::string>& items, int selection);

// How far Home and End move a slider: past either end of any of them.
inline constexpr int kSliderEnd = 1000;

}  // namespace vortal
