// Child controls without windows: texts, items, selections and colours kept
// in memory, edits that filter typing as the real ones do and report every
// change of their text.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/host/child_controls.h"

namespace vortal::testing {

struct FakeChild {
  ChildKind kind = ChildKind::kEdit;
  Rect box;
  int maxChars = 0;
  std::string text;
  std::vector<std::string> items;
  int selection = kNoItem;
  ChildEvents events;
  int repaints = 0;
};

class FakeChildControls : public ChildControls {
 public:
  void CreateChild(int id, ChildKind kind, const Rect& box, int maxChars) override;
  void DestroyChild(int id) override { children.erase(id); }
  bool ChildExists(int id) const override { return children.count(id) != 0; }
  void SetChildEvents(int id, ChildEvents events) override;
  void SetChildLook(int id, ChildLook look) override { looks[id] = look; }
  void SetChildText(int id, std::string_view text) override;
  std::string ChildText(int id) const override;
  void RepaintChild(int id) override;
  void InsertItem(int id, int index, std::string_view text) override;
  void DeleteItem(int id, int index) override;
  void ClearItems(int id) override;
  std::vector<std::string> Items(int id) const override;
  int Selection(int id) const override;
  void Select(int id, int index) override;
  bool TrackSingleItemMenu(std::string_view label) override;
  void FocusChild(int id) override {
    if (id == 0 || ChildExists(id)) focused = id;
  }
  int FocusedChild() const override { return focused; }

  // The user types into an edit: the text is replaced as far as the edit
  // takes it (digits only, at most maxChars), and the change is reported.
  void Type(int id, std::string_view text);
  // The user right-clicks a control.
  void RightClick(int id);
  // The pointer rests on a line of a list that follows it.
  void PointAt(int id, int index);

  std::map<int, FakeChild> children;
  std::map<int, ChildLook> looks;
  // Every text change of an edit is also reported here (a sub-dialog's host
  // hands it to the dialog).
  std::function<void(int id)> onAnyTextChange;
  bool chooseMenuItem = false;
  int focused = 0;  // the control with the keyboard focus, 0 for none
  std::vector<std::string> menuLabels;

 private:
  void Changed(int id);
};

}  // namespace vortal::testing
