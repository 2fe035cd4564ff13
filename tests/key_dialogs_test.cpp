#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_hosts.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/single_dialog.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kCancel{300, 260};
const SubDialogLook kLook{"/skins/Default", {10, 20, 30}, Language::kEnglish};

TEST(SingleDialog, TheLastKeystrokeIsTheResult) {
  struct Case {
    const char* name;
    std::vector<std::string> keys;
    Point click;
    DialogResult ended;
    std::string keyName;
  };
  const std::vector<Case> cases = {
      {"no key", {}, kOk, DialogResult::kOk, ""},
      {"one key", {"A", "A"}, kOk, DialogResult::kOk, "A"},
      {"shift then A", {"Shift", "Shift", "A", "A"}, kOk, DialogResult::kOk, "A"},
      {"Enter is a key", {"Enter"}, kOk, DialogResult::kOk, "Enter"},
      {"cancelled", {"Right Ctrl"}, kCancel, DialogResult::kCancel, "Right Ctrl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSubDialogHost host;
    CSingleDialog dialog(kLook);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.hookMessages, std::vector<unsigned>{0x0B04});
    for (const std::string& key : c.keys) host.Key(key);
    EXPECT_EQ(host.Text(kSingleKeyFieldId), c.keyName);
    dialog.OnLeftButtonDown(c.click);
    EXPECT_EQ(host.ended, std::vector<DialogResult>{c.ended});
    EXPECT_EQ(dialog.keyName(), c.keyName);
  }
}

TEST(SingleDialog, ShowsItsFieldAndPrompt) {
  struct Case {
    Language language;
    std::string prompt;
  } cases[] = {{Language::kEnglish, "Please enter a key"},
               {Language::kSimplifiedChinese, "请输入一个按键"},
               {Language::kTraditionalChinese, "請輸入一個按鍵"}};
  for (const Case& c : cases) {
    FakeSubDialogHost host;
    CSingleDialog dialog({"/skins/Light", {1, 2, 3}, c.language});
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.calls.front(), "BACKGROUND /skins/Light/single-key.png");
    const auto& field = host.controls.children.at(kSingleKeyFieldId);
    EXPECT_EQ(field.kind, ChildKind::kStatic);
    EXPECT_EQ(testing::Describe(field.box), "74,129,150,143");
    EXPECT_EQ(field.text, "");
    dialog.Paint();
    const auto& lines = host.redraws.back();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "TEXT center " + c.prompt + " 45,108,181,124"),
              lines.end());
  }
}

TEST(KeyDialogs, AHookThatCannotBeInstalledIsReportedAndTheDialogStaysUsable) {
  struct Case {
    const char* name;
    bool combo;
    std::string message;
  } cases[] = {
      {"single", false, "KeyboardHook_SingleDlgKey Install error code :5\n"},
      {"combo", true, "KeyboardHook_ComboDlg Install error code :5\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSubDialogHost host;
    host.hookError = 5;
    CSingleDialog single(kLook);
    CComboDialog combo(kLook);
    SubDialogFrame& dialog = c.combo ? static_cast<SubDialogFrame&>(combo) : single;
    ASSERT_TRUE(host.Open(dialog));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, c.message);
    EXPECT_EQ(host.messages[0].second, kAppCaption);
    host.controls.focused = kComboFirstKeyId;
    host.Key("A");
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(host.ended, std::vector<DialogResult>{DialogResult::kOk});
    EXPECT_EQ(single.keyName(), "");
    EXPECT_EQ(combo.firstKey(), "");
  }
}

TEST(KeyDialogs, AMissingBackgroundInstallsNoHookAndCreatesNoControls) {
  FakeSubDialogHost host;
  host.backgroundLoads = false;
  CComboDialog dialog(kLook);
  EXPECT_FALSE(host.Open(dialog));
  EXPECT_TRUE(host.hookMessages.empty());
  EXPECT_TRUE(host.controls.children.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].second, "Combo Dialog Load background image failed!!!");
  EXPECT_EQ(host.ended, std::vector<DialogResult>{DialogResult::kCancel});
}

// A key dialog listens while its key field has the focus: every key is the
// one to assign; once it is released the focus moves on, and Tab, Enter and
// Escape are the dialog's again.
TEST(KeyDialogs, TheKeyFieldListensThenTheFocusMovesOn) {
  constexpr unsigned kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B, kA = 0x41, kWin = 0x5B;
  struct Case {
    const char* name;
    bool combo;
    std::vector<std::pair<std::string, unsigned>> keys;  // pressed and released, in order
    std::vector<unsigned> swallowed;                      // of kTab, kEnter, kEscape, kA, kWin
    std::string focused;
    std::string first;                                    // the single key, or the combo's first
    std::string second;
  } cases[] = {
      {"single, listening", false, {}, {kTab, kEnter, kEscape, kA, kWin}, "", "", ""},
      {"single, Enter is the key, then OK has the focus", false, {{"Enter", kEnter}},
       {kA, kWin}, "OK", "Enter", ""},
      {"single, a later key is still the key, Tab is the dialog's", false,
       {{"Enter", kEnter}, {"B", 0x42}, {"Tab", kTab}}, {kA, kWin}, "OK", "B", ""},
      {"combo, a key field listens, then the next", true, {{"A", kA}},
       {kTab, kEnter, kEscape, kA, kWin}, "Second key", "A", ""},
      {"combo, the second key moves the focus to OK", true, {{"A", kA}, {"Enter", kEnter}}, {}, "OK", "A",
       "Enter"},
  };
  for (const Case& c : cases) {
    FakeSubDialogHost host;
    CSingleDialog single(kLook);
    CComboDialog combo(kLook);
    SubDialogFrame& dialog = c.combo ? static_cast<SubDialogFrame&>(combo) : single;
    ASSERT_TRUE(host.Open(dialog));
    if (c.combo) host.controls.focused = kComboFirstKeyId;
    for (const auto& [name, key] : c.keys) host.Key(name, key);
    for (unsigned key : {kTab, kEnter, kEscape, kA, kWin}) {
      const bool swallowed = std::find(c.swallowed.begin(), c.swallowed.end(), key) != c.swallowed.end();
      EXPECT_EQ(dialog.SwallowsKey(true, key), swallowed) << c.name << " " << key;
    }
    EXPECT_EQ(dialog.FocusedName(), c.focused) << c.name;
    EXPECT_EQ(c.combo ? combo.firstKey() : single.keyName(), c.first) << c.name;
    EXPECT_EQ(combo.secondKey(), c.second) << c.name;
    // Once the focus has moved on, Enter is OK.
    if (!c.focused.empty() && c.focused != "Second key") {
      EXPECT_TRUE(dialog.OnKey({Key::kEnter})) << c.name;
      EXPECT_EQ(host.ended, std::vector<DialogResult>{DialogResult::kOk}) << c.name;
    }
  }
}

TEST(ComboDialog, KeysGoToTheFocusedField) {
  struct Step {
    int focus;
    const char* key;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string first;
    std::string second;
  };
  const std::vector<Case> cases = {
      {"A then B", {{kComboFirstKeyId, "A"}, {kComboSecondKeyId, "B"}}, "A", "B"},
      {"replaced", {{kComboFirstKeyId, "A"}, {kComboFirstKeyId, "C"}}, "C", ""},
      {"no focus", {{0, "A"}, {kComboModifierFieldId, "B"}}, "", ""},
      {"second only", {{kComboSecondKeyId, "Enter"}}, "", "Enter"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSubDialogHost host;
    CComboDialog dialog(kLook);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.hookMessages, std::vector<unsigned>{0x0B05});
    for (const Step& step : c.steps) {
      host.controls.focused = step.focus;
      host.Key(step.key);
    }
    EXPECT_EQ(host.Text(kComboFirstKeyId), c.first);
    EXPECT_EQ(host.Text(kComboSecondKeyId), c.second);
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog.firstKey(), c.first);
    EXPECT_EQ(dialog.secondKey(), c.second);
    EXPECT_EQ(dialog.modifier(), "");
  }
}

TEST(ComboDialog, ModifierListOpensOverTheDisabledFieldsAndChoosesOneModifier) {
  FakeSubDialogHost host;
  CComboDialog dialog(kLook);
  ASSERT_TRUE(host.Open(dialog));
  const auto& first = host.controls.children.at(kComboFirstKeyId);
  EXPECT_EQ(first.kind, ChildKind::kEdit);
  EXPECT_EQ(testing::Describe(first.box), "50,120,131,134");
  EXPECT_EQ(testing::Describe(host.controls.children.at(kComboSecondKeyId).box),
            "50,170,131,184");
  EXPECT_EQ(testing::Describe(host.controls.children.at(kComboModifierFieldId).box),
            "50,70,116,84");

  host.calls.clear();
  dialog.OnLeftButtonDown({131, 77});  // beyond the text, still the field
  ASSERT_TRUE(dialog.listOpen());
  EXPECT_EQ(host.calls, (std::vector<std::string>{"EDITS off", "CREATE_LIST 515 50,86,132,226"}));
  EXPECT_EQ(host.lists.at(kComboModifierListId),
            (std::vector<std::string>{"Left Ctrl", "Left Shift", "Left Alt", "Left Win",
                                      "Right Ctrl", "Right Shift", "Right Alt", "Right Win"}));
  dialog.OnListChoice(1);
  EXPECT_FALSE(dialog.listOpen());
  EXPECT_FALSE(host.ListExists(kComboModifierListId));
  EXPECT_EQ(host.calls.back(), "EDITS on");
  EXPECT_EQ(host.Text(kComboModifierFieldId), "Left Shift");

  host.controls.focused = kComboFirstKeyId;
  host.Key("A");
  host.controls.focused = kComboSecondKeyId;
  host.Key("B");
  dialog.OnLeftButtonDown(kOk);
  EXPECT_EQ(dialog.modifier(), "Left Shift");
  EXPECT_EQ(dialog.modifierIndex(), 1);
  EXPECT_EQ(dialog.firstKey(), "A");
  EXPECT_EQ(dialog.secondKey(), "B");
}

TEST(ComboDialog, AClickOutsideTheOpenListClosesItWithoutAChoice) {
  FakeSubDialogHost host;
  CComboDialog dialog(kLook);
  ASSERT_TRUE(host.Open(dialog));
  dialog.OnLeftButtonDown({60, 75});
  ASSERT_TRUE(dialog.listOpen());
  dialog.OnLeftButtonDown({60, 150});  // inside the list: stays
  EXPECT_TRUE(dialog.listOpen());
  dialog.OnLeftButtonDown({300, 150});
  EXPECT_FALSE(dialog.listOpen());
  EXPECT_FALSE(host.ListExists(kComboModifierListId));
  EXPECT_EQ(host.calls.back(), "EDITS on");
  EXPECT_EQ(dialog.modifier(), "");
  EXPECT_TRUE(host.ended.empty());
}

}  // namespace
}  // namespace vortal
