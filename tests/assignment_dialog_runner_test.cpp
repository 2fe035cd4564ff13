#include "ui/window/assignment_dialogs.h"

#include <gtest/gtest.h>

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

TEST(AssignmentDialogRunner, EachDialogsResultAfterOk) {
  RunnerRig rig;
  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost&) {
    dialog.OnLeftButtonDown({140, 135});  // the list field of the function dialogs
    dialog.OnListChoice(2);
  };
  const auto windows = rig.runner.ChooseWindowsFunction();
  ASSERT_TRUE(windows);
  EXPECT_EQ(rig.shownBackground, "BACKGROUND /program/Skins/Light/windows-key.png");
  EXPECT_EQ(windows->index, 2);
  EXPECT_EQ(windows->text, "Calculator");
  const auto media = rig.runner.ChooseMediaFunction();
  ASSERT_TRUE(media);
  EXPECT_EQ(media->index, 2);
  EXPECT_EQ(media->text, "Stop");

  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost& host) {
    dialog.OnLeftButtonDown({120, 77});
    dialog.OnListChoice(39);
    host.controls.Type(kFireTimesId, "0");
    host.Focus(kFireSpeedId);
    host.controls.Type(kFireSpeedId, "9");
    host.Focus(0);
  };
  const auto fire = rig.runner.ChooseFireKey();
  ASSERT_TRUE(fire);
  EXPECT_EQ(fire->index, 39);
  EXPECT_EQ(fire->text, "R-CTRL");
  EXPECT_EQ(fire->speed, 9);
  EXPECT_EQ(fire->times, 0);

  rig.script.act = [](SubDialogFrame&, FakeSubDialogHost& host) { host.Key("Right Ctrl"); };
  const auto single = rig.runner.ChooseSingleKey();
  ASSERT_TRUE(single);
  EXPECT_EQ(single->keyName, "Right Ctrl");

  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost& host) {
    dialog.OnLeftButtonDown({60, 77});
    dialog.OnListChoice(0);
    host.controls.focused = kComboSecondKeyId;
    host.Key("B");
  };
  const auto combo = rig.runner.ChooseComboKey();
  ASSERT_TRUE(combo);
  EXPECT_EQ(combo->modifier, "Left Ctrl");
  EXPECT_EQ(combo->key1, "");
  EXPECT_EQ(combo->key2, "B");

  rig.window.dir.Write("record.ini", "[Alpha]\nItemCount=0\n[Beta]\nItemCount=0\n");
  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost&) {
    dialog.OnLeftButtonDown({145, 135});
    dialog.OnListChoice(1);
    dialog.OnLeftButtonDown({228, 136});
  };
  const auto macro = rig.runner.ChooseMacro();
  ASSERT_TRUE(macro);
  EXPECT_EQ(macro->slot, 1);
  EXPECT_EQ(macro->name, "Beta");
  EXPECT_EQ(macro->repeatMode, 2);
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
    EXPECT_FALSE(rig.runner.ChooseWindowsFunction());
    EXPECT_FALSE(rig.runner.ChooseMediaFunction());
    EXPECT_FALSE(rig.runner.ChooseFireKey());
    EXPECT_FALSE(rig.runner.ChooseSingleKey());
    EXPECT_FALSE(rig.runner.ChooseComboKey());
    EXPECT_FALSE(rig.runner.ChooseMacro());
  }
}

TEST(AssignmentDialogRunner, DialogsSpeakTheWindowsLanguage) {
  RunnerRig rig;
  rig.window.model.texts = LocalizedTexts(Language::kSimplifiedChinese);
  rig.script.act = [](SubDialogFrame& dialog, FakeSubDialogHost&) {
    dialog.OnLeftButtonDown({140, 135});
    dialog.OnListChoice(4);
  };
  const auto media = rig.runner.ChooseMediaFunction();
  ASSERT_TRUE(media);
  EXPECT_EQ(media->text, "静音");
}

}  // namespace
}  // namespace vortal
