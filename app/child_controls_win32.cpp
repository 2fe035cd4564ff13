#include "app/child_controls_win32.h"

#include <commctrl.h>

#include "app/state_log.h"
#include "app/win32_canvas.h"
#include "files/win32_text.h"

namespace vortal {
namespace {

// The single item of a context menu.
constexpr UINT kMenuItemCommand = 32772;

// The smallest face a static's text is fitted in, in units: still readable.
constexpr int kSmallestFittedHeight = 9;

DWORD StyleOf(ChildKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr DWORD kLine = kChild | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
  constexpr DWORD kList = kChild | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  switch (kind) {
    case ChildKind::kEdit: return kLine;
    case ChildKind::kDigitsEdit: return kLine | ES_NUMBER;
    case ChildKind::kBorderedDigitsEdit: return kLine | ES_NUMBER | WS_BORDER;
    case ChildKind::kStatic: return kChild | SS_CENTER | SS_CENTERIMAGE;
    case ChildKind::kLeftStatic: return kChild | SS_LEFT | SS_CENTERIMAGE;
    case ChildKind::kList:
    case ChildKind::kHoverList: return kList;
  }
  return kChild;
}

const wchar_t* ClassOf(ChildKind kind) {
  switch (kind) {
    case ChildKind::kStatic:
    case ChildKind::kLeftStatic: return L"STATIC";
    case ChildKind::kList:
    case ChildKind::kHoverList: return L"LISTBOX";
    default: return L"EDIT";
  }
}

// The line under the pointer becomes the selection, without a notification.
LRESULT CALLBACK FollowPointerQuietly(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
  if (message == WM_MOUSEMOVE) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) == 0 && SendMessageW(list, LB_GETCURSEL, 0, 0) != LOWORD(hit)) {
      SendMessageW(list, LB_SETCURSEL, LOWORD(hit), 0);
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, FollowPointerQuietly, 0);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

std::optional<ListHost::ListItemHit> ListItemUnder(HWND parent, int listId, Point units,
                                                   DisplayScale scale) {
  HWND list = parent ? GetDlgItem(parent, listId) : nullptr;
  // The middle of the unit's pixels.
  const Point p{(scale.Scale(units.x) + scale.Scale(units.x + 1)) / 2,
                (scale.Scale(units.y) + scale.Scale(units.y + 1)) / 2};
  if (!list) return std::nullopt;
  RECT window;
  GetWindowRect(list, &window);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
  if (!Rect{window.left, window.top, window.right, window.bottom}.Contains(p)) return std::nullopt;
  POINT at{p.x, p.y};
  // Where the sub-list lies over a list's edge, the pointer is over the sub-list.
  if (ChildWindowFromPointEx(parent, at, CWP_SKIPINVISIBLE) != list) return std::nullopt;
  MapWindowPoints(parent, list, &at, 1);
  const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
  if (HIWORD(hit) != 0) return std::nullopt;  // outside the items
  const int index = LOWORD(hit);
  RECT item;
  if (SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    return std::nullopt;
  }
  return ListHost::ListItemHit{index, scale.Unscale(Rect{item.left, item.top, item.right, item.bottom})};
}

void ScrollListBy(HWND parent, int listId, int lines) {
  HWND list = GetDlgItem(parent, listId);
  if (!list) return;
  const WPARAM step = lines < 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = 0; i < (lines < 0 ? -lines : lines); ++i) SendMessageW(list, WM_VSCROLL, step, 0);
}

FittedFonts::~FittedFonts() { Clear(); }

void FittedFonts::Clear() {
  for (auto& [height, font] : faces_) DeleteObject(font);
  faces_.clear();
}

void FittedFonts::Fit(HWND control, HFONT normal, std::wstring_view text, int smallest) {
  HFONT chosen = normal;
  LOGFONTW face{};
  RECT client;
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  if (dc && normal && GetObjectW(normal, sizeof face, &face) == sizeof face) {
    const int normalHeight = face.lfHeight < 0 ? -face.lfHeight : face.lfHeight;
    for (int height = normalHeight; height >= smallest; --height) {
      HFONT font = normal;
      if (height != normalHeight) {
        HFONT& cached = faces_[height];
        if (!cached) {
          LOGFONTW smaller = face;
          smaller.lfHeight = face.lfHeight < 0 ? -height : height;
          cached = CreateFontIndirectW(&smaller);
        }
        font = cached;
      }
      if (!font) break;
      HGDIOBJ old = SelectObject(dc, font);
      SIZE extent{};
      GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
      SelectObject(dc, old);
      chosen = font;
      if (extent.cx <= client.right - client.left) break;
    }
  }
  if (dc) ReleaseDC(control, dc);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

Win32ChildControls::~Win32ChildControls() {
  for (auto& [id, brush] : brushes_) DeleteObject(brush);
  if (fallbackBrush_) DeleteObject(fallbackBrush_);
}

void Win32ChildControls::CreateChild(int id, ChildKind kind, const Rect& units, int maxChars) {
  if (parent_ == nullptr || Child(id) != nullptr) return;
  const Rect box = scale_.Scale(units);
  HWND control = CreateWindowExW(
      0, ClassOf(kind), L"", StyleOf(kind), box.left, box.top, box.Width(), box.Height(), parent_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE)), nullptr);
  if (control == nullptr) return;
  boxes_[id] = units;
  if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (maxChars > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
  if (kind == ChildKind::kHoverList) SetWindowSubclass(control, FollowPointerQuietly, 0, 0);
  if (kind == ChildKind::kStatic || kind == ChildKind::kLeftStatic) {
    ProgramStateLog().WriteLines(RectLine("static" + std::to_string(id), box));
  }
}

void Win32ChildControls::DestroyChild(int id) {
  events_.erase(id);
  boxes_.erase(id);
  if (HWND control = Child(id)) DestroyWindow(control);
}

bool Win32ChildControls::ChildExists(int id) const { return Child(id) != nullptr; }

void Win32ChildControls::SetChildEvents(int id, ChildEvents events) { events_[id] = std::move(events); }

void Win32ChildControls::SetChildLook(int id, ChildLook look) {
  looks_[id] = look;
  if (auto it = brushes_.find(id); it != brushes_.end()) {
    DeleteObject(it->second);
    brushes_.erase(it);
  }
  brushes_[id] = CreateSolidBrush(ToColorRef(look.back));
}

void Win32ChildControls::SetChildText(int id, std::string_view text) {
  HWND control = Child(id);
  if (control == nullptr) return;
  const std::wstring wide = Widen(std::string(text));
  SetWindowTextW(control, wide.c_str());
  wchar_t className[16] = {};
  GetClassNameW(control, className, 16);
  // A chosen item's text in a narrow field ("Multimedia Player") must not be cut.
  if (font_ && lstrcmpiW(className, L"STATIC") == 0) {
    fitted_.Fit(control, font_, wide, scale_.Scale(kSmallestFittedHeight));
  }
  ProgramStateLog().Write("text", std::to_string(id) + ' ' + std::string(text));
}

std::string Win32ChildControls::ChildText(int id) const {
  HWND control = Child(id);
  if (control == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Win32ChildControls::RepaintChild(int id) {
  if (HWND control = Child(id)) InvalidateRect(control, nullptr, TRUE);
}

void Win32ChildControls::InsertItem(int id, int index, std::string_view text) {
  if (HWND list = Child(id)) {
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(Widen(std::string(text)).c_str()));
    ProgramStateLog().Write("item", std::to_string(id) + ' ' + std::to_string(index) + ' ' + std::string(text));
  }
}

void Win32ChildControls::DeleteItem(int id, int index) {
  if (HWND list = Child(id)) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ChildControls::ClearItems(int id) {
  if (HWND list = Child(id)) SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

std::vector<std::string> Win32ChildControls::Items(int id) const {
  std::vector<std::string> items;
  HWND list = Child(id);
  if (list == nullptr) return items;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == LB_ERR) continue;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    items.push_back(Narrow(text));
  }
  return items;
}

int Win32ChildControls::Selection(int id) const {
  HWND list = Child(id);
  if (list == nullptr) return kNoItem;
  const LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return selection == LB_ERR ? kNoItem : static_cast<int>(selection);
}

void Win32ChildControls::Select(int id, int index) {
  if (HWND list = Child(id)) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32ChildControls::TrackSingleItemMenu(std::string_view label) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return false;
  AppendMenuW(menu, MF_STRING, kMenuItemCommand, Widen(std::string(label)).c_str());
  POINT cursor;
  GetCursorPos(&cursor);
  ProgramStateLog().Write("menu opened");
  const BOOL chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                     cursor.x, cursor.y, 0, parent_, nullptr);
  ProgramStateLog().Write("menu closed");
  DestroyMenu(menu);
  return chosen == static_cast<BOOL>(kMenuItemCommand);
}

void Win32ChildControls::FocusChild(int id) {
  HWND control = id == 0 ? parent_ : Child(id);
  if (!control) return;
  SetFocus(control);
  // An edit reached from the keyboard has its text selected, to be typed
  // over, as in every dialog.
  wchar_t className[8] = {};
  GetClassNameW(control, className, 8);
  if (lstrcmpiW(className, L"Edit") == 0) SendMessageW(control, EM_SETSEL, 0, -1);
}

bool Win32ChildControls::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 || HIWORD(wParam) != EN_CHANGE) return false;
  const auto it = events_.find(LOWORD(wParam));
  if (it == events_.end() || !it->second.onTextChange) return false;
  const std::function<void(int)> handler = it->second.onTextChange;  // may be destroyed inside
  handler(LOWORD(wParam));
  return true;
}

bool Win32ChildControls::OnContextMenu(HWND control) {
  if (control == nullptr || control == parent_) return false;
  const int id = GetDlgCtrlID(control);
  const auto it = events_.find(id);
  if (it == events_.end() || !it->second.onContextMenu) return false;
  const std::function<void(int)> handler = it->second.onContextMenu;
  handler(id);
  return true;
}

void Win32ChildControls::Attach(HWND parent, HFONT font, ChildLook fallback) {
  parent_ = parent;
  font_ = font;
  fallback_ = fallback;
  if (fallbackBrush_) DeleteObject(fallbackBrush_);
  fallbackBrush_ = CreateSolidBrush(ToColorRef(fallback.back));
}

void Win32ChildControls::SetScale(DisplayScale scale, HFONT font) {
  scale_ = scale;
  font_ = font;
  fitted_.Clear();
  for (auto it = boxes_.begin(); it != boxes_.end();) {
    HWND control = Child(it->first);
    if (!control) {
      it = boxes_.erase(it);
      continue;
    }
    const Rect box = scale_.Scale(it->second);
    SetWindowPos(control, nullptr, box.left, box.top, box.Width(), box.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    ++it;
  }
}

int Win32ChildControls::FocusedChild() const {
  HWND focus = GetFocus();
  if (!focus || !parent_ || !IsChild(parent_, focus)) return 0;
  return GetDlgCtrlID(focus);
}

HBRUSH Win32ChildControls::OnControlColor(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  const auto look = looks_.find(id);
  const bool own = look != looks_.end() && Child(id) == control;
  const ChildLook& chosen = own ? look->second : fallback_;
  SetTextColor(dc, ToColorRef(chosen.text));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ToColorRef(chosen.back));
  if (font_) SelectObject(dc, font_);
  if (own) return brushes_[id];
  if (!fallbackBrush_) fallbackBrush_ = CreateSolidBrush(ToColorRef(fallback_.back));
  return fallbackBrush_;
}

}  // namespace vortal
