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
#include "texts/texts.h"
#include "ui/host/canvas.h"
#include "ui/host/display_scale.h"
#include "ui/host/geometry.h"
#include "ui/host/window_controls.h"

namespace vortal {

inline constexpr int kHoverTimeMs = 10;

// Everything it holds is at its display scale: the background bitmap and the
// window's size in pixels, the fonts made at it, the images drawn from the
// program's cache for that scale. What comes in and goes out is in 96-DPI
// units.
class WindowPicture {
 public:
  explicit WindowPicture(SkinImageCache& images = ProgramSkinImages()) : images_(images) {}
  ~WindowPicture();
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  void Attach(HWND window) { window_ = window; }
  // The fonts, in 96-DPI heights; made at the scale.
  void SetFonts(const FontSpec& normal, const FontSpec& title);
  HFONT normalFont() const { return normal_; }

  DisplayScale scale() const { return scale_; }
  // The DPI of the window's monitor. The picture is drawn at it, or, when
  // the background would not fit the monitor's work area, at the largest
  // quarter step below that fits (FittingScale). A change of scale makes the
  // fonts again and loads the background again at it (the window sized to
  // it without moving); the caller draws the picture anew.
  void SetMonitorDpi(int dpi);

  // Loads folder + image as the background and sizes the window to it
  // without moving it; without the image the window gets no area. The size
  // is in units. A released picture only decodes the image to learn its
  // size, and drops it again.
  std::optional<Size> LoadBackground(std::string_view skinFolder, std::string_view imageName);
  // The background's size in units (0 x 0 without one).
  Size units() const { return units_; }
  bool hasBackground() const { return background_ != nullptr; }
  // One redraw onto the background through an off-screen buffer, copied to
  // the window. False, `draw` not called, without a background. A released
  // picture runs `draw` on a canvas that draws nothing: what it shows is
  // drawn when the picture is prepared again.
  bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw);

  // A hidden window's picture: the background bitmap and every image of
  // the cache it draws from are freed; its size, scale and fonts stay.
  void Release();
  // The background made again from its image, the window about to be
  // shown; true when it was released, and the caller then draws the
  // picture whole.
  bool Prepare();
  bool released() const { return released_; }
  // WM_ERASEBKGND: the background bitmap over the client area, and the
  // focus ring over it.
  void PaintBackground(HDC dc);
  // The keyboard's focus ring, drawn over the picture on the window (never
  // into the background), at the scale: the old one's place is painted
  // again from the background.
  void SetFocusRing(const FocusRing& ring);
  void Invalidate(const Rect& box);
  // One hover notification after the pointer rests 10 ms (and the leave
  // notification when `leave`).
  void RequestHover(bool leave);

 private:
  void MakeFonts();
  void DrawFocusRing(HDC dc) const;
  // The ring's outer rectangle in pixels.
  RECT RingPixels() const;
  // A background is there, or would be but for the release.
  bool loaded() const { return background_ != nullptr || (released_ && units_.width != 0); }
  void SetScale(DisplayScale scale);
  // The scale for the monitor's DPI and the background's size.
  DisplayScale FittedScale() const;

  SkinImageCache& images_;
  HWND window_ = nullptr;
  HBITMAP background_ = nullptr;
  bool released_ = false;
  std::string backgroundFolder_;
  std::string backgroundName_;
  SIZE size_{};   // pixels
  Size units_{};
  DisplayScale scale_;
  int monitorDpi_ = kBaseDpi;
  std::string normalFace_, titleFace_;
  FontSpec normalSpec_{}, titleSpec_{};
  HFONT normal_ = nullptr;
  HFONT title_ = nullptr;
  FocusRing ring_;
};

// A font of the language table (width 0, ANSI character set, swiss family),
// `height` in pixels.
HFONT CreateSkinFont(std::string_view faceNameUtf8, int height, int weight);

// The DPI of `window`'s monitor as the system tells it: the window's own
// where the system knows it (Windows 10 1607 on), else the system's.
int WindowDpi(HWND window);
// The size of the work area of the monitor `window` is on, in pixels.
Size WorkAreaOf(HWND window);

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
// `area` in units, laid out at `scale`.
HWND CreateDropDownList(HWND parent, int id, const Rect& area,
                        const std::vector<std::string>& items, HFONT font, DisplayScale scale);

}  // namespace vortal
