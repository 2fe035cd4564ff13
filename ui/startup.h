// The main window's shell: the order in which start-up brings up the texts,
// the tray icon, the mouse, the listener, device notifications, the settings
// and the skin; the tray icon's clicks; the mouse coming and going; the
// balloons for the mouse's events; closing and exiting. The single-instance
// mutex and the window itself are the host's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/main_window_model.h"

namespace vortal {

inline constexpr std::string_view kTrayTip = "Gaming mouse setting";
inline constexpr std::string_view kCreateEventFailed = "CreateEvent failed.";
inline constexpr std::string_view kRegisterNotificationFailed =
    "RegisterDeviceNotification failed!!!";
// The skin delivered with the program, whose pictures stand in for a skin
// whose main picture cannot be loaded.
inline constexpr std::string_view kFallbackSkinName = "Default";

// Mouse messages the tray icon reports (its notification's lParam).
inline constexpr std::uint32_t kTrayLeftButtonUp = 0x0202;
inline constexpr std::uint32_t kTrayLeftDoubleClick = 0x0203;
inline constexpr std::uint32_t kTrayRightButtonUp = 0x0205;
inline constexpr int kTrayExitCommand = 1028;

// Device-change notices that concern a device interface.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;
inline constexpr std::uint32_t kDeviceTypeInterface = 5;

enum class StartupResult {
  kReady,
  kStoppedNoListener,       // "CreateEvent failed."
  kStoppedNoNotifications,  // "RegisterDeviceNotification failed!!!"
};

class MainWindowShell {
 public:
  explicit MainWindowShell(MainWindowModel& model) : model_(model) {}

  // Dialog initialisation after the host took the mutex and set up the
  // window. A stopped start leaves the window open with no settings loaded
  // and no skin.
  StartupResult Initialize(std::uint32_t systemLangId);

  // WM_USER+1: `mouseMessage` is what happened on the icon.
  void OnTrayNotification(std::uint32_t mouseMessage);
  // WM_DEVICECHANGE.
  void OnDeviceChange(std::uint32_t event, std::uint32_t deviceType,
                      std::string_view interfaceName);
  // WM_USER+2: an event of the mouse (or 15, the mouse is missing). Shows
  // its balloon; other combinations show nothing. No setting changes.
  void OnDeviceEvent(std::int64_t event, std::int64_t value);
  // WM_CLOSE: the window hides, the program goes on in the tray.
  void OnClose() { model_.services().HideWindow(); }
  // Tray "Exit".
  void OnExitCommand() { model_.Exit(); }

  bool listenerCreated() const { return listenerCreated_; }

 private:
  void LoadSkin();
  // The skin's "/main.png" as the window's background. When it cannot be
  // loaded the window would have no area at all: this run then draws with
  // the delivered skin, if its picture loads; str.ini keeps the choice.
  void LoadMainBackground();

  MainWindowModel& model_;
  bool listenerCreated_ = false;
  // The skin folder that could not give the window its background, and the
  // folder drawn instead for the rest of the run.
  std::string unusableSkinFolder_;
  std::string fallbackSkinFolder_;
};

}  // namespace vortal
