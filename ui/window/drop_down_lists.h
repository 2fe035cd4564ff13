// The open/closed state of a window's drop-down lists. A list lives from the
// click on its header until the next click on its header, a choice in it, a
// click on the window outside it, or a page change.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/host/geometry.h"
#include "ui/host/keyboard_focus.h"
#include "ui/host/main_window_services.h"

namespace vortal {

struct DropDownList {
  int id = 0;                // the list box's control id
  Rect header;               // the drawn box that opens and closes it
  std::optional<Rect> area;  // none: any click outside the header closes it
  // Lists that go whenever a click falls outside this one, whether or not
  // this one is open (the DPI-switch sub-list goes with every function list).
  std::vector<int> closedWith;
};

class DropDownLists {
 public:
  explicit DropDownLists(ListHost& host) : host_(host) {}

  bool IsOpen(int id) const;
  void Open(int id, const Rect& area, const std::vector<std::string>& items);
  // Destroys the list box when it exists and clears the flag.
  void Close(int id);
  // Header clicked: an open list closes, a closed one opens.
  void Toggle(int id, const Rect& area, const std::vector<std::string>& items);
  // The closing rule for a click: each list, in the order given, whose header
  // and area do not contain `p` is closed, together with its companions.
  void CloseOutside(const std::vector<DropDownList>& lists, Point p);

  // The list the keyboard drives: the last one opened that is still open;
  // 0 for none.
  int KeyboardList() const;
  // A key while a list is open: the arrows, Home, End and a first letter
  // move its selection, Enter chooses (`choose` gets the list and the item,
  // as a click on it would), Escape closes it. False when no list is open.
  bool OnKey(const KeyPress& key, const std::function<void(int listId, int index)>& choose);

 private:
  ListHost& host_;
  std::map<int, bool> open_;
  std::map<int, std::vector<std::string>> items_;
  std::vector<int> opened_;  // oldest first
};

}  // namespace vortal
