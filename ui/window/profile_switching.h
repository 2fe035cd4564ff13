// The setups the mouse is switched between while the program runs in the
// tray: the default setup (config.bin's, as last applied) and the profiles of
// the Profiles folder beside the program, by hand from the tray menu or
// following the program in front. A switch writes the mouse only: the
// window's records and config.bin stay as the user applied them, and it sends
// only what differs from what the mouse last received (MouseLink::Switch).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/profile.h"
#include "ui/host/main_window_services.h"

namespace vortal {

class MainWindowModel;

// The tray menu's Profiles submenu: the default setup, one command per
// profile (in the folder's order), and the two ticks.
inline constexpr int kTrayDefaultSetupCommand = 1040;
inline constexpr int kTraySwitchAutomaticallyCommand = 1041;
inline constexpr int kTraySwitchBalloonsCommand = 1042;
inline constexpr int kTraySaveAsProfileCommand = 1043;  // in the menu itself, after Export
inline constexpr int kTrayFirstProfileCommand = 1100;
inline constexpr int kTrayMaxProfiles = 200;

// How long one program must hold the front before the mouse follows it: an
// Alt+Tab flurry switches nothing.
inline constexpr int kForegroundSettleMs = 500;
inline constexpr int kSwitchBalloonMs = 3000;

// The choices kept in "switching.ini" beside the program, read at start.
inline constexpr std::string_view kSwitchingFileName = "switching.ini";
struct SwitchingChoices {
  bool automatic = false;
  bool balloons = true;
};
SwitchingChoices LoadSwitchingChoices(const std::string& path);
bool SaveSwitchingChoices(const std::string& path, const SwitchingChoices& choices);

// True for a window whose coming to the front leaves the mouse as it is: the
// program's own windows, the taskbar, Start and search, the task switcher,
// the desktop, and a window whose program could not be told.
bool LeavesMouseAsItIs(const ForegroundWindow& window);

class ProfileSwitching {
 public:
  explicit ProfileSwitching(MainWindowModel& model);

  // Start-up, once config.bin was read: the choices, and with switching on
  // the watch and the mouse brought to the setup of the program in front.
  void Start();

  // The Profiles submenu, its items reading the folder afresh.
  TrayMenuItem Submenu();
  // A command of the submenu; false for a command that is not one.
  bool OnMenuCommand(int command);

  // A window came to the front: after the settle time (OnSettled), if the
  // same program is still in front, the mouse gets its profile, or the
  // default setup when none names it. False when the window is passed over.
  bool OnForegroundChange(const ForegroundWindow& window);
  void OnSettled();
  // The mouse came back (plugged in, or the computer resumed).
  void OnMouseBack();
  // "Save as profile...": the name and programs asked for, then the setup
  // the window holds written into the Profiles folder as NAME.ini (one of
  // that name is replaced). A failure is told.
  void SaveAsProfile();

  // OK or Apply sent the default setup whole.
  void OnApplied() { held_.clear(); }

  bool automatic() const { return choices_.automatic; }
  // The profile the mouse holds; empty for the default setup.
  const std::string& held() const { return held_; }

 private:
  std::vector<ProfileListing> ReadProfiles() const;
  // Brings the mouse to the setup of `executable`'s program.
  void Follow(const std::string& executable);
  // Switches to `profile`, or to the default setup when null; a balloon
  // names what the mouse now holds when that changed. `byHand`: chosen in
  // the menu, not following the program in front.
  void SwitchTo(const ProfileListing* profile, bool byHand);
  void SaveChoices();

  MainWindowModel& model_;
  std::string profilesDir_;
  std::string choicesFile_;
  SwitchingChoices choices_;
  std::string held_;
  // The program waiting out the settle time.
  std::optional<std::string> pending_;
};

}  // namespace vortal
