#include "support/fake_child_controls.h"

#include <algorithm>
#include <cctype>

namespace vortal::testing {
namespace {

bool IsEdit(ChildKind kind) {
  return kind == ChildKind::kEdit || kind == ChildKind::kDigitsEdit ||
         kind == ChildKind::kBorderedDigitsEdit;
}

bool IsDigitsOnly(ChildKind kind) {
  return kind == ChildKind::kDigitsEdit || kind == ChildKind::kBorderedDigitsEdit;
}

}  // namespace

void FakeChildControls::CreateChild(int id, ChildKind kind, const Rect& box, int maxChars) {
  FakeChild child;
  child.kind = kind;
  child.box = box;
  child.maxChars = maxChars;
  children[id] = child;
}

void FakeChildControls::SetChildEvents(int id, ChildEvents events) {
  if (auto it = children.find(id); it != children.end()) it->second.events = std::move(events);
}

void FakeChildControls::Changed(int id) {
  auto it = children.find(id);
  if (it == children.end() || !IsEdit(it->second.kind)) return;
  const ChildEvents events = it->second.events;  // the handler may destroy the child
  if (events.onTextChange) events.onTextChange(id);
  if (onAnyTextChange) onAnyTextChange(id);
}

void FakeChildControls::SetChildText(int id, std::string_view text) {
  auto it = children.find(id);
  if (it == children.end()) return;
  it->second.text = std::string(text);
  Changed(id);
}

std::string FakeChildControls::ChildText(int id) const {
  auto it = children.find(id);
  return it == children.end() ? std::string() : it->second.text;
}

void FakeChildControls::RepaintChild(int id) {
  if (auto it = children.find(id); it != children.end()) ++it->second.repaints;
}

void FakeChildControls::InsertItem(int id, int index, std::string_view text) {
  auto it = children.find(id);
  if (it == children.end()) return;
  auto& items = it->second.items;
  if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
  items.insert(items.begin() + index, std::string(text));
  // A list box keeps its selection on the same line.
  if (it->second.selection >= index) ++it->second.selection;
}

void FakeChildControls::DeleteItem(int id, int index) {
  auto it = children.find(id);
  if (it == children.end()) return;
  auto& child = it->second;
  if (index < 0 || index >= static_cast<int>(child.items.size())) return;
  child.items.erase(child.items.begin() + index);
  if (child.selection == index) {
    child.selection = kNoItem;
  } else if (child.selection > index) {
    --child.selection;
  }
}

void FakeChildControls::ClearItems(int id) {
  if (auto it = children.find(id); it != children.end()) {
    it->second.items.clear();
    it->second.selection = kNoItem;
  }
}

std::vector<std::string> FakeChildControls::Items(int id) const {
  auto it = children.find(id);
  return it == children.end() ? std::vector<std::string>{} : it->second.items;
}

int FakeChildControls::Selection(int id) const {
  auto it = children.find(id);
  return it == children.end() ? kNoItem : it->second.selection;
}

void FakeChildControls::Select(int id, int index) {
  auto it = children.find(id);
  if (it == children.end()) return;
  const bool valid = index >= 0 && index < static_cast<int>(it->second.items.size());
  it->second.selection = valid ? index : kNoItem;
}

bool FakeChildControls::TrackSingleItemMenu(std::string_view label) {
  menuLabels.emplace_back(label);
  return chooseMenuItem;
}

void FakeChildControls::Type(int id, std::string_view text) {
  auto it = children.find(id);
  if (it == children.end()) return;
  std::string taken;
  for (char ch : text) {
    if (IsDigitsOnly(it->second.kind) && !std::isdigit(static_cast<unsigned char>(ch))) continue;
    if (it->second.maxChars > 0 && static_cast<int>(taken.size()) >= it->second.maxChars) break;
    taken.push_back(ch);
  }
  it->second.text = taken;
  Changed(id);
}

void FakeChildControls::RightClick(int id) {
  auto it = children.find(id);
  if (it == children.end()) return;
  const ChildEvents events = it->second.events;
  if (events.onContextMenu) events.onContextMenu(id);
}

void FakeChildControls::PointAt(int id, int index) {
  auto it = children.find(id);
  if (it != children.end() && it->second.kind == ChildKind::kHoverList) Select(id, index);
}

}  // namespace vortal::testing
