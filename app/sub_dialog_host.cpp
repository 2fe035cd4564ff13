#include "app/sub_dialog_host.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstring>
#include <vector>

#include "app/owner_drawn_window.h"
#include "app/state_log.h"
#include "assign/key_names.h"
#include "files/win32_text.h"

namespace vortal {
namespace {

// An empty pop-up; its size is irrelevant: the model sizes the window to its
// background.
constexpr DialogTemplateSpec kSubDialogTemplate{WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER,
                                                0, 100, 100};

// A key-name buffer of 32 characters, its terminator included.
constexpr int kKeyNameBufferChars = 32;

class Win32SubDialogHost;
// The dialog whose hooks are running; the dialogs are modal, so one at a time
// (an inner one keeps the outer one to restore).
Win32SubDialogHost* activeHost = nullptr;

class Win32SubDialogHost : public OwnerDrawnWindow<SubDialogHost> {
 public:
  Win32SubDialogHost(HWND owner, SubDialogFrame& dialog, DisplayScale scale)
      : owner_(owner), dialog_(dialog) {
    initialDpi_ = scale.dpi();
  }
  ~Win32SubDialogHost() override { RemoveHooks(); }

  // Runs the dialog modally; anything but an explicit OK is kCancel.
  DialogResult Run(HINSTANCE instance) {
    const INT_PTR end = RunModal(instance, owner_, kSubDialogTemplate);
    return end == IDOK && ended_ == DialogResult::kOk ? DialogResult::kOk : DialogResult::kCancel;
  }

  // Surface.
  void RequestHover() override { picture_.RequestHover(false); }
  // ListHost.
  void CreateList(int id, const Rect& area, const std::vector<std::string>& items) override {
    CreateListAtScale(id, area, items);
  }
  // UserMessages.
  void Show(const std::string& text, const std::string& caption) override {
    ShowMessageOver(hwnd_ ? hwnd_ : owner_, text, caption);
  }
  // SubDialogHost.
  void EndDialog(DialogResult result) override {
    ended_ = result;
    ::EndDialog(hwnd_, result == DialogResult::kOk ? IDOK : IDCANCEL);
  }
  void SetEditsEnabled(bool enabled) override {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t className[16] = {};
      GetClassNameW(child, className, 16);
      if (lstrcmpiW(className, L"Edit") == 0) EnableWindow(child, enabled);
    }
  }
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

  // The dialog whose key capture runs: this one until it ends.
  void BecomeActive() {
    previousHost_ = activeHost;
    activeHost = this;
    active_ = true;
  }

 private:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
      case WM_ERASEBKGND:
        if (dialog_.usable()) dialog_.Paint();
        SetResult(TRUE);
        return TRUE;
      case WM_LBUTTONDOWN:
        dialog_.OnLeftButtonDown(UnitsOf(lParam));
        ProgramStateLog().Clicked(PointOf(lParam));
        return TRUE;
      case WM_MOUSEMOVE:
        dialog_.OnMouseMove(UnitsOf(lParam));
        return TRUE;
      case WM_MOUSEHOVER:
        dialog_.OnMouseHover(UnitsOf(lParam));
        return TRUE;
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (lParam && code == EN_CHANGE) {
          dialog_.OnEditChanged(id);
          ProgramStateLog().EditChanged(reinterpret_cast<HWND>(lParam));
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
        // Escape (and the system's close) always leave; Enter is OK, through
        // the dialog's keys.
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
          // A key dialog moves the focus on once its key is released.
          const std::string before = dialog_.FocusedName();
          dialog_.OnKeyCaptured(captured_);
          if (const std::string after = dialog_.FocusedName(); after != before)
            ProgramStateLog().Write("focus", after);
          SetResult(1);
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
    self->captured_.name =
        KeyNameForCapture(Narrow(std::wstring(name, length > 0 ? length : 0)), scanCode, extended);
    self->captured_.virtualKey = static_cast<unsigned>(wParam);
    self->captured_.released = ((lParam >> 31) & 1) != 0;
    SendMessageW(self->hwnd_, self->captureMessage_, 0, 0);
    return 0;
  }

  // Keys the dialog keeps for itself go no further; the others go through
  // its controls.
  bool OnKeyMessage(const MSG& msg) override {
    if (dialog_.SwallowsKey(msg.message == WM_KEYDOWN, static_cast<unsigned>(msg.wParam))) return true;
    if (msg.message != WM_KEYDOWN) return false;
    const std::optional<KeyPress> key = KeyPressOf(msg.wParam);
    if (!key || !dialog_.OnKey(*key)) return false;
    ProgramStateLog().Write("focus", dialog_.FocusedName());
    return true;
  }

  void RemoveHooks() {
    if (keyHook_) UnhookWindowsHookEx(keyHook_);
    keyHook_ = nullptr;
    if (active_) {
      active_ = false;
      activeHost = previousHost_;
    }
  }

  void OnInitDialog() {
    unsigned major = 0, minor = 0;
    WindowsVersion(&major, &minor);
    const FontSpec font =
        FontsForLanguage(LanguageFromLangId(SystemLangId()), major, minor).normal;
    // The title font: the normal face and size in bold.
    picture_.SetFonts(font, {font.faceName, font.height, FW_BOLD});
    controls_.Attach(hwnd_, picture_.normalFont(), {kControlTextColor, kControlBackColor});
    FollowPictureScale();
    BecomeActive();
    if (!dialog_.Initialize(*this)) {
      // The model has ended the dialog; make sure it cannot linger unseen.
      if (ended_ == DialogResult::kNone) EndDialog(DialogResult::kCancel);
      return;
    }
    CentreOverOwner();
  }

  // Fonts, background and controls are at the new scale; the whole picture
  // is painted again from the model.
  void OnScaleChanged() override { InvalidateRect(hwnd_, nullptr, TRUE); }

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
  DialogResult ended_ = DialogResult::kNone;
  HHOOK keyHook_ = nullptr;
  bool active_ = false;
  Win32SubDialogHost* previousHost_ = nullptr;
  UINT captureMessage_ = 0;
  CapturedKey captured_;
};


}  // namespace

DialogResult RunSubDialogModal(HINSTANCE instance, HWND owner, SubDialogFrame& dialog,
                               DisplayScale scale) {
  return Win32SubDialogHost(owner, dialog, scale).Run(instance);
}

}  // namespace vortal
