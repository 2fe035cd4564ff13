#include "ui/window/settings_profiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "assign/assignment_choices.h"
#include "edit/setting_text.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "settings/delivered_settings.h"
#include "setup/button_action.h"
#include "support/fake_pointer_system.h"
#include "support/main_window_rig.h"
#include "ui/window/advanced_page.h"
#include "ui/window/macro_editor_page.h"
#include "ui/window/startup.h"
#include "vortal_version.h"

namespace vortal {
namespace {

// The window as the program puts it together: a delivered config.bin, the
// advanced page with its macro editor, the shell's tray menu.
struct Rig : testing::MainWindowRig {
  testing::FakePointerSystem system;
  MacroEditorPage editor{model, model.files().macroStore};
  AdvancedPageHalfOf<MacroEditorPage> half{editor};
  AdvancedPage advanced{model, system, &half};
  testing::LoggingPage basic;
  MainWindowShell shell{model};

  explicit Rig(std::uint32_t langId = 1033) {
    dir.Write("config.bin", DeliveredSettingsFile());
    model.SetPage(kBasicPage, &basic);
    model.SetPage(kAdvancedPage, &advanced);
    shell.profiles().afterImport = [this] { advanced.KeepRecordPointerValues(); };
    shell.Initialize(langId);
    // What the basic page's first showing gives a delivered config.bin.
    SetDefaultPaneTexts(model.skin.paneText, model.texts, kDeviceButtons);
  }
  std::string record() const { return model.files().macroStore; }
  void Set(const std::string& name, const std::string& value) {
    WorkingSetup setup{settings.working, model.skin.paneText};
    const SettingContext context{model.texts, std::nullopt, ListMacroNames(record())};
    ASSERT_EQ(ChangeSetting(setup, name, SplitWords(value), context), "") << name;
    settings.working = setup.record;
    model.skin.paneText = setup.panes;
  }
  bool Chosen(int command, std::optional<std::string> path) {
    services.chosenFiles = {std::move(path)};
    services.calls.clear();
    return shell.OnTrayCommand(command);
  }
};

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(SettingsProfilesTest, TrayMenuFileDialogsAndAboutSpeakTheWindowsLanguage) {
  struct Case {
    std::uint32_t langId;
    std::vector<std::string> items;
    std::vector<std::string> titles;  // Save As, Open
    std::string licence;              // the About box's second line
  } cases[] = {
      {1033, {"Open", "Export settings...", "Import settings...", "About Vortal", "Start with Windows", "Exit", "Profiles",
        "Default setup", "Switch automatically", "Show a balloon on each switch", "Save as profile..."},
       {"Export Settings", "Import Settings"}, "Released under the MIT License."},
      {2052, {"打开", "导出设置...", "导入设置...", "关于 Vortal", "开机时启动", "退出", "配置文件", "默认设置", "自动切换",
        "切换时显示提示", "另存为配置文件..."}, {"导出设置", "导入设置"},
       "依据 MIT 许可证发布。"},
      {1028, {"打開", "匯出設定...", "匯入設定...", "關於 Vortal", "開機時啟動", "退出", "設定檔", "預設設定", "自動切換",
        "切換時顯示提示", "另存為設定檔..."}, {"匯出設定", "匯入設定"},
       "依據 MIT 授權條款發佈。"},
  };
  for (const Case& c : cases) {
    Rig rig(c.langId);
    rig.shell.OnTrayClick(TrayClick::kRight);
    EXPECT_EQ(rig.services.trayMenu, (std::vector<TrayMenuItem>{{kTrayOpenCommand, c.items[0], false, {}, true},
                                                                 {kTrayExportCommand, c.items[1]},
                                                                 {kTraySaveAsProfileCommand, c.items[10]},
                                                                 {kTrayImportCommand, c.items[2]},
                                                                 {0, c.items[6], false,
                                                                  {{kTrayDefaultSetupCommand, c.items[7], true},
                                                                   {kTraySwitchAutomaticallyCommand, c.items[8]},
                                                                   {kTraySwitchBalloonsCommand, c.items[9], true}}},
                                                                 {kTrayAboutCommand, c.items[3]},
                                                                 {kTrayStartWithWindowsCommand, c.items[4]},
                                                                 {kTrayExitCommand, c.items[5]}}));
    rig.Chosen(kTrayExportCommand, std::nullopt);
    rig.Chosen(kTrayImportCommand, std::nullopt);
    std::vector<std::string> titles;
    for (const FileDialogRequest& r : rig.services.fileRequests) {
      titles.push_back(r.title);
      EXPECT_EQ(r.pattern + " " + r.defaultExtension, "*.ini ini");
    }
    EXPECT_EQ(titles, c.titles) << c.langId;
    EXPECT_EQ(rig.services.fileRequests[0].kind, FileDialogKind::kSaveAs);
    // About: one box, nothing else happens; no address line while there is
    // no address.
    rig.services.messages.clear();
    EXPECT_TRUE(rig.Chosen(kTrayAboutCommand, std::nullopt));
    const std::string web =
        kVortalWebAddress.empty() ? "" : "\n\n" + std::string(kVortalWebAddress);
    EXPECT_EQ(rig.services.messages,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Vortal " + std::string(kVortalVersion) + "\n\n" + c.licence + web, c.items[3]}}));
    EXPECT_EQ(rig.services.calls.size(), 1u);
  }
  Rig rig;
  EXPECT_FALSE(rig.shell.OnTrayCommand(1));  // Enter on the window is no menu command
}

TEST(SettingsProfilesTest, ExportedSetupComesBackInAnotherWindowAndWaitsForApply) {
  Rig from;
  ASSERT_TRUE(WriteMacro(from.record(), "Jump", {"Space   Dn", "20 ms", "Space   Up"}));
  from.Set("rate", "250");
  from.Set("pointer.speed", "3");
  from.Set("pointer.double-click", "4");
  from.Set("mode-b.button2", "Macro Key macro=Jump");
  const std::string path = from.dir.File("p.ini");
  from.Chosen(kTrayExportCommand, path);
  // What the import gives back: the slot encoded, playing once.
  EncodeMacros(from.record(), from.settings.working);
  SetSlotLoopCount(from.settings.working, 0, 1);

  Rig to;
  const std::string stored = to.dir.Read("config.bin");
  const std::size_t traffic = to.backend.trace->lines.size();
  const int builds = to.basic.builds;
  EXPECT_TRUE(to.Chosen(kTrayImportCommand, path));
  EXPECT_TRUE(to.services.messages.empty());
  EXPECT_TRUE(SameRecord(to.settings.working, from.settings.working));
  EXPECT_EQ(to.model.skin.paneText, from.model.skin.paneText);
  // The page shown is drawn again and the window opens on it; nothing more.
  EXPECT_EQ(to.basic.builds, builds + 1);
  EXPECT_EQ(to.services.calls.back(), "SHOW");
  EXPECT_EQ(to.dir.Read("config.bin"), stored);
  EXPECT_EQ(to.backend.trace->lines.size(), traffic);
  // The pointer steps are the profile's, not the system's read again.
  to.model.ShowPage(kAdvancedPage);
  EXPECT_TRUE(to.system.reads.empty());
  // An import over the macro editor shown lists record.ini's macros anew.
  testing::WriteWhole(to.record(), "[Fire]\r\nItemCount=1\r\nItem0=A   Dn\r\n");
  to.model.BuildPage(kBasicPage);
  to.model.BuildPage(kAdvancedPage);
  to.Chosen(kTrayImportCommand, path);
  EXPECT_EQ(to.services.controls.Items(kMacroNamesListId), std::vector<std::string>{"Jump"});

  EXPECT_TRUE(to.model.ApplySettings());
  EXPECT_GT(to.backend.trace->lines.size(), traffic);
  EXPECT_NE(to.dir.Read("config.bin"), stored);
}

TEST(SettingsProfilesTest, RefusedOrCancelledChangesNothing) {
  struct Case {
    int command;
    std::optional<std::string> chosen;  // under the rig's folder; nothing: cancelled
    const char* file;                   // p.ini; null: a profile exported first
    const char* told;                   // in the message; empty: no message
  } cases[] = {
      {kTrayImportCommand, std::nullopt, nullptr, ""},
      {kTrayExportCommand, std::nullopt, nullptr, ""},
      {kTrayImportCommand, "p.ini", "[Profile]\nFormat=1\n[Settings]\nrate=500\nrate2=1\n",
       "p.ini, line 5: \"rate2\" is no setting"},
      {kTrayImportCommand, "p.ini", "[Profile]\nFormat=1\n[Settings]\nrate=500\n[Macro1]\nName=A\nEvents=A Dn, A Up\n",
       "record.ini cannot be written"},
      {kTrayExportCommand, "no/such/p.ini", nullptr, "The settings could not be exported to:\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told);
    Rig rig;
    rig.Chosen(kTrayExportCommand, rig.dir.File("p.ini"));
    if (c.file) rig.dir.Write("p.ini", c.file);
    // record.ini as a folder: it cannot be replaced.
    if (std::string(c.told).find("record.ini") != std::string::npos)
      std::filesystem::create_directory(rig.record());
    const SettingsRecord before = rig.settings.working;
    const PaneTexts panes = rig.model.skin.paneText;
    const int builds = rig.basic.builds;
    std::optional<std::string> chosen;
    if (c.chosen) chosen = rig.dir.File(*c.chosen);
    EXPECT_TRUE(rig.Chosen(c.command, chosen));
    if (*c.told == '\0') {
      EXPECT_TRUE(rig.services.messages.empty());
    } else {
      ASSERT_EQ(rig.services.messages.size(), 1u);
      EXPECT_NE(rig.services.messages[0].first.find(c.told), std::string::npos)
          << rig.services.messages[0].first;
      EXPECT_EQ(rig.services.messages[0].second, kAppCaption);
    }
    EXPECT_TRUE(SameRecord(rig.settings.working, before));
    EXPECT_EQ(rig.model.skin.paneText, panes);
    EXPECT_EQ(rig.basic.builds, builds);
    for (const std::string& call : rig.services.calls) EXPECT_NE(call, "SHOW");
  }
}

}  // namespace
}  // namespace vortal
