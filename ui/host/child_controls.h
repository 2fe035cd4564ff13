// Real child windows of an owner-drawn window: edit fields, static texts and
// list boxes that a page or a sub-dialog creates over its picture. The only
// way a model makes, changes and colours a control. The
// Windows host creates them as controls; tests use a fake that keeps their
// texts, items and selections.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/geometry.h"

namespace vortal {

enum class ChildKind {
  kEdit,        // single line, centred text
  kDigitsEdit,  // single line, centred text, only the digits 0 to 9
  kBorderedDigitsEdit,  // the same with a border
  kStatic,      // centred horizontally and vertically
  kList,        // unsorted, no border, selection notifications
  kHoverList,   // kList whose line under the pointer becomes the selection
  kLeftStatic,  // left-aligned, centred vertically
};

struct ChildLook {
  Color text;
  Color back;  // also the brush the control is filled with
};

inline constexpr int kNoItem = -1;

// What a control reports to the page that made it, by the control's id.
struct ChildEvents {
  std::function<void(int id)> onTextChange;   // an edit's text changed
  std::function<void(int id)> onContextMenu;  // the right button over it
};

class ChildControls {
 public:
  virtual ~ChildControls() = default;
  // `maxChars` limits what the user can type into an edit (0: no limit).
  virtual void CreateChild(int id, ChildKind kind, const Rect& box, int maxChars = 0) = 0;
  // Its events are dropped with it.
  virtual void DestroyChild(int id) = 0;  // nothing when it does not exist
  virtual void SetChildEvents(int id, ChildEvents events) = 0;
  virtual bool ChildExists(int id) const = 0;
  // The colours the control is drawn in (any control of the window, the
  // drop-down lists included); kept until the window ends.
  virtual void SetChildLook(int id, ChildLook look) = 0;
  // Setting an edit's text notifies its change like typing does.
  virtual void SetChildText(int id, std::string_view text) = 0;
  virtual std::string ChildText(int id) const = 0;
  virtual void RepaintChild(int id) = 0;

  // List boxes. `index` kNoItem appends.
  virtual void InsertItem(int id, int index, std::string_view text) = 0;
  virtual void DeleteItem(int id, int index) = 0;
  virtual void ClearItems(int id) = 0;
  virtual std::vector<std::string> Items(int id) const = 0;
  // kNoItem: none selected. Selecting scrolls the line into view and sends
  // no notification.
  virtual int Selection(int id) const = 0;
  virtual void Select(int id, int index) = 0;

  // A pop-up menu at the pointer with one item, tracked with the right
  // button; true when the user chose the item.
  virtual bool TrackSingleItemMenu(std::string_view label) = 0;

  // Gives the control the keyboard focus (nothing when it does not exist);
  // 0 gives it back to the window itself.
  virtual void FocusChild(int id) = 0;
  // The id of the control that has the keyboard focus; 0 for none.
  virtual int FocusedChild() const = 0;
};

}  // namespace vortal
