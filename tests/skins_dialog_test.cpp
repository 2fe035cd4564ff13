#include "ui/dialogs/skins_dialog.h"
#include "ui/window/skin_change.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "support/fake_hosts.h"
#include "support/main_window_rig.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kHeader{100, 130};
constexpr Point kSample{60, 100};
constexpr Point kOk{200, 260};
constexpr Point kCancel{300, 260};

// A program folder with the skins "Default" and "Light" and a stray file.
struct SkinsFolder {
  testing::TempDir dir;
  std::string programDir = dir.File("");
  std::string root = SkinsRoot(programDir);
  SkinsFolder() {
    for (const char* skin : {"Default", "Light"}) std::filesystem::create_directories(root + "/" + skin);
    testing::WriteWhole(root + "/readme.txt", "not a skin");
  }
  CSkinsDialog Dialog(std::string name = "Default", Color color = {10, 20, 30}) const {
    return CSkinsDialog({root + "/Default", color, Language::kEnglish}, root, std::move(name));
  }
};

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

int IndexOf(const std::vector<std::string>& items, const std::string& name) {
  auto it = std::find(items.begin(), items.end(), name);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

TEST(SkinsDialogTest, ListShowsTheSkinFoldersAsTheSearchReturnsThem) {
  SkinsFolder skins;
  CSkinsDialog dialog = skins.Dialog();
  FakeSubDialogHost host;
  ASSERT_TRUE(dialog.Initialize(host));
  EXPECT_EQ(host.calls.front(), "BACKGROUND " + skins.root + "/Default/skins.png");

  dialog.OnLeftButtonDown(kHeader);
  ASSERT_EQ(host.lists.count(kSkinListId), 1u);
  EXPECT_EQ(host.lists[kSkinListId], ListSubfolders(skins.root));
  EXPECT_EQ(Sorted(host.lists[kSkinListId]), (std::vector<std::string>{"Default", "Light"}));
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "CREATE_LIST 562 42,146,151,266"), 1);
  // The header closes it again.
  dialog.OnLeftButtonDown(kHeader);
  EXPECT_EQ(host.lists.count(kSkinListId), 0u);
}

TEST(SkinsDialogTest, FolderMatchIgnoresAsciiLetterCase) {
  SkinsFolder skins;
  struct Case {
    const char* name;
    std::optional<std::string> folder;
  };
  const std::vector<Case> cases = {
      {"Light", skins.root + "\\Light"},
      {"LIGHT", skins.root + "\\Light"},
      {"light", skins.root + "\\Light"},
      {"Ligh", std::nullopt},
      {"readme.txt", std::nullopt},
      {"", std::nullopt},
      {"Lıght", std::nullopt},  // a dotless i is no ASCII letter
  };
  for (const Case& c : cases) EXPECT_EQ(FindSkinFolder(skins.root, c.name), c.folder) << c.name;
  EXPECT_EQ(FindSkinFolder(skins.dir.File("missing"), "Light"), std::nullopt);
}

TEST(SkinsDialogTest, FoldersDifferingOnlyInCaseResolveToTheSearchsFirst) {
  SkinsFolder skins;
  std::filesystem::create_directories(skins.root + "/LIGHT");
  if (ListSubfolders(skins.root).size() != 3) {
    GTEST_SKIP() << "folder names ignore letter case here";
  }
  std::string first;
  for (const std::string& folder : ListSubfolders(skins.root)) {
    if (folder == "Light" || folder == "LIGHT") {
      first = folder;
      break;
    }
  }
  for (const char* chosen : {"Light", "LIGHT"}) {
    CSkinsDialog dialog = skins.Dialog();
    FakeSubDialogHost host;
    dialog.Initialize(host);
    dialog.OnLeftButtonDown(kHeader);
    const int index = IndexOf(host.lists[kSkinListId], chosen);
    ASSERT_GE(index, 0);
    dialog.OnListChoice(index);
    EXPECT_EQ(dialog.skinName(), chosen);
    EXPECT_EQ(dialog.folderPath(), skins.root + "\\" + first) << chosen;
  }
}

TEST(SkinsDialogTest, ChoosingASkinShowsItsNameAndClosesTheList) {
  SkinsFolder skins;
  CSkinsDialog dialog = skins.Dialog();
  FakeSubDialogHost host;
  dialog.Initialize(host);
  dialog.OnLeftButtonDown(kHeader);
  const int light = IndexOf(host.lists[kSkinListId], "Light");
  host.calls.clear();
  dialog.OnListChoice(light);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"INVALIDATE 42,128,151,144",
                                                  "DESTROY_LIST 562", "EDITS on"}));
  EXPECT_FALSE(dialog.listOpen());
  EXPECT_EQ(dialog.skinName(), "Light");
  EXPECT_EQ(dialog.folderPath(), skins.root + "\\Light");

  host.redraws.clear();
  dialog.Paint();
  const std::vector<std::string>& drawn = host.redraws.back();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "TEXT left Light 45,129,135,143"), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(),
                      "TEXT center Please click to set the UI text color 2,64,191,94"),
            drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "FILL 42,94,151,110 #0A141E"), drawn.end());
}

TEST(SkinsDialogTest, AFolderGoneBeforeItIsChosenKeepsTheFolderPath) {
  SkinsFolder skins;
  CSkinsDialog dialog = skins.Dialog();
  FakeSubDialogHost host;
  dialog.Initialize(host);
  dialog.OnLeftButtonDown(kHeader);
  const int light = IndexOf(host.lists[kSkinListId], "Light");
  std::filesystem::remove_all(skins.root + "/Light");
  dialog.OnListChoice(light);
  EXPECT_EQ(dialog.skinName(), "Light");
  EXPECT_EQ(dialog.folderPath(), skins.root + "/Default");
}

TEST(SkinsDialogTest, ColourSampleOpensTheColourDialog) {
  struct Case {
    const char* name;
    Point click;
    std::optional<Color> chosen;
    Color color;
    bool asked;
  };
  const std::vector<Case> cases = {
      {"chosen", kSample, Color{1, 2, 3}, {1, 2, 3}, true},
      {"cancelled", kSample, std::nullopt, {10, 20, 30}, true},
      {"sample's corner", {150, 109}, Color{4, 5, 6}, {4, 5, 6}, true},
      {"below the sample", {60, 110}, Color{4, 5, 6}, {10, 20, 30}, false},
  };
  for (const Case& c : cases) {
    SkinsFolder skins;
    CSkinsDialog dialog = skins.Dialog();
    FakeSubDialogHost host;
    host.chosenColor = c.chosen;
    dialog.Initialize(host);
    dialog.OnLeftButtonDown(c.click);
    EXPECT_EQ(dialog.color(), c.color) << c.name;
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "CHOOSE_COLOR"), c.asked ? 1 : 0)
        << c.name;
    const bool repainted = std::count(host.calls.begin(), host.calls.end(),
                                      "INVALIDATE 42,94,151,110") == 1;
    EXPECT_EQ(repainted, c.asked && c.chosen.has_value()) << c.name;
  }
}

TEST(SkinsDialogTest, WheelScrollsTheOpenListThreeLines) {
  SkinsFolder skins;
  CSkinsDialog dialog = skins.Dialog();
  testing::FakeSubDialogHost host;
  ASSERT_TRUE(host.Open(dialog));
  dialog.OnMouseWheel(120);  // no list yet
  EXPECT_TRUE(host.scrolls.empty());
  dialog.OnLeftButtonDown(kHeader);
  dialog.OnMouseWheel(120);
  dialog.OnMouseWheel(-240);
  EXPECT_EQ(host.scrolls, (std::vector<std::pair<int, int>>{{kSkinListId, -3}, {kSkinListId, 3}}));
  dialog.OnLeftButtonDown(kHeader);  // closed again
  dialog.OnMouseWheel(-120);
  EXPECT_EQ(host.scrolls.size(), 2u);
}

TEST(SkinsDialogTest, HintFollowsTheLanguage) {
  EXPECT_EQ(SkinsHintText(Language::kSimplifiedChinese), "请点击设置UI文本颜色");
  EXPECT_EQ(SkinsHintText(Language::kTraditionalChinese), "請點擊設置UI文本顏色");
  EXPECT_EQ(SkinsHintText(Language::kEnglish), "Please click to set the UI text color");
}

TEST(SkinsDialogTest, MissingBackgroundIsToldAndEndsTheDialog) {
  SkinsFolder skins;
  CSkinsDialog dialog = skins.Dialog();
  FakeSubDialogHost host;
  host.backgroundLoads = false;
  EXPECT_FALSE(dialog.Initialize(host));
  EXPECT_EQ(host.messages, (std::vector<std::pair<std::string, std::string>>{
                               {"error", "Skins Dialog Load background image failed!!!"}}));
  EXPECT_EQ(host.ended, (std::vector<DialogResult>{DialogResult::kCancel}));
}

// The window with a page that writes down its builds, and the skins folder
// beside the program.
struct ChangeRig : testing::MainWindowRig {
  std::string root = SkinsRoot(dir.File(""));
  std::vector<std::string> log;
  testing::LoggingPage basic{log, "basic", true};
  testing::LoggingPage advanced{log, "advanced", true};

  ChangeRig() {
    for (const char* skin : {"Default", "Light", "Bare"}) std::filesystem::create_directories(root + "/" + skin);
    dir.Write("str.ini", "[Skins]\r\nPath=Default\r\nRColor=255\r\nGColor=255\r\nBColor=255\r\n");
    model.skin.skinFolderPath = SkinFolderAtStartup(dir.File(""), "Default");
    model.skin.skinName = "Default";
    model.skin.textColor = {255, 255, 255};
    model.SetPage(kBasicPage, &basic);
    model.SetPage(kAdvancedPage, &advanced);
  }
  // The user opens the list, picks `skin` (if any), picks a colour (if any)
  // and ends with `end`.
  void User(std::optional<std::string> skin, std::optional<Color> color, Point end) {
    services.runDialog = [=, this](SubDialogFrame& frame) {
      FakeSubDialogHost host;
      host.chosenColor = color;
      if (!frame.Initialize(host)) return DialogResult::kCancel;
      if (skin) {
        frame.OnLeftButtonDown(kHeader);
        frame.OnListChoice(IndexOf(host.lists[kSkinListId], *skin));
      }
      if (color) frame.OnLeftButtonDown(kSample);
      frame.OnLeftButtonDown(end);
      dialogHost = host.calls;
      return frame.result();
    };
  }
  std::vector<std::string> dialogHost;
};

TEST(SkinsDialogTest, OkTakesTheSkinStoresItAndRebuildsThePage) {
  ChangeRig rig;
  rig.model.ShowPage(kAdvancedPage);
  rig.log.clear();
  rig.services.calls.clear();
  rig.User("Light", Color{0, 128, 255}, kOk);
  ChangeSkin(rig.model);

  EXPECT_EQ(rig.model.skin.skinFolderPath, rig.root + "\\Light");
  EXPECT_EQ(rig.model.skin.skinName, "Light");
  EXPECT_EQ(rig.model.skin.textColor, (TextColor{0, 128, 255}));
  const SkinSettingsValues stored = LoadSkinSettings(rig.dir.File("str.ini"), "Setting-EN");
  EXPECT_EQ(stored.path, "Light");
  EXPECT_EQ(stored.red, "0");
  EXPECT_EQ(stored.green, "128");
  EXPECT_EQ(stored.blue, "255");
  // The page's controls go and it is drawn again, then the window comes up.
  EXPECT_EQ(rig.log, (std::vector<std::string>{"teardown advanced", "teardown basic", "build advanced"}));
  EXPECT_EQ(rig.model.currentPage(), kAdvancedPage);
  EXPECT_EQ(std::vector<std::string>(rig.services.calls.end() - 2, rig.services.calls.end()),
            (std::vector<std::string>{"FOREGROUND", "SHOW"}));
  // The dialog was drawn from the skin in use when it opened.
  EXPECT_EQ(rig.dialogHost.front(), "BACKGROUND " + rig.model.files().programDir + "/Skins/Default/skins.png");
}

TEST(SkinsDialogTest, OkOnTheBasicPageRebuildsTheBasicPage) {
  ChangeRig rig;
  rig.model.ShowPage(kBasicPage);
  rig.log.clear();
  rig.User("Bare", std::nullopt, kOk);
  ChangeSkin(rig.model);
  EXPECT_EQ(rig.log, (std::vector<std::string>{"teardown basic", "teardown advanced", "build basic"}));
  // A folder without skins.png is taken as any other.
  EXPECT_EQ(rig.model.skin.skinFolderPath, rig.root + "\\Bare");
}

TEST(SkinsDialogTest, OkWithoutAChoiceKeepsTheSkinAndTakesTheColour) {
  ChangeRig rig;
  rig.model.ShowPage(kBasicPage);
  const std::string folder = rig.model.skin.skinFolderPath;
  rig.User(std::nullopt, Color{9, 8, 7}, kOk);
  ChangeSkin(rig.model);
  EXPECT_EQ(rig.model.skin.skinFolderPath, folder);
  EXPECT_EQ(rig.model.skin.skinName, "Default");
  EXPECT_EQ(rig.model.skin.textColor, (TextColor{9, 8, 7}));
  const SkinSettingsValues stored = LoadSkinSettings(rig.dir.File("str.ini"), "Setting-EN");
  EXPECT_EQ(stored.path, "Default");
  EXPECT_EQ(stored.red, "9");
}

TEST(SkinsDialogTest, AnyOtherEndChangesNothing) {
  struct Case {
    const char* name;
    Point end;
    bool loads;
  };
  const std::vector<Case> cases = {
      {"Cancel", kCancel, true},
      {"close", {360, 10}, true},
      {"OK and Cancel's shared column", {270, 260}, true},
      {"no background", kOk, false},
  };
  for (const Case& c : cases) {
    ChangeRig rig;
    rig.model.ShowPage(kAdvancedPage);
    const SkinState before = rig.model.skin;
    const std::string ini = rig.dir.Read("str.ini");
    rig.log.clear();
    rig.services.calls.clear();
    rig.User("Light", Color{1, 1, 1}, c.end);
    if (!c.loads) {
      rig.services.runDialog = [](SubDialogFrame& frame) {
        FakeSubDialogHost host;
        host.backgroundLoads = false;
        frame.Initialize(host);
        return frame.result();
      };
    }
    ChangeSkin(rig.model);
    EXPECT_EQ(rig.model.skin.skinFolderPath, before.skinFolderPath) << c.name;
    EXPECT_EQ(rig.model.skin.skinName, before.skinName) << c.name;
    EXPECT_EQ(rig.model.skin.textColor, before.textColor) << c.name;
    EXPECT_EQ(rig.dir.Read("str.ini"), ini) << c.name;
    EXPECT_TRUE(rig.log.empty()) << c.name;
    EXPECT_EQ(rig.services.calls, (std::vector<std::string>{"SUB_DIALOG"})) << c.name;
  }
}

TEST(SkinsDialogTest, AChoiceThatCannotBeStoredIsToldAndStillUsed) {
  ChangeRig rig;
  rig.model.ShowPage(kBasicPage);
  // str.ini is a folder: nothing can be written there.
  std::filesystem::remove(rig.dir.File("str.ini"));
  std::filesystem::create_directories(rig.dir.File("str.ini"));
  rig.User("Light", std::nullopt, kOk);
  ChangeSkin(rig.model);
  EXPECT_EQ(rig.model.skin.skinName, "Light");
  EXPECT_EQ(rig.services.messages,
            (std::vector<std::pair<std::string, std::string>>{
                {"The skin choice could not be saved in str.ini.", "Warning"}}));
}

}  // namespace
}  // namespace vortal
