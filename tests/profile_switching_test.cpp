#include "ui/window/profile_switching.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/virtual_mouse.h"
#include "settings/delivered_settings.h"
#include "support/fake_hosts.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "ui/dialogs/save_profile_dialog.h"
#include "ui/window/main_window_model.h"

namespace vortal {
namespace {

using testing::FakeMainWindowServices;

ForegroundWindow Program(const std::string& executable, const std::string& windowClass = "Game") {
  return {executable, windowClass, false};
}

TEST(ProfileSwitchingTest, WindowsThatLeaveTheMouseAsItIs) {
  const struct {
    ForegroundWindow window;
    bool leaves;
  } cases[] = {
      {Program(R"(C:\Games\cs2.exe)"), false},
      {Program(R"(C:\Windows\explorer.exe)", "CabinetWClass"), false},  // a folder window is a program
      {{R"(C:\Tools\Vortal.exe)", "LumeoZQ5GMClass", true}, true},
      {Program(R"(C:\Windows\explorer.exe)", "Shell_TrayWnd"), true},
      {Program(R"(C:\Windows\explorer.exe)", "Progman"), true},
      {Program(R"(C:\Windows\explorer.exe)", "WorkerW"), true},
      {Program(R"(C:\Windows\explorer.exe)", "MultitaskingViewFrame"), true},
      {Program(R"(C:\Windows\explorer.exe)", "XamlExplorerHostIslandWindow"), true},
      {Program(R"(C:\Windows\SystemApps\StartMenuExperienceHost.exe)", "Windows.UI.Core.CoreWindow"), true},
      {Program(R"(C:\Windows\SystemApps\SEARCHHOST.EXE)", "Windows.UI.Core.CoreWindow"), true},
      {Program(""), true},  // its program could not be told
  };
  for (const auto& c : cases)
    EXPECT_EQ(LeavesMouseAsItIs(c.window), c.leaves) << c.window.executable << " " << c.window.windowClass;
}

// The window's model over fake services and the virtual mouse, with two
// profiles for two games and one damaged profile.
struct SwitchRig {
  testing::TempDir dir;
  FakeMainWindowServices services;
  VirtualMouseBackend mouse{dir.File("mouse"), 1};
  testing::CountingPauser pauser;
  MouseLink link{pauser};
  SettingsState settings;
  MainWindowModel model{services, link, mouse, settings,
                        {dir.File("config.bin"), dir.File("str.ini"), dir.File(""), dir.File("record.ini")}};
  ProfileSwitching switching{model};

  explicit SwitchRig(bool automatic) {
    settings.working = settings.applied = DeliveredSettings();
    model.SettingsLoaded(LoadResult::kLoaded);
    link.FindDevice(mouse);
    link.devicePresent = true;
    dir.Write("switching.ini", std::string("[Switching]\nAutomatic=") + (automatic ? "1" : "0") + "\n");
    std::filesystem::create_directories(dir.File("Profiles"));
    dir.Write("Profiles/One.ini", "[Profile]\nFormat=1\nPrograms=game-one.exe\n[Settings]\ndpi.1=on level=1\n");
    dir.Write("Profiles/Two.ini",
              "[Profile]\nFormat=1\nPrograms=Game-Two.exe\n[Settings]\nmode-a.button8=Fire Key key=R speed=20 times=3\n");
    dir.Write("Profiles/Broken.ini", "[Profile]\nFormat=1\nPrograms=broken.exe\n[Settings]\ndpi.1=sideways\n");
  }
  int Sent() const {
    int count = 0;
    for (std::size_t at = 0; (at = Traffic().find("SET_FEATURE", at)) != std::string::npos; ++at) ++count;
    return count;
  }
  std::string Traffic() const { return dir.Read("mouse/traffic.log"); }
  std::string LastBalloon() const {
    for (auto call = services.calls.rbegin(); call != services.calls.rend(); ++call)
      if (call->rfind("BALLOON ", 0) == 0) return *call;
    return "";
  }
};

TEST(ProfileSwitchingTest, TheMouseFollowsTheProgramInFrontOnceItSettles) {
  SwitchRig rig(true);
  rig.services.front = Program(R"(C:\Games\game-one.exe)");
  rig.switching.Start();
  EXPECT_EQ(rig.services.calls.front(), "WATCH on");
  EXPECT_EQ(rig.switching.held(), "One");
  SettingsRecord one = rig.settings.applied;
  ASSERT_NE(one.dpiLevel[0], 0);
  one.dpiLevel[0] = 0;  // One's "level=1"
  EXPECT_EQ(rig.mouse.Memory().dpiBlock, BuildDpiBlock(one, 1));
  const int wholeApply = rig.Sent();

  // Each step: what comes to the front (in turn, within one settle time),
  // then the settle time ends.
  const struct {
    std::vector<ForegroundWindow> fronts;
    std::string held;
    bool sends;
    std::string balloon;  // a part of the last balloon's text; empty: no new balloon
  } steps[] = {
      {{Program(R"(D:\Two\GAME-TWO.EXE)")}, "Two", true, "The mouse now has the profile Two."},
      // An Alt+Tab flurry that ends where it began switches nothing.
      {{Program(R"(C:\Games\game-one.exe)"), Program(R"(D:\Two\game-two.exe)")}, "Two", false, ""},
      // The program's own window, the taskbar and the desktop leave the mouse alone.
      {{{R"(C:\Vortal\Vortal.exe)", "LumeoZQ5GMClass", true}, Program(R"(C:\Windows\explorer.exe)", "Progman")},
       "Two", false, ""},
      {{Program(R"(C:\Windows\notepad.exe)")}, "", true, "The mouse now has the default setup."},
      // A damaged profile switches nothing and says why.
      {{Program(R"(C:\Games\broken.exe)")}, "", false, "The profile Broken cannot be read"},
      {{Program(R"(C:\Games\game-one.exe)")}, "One", true, "profile One"},
  };
  for (const auto& step : steps) {
    const int before = rig.Sent();
    const std::size_t balloons = rig.services.calls.size();
    for (const ForegroundWindow& window : step.fronts) rig.switching.OnForegroundChange(window);
    EXPECT_EQ(rig.Sent(), before) << "nothing goes out before the settle time ends";
    rig.switching.OnSettled();
    SCOPED_TRACE(step.fronts.back().executable);
    EXPECT_EQ(rig.switching.held(), step.held);
    if (step.sends) {
      EXPECT_GT(rig.Sent(), before);
      EXPECT_LT(rig.Sent() - before, wholeApply) << "only what differs goes out";
    } else {
      EXPECT_EQ(rig.Sent(), before);
    }
    if (step.balloon.empty()) {
      for (std::size_t i = balloons; i < rig.services.calls.size(); ++i)
        EXPECT_EQ(rig.services.calls[i].rfind("BALLOON", 0), std::string::npos) << rig.services.calls[i];
    } else {
      EXPECT_NE(rig.LastBalloon().find(step.balloon), std::string::npos) << rig.LastBalloon();
    }
  }
  // Automatic switches leave the window's records and config.bin alone.
  EXPECT_EQ(std::memcmp(&rig.settings.working, &rig.settings.applied, sizeof rig.settings.working), 0);
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("config.bin")));
}

TEST(ProfileSwitchingTest, HandSwitchesFromTheMenuAndTheTicksKeptBesideTheProgram) {
  SwitchRig rig(false);
  rig.switching.Start();
  EXPECT_TRUE(rig.services.calls.empty()) << "switching off: no watch, no switch at start";
  rig.switching.OnForegroundChange(Program(R"(C:\Games\game-one.exe)"));
  rig.switching.OnSettled();
  EXPECT_EQ(rig.Sent(), 0);

  const TrayMenuItem menu = rig.switching.Submenu();
  std::vector<std::string> labels;
  for (const TrayMenuItem& item : menu.submenu) labels.push_back(item.label + (item.checked ? "*" : ""));
  EXPECT_EQ(labels, (std::vector<std::string>{"Default setup*", "Broken", "One", "Two", "Switch automatically",
                                              "Show a balloon on each switch*"}));
  EXPECT_TRUE(rig.switching.OnMenuCommand(menu.submenu[3].command));  // Two
  EXPECT_EQ(rig.switching.held(), "Two");
  EXPECT_TRUE(rig.switching.Submenu().submenu[3].checked);
  EXPECT_TRUE(rig.switching.OnMenuCommand(menu.submenu[1].command));  // Broken: nothing changes
  EXPECT_EQ(rig.switching.held(), "Two");

  EXPECT_TRUE(rig.switching.OnMenuCommand(kTraySwitchBalloonsCommand));
  rig.services.front = Program(R"(C:\Games\game-one.exe)");
  EXPECT_TRUE(rig.switching.OnMenuCommand(kTraySwitchAutomaticallyCommand));
  EXPECT_EQ(rig.switching.held(), "One") << "turning switching on follows the program in front";
  EXPECT_EQ(rig.LastBalloon().find("One"), std::string::npos) << "balloons were turned off";
  const SwitchingChoices kept = LoadSwitchingChoices(rig.dir.File("switching.ini"));
  EXPECT_TRUE(kept.automatic);
  EXPECT_FALSE(kept.balloons);
  EXPECT_FALSE(rig.switching.OnMenuCommand(kTrayFirstProfileCommand + kTrayMaxProfiles));

  // Without the mouse a hand switch says so and changes nothing.
  rig.link.devicePresent = false;
  EXPECT_TRUE(rig.switching.OnMenuCommand(menu.submenu[3].command));
  EXPECT_NE(rig.LastBalloon().find("did not detect the gaming mouse"), std::string::npos) << rig.LastBalloon();
  EXPECT_EQ(rig.switching.held(), "One");
}

TEST(ProfileSwitchingTest, SaveAsProfileAsksForANameAndProgramsAndWritesIntoTheFolder) {
  const struct {
    std::string name, programs;
    std::string told;  // the message OK gives; empty: written
  } cases[] = {
      {" Shooter ", "cs2.exe, valorant.exe", ""},
      {"Racing", "", ""},
      {"", "cs2.exe", "Give the profile a name"},
      {"a/b", "cs2.exe", "Give the profile a name"},
      {"trailing.", "cs2.exe", "Give the profile a name"},
      {"COM1.ini", "cs2.exe", "Give the profile a name"},
      {"Paths", R"(C:\Games\cs2.exe)", "is a path"},
      {"Gap", "cs2.exe,,x.exe", "missing between commas"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " | " + c.programs);
    SwitchRig rig(false);
    std::filesystem::remove_all(rig.dir.File("Profiles"));  // made when missing
    testing::FakeSubDialogHost host;
    rig.services.runDialog = [&](SubDialogFrame& dialog) {
      EXPECT_TRUE(host.Open(dialog));
      host.controls.SetChildText(kProfileNameFieldId, c.name);
      host.controls.SetChildText(kProfileProgramsFieldId, c.programs);
      dialog.OnLeftButtonDown({200, 260});  // OK
      return dialog.result() == DialogResult::kNone ? DialogResult::kCancel : dialog.result();
    };
    rig.switching.OnMenuCommand(kTraySaveAsProfileCommand);
    const std::vector<ProfileListing> written = ListProfiles(rig.dir.File("Profiles"), {}, LocalizedTexts(), 1, {});
    if (c.told.empty()) {
      EXPECT_TRUE(host.messages.empty());
      ASSERT_EQ(written.size(), 1u);
      EXPECT_EQ(written[0].name, c.name == " Shooter " ? "Shooter" : c.name);
      EXPECT_EQ(written[0].damage, "");
      EXPECT_EQ(written[0].programs.size(), c.programs.empty() ? 0u : 2u);
    } else {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_NE(host.messages[0].first.find(c.told), std::string::npos) << host.messages[0].first;
      EXPECT_TRUE(written.empty());
    }
  }
}

}  // namespace
}  // namespace vortal
