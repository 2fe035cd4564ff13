// The keyboard's way through an owner-drawn window, the same in the main
// window and every sub-dialog: Tab and Shift+Tab from group to group, the
// arrows within a group and along a slider, Home and End, Space and Enter on
// the control in focus; and the keys of an open drop-down list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/host/main_window_services.h"
#include "ui/host/window_controls.h"

namespace vortal {

class KeyboardFocus {
 public:
  // One key over the window's controls, in focus order; true when it was
  // used. The first key only shows where the focus is (on the first
  // control, or the last one for Shift+Tab) and does nothing else.
  bool OnKey(const KeyPress& key, const std::vector<WindowControl>& controls);

  // The control in focus; 0 (nullptr) for none, also when it is no longer
  // there.
  int focused(const std::vector<WindowControl>& controls) const;
  const WindowControl* Focused(const std::vector<WindowControl>& controls) const;
  // A click into a real child control (an edit field) gave it the keyboard:
  // the focus follows it there.
  void FollowChild(int childId, const std::vector<WindowControl>& controls);
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

// Shows the focus once the keyboard was used: the ring on `surface`, and the
// keyboard given to the focused control's real child, or back to the window
// itself unless `listHasKeyboard` (an open list keeps it).
void ShowFocusIn(const KeyboardFocus& focus, const std::vector<WindowControl>& controls,
                 Surface& surface, ChildControls& children, bool listHasKeyboard = false);

// A key in the open list `listId` of `host` holding `items`: the selection
// moves, or the item is chosen (`choose`), or the list closes (`close`).
void KeyInOpenList(const KeyPress& key, ListHost& host, int listId, const std::vector<std::string>& items,
                   const std::function<void(int index)>& choose, const std::function<void()>& close);

// How far Home and End move a slider: past either end of any of them.
inline constexpr int kSliderEnd = 1000;

}  // namespace vortal
