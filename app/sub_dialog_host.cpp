#include "app/sub_dialog_host.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstring>
#include <vector>

#include "app/child_controls_win32.h"
#include "app/window_picture.h"
#include "assign/key_names.h"
#include "files/win32_text.h"

namespace vortal {
namespace {

// Its size is irrelevant: the model sizes the window to its background.
constexpr short kTemplateSize = 100;

// A key-name buffer of 32 characters, its terminator included.
constexpr int kKeyNameBufferChars = 32;

class Win32SubDialogHost;
// The dialog whose hooks are running; the dialogs are modal, so one at a time
// (an inner one keeps the outer one to restore).
Win32SubDialogHost* activeHost = nullptr;

class Win32SubDialogHost : public SubDialogHost {
 public:
  Win32SubDialogHost(HWND owner, SubDialogFrame& dialog) : owner_(owner), dialog_(dialog) {}
  ~Win32SubDialogHost() override { RemoveHooks(); }

  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32SubDialogHost* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<Win32SubDialogHost*>(lParam);
      SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      self->hwnd_ = hwnd;
      self->picture_.Attach(hwnd);
    } else {
      self = reinterpret_cast<Win32SubDialogHost*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
  }

  DialogResult ended() const { return ended_; }

  // Surface.
  std::optional<Size> LoadBackground(std::string_view skinFolder,
                                     std::string_view imageName) override {
    return picture_.LoadBackground(skinFolder, imageName);
  }
  bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw) override {
    return picture_.Redraw(skinFolder, draw);
  }
  void Invalidate(const Rect& box) override { picture_.Invalidate(box); }
  void RequestHover() override { picture_.RequestHover(false); }
  // ListHost.
  void CreateList(int id, const Rect& area, const std::vector<std::string>& items) override {
    CreateDropDownList(hwnd_, id, area, items, picture_.normalFont());
  }
  void DestroyList(int id) override {
    if (HWND list = GetDlgItem(hwnd_, id)) DestroyWindow(list);
  }
  bool ListExists(int id) const override { return GetDlgItem(hwnd_, id) != nullptr; }
  // UserMessages.
  void Show(const std::string& text, const std::string& caption) override {
    std::wstring wideCaption = Widen(caption);
    MessageBoxW(hwnd_ ? hwnd_ : owner_, Widen(text).c_str(),
                caption.empty() ? nullptr : wideCaption.c_str(), MB_OK);
  }
  // SubDialogHost.
  void EndDialog(DialogResult result) override {
    ended_ = result;
    ::EndDialog(hwnd_, result == DialogResult::kOk ? IDOK : IDCANCEL);
  }
  std::optional<Color> ChooseColor() override {
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = hwnd_;
    choose.lpCustColors = custom;
    if (!::ChooseColorW(&choose)) return std::nullopt;
    return Color{GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
                 GetBValue(choose.rgbResult)};
  }
  void SetEditsEnabled(bool enabled) override {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t className[16] = {};
      GetClassNameW(child, className, 16);
      if (lstrcmpiW(className, L"Edit") == 0) EnableWindow(child, enabled);
    }
  }
  std::optional<ListItemHit> ListItemAt(int listId, Point p) const override {
    return ListItemUnder(hwnd_, listId, p);
  }
  void SelectListItem(int listId, int index) override {
    if (HWND list = GetDlgItem(hwnd_, listId)) SendMessageW(list, LB_SETCURSEL, index, 0);
  }
  void ScrollList(int id, int lines) override { ScrollListBy(hwnd_, id, lines); }
  ChildControls& childControls() override { return controls_; }
  unsigned InstallKeyCaptureHook(unsigned message) override {
    if (keyHook_) return 0;
    keyHook_ = SetWindowsHookExW(WH_KEYBOARD, &KeyCaptureProc, nullptr, GetCurrentThreadId());
    if (!keyHook_) {
      const DWORD error = GetLastError();
      return error != 0 ? error : ERROR_INVALID_FUNCTION;
    }
    captureMessage_ = message;
    return 0;
  }

  // Every message of the dialog's modal loop passes here before the dialog
  // manager sees it: keys the dialog keeps for itself go no further.
  void InstallMessageFilter() {
    previousHost_ = activeHost;
    activeHost = this;
    filterHook_ = SetWindowsHookExW(WH_MSGFILTER, &MessageFilterProc, nullptr, GetCurrentThreadId());
  }

 private:
  static Point PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
      case WM_ERASEBKGND:
        if (dialog_.usable()) dialog_.Paint();
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      case WM_LBUTTONDOWN:
        dialog_.OnLeftButtonDown(PointOf(lParam));
        return TRUE;
      case WM_MOUSEMOVE:
        dialog_.OnMouseMove(PointOf(lParam));
        return TRUE;
      case WM_MOUSEHOVER:
        dialog_.OnMouseHover(PointOf(lParam));
        return TRUE;
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (lParam && code == EN_CHANGE) {
          dialog_.OnEditChanged(id);
          return TRUE;
        }
        if (lParam && code == EN_KILLFOCUS) {
          dialog_.OnEditFocusLost(id);
          return TRUE;
        }
        if (lParam && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
          const LRESULT index = SendMessageW(reinterpret_cast<HWND>(lParam), LB_GETCURSEL, 0, 0);
          dialog_.OnListChoice(index == LB_ERR ? -1 : static_cast<int>(index));
          return TRUE;
        }
        // Escape (and the system's close) always leave; Enter does not
        // confirm, since only the OK button stores a dialog's result.
        if (id == IDCANCEL && lParam == 0) {
          EndDialog(DialogResult::kCancel);
          return TRUE;
        }
        return FALSE;
      }
      case WM_CLOSE:
        EndDialog(DialogResult::kCancel);
        return TRUE;
      case WM_MOUSEWHEEL:
        dialog_.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return FALSE;
      case WM_DESTROY:
        RemoveHooks();
        return FALSE;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<INT_PTR>(
            controls_.OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      case WM_HELP:
        return TRUE;
      default:
        if (captureMessage_ != 0 && message == captureMessage_) {
          dialog_.OnKeyCaptured(captured_);
          SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
          return TRUE;
        }
        return FALSE;
    }
  }

  // The keyboard hook of the key dialogs: names the keystroke and hands the
  // name to the dialog at once; the keystroke itself goes on as usual.
  static LRESULT CALLBACK KeyCaptureProc(int code, WPARAM wParam, LPARAM lParam) {
    Win32SubDialogHost* self = activeHost;
    if (code != HC_ACTION || self == nullptr || !self->keyHook_) {
      return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    wchar_t name[kKeyNameBufferChars] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(lParam), name, kKeyNameBufferChars);
    const unsigned scanCode = static_cast<unsigned>((lParam >> 16) & 0xFF);
    const bool extended = ((lParam >> 24) & 1) != 0;
    self->captured_ =
        KeyNameForCapture(Narrow(std::wstring(name, length > 0 ? length : 0)), scanCode, extended);
    SendMessageW(self->hwnd_, self->captureMessage_, 0, 0);
    return 0;
  }

  static LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    Win32SubDialogHost* self = activeHost;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && self != nullptr && msg != nullptr &&
        msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        (msg->hwnd == self->hwnd_ || IsChild(self->hwnd_, msg->hwnd)) &&
        self->dialog_.SwallowsKey(msg->message == WM_KEYDOWN, static_cast<unsigned>(msg->wParam))) {
      return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  void RemoveHooks() {
    if (keyHook_) UnhookWindowsHookEx(keyHook_);
    keyHook_ = nullptr;
    if (filterHook_) {
      UnhookWindowsHookEx(filterHook_);
      filterHook_ = nullptr;
      activeHost = previousHost_;
    }
  }

  void OnInitDialog() {
    unsigned major = 0, minor = 0;
    WindowsVersion(&major, &minor);
    const FontSpec font =
        FontsForLanguage(LanguageFromLangId(SystemLangId()), major, minor).normal;
    // The title font: the normal face and size in bold.
    picture_.SetFonts(CreateSkinFont(font.faceName, font.height, font.weight),
                      CreateSkinFont(font.faceName, font.height, FW_BOLD));
    controls_.Attach(hwnd_, picture_.normalFont(), {kControlTextColor, kControlBackColor});
    InstallMessageFilter();
    if (!dialog_.Initialize(*this)) {
      // The model has ended the dialog; make sure it cannot linger unseen.
      if (ended_ == DialogResult::kNone) EndDialog(DialogResult::kCancel);
      return;
    }
    CentreOverOwner();
  }

  // The window was sized to its background after the system placed it;
  // centring it again keeps it over the main window.
  void CentreOverOwner() {
    RECT self, over;
    GetWindowRect(hwnd_, &self);
    if (!owner_ || !IsWindowVisible(owner_) || !GetWindowRect(owner_, &over)) {
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    }
    const int x = over.left + ((over.right - over.left) - (self.right - self.left)) / 2;
    const int y = over.top + ((over.bottom - over.top) - (self.bottom - self.top)) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HWND owner_;
  SubDialogFrame& dialog_;
  HWND hwnd_ = nullptr;
  WindowPicture picture_;
  Win32ChildControls controls_;  // destroyed before the picture's font
  DialogResult ended_ = DialogResult::kNone;
  HHOOK keyHook_ = nullptr;
  HHOOK filterHook_ = nullptr;
  Win32SubDialogHost* previousHost_ = nullptr;
  UINT captureMessage_ = 0;
  std::string captured_;
};

std::vector<WORD> EmptyPopupTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER;
  header.cx = kTemplateSize;
  header.cy = kTemplateSize;
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the system's dialog class
  words.push_back(0);  // no title
  return words;
}

}  // namespace

DialogResult RunSubDialogModal(HINSTANCE instance, HWND owner, SubDialogFrame& dialog) {
  Win32SubDialogHost host(owner, dialog);
  std::vector<WORD> dialogTemplate = EmptyPopupTemplate();
  const INT_PTR ended = DialogBoxIndirectParamW(
      instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), owner,
      &Win32SubDialogHost::Proc, reinterpret_cast<LPARAM>(&host));
  if (ended == IDOK && host.ended() == DialogResult::kOk) return DialogResult::kOk;
  return DialogResult::kCancel;
}

}  // namespace vortal
