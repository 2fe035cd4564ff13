// The keyboard's ways through the owner-drawn windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/basic_page_rig.h"
#include "ui/host/keyboard_focus.h"

namespace vortal {
namespace {

KeyPress Press(Key key, bool shift = false, bool ctrl = false) { return {key, shift, ctrl}; }
KeyPress Letter(char c) { return {Key::kCharacter, false, false, c}; }

TEST(KeyboardFocusTest, WaysThroughTheGroups) {
  // Two radio buttons (the second chosen), a slider, three ticks (the
  // middle one unavailable), an edit field.
  std::vector<std::string> acts;
  std::vector<WindowControl> controls(7);
  auto set = [&](std::size_t i, int id, int group, ControlRole role) {
    controls[i].id = id;
    controls[i].group = group;
    controls[i].role = role;
    controls[i].box = {id, id, id + 10, id + 10};
    controls[i].act = [&acts, id] { acts.push_back("act " + std::to_string(id)); };
  };
  set(0, 1, 1, ControlRole::kRadioButton);
  set(1, 2, 1, ControlRole::kRadioButton);
  controls[1].checked = true;
  set(2, 3, 2, ControlRole::kSlider);
  controls[2].step = [&acts](int steps) { acts.push_back("step " + std::to_string(steps)); };
  set(3, 4, 3, ControlRole::kCheckBox);
  set(4, 5, 3, ControlRole::kCheckBox);
  controls[4].unavailable = true;
  set(5, 6, 3, ControlRole::kCheckBox);
  set(6, 7, 4, ControlRole::kText);
  controls[6].childId = 99;

  const struct Case {
    const char* name;
    std::vector<KeyPress> keys;
    int focused;
    std::vector<std::string> acts;
    bool lastUsed = true;
  } cases[] = {
      {"the first key only shows the focus", {Press(Key::kSpace)}, 2, {}},
      {"Shift+Tab first starts at the end", {Press(Key::kTab, true)}, 7, {}},
      {"Tab lands on the chosen radio button", {Press(Key::kTab)}, 2, {}},
      {"Tab goes group by group", {Press(Key::kTab), Press(Key::kTab), Press(Key::kTab)}, 4, {}},
      {"Tab wraps round", {Press(Key::kTab), Press(Key::kTab), Press(Key::kTab), Press(Key::kTab),
                           Press(Key::kTab)}, 2, {}},
      {"Shift+Tab goes back", {Press(Key::kTab), Press(Key::kTab, true)}, 7, {}},
      {"an arrow chooses the radio button it reaches, wrapping",
       {Press(Key::kTab), Press(Key::kRight)}, 1, {"act 1"}},
      {"arrows move a slider; Home and End to its ends",
       {Press(Key::kTab), Press(Key::kTab), Press(Key::kUp), Press(Key::kLeft), Press(Key::kEnd),
        Press(Key::kHome)},
       3, {"step 1", "step -1", "step " + std::to_string(kSliderEnd), "step -" + std::to_string(kSliderEnd)}},
      {"arrows pass an unavailable control by; ticks are only focused",
       {Press(Key::kTab), Press(Key::kTab), Press(Key::kTab), Press(Key::kDown)}, 6, {}},
      {"End goes to the group's last, Space acts on it",
       {Press(Key::kTab), Press(Key::kTab), Press(Key::kTab), Press(Key::kEnd), Press(Key::kSpace)},
       6, {"act 6"}},
      {"an edit field keeps its arrows", {Press(Key::kTab, true), Press(Key::kLeft)}, 7, {}, false},
      {"Escape is the window's", {Press(Key::kTab), Press(Key::kEscape)}, 2, {}, false},
      {"Ctrl+Tab is the window's", {Press(Key::kTab), Press(Key::kTab, false, true)}, 2, {}, false},
  };
  for (const Case& c : cases) {
    acts.clear();
    KeyboardFocus focus;
    EXPECT_EQ(focus.Ring(controls), FocusRing{}) << c.name;
    bool used = false;
    for (const KeyPress& key : c.keys) used = focus.OnKey(key, controls);
    EXPECT_EQ(focus.focused(controls), c.focused) << c.name;
    EXPECT_EQ(acts, c.acts) << c.name;
    EXPECT_EQ(used, c.lastUsed) << c.name;
    EXPECT_EQ(focus.Ring(controls), (FocusRing{true, {c.focused, c.focused, c.focused + 10, c.focused + 10}}))
        << c.name;
  }
}

TEST(KeyboardFocusTest, KeysInAnOpenList) {
  const std::vector<std::string> items = {"Left Click", "Right Click", "Forward", "Fire Key", "Shift"};
  using K = ListKeyOutcome;
  const struct Case {
    const char* name;
    KeyPress key;
    int selection;
    K::Kind kind;
    int index;
  } cases[] = {
      {"Down from no selection", Press(Key::kDown), kNoItem, K::kMove, 0},
      {"Up from no selection goes to the last", Press(Key::kUp), kNoItem, K::kMove, 4},
      {"Down stops at the last", Press(Key::kDown), 4, K::kMove, 4},
      {"Up stops at the first", Press(Key::kUp), 0, K::kMove, 0},
      {"Page Down stops at the last", Press(Key::kPageDown), 1, K::kMove, 4},
      {"Home", Press(Key::kHome), 3, K::kMove, 0},
      {"End", Press(Key::kEnd), 1, K::kMove, 4},
      {"a letter goes to the next item it begins", Letter('F'), 2, K::kMove, 3},
      {"a letter wraps round", Letter('F'), 3, K::kMove, 2},
      {"a letter no item begins with", Letter('Z'), 1, K::kNone, -1},
      {"Enter chooses the selection", Press(Key::kEnter), 3, K::kChoose, 3},
      {"Enter without a selection chooses nothing", Press(Key::kEnter), kNoItem, K::kNone, -1},
      {"Escape closes", Press(Key::kEscape), 2, K::kClose, -1},
      {"Tab is not the list's", Press(Key::kTab), 2, K::kNone, -1},
  };
  for (const Case& c : cases) {
    const ListKeyOutcome outcome = KeyInList(c.key, items, c.selection);
    EXPECT_EQ(outcome.kind, c.kind) << c.name;
    EXPECT_EQ(outcome.index, c.index) << c.name;
  }
}

// The window driven from the keyboard alone ends where the same changes made
// with clicks end: the same record, the same traffic for Apply.
TEST(MainWindowKeysTest, TheBasicPageFromTheKeyboardAloneMatchesTheClicks) {
  const ButtonAction fire = FireKeyAction{17, 20, 3};  // R, speed 20, three times
  testing::BasicPageRig keys, clicks;
  for (testing::BasicPageRig* rig : {&keys, &clicks}) {
    rig->dialogs.results[kFireKey] = fire;
    rig->record().dpiStageEnabled[0] = rig->record().dpiStageEnabled[1] = 1;
    rig->Show();
  }

  auto key = [&keys](KeyPress press) { EXPECT_TRUE(keys.model.OnKey(press)); };
  key(Press(Key::kTab));    // the focus shows on the page tab
  key(Press(Key::kTab));    // Mode A
  key(Press(Key::kRight));  // Mode B
  key(Press(Key::kTab));    // button 1
  for (int i = 0; i < 3; ++i) key(Press(Key::kDown));
  EXPECT_EQ(keys.model.FocusedName().rfind("Button 4: ", 0), 0u) << keys.model.FocusedName();
  key(Press(Key::kEnter));  // its list opens
  for (int i = 0; i <= kFireKey; ++i) key(Press(Key::kDown));
  key(Press(Key::kEnter));  // Fire Key: the dialog
  key(Press(Key::kTab));    // Default
  key(Press(Key::kTab));    // the report rate
  key(Press(Key::kHome));
  key(Press(Key::kRight));
  key(Press(Key::kRight));  // 500 Hz
  key(Press(Key::kTab));    // DPI stage 1
  key(Press(Key::kRight));
  key(Press(Key::kSpace));  // stage 2 off
  EXPECT_EQ(keys.services.focusRing, (FocusRing{true, DpiTickBox(2)}));
  for (int i = 0; i < 20 && keys.model.focus().focused(keys.model.Controls()) != kFrameOk; ++i)
    key(Press(Key::kTab));
  key(Press(Key::kRight));  // Apply
  key(Press(Key::kEnter));

  clicks.Click(testing::BasicPageRig::Inside(kModeBButton));
  clicks.Click(testing::BasicPageRig::Inside(PaneBox(4)));
  clicks.model.OnListNotification(kFirstFunctionListId + 3, kFireKey, false);
  clicks.Click(testing::BasicPageRig::Inside(ReportRateMarkBox(3)));
  clicks.Click(testing::BasicPageRig::Inside(DpiTickBox(2)));
  clicks.Click({700, 615});  // Apply

  EXPECT_EQ(keys.record().reportRate, 2);
  EXPECT_EQ(keys.record().dpiStageEnabled[1], 0);
  EXPECT_EQ(ReadButtonAction(keys.record(), 1, 3), fire);
  EXPECT_EQ(std::memcmp(&keys.record(), &clicks.record(), sizeof(SettingsRecord)), 0);
  EXPECT_EQ(keys.backend.trace->lines, clicks.backend.trace->lines);
  EXPECT_FALSE(keys.backend.trace->lines.empty());
}

TEST(MainWindowKeysTest, ListsPagesAndTheWindowsOwnKeys) {
  testing::BasicPageRig rig;
  rig.Show();
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kTab)));
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kTab)));
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kTab)));  // button 1
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kSpace)));
  EXPECT_TRUE(rig.services.ListExists(kFirstFunctionListId));
  // In the list, Escape closes it; the next Escape is the window's (it hides).
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kEscape)));
  EXPECT_FALSE(rig.services.ListExists(kFirstFunctionListId));
  EXPECT_FALSE(rig.model.OnKey(Press(Key::kEscape)));
  // Tab leaves an open list closed behind it.
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kSpace)));
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kTab)));
  EXPECT_FALSE(rig.services.ListExists(kFirstFunctionListId));
  EXPECT_EQ(rig.model.FocusedName(), rig.model.texts[TextId::kKeyDefault]);
  // Ctrl+Tab shows the other page with the focus on its tab.
  rig.model.SetPage(kAdvancedPage, &rig.page);
  EXPECT_TRUE(rig.model.OnKey(Press(Key::kTab, false, true)));
  EXPECT_EQ(rig.model.currentPage(), kAdvancedPage);
  EXPECT_EQ(rig.services.focusRing, (FocusRing{true, FrameButtonOf(kFrameAdvancedPage).box}));
  // Controls that would refuse are passed by: the swatches while loop
  // colour 1 is off, OK and Apply without the mouse.
  rig.record().loopColorEnabled[0] = 0;
  rig.link.devicePresent = false;
  std::vector<std::string> reached;
  for (int i = 0; i < 60; ++i) {
    rig.model.OnKey(Press(Key::kTab));
    reached.push_back(rig.model.FocusedName());
  }
  for (const char* refusing : {"Choose loop color 1...", "OK", "Apply"})
    EXPECT_EQ(std::count(reached.begin(), reached.end(), refusing), 0) << refusing;
  EXPECT_NE(std::count(reached.begin(), reached.end(), "Cancel"), 0);
  // A click moves the focus to what it hit.
  rig.Click(testing::BasicPageRig::Inside(kDefaultButton));
  EXPECT_EQ(rig.services.focusRing, (FocusRing{true, kDefaultButton}));
}

}  // namespace
}  // namespace vortal
