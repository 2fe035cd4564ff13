#include "app/window_picture.h"

#include <algorithm>
#include <string>

#include <commctrl.h>

#include "app/mem_dc.h"
#include "app/state_log.h"
#include "app/win32_canvas.h"
#include "files/win32_text.h"
#include "ui/skin/skin_images.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

WindowPicture::~WindowPicture() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(background_), static_cast<HGDIOBJ>(normal_),
                         static_cast<HGDIOBJ>(title_)}) {
    if (object) DeleteObject(object);
  }
}

void WindowPicture::SetFonts(const FontSpec& normal, const FontSpec& title) {
  normalFace_ = normal.faceName;
  titleFace_ = title.faceName;
  normalSpec_ = {normalFace_, normal.height, normal.weight};
  titleSpec_ = {titleFace_, title.height, title.weight};
  MakeFonts();
}

void WindowPicture::MakeFonts() {
  if (normal_) DeleteObject(normal_);
  if (title_) DeleteObject(title_);
  normal_ = title_ = nullptr;
  if (normalSpec_.height == 0) return;  // no fonts given yet
  normal_ = CreateSkinFont(normalSpec_.faceName, scale_.Scale(normalSpec_.height), normalSpec_.weight);
  title_ = CreateSkinFont(titleSpec_.faceName, scale_.Scale(titleSpec_.height), titleSpec_.weight);
}

void WindowPicture::SetMonitorDpi(int dpi) {
  monitorDpi_ = dpi;
  SetScale(FittedScale());
}

DisplayScale WindowPicture::FittedScale() const {
  if (units_.width == 0) return DisplayScale(monitorDpi_);
  return FittingScale(monitorDpi_, units_, WorkAreaOf(window_));
}

void WindowPicture::SetScale(DisplayScale scale) {
  if (scale == scale_) return;
  scale_ = scale;
  MakeFonts();
  if (loaded()) LoadBackground(std::string(backgroundFolder_), std::string(backgroundName_));
}

std::optional<Size> WindowPicture::LoadBackground(std::string_view skinFolder,
                                                  std::string_view imageName) {
  if (background_) DeleteObject(background_);
  background_ = nullptr;
  size_ = SIZE{};
  units_ = Size{};
  backgroundFolder_ = skinFolder;
  backgroundName_ = imageName;
  if (const SkinImage* image = images_.Get(skinFolder, imageName, scale_)) {
    if (!released_) background_ = OpaqueBitmapOf(*image);
    if (background_ || released_) {
      size_ = SIZE{image->width(), image->height()};
      units_ = image->units();
    }
  }
  if (released_) images_.Clear();
  // Too large for the work area at this scale: drawn at one that fits.
  if (const DisplayScale fitted = FittedScale(); loaded() && fitted != scale_) {
    SetScale(fitted);
    return units_;
  }
  if (window_) {
    SetWindowPos(window_, nullptr, 0, 0, size_.cx, size_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!loaded()) return std::nullopt;
  return units_;
}

void WindowPicture::Release() {
  if (background_) DeleteObject(background_);
  background_ = nullptr;
  released_ = true;
  images_.Clear();
}

bool WindowPicture::Prepare() {
  if (!released_) return false;
  released_ = false;
  if (units_.width == 0) return true;  // no background to make
  if (const SkinImage* image = images_.Get(backgroundFolder_, backgroundName_, scale_)) {
    background_ = OpaqueBitmapOf(*image);
  }
  return true;
}

namespace {

// What a released picture's redraws draw on.
class NoCanvas : public Canvas {
 public:
  bool DrawImage(std::string_view, Point) override { return true; }
  void DrawText(std::string_view, const Rect&, TextAlign, Color, FontKind) override {}
  void FillRect(const Rect&, Color) override {}
};

}  // namespace

bool WindowPicture::Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw) {
  if (released_ && loaded()) {
    NoCanvas nothing;
    draw(nothing);
    return true;
  }
  if (!background_ || !window_) return false;
  HDC windowDc = GetDC(window_);
  {
    RECT all{0, 0, size_.cx, size_.cy};
    CMemDC buffer(windowDc, &all, background_);
    HGDIOBJ oldFont = normal_ ? SelectObject(buffer.dc(), normal_) : nullptr;
    GdiCanvas canvas(buffer.dc(), images_, skinFolder, normal_, title_ ? title_ : normal_, scale_);
    draw(canvas);
    if (oldFont) SelectObject(buffer.dc(), oldFont);
  }
  DrawFocusRing(windowDc);
  ReleaseDC(window_, windowDc);
  return true;
}

void WindowPicture::PaintBackground(HDC dc) {
  if (!window_) return;
  RECT client;
  GetClientRect(window_, &client);
  { CMemDC buffer(dc, &client, background_); }
  DrawFocusRing(dc);
}

RECT WindowPicture::RingPixels() const {
  // Two units outside the control, so the ring never covers what it marks.
  constexpr int kRingGap = 2;
  const Rect outer{ring_.box.left - kRingGap, ring_.box.top - kRingGap, ring_.box.right + kRingGap,
                   ring_.box.bottom + kRingGap};
  return ToRect(scale_.Scale(outer));
}

void WindowPicture::SetFocusRing(const FocusRing& ring) {
  if (ring == ring_) return;
  if (window_ && ring_.shown) {
    const RECT old = RingPixels();
    InvalidateRect(window_, &old, TRUE);
  }
  ring_ = ring;
  if (window_ && ring_.shown && !released_) {
    HDC dc = GetDC(window_);
    DrawFocusRing(dc);
    ReleaseDC(window_, dc);
  }
}

// A white line inside a black one, each a unit wide at the scale: it reads
// on the dark skin and on the light one, on any image under it.
void WindowPicture::DrawFocusRing(HDC dc) const {
  if (!ring_.shown || released_) return;
  const int line = std::max(1, scale_.Scale(1));
  RECT r = RingPixels();
  for (COLORREF colour : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
    HBRUSH brush = CreateSolidBrush(colour);
    for (int i = 0; i < line; ++i) {
      FrameRect(dc, &r, brush);
      InflateRect(&r, -1, -1);
    }
    DeleteObject(brush);
  }
}

void WindowPicture::Invalidate(const Rect& box) {
  RECT r = ToRect(scale_.Scale(box));
  InvalidateRect(window_, &r, TRUE);
}

void WindowPicture::RequestHover(bool leave) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_HOVER | (leave ? TME_LEAVE : 0);
  track.hwndTrack = window_;
  track.dwHoverTime = kHoverTimeMs;
  TrackMouseEvent(&track);
}

HFONT CreateSkinFont(std::string_view faceNameUtf8, int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                     Widen(std::string(faceNameUtf8)).c_str());
}

int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
  }
  return dpi;
}

Size WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT work{};
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = monitor.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  }
  return {work.right - work.left, work.bottom - work.top};
}

unsigned SystemLangId() { return GetSystemDefaultLangID(); }

void WindowsVersion(unsigned* major, unsigned* minor) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const DWORD version = GetVersion();
#pragma GCC diagnostic pop
  *major = LOBYTE(LOWORD(version));
  *minor = HIBYTE(LOWORD(version));
}


}  // namespace vortal

namespace vortal {
namespace {

LRESULT CALLBACK FollowPointer(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
  if (message == WM_MOUSEMOVE) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) == 0) SendMessageW(list, LB_SETCURSEL, LOWORD(hit), 0);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, FollowPointer, 0);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// Room a list box keeps beside a line's text: its left indent and a little air.
constexpr int kListTextMargin = 4;

// The width of the widest of `lines` in the list's font.
int WidestLine(HWND list, const std::vector<std::wstring>& lines) {
  int widest = 0;
  HDC dc = GetDC(list);
  if (!dc) return 0;
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  for (const std::wstring& line : lines) {
    SIZE extent{};
    if (GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent)) {
      widest = std::max(widest, static_cast<int>(extent.cx));
    }
  }
  SelectObject(dc, oldFont);
  ReleaseDC(list, dc);
  return widest;
}

// A line wider than the list (a long function name, or the room its scroll
// bar takes) widens the list to the right, as far as the window it opens in.
void WidenForLines(HWND list, HWND parent, const Rect& area, const std::vector<std::wstring>& lines,
                   int margin) {
  RECT client{}, parentClient{};
  GetClientRect(list, &client);
  GetClientRect(parent, &parentClient);
  const int missing = WidestLine(list, lines) + margin - client.right;
  if (missing <= 0) return;
  const int width = std::min(area.Width() + missing, static_cast<int>(parentClient.right) - area.left);
  if (width <= area.Width()) return;
  RECT window{};
  GetWindowRect(list, &window);
  SetWindowPos(list, nullptr, 0, 0, width, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND CreateDropDownList(HWND parent, int id, const Rect& units,
                        const std::vector<std::string>& items, HFONT font, DisplayScale scale) {
  const Rect area = scale.Scale(units);
  HWND list = CreateWindowExW(0, L"LISTBOX", nullptr,
                              WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                              area.left, area.top, area.Width(), area.Height(), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                              nullptr);
  if (!list) return nullptr;
  if (font) {
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The list took its whole-line height from the system font it was created
    // with; sized again, it shows as many lines of its own font as fit
    // (all eleven Windows functions), and scrolls the rest.
    SetWindowPos(list, nullptr, 0, 0, area.Width(), area.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::vector<std::wstring> lines;
  for (const std::string& item : items) {
    lines.push_back(Widen(item));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines.back().c_str()));
  }
  WidenForLines(list, parent, area, lines, scale.Scale(kListTextMargin));
  SetWindowSubclass(list, FollowPointer, 0, 0);
  ProgramStateLog().Write("list opened", std::to_string(id));
  return list;
}

}  // namespace vortal
