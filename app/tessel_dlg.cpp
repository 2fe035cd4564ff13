#include "app/tessel_dlg.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>
// clang-format on

#include <cstring>
#include <vector>

#include "app/file_dialog_win32.h"
#include "app/log_on_start_win32.h"
#include "app/shell_messages.h"
#include "app/state_log.h"
#include "app/sub_dialog_host.h"
#include "app/win32_canvas.h"
#include "device/device_events.h"
#include "platform/hid_backend_factory.h"
#include "files/win32_text.h"
#include "files/file_io.h"
#include "settings/settings_file.h"
#include "ui/window/assignment_dialogs.h"
#include "ui/window/lighting_area.h"
#include "ui/skin/skin_images.h"
#include "settings/skin_settings.h"
#include "ui/dialogs/skins_dialog.h"
#include "ui/window/skin_change.h"

namespace vortal {
namespace {

// {4D1E55B2-F16F-11CF-88CB-001111000030}, the HID device-interface class.
constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF,
                                     {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// The one-shot timer of the foreground's settle time.
constexpr UINT_PTR kSettleTimerId = 0x5E77;

// A borderless pop-up, 450 x 325 dialog units until the skin resizes it,
// 12-point "宋体", no controls.
constexpr DialogTemplateSpec kMainTemplate{kMainDialogStyle, kMainDialogExStyle, 450, 325,
                                           kMainWindowClass, L"宋体", 12};

// Copies UTF-8 text into a fixed wide field, cut so the terminator fits.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], std::string_view text) {
  std::wstring wide = Widen(std::string(text));
  const std::size_t n = std::min(wide.size(), N - 1);
  std::wmemcpy(field, wide.data(), n);
  field[n] = L'\0';
}

// The program's icon at the system's size of `widthMetric` x `heightMetric`
// (SM_CXSMICON...), which a DPI-aware program gets at its DPI.
HICON LoadIconAtSize(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kMainIconId), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

}  // namespace

CTesselDlg::CTesselDlg(HINSTANCE instance) : instance_(instance) {}

CTesselDlg::~CTesselDlg() {
  for (HICON icon : {icon_, smallIcon_}) {
    if (icon) DestroyIcon(icon);
  }
}

INT_PTR CTesselDlg::DoModal() { return RunModal(instance_, nullptr, kMainTemplate); }

INT_PTR CTesselDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_ERASEBKGND:
      picture_.PaintBackground(reinterpret_cast<HDC>(wParam));
      ProgramStateLog().Painted();
      SetResult(TRUE);
      return TRUE;
    case WM_PAINT:
      if (IsIconic(hwnd_)) {
        OnPaintIconic();
        return TRUE;
      }
      return FALSE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_NCPAINT:
      if (model_ && model_->OnNcPaint()) {
        if (model_->hideOnStartCount() == 0) ProgramStateLog().Ready();
        SetResult(0);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      if (shell_) shell_->OnClose();
      return TRUE;
    case WM_TIMER:
      if (wParam != kSettleTimerId) return FALSE;
      KillTimer(hwnd_, kSettleTimerId);
      ProgramStateLog().Write("settled");
      if (shell_) shell_->OnForegroundSettled();
      return TRUE;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC && shell_) shell_->OnResume();
      SetResult(TRUE);
      return TRUE;
    case WM_DESTROY:
      foregroundHook_.Stop();
      CloseListenerHandles();
      RemoveTrayIcon();
      return FALSE;
    case kTrayMessage:
      if (const auto click = DecodeTrayMessage(lParam); shell_ && click) shell_->OnTrayClick(*click);
      return TRUE;
    case kDeviceEventMessage:
      if (shell_) shell_->OnDeviceEvent(static_cast<std::int64_t>(wParam), static_cast<std::int64_t>(lParam));
      SetResult(0);
      return TRUE;
    case kVirtualDeviceChangeMessage: {
      std::unique_ptr<std::string> name(reinterpret_cast<std::string*>(lParam));
      if (shell_ && name) {
        shell_->OnDeviceChange(wParam ? DeviceChange::kArrival : DeviceChange::kRemoval, *name);
      }
      return TRUE;
    }
    case WM_DEVICECHANGE: {
      if (const auto change = DecodeDeviceChange(wParam, lParam); shell_ && change) {
        shell_->OnDeviceChange(change->change, change->interfaceName);
      }
      SetResult(TRUE);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      // The tray menu's commands come without a control.
      if (code == 0 && lParam == 0 && shell_ && shell_->OnTrayCommand(id)) return TRUE;
      if (code == EN_CHANGE && lParam) ProgramStateLog().EditChanged(reinterpret_cast<HWND>(lParam));
      if (controls_.OnCommand(wParam, lParam)) return TRUE;
      if (model_ && lParam && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
        const LRESULT index = SendMessageW(reinterpret_cast<HWND>(lParam), LB_GETCURSEL, 0, 0);
        model_->OnListNotification(id, index == LB_ERR ? -1 : static_cast<int>(index),
                                   code == LBN_DBLCLK);
        return TRUE;
      }
      // Enter and Escape hide the window, which lives on in the tray.
      if ((id == IDOK || id == IDCANCEL) && lParam == 0) {
        HideWindow();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CONTEXTMENU:
      return controls_.OnContextMenu(reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
    case kRecorderMessage:
      recordingHook_.OnRecorderMessage(wParam);
      SetResult(0);
      return TRUE;
    case WM_LBUTTONDOWN:
      if (model_) model_->OnLeftButtonDown(UnitsOf(lParam));
      ProgramStateLog().WindowState(IsWindowVisible(hwnd_) != FALSE, model_ ? model_->currentPage() : kNoPage);
      ProgramStateLog().Clicked(PointOf(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      if (model_) model_->OnMouseMove(UnitsOf(lParam));
      return FALSE;
    case WM_MOUSEHOVER:
      if (model_) model_->OnMouseHover(UnitsOf(lParam));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<INT_PTR>(
          controls_.OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
      return FALSE;
  }
}

bool CTesselDlg::OnKeyMessage(const MSG& msg) {
  if (!model_ || msg.message != WM_KEYDOWN) return false;
  // While a macro is recorded the keys are the macro's, not the window's.
  if (recordingHook_.installed()) return true;
  const std::optional<KeyPress> key = KeyPressOf(msg.wParam);
  if (!key || !model_->OnKey(*key)) return false;
  ProgramStateLog().Write("focus", model_->FocusedName());
  return true;
}

void CTesselDlg::CreateFonts() {
  unsigned major = 0, minor = 0;
  WindowsVersion(&major, &minor);
  const LanguageFonts fonts = FontsForLanguage(LanguageFromLangId(SystemLangId()), major, minor);
  picture_.SetFonts(fonts.normal, fonts.title);
}

BOOL CTesselDlg::OnInitDialog() {
  // One copy only: a second one ends at once, showing nothing.
  CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) ::ExitProcess(0);
  // Named, so the taskbar, Alt+Tab and screen readers can say which window
  // this is; the picture draws no caption of its own.
  SetWindowTitle(kAppCaption);

  // Each at the size the system asks for at its DPI (the icon resource has
  // them all), so that neither the window's icons nor the tray's is stretched.
  icon_ = LoadIconAtSize(instance_, SM_CXICON, SM_CYICON);
  smallIcon_ = LoadIconAtSize(instance_, SM_CXSMICON, SM_CYSMICON);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  // No task-bar button: the program lives in the tray.
  LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

  CreateFonts();
  // The drop-down lists: white on black in the window's font.
  controls_.Attach(hwnd_, picture_.normalFont(), {{255, 255, 255}, {0, 0, 0}});
  FollowPictureScale();
  paths_ = DerivePaths(ModulePath());
  pauser_ = MakeSystemPauser();
  backend_ = MakeHidBackend();
  link_ = std::make_unique<MouseLink>(*pauser_);
  model_ = std::make_unique<MainWindowModel>(
      *this, *link_, *backend_, settings_,
      MainWindowFiles{paths_.settingsFile, paths_.skinSettings, paths_.programDir,
                      paths_.macroStore});
  macroEditor_ = std::make_unique<MacroEditorPage>(*model_, paths_.macroStore);
  macroHalf_ = std::make_unique<AdvancedPageHalfOf<MacroEditorPage>>(*macroEditor_);
  advancedPage_ = std::make_unique<AdvancedPage>(*model_, pointerSystem_, macroHalf_.get());
  model_->SetPage(kAdvancedPage, advancedPage_.get());
  model_->afterApply = [this] {
    advancedPage_->ApplyPointerSettings();
    macroEditor_->OnApplied();
    shell_->switching().OnApplied();
    ProgramStateLog().Write("applied");
  };
  model_->afterCancel = [this] { macroEditor_->OnCancelled(); };
  model_->openSkinDialog = [this] {
    ChangeSkin(*model_);
    ProgramStateLog().Write("skin", model_->skin.skinFolderPath);
  };
  if (!assignmentDialogs_) {
    assignmentDialogs_ = std::make_unique<AssignmentDialogRunner>(*model_, paths_.macroStore);
  }
  basicPage_ = std::make_unique<BasicPage>(*model_, *assignmentDialogs_);
  model_->SetPage(kBasicPage, basicPage_.get());
  shell_ = std::make_unique<MainWindowShell>(*model_);
  shell_->profiles().afterImport = [this] {
    advancedPage_->KeepRecordPointerValues();
    basicPage_->KeepPaneTexts();
    ProgramStateLog().Write("imported");
  };
  // In the pixels a click lands on, at the monitor's scale; again should the
  // background need a smaller one to fit the work area.
  const DisplayScale monitorScale = picture_.scale();
  PublishControlRects(ProgramStateLog(), monitorScale);
  // The window starts hidden in the tray: its picture is made when it is
  // first shown, the start-up only learns its size.
  picture_.Release();
  const bool ready = shell_->Initialize(SystemLangId()) == StartupResult::kReady;
  if (picture_.scale() != monitorScale) PublishControlRects(ProgramStateLog(), picture_.scale());
  PublishWindowRect();
  if (ready) {
    // The frame buttons belong to every page; they stand on the picture from
    // the start, whichever page is drawn later.
    Redraw(model_->skin.skinFolderPath, [this](Canvas& canvas) { model_->DrawFrame(canvas); });
  }
  // A window without a picture has no area and no paints to hide it at: its
  // start-up ends here.
  RECT client;
  if (GetClientRect(hwnd_, &client) && IsRectEmpty(&client)) ProgramStateLog().Ready();
  return TRUE;
}

void CTesselDlg::OnPaintIconic() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(hwnd_, &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(hwnd_, &paint);
}

void CTesselDlg::OnScaleChanged() {
  // The picture is drawn anew as after a change of skin: the page's controls
  // made again, at the new scale.
  if (!model_) return;
  const int page = model_->currentPage();
  if (page == kBasicPage || page == kAdvancedPage) {
    model_->TeardownPagesExcept(page == kBasicPage ? kAdvancedPage : kBasicPage);
    model_->BuildPage(page);
  } else {
    Redraw(model_->skin.skinFolderPath, [this](Canvas& canvas) { model_->DrawFrame(canvas); });
  }
  PublishControlRects(ProgramStateLog(), picture_.scale());
  PublishWindowRect();
}

void CTesselDlg::PublishWindowRect() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  ProgramStateLog().WriteLines(RectLine("window", {0, 0, client.right, client.bottom}));
}

// ---- Surface

void CTesselDlg::RequestHover() { picture_.RequestHover(true); }

// ---- ListHost

void CTesselDlg::CreateList(int id, const Rect& area, const std::vector<std::string>& items) {
  CreateListAtScale(id, area, items);
  if (HWND list = GetDlgItem(hwnd_, id)) {
    SetWindowSubclass(list, ListPointerProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK CTesselDlg::ListPointerProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self) {
  if (message == WM_MOUSEMOVE) {
    auto* dialog = reinterpret_cast<CTesselDlg*>(self);
    if (dialog->basicPage_ && dialog->model_ && dialog->model_->currentPage() == kBasicPage) {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      MapWindowPoints(list, dialog->hwnd_, &at, 1);
      // The page may destroy this very list box; the message is finished first.
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      dialog->basicPage_->TrackFunctionListHover(dialog->picture_.scale().Unscale(Point{at.x, at.y}));
      return result;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, ListPointerProc, 0);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// ---- Macro recording

unsigned CTesselDlg::InstallRecordingHook(RecordingHookHandlers handlers) {
  return recordingHook_.Install(hwnd_, std::move(handlers));
}

void CTesselDlg::RemoveRecordingHook() { recordingHook_.Remove(); }

bool CTesselDlg::RecordingHookInstalled() const { return recordingHook_.installed(); }

void CTesselDlg::SendRecorderMessage(int message) {
  SendMessageW(hwnd_, kRecorderMessage, static_cast<WPARAM>(message), 0);
}

void CTesselDlg::SetWindowTitle(std::string_view title) {
  SetWindowTextW(hwnd_, Widen(std::string(title)).c_str());
}

// ---- Messages, window, tray

void CTesselDlg::Show(const std::string& text, const std::string& caption) {
  ShowMessageOver(hwnd_, text, caption);
}

void CTesselDlg::ShowWindow() {
  // Told first: the window paints while it is being shown.
  const int page = model_ ? model_->currentPage() : kNoPage;
  ProgramStateLog().WindowState(true, page);
  // A hidden window holds no picture: it is made again and drawn whole
  // before the window shows.
  if (picture_.Prepare() && model_) model_->RedrawWhole();
  ::ShowWindow(hwnd_, SW_SHOW);
  ProgramStateLog().WindowState(IsWindowVisible(hwnd_) != FALSE, page);
}
void CTesselDlg::HideWindow() {
  ::ShowWindow(hwnd_, SW_HIDE);
  // Every way the window hides comes here: its picture and the skin images
  // it was drawn from are freed while it waits in the tray.
  picture_.Release();
  ProgramStateLog().WindowState(false, kNoPage);
}
void CTesselDlg::BringToForeground() { SetForegroundWindow(hwnd_); }

void CTesselDlg::StartWindowDrag(Point clickPoint) {
  // A click whose button is already up again (the Skins button ran its modal
  // dialog first) starts no drag: the window would follow the pointer until
  // the next click.
  if ((GetKeyState(VK_LBUTTON) & 0x8000) == 0) return;
  const Point pixel = picture_.scale().Scale(clickPoint);
  PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pixel.x, pixel.y));
}

void CTesselDlg::AddTrayIcon(std::string_view tip) {
  tray_ = NOTIFYICONDATAW{};
  tray_.cbSize = sizeof tray_;
  tray_.hWnd = hwnd_;
  tray_.uID = 0;
  tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray_.uCallbackMessage = kTrayMessage;
  tray_.hIcon = smallIcon_;
  CopyField(tray_.szTip, tip);
  trayAdded_ = Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
}

void CTesselDlg::RemoveTrayIcon() {
  if (!trayAdded_) return;
  Shell_NotifyIconW(NIM_DELETE, &tray_);
  trayAdded_ = false;
}

void CTesselDlg::ShowTrayBalloon(std::string_view text, std::string_view title, BalloonIcon icon,
                                 int timeoutMs) {
  tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  CopyField(tray_.szInfo, text);
  CopyField(tray_.szInfoTitle, title);
  tray_.dwInfoFlags = icon == BalloonIcon::kWarning ? NIIF_WARNING : NIIF_INFO;
  tray_.uTimeout = static_cast<UINT>(timeoutMs);
  Shell_NotifyIconW(NIM_MODIFY, &tray_);
  ProgramStateLog().Write("balloon", text);
}

namespace {

// The menu's items, a submenu's in a pop-up of their own. The state log
// names the top level's items ("menu item") apart from a submenu's
// ("submenu item"), so a check can tell where each one stands.
HMENU BuildMenu(const std::vector<TrayMenuItem>& items, bool submenu) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const TrayMenuItem& item : items) {
    const std::wstring label = Widen(item.label);
    if (!item.submenu.empty()) {
      HMENU inner = BuildMenu(item.submenu, true);
      if (inner) AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), label.c_str());
    } else {
      AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED),
                  static_cast<UINT_PTR>(item.command), label.c_str());
      // Drawn in bold; Enter on the opened menu chooses it.
      if (item.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(item.command), FALSE);
    }
    ProgramStateLog().Write(submenu ? "submenu item" : "menu item", item.label);
    if (item.checked) ProgramStateLog().Write("menu tick", item.label);
  }
  return menu;
}

}  // namespace

void CTesselDlg::ShowTrayMenu(const std::vector<TrayMenuItem>& items) {
  POINT cursor;
  GetCursorPos(&cursor);
  HMENU menu = BuildMenu(items, false);
  if (!menu) return;
  SetForegroundWindow(hwnd_);
  ProgramStateLog().Write("menu opened");
  TrackPopupMenu(menu, TPM_BOTTOMALIGN | TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                 hwnd_, nullptr);
  ProgramStateLog().Write("menu closed");
  DestroyMenu(menu);  // and its submenus
}

std::optional<std::string> CTesselDlg::ChooseFile(const FileDialogRequest& request) {
  const bool save = request.kind == FileDialogKind::kSaveAs;
  ProgramStateLog().Write("file dialog opened", save ? "save" : "open");
  std::optional<std::string> path = RunFileDialog(hwnd_, request);
  ProgramStateLog().Write("file dialog closed", path ? "ok " + *path : std::string("cancel"));
  return path;
}

// ---- The program in front

void CTesselDlg::WatchForeground(bool on) {
  if (!on) {
    foregroundHook_.Stop();
    KillTimer(hwnd_, kSettleTimerId);
    return;
  }
  const bool started = foregroundHook_.Start([this](HWND window) {
    const ForegroundWindow front = DescribeWindow(window);
    const bool waits = shell_ && shell_->OnForegroundChange(front);
    ProgramStateLog().Write("foreground", (front.executable.empty() ? front.windowClass : front.executable) +
                                              (waits ? " waits" : " passed over"));
  });
  ProgramStateLog().Write("foreground watch", started ? "on" : "failed");
}

std::optional<ForegroundWindow> CTesselDlg::ForegroundNow() {
  HWND front = GetForegroundWindow();
  if (!front) return std::nullopt;
  return DescribeWindow(front);
}

void CTesselDlg::StartSettleTimer(int ms) { SetTimer(hwnd_, kSettleTimerId, static_cast<UINT>(ms), nullptr); }

// ---- Start with Windows

bool CTesselDlg::StartsAtLogOn() {
  const std::optional<std::wstring> target = ShortcutTarget(LogOnShortcutPath());
  return target && SamePath(*target, Widen(ModulePath()));
}

bool CTesselDlg::SetStartAtLogOn(bool on) {
  const std::wstring shortcut = LogOnShortcutPath();
  const bool done = on ? WriteShortcut(shortcut, Widen(ModulePath()))
                       : DeleteFileW(shortcut.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  ProgramStateLog().Write("start with windows", (on ? "on " : "off ") + std::string(done ? "done" : "failed"));
  return done;
}

// ---- Listener

bool CTesselDlg::CreateListener() { return listener_.Create(); }

void CTesselDlg::ResumeListener() { listener_.Resume(); }

void CTesselDlg::SetEventPort(std::unique_ptr<EventPort> port) { listener_.UsePort(std::move(port)); }

void CTesselDlg::CloseListenerHandles() {
  listener_.Stop();
  if (link_) link_->Detach();
}

bool CTesselDlg::RegisterDeviceNotifications() {
  if (backend_) {
    // The virtual mouse's own notices reach the window thread like WM_DEVICECHANGE.
    HWND window = hwnd_;
    backend_->SetChangeListener([window](bool arrival, const std::string& name) {
      auto* copy = new std::string(name);
      if (!PostMessageW(window, kVirtualDeviceChangeMessage, arrival ? 1 : 0,
                        reinterpret_cast<LPARAM>(copy))) {
        delete copy;
      }
    });
  }
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kHidInterfaceClass;
  deviceNotify_ = RegisterDeviceNotificationW(hwnd_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  return deviceNotify_ != nullptr;
}

void CTesselDlg::ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }


DialogResult CTesselDlg::RunSubDialog(SubDialogFrame& dialog) {
  const std::string name = DialogName(typeid(dialog));
  ProgramStateLog().Write("dialog opened", name);
  const DialogResult result = RunSubDialogModal(instance_, hwnd_, dialog, picture_.scale());
  // A dialog opened from the tray leaves no images behind the hidden window.
  if (picture_.released()) ProgramSkinImages().Clear();
  ProgramStateLog().Write("dialog closed", name + (result == DialogResult::kOk ? " ok" : " cancel"));
  return result;
}

}  // namespace vortal
