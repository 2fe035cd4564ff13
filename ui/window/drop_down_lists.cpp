#include "ui/window/drop_down_lists.h"

namespace vortal {

bool DropDownLists::IsOpen(int id) const {
  auto it = open_.find(id);
  return it != open_.end() && it->second;
}

void DropDownLists::Open(int id, const Rect& area, const std::vector<std::string>& items) {
  if (!host_.ListExists(id)) host_.CreateList(id, area, items);
  open_[id] = true;
}

void DropDownLists::Close(int id) {
  if (host_.ListExists(id)) host_.DestroyList(id);
  open_[id] = false;
}

void DropDownLists::Toggle(int id, const Rect& area, const std::vector<std::string>& items) {
  if (IsOpen(id)) {
    Close(id);
  } else {
    Open(id, area, items);
  }
}

void DropDownLists::CloseOutside(const std::vector<DropDownList>& lists, Point p) {
  for (const DropDownList& list : lists) {
    const bool inside = list.header.Contains(p) || (list.area && list.area->Contains(p));
    if (inside) continue;
    Close(list.id);
    for (int companion : list.closedWith) Close(companion);
  }
}

}  // namespace vortal
