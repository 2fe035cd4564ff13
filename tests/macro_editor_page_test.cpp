#include "ui/window/macro_editor_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "assign/key_tables.h"
#include "device/key_matrix.h"
#include "macro/macro_store.h"
#include "support/fake_hosts.h"
#include "support/fake_mouse_backend.h"
#include "support/recording_messages.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "ui/dialogs/delay_dialog.h"

namespace vortal {
namespace {

using testing::FakeChildControls;
using testing::FakeSubDialogHost;
using testing::FakeMainWindowServices;
using Lines = std::vector<std::string>;

const std::string kPressA = "A   Dn";
const std::string kReleaseA = "A   Up";
const std::string k50 = "50 ms";

struct EditorRig {
  explicit EditorRig(Language language = Language::kEnglish) {
    model.texts = LocalizedTexts(language);
    model.skin.skinFolderPath = dir.File("Skins/Default");
  }
  void WriteRecord(const std::string& text) {
    testing::WriteWhole(record, text);
  }
  void Build() { page.CreateControls(); }
  // The user picks a line of the macro list; the window reports the change.
  void Choose(int index) {
    c.Select(kMacroNamesListId, index);
    page.OnListChoice(kMacroNamesListId, index, false);
  }
  // The user records a press (and a release, with `release`) of each key;
  // the recorder's own notices are left out of `services.messages`.
  void Record(const Lines& keys, bool release = true) {
    page.StartRecording();
    for (const std::string& key : keys) {
      services.Key({key, 0, false, false, false});
      if (release) services.Key({key, 0, false, true, true});
    }
    page.StopRecording();
    services.messages.clear();
  }
  // A record.ini of macros named `names`, each pressing A.
  void WriteMacros(const Lines& names) {
    std::string text;
    for (const std::string& name : names) text += "[" + name + "]\r\nItemCount=1\r\nItem0=A   Dn\r\n";
    WriteRecord(text);
  }
  std::vector<std::uint8_t> Slot(int slot) const {
    const auto& bytes = settings.working.macroSlots[slot];
    return {std::begin(bytes), std::end(bytes)};
  }
  std::vector<std::uint8_t> SlotStart(int slot, std::size_t n) const {
    auto bytes = Slot(slot);
    bytes.resize(n);
    return bytes;
  }
  void SetLoopBytes(int slot, std::uint8_t high, std::uint8_t low) {
    settings.working.macroSlots[slot][0] = high;
    settings.working.macroSlots[slot][1] = low;
  }

  testing::TempDir dir;
  FakeMainWindowServices services;
  testing::FakeMouseBackend backend;
  testing::CountingPauser pauser;
  MouseLink link{pauser};
  SettingsState settings;
  MainWindowModel model{services, link, backend, settings,
                        {dir.File("config.bin"), dir.File("str.ini"), dir.File("")}};
  std::string record = dir.File("record.ini");
  MacroEditorPage page{model, record};
  FakeChildControls& c = services.controls;
};

constexpr const char* kTwoMacros =
    "[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n"
    "[Jump]\r\nItemCount=1\r\nItem0=Space   Dn\r\n"
    "[Blank]\r\nItemCount=0\r\n";

// ---- Filling the page

struct FillCase {
  const char* name;
  std::optional<std::string> file;
  Lines names;
  Lines events;
  std::string nameField;
  std::string loopField;
  int selection;
};

TEST(MacroEditorFill, FillsFromRecordIni) {
  const FillCase cases[] = {
      {"no file", std::nullopt, {}, {}, "", "", kNoItem},
      {"three macros", kTwoMacros, {"Fire", "Jump", "Blank"}, {kPressA, k50, kReleaseA}, "Fire", "258", 0},
      // Setting an empty loop text counts as a change, which puts "1" in.
      {"file without macros", "; nothing\r\n", {}, {}, "", "1", kNoItem},
  };
  for (const FillCase& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig;
    if (test.file) rig.WriteRecord(*test.file);
    rig.SetLoopBytes(0, 0x01, 0x02);
    const auto before = rig.Slot(0);
    rig.Build();
    EXPECT_EQ(rig.c.Items(kMacroNamesListId), test.names);
    EXPECT_EQ(rig.c.Items(kEventListId), test.events);
    EXPECT_EQ(rig.c.ChildText(kMacroNameEditId), test.nameField);
    EXPECT_EQ(rig.c.ChildText(kLoopTimesEditId), test.loopField);
    EXPECT_EQ(rig.c.Selection(kMacroNamesListId), test.selection);
    EXPECT_EQ(rig.Slot(0), before);
  }
}

TEST(MacroEditorFill, CreatesTheControlsWithTheirColours) {
  EditorRig rig;
  rig.model.skin.textColor = {10, 20, 30};
  rig.Build();
  struct Expected {
    int id;
    ChildKind kind;
    Rect box;
  };
  const Expected controls[] = {
      {kMacroNameEditId, ChildKind::kEdit, {735, 322, 799, 336}},
      {kLoopTimesEditId, ChildKind::kDigitsEdit, {735, 362, 799, 376}},
      {kMacroNamesListId, ChildKind::kList, {462, 220, 591, 512}},
      {kEventListId, ChildKind::kHoverList, {592, 220, 725, 512}},
      {kInsertedEventStaticId, ChildKind::kStatic, {735, 402, 839, 416}},
  };
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.id);
    ASSERT_TRUE(rig.c.ChildExists(expected.id));
    EXPECT_EQ(rig.c.children[expected.id].kind, expected.kind);
    EXPECT_EQ(rig.c.children[expected.id].box, expected.box);
  }
  const Color black{0, 0, 0};
  EXPECT_EQ(rig.c.looks[kMacroNameEditId].back, black);
  EXPECT_EQ(rig.c.looks[kInsertedEventStaticId].back, black);
  EXPECT_EQ(rig.c.looks[kMacroNamesListId].back, (Color{0x02, 0x04, 0x05}));
  EXPECT_EQ(rig.c.looks[kEventListId].back, (Color{0x02, 0x04, 0x05}));
  EXPECT_EQ(rig.c.looks[kInsertListId].text, (Color{255, 255, 255}));
  EXPECT_EQ(rig.c.looks[kInsertListId].back, black);
  EXPECT_EQ(rig.c.children[kMacroNameEditId].maxChars, 31);
}

// The skin's text colour where it reads on the dark fills; a dark one (a
// pale skin's) gives way to white, so the lists never go black on black.
TEST(MacroEditorFill, TextOfTheControlsStaysReadableOnTheirFills) {
  struct Case {
    TextColor skin;
    Color shown;
  };
  const Case cases[] = {
      {{220, 227, 234}, {220, 227, 234}},
      {{255, 0, 0}, {255, 0, 0}},
      {{10, 20, 30}, {255, 255, 255}},
      {{40, 40, 40}, {255, 255, 255}},
  };
  for (const Case& c : cases) {
    EditorRig rig;
    rig.model.skin.textColor = c.skin;
    rig.Build();
    for (int id : {kMacroNameEditId, kLoopTimesEditId, kInsertedEventStaticId, kMacroNamesListId,
                   kEventListId}) {
      EXPECT_EQ(rig.c.looks[id].text, c.shown) << "control " << id << ", skin colour "
                                               << int(c.skin.red) << "," << int(c.skin.green)
                                               << "," << int(c.skin.blue);
    }
  }
}

// ---- Selecting a macro

TEST(MacroEditorSelect, ShowsTheChosenMacro) {
  struct Case {
    int index;
    std::string name;
    Lines events;
    std::string loopField;
  };
  const Case cases[] = {
      {1, "Jump", {"Space   Dn"}, "7"},
      // An empty macro leaves the loop field as it was.
      {2, "Blank", {}, "258"},
      {0, "Fire", {kPressA, k50, kReleaseA}, "258"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig;
    rig.WriteRecord(kTwoMacros);
    rig.SetLoopBytes(0, 0x01, 0x02);
    rig.SetLoopBytes(1, 0x00, 0x07);
    rig.Build();
    rig.Choose(test.index);
    EXPECT_EQ(rig.c.ChildText(kMacroNameEditId), test.name);
    EXPECT_EQ(rig.c.Items(kEventListId), test.events);
    EXPECT_EQ(rig.c.ChildText(kLoopTimesEditId), test.loopField);
  }
}

TEST(MacroEditorSelect, AMacroBeyondTheTwelfthSlotTouchesNoSlot) {
  EditorRig rig;
  std::string file;
  for (int i = 0; i < 13; ++i) {
    file += "[M" + std::to_string(i) + "]\r\nItemCount=1\r\nItem0=A   Dn\r\n";
  }
  rig.WriteRecord(file);
  rig.Build();
  const SettingsRecord before = rig.settings.working;
  rig.Choose(12);
  rig.c.Type(kLoopTimesEditId, "9");
  EXPECT_EQ(rig.c.ChildText(kMacroNameEditId), "M12");
  EXPECT_EQ(0, std::memcmp(&before, &rig.settings.working, sizeof before));
}

// ---- Loop count

TEST(MacroEditorLoopCount, StoresTheCountBigEndian) {
  struct Case {
    const char* typed;
    std::string shown;
    std::uint8_t high, low;
  };
  const Case cases[] = {
      {"3", "3", 0x00, 0x03},      {"300", "300", 0x01, 0x2C}, {"65535", "65535", 0xFF, 0xFF},
      {"70000", "1", 0x00, 0x01},  {"0", "1", 0x00, 0x01},     {"", "1", 0x00, 0x01},
      {"0042", "0042", 0x00, 0x2A}, {"12x3", "123", 0x00, 0x7B},  // the field takes only digits
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.typed);
    EditorRig rig;
    rig.WriteRecord(kTwoMacros);
    rig.Build();
    rig.Choose(1);
    rig.c.Type(kLoopTimesEditId, test.typed);
    EXPECT_EQ(rig.c.ChildText(kLoopTimesEditId), test.shown);
    EXPECT_EQ(rig.SlotStart(1, 2), (std::vector<std::uint8_t>{test.high, test.low}));
    // Filling put slot 0's count 0 into the field, which made it 1.
    EXPECT_EQ(rig.SlotStart(0, 2), (std::vector<std::uint8_t>{0, 1}));
  }
}

TEST(MacroEditorLoopCount, WithoutASelectionNoSlotChanges) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  rig.page.DeleteMacro();  // leaves no macro selected
  const SettingsRecord before = rig.settings.working;
  rig.c.Type(kLoopTimesEditId, "5");
  EXPECT_EQ(0, std::memcmp(&before, &rig.settings.working, sizeof before));
}

// ---- New and Delete

TEST(MacroEditorNew, FollowsTheRules) {
  struct Case {
    const char* name;
    Lines listed;
    std::string field;
    Language language;
    Lines listAfter;
    std::vector<testing::ShownMessage> messages;
    bool eventsCleared;
  };
  Lines twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back("M" + std::to_string(i));
  const std::string longName(32, 'x');
  const Case cases[] = {
      {"added", {"Fire"}, "Jump", Language::kEnglish, {"Fire", "Jump"}, {}, true},
      {"blank", {"Fire"}, "  ", Language::kEnglish, {"Fire"}, {{"Macro name is blank", "Vortal"}}, false},
      {"blank in Chinese", {"Fire"}, "", Language::kSimplifiedChinese, {"Fire"}, {{"宏名称为空", "Vortal"}}, false},
      {"thirteenth", twelve, "More", Language::kEnglish, twelve, {{"Macro numbers up to 12.", "Warning"}}, false},
      {"same name in other case", {"Fire"}, "FIRE", Language::kEnglish, {"Fire"},
       {{"Macro name already exists", "Vortal"}}, false},
      {"bracket in Chinese", {"Fire"}, "a]b", Language::kSimplifiedChinese, {"Fire"},
       {{"宏名称不能包含“]”", "Warning"}}, false},
      {"31 characters", {}, std::string(31, 'y'), Language::kEnglish, {std::string(31, 'y')}, {}, false},
      {"32 characters", {"Fire"}, longName, Language::kEnglish, {"Fire"},
       {{"Macro name is too long: a macro name has at most 31 characters.", "Vortal"}}, false},
      {"32 characters in Chinese", {"Fire"}, longName, Language::kTraditionalChinese, {"Fire"},
       {{"巨集名稱太長：巨集名稱最多 31 個字元。", "Vortal"}}, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig(test.language);
    if (!test.listed.empty()) rig.WriteMacros(test.listed);
    rig.Build();
    rig.c.SetChildText(kMacroNameEditId, test.field);
    rig.page.NewMacro();
    EXPECT_EQ(rig.c.Items(kMacroNamesListId), test.listAfter);
    std::vector<testing::ShownMessage> shown;
    for (const auto& [text, caption] : rig.services.messages) shown.push_back({text, caption});
    EXPECT_EQ(shown, test.messages);
    EXPECT_EQ(rig.c.Items(kEventListId).empty(), test.eventsCleared || test.listed.empty());
    if (test.listAfter != test.listed) {
      EXPECT_EQ(rig.c.Selection(kMacroNamesListId), static_cast<int>(test.listAfter.size()) - 1);
    }
    // Nothing is written before Confirm.
    EXPECT_EQ(ListMacroNames(rig.record), test.listed);
  }
}

TEST(MacroEditorDelete, RemovesTheSelectedMacro) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  rig.page.DeleteMacro();
  EXPECT_EQ(rig.c.Items(kMacroNamesListId), (Lines{"Jump", "Blank"}));
  EXPECT_TRUE(rig.c.Items(kEventListId).empty());
  EXPECT_EQ(rig.c.ChildText(kMacroNameEditId), "");
  EXPECT_EQ(ListMacroNames(rig.record), (Lines{"Jump", "Blank"}));

  // Without a selection nothing more goes.
  rig.page.DeleteMacro();
  EXPECT_EQ(ListMacroNames(rig.record), (Lines{"Jump", "Blank"}));
  EXPECT_TRUE(rig.services.messages.empty());
}

// ---- Confirm

TEST(MacroEditorConfirm, WritesTheFileAndEncodesTheSlot) {
  EditorRig rig;
  rig.Build();
  rig.c.SetChildText(kMacroNameEditId, "Fire");
  rig.page.NewMacro();
  rig.c.Type(kLoopTimesEditId, "2");
  rig.Record({"A"});
  rig.c.SetChildText(kMacroNameEditId, "Typed but not listed");
  rig.page.ConfirmMacro();

  EXPECT_EQ(ListMacroNames(rig.record), (Lines{"Fire"}));
  EXPECT_EQ(ReadMacro(rig.record, "Fire"), (Lines{kPressA, k50, kReleaseA}));
  EXPECT_EQ(rig.SlotStart(0, 8),
            (std::vector<std::uint8_t>{0x00, 0x02, 0x05, 0x04, 0x80, 0x04, 0x00, 0x00}));
  EXPECT_TRUE(rig.services.messages.empty());
}

TEST(MacroEditorConfirm, UnconfirmedNamesStayBehindTheStoredOnes) {
  EditorRig rig;
  rig.WriteRecord("[A]\r\nItemCount=1\r\nItem0=A   Dn\r\n[B]\r\nItemCount=0\r\n");
  rig.Build();
  rig.c.SetChildText(kMacroNameEditId, "New one");
  rig.page.NewMacro();
  rig.Choose(0);
  rig.page.ConfirmMacro();
  EXPECT_EQ(rig.c.Items(kMacroNamesListId), (Lines{"B", "A", "New one"}));
  EXPECT_EQ(rig.c.Selection(kMacroNamesListId), 1);
}

TEST(MacroEditorConfirm, RefusesAMacroTooLongForItsSlot) {
  struct Case {
    int strokes;
    bool stored;
  };
  // Four bytes a stroke with short pauses: 31 fit into 126 bytes, 32 do not.
  for (const Case test : {Case{31, true}, Case{32, false}}) {
    SCOPED_TRACE(test.strokes);
    EditorRig rig;
    // A macro edited by hand into record.ini, then confirmed in the page.
    std::string file = "[Long]\r\nItemCount=" + std::to_string(test.strokes * 4) + "\r\n";
    int item = 0;
    for (int i = 0; i < test.strokes; ++i) {
      for (const auto& line : {kPressA, k50, kReleaseA, k50}) {
        file += "Item" + std::to_string(item++) + "=" + line + "\r\n";
      }
    }
    rig.WriteRecord(file);
    rig.Build();
    const auto slotBefore = rig.Slot(0);
    rig.page.ConfirmMacro();
    // A stored macro is encoded into its slot at once.
    EXPECT_EQ(rig.Slot(0) != slotBefore, test.stored);
    EXPECT_EQ(rig.services.messages.empty(), test.stored);
    EXPECT_EQ(rig.c.Items(kEventListId).size(), static_cast<std::size_t>(test.strokes) * 4);
    if (!test.stored) {
      EXPECT_EQ(rig.services.messages[0].second, "Warning");
      EXPECT_EQ(rig.Slot(0), slotBefore);
    }
  }
}

TEST(MacroEditorConfirm, NamesHandEditedMacrosThatAreCutOrLeftOut) {
  EditorRig rig;
  std::string file = "[Huge]\r\nItemCount=140\r\n";
  for (int i = 0; i < 140; ++i) file += "Item" + std::to_string(i) + "=" + (i % 2 ? k50 : kPressA) + "\r\n";
  for (int i = 1; i < 13; ++i) file += "[M" + std::to_string(i) + "]\r\nItemCount=1\r\nItem0=A   Dn\r\n";
  rig.WriteRecord(file);
  rig.Build();
  rig.Choose(1);
  rig.page.ConfirmMacro();  // M1 moves behind M12
  ASSERT_EQ(rig.services.messages.size(), 2u) << rig.services.messages[0].first;
  EXPECT_EQ(rig.services.messages[0].first,
            "These macros are too long for the mouse; their last events are left out: Huge");
  EXPECT_EQ(rig.services.messages[1].first,
            "The mouse holds 12 macros; these are not stored in it: M1");
}

TEST(MacroEditorConfirm, WithoutASelectionNothingHappens) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  rig.page.DeleteMacro();  // leaves no macro selected
  const auto before = rig.Slot(0);
  rig.page.ConfirmMacro();
  EXPECT_EQ(ListMacroNames(rig.record), (Lines{"Jump", "Blank"}));
  EXPECT_EQ(rig.Slot(0), before);
}

// ---- Buttons and loop counts keep their macros

enum class StepKind { kNew, kConfirm, kDelete, kApply, kCancel };
struct Step {
  StepKind kind;
  std::string macro;
  std::string typedLoops;  // typed into the loop field after New, if any
};

// What start-up and every OK or Apply leave behind: the working record is the
// applied one, with its pane texts and the macros its slots follow.
void Applied(EditorRig& rig) {
  rig.settings.Snapshot();
  rig.model.SettingsLoaded(LoadResult::kLoaded);
  rig.page.OnApplied();
}

void RunStep(EditorRig& rig, const Step& step) {
  if (step.kind == StepKind::kApply) return Applied(rig);
  if (step.kind == StepKind::kCancel) {
    rig.model.afterCancel = [&rig] { rig.page.OnCancelled(); };
    return rig.model.CancelChanges();
  }
  if (step.kind == StepKind::kNew) {
    rig.c.SetChildText(kMacroNameEditId, step.macro);
    rig.page.NewMacro();
    if (!step.typedLoops.empty()) rig.c.Type(kLoopTimesEditId, step.typedLoops);
    return;
  }
  const Lines names = rig.c.Items(kMacroNamesListId);
  const int at = static_cast<int>(std::find(names.begin(), names.end(), step.macro) - names.begin());
  ASSERT_LT(at, static_cast<int>(names.size())) << step.macro;
  rig.Choose(at);
  if (step.kind == StepKind::kDelete) {
    rig.page.DeleteMacro();
    return;
  }
  if (rig.c.Items(kEventListId).empty()) rig.Record({step.macro}, false);
  rig.page.ConfirmMacro();
}

// Each macro presses the key of its name (A 0x04, B 0x05 ...). Confirm moves
// a macro to the end of the file and Delete takes one out, so slots shift:
// every Macro Key button must still play its macro with its loop mode, every
// macro keep its loop count, and a button whose macro is gone be Key Off. A
// button of a slot no listed macro holds (its record.ini lost) stays as it is
// until a macro comes to take its slot.
TEST(MacroEditorFollow, ButtonsAndLoopCountsKeepTheirMacros) {
  struct Button {
    int mode, button;
    std::string macro;  // empty: slot 3, which no listed macro holds
    std::uint8_t loopMode;
  };
  const Button buttons[] = {
      {0, 2, "A", 0}, {0, 6, "C", 1}, {1, 1, "B", 2}, {1, 7, "C", 0}, {1, 4, "", 1}};
  const Lines initial = {"A", "B", "C"};
  struct Case {
    const char* name;
    std::vector<Step> steps;
    Lines slots;             // the stored macros by slot afterwards
    std::vector<int> loops;  // their loop counts
    bool slot3ButtonKept;    // no macro came to take slot 3
  };
  using K = StepKind;
  const Case cases[] = {
      {"confirming the last", {{K::kConfirm, "C"}}, {"A", "B", "C"}, {5, 7, 9}, true},
      {"confirming the first", {{K::kConfirm, "A"}}, {"B", "C", "A"}, {7, 9, 5}, true},
      {"delete the first, confirm the next", {{K::kDelete, "A"}, {K::kConfirm, "B"}}, {"C", "B"}, {9, 7}, true},
      {"delete the last", {{K::kDelete, "C"}}, {"A", "B"}, {5, 7}, true},
      {"a new macro starts at one loop", {{K::kNew, "D"}, {K::kConfirm, "D"}}, {"A", "B", "C", "D"}, {5, 7, 9, 1},
       false},
      {"a typed count survives a delete before the new macro",
       {{K::kNew, "D", "3"}, {K::kDelete, "A"}, {K::kConfirm, "D"}}, {"B", "C", "D"}, {7, 9, 3}, false},
      {"five macros",
       {{K::kNew, "D"}, {K::kNew, "E", "4"}, {K::kConfirm, "E"}, {K::kDelete, "B"}, {K::kConfirm, "A"}},
       {"C", "E", "A"}, {9, 4, 5}, false},
      // Cancel takes the record back, but not record.ini.
      {"cancel after confirming the first", {{K::kConfirm, "A"}, {K::kCancel}}, {"B", "C", "A"}, {7, 9, 5},
       true},
      {"cancel after a delete and a confirm", {{K::kDelete, "A"}, {K::kConfirm, "B"}, {K::kCancel}},
       {"C", "B"}, {9, 7}, true},
      {"cancel after an apply",
       {{K::kConfirm, "A"}, {K::kApply}, {K::kConfirm, "B"}, {K::kCancel}}, {"C", "A", "B"}, {9, 5, 7}, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig;
    std::string file;
    for (const auto& name : initial) file += "[" + name + "]\r\nItemCount=1\r\nItem0=" + name + "   Dn\r\n";
    rig.WriteRecord(file);
    rig.SetLoopBytes(0, 0, 5);
    rig.SetLoopBytes(1, 0, 7);
    rig.SetLoopBytes(2, 0, 9);
    rig.SetLoopBytes(3, 0, 11);  // left over in slots no macro holds
    rig.SetLoopBytes(4, 0, 11);
    const std::string macroLabel = std::string(rig.model.texts[TextId::kMacroKey]) + "-";
    for (const Button& b : buttons) {
      KeyArea& area = rig.settings.working.area(b.mode);
      area.keyFunction[b.button] = kMacroKey;
      const auto at = std::find(initial.begin(), initial.end(), b.macro);
      area.macroIndex[b.button] = static_cast<std::uint8_t>(b.macro.empty() ? 3 : at - initial.begin());
      area.macroLoopMode[b.button] = b.loopMode;
      rig.model.skin.paneText[b.mode][b.button] = macroLabel + (b.macro.empty() ? "Old" : b.macro);
    }
    rig.Build();
    Applied(rig);
    for (const Step& step : test.steps) RunStep(rig, step);

    EXPECT_EQ(ListMacroNames(rig.record), test.slots);
    const Lines listed = rig.c.Items(kMacroNamesListId);
    EXPECT_EQ(Lines(listed.begin(), listed.begin() + std::min(listed.size(), test.slots.size())), test.slots);
    for (std::size_t slot = 0; slot < test.slots.size(); ++slot) {
      SCOPED_TRACE(test.slots[slot]);
      EXPECT_EQ(rig.SlotStart(static_cast<int>(slot), 4),
                (std::vector<std::uint8_t>{0, static_cast<std::uint8_t>(test.loops[slot]), 0x00,
                                           KeyCodeFromName(test.slots[slot])}));
    }
    KeyMatrix matrices[2];
    BuildKeyMatrices(rig.settings.working, matrices[0], matrices[1]);
    for (const Button& b : buttons) {
      SCOPED_TRACE("mode " + std::to_string(b.mode) + " button " + std::to_string(b.button));
      const auto at = std::find(test.slots.begin(), test.slots.end(), b.macro);
      const bool kept = b.macro.empty() ? test.slot3ButtonKept : at != test.slots.end();
      const int slot = b.macro.empty() ? 3 : static_cast<int>(at - test.slots.begin());
      const std::uint8_t* code = &matrices[b.mode][4 * MatrixSlotOfButton(b.button)];
      const std::vector<std::uint8_t> expected =
          kept ? std::vector<std::uint8_t>{0x09, b.loopMode, static_cast<std::uint8_t>(slot + 1), 0x00}
               : std::vector<std::uint8_t>{0, 0, 0, 0};
      EXPECT_EQ(std::vector<std::uint8_t>(code, code + 4), expected);
      EXPECT_EQ(rig.model.skin.paneText[b.mode][b.button],
                kept ? macroLabel + (b.macro.empty() ? "Old" : b.macro) : "Key Off");
    }
    EXPECT_TRUE(rig.services.messages.empty());
  }
}

// ---- Inserting mouse events

TEST(MacroEditorInsert, KeepsEventsAndDelaysAlternating) {
  struct Case {
    const char* name;
    Lines events;
    int selected;
    bool macroSelected;
    std::string chosen;
    int position;
    Lines inserted;
    int selectAfter;
  };
  const Lines three{kPressA, k50, kReleaseA};
  const Case cases[] = {
      {"empty, click", {}, kNoItem, true, "L-Button Click", 0,
       {"L-Button   Dn", k50, "L-Button   Up", k50}, kNoItem},
      {"empty, single", {}, kNoItem, true, "M-Button   Up", 0, {"M-Button   Up", k50}, kNoItem},
      {"empty without a macro", {}, kNoItem, false, "L-Button Click", 0, {}, kNoItem},
      {"lines but none selected", three, kNoItem, true, "L-Button Click", 0, {}, kNoItem},
      {"after a delay, click", three, 1, true, "R-Button Click", 2,
       {"R-Button   Dn", k50, "R-Button   Up", k50}, 2},
      {"after a delay, single", three, 1, true, "L-Button   Dn", 2, {"L-Button   Dn", k50}, 2},
      {"after an event, click", three, 2, true, "M-Button Click", 3,
       {k50, "M-Button   Dn", k50, "M-Button   Up"}, 4},
      {"after an event, single", three, 2, true, "R-Button   Up", 3, {k50, "R-Button   Up"}, 4},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const EventInsertion plan =
        PlanEventInsertion(test.events, test.selected, test.macroSelected, test.chosen);
    EXPECT_EQ(plan.lines, test.inserted);
    if (!test.inserted.empty()) {
      EXPECT_EQ(plan.position, test.position);
    }
    EXPECT_EQ(plan.selectAfter, test.selectAfter);
  }
}

TEST(MacroEditorInsert, TheChosenItemGoesIntoTheListAndTheStatic) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  rig.page.ToggleInsertList();
  ASSERT_TRUE(rig.services.ListExists(kInsertListId));
  EXPECT_EQ(rig.services.lists[kInsertListId], InsertListItems());
  rig.c.PointAt(kEventListId, 2);  // the line under the pointer is the selection
  rig.page.OnListChoice(kInsertListId, 4, false);  // "L-Button   Up"
  EXPECT_EQ(rig.c.Items(kEventListId), (Lines{kPressA, k50, kReleaseA, k50, "L-Button   Up"}));
  EXPECT_EQ(rig.c.Selection(kEventListId), 4);
  EXPECT_EQ(rig.c.ChildText(kInsertedEventStaticId), "L-Button   Up");
  EXPECT_FALSE(rig.services.ListExists(kInsertListId));
  EXPECT_FALSE(rig.model.lists().IsOpen(kInsertListId));
}

// ---- Delays

TEST(MacroEditorDelay, ADoubleClickedDelayTakesTheTypedValue) {
  struct Case {
    const char* name;
    int line;
    std::optional<std::string> typed;
    Point click;
    std::string lineAfter;
    bool dialogShown;
  };
  const Point ok{200, 260};
  const Point cancel{300, 260};
  const Case cases[] = {
      {"untouched", 1, std::nullopt, ok, " ms", true},
      {"10000", 1, "10000", ok, "10000 ms", true},
      {"10001", 1, "10001", ok, "50 ms", true},
      {"20000", 1, "20000", ok, "50 ms", true},
      {"0", 1, "0", ok, "0 ms", true},
      {"leading zero kept", 1, "0100", ok, "0100 ms", true},
      {"nine nines", 1, "999999999999", ok, "50 ms", true},
      {"cancel", 1, "700", cancel, "50 ms", true},
      {"an event line", 0, "700", ok, kPressA, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig;
    rig.WriteRecord(kTwoMacros);
    rig.Build();
    FakeSubDialogHost host;
    rig.services.runDialog = [&](SubDialogFrame& dialog) {
      return testing::RunDialogWithInput(dialog, host, kDelayFieldId, test.typed, test.click);
    };
    rig.page.OnListChoice(kEventListId, test.line, true);
    EXPECT_EQ(rig.c.Items(kEventListId)[test.line], test.lineAfter);
    EXPECT_EQ(rig.c.Items(kEventListId).size(), 3u);
    const bool shown = std::count(rig.services.calls.begin(), rig.services.calls.end(), "SUB_DIALOG") == 1;
    EXPECT_EQ(shown, test.dialogShown);
  }
}

// ---- Context menu

TEST(MacroEditorContextMenu, DeletesTheSelectedLineOnly) {
  struct Case {
    const char* name;
    int selected;
    bool chosen;
    Lines after;
  };
  const Case cases[] = {
      {"chosen", 0, true, {k50, kReleaseA}},
      {"dismissed", 0, false, {kPressA, k50, kReleaseA}},
      {"no line selected", kNoItem, true, {kPressA, k50, kReleaseA}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EditorRig rig(Language::kSimplifiedChinese);
    rig.WriteRecord(kTwoMacros);
    rig.Build();
    rig.c.Select(kEventListId, test.selected);
    rig.c.chooseMenuItem = test.chosen;
    rig.c.RightClick(kEventListId);
    EXPECT_EQ(rig.c.Items(kEventListId), test.after);
    EXPECT_EQ(rig.c.menuLabels, (Lines{std::string(LocalizedText(Language::kSimplifiedChinese, TextId::kDelete))}));
  }
}

// ---- Page structure

TEST(MacroEditorPage, RegionsRunTheirButtonsAndTheInsertBoxLetsTheClickGoOn) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  auto regions = rig.page.Regions();
  ASSERT_EQ(regions.size(), 6u);
  struct Case {
    Point p;
    int region;
  };
  // In order: Start, Stop, New, Delete, Confirm, the insert box; 617 lies in
  // New and Delete, and the first one takes it.
  const Case cases[] = {{{735, 229}, 0}, {{763, 293}, 1}, {{513, 528}, 2}, {{617, 540}, 2},
                        {{700, 548}, 3}, {{721, 528}, 3}, {{825, 548}, 4}, {{853, 415}, 5}};
  for (const Case& test : cases) {
    int first = -1;
    for (std::size_t i = 0; i < regions.size(); ++i) {
      if (regions[i].contains(test.p)) {
        first = static_cast<int>(i);
        break;
      }
    }
    EXPECT_EQ(first, test.region) << test.p.x << "," << test.p.y;
  }
  EXPECT_TRUE(regions[4].stopsDispatch);
  EXPECT_FALSE(regions[5].stopsDispatch);
  regions[5].action({740, 405});
  EXPECT_TRUE(rig.model.lists().IsOpen(kInsertListId));
  regions[5].action({740, 405});
  EXPECT_FALSE(rig.model.lists().IsOpen(kInsertListId));
}

TEST(MacroEditorPage, DrawsItsLabelsAndButtons) {
  EditorRig rig(Language::kSimplifiedChinese);
  testing::RecordingCanvas canvas;
  rig.page.Draw(canvas);
  const auto& lines = canvas.lines;
  auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  const auto text = [](TextId id) {
    return std::string(LocalizedText(Language::kSimplifiedChinese, id));
  };
  EXPECT_TRUE(has("TEXT center " + text(TextId::kMacroSetting) + " 469,160,578,181")) << lines[0];
  EXPECT_TRUE(has("TEXT left " + text(TextId::kInsertMouseEvent) + " 735,382,874,402"));
  EXPECT_TRUE(has("IMAGE /button-normal.png 721,528"));
  EXPECT_TRUE(has("TEXT center " + text(TextId::kConfirm) + " 721,528,826,549"));
  EXPECT_EQ(rig.page.HotControls().size(), 3u);
}

TEST(MacroEditorPage, TeardownRemovesControlsListAndHook) {
  EditorRig rig;
  rig.WriteRecord(kTwoMacros);
  rig.Build();
  rig.page.ToggleInsertList();
  rig.page.StartRecording();
  ASSERT_TRUE(rig.services.hookInstalled);
  const std::size_t messages = rig.services.messages.size();
  rig.page.Teardown();
  EXPECT_FALSE(rig.services.hookInstalled);
  EXPECT_FALSE(rig.services.ListExists(kInsertListId));
  EXPECT_TRUE(rig.c.children.empty());
  EXPECT_EQ(rig.services.messages.size(), messages);  // leaving says nothing
  EXPECT_EQ(rig.page.recorder().progress(), 0);
}

}  // namespace
}  // namespace vortal
