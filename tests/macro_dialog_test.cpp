#include "ui/dialogs/macro_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_hosts.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kField{145, 135};
const SubDialogLook kLook{"/skins/Default", {10, 20, 30}, Language::kEnglish};

void WriteRecord(const std::string& path, const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += "[" + name + "]\r\nItemCount=0\r\n";
  testing::WriteWhole(path, text);
}

TEST(MacroDialog, ListsTheStoredMacrosAndReturnsThePosition) {
  struct Case {
    const char* name;
    std::vector<std::string> macros;  // empty: no record.ini
    int choice;                       // -1: none
    int position;
    std::string chosen;
    std::string told;  // OK refused with this message; empty: OK ends the dialog
  };
  const std::vector<Case> cases = {
      {"no file", {}, -1, 0, "", "There is no macro yet: record one under Advanced Settings first."},
      {"Gamma", {"Alpha", "Beta", "Gamma"}, 2, 2, "Gamma", ""},
      {"Alpha", {"Alpha", "Beta", "Gamma"}, 0, 0, "Alpha", ""},
      {"none chosen", {"Alpha", "Beta"}, -1, 0, "", "Choose a macro from the list first."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    const std::string record = dir.File("record.ini");
    if (!c.macros.empty()) WriteRecord(record, c.macros);
    FakeSubDialogHost host;
    CMacroDialog dialog(kLook, record);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.controls.children.at(kMacroNameFieldId).box, (Rect{43, 129, 136, 143}));
    dialog.OnLeftButtonDown(kField);
    ASSERT_TRUE(host.ListExists(kMacroListId));
    EXPECT_EQ(host.listAreas.at(kMacroListId), (Rect{43, 146, 151, 285}));
    EXPECT_EQ(host.lists.at(kMacroListId), c.macros);
    if (c.choice >= 0) {
      dialog.OnListChoice(c.choice);
      EXPECT_FALSE(host.ListExists(kMacroListId));
    }
    EXPECT_EQ(host.Text(kMacroNameFieldId), c.chosen);
    dialog.OnLeftButtonDown(kOk);
    if (!c.told.empty()) {
      EXPECT_TRUE(host.ended.empty());
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].first, c.told);
      continue;
    }
    EXPECT_EQ(host.ended, std::vector<DialogResult>{DialogResult::kOk});
    EXPECT_EQ(dialog.chosenPosition(), c.position);
    EXPECT_EQ(dialog.chosenName(), c.chosen);
    EXPECT_EQ(dialog.repeatMode(), 1);
  }
}

TEST(MacroDialog, RepeatModeFollowsTheClickedBox) {
  struct Case {
    std::vector<Point> clicks;
    int mode;
  };
  const std::vector<Case> cases = {
      {{}, 1},
      {{{228, 186}}, 3},
      {{{220, 128}}, 2},
      {{{235, 93}}, 1},
      {{{228, 186}, {228, 86}}, 1},
      {{{236, 186}}, 1},   // right edge: outside the box
      {{{300, 186}}, 1},   // the text is not a box
      {{{228, 136}, {228, 160}}, 2},
  };
  for (const Case& c : cases) {
    FakeSubDialogHost host;
    CMacroDialog dialog(kLook, "");
    ASSERT_TRUE(host.Open(dialog));
    for (Point p : c.clicks) dialog.OnLeftButtonDown(p);
    EXPECT_EQ(dialog.repeatMode(), c.mode);
    dialog.Paint();
    const auto& drawn = host.redraws.back();
    for (int mode = 1; mode <= 3; ++mode) {
      const Point at = kRepeatModes[mode - 1].box.TopLeft();
      const std::string image = mode == c.mode ? "/PaneMakingTick.png" : "/Pane.png";
      const std::string line =
          "IMAGE " + image + " " + std::to_string(at.x) + "," + std::to_string(at.y);
      EXPECT_NE(std::find(drawn.begin(), drawn.end(), line), drawn.end()) << line;
    }
  }
}

TEST(MacroDialog, AClickBesideTheOpenListClosesItAndStillActs) {
  testing::TempDir dir;
  WriteRecord(dir.File("record.ini"), {"Alpha"});
  FakeSubDialogHost host;
  CMacroDialog dialog(kLook, dir.File("record.ini"));
  ASSERT_TRUE(host.Open(dialog));
  dialog.OnLeftButtonDown(kField);
  ASSERT_TRUE(dialog.listOpen());
  dialog.OnLeftButtonDown({228, 186});
  EXPECT_FALSE(dialog.listOpen());
  EXPECT_FALSE(host.ListExists(kMacroListId));
  EXPECT_EQ(dialog.repeatMode(), 3);
}

TEST(MacroDialog, TextsInTheSystemLanguageAndTheWheel) {
  FakeSubDialogHost host;
  CMacroDialog dialog({"/skins/Default", {10, 20, 30}, Language::kSimplifiedChinese}, "");
  ASSERT_TRUE(host.Open(dialog));
  dialog.Paint();
  const auto& drawn = host.redraws.back();
  for (const std::string line :
       {"TEXT center 请从列表框选择一个宏 13,113,181,129",
        "TEXT wrapped 重复指定次数或按任意键结束 237,70,390,102",
        "TEXT wrapped 重复直到按任意键结束 237,120,390,152",
        "TEXT wrapped 重复直到该按键松开结束 237,170,390,202"}) {
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), line), drawn.end()) << line;
  }
  dialog.OnMouseWheel(-120);
  EXPECT_TRUE(host.scrolls.empty());
  dialog.OnLeftButtonDown(kField);
  dialog.OnMouseWheel(-120);
  dialog.OnMouseWheel(240);
  EXPECT_EQ(host.scrolls, (std::vector<std::pair<int, int>>{{593, 3}, {593, -3}}));
}

}  // namespace
}  // namespace vortal
