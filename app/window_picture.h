// The picture of an owner-drawn window: its background bitmap (which every
// redraw draws onto, so it always holds what the window shows), the skin
// images it draws from, and its fonts. The main dialog and the sub-dialog
// host each keep one.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/skin_drawing.h"
#include "ui/host/canvas.h"
#include "ui/host/geometry.h"

namespace vortal {

inline constexpr int kHoverTimeMs = 10;

class WindowPicture {
 public:
  WindowPicture() = default;
  ~WindowPicture();
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  void Attach(HWND window) { window_ = window; }
  // Takes ownership of the fonts.
  void SetFonts(HFONT normal, HFONT title);
  HFONT normalFont() const { return normal_; }

  // Loads folder + image as the background and sizes the window to it
  // without moving it; without the image the window gets no area.
  std::optional<Size> LoadBackground(std::string_view skinFolder, std::string_view imageName);
  bool hasBackground() const { return background_ != nullptr; }
  // One redraw onto the background through an off-screen buffer, copied to
  // the window. False, `draw` not called, without a background.
  bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw);
  // WM_ERASEBKGND: the background bitmap over the client area.
  void PaintBackground(HDC dc);
  void Invalidate(const Rect& box);
  // One hover notification after the pointer rests 10 ms (and the leave
  // notification when `leave`).
  void RequestHover(bool leave);

 private:
  HWND window_ = nullptr;
  HBITMAP background_ = nullptr;
  SIZE size_{};
  HFONT normal_ = nullptr;
  HFONT title_ = nullptr;
  SkinImageCache images_;
};

// A font of the language table (width 0, ANSI character set, swiss family).
HFONT CreateSkinFont(std::string_view faceNameUtf8, int height, int weight);

// The system's default language and Windows version, as the fonts and texts
// are chosen by them.
unsigned SystemLangId();
void WindowsVersion(unsigned* major, unsigned* minor);


}  // namespace vortal

namespace vortal {

// A drop-down list: a child list box (WS_CHILD | WS_VISIBLE | WS_BORDER |
// WS_VSCROLL | LBS_NOTIFY) in `area` with the given control id and items, whose
// selection follows the pointer. It shows as many whole lines of its font as
// the area holds; a line wider than the area widens it to the right, within
// the parent's client area.
HWND CreateDropDownList(HWND parent, int id, const Rect& area,
                        const std::vector<std::string>& items, HFONT font);

}  // namespace vortal
