#include "macro/macro_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_hosts.h"

namespace vortal {
namespace {

using testing::FakeMainWindowServices;
using Lines = std::vector<std::string>;

class FakeEditor : public RecordingEditor {
 public:
  bool HasMacros() const override { return macros; }
  bool HasSelectedMacro() const override { return selected; }
  void ClearEvents() override { lines.clear(); }
  void AppendEvent(const std::string& line) override { lines.push_back(line); }
  bool macros = true;
  bool selected = true;
  Lines lines{"old line"};
};

struct RecorderRig {
  FakeMainWindowServices window;
  LocalizedTexts texts;
  FakeEditor editor;
  MacroRecorder recorder{window, texts, editor};

  void Press(const std::string& name, bool repeat = false) {
    window.Key({name, 0, false, false, repeat});
  }
  void Release(const std::string& name) { window.Key({name, 0, false, true, true}); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> shown;
    for (const auto& [text, caption] : window.messages) shown.push_back(text + " | " + caption);
    return shown;
  }
};

TEST(MacroRecorderKeys, RecordsPressesAndReleasesWithFixedDelays) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, int>> keys;  // name, 0 press / 1 release / 2 repeat
    Lines lines;
  };
  const Case cases[] = {
      {"A then B",
       {{"A", 0}, {"A", 1}, {"B", 0}, {"B", 1}},
       {"A   Dn", "50 ms", "A   Up", "50 ms", "B   Dn", "50 ms", "B   Up"}},
      {"held key repeats once",
       {{"A", 0}, {"A", 2}, {"A", 2}, {"A", 2}, {"A", 1}},
       {"A   Dn", "50 ms", "A   Up"}},
      {"release of a key pressed before the start (the Enter that closed the message)",
       {{"Enter", 1}, {"A", 0}, {"A", 1}},
       {"A   Dn", "50 ms", "A   Up"}},
      {"a repeat of another key than the last press counts",
       {{"Shift", 0}, {"A", 0}, {"Shift", 2}},
       {"Shift   Dn", "50 ms", "A   Dn", "50 ms", "Shift   Dn"}},
      {"names are compared with their case",
       {{"a", 0}, {"A", 2}},
       {"a   Dn", "50 ms", "A   Dn"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    RecorderRig rig;
    rig.recorder.Start();
    for (const auto& [name, kind] : test.keys) {
      if (kind == 1) {
        rig.Release(name);
      } else {
        rig.Press(name, kind == 2);
      }
    }
    EXPECT_EQ(rig.editor.lines, test.lines);
  }
}

TEST(MacroRecorderKeys, TheFirstKeyOfARecordingRepeatingIsDroppedToo) {
  RecorderRig rig;
  rig.recorder.Start();
  rig.Press("A");
  rig.Release("A");
  rig.recorder.Stop();
  rig.recorder.Start();  // the last press survives into the next recording
  rig.Press("A", true);
  rig.Press("B");
  EXPECT_EQ(rig.editor.lines, (Lines{"B   Dn"}));
  EXPECT_EQ(rig.recorder.lastPressName(), "B");
}

TEST(MacroRecorderKeys, LongNamesAreCutTo31Characters) {
  RecorderRig rig;
  rig.recorder.Start();
  rig.Press(std::string(40, 'k'));
  rig.Press("键" + std::string(35, 'x'));
  ASSERT_EQ(rig.editor.lines.size(), 3u);
  EXPECT_EQ(rig.editor.lines[0], std::string(31, 'k') + "   Dn");
  EXPECT_EQ(rig.editor.lines[2], "键" + std::string(30, 'x') + "   Dn");
}

TEST(MacroRecorderKeys, KeysAreNamedAsTheKeyTableNamesThem) {
  struct Case {
    const char* name;  // as the system reports the key
    int scanCode;
    bool extended;
    const char* line;
  };
  const Case cases[] = {
      {"A", 0x1E, false, "A   Dn"},
      {"Control", 0x1D, false, "Ctrl   Dn"},        // X11's name
      {"Control", 0x1D, true, "Right Ctrl   Dn"},   // the right one
      {"Return", 0x1C, false, "Enter   Dn"},
      {"Mystery", 0x00, false, "Mystery   Dn"},     // no code: kept as named
  };
  for (const Case& test : cases) {
    RecorderRig rig;
    rig.recorder.Start();
    KeyStroke key;
    key.name = test.name;
    key.scanCode = test.scanCode;
    key.extended = test.extended;
    rig.window.Key(key);
    ASSERT_EQ(rig.editor.lines.size(), 1u);
    EXPECT_EQ(rig.editor.lines[0], test.line) << test.name;
  }
}

TEST(MacroRecorderKeys, WithoutASelectedMacroKeysAreDropped) {
  RecorderRig rig;
  rig.recorder.Start();
  rig.editor.selected = false;
  rig.Press("A");
  rig.Release("A");
  EXPECT_TRUE(rig.editor.lines.empty());
}

TEST(MacroRecorderStartStop, MessagesHookAndTitle) {
  struct Case {
    const char* name;
    bool macros;
    unsigned hookError;
    std::vector<std::string> messages;
    bool installed;
    bool cleared;
    std::string title;
  };
  const Case cases[] = {
      {"no macro", false, 0, {"Macro name is blank | Warning"}, false, false, ""},
      {"started", true, 0, {"Start Recording | Vortal"}, true, true,
       "Press Ctrl+Break key to stop recording"},
      {"hook refused", true, 5,
       {"Start Recording | Vortal", "JournalRecordHook Install error code :5\n | Vortal"}, false,
       true, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    RecorderRig rig;
    rig.editor.macros = test.macros;
    rig.window.hookError = test.hookError;
    rig.recorder.Start();
    EXPECT_EQ(rig.Messages(), test.messages);
    EXPECT_EQ(rig.window.hookInstalled, test.installed);
    EXPECT_EQ(rig.recorder.started(), test.installed);
    EXPECT_EQ(rig.editor.lines.empty(), test.cleared);
    EXPECT_EQ(rig.window.windowTitle, test.title);
  }
}

TEST(MacroRecorderStartStop, StopRemovesTheHookOnce) {
  RecorderRig rig;
  rig.recorder.Stop();
  EXPECT_EQ(rig.Messages(),
            (std::vector<std::string>{"Stop Recording | Vortal",
                                      "It doesn’t start recording, unnecessary to press Stop key! | Warning"}));
  rig.window.messages.clear();

  rig.recorder.Start();
  rig.Press("A");
  EXPECT_EQ(rig.recorder.progress(), 1);
  rig.window.calls.clear();
  rig.recorder.Stop();
  EXPECT_FALSE(rig.window.hookInstalled);
  EXPECT_EQ(rig.window.recorderMessages, (std::vector<int>{kRecordedPress, kRecordingStopped}));
  // The key that closes the box is no longer recorded.
  const auto& calls = rig.window.calls;
  const auto removed = std::find(calls.begin(), calls.end(), "REMOVE_HOOK");
  const auto box = std::find(calls.begin(), calls.end(), "MESSAGE Stop Recording | Vortal");
  EXPECT_TRUE(removed < box && box != calls.end());
  EXPECT_EQ(rig.window.windowTitle, "Vortal");
  EXPECT_EQ(rig.recorder.progress(), 2);
  rig.Press("B");  // no hook: nothing is recorded
  EXPECT_EQ(rig.editor.lines, (Lines{"A   Dn"}));

  rig.window.messages.clear();
  rig.recorder.Stop();
  EXPECT_EQ(rig.Messages(), (std::vector<std::string>{"Stop Recording | Vortal"}));
  EXPECT_EQ(rig.window.recorderMessages.size(), 2u);
}

TEST(MacroRecorderStartStop, StartingAgainReplacesTheHookAndClearsTheList) {
  RecorderRig rig;
  rig.recorder.Start();
  rig.Press("A");
  rig.recorder.Start();
  EXPECT_TRUE(rig.editor.lines.empty());
  EXPECT_EQ(rig.window.hookInstalls, 2);
  EXPECT_EQ(std::count(rig.window.calls.begin(), rig.window.calls.end(), "REMOVE_HOOK"), 1);
  EXPECT_EQ(rig.recorder.progress(), 0);
}

TEST(MacroRecorderStartStop, LeavingThePageRemovesTheHookSilently) {
  RecorderRig rig;
  rig.recorder.Start();
  rig.Press("A");
  rig.window.messages.clear();
  rig.recorder.Leave();
  EXPECT_FALSE(rig.window.hookInstalled);
  EXPECT_TRUE(rig.window.messages.empty());
  EXPECT_EQ(rig.recorder.progress(), 1);
  // Stop afterwards only shows its box.
  rig.recorder.Stop();
  EXPECT_EQ(rig.Messages(), (std::vector<std::string>{"Stop Recording | Vortal"}));
}

}  // namespace
}  // namespace vortal
