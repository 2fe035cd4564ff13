// The one editor of the buttons: every door's rule cases in one place.
#include "edit/setup_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "settings/delivered_settings.h"

namespace vortal {
namespace {

const std::vector<std::string> kMacros = {"Alpha", "Beta", "Gamma", "4", "5", "6",
                                          "7",     "8",    "9",     "10", "11", "Last"};

WorkingSetup Zeroed() {
  WorkingSetup setup;
  std::memset(&setup.record, 0, sizeof setup.record);
  for (auto& mode : setup.panes) mode.fill("old");
  return setup;
}

ButtonEdit Set(WorkingSetup& setup, int mode, int button, const ButtonAction& action,
               Language language = Language::kEnglish) {
  return SetButton(setup, mode, button, action, LocalizedTexts(language), kMacros);
}

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Each action: what lands in the record and on the pane, in either mode and
// on a button that reaches the mouse or one that does not.
TEST(SetupEditor, AnActionWritesItsColumnsAndItsText) {
  struct Case {
    const char* name;
    ButtonAction action;
    std::vector<std::pair<std::size_t, int>> fields;  // Mode A offset of button 1, value
    const char* shown;
    Language language = Language::kEnglish;
  };
  const std::vector<Case> cases = {
      {"Right Click", PlainFunction{kRightClick}, {}, "Right Click"},
      {"Triple-click", PlainFunction{kTripleClick}, {}, "Triple-click"},
      {"RGB On/Off", PlainFunction{kRgbOnOff}, {}, "RGB On/Off"},
      {"Key Off", PlainFunction{kKeyOff}, {}, "Key Off"},
      {"DPI Loop", DpiSwitchAction{DpiAction::kLoop}, {}, "DPI Loop"},
      {"Calculator", ActionOfChoice(WindowsChoice{2, {}}), {{36, 2}, {48, 0x92}, {60, 1}}, "Calculator"},
      {"Browser-My Favorites", ActionOfChoice(WindowsChoice{10, {}}), {{36, 10}, {48, 0x2A}, {60, 2}},
       "Browser-My Favorites"},
      {"Next", ActionOfChoice(MediaChoice{0, {}}), {{12, 0}, {24, 0xB5}}, "Multimedia-Next"},
      {"Vol-", ActionOfChoice(MediaChoice{6, {}}), {{12, 6}, {24, 0xEA}}, "Multimedia-Vol-"},
      {"Mute in Chinese", ActionOfChoice(MediaChoice{4, {}}), {{12, 4}, {24, 0xE2}}, "多媒体-静音",
       Language::kSimplifiedChinese},
      {"R-CTRL", ActionOfChoice(FireChoice{39, {}, 7, 0}), {{72, 39}, {84, 0xE4}, {96, 7}, {108, 0}},
       "Fire Key-R-CTRL"},
      {"R-Tilt Wheel", ActionOfChoice(FireChoice{60, {}, 255, 255}),
       {{72, 60}, {84, 0xF6}, {96, 255}, {108, 255}}, "Fire Key-R-Tilt Wheel"},
      {"A in Traditional Chinese", ActionOfChoice(FireChoice{0, {}, 32, 1}),
       {{72, 0}, {84, 0x04}, {96, 32}, {108, 1}}, "火力鍵-A", Language::kTraditionalChinese},
      {"single Right Ctrl", ActionOfChoice(SingleChoice{"Right Ctrl"}), {{120, 0xE4}},
       "Single Key-Right Ctrl"},
      {"single unknown name keeps its text", ActionOfChoice(SingleChoice{"Steuerung"}), {{120, 0}},
       "Single Key-Steuerung"},
      {"combo all three", ActionOfChoice(ComboChoice{"Left Shift", "A", "B"}),
       {{132, 0x02}, {144, 0x04}, {156, 0x05}}, "Combo Key-Left Shift+A+B"},
      {"combo two keys", ActionOfChoice(ComboChoice{"", "A", "B"}), {{132, 0}, {144, 0x04}, {156, 0x05}},
       "Combo Key-A+B"},
      {"combo modifier and second key", ActionOfChoice(ComboChoice{"Right Win", "", "Enter"}),
       {{132, 0x80}, {144, 0}, {156, 0x28}}, "Combo Key-Right Win+Enter"},
      {"combo unknown names left out", ActionOfChoice(ComboChoice{"Ctrl", "Return", "Z"}),
       {{132, 0}, {144, 0}, {156, 0x1D}}, "Combo Key-Z"},
      {"macro Gamma until released", ActionOfChoice(MacroChoice{2, {}, 3}), {{168, 2}, {180, 2}},
       "Macro Key-Gamma"},
      {"macro in slot 12, until any key", ActionOfChoice(MacroChoice{11, {}, 2}), {{168, 11}, {180, 1}},
       "Macro Key-Last"},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      for (int slot : {1, 5, 11}) {
        SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode) + " slot " +
                     std::to_string(slot));
        WorkingSetup setup = Zeroed();
        SettingsRecord expected = setup.record;
        auto* bytes = expected.bytes();
        const std::size_t area = mode == 0 ? 0 : 192;
        bytes[area + slot] = static_cast<std::uint8_t>(FunctionOf(c.action));
        for (const auto& [offset, value] : c.fields) bytes[area + offset + slot] = static_cast<std::uint8_t>(value);
        if (FunctionOf(c.action) == kDpiSwitch) expected.dpiSwitchFor(mode)[slot] = 3;
        ASSERT_TRUE(Set(setup, mode, slot, c.action, c.language).ok());
        for (std::size_t i = 0; i < kSettingsRecordSize; ++i)
          ASSERT_EQ(setup.record.bytes()[i], bytes[i]) << "record byte " << i;
        EXPECT_EQ(setup.panes[mode][slot], c.shown);
        EXPECT_EQ(setup.panes[1 - mode][slot], "old");
      }
    }
  }
}

// Every rule of the buttons, for every door: what is refused, and that a
// refusal changes nothing.
TEST(SetupEditor, TheRulesOfTheButtons) {
  const SettingsRecord delivered = DeliveredSettings();  // Left Click on button 1 and hidden 9 to 12
  SettingsRecord shiftOnSix = delivered;
  shiftOnSix.modeA.keyFunction[5] = shiftOnSix.modeB.keyFunction[5] = kShift;
  SettingsRecord bLeftOnTwo = delivered;
  bLeftOnTwo.modeB.keyFunction[0] = kRightClick;
  bLeftOnTwo.modeB.keyFunction[1] = kLeftClick;
  SettingsRecord shiftOnlyInB = delivered;
  shiftOnlyInB.modeB.keyFunction[7] = kShift;
  SettingsRecord shiftOnHidden = delivered;
  shiftOnHidden.modeA.keyFunction[9] = kShift;
  SettingsRecord noLeftClick = delivered;
  noLeftClick.modeA.keyFunction[0] = kForward;
  struct Case {
    const char* what;
    const SettingsRecord& base;
    int mode, button;
    ButtonAction action;
    ButtonRefusal refusal;
    int lostMode = 0;
  } cases[] = {
      {"the last Left Click among buttons 1 to 8", delivered, 0, 0, PlainFunction{kRightClick},
       ButtonRefusal::kLastLeftClick, 0},
      {"the last Left Click, Mode B, to a dialog's action", delivered, 1, 0,
       ActionOfChoice(SingleChoice{"A"}), ButtonRefusal::kLastLeftClick, 1},
      {"a Shift into the other mode's last Left Click", bLeftOnTwo, 0, 1, PlainFunction{kShift},
       ButtonRefusal::kLastLeftClick, 1},
      {"Left Click given to its own button", delivered, 0, 0, PlainFunction{kLeftClick},
       ButtonRefusal::kNone},
      {"a mode that had none keeps none", noLeftClick, 0, 2, PlainFunction{kKeyOff},
       ButtonRefusal::kNone},
      {"a second Shift", shiftOnSix, 0, 2, PlainFunction{kShift}, ButtonRefusal::kShiftTaken},
      {"Shift again on its own button", shiftOnSix, 1, 5, PlainFunction{kShift}, ButtonRefusal::kNone},
      {"the other mode's lone Shift does not count", shiftOnlyInB, 0, 2, PlainFunction{kShift},
       ButtonRefusal::kNone},
      {"a Shift on a hidden button does not count", shiftOnHidden, 0, 2, PlainFunction{kShift},
       ButtonRefusal::kNone},
      {"a fire speed below 5", delivered, 0, 3, FireKeyAction{0, 4, 1}, ButtonRefusal::kFireSpeed},
      {"a fire speed of 5", delivered, 0, 3, FireKeyAction{0, 5, 1}, ButtonRefusal::kNone},
      {"a macro slot with no macro", delivered, 0, 3, MacroKeyAction{12, MacroRepeat::kLoopCount},
       ButtonRefusal::kNoSuchMacro},
      {"no thirteenth button", delivered, 0, 12, PlainFunction{kForward}, ButtonRefusal::kNoSuchButton},
      {"no third mode", delivered, 2, 0, PlainFunction{kForward}, ButtonRefusal::kNoSuchButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkingSetup setup{c.base, {}};
    const ButtonEdit edit = Set(setup, c.mode, c.button, c.action);
    EXPECT_EQ(edit.refusal, c.refusal);
    if (c.refusal == ButtonRefusal::kLastLeftClick) {
      EXPECT_EQ(edit.lostMode, c.lostMode);
    }
    if (c.refusal != ButtonRefusal::kNone) {
      EXPECT_TRUE(SameRecord(setup.record, c.base));
      EXPECT_EQ(setup.panes, PaneTexts{});
    }
  }
}

// Shift is one button of both modes: given, it takes the function alone in
// both; replaced, the other mode plays what its pane says.
TEST(SetupEditor, ShiftChangesBothModes) {
  struct Case {
    ButtonAction action;
    const char* shown;
  } cases[] = {
      {PlainFunction{kRightClick}, "Right Click"},
      {PlainFunction{kKeyOff}, "Key Off"},
      {ActionOfChoice(SingleChoice{"B"}), "Single Key-B"},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      SCOPED_TRACE(std::string(c.shown) + " mode " + std::to_string(mode));
      WorkingSetup setup = Zeroed();
      setup.record.modeA.keyFunction[2] = setup.record.modeB.keyFunction[2] = kShift;
      ASSERT_TRUE(Set(setup, mode, 2, c.action).ok());
      EXPECT_EQ(setup.record.modeA.keyFunction[2], FunctionOf(c.action));
      EXPECT_EQ(setup.record.modeB.keyFunction[2], FunctionOf(c.action));
      EXPECT_EQ(setup.record.modeA.singleKeyCode[2], setup.record.modeB.singleKeyCode[2]);
      EXPECT_EQ(setup.panes[0][2], c.shown);
      EXPECT_EQ(setup.panes[1][2], c.shown);
    }
  }
  // Given: the function alone in both modes, the other parameters stay.
  WorkingSetup setup = Zeroed();
  setup.record.modeB.fireSpeed[3] = 77;
  ASSERT_TRUE(Set(setup, 0, 3, PlainFunction{kShift}).ok());
  EXPECT_EQ(setup.record.modeA.keyFunction[3], kShift);
  EXPECT_EQ(setup.record.modeB.keyFunction[3], kShift);
  EXPECT_EQ(setup.record.modeB.fireSpeed[3], 77);
  EXPECT_EQ(setup.panes[1][3], "Shift");
  // A Shift only in the other mode is not a shared button: only this mode changes.
  WorkingSetup half = Zeroed();
  half.record.modeB.keyFunction[2] = kShift;
  ASSERT_TRUE(Set(half, 0, 2, PlainFunction{kRightClick}).ok());
  EXPECT_EQ(half.record.modeB.keyFunction[2], kShift);
  EXPECT_EQ(half.panes[1][2], "old");
}

}  // namespace
}  // namespace vortal
