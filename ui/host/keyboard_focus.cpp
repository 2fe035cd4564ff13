#include "ui/host/keyboard_focus.h"

#include <algorithm>
#include <cctype>

namespace vortal {
namespace {

constexpr int kListPageLines = 8;

bool Usable(const WindowControl& control) { return !control.unavailable; }

// A member of a group of which one is chosen: the focus chooses it.
bool ChosenByFocus(const WindowControl& control) {
  return control.role == ControlRole::kRadioButton || control.role == ControlRole::kPageTab;
}

int IndexOf(const std::vector<WindowControl>& controls, int id) {
  if (id == 0) return -1;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].id == id && Usable(controls[i])) return static_cast<int>(i);
  }
  return -1;
}

// The groups in focus order, each once.
std::vector<int> Groups(const std::vector<WindowControl>& controls) {
  std::vector<int> groups;
  for (const WindowControl& control : controls) {
    if (Usable(control) && std::find(groups.begin(), groups.end(), control.group) == groups.end())
      groups.push_back(control.group);
  }
  return groups;
}

// Where Tab lands in a group: its checked member (the chosen mark, the mode
// shown), else its first.
int EntryOf(const std::vector<WindowControl>& controls, int group) {
  int first = -1;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const WindowControl& control = controls[i];
    if (!Usable(control) || control.group != group) continue;
    if (ChosenByFocus(control) && control.checked) return static_cast<int>(i);
    if (first < 0) first = static_cast<int>(i);
  }
  return first;
}

// The members of the focused control's group, in order.
std::vector<int> Members(const std::vector<WindowControl>& controls, int group) {
  std::vector<int> members;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (Usable(controls[i]) && controls[i].group == group) members.push_back(static_cast<int>(i));
  }
  return members;
}

}  // namespace

int KeyboardFocus::focused(const std::vector<WindowControl>& controls) const {
  const WindowControl* control = Focused(controls);
  return control ? control->id : 0;
}

const WindowControl* KeyboardFocus::Focused(const std::vector<WindowControl>& controls) const {
  const int index = IndexOf(controls, focused_);
  return index < 0 ? nullptr : &controls[static_cast<std::size_t>(index)];
}

void KeyboardFocus::FollowChild(int childId, const std::vector<WindowControl>& controls) {
  if (childId == 0) return;
  for (const WindowControl& control : controls) {
    if (control.childId == childId) focused_ = control.id;
  }
}

void ShowFocusIn(const KeyboardFocus& focus, const std::vector<WindowControl>& controls,
                 Surface& surface, ChildControls& children, bool listHasKeyboard) {
  if (!focus.keyboardUsed()) return;
  surface.ShowFocusRing(focus.Ring(controls));
  const WindowControl* control = focus.Focused(controls);
  const int child = control ? control->childId : 0;
  if (children.FocusedChild() != child && (child != 0 || !listHasKeyboard)) children.FocusChild(child);
}

void KeyInOpenList(const KeyPress& key, ListHost& host, int listId, const std::vector<std::string>& items,
                   const std::function<void(int)>& choose, const std::function<void()>& close) {
  const ListKeyOutcome outcome = KeyInList(key, items, host.ListSelection(listId));
  switch (outcome.kind) {
    case ListKeyOutcome::kMove:
      host.SelectListItem(listId, outcome.index);
      break;
    case ListKeyOutcome::kChoose:
      choose(outcome.index);
      break;
    case ListKeyOutcome::kClose:
      close();
      break;
    case ListKeyOutcome::kNone:
      break;
  }
}

FocusRing KeyboardFocus::Ring(const std::vector<WindowControl>& controls) const {
  const int index = IndexOf(controls, focused_);
  if (!keyboardUsed_ || index < 0) return {};
  return {true, controls[static_cast<std::size_t>(index)].box};
}

bool KeyboardFocus::OnKey(const KeyPress& key, const std::vector<WindowControl>& controls) {
  if (key.key == Key::kEscape || key.key == Key::kOther || key.key == Key::kCharacter) return false;
  const std::vector<int> groups = Groups(controls);
  if (groups.empty()) return false;
  keyboardUsed_ = true;
  const int index = IndexOf(controls, focused_);
  if (index < 0) {
    const bool backwards = key.key == Key::kTab && key.shift;
    focused_ = controls[static_cast<std::size_t>(EntryOf(controls, backwards ? groups.back() : groups.front()))].id;
    return true;
  }
  const WindowControl& current = controls[static_cast<std::size_t>(index)];
  // A real control in focus (an edit field) keeps its own keys; Tab leaves
  // it, and Enter does what the control's `act` says or nothing.
  if (current.childId != 0 && key.key != Key::kTab && key.key != Key::kEnter) return false;
  const std::vector<int> members = Members(controls, current.group);
  const int place = static_cast<int>(std::find(members.begin(), members.end(), index) - members.begin());
  const int count = static_cast<int>(members.size());
  // Moving within a group; a radio button is chosen as the focus reaches it.
  auto moveTo = [&](int memberPlace) {
    const WindowControl& target = controls[static_cast<std::size_t>(members[static_cast<std::size_t>(memberPlace)])];
    focused_ = target.id;
    if (ChosenByFocus(target) && !target.checked && target.act) target.act();
  };

  switch (key.key) {
    case Key::kTab: {
      if (key.ctrl) return false;  // the window's pages
      const int g = static_cast<int>(std::find(groups.begin(), groups.end(), current.group) - groups.begin());
      const int n = static_cast<int>(groups.size());
      const int next = (g + (key.shift ? n - 1 : 1)) % n;
      focused_ = controls[static_cast<std::size_t>(EntryOf(controls, groups[static_cast<std::size_t>(next)]))].id;
      return true;
    }
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown: {
      const bool forward = key.key == Key::kRight || key.key == Key::kDown;
      if (current.step) {
        // Up and Right raise a slider, as its steps are drawn upwards.
        current.step(key.key == Key::kUp || key.key == Key::kRight ? 1 : -1);
        return true;
      }
      moveTo((place + (forward ? 1 : count - 1)) % count);
      return true;
    }
    case Key::kHome:
    case Key::kEnd:
      if (current.step) {
        current.step(key.key == Key::kEnd ? kSliderEnd : -kSliderEnd);
      } else {
        moveTo(key.key == Key::kHome ? 0 : count - 1);
      }
      return true;
    case Key::kSpace:
    case Key::kEnter:
      if (current.act) current.act();
      return true;
    default:
      return false;
  }
}

ListKeyOutcome KeyInList(const KeyPress& key, const std::vector<std::string>& items, int selection) {
  const int count = static_cast<int>(items.size());
  if (count == 0) return key.key == Key::kEscape ? ListKeyOutcome{ListKeyOutcome::kClose} : ListKeyOutcome{};
  const int from = selection < 0 || selection >= count ? -1 : selection;
  auto move = [&](int index) { return ListKeyOutcome{ListKeyOutcome::kMove, std::clamp(index, 0, count - 1)}; };
  switch (key.key) {
    case Key::kUp:
      return move(from < 0 ? count - 1 : from - 1);
    case Key::kDown:
      return move(from + 1);
    case Key::kPageUp:
      return move(from < 0 ? 0 : from - kListPageLines);
    case Key::kPageDown:
      return move(from + kListPageLines);
    case Key::kHome:
      return move(0);
    case Key::kEnd:
      return move(count - 1);
    case Key::kEnter:
    case Key::kSpace:
      return from < 0 ? ListKeyOutcome{} : ListKeyOutcome{ListKeyOutcome::kChoose, from};
    case Key::kEscape:
      return {ListKeyOutcome::kClose};
    case Key::kCharacter:
      // The next item after the selection that begins with the letter.
      for (int n = 1; n <= count; ++n) {
        const int i = (from + n + count) % count;
        const std::string& item = items[static_cast<std::size_t>(i)];
        if (!item.empty() &&
            std::toupper(static_cast<unsigned char>(item.front())) == static_cast<unsigned char>(key.character))
          return move(i);
      }
      return {};
    default:
      return {};
  }
}

}  // namespace vortal
