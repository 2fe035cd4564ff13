// What the keyboard and screen readers know of an owner-drawn window: its
// controls, each with what it is called and is, where it is, and what Space,
// Enter and the arrows do to it. The window is one picture, so the models say
// this themselves; the hosts turn keys into KeyPress and show the focus.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/host/geometry.h"

namespace vortal {

enum class ControlRole {
  kPushButton,
  kCheckBox,
  kRadioButton,
  kSlider,
  kList,      // a drop-down list's header: Space or Enter opens the list
  kListItem,  // a line of an open list
  kPageTab,
  kText,      // an edit field
};

struct WindowControl {
  int id = 0;     // unique in the window, stable while the window lives
  int group = 0;  // Tab moves between groups, the arrows within one
  Rect box;       // where it is drawn, in 96-DPI units
  ControlRole role = ControlRole::kPushButton;
  std::string name;   // in the user's language
  std::string value;  // what it shows: the pane text, the DPI, the rate
  bool checked = false;      // a lit tick, the chosen mark, the page shown
  bool unavailable = false;  // drawn but refusing: the keyboard passes it by
  // Space and Enter.
  std::function<void()> act;
  // The arrows along a slider, Home and End: `steps` up (positive) or down;
  // empty for every other control.
  std::function<void(int steps)> step;
  // A real child control (an edit field) that takes the keyboard focus; 0
  // for a drawn one.
  int childId = 0;
};

// A control with what every one has; the caller sets the rest.
inline WindowControl MakeControl(int id, int group, const Rect& box, ControlRole role,
                                 std::string name, std::function<void()> act = {}) {
  WindowControl control;
  control.id = id;
  control.group = group;
  control.box = box;
  control.role = role;
  control.name = std::move(name);
  control.act = std::move(act);
  return control;
}

enum class Key {
  kTab,
  kLeft,
  kRight,
  kUp,
  kDown,
  kHome,
  kEnd,
  kPageUp,
  kPageDown,
  kSpace,
  kEnter,
  kEscape,
  kCharacter,  // a letter or digit, in `character`
  kOther,
};

struct KeyPress {
  Key key = Key::kOther;
  bool shift = false;
  bool ctrl = false;
  char character = 0;  // upper case, for kCharacter
};

// Where the window shows the focus: a ring around `box`, at the display
// scale, drawn over the picture (nothing while `shown` is false).
struct FocusRing {
  bool shown = false;
  Rect box;
  friend bool operator==(const FocusRing&, const FocusRing&) = default;
};

}  // namespace vortal
