#include "ui/dialogs/fire_key_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_hosts.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kKeyField{120, 77};
const SubDialogLook kLook{"/skins/Default", {10, 20, 30}, Language::kEnglish};

struct Rig {
  FakeSubDialogHost host;
  CFireKeyDialog dialog{kLook};
  Rig() { EXPECT_TRUE(host.Open(dialog)); }
};

TEST(FireKeyDialog, StartsFromTheButtonsFireKeyOrTheDefaults) {
  struct Case {
    const char* what;
    std::optional<std::array<int, 3>> start;  // key index, speed, times; nothing: a new fire key
    const char* key;
    int index, speed, times;
  } cases[] = {
      {"a new fire key", std::nullopt, "A", 0, 32, 1},
      {"the button's R, 20, 3 times", std::array<int, 3>{17, 20, 3}, "R", 17, 20, 3},
      {"values the mouse cannot take", std::array<int, 3>{99, 4, 256}, "A", 0, 32, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSubDialogHost host;
    CFireKeyDialog dialog{kLook};
    if (c.start) dialog.StartFrom((*c.start)[0], (*c.start)[1], (*c.start)[2]);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.Text(kFireKeyFieldId), c.key);
    EXPECT_EQ(host.Text(kFireSpeedId), std::to_string(c.speed));
    EXPECT_EQ(host.Text(kFireTimesId), std::to_string(c.times));
    EXPECT_EQ(host.controls.children.at(kFireSpeedId).kind, ChildKind::kDigitsEdit);
    EXPECT_EQ(testing::Describe(host.controls.children.at(kFireTimesId).box), "50,170,131,184");
    EXPECT_TRUE(host.hookMessages.empty());
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.keyIndex(), c.index);
    EXPECT_EQ(dialog.keyText(), c.key);
    EXPECT_EQ(dialog.speed(), c.speed);
    EXPECT_EQ(dialog.times(), c.times);
  }
}

TEST(FireKeyDialog, TimesAreCheckedOnEveryChange) {
  struct Case {
    std::string typed;
    std::string text;
    int times;
  } cases[] = {
      {"300", "1", 1}, {"", "", 0},        {"0", "0", 0},     {"255", "255", 255},
      {"256", "1", 1}, {"7", "7", 7},      {"007", "007", 7}, {"99999999999", "1", 1},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.host.controls.Type(kFireTimesId, c.typed);
    EXPECT_EQ(rig.host.Text(kFireTimesId), c.text) << c.typed;
    rig.dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(rig.dialog.times(), c.times) << c.typed;
  }
}

TEST(FireKeyDialog, TypingThreeDigitsBeyondTheRangeResetsAtTheThirdDigit) {
  Rig rig;
  std::vector<std::string> texts;
  for (const char* typed : {"3", "30", "300"}) {
    rig.host.controls.Type(kFireTimesId, typed);
    texts.push_back(rig.host.Text(kFireTimesId));
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"3", "30", "1"}));
}

TEST(FireKeyDialog, SpeedIsCheckedWhenItsFieldLosesTheFocus) {
  struct Case {
    std::string typed;
    std::string text;
    int speed;
  } cases[] = {
      {"4", "5", 5},   {"5", "5", 5},     {"255", "255", 255}, {"256", "5", 5},
      {"", "5", 5},    {"0", "5", 5},     {"100", "100", 100}, {"99999999999", "5", 5},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.host.Focus(kFireSpeedId);
    rig.host.controls.Type(kFireSpeedId, c.typed);
    EXPECT_EQ(rig.host.Text(kFireSpeedId), c.typed);  // untouched while typed
    rig.host.Focus(kFireTimesId);
    EXPECT_EQ(rig.host.Text(kFireSpeedId), c.text) << c.typed;
    rig.dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(rig.dialog.speed(), c.speed) << c.typed;
  }
}

// OK on the dialog's surface leaves the focus in the field: what is typed
// there still counts.
TEST(FireKeyDialog, OkTakesASpeedStillBeingTyped) {
  struct Case {
    std::string typed;
    int speed;
    bool refused;  // the mouse cannot take it: told, replaced, the dialog stays open
  } cases[] = {{"100", 100, false}, {"4", 5, true}};
  for (const Case& c : cases) {
    Rig rig;
    rig.host.Focus(kFireSpeedId);
    rig.host.controls.Type(kFireSpeedId, c.typed);
    rig.dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(rig.dialog.speed(), c.speed) << c.typed;
    EXPECT_EQ(rig.host.ended.empty(), c.refused) << c.typed;
    EXPECT_EQ(rig.host.messages.size(), c.refused ? 1u : 0u) << c.typed;
    if (!c.refused) continue;
    EXPECT_EQ(rig.host.messages[0].first, "The speed must be from 5 to 255 (smaller values are faster).");
    EXPECT_EQ(rig.host.Text(kFireSpeedId), "5");
    rig.dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(rig.host.ended, std::vector<DialogResult>{DialogResult::kOk});
  }
}

TEST(FireKeyDialog, ChoosingFromTheKeyList) {
  struct Case {
    int index;
    std::string text;
  } cases[] = {{0, "A"}, {39, "R-CTRL"}, {40, "R-SHIFT"}, {60, "R-Tilt Wheel"}};
  for (const Case& c : cases) {
    Rig rig;
    rig.dialog.OnLeftButtonDown(kKeyField);
    ASSERT_TRUE(rig.dialog.listOpen());
    EXPECT_EQ(rig.host.listAreas.at(kFireKeyListId), (Rect{50, 86, 132, 256}));
    ASSERT_EQ(rig.host.lists.at(kFireKeyListId).size(), 61u);
    EXPECT_EQ(rig.host.lists.at(kFireKeyListId)[c.index], c.text);
    rig.dialog.OnListChoice(c.index);
    EXPECT_EQ(rig.host.Text(kFireKeyFieldId), c.text);
    rig.dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(rig.dialog.keyIndex(), c.index);
    EXPECT_EQ(rig.dialog.keyText(), c.text);
  }
}

TEST(FireKeyDialog, TheWheelScrollsOnlyTheOpenListThreeLinesANotch) {
  struct Case {
    bool open;
    int delta;
    std::vector<std::pair<int, int>> scrolls;
  };
  const std::vector<Case> cases = {
      {true, 120, {{573, -3}}}, {true, -120, {{573, 3}}}, {true, 0, {{573, 3}}},
      {false, 120, {}},         {false, -240, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    if (c.open) rig.dialog.OnLeftButtonDown(kKeyField);
    rig.dialog.OnMouseWheel(c.delta);
    EXPECT_EQ(rig.host.scrolls, c.scrolls) << c.open << " " << c.delta;
  }
}

TEST(FireKeyDialog, LabelsInTheSystemLanguage) {
  struct Case {
    Language language;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {Language::kEnglish,
       {"TEXT left Speed 50,104,131,118", "TEXT left Times 50,154,131,168",
        "TEXT left Illustration: 20,187,380,201",
        "TEXT left Speed (value range 5-255, with smaller values faster) 20,200,380,214",
        "TEXT wrapped Times (value range 0-255,0 indicates fire key to end when the key "
        "released) 20,213,380,241"}},
      {Language::kSimplifiedChinese,
       {"TEXT left 速度 50,104,131,118", "TEXT left 次数 50,154,131,168",
        "TEXT left 说明: 20,187,380,201"}},
      {Language::kTraditionalChinese,
       {"TEXT left 次數 50,154,131,168",
        "TEXT wrapped 次數(數值範圍0-255，0表示按鍵放開火力鍵結束) 20,213,380,241"}},
  };
  for (const Case& c : cases) {
    FakeSubDialogHost host;
    CFireKeyDialog dialog({"/skins/Default", {10, 20, 30}, c.language});
    ASSERT_TRUE(host.Open(dialog));
    dialog.Paint();
    const auto& drawn = host.redraws.back();
    for (const std::string& line : c.lines) {
      EXPECT_NE(std::find(drawn.begin(), drawn.end(), line), drawn.end()) << line;
    }
  }
}

}  // namespace
}  // namespace vortal
