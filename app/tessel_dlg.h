// CTesselDlg: the main dialog of Vortal.exe, a borderless pop-up of the class
// "LumeoZQ5GMClass" that lives in the notification area. It owns the window,
// the tray icon, the fonts, the background bitmap, the listener thread and the
// device notifications, and hands clicks, hover, tray and device messages to
// the main window model and its start-up shell.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's ChooseColor
#include "app/event_listener.h"
#include "app/foreground_watch_win32.h"
#include "app/macro_recorder_hook.h"
#include "app/owner_drawn_window.h"
#include "device/hid_port.h"
#include "device/mouse_link.h"
#include "settings/program_paths.h"
#include "app/pointer_system_win32.h"
#include "settings/settings_record.h"
#include "ui/window/advanced_page.h"
#include "ui/window/basic_page.h"
#include "ui/window/macro_editor_page.h"
#include "ui/window/main_window_model.h"
#include "ui/host/main_window_services.h"
#include "ui/window/startup.h"
#include "texts/texts.h"

namespace vortal {

// Window messages of the main dialog.
inline constexpr UINT kTrayMessage = WM_USER + 1;         // tray icon notifications
inline constexpr UINT kDeviceEventMessage = WM_USER + 2;  // events from the listener
// A change notice of the built-in virtual mouse, handed from its thread to the
// window's: wParam 1 arrival / 0 removal, lParam a heap std::string (the
// interface name) that the window deletes.
inline constexpr UINT kVirtualDeviceChangeMessage = WM_APP + 1;



inline constexpr const wchar_t* kMainWindowClass = L"LumeoZQ5GMClass";
inline constexpr const wchar_t* kSingleInstanceMutex = L"LumeoZQ5Mutex";
inline constexpr int kMainIconId = 710;

// The dialog template: a borderless pop-up, 450 x 325 dialog units until the
// skin resizes it, 12-point "宋体", no controls.
inline constexpr DWORD kMainDialogStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER | DS_SETFOREGROUND | DS_SETFONT;
inline constexpr DWORD kMainDialogExStyle = WS_EX_APPWINDOW | WS_EX_ACCEPTFILES;

class CTesselDlg : public OwnerDrawnWindow<MainWindowServices> {
 public:
  explicit CTesselDlg(HINSTANCE instance);
  ~CTesselDlg() override;
  CTesselDlg(const CTesselDlg&) = delete;
  CTesselDlg& operator=(const CTesselDlg&) = delete;

  // Runs the dialog modally until it ends.
  INT_PTR DoModal();

  // Surface.
  void RequestHover() override;
  // ListHost.
  void CreateList(int id, const Rect& area, const std::vector<std::string>& items) override;
  // UserMessages.
  void Show(const std::string& text, const std::string& caption) override;
  // MainWindowServices.
  void ShowWindow() override;
  void HideWindow() override;
  void BringToForeground() override;
  void StartWindowDrag(Point clickPoint) override;
  void AddTrayIcon(std::string_view tip) override;
  void RemoveTrayIcon() override;
  void ShowTrayBalloon(std::string_view text, std::string_view title, BalloonIcon icon,
                       int timeoutMs) override;
  void ShowTrayMenu(const std::vector<TrayMenuItem>& items) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  bool CreateListener() override;
  void ResumeListener() override;
  void SetEventPort(std::unique_ptr<EventPort> port) override;
  bool RegisterDeviceNotifications() override;
  void CloseListenerHandles() override;
  bool StartsAtLogOn() override;
  bool SetStartAtLogOn(bool on) override;
  void WatchForeground(bool on) override;
  std::optional<ForegroundWindow> ForegroundNow() override;
  void StartSettleTimer(int ms) override;
  void ExitProcess(int code) override;
  DialogResult RunSubDialog(SubDialogFrame& dialog) override;
  // Macro recording.
  unsigned InstallRecordingHook(RecordingHookHandlers handlers) override;
  void RemoveRecordingHook() override;
  bool RecordingHookInstalled() const override;
  void SendRecorderMessage(int message) override;
  void SetWindowTitle(std::string_view title) override;

  HWND hwnd() const { return hwnd_; }

 private:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnKeyMessage(const MSG& msg) override;
  void OnScaleChanged() override;
  // "rect window": the client area in pixels, for the checks to find it.
  void PublishWindowRect();
  BOOL OnInitDialog();
  void CreateFonts();
  void OnPaintIconic();
  // A pointer move over one of the window's list boxes, in client coordinates.
  static LRESULT CALLBACK ListPointerProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);

  HINSTANCE instance_;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  NOTIFYICONDATAW tray_{};
  bool trayAdded_ = false;
  HDEVNOTIFY deviceNotify_ = nullptr;
  ForegroundHook foregroundHook_;

  ProgramPaths paths_;
  SettingsState settings_;
  std::unique_ptr<Pauser> pauser_;
  std::unique_ptr<HidBackend> backend_;
  std::unique_ptr<MouseLink> link_;
  std::unique_ptr<MainWindowModel> model_;
  std::unique_ptr<MainWindowShell> shell_;
  MacroRecorderHook recordingHook_;
  Win32PointerSystem pointerSystem_;
  // The advanced page's macro half; the page points at it.
  std::unique_ptr<MacroEditorPage> macroEditor_;
  std::unique_ptr<AdvancedPageHalfOf<MacroEditorPage>> macroHalf_;
  std::unique_ptr<AdvancedPage> advancedPage_;
  // The dialogs a function choice on the basic page opens.
  std::unique_ptr<AssignmentDialogs> assignmentDialogs_;
  std::unique_ptr<BasicPage> basicPage_;

  // Hands each event of the mouse to the window, synchronously.
  EventListener listener_{[this](DeviceEvent event) {
    SendMessageW(hwnd_, kDeviceEventMessage, event.code, event.value);
  }};
};

}  // namespace vortal
