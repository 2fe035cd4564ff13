#include "ui/window/drop_down_lists.h"

namespace vortal {

bool DropDownLists::IsOpen(int id) const {
  auto it = open_.find(id);
  return it != open_.end() && it->second;
}

void DropDownLists::Open(int id, const Rect& area, const std::vector<std::string>& items) {
  if (!host_.ListExists(id)) host_.CreateList(id, area, items);
  open_[id] = true;
  items_[id] = items;
  std::erase(opened_, id);
  opened_.push_back(id);
}

void DropDownLists::Close(int id) {
  if (host_.ListExists(id)) host_.DestroyList(id);
  open_[id] = false;
  items_.erase(id);
  std::erase(opened_, id);
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

int DropDownLists::KeyboardList() const {
  for (auto it = opened_.rbegin(); it != opened_.rend(); ++it) {
    if (host_.ListExists(*it)) return *it;
  }
  return 0;
}

bool DropDownLists::OnKey(const KeyPress& key, const std::function<void(int, int)>& choose) {
  const int id = KeyboardList();
  if (id == 0) return false;
  KeyInOpenList(
      key, host_, id, items_[id], [&](int index) { choose(id, index); }, [&] { Close(id); });
  return true;
}

}  // namespace vortal
