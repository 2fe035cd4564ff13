// The child controls of an owner-drawn window as real Win32 controls: edits,
// statics and list boxes over the window's picture, drawn in the colours
// their page gives them, reporting text changes and context menus to it.
#pragma once

#include <windows.h>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's DrawText

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/child_controls.h"
#include "ui/host/display_scale.h"
#include "ui/host/main_window_services.h"

namespace vortal {

// The line of the list box `listId` of `parent` under `p` (the parent's client
// coordinates in units of `scale`), with the line's rectangle in the list's
// client coordinates, in units. Nothing when the list does not exist, `p` is
// outside it, below its last line, or over another child that lies on top of
// it.
std::optional<ListHost::ListItemHit> ListItemUnder(HWND parent, int listId, Point p,
                                                   DisplayScale scale);
// Scrolls the list box `listId` of `parent` by `lines` line steps (WM_VSCROLL),
// negative ones up; nothing when there is no such list.
void ScrollListBy(HWND parent, int listId, int lines);

// Smaller faces of one font, made on demand, so that a static's text fits its
// width: the font's own height first, then a pixel less at a time down to a
// floor that stays readable. The faces live as long as this object.
class FittedFonts {
 public:
  FittedFonts() = default;
  ~FittedFonts();
  FittedFonts(const FittedFonts&) = delete;
  FittedFonts& operator=(const FittedFonts&) = delete;

  // Gives `control` (a static) the largest face of `normal` in which `text`
  // fits the control's width, or the smallest (`smallest` pixels high) when
  // none does.
  void Fit(HWND control, HFONT normal, std::wstring_view text, int smallest);
  // Another font comes: the faces made of the old one go.
  void Clear();

 private:
  std::map<int, HFONT> faces_;  // by height, all of one font
};

class Win32ChildControls : public ChildControls {
 public:
  Win32ChildControls() = default;
  ~Win32ChildControls() override;
  Win32ChildControls(const Win32ChildControls&) = delete;
  Win32ChildControls& operator=(const Win32ChildControls&) = delete;

  // `fallback`: the colours of the window's controls that were given no look
  // (the drop-down lists a ListHost creates).
  void Attach(HWND parent, HFONT font, ChildLook fallback);
  // Lays the controls out at `scale` from now on, the existing ones moved
  // and given `font` (made at that scale) at once. Boxes come in units.
  void SetScale(DisplayScale scale, HFONT font);
  DisplayScale scale() const { return scale_; }
  HFONT font() const { return font_; }
  // A control made elsewhere (a drop-down list) that SetScale moves too.
  void Place(int id, const Rect& box) { boxes_[id] = box; }

  void CreateChild(int id, ChildKind kind, const Rect& box, int maxChars) override;
  void DestroyChild(int id) override;
  bool ChildExists(int id) const override;
  void SetChildEvents(int id, ChildEvents events) override;
  void SetChildLook(int id, ChildLook look) override;
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
  void FocusChild(int id) override;
  int FocusedChild() const override;

  // The parent's messages; each returns whether it was one of ours.
  // WM_COMMAND: EN_CHANGE of an edit with events.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  // WM_CONTEXTMENU over a control with events.
  bool OnContextMenu(HWND control);
  // WM_CTLCOLOR*: the control's look (the fallback without one) in its
  // device context, with the window's font; returns the look's brush.
  HBRUSH OnControlColor(HDC dc, HWND control);

 private:
  HWND Child(int id) const { return parent_ ? GetDlgItem(parent_, id) : nullptr; }

  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  DisplayScale scale_;
  std::map<int, Rect> boxes_;  // units
  std::map<int, ChildLook> looks_;
  std::map<int, HBRUSH> brushes_;  // one per look, for the window's life
  ChildLook fallback_{{255, 255, 255}, {0, 0, 0}};
  HBRUSH fallbackBrush_ = nullptr;
  std::map<int, ChildEvents> events_;
  FittedFonts fitted_;
};

}  // namespace vortal
