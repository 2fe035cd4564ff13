// What the main window and the sub-dialogs' window share: a modal dialog
// built from an in-memory template, whose procedure finds the object and
// hands it every message, the picture kept on its background bitmap, its
// child controls, and the Win32 side of the host roles both serve (drawing
// surface, drop-down lists, colour dialog, message boxes).
#pragma once

#include <windows.h>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's ChooseColor

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/child_controls_win32.h"
#include "app/state_log.h"
#include "app/window_picture.h"
#include "ui/host/main_window_services.h"

namespace vortal {

// A dialog template without controls: DLGTEMPLATE, then no menu, the window
// class (the system's dialog class when empty), an empty title and, when
// `font` is given, DS_SETFONT's point size and face.
struct DialogTemplateSpec {
  DWORD style = 0;
  DWORD exStyle = 0;
  short width = 0;   // dialog units
  short height = 0;  // dialog units
  const wchar_t* windowClass = L"";
  const wchar_t* font = nullptr;
  WORD fontPoints = 0;
};
std::vector<WORD> DialogTemplate(const DialogTemplateSpec& spec);

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The point of a mouse message's lParam, in client pixels.
inline Point PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The standard colour dialog over `owner`, with no initial colour; nothing
// when the user cancels it.
std::optional<Color> ChooseColorOver(HWND owner);

// A key press of the keyboard's ways through a window (Tab, the arrows,
// Home, End, Page Up and Down, Space, Enter, Escape, letters and digits) with
// Shift and Ctrl as they are now; nothing for other keys and with Alt down.
std::optional<KeyPress> KeyPressOf(WPARAM virtualKey);

// A message box with an OK button; no caption when `caption` is empty.
void ShowMessageOver(HWND owner, const std::string& text, const std::string& caption);

// The models see the window in 96-DPI units; the window itself is laid out
// at its monitor's scale (per-monitor aware, see vortal.manifest). This base
// is where the two meet: mouse points come in through UnitsOf, and the
// picture, the child controls and the lists scale what goes out.
template <class Host>
class OwnerDrawnWindow : public Host {
 public:
  // Surface.
  std::optional<Size> LoadBackground(std::string_view skinFolder,
                                     std::string_view imageName) override {
    std::optional<Size> units = picture_.LoadBackground(skinFolder, imageName);
    // The background may have set another scale, to fit the work area.
    FollowPictureScale();
    return units;
  }
  bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw) override {
    return picture_.Redraw(skinFolder, draw);
  }
  void Invalidate(const Rect& box) override { picture_.Invalidate(box); }
  void ShowFocusRing(const FocusRing& ring) override { picture_.SetFocusRing(ring); }
  // ListHost (each window creates its lists its own way).
  void DestroyList(int id) override {
    if (HWND list = GetDlgItem(hwnd_, id)) {
      // A list that had the keyboard gives it back to the window.
      if (GetFocus() == list) SetFocus(hwnd_);
      DestroyWindow(list);
      ProgramStateLog().Write("list closed", std::to_string(id));
    }
  }
  bool ListExists(int id) const override { return GetDlgItem(hwnd_, id) != nullptr; }
  std::optional<ListHost::ListItemHit> ListItemAt(int listId, Point p) const override {
    return ListItemUnder(hwnd_, listId, p, picture_.scale());
  }
  void SelectListItem(int listId, int index) override {
    if (HWND list = GetDlgItem(hwnd_, listId)) SendMessageW(list, LB_SETCURSEL, index, 0);
  }
  int ListSelection(int listId) const override {
    HWND list = GetDlgItem(hwnd_, listId);
    const LRESULT index = list ? SendMessageW(list, LB_GETCURSEL, 0, 0) : LB_ERR;
    return index == LB_ERR ? kNoItem : static_cast<int>(index);
  }
  void ScrollList(int id, int lines) override { ScrollListBy(hwnd_, id, lines); }
  // ColorChooser.
  std::optional<Color> ChooseColor() override { return ChooseColorOver(hwnd_); }
  ChildControls& childControls() override { return controls_; }

 protected:
  // Runs the window modally from `spec` over `owner` until it ends; every
  // message from WM_INITDIALOG on reaches OnMessage.
  INT_PTR RunModal(HINSTANCE instance, HWND owner, const DialogTemplateSpec& spec) {
    const std::vector<WORD> words = DialogTemplate(spec);
    return DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
                                   &OwnerDrawnWindow::Proc, reinterpret_cast<LPARAM>(this));
  }
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // A keyboard message of the window or one of its controls, before the
  // dialog manager and the control see it; true keeps it from them.
  virtual bool OnKeyMessage(const MSG& msg) {
    (void)msg;
    return false;
  }
  // The window is laid out at another scale (its monitor's DPI changed, or
  // it moved to a monitor of another one): fonts, background and controls
  // are there already; the window draws its picture anew.
  virtual void OnScaleChanged() = 0;
  // The value a handled message returns (DWLP_MSGRESULT).
  void SetResult(LRESULT result) { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result); }
  // A mouse message's point in units.
  Point UnitsOf(LPARAM lParam) const { return picture_.scale().Unscale(PointOf(lParam)); }
  // A drop-down list in `area` (units) at the window's scale.
  void CreateListAtScale(int id, const Rect& area, const std::vector<std::string>& items) {
    if (CreateDropDownList(hwnd_, id, area, items, picture_.normalFont(), picture_.scale())) {
      controls_.Place(id, area);
    }
  }
  // The child controls follow the picture's scale and font.
  void FollowPictureScale() {
    if (controls_.scale() != picture_.scale() || controls_.font() != picture_.normalFont()) {
      controls_.SetScale(picture_.scale(), picture_.normalFont());
    }
  }

  HWND hwnd_ = nullptr;
  // The DPI the window starts at; 0: its monitor's.
  int initialDpi_ = 0;
  WindowPicture picture_;
  Win32ChildControls controls_;  // destroyed before the picture's fonts

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    OwnerDrawnWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<OwnerDrawnWindow*>(lParam);
      SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      self->hwnd_ = hwnd;
      self->picture_.Attach(hwnd);
      self->picture_.SetMonitorDpi(self->initialDpi_ ? self->initialDpi_ : WindowDpi(hwnd));
      self->InstallKeyFilter();
    } else if (message == WM_DESTROY) {
      self = reinterpret_cast<OwnerDrawnWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
      if (self) self->RemoveKeyFilter();
    } else {
      self = reinterpret_cast<OwnerDrawnWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // The dialog manager would hand the focus on to the control that had it
    // last; the window keeps it, and its model gives it to its controls.
    if (self && message == WM_SETFOCUS) return TRUE;
    if (self && message == WM_DPICHANGED) {
      self->OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      self->SetResult(0);
      return TRUE;
    }
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
  }

  // Every message of the window's modal loop passes the filter before the
  // dialog manager sees it; the newest window's filter first, which hands on
  // what is not its own.
  void InstallKeyFilter() {
    if (keyFilter_) return;
    previousKeyWindow_ = keyWindow_;
    keyWindow_ = this;
    keyFilter_ = SetWindowsHookExW(WH_MSGFILTER, &KeyFilterProc, nullptr, GetCurrentThreadId());
  }
  void RemoveKeyFilter() {
    if (!keyFilter_) return;
    UnhookWindowsHookEx(keyFilter_);
    keyFilter_ = nullptr;
    if (keyWindow_ == this) keyWindow_ = previousKeyWindow_;
  }
  static LRESULT CALLBACK KeyFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST) {
      for (OwnerDrawnWindow* window = keyWindow_; window; window = window->previousKeyWindow_) {
        if (msg->hwnd != window->hwnd_ && !IsChild(window->hwnd_, msg->hwnd)) continue;
        if (window->OnKeyMessage(*msg)) return TRUE;
        break;
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline OwnerDrawnWindow* keyWindow_ = nullptr;
  OwnerDrawnWindow* previousKeyWindow_ = nullptr;
  HHOOK keyFilter_ = nullptr;

 protected:
  ~OwnerDrawnWindow() override { RemoveKeyFilter(); }

 private:
  // The system's suggested rectangle keeps the window where the user sees it
  // (under the pointer when dragged across); the window takes its corner and
  // its own size at the new scale.
  void OnDpiChanged(int dpi, const RECT* suggested) {
    const DisplayScale before = picture_.scale();
    if (suggested) {
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    picture_.SetMonitorDpi(dpi);
    FollowPictureScale();
    if (picture_.scale() != before) OnScaleChanged();
  }
};

}  // namespace vortal
