// The main window's shell: the order in which start-up brings up the texts,
// the tray icon, the mouse, the listener, device notifications, the settings
// and the skin; the tray icon's clicks; the mouse coming and going; the
// balloons for the mouse's events; closing and exiting. The single-instance
// mutex and the window itself are the host's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/window/main_window_model.h"
#include "ui/window/profile_switching.h"
#include "ui/window/settings_profiles.h"

namespace vortal {

inline constexpr std::string_view kTrayTip = "Gaming mouse setting";
inline constexpr std::string_view kCreateEventFailed = "CreateEvent failed.";
inline constexpr std::string_view kRegisterNotificationFailed =
    "RegisterDeviceNotification failed!!!";
// The skin delivered with the program, whose pictures stand in for a skin
// whose main picture cannot be loaded.
inline constexpr std::string_view kFallbackSkinName = "Default";

// The tray menu's commands, top down.
inline constexpr int kTrayExportCommand = 1026;
inline constexpr int kTrayImportCommand = 1027;
inline constexpr int kTrayAboutCommand = 1029;
inline constexpr int kTrayExitCommand = 1028;
inline constexpr int kTrayStartWithWindowsCommand = 1030;
inline constexpr int kTrayOpenCommand = 1031;

// The About box's text: the program's name and version, the licence line in
// the window's language, and the web address when the project has one.
std::string AboutText(const LocalizedTexts& texts);

// The tray menu in the window's language: Open first, as its default item,
// the Profiles submenu, and Start with Windows ticked when the program
// starts at log-on.
std::vector<TrayMenuItem> TrayMenuItems(const LocalizedTexts& texts, bool startsAtLogOn,
                                        TrayMenuItem profiles);

// What the user did on the tray icon.
enum class TrayClick { kLeft, kLeftDouble, kRight };
// A device interface came or went.
enum class DeviceChange { kArrival, kRemoval };

enum class StartupResult {
  kReady,
  kStoppedNoListener,       // "CreateEvent failed."
  kStoppedNoNotifications,  // "RegisterDeviceNotification failed!!!"
};

class MainWindowShell {
 public:
  explicit MainWindowShell(MainWindowModel& model)
      : model_(model), profiles_(model, model.files().macroStore), switching_(model) {}

  // Dialog initialisation after the host took the mutex and set up the
  // window. A stopped start leaves the window open with no settings loaded
  // and no skin.
  StartupResult Initialize(std::uint32_t systemLangId);

  // A click on the tray icon.
  void OnTrayClick(TrayClick click);
  // A device interface came or went; only the mouse's concern the window.
  void OnDeviceChange(DeviceChange change, std::string_view interfaceName);
  // WM_USER+2: an event of the mouse (or 15, the mouse is missing). Shows
  // its balloon; other combinations show nothing. No setting changes.
  void OnDeviceEvent(std::int64_t event, std::int64_t value);
  // WM_CLOSE: the window hides, the program goes on in the tray.
  void OnClose() { model_.services().HideWindow(); }
  // A window came to the front, and the settle time after it ended.
  bool OnForegroundChange(const ForegroundWindow& window) { return switching_.OnForegroundChange(window); }
  void OnForegroundSettled() { switching_.OnSettled(); }
  // The computer resumed from sleep: the mouse may have been switched off.
  void OnResume() { switching_.OnMouseBack(); }
  // A command of the tray menu; false for a command that is not one.
  // Export and Import run their file dialogs; a setup imported is shown in
  // the window (with the mouse there), for OK, Apply or Cancel.
  bool OnTrayCommand(int command);

  bool listenerCreated() const { return listenerCreated_; }
  SettingsProfiles& profiles() { return profiles_; }
  ProfileSwitching& switching() { return switching_; }

 private:
  // The tray's left click: the window shown with its page, or, without the
  // mouse, the warning balloon.
  void OpenWindow();
  void LoadSkin();
  // The skin's "/main.png" as the window's background. When it cannot be
  // loaded the window would have no area at all: this run then draws with
  // the delivered skin, if its picture loads; str.ini keeps the choice.
  void LoadMainBackground();

  MainWindowModel& model_;
  SettingsProfiles profiles_;
  ProfileSwitching switching_;
  bool listenerCreated_ = false;
  // The skin folder that could not give the window its background, and the
  // folder drawn instead for the rest of the run.
  std::string unusableSkinFolder_;
  std::string fallbackSkinFolder_;
};

}  // namespace vortal
