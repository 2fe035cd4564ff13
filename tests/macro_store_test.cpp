#include "macro/macro_store.h"

#include "macro/macro_changes.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "files/profile_file.h"
#include "files/text_encoding.h"

namespace vortal {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class MacroStoreTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) const { temp_.Write("record.ini", bytes); }
  std::string Text() const { return Utf16ToUtf8(DecodeProfileText(temp_.ReadBytes("record.ini"))); }

  testing::TempDir temp_;
  const std::string path_ = temp_.File("record.ini");
};

TEST(MacroLineTest, ClassifiesByTheThreeSpaceMarkers) {
  const std::pair<const char*, MacroLineKind> cases[] = {
      {"A   Dn", MacroLineKind::kPress},
      {"L-Button   Up", MacroLineKind::kRelease},
      {"A  Dn", MacroLineKind::kOther},  // two spaces are no marker
      {"A   Dn   Up", MacroLineKind::kPress},
      {"X   Up   Dn", MacroLineKind::kPress},
      {"50 ms", MacroLineKind::kOther},
      {"", MacroLineKind::kOther},
      {"A   dn", MacroLineKind::kOther},
  };
  for (const auto& [line, kind] : cases) EXPECT_EQ(ClassifyMacroLine(line), kind) << line;
}

TEST_F(MacroStoreTest, WritesAMacroAsItemCountAndItems) {
  ASSERT_TRUE(WriteMacro(path_, "Fire", {"A   Dn", "50 ms", "A   Up"}));
  EXPECT_EQ(Text(), "[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n");
  EXPECT_EQ(ReadMacro(path_, "Fire"), (Lines{"A   Dn", "50 ms", "A   Up"}));
  EXPECT_EQ(ReadMacro(path_, "fire"), (Lines{"A   Dn", "50 ms", "A   Up"}));
}

TEST_F(MacroStoreTest, ConfirmingAgainMovesTheMacroToTheEnd) {
  ASSERT_TRUE(WriteMacro(path_, "One", {"A   Dn"}));
  ASSERT_TRUE(WriteMacro(path_, "Two", {"B   Dn"}));
  ASSERT_TRUE(WriteMacro(path_, "Three", {"C   Dn"}));
  ASSERT_TRUE(WriteMacro(path_, "One", {"D   Dn", "10 ms"}));
  EXPECT_EQ(ListMacroNames(path_), (Lines{"Two", "Three", "One"}));
  EXPECT_EQ(ReadMacro(path_, "One"), (Lines{"D   Dn", "10 ms"}));
  // A shorter macro leaves no stale lines of the longer one behind.
  ASSERT_TRUE(WriteMacro(path_, "One", {}));
  EXPECT_EQ(Text(),
            "[Two]\r\nItemCount=1\r\nItem0=B   Dn\r\n[Three]\r\nItemCount=1\r\nItem0=C   Dn\r\n"
            "[One]\r\nItemCount=0\r\n");
}

TEST_F(MacroStoreTest, ReadsHandEditedSections) {
  Put("[m]\r\n"
      "ItemCount=abc\r\n"
      "[n]\r\n"
      "itemcount= 3 lines\r\n"
      "ITEM0=A   Dn\r\n"
      "Item2=\"A   Up\"\r\n"
      "Item1=60 ms\r\n"
      "Item0=second Item0 is ignored\r\n"
      "Item3=beyond the count\r\n"
      "[neg]\r\n"
      "ItemCount=-4\r\n"
      "Item0=x\r\n"
      "[huge]\r\n"
      "ItemCount=2147483647\r\n"
      "Item1=B   Dn\r\n"
      "[long]\r\n"
      "ItemCount=1\r\n"
      "Item0=" + std::string(3000, 'x') + "\r\n");
  const std::pair<const char*, Lines> cases[] = {
      {"m", {}},                                  // no digits: empty macro
      {"n", {"A   Dn", "60 ms", "A   Up"}},       // any letter case, file order irrelevant
      {"neg", {}},
      {"missing", {}},
  };
  for (const auto& [name, lines] : cases) EXPECT_EQ(ReadMacro(path_, name), lines) << name;
  const Lines huge = ReadMacro(path_, "huge");
  ASSERT_EQ(huge.size(), static_cast<std::size_t>(kMaxMacroLines));
  EXPECT_EQ(huge[0], "");  // a missing item is an empty line
  EXPECT_EQ(huge[1], "B   Dn");
  EXPECT_EQ(ReadMacro(path_, "long"), Lines{std::string(1023, 'x')});
}

TEST_F(MacroStoreTest, ListsNamesAsTheProgramsListsSeeThem) {
  const std::string twenty(20, 'n');
  struct Case {
    const char* name;
    Lines sections;
    Lines listed;
  } cases[] = {
      {"file order", {"Zeta", "alpha", "Mid"}, {"Zeta", "alpha", "Mid"}},
      {"a name of 32 characters is left out",
       {"a", std::string(32, 'L'), std::string(31, 'K'), "b"},
       {"a", std::string(31, 'K'), "b"}},
      {"twelve names of 20 characters and one ending at index 254",
       Lines(12, twenty) + Lines{"xy", "z"},
       Lines(12, twenty) + Lines{"xy"}},
      {"a name crossing index 254 and those after it are ignored",
       Lines(12, twenty) + Lines{"xyz", "z"},
       Lines(12, twenty)},
  };
  for (const auto& c : cases) {
    std::string text;
    for (const auto& s : c.sections) text += "[" + s + "]\r\nItemCount=0\r\n";
    Put(text);
    EXPECT_EQ(ListMacroNames(path_), c.listed) << c.name;
  }
  fs::remove(path_);
  EXPECT_TRUE(ListMacroNames(path_).empty());
}

TEST_F(MacroStoreTest, NonAsciiNamesAndLinesSurvive) {
  Put("[Old]\r\nItemCount=1\r\nItem0=A   Dn\r\n");  // an ASCII file from an older version
  const Lines lines = {"键   Dn", "50 ms", "键   Up", "😀   Dn"};
  ASSERT_TRUE(WriteMacro(path_, "连招 😀", lines));
  ASSERT_TRUE(WriteMacro(path_, "Ärger", {"Ä   Dn"}));
  EXPECT_EQ(ListMacroNames(path_), (Lines{"Old", "连招 😀", "Ärger"}));
  EXPECT_EQ(ReadMacro(path_, "连招 😀"), lines);
  EXPECT_EQ(ReadMacro(path_, "ärger"), Lines{"Ä   Dn"});
  EXPECT_EQ(ReadMacro(path_, "Old"), Lines{"A   Dn"});
  EXPECT_EQ(ProfileFile(path_).encoding(), ProfileEncoding::kUtf16Le);
}

TEST_F(MacroStoreTest, NamesWithEqualsSemicolonsQuotesAndBlanksRoundTrip) {
  // Each name as the editor's "New" takes it, then confirmed, listed and read.
  const Lines names = {"a=b", "=", ";x", "x;y", "#1", "[x", "a b\tc", "\"q\"", "'s'", "=;[ ;="};
  Lines typed = {"  padded name \t"};
  typed.insert(typed.end(), names.begin(), names.end());
  MacroEditorState state;
  for (const std::string& name : typed) {
    state.nameField = name;
    ASSERT_EQ(NewMacro(state), NewMacroResult::kAdded) << name;
    ASSERT_TRUE(WriteMacro(path_, state.names.back(), {state.names.back() + "   Dn"})) << name;
  }
  EXPECT_EQ(state.names, Lines{"padded name"} + names);
  EXPECT_EQ(ListMacroNames(path_), state.names);
  for (const std::string& name : state.names) {
    EXPECT_EQ(ReadMacro(path_, name), Lines{name + "   Dn"}) << name;
  }
}

TEST_F(MacroStoreTest, AWriteThatCannotBeStoredChangesNothing) {
  ASSERT_TRUE(WriteMacro(path_, "Keep", {"A   Dn"}));
  const std::string before = Text();
  EXPECT_FALSE(WriteMacro(path_, "Keep", {"A   Dn", "bad\r\nline"}));
  EXPECT_FALSE(WriteMacro(path_, "br]acket", {"A   Dn"}));
  EXPECT_EQ(Text(), before);
}

TEST_F(MacroStoreTest, DeleteRemovesTheWholeSection) {
  ASSERT_TRUE(WriteMacro(path_, "One", {"A   Dn"}));
  ASSERT_TRUE(WriteMacro(path_, "Two", {"B   Dn"}));
  EXPECT_TRUE(DeleteMacro(path_, "ONE"));
  EXPECT_EQ(Text(), "[Two]\r\nItemCount=1\r\nItem0=B   Dn\r\n");
  EXPECT_TRUE(DeleteMacro(path_, "nothing"));
  EXPECT_TRUE(DeleteMacro(temp_.File("absent.ini"), "x"));
  EXPECT_FALSE(temp_.Exists("absent.ini"));
}

// ---- the editor's New and Delete -----------------------------------------------

struct NewCase {
  const char* name;
  Lines listed;
  std::string field;
  NewMacroResult result;
  Lines after;
  bool eventsCleared;
};

TEST(MacroEditorNewTest, FollowsTheRulesInOrder) {
  const Lines twelve = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  const std::string longName(40, 'x');
  const NewCase cases[] = {
      {"blank", {"a"}, "", NewMacroResult::kNameBlank, {"a"}, false},
      {"only blanks", {"a"}, "  \t ", NewMacroResult::kNameBlank, {"a"}, false},
      {"blank beats full", twelve, "", NewMacroResult::kNameBlank, twelve, false},
      {"thirteenth", twelve, "new", NewMacroResult::kTooMany, twelve, false},
      {"full beats duplicate", twelve, "12", NewMacroResult::kTooMany, twelve, false},
      {"same name in other case", {"Fire", "Jump"}, "fIRE", NewMacroResult::kNameExists,
       {"Fire", "Jump"}, false},
      {"non-ASCII letter case", {"Ärger"}, "äRGER", NewMacroResult::kNameExists, {"Ärger"}, false},
      {"bracket", {}, "a]b", NewMacroResult::kNameInvalid, {}, false},
      {"added to the end", {"Fire"}, "Jump", NewMacroResult::kAdded, {"Fire", "Jump"}, true},
      {"first name keeps the events", {}, "Fire", NewMacroResult::kAdded, {"Fire"}, false},
      {"trimmed", {"a"}, "  Jump  ", NewMacroResult::kAdded, {"a", "Jump"}, true},
      // Refused, never cut: a cut name is one the user never typed.
      {"longer than 31 characters", {}, longName, NewMacroResult::kNameTooLong, {}, false},
      {"31 characters and a blank", {}, std::string(31, 'x') + " ", NewMacroResult::kAdded,
       {std::string(31, 'x')}, false},
      {"a pair counts two", {}, std::string(30, 'x') + "😀", NewMacroResult::kNameTooLong, {}, false},
  };
  for (const auto& c : cases) {
    MacroEditorState state;
    state.names = c.listed;
    state.selected = c.listed.empty() ? std::nullopt : std::optional<std::size_t>(0);
    state.events = {"A   Dn", "50 ms"};
    state.nameField = c.field;
    EXPECT_EQ(NewMacro(state), c.result) << c.name;
    EXPECT_EQ(state.names, c.after) << c.name;
    EXPECT_EQ(state.events.empty(), c.eventsCleared) << c.name;
    if (c.result == NewMacroResult::kAdded) {
      EXPECT_EQ(state.selected, std::optional<std::size_t>(state.names.size() - 1)) << c.name;
    }
  }
}

TEST_F(MacroStoreTest, DeleteTakesTheMacroOutOfTheFileAndTheList) {
  ASSERT_TRUE(WriteMacro(path_, "One", {"A   Dn"}));
  ASSERT_TRUE(WriteMacro(path_, "Two", {"B   Dn"}));
  SettingsRecord record{};
  const Lines listed = {"One", "Two", "Unsaved"};

  MacroChange change = RemoveMacro(path_, record, listed, "Two");
  EXPECT_EQ(change.problem, MacroChangeProblem::kNone);
  EXPECT_EQ(change.order, (Lines{"One", "Unsaved"}));
  EXPECT_EQ(ListMacroNames(path_), Lines{"One"});

  // A name that was never confirmed is only in the list.
  change = RemoveMacro(path_, record, change.order, "Unsaved");
  EXPECT_EQ(change.problem, MacroChangeProblem::kNone);
  EXPECT_EQ(change.order, Lines{"One"});

  // A file that cannot be rewritten: the macro stays listed.
  fs::remove(path_);
  fs::create_directories(path_);
  change = RemoveMacro(path_, record, {"One"}, "One");
  EXPECT_EQ(change.problem, MacroChangeProblem::kNotDeleted);
  EXPECT_TRUE(change.order.empty());
}

}  // namespace
}  // namespace vortal
