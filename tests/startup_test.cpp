#include "ui/window/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "device/device_commands.h"
#include "settings/settings_file.h"
#include "support/main_window_rig.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

void WriteSkinSettings(const std::string& path, const std::string& skin, int red) {
  testing::WriteWhole(path, "[Skins]\nPath=" + skin + "\nRColor=" + std::to_string(red) + "\nGColor=128\nBColor=0\n");
}

struct Rig : testing::MainWindowRig {
  MainWindowShell shell{model};
  std::vector<std::string> pages;
  testing::LoggingPage basic{pages, "basic"};
  testing::LoggingPage advanced{pages, "advanced"};
  std::vector<std::uint8_t> storedRecord;

  explicit Rig(bool plugged = true) {
    backend.plugged = plugged;
    std::string file(kSettingsFileSize, '\0');
    for (std::size_t i = 1; i < file.size(); ++i) file[i] = static_cast<char>(i % 251);
    file[1 + offsetof(SettingsRecord, dpiLevel) + 1] = 5;
    dir.Write("config.bin", file);
    storedRecord.assign(file.begin() + 1, file.end());
    WriteSkinSettings(dir.File("str.ini"), "Blue", 255);
    model.SetPage(kBasicPage, &basic);
    model.SetPage(kAdvancedPage, &advanced);
  }
  bool WorkingIsStored() const {
    return std::memcmp(&settings.working, storedRecord.data(), kSettingsRecordSize) == 0;
  }
};

TEST(StartupTest, InitialisationRunsItsStepsInOrderAndStopsOnFailures) {
  const std::string noMouse = "MESSAGE The system did not detect the gaming mouse! | Warning";
  struct Case {
    const char* name;
    bool plugged;
    bool listener;
    bool notifications;
    StartupResult result;
    std::vector<std::string> calls;  // before the background
    bool loaded;
    std::vector<std::string> pages;
    std::string problem = {};  // the system's reason a mouse it saw was not opened
  };
  const std::vector<Case> cases = {
      {"mouse present", true, true, true, StartupResult::kReady,
       {"TRAY_ADD Gaming mouse setting", "CREATE_LISTENER", "RESUME_LISTENER",
        "REGISTER_NOTIFICATIONS"},
       true, {"build basic"}},
      {"no mouse", false, true, true, StartupResult::kReady,
       {"TRAY_ADD Gaming mouse setting", noMouse, "CREATE_LISTENER", "REGISTER_NOTIFICATIONS"},
       true, {}},
      {"mouse seen but not opened", false, true, true, StartupResult::kReady,
       {"TRAY_ADD Gaming mouse setting", "MESSAGE Cannot open /dev/hidraw4: Permission denied. | Vortal",
        noMouse, "CREATE_LISTENER", "REGISTER_NOTIFICATIONS"},
       true, {}, "Cannot open /dev/hidraw4: Permission denied."},
      {"no listener event", true, false, true, StartupResult::kStoppedNoListener,
       {"TRAY_ADD Gaming mouse setting", "CREATE_LISTENER",
        "MESSAGE CreateEvent failed. | Vortal"},
       false, {}},
      {"no notifications", false, true, false, StartupResult::kStoppedNoNotifications,
       {"TRAY_ADD Gaming mouse setting", noMouse, "CREATE_LISTENER", "REGISTER_NOTIFICATIONS",
        "MESSAGE RegisterDeviceNotification failed!!! | Vortal"},
       false, {}},
  };
  for (const Case& c : cases) {
    Rig rig(c.plugged);
    rig.backend.problem = c.problem;
    rig.services.listenerCreates = c.listener;
    rig.services.notificationsRegister = c.notifications;
    EXPECT_EQ(rig.shell.Initialize(1033), c.result) << c.name;
    std::vector<std::string> calls = rig.services.calls;
    if (c.loaded) {
      ASSERT_FALSE(calls.empty()) << c.name;
      const std::string background = calls.back();
      calls.pop_back();
      EXPECT_TRUE(background.starts_with("BACKGROUND " + rig.dir.File("")) &&
                  background.ends_with("Skins/Blue/main.png"))
          << c.name << ": " << background;
      EXPECT_EQ(rig.model.skin.textColor, (TextColor{255, 128, 0})) << c.name;
    }
    EXPECT_EQ(calls, c.calls) << c.name;
    EXPECT_EQ(rig.WorkingIsStored(), c.loaded) << c.name;
    EXPECT_EQ(std::memcmp(&rig.settings.applied, &rig.settings.working, kSettingsRecordSize) == 0,
              true)
        << c.name;
    EXPECT_EQ(rig.pages, c.pages) << c.name;
    EXPECT_EQ(rig.link.devicePresent, c.plugged) << c.name;
  }
}

TEST(StartupTest, TextsFollowTheSystemLanguage) {
  Rig rig(false);
  rig.shell.Initialize(2052);
  EXPECT_EQ(rig.model.texts.language(), Language::kSimplifiedChinese);
  EXPECT_EQ(rig.services.messages.at(0).first,
            std::string(LocalizedText(Language::kSimplifiedChinese, TextId::kMouseNotDetected)));
  EXPECT_EQ(rig.services.messages.at(0).second, "Warning");
}

// A skin whose main picture does not load: this run draws with the delivered
// skin when its picture loads, and str.ini keeps the user's choice.
TEST(StartupTest, AnUnusableSkinGivesWayToTheDeliveredOne) {
  struct Case {
    const char* name;
    std::string skin;
    std::vector<std::string> unloadable;  // skin names
    std::vector<std::string> tried;       // skin names, in order
    std::string drawn;                    // the skin folder used afterwards
    bool background;
  };
  const Case cases[] = {
      {"the chosen skin loads", "Blue", {}, {"Blue"}, "Blue", true},
      {"the chosen skin fails", "Blue", {"Blue"}, {"Blue", "Default"}, "Default", true},
      {"no skin named", "", {""}, {"", "Default"}, "Default", true},
      {"both fail", "Blue", {"Blue", "Default"}, {"Blue", "Default"}, "Blue", false},
      {"the delivered skin fails", "Default", {"Default"}, {"Default"}, "Default", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    WriteSkinSettings(rig.dir.File("str.ini"), c.skin, 200);
    const auto folder = [&](const std::string& skin) {
      return SkinFolderAtStartup(rig.model.files().programDir, skin);
    };
    for (const std::string& skin : c.unloadable) rig.services.unloadableFolders.insert(folder(skin));
    const std::string stored = rig.dir.Read("str.ini");
    rig.shell.Initialize(1033);
    std::vector<std::string> tried;
    for (const std::string& call : rig.services.calls) {
      if (call.starts_with("BACKGROUND ")) tried.push_back(call);
    }
    std::vector<std::string> expected;
    for (const std::string& skin : c.tried) expected.push_back("BACKGROUND " + folder(skin) + "/main.png");
    EXPECT_EQ(tried, expected);
    EXPECT_EQ(rig.model.skin.skinFolderPath, folder(c.drawn));
    EXPECT_EQ(rig.model.skin.skinName, c.skin);
    EXPECT_EQ(rig.services.hasBackground, c.background);
    EXPECT_EQ(rig.dir.Read("str.ini"), stored);
  }
}

// Reading the skin settings again (after Cancel) keeps the stand-in while the
// unusable skin is still the chosen one, and follows a new choice.
TEST(StartupTest, TheStandInSkinOutlivesARereadOfTheSettings) {
  Rig rig;
  const auto folder = [&](const std::string& skin) {
    return SkinFolderAtStartup(rig.model.files().programDir, skin);
  };
  rig.services.unloadableFolders.insert(folder("Blue"));
  rig.shell.Initialize(1033);
  ASSERT_EQ(rig.model.skin.skinFolderPath, folder("Default"));
  const struct {
    const char* stored;
    const char* drawn;
  } steps[] = {{"Blue", "Default"}, {"Light", "Light"}};
  for (const auto& step : steps) {
    WriteSkinSettings(rig.dir.File("str.ini"), step.stored, 7);
    rig.model.OnLeftButtonDown({800, 615});  // Cancel
    rig.shell.OnTrayClick(TrayClick::kLeft);
    EXPECT_EQ(rig.model.skin.skinFolderPath, folder(step.drawn)) << step.stored;
  }
}

TEST(TrayTest, TrayClicks) {
  const std::string warning =
      "BALLOON The system did not detect the gaming mouse! | Warning | info | 100";
  struct Case {
    const char* name;
    bool pluggedAtStart;
    bool pluggedLater;
    int pageBefore;   // 0: as start-up left it
    bool cancelled;
    TrayClick click;
    std::vector<std::string> calls;
    std::vector<std::string> pages;  // built by the tray click
    int command = 0;                 // a tray menu command instead of the click
  };
  const std::vector<Case> cases = {
      {"no mouse", false, false, 0, false, TrayClick::kLeft, {warning}, {}},
      {"shown again", true, true, 0, false, TrayClick::kLeft, {"FOREGROUND", "SHOW"}, {}},
      {"double click", true, true, 0, false, TrayClick::kLeftDouble, {"FOREGROUND", "SHOW"}, {}},
      {"mouse came later", false, true, 0, false, TrayClick::kLeft, {"FOREGROUND", "SHOW"},
       {"build basic"}},
      {"Cancel before any page was built", false, true, 0, true, TrayClick::kLeft,
       {"FOREGROUND", "SHOW"}, {"build basic"}},
      {"after Cancel on the basic page", true, true, kBasicPage, true, TrayClick::kLeft,
       {"FOREGROUND", "SHOW"}, {"build basic"}},
      {"after Cancel on the advanced page", true, true, kAdvancedPage, true, TrayClick::kLeft,
       {"FOREGROUND", "SHOW"}, {"build advanced"}},
      {"the menu's Open", true, true, kAdvancedPage, true, TrayClick::kLeft, {"FOREGROUND", "SHOW"},
       {"build advanced"}, kTrayOpenCommand},
      {"right button", true, true, 0, false, TrayClick::kRight, {"TRAY_MENU Open|Export settings...|Save as profile...|Import settings...|Profiles|About Vortal|Start with Windows|Exit"}, {}},
  };
  for (const Case& c : cases) {
    Rig rig(c.pluggedAtStart);
    rig.shell.Initialize(1033);
    if (c.pluggedLater && !c.pluggedAtStart) {
      rig.backend.plugged = true;
      rig.shell.OnDeviceChange(DeviceChange::kArrival,
                               "\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&1");
    }
    if (c.pageBefore != 0) rig.model.BuildPage(c.pageBefore);
    if (c.cancelled) rig.model.OnLeftButtonDown({800, 615});
    rig.services.calls.clear();
    rig.pages.clear();
    if (c.command != 0) {
      EXPECT_TRUE(rig.shell.OnTrayCommand(c.command)) << c.name;
    } else {
      rig.shell.OnTrayClick(c.click);
    }
    EXPECT_EQ(rig.services.calls, c.calls) << c.name;
    EXPECT_EQ(rig.pages, c.pages) << c.name;
    EXPECT_FALSE(rig.model.restoreRedrawPending) << c.name;
    // A window the user opens before the start-up's hiding paints stays open.
    EXPECT_EQ(rig.model.OnNcPaint(), c.calls.back() != "SHOW") << c.name;
  }
}

TEST(TrayTest, RedrawAfterCancelRereadsTheSkinSettings) {
  Rig rig;
  rig.shell.Initialize(1033);
  WriteSkinSettings(rig.dir.File("str.ini"), "Blue", 7);
  rig.model.OnLeftButtonDown({800, 615});
  rig.shell.OnTrayClick(TrayClick::kLeft);
  EXPECT_EQ(rig.model.skin.textColor.red, 7);
}

// Cancel goes back to the pane texts of the last Apply whichever page was
// shown, also when a file could not take them: the user is told which, and
// of nothing else.
TEST(TrayTest, PanesAfterCancelAreThoseOfTheLastApply) {
  const std::string textsNotSaved = "MESSAGE The button names could not be saved in:\n";
  const std::string writeFailed = "MESSAGE Error Code is: ";
  const std::string configGone = "MESSAGE Config file is not exist. | Vortal";
  struct Case {
    const char* name;
    int page;
    const char* blocked;  // the file a folder stands in for, or "" for none
    bool gone;            // the file is deleted instead
    std::string told;     // the start of the one message
  } cases[] = {
      {"basic page", kBasicPage, "", false, ""},
      {"advanced page", kAdvancedPage, "", false, ""},
      {"str.ini not writable", kBasicPage, "str.ini", false, textsNotSaved},
      {"config.bin not writable", kBasicPage, "config.bin", false, writeFailed},
      {"config.bin deleted after start", kAdvancedPage, "config.bin", true, configGone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.shell.Initialize(1033);
    if (*c.blocked) {
      std::filesystem::remove(rig.dir.File(c.blocked));
      if (!c.gone) std::filesystem::create_directory(rig.dir.File(c.blocked));
    }
    rig.model.skin.paneText[1][3] = "Applied";
    rig.services.calls.clear();
    rig.model.OnLeftButtonDown({700, 615});  // Apply
    for (const std::string& told : {textsNotSaved, writeFailed, configGone}) {
      const bool wasTold = std::any_of(rig.services.calls.begin(), rig.services.calls.end(),
                                       [&](const std::string& call) { return call.starts_with(told); });
      EXPECT_EQ(wasTold, told == c.told) << told;
    }

    rig.model.BuildPage(c.page);
    rig.model.skin.paneText[1][3] = "Edited";
    rig.model.skin.paneText[0][0] = "Edited";
    rig.model.OnLeftButtonDown({800, 615});  // Cancel
    rig.shell.OnTrayClick(TrayClick::kLeft);
    EXPECT_EQ(rig.model.skin.paneText[1][3], "Applied");
    EXPECT_EQ(rig.model.skin.paneText[0][0], "");
  }
}

// The tick shows what the shortcut is; choosing it turns it to the other
// state, and a shortcut that cannot be changed is told and keeps its tick.
TEST(TrayTest, StartWithWindowsTick) {
  const std::string notChanged = "MESSAGE The shortcut in the Startup folder could not be changed. | Vortal";
  struct Case {
    const char* name;
    bool startsBefore, writable;
    std::vector<std::string> calls;
    const char* menuAfter;  // the item as the next menu shows it
  } cases[] = {
      {"ticked", false, true, {"LOG_ON_START on"}, "Start with Windows [ticked]"},
      {"unticked", true, true, {"LOG_ON_START off"}, "Start with Windows"},
      {"Startup folder not writable", false, false, {"LOG_ON_START on", notChanged}, "Start with Windows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.shell.Initialize(1033);
    rig.services.startsAtLogOn = c.startsBefore;
    rig.services.shortcutWritable = c.writable;
    rig.services.calls.clear();
    EXPECT_TRUE(rig.shell.OnTrayCommand(kTrayStartWithWindowsCommand));
    EXPECT_EQ(rig.services.calls, c.calls);
    rig.shell.OnTrayClick(TrayClick::kRight);
    EXPECT_NE(rig.services.calls.back().find(std::string("|") + c.menuAfter + "|Exit"), std::string::npos)
        << rig.services.calls.back();
  }
}

TEST(DeviceChangeTest, OnlyTheMouseInterfaceRunsDiscovery) {
  const std::string mouse = "\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&1";
  const std::string warning =
      "BALLOON The system did not detect the gaming mouse! | Warning | info | 100";
  struct Case {
    const char* name;
    DeviceChange change;
    std::string interfaceName;
    bool pluggedAfter;
    bool discovery;
    std::vector<std::string> calls;
    bool presentAfter;
    std::string problem = {};
  };
  const std::vector<Case> cases = {
      {"unrelated removal", DeviceChange::kRemoval, "\\\\?\\HID#VID_046D&PID_C077#7&2", false,
       false, {}, true},
      {"mouse unplugged", DeviceChange::kRemoval, mouse, false, true,
       {warning, "HIDE", "EVENT_PORT"}, false},
      {"plugged in but not opened", DeviceChange::kArrival, mouse, false, true,
       {"MESSAGE Cannot open /dev/hidraw5: Permission denied. | Vortal", warning, "HIDE", "EVENT_PORT"},
       false, "Cannot open /dev/hidraw5: Permission denied."},
      {"one of its interfaces removed", DeviceChange::kRemoval,
       "\\\\?\\HID#Vid_04d9&Pid_a09f&MI_00#7&1", true, true, {}, true},
      {"arrival after the page was built", DeviceChange::kArrival, mouse, true, true, {}, true},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.shell.Initialize(1033);
    rig.backend.plugged = c.pluggedAfter;
    rig.backend.problem = c.problem;
    const int finds = rig.backend.findCalls;
    rig.services.calls.clear();
    rig.shell.OnDeviceChange(c.change, c.interfaceName);
    EXPECT_EQ(rig.backend.findCalls - finds, c.discovery ? 1 : 0) << c.name;
    EXPECT_EQ(rig.services.calls, c.calls) << c.name;
    EXPECT_EQ(rig.link.devicePresent, c.presentAfter) << c.name;
    EXPECT_EQ(rig.link.Attached(), c.presentAfter) << c.name;
  }
}

TEST(DeviceChangeTest, ArrivalAfterStartingWithoutTheMouseHandshakesAndStartsTheListener) {
  Rig rig(false);
  rig.shell.Initialize(1033);
  rig.backend.plugged = true;
  rig.backend.trace->lines.clear();
  rig.services.calls.clear();
  rig.shell.OnDeviceChange(DeviceChange::kArrival,
                           "\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&1");
  EXPECT_TRUE(rig.link.devicePresent);
  EXPECT_EQ(rig.services.calls, std::vector<std::string>{"RESUME_LISTENER"});
  // The sensor settings were asked for (0x83 with bit 7: a reply is expected).
  EXPECT_FALSE(rig.backend.trace->lines.empty());
}

TEST(TrayBalloonTest, BalloonsForTheMouseEvents) {
  const std::string stage2 = "Switch DPI into the second stage " + DpiLabel(0, 5);
  struct Case {
    std::int64_t event;
    std::int64_t value;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {5, 1, {"BALLOON Switch report rate into 1000HZ | Info | info | 5000"}},
      {5, 8, {"BALLOON Switch report rate into 125HZ | Info | info | 5000"}},
      {5, 3, {}},
      {7, 2, {"BALLOON " + stage2 + " | Info | info | 5000"}},
      {7, 5, {}},
      {8, 2, {"BALLOON Switch to key matrix 2 | Info | info | 5000"}},
      {9, 0, {}},
      {9, 12, {"BALLOON Switch to macro key12 | Info | info | 5000"}},
      {15, 3, {"BALLOON The system did not detect the gaming mouse! | Warning | info | 100"}},
      {6, 1, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.shell.Initialize(1033);
    const SettingsRecord before = rig.settings.working;
    rig.services.calls.clear();
    rig.shell.OnDeviceEvent(c.event, c.value);
    EXPECT_EQ(rig.services.calls, c.calls) << c.event << "/" << c.value;
    EXPECT_EQ(std::memcmp(&before, &rig.settings.working, kSettingsRecordSize), 0);
  }
  EXPECT_FALSE(DpiLabel(0, 5).empty());
}

TEST(ShellTest, CloseHidesAndExitCleansUpFirst) {
  Rig rig;
  rig.shell.Initialize(1033);
  rig.services.calls.clear();
  rig.shell.OnClose();
  EXPECT_EQ(rig.services.calls, std::vector<std::string>{"HIDE"});
  rig.services.calls.clear();
  EXPECT_TRUE(rig.shell.OnTrayCommand(kTrayExitCommand));
  EXPECT_EQ(rig.services.calls,
            (std::vector<std::string>{"CLOSE_LISTENER", "TRAY_REMOVE", "EXIT 0"}));
  EXPECT_FALSE(rig.link.Attached());
}

}  // namespace
}  // namespace vortal
