#include "setup/setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "assign/key_tables.h"
#include "settings/delivered_settings.h"
#include "settings/settings_file.h"
#include "support/settings_records.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using Bytes = std::vector<std::uint8_t>;
// GoogleTest's fixtures have a member of that name.
using TypedSetup = vortal::Setup;

SettingsRecord RecordOf(const Bytes& bytes) {
  SettingsRecord record{};
  std::memcpy(record.bytes(), bytes.data(), std::min(bytes.size(), kSettingsRecordSize));
  return record;
}

// The offsets where two records differ.
std::vector<std::size_t> Differences(const SettingsRecord& a, const SettingsRecord& b) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < kSettingsRecordSize; ++i)
    if (a.bytes()[i] != b.bytes()[i]) offsets.push_back(i);
  return offsets;
}

void ExpectIdentity(const SettingsRecord& record, const std::string& what) {
  EXPECT_EQ(Differences(EncodeSetup(DecodeSetup(record)), record), std::vector<std::size_t>{})
      << what;
}

TEST(Setup, DecodeThenEncodeGivesEveryRecordBackByteForByte) {
  // Records the program never writes: unknown function codes, enable bytes
  // other than 0 and 1, codes that are not their item's, items beyond the
  // lists, DPI actions and repeat modes beyond theirs.
  const std::vector<std::function<void(SettingsRecord&)>> oddities = {
      [](SettingsRecord& r) { std::fill_n(r.modeA.keyFunction, kButtonSlots, 0xFF); },
      [](SettingsRecord& r) {
        std::fill_n(r.dpiStageEnabled, 8, 2);
        std::fill_n(r.loopColorEnabled, 8, 0x80);
        r.pointerPrecision = 7;
        r.scrollOneScreen = 9;
        r.reportRate = 3;
        r.auxLedMode = 200;
      },
      [](SettingsRecord& r) {
        for (int mode = 0; mode < 2; ++mode) {
          KeyArea& a = r.area(mode);
          const std::uint8_t functions[] = {kWindowsFunction, kMultimedia, kFireKey, kDpiSwitch,
                                            kMacroKey, kSingleKey, kComboKey, kWindowsFunction};
          std::copy(std::begin(functions), std::end(functions), a.keyFunction);
          std::fill_n(a.windowsIndex, kButtonSlots, 200);  // beyond the list, odd codes
          std::fill_n(a.mediaCode, kButtonSlots, 0x11);
          std::fill_n(a.fireCode, kButtonSlots, 0x99);
          std::fill_n(a.macroLoopMode, kButtonSlots, 9);
          std::fill_n(a.singleKeyCode, kButtonSlots, 0x31);  // no name in the table
          r.dpiSwitchFor(mode)[3] = 0;
        }
        r.modeA.windowsIndex[7] = 2;  // Calculator with another code
        r.modeA.windowsClass[7] = 2;
      },
  };
  std::vector<std::pair<std::string, SettingsRecord>> records = {
      {"all zero", SettingsRecord{}},
      {"delivered", DeliveredSettings()},
      {"pattern", testing::PatternRecord()},
  };
  for (std::size_t i = 0; i < oddities.size(); ++i) {
    for (SettingsRecord base : {SettingsRecord{}, testing::PatternRecord(9)}) {
      oddities[i](base);
      records.emplace_back("odd record " + std::to_string(i), base);
    }
  }
  // Every seed input of the fuzz targets, read as config.bin (cut or padded).
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(VORTAL_SOURCE_DIR "/fuzz/corpus")) {
    if (!entry.is_regular_file()) continue;
    Bytes file = testing::ReadWholeBytes(entry.path().string());
    file.resize(kSettingsFileSize, 0);
    records.emplace_back(entry.path().filename().string(),
                         RecordOf(Bytes(file.begin() + 1, file.end())));
  }
  std::mt19937 random(20211);
  for (int n = 0; n < 300; ++n) {
    Bytes bytes(kSettingsRecordSize);
    // Every third record keeps its function codes among the known ones, so
    // each function's columns are decoded and written again.
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    if (n % 3 == 0) {
      for (std::size_t f = 0; f < kButtonSlots; ++f) {
        bytes[f] %= 16;
        bytes[sizeof(KeyArea) + f] %= 16;
      }
    }
    records.emplace_back("random " + std::to_string(n), RecordOf(bytes));
  }
  for (const auto& [what, record] : records) ExpectIdentity(record, what);
}

// One choice of every kind, as the dialogs and lists give them.
struct Choice {
  const char* what;
  int mode;
  int slot;
  ButtonAction action;
};

std::vector<Choice> Choices() {
  std::vector<Choice> choices;
  const FunctionType plain[] = {kLeftClick, kRightClick, kMidClick, kForward, kBackward,
                                kTripleClick, kRgbOnOff, kShift, kKeyOff};
  int n = 0;
  for (const FunctionType function : plain) {
    choices.push_back({"plain", n % 2, n % 8, PlainFunction{function}});
    ++n;
  }
  for (int index = 0; index < 3; ++index)
    choices.push_back({"DPI switch", index % 2, 5 + index, DpiSwitchAction{static_cast<DpiAction>(index + 1)}});
  choices.push_back({"Calculator", 0, 1, ActionOfChoice(WindowsChoice{2, {}})});
  choices.push_back({"Browser-Back", 1, 7, ActionOfChoice(WindowsChoice{6, {}})});
  choices.push_back({"Vol+", 1, 2, ActionOfChoice(MediaChoice{5, {}})});
  choices.push_back({"Fire R-CTRL", 0, 3, ActionOfChoice(FireChoice{39, {}, 30, 5})});
  choices.push_back({"Fire R-Tilt Wheel, held", 1, 0, ActionOfChoice(FireChoice{60, {}, 255, 0})});
  choices.push_back({"Single F5", 1, 4, ActionOfChoice(SingleChoice{"F5"})});
  choices.push_back({"Single unlisted", 0, 5, ActionOfChoice(SingleChoice{"Menu"})});
  choices.push_back({"Combo Ctrl+A", 0, 7, ActionOfChoice(ComboChoice{"Left Ctrl", "A", ""})});
  choices.push_back({"Combo full", 0, 0, ActionOfChoice(ComboChoice{"Right Win", "Num 0", "Eurpo(Note 2)"})});
  choices.push_back({"Macro Jump", 1, 6, ActionOfChoice(MacroChoice{1, {}, 3})});
  choices.push_back({"Macro Build", 0, 4, ActionOfChoice(MacroChoice{2, {}, 1})});
  return choices;
}

// A button set through the typed setup is the button written into the
// record, and decodes to the same action.
TEST(Setup, ATypedButtonEncodesAsItIsWrittenAndDecodesBack) {
  for (const Choice& c : Choices()) {
    SCOPED_TRACE(std::string(c.what) + " function " + std::to_string(FunctionOf(c.action)));
    // A record with other bytes everywhere, and one whose button holds the
    // same function with codes that are not its item's.
    SettingsRecord odd = testing::PatternRecord(3);
    odd.area(c.mode).keyFunction[c.slot] = static_cast<std::uint8_t>(FunctionOf(c.action));
    odd.area(c.mode).fireCode[c.slot] = 0x99;
    odd.area(c.mode).mediaCode[c.slot] = 0x11;
    odd.area(c.mode).windowsClass[c.slot] = 0x77;
    for (const SettingsRecord& base : {testing::PatternRecord(3), odd}) {
      SettingsRecord expected = base;
      WriteButtonAction(expected, c.mode, c.slot, c.action);
      TypedSetup setup = DecodeSetup(base);
      setup.button(c.mode, c.slot) = c.action;
      // Shift is one button of both modes.
      if (FunctionOf(c.action) == kShift) {
        setup.button(1 - c.mode, c.slot) = c.action;
        WriteButtonAction(expected, 1 - c.mode, c.slot, c.action);
      }
      EXPECT_EQ(Differences(EncodeSetup(setup), expected), std::vector<std::size_t>{});
      // The record keeps no name for a key the table does not know.
      ButtonAction stored = c.action;
      if (auto* single = std::get_if<SingleKeyAction>(&stored)) single->unlistedName.clear();
      EXPECT_EQ(DecodeSetup(EncodeSetup(setup)).button(c.mode, c.slot), stored);
    }
  }
}

TEST(Setup, TypedFieldsWriteTheirOwnBytesOnly) {
  struct Case {
    const char* what;
    std::function<void(TypedSetup&)> change;
    std::vector<std::pair<std::size_t, std::uint8_t>> bytes;  // offset, value
  } cases[] = {
      {"report rate", [](TypedSetup& s) { s.reportRate = ReportRate::k125Hz; }, {{1925, 8}}},
      {"DPI stage 3 on at level 11",
       [](TypedSetup& s) { s.dpiStages[2] = {Switch::kOn, 11}; },
       {{1933, 1}, {1929, 11}}},
      {"LED squares",
       [](TypedSetup& s) { s.dpiLedSquares = {0x3, 0x5, 0x1A, 0xF}; },  // four squares a stage
       {{2017, 0x53}, {2018, 0xFA}}},
      {"lighting", [](TypedSetup& s) { s.lighting = {LedMode::kNeon, {1, 2, 29}}; },
       {{1947, 3}, {1948, 1}, {1949, 2}, {1950, 29}}},
      {"loop colour 8",
       [](TypedSetup& s) { s.loopColors[7] = {Switch::kOn, {0x12, 0x34, 0x56}}; },
       {{1992, 1}, {2014, 0x12}, {2015, 0x34}, {2016, 0x56}}},
      {"pointer",
       [](TypedSetup& s) { s.pointer = {11, 0, 1, Switch::kOff, Switch::kOn}; },
       {{1957, 11}, {1958, 0}, {1959, 1}, {1955, 0}, {1956, 1}}},
      {"loop count of slot 12", [](TypedSetup& s) { s.macroLoopCounts[11] = 0x1234; },
       {{384 + 11 * 128, 0x12}, {385 + 11 * 128, 0x34}}},
  };
  const SettingsRecord base = testing::PatternRecord(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TypedSetup setup = DecodeSetup(base);
    c.change(setup);
    SettingsRecord expected = base;
    for (const auto& [offset, value] : c.bytes) expected.bytes()[offset] = value;
    EXPECT_EQ(Differences(EncodeSetup(setup), expected), std::vector<std::size_t>{});
  }
}

TEST(Setup, TheDefaultLayoutIsWhatDefaultWritesAndShows) {
  SettingsRecord record = testing::PatternRecord();
  RestoreButtonDefaults(record);
  const TypedSetup setup = DecodeSetup(record);
  for (int mode = 0; mode < 2; ++mode)
    for (int b = 0; b < kDeviceButtons; ++b)
      EXPECT_EQ(setup.button(mode, b), DefaultButtonActions()[static_cast<std::size_t>(b)]) << b;
  EXPECT_EQ(ReadButtonAction(record, 1, 8), DefaultButtonActions()[8]);

  PaneTexts panes;
  panes[0][9] = "kept";
  SetDefaultPaneTexts(panes, LocalizedTexts(Language::kSimplifiedChinese), kDefaultPaneCount);
  const std::array<std::string, kPaneButtonCount> expected = {
      "左键", "右键", "中键", "前进方向键", "后退方向键", "DPI +", "DPI -", "三连发", "按键关闭", "kept", "", ""};
  EXPECT_EQ(panes[0], expected);
  EXPECT_EQ(panes[1][5], "DPI +");
}

}  // namespace
}  // namespace vortal
