#include "ui/window/assignment_dialogs.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/fake_hosts.h"
#include "support/main_window_rig.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/dialogs/function_dialogs.h"
#include "ui/dialogs/macro_dialog.h"
#include "ui/dialogs/single_dialog.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kCancel{300, 260};

// The user's part in one dialog, played on a fake dialog host.
struct Script {
  std::function<void(SubDialogFrame&, FakeSubDialogHost&)> act;
  Point end = kOk;
};

struct RunnerRig {
  testing::MainWindowRig window;
  AssignmentDialogRunner runner{window.model, window.dir.File("record.ini")};
  std::string shownBackground;
  Script script;

  RunnerRig() {
    window.model.skin.skinFolderPath = "/program/Skins/Light";
    window.services.runDialog = [this](SubDialogFrame& dialog) {
      FakeSubDialogHost host;
      if (!host.Open(dialog)) return DialogResult::kCancel;
      shownBackground = host.calls.front();
      if (script.act) script.act(dialog, host);
      dialog.OnLeftButtonDown(script.end);
      return dialog.result();
    };
  }
};

const ButtonAction kNothing = PlainFunction{kLeftClick};

TEST(AssignmentDialogRunner, EachDialogGivesItsActionAfterOk) {
  RunnerRig rig;
  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost&) {
    dialog.OnLeftButtonDown({140, 135});  // the list field of the function dialogs
    dialog.OnListChoice(2);
  };
  EXPECT_EQ(rig.runner.Choose(kWindowsFunction, kNothing), ButtonAction(WindowsAction{2}));
  EXPECT_EQ(rig.shownBackground, "BACKGROUND /program/Skins/Light/windows-key.png");
  EXPECT_EQ(rig.runner.Choose(kMultimedia, kNothing), ButtonAction(MultimediaAction{2}));

  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost& host) {
    dialog.OnLeftButtonDown({120, 77});
    dialog.OnListChoice(39);
    host.controls.Type(kFireTimesId, "0");
    host.Focus(kFireSpeedId);
    host.controls.Type(kFireSpeedId, "9");
    host.Focus(0);
  };
  EXPECT_EQ(rig.runner.Choose(kFireKey, kNothing), ButtonAction(FireKeyAction{39, 9, 0}));

  rig.script.act = [](SubDialogFrame&, FakeSubDialogHost& host) { host.Key("Right Ctrl"); };
  EXPECT_EQ(rig.runner.Choose(kSingleKey, kNothing), ButtonAction(SingleKeyAction{0xE4, {}}));

  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost& host) {
    dialog.OnLeftButtonDown({60, 77});
    dialog.OnListChoice(0);
    host.controls.focused = kComboSecondKeyId;
    host.Key("B");
  };
  EXPECT_EQ(rig.runner.Choose(kComboKey, kNothing), ButtonAction(ComboKeyAction{0x01, 0, 0x05}));

  rig.window.dir.Write("record.ini", "[Alpha]\nItemCount=0\n[Beta]\nItemCount=0\n");
  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost&) {
    dialog.OnLeftButtonDown({145, 135});
    dialog.OnListChoice(1);
    dialog.OnLeftButtonDown({228, 136});
  };
  EXPECT_EQ(rig.runner.Choose(kMacroKey, kNothing),
            ButtonAction(MacroKeyAction{1, MacroRepeat::kUntilAnyKey}));
}

// Every dialog opens on the button's action: OK at once gives it back, and
// the fields show it.
TEST(AssignmentDialogRunner, EachDialogOpensOnTheButtonsAction) {
  RunnerRig rig;
  rig.window.dir.Write("record.ini", "[Alpha]\nItemCount=0\n[Beta]\nItemCount=0\n");
  std::map<int, std::string> shown;
  rig.script.act = [&](SubDialogFrame&, FakeSubDialogHost& host) {
    shown.clear();
    for (const auto& [id, child] : host.controls.children) shown[id] = child.text;
  };
  struct Case {
    FunctionType function;
    ButtonAction action;
    int field;
    const char* text;
  } cases[] = {
      {kWindowsFunction, WindowsAction{6}, kWindowsFieldId, "Browser-Back"},
      {kMultimedia, MultimediaAction{4}, kMediaFieldId, "Mute"},
      {kFireKey, FireKeyAction{17, 20, 3}, kFireSpeedId, "20"},
      {kSingleKey, SingleKeyAction{0x3E, {}}, kSingleKeyFieldId, "F5"},
      {kComboKey, ComboKeyAction{0x02, 0x04, 0x05}, kComboSecondKeyId, "B"},
      {kMacroKey, MacroKeyAction{1, MacroRepeat::kWhileHeld}, kMacroNameFieldId, "Beta"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(rig.runner.Choose(c.function, c.action), c.action);
    EXPECT_EQ(shown[c.field], c.text);
  }
}

TEST(AssignmentDialogRunner, CancelAndAMissingBackgroundGiveNothing) {
  for (bool missing : {false, true}) {
    RunnerRig rig;
    rig.script.end = kCancel;
    if (missing) {
      rig.window.services.runDialog = [](SubDialogFrame& dialog) {
        FakeSubDialogHost host;
        host.backgroundLoads = false;
        host.Open(dialog);
        return dialog.result();
      };
    }
    for (FunctionType function : {kWindowsFunction, kMultimedia, kFireKey, kSingleKey, kComboKey, kMacroKey})
      EXPECT_FALSE(rig.runner.Choose(function, kNothing)) << function;
  }
}

TEST(AssignmentDialogRunner, DialogsSpeakTheWindowsLanguage) {
  RunnerRig rig;
  rig.window.model.texts = LocalizedTexts(Language::kSimplifiedChinese);
  std::string field;
  rig.script.act = [&](SubDialogFrame& dialog, FakeSubDialogHost& host) {
    dialog.OnLeftButtonDown({140, 135});
    dialog.OnListChoice(4);
    field = host.Text(kMediaFieldId);
  };
  EXPECT_EQ(rig.runner.Choose(kMultimedia, kNothing), ButtonAction(MultimediaAction{4}));
  EXPECT_EQ(field, "静音");
}

}  // namespace
}  // namespace vortal
