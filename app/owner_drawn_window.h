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

// The point of a mouse message's lParam, in client coordinates.
inline Point PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The standard colour dialog over `owner`, with no initial colour; nothing
// when the user cancels it.
std::optional<Color> ChooseColorOver(HWND owner);

// A message box with an OK button; no caption when `caption` is empty.
void ShowMessageOver(HWND owner, const std::string& text, const std::string& caption);

template <class Host>
class OwnerDrawnWindow : public Host {
 public:
  // Surface.
  std::optional<Size> LoadBackground(std::string_view skinFolder,
                                     std::string_view imageName) override {
    return picture_.LoadBackground(skinFolder, imageName);
  }
  bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw) override {
    return picture_.Redraw(skinFolder, draw);
  }
  void Invalidate(const Rect& box) override { picture_.Invalidate(box); }
  // ListHost (each window creates its lists its own way).
  void DestroyList(int id) override {
    if (HWND list = GetDlgItem(hwnd_, id)) {
      DestroyWindow(list);
      ProgramStateLog().Write("list closed", std::to_string(id));
    }
  }
  bool ListExists(int id) const override { return GetDlgItem(hwnd_, id) != nullptr; }
  std::optional<ListHost::ListItemHit> ListItemAt(int listId, Point p) const override {
    return ListItemUnder(hwnd_, listId, p);
  }
  void SelectListItem(int listId, int index) override {
    if (HWND list = GetDlgItem(hwnd_, listId)) SendMessageW(list, LB_SETCURSEL, index, 0);
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
  // The value a handled message returns (DWLP_MSGRESULT).
  void SetResult(LRESULT result) { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result); }

  HWND hwnd_ = nullptr;
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
    } else {
      self = reinterpret_cast<OwnerDrawnWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
  }
};

}  // namespace vortal
