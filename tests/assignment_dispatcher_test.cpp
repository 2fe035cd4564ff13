#include "assign/assignment_dispatcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>
#include <vector>
#include <string>

#include "support/fake_assignment_dialogs.h"

namespace vortal {
namespace {

using FakeDialogs = testing::FakeAssignmentDialogs;

SettingsRecord ZeroRecord() {
  SettingsRecord record;
  std::memset(&record, 0, sizeof record);
  return record;
}

const std::uint8_t* Bytes(const SettingsRecord& r) {
  return reinterpret_cast<const std::uint8_t*>(&r);
}

struct Dispatch {
  std::string shown = "old shown";
  std::string other = "old other";
  AssignmentOutcome outcome{};
};

Dispatch Choose(SettingsRecord& record, FakeDialogs& dialogs, std::optional<int> selection,
             int slot, int mode, Language language = Language::kEnglish) {
  Dispatch d;
  const AssignmentResult result =
      DispatchAssignment({slot, mode, selection}, record, LocalizedTexts(language), dialogs);
  d.outcome = result.outcome;
  if (result.shownText) d.shown = *result.shownText;
  if (result.otherText) d.other = *result.otherText;
  return d;
}

TEST(AssignmentDispatcher, DirectCategoriesStoreTheIndexAndShowTheItem) {
  struct Case {
    int category;
    const char* text;
  } cases[] = {
      {0, "Left Click"}, {1, "Right Click"}, {2, "Mid Click"}, {3, "Forward"},
      {4, "Backward"},   {5, "Triple-click"}, {7, "RGB On/Off"}, {15, "Key Off"},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      SettingsRecord record = ZeroRecord();
      record.modeA.keyFunction[4] = 3;
      record.modeB.keyFunction[4] = 3;
      FakeDialogs dialogs;
      const Dispatch d = Choose(record, dialogs, c.category, 4, mode);
      SCOPED_TRACE(std::string(c.text) + " mode " + std::to_string(mode));
      EXPECT_EQ(d.outcome, AssignmentOutcome::kListClosed);
      EXPECT_EQ(d.shown, c.text);
      EXPECT_EQ(d.other, "old other");
      EXPECT_EQ(dialogs.runs, 0);
      const KeyArea& edited = mode == 0 ? record.modeA : record.modeB;
      const KeyArea& other = mode == 0 ? record.modeB : record.modeA;
      EXPECT_EQ(edited.keyFunction[4], c.category);
      EXPECT_EQ(other.keyFunction[4], 3);
    }
  }
}

TEST(AssignmentDispatcher, NoSelectionDpiSwitchAndBadInputKeepTheListOpenAndChangeNothing) {
  struct Case {
    std::optional<int> selection;
    int slot;
  } cases[] = {{std::nullopt, 0}, {6, 0}, {-1, 0}, {16, 0}, {1, -1}, {1, 12}};
  for (const Case& c : cases) {
    SettingsRecord record = ZeroRecord();
    const SettingsRecord before = record;
    FakeDialogs dialogs;
    const Dispatch d = Choose(record, dialogs, c.selection, c.slot, 0);
    SCOPED_TRACE(c.selection.value_or(-99));
    EXPECT_EQ(d.outcome, AssignmentOutcome::kListKeptOpen);
    EXPECT_EQ(d.shown, "old shown");
    EXPECT_EQ(d.other, "old other");
    EXPECT_EQ(dialogs.runs, 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
  }
}

TEST(AssignmentDispatcher, ShiftIsRefusedOnlyWhenADeviceSlotOfTheEditedModeHoldsIt) {
  struct Case {
    const char* name;
    int mode;
    int existingSlot;  // -1: none
    int existingMode;
    int slot;
    bool accepted;
  } cases[] = {
      {"none yet", 0, -1, 0, 3, true},
      {"slot 5 holds it", 0, 5, 0, 3, false},
      {"slot 0 holds it", 0, 0, 0, 3, false},
      {"slot 7 holds it", 1, 7, 1, 3, false},
      {"slot 8 is not examined", 0, 8, 0, 3, true},
      {"slot 9 is not examined", 0, 9, 0, 3, true},
      {"slot 11 is not examined", 1, 11, 1, 3, true},
      {"the other mode's Shift does not count", 0, 5, 1, 3, true},
      {"Mode B, none yet", 1, -1, 1, 10, true},
      {"the slot itself", 0, 3, 0, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsRecord record = ZeroRecord();
    if (c.existingSlot >= 0) {
      (c.existingMode == 0 ? record.modeA : record.modeB).keyFunction[c.existingSlot] = kShift;
    }
    const SettingsRecord before = record;
    FakeDialogs dialogs;
    const Dispatch d = Choose(record, dialogs, kShift, c.slot, c.mode);
    EXPECT_EQ(d.outcome, AssignmentOutcome::kListClosed);
    EXPECT_EQ(dialogs.runs, 0);
    if (c.accepted) {
      EXPECT_EQ(record.modeA.keyFunction[c.slot], kShift);
      EXPECT_EQ(record.modeB.keyFunction[c.slot], kShift);
      EXPECT_EQ(d.shown, "Shift");
      EXPECT_EQ(d.other, "Shift");
    } else {
      EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
      EXPECT_EQ(d.shown, "old shown");
      EXPECT_EQ(d.other, "old other");
    }
  }
}

TEST(AssignmentDispatcher, ReplacingShiftChangesBothModes) {
  struct Case {
    int category;
    bool dialogOk;
    const char* shown;
  } cases[] = {
      {1, true, "Right Click"},
      {15, true, "Key Off"},
      {11, true, "Single Key-B"},
      {11, false, "old shown"},  // cancelled: Shift stays in both modes
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      SCOPED_TRACE(std::string(c.shown) + " mode " + std::to_string(mode));
      SettingsRecord record = ZeroRecord();
      record.modeA.keyFunction[2] = kShift;
      record.modeB.keyFunction[2] = kShift;
      FakeDialogs dialogs;
      if (c.dialogOk) dialogs.single = SingleChoice{"B"};
      const Dispatch d = Choose(record, dialogs, c.category, 2, mode);
      const int expected = c.dialogOk ? c.category : kShift;
      EXPECT_EQ(record.modeA.keyFunction[2], expected);
      EXPECT_EQ(record.modeB.keyFunction[2], expected);
      // The other mode plays what its pane says: the same key.
      EXPECT_EQ(record.modeA.singleKeyCode[2], record.modeB.singleKeyCode[2]);
      EXPECT_EQ(record.area(mode).singleKeyCode[2] != 0, c.category == 11 && c.dialogOk);
      EXPECT_EQ(d.shown, c.shown);
      EXPECT_EQ(d.other, c.dialogOk ? c.shown : "old other");
    }
  }
}

TEST(AssignmentDispatcher, AShiftOnlyInTheOtherModeIsNotReplacedThere) {
  SettingsRecord record = ZeroRecord();
  record.modeB.keyFunction[2] = kShift;
  FakeDialogs dialogs;
  const Dispatch d = Choose(record, dialogs, 1, 2, 0);
  EXPECT_EQ(record.modeA.keyFunction[2], 1);
  EXPECT_EQ(record.modeB.keyFunction[2], kShift);
  EXPECT_EQ(d.other, "old other");
}

// Each dialog category with a result: what lands in the record and the pane.
TEST(AssignmentDispatcher, DialogResultsAreWrittenIntoTheEditedMode) {
  struct Case {
    const char* name;
    int category;
    std::function<void(FakeDialogs&)> prepare;
    std::vector<std::pair<std::size_t, int>> fields;  // Mode A offset of slot 0, value
    const char* shown;
    const char* dialog;
  };
  const std::vector<Case> cases = {
      {"Calculator", 8, [](FakeDialogs& f) { f.windows = WindowsChoice{2, "Calculator"}; },
       {{36, 2}, {48, 0x92}, {60, 1}}, "Calculator", "windows"},
      {"Browser-My Favorites", 8,
       [](FakeDialogs& f) { f.windows = WindowsChoice{10, "Browser-My Favorites"}; },
       {{36, 10}, {48, 0x2A}, {60, 2}}, "Browser-My Favorites", "windows"},
      {"Multimedia Player", 8, [](FakeDialogs& f) { f.windows = WindowsChoice{0, "Multimedia Player"}; },
       {{36, 0}, {48, 0x83}, {60, 1}}, "Multimedia Player", "windows"},
      {"Next", 9, [](FakeDialogs& f) { f.media = MediaChoice{0, "Next"}; },
       {{12, 0}, {24, 0xB5}}, "Multimedia-Next", "media"},
      {"Vol-", 9, [](FakeDialogs& f) { f.media = MediaChoice{6, "Vol-"}; },
       {{12, 6}, {24, 0xEA}}, "Multimedia-Vol-", "media"},
      {"R-CTRL", 10, [](FakeDialogs& f) { f.fire = FireChoice{39, "R-CTRL", 7, 0}; },
       {{72, 39}, {84, 0xE4}, {96, 7}, {108, 0}}, "Fire Key-R-CTRL", "fire"},
      {"R-Tilt Wheel", 10, [](FakeDialogs& f) { f.fire = FireChoice{60, "R-Tilt Wheel", 255, 255}; },
       {{72, 60}, {84, 0xF6}, {96, 255}, {108, 255}}, "Fire Key-R-Tilt Wheel", "fire"},
      {"single Right Ctrl", 11, [](FakeDialogs& f) { f.single = SingleChoice{"Right Ctrl"}; },
       {{120, 0xE4}}, "Single Key-Right Ctrl", "single"},
      {"single unknown name keeps its text", 11,
       [](FakeDialogs& f) { f.single = SingleChoice{"Steuerung"}; }, {{120, 0}},
       "Single Key-Steuerung", "single"},
      {"single empty", 11, [](FakeDialogs& f) { f.single = SingleChoice{""}; }, {{120, 0}},
       "Single Key-", "single"},
      {"combo all three", 12,
       [](FakeDialogs& f) { f.combo = ComboChoice{"Left Shift", "A", "B"}; },
       {{132, 0x02}, {144, 0x04}, {156, 0x05}}, "Combo Key-Left Shift+A+B", "combo"},
      {"combo modifier and first key", 12,
       [](FakeDialogs& f) { f.combo = ComboChoice{"Left Ctrl", "A", ""}; },
       {{132, 0x01}, {144, 0x04}, {156, 0}}, "Combo Key-Left Ctrl+A", "combo"},
      {"combo two keys", 12, [](FakeDialogs& f) { f.combo = ComboChoice{"", "A", "B"}; },
       {{132, 0}, {144, 0x04}, {156, 0x05}}, "Combo Key-A+B", "combo"},
      {"combo modifier and second key", 12,
       [](FakeDialogs& f) { f.combo = ComboChoice{"Right Win", "", "Enter"}; },
       {{132, 0x80}, {144, 0}, {156, 0x28}}, "Combo Key-Right Win+Enter", "combo"},
      {"combo unknown names left out", 12,
       [](FakeDialogs& f) { f.combo = ComboChoice{"Ctrl", "Return", "Z"}; },
       {{132, 0}, {144, 0}, {156, 0x1D}}, "Combo Key-Z", "combo"},
      {"combo nothing found", 12, [](FakeDialogs& f) { f.combo = ComboChoice{"", "", ""}; },
       {{132, 0}, {144, 0}, {156, 0}}, "Combo Key-", "combo"},
      {"macro Gamma mode 3", 13, [](FakeDialogs& f) { f.macro = MacroChoice{2, "Gamma", 3}; },
       {{168, 2}, {180, 2}}, "Macro Key-Gamma", "macro"},
      {"macro without a choice", 13, [](FakeDialogs& f) { f.macro = MacroChoice{0, "", 1}; },
       {{168, 0}, {180, 0}}, "Macro Key-", "macro"},
      {"macro mode 2", 13, [](FakeDialogs& f) { f.macro = MacroChoice{11, "Last", 2}; },
       {{168, 11}, {180, 1}}, "Macro Key-Last", "macro"},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      for (int slot : {0, 5, 11}) {
        SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode) + " slot " +
                     std::to_string(slot));
        SettingsRecord record = ZeroRecord();
        SettingsRecord expected = ZeroRecord();
        const std::size_t base = mode == 0 ? 0 : 192;
        auto* exp = reinterpret_cast<std::uint8_t*>(&expected);
        exp[base + slot] = static_cast<std::uint8_t>(c.category);
        for (const auto& [offset, value] : c.fields) {
          exp[base + offset + slot] = static_cast<std::uint8_t>(value);
        }
        FakeDialogs dialogs;
        c.prepare(dialogs);
        const Dispatch d = Choose(record, dialogs, c.category, slot, mode);
        EXPECT_EQ(d.outcome, AssignmentOutcome::kListClosed);
        EXPECT_EQ(dialogs.runs, 1);
        EXPECT_EQ(dialogs.lastRun, c.dialog);
        EXPECT_EQ(d.shown, c.shown);
        EXPECT_EQ(d.other, "old other");
        for (std::size_t i = 0; i < sizeof record; ++i) {
          ASSERT_EQ(Bytes(record)[i], Bytes(expected)[i]) << "record byte " << i;
        }
      }
    }
  }
}

TEST(AssignmentDispatcher, ACancelledDialogLeavesTheButtonAsItWas) {
  for (int category = kWindowsFunction; category <= kMacroKey; ++category) {
    for (int mode : {0, 1}) {
      SCOPED_TRACE(std::to_string(category) + " mode " + std::to_string(mode));
      SettingsRecord record = ZeroRecord();
      auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
      // Old parameters everywhere: a cancel must leave every one of them.
      for (std::size_t i = 0; i < 384; ++i) bytes[i] = static_cast<std::uint8_t>(0x40 + i % 7);
      record.modeA.keyFunction[6] = kRightClick;
      record.modeB.keyFunction[6] = kRightClick;
      const SettingsRecord expected = record;
      FakeDialogs dialogs;  // every dialog cancels
      const Dispatch d = Choose(record, dialogs, category, 6, mode);
      EXPECT_EQ(d.outcome, AssignmentOutcome::kListClosed);
      EXPECT_EQ(dialogs.runs, 1);
      EXPECT_EQ(d.shown, "old shown");
      EXPECT_EQ(d.other, "old other");
      EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
    }
  }
}

TEST(AssignmentDispatcher, LabelsComeFromTheSystemLanguage) {
  struct Case {
    Language language;
    int category;
    const char* shown;
  } cases[] = {
      {Language::kSimplifiedChinese, 9, "多媒体-静音"},
      {Language::kSimplifiedChinese, 1, "右键"},
      {Language::kTraditionalChinese, 10, "火力鍵-A"},
  };
  for (const Case& c : cases) {
    SettingsRecord record = ZeroRecord();
    FakeDialogs dialogs;
    dialogs.media = MediaChoice{4, "静音"};
    dialogs.fire = FireChoice{0, "A", 32, 1};
    const Dispatch d = Choose(record, dialogs, c.category, 0, 0, c.language);
    EXPECT_EQ(d.shown, c.shown);
  }
}

}  // namespace
}  // namespace vortal
