#include "ui/dialogs/sub_dialog_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_hosts.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr SubDialogDropDown kKeyList{{50, 70, 132, 84}, {50, 86, 132, 256}, 573};

// A dialog with a list of three keys; OK copies the chosen key to the result.
class KeyListDialog : public SubDialogFrame {
 public:
  explicit KeyListDialog(Language language = Language::kEnglish)
      : SubDialogFrame({"/skins/Blue", {200, 100, 50}, language}, "/fire-key.png",
                       "FireKey Dialog Load background image failed!!!", kKeyList) {}

  std::string chosen;
  std::string okResult;
  int okCalls = 0;

 protected:
  void DrawContents(Canvas& canvas) override {
    canvas.DrawText(chosen, {50, 70, 132, 84}, TextAlign::kLeft, look().textColor,
                    FontKind::kNormal);
  }
  std::vector<std::string> ListItems() const override { return {"A", "B", "C"}; }
  std::string DropDownName() const override { return "Key"; }
  void OnListItemChosen(int, const std::string& text) override { chosen = text; }
  bool OnOk() override {
    ++okCalls;
    okResult = chosen;
    return true;
  }
};

struct Rig {
  FakeSubDialogHost host;
  KeyListDialog dialog;
  explicit Rig(Language language = Language::kEnglish) : dialog(language) {
    dialog.Initialize(host);
    host.calls.clear();
  }
};

TEST(SubDialogFrameTest, ClicksEndTheDialogByTheHalfOpenRectangles) {
  struct Case {
    Point p;
    std::vector<DialogResult> ended;
    int okCalls;
  };
  const std::vector<Case> cases = {
      {{166, 253}, {DialogResult::kOk}, 1},
      {{270, 260}, {DialogResult::kOk, DialogResult::kCancel}, 1},  // shared column
      {{271, 260}, {DialogResult::kCancel}, 0},
      {{374, 273}, {DialogResult::kCancel}, 0},
      {{375, 260}, {}, 0},
      {{200, 274}, {}, 0},
      {{352, 6}, {DialogResult::kCancel}, 0},
      {{369, 23}, {DialogResult::kCancel}, 0},
      {{370, 24}, {}, 0},
      {{370, 10}, {}, 0},
      {{10, 10}, {}, 0},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.dialog.OnLeftButtonDown(c.p);
    EXPECT_EQ(rig.host.ended, c.ended) << c.p.x << "," << c.p.y;
    EXPECT_EQ(rig.dialog.okCalls, c.okCalls) << c.p.x << "," << c.p.y;
    const DialogResult last = c.ended.empty() ? DialogResult::kNone : c.ended.back();
    EXPECT_EQ(rig.dialog.result(), last) << c.p.x << "," << c.p.y;
  }
}

TEST(SubDialogFrameTest, OkKeepsWhatTheListChoseAndNothingIsReadBack) {
  Rig rig;
  rig.dialog.OnLeftButtonDown({60, 75});  // field
  rig.host.lists[573] = {"A", "B", "C"};
  rig.dialog.OnListChoice(2);
  rig.dialog.OnLeftButtonDown({200, 260});
  EXPECT_EQ(rig.dialog.result(), DialogResult::kOk);
  EXPECT_EQ(rig.dialog.okResult, "C");
}

TEST(SubDialogFrameTest, MissingBackgroundTellsTheUserAndEndsTheDialog) {
  FakeSubDialogHost host;
  host.backgroundLoads = false;
  KeyListDialog dialog;
  EXPECT_FALSE(dialog.Initialize(host));
  EXPECT_EQ(host.calls, (std::vector<std::string>{
                            "BACKGROUND /skins/Blue/fire-key.png",
                            "MESSAGE error | FireKey Dialog Load background image failed!!!",
                            "END cancel"}));
  EXPECT_EQ(dialog.result(), DialogResult::kCancel);
  // Nothing is drawn on a window without a background.
  dialog.Paint();
  dialog.OnMouseHover({200, 260});
  EXPECT_TRUE(host.redraws.empty());
}

TEST(SubDialogFrameTest, PaintDrawsButtonsLabelsContentsThenClose) {
  struct Case {
    Language language;
    std::string ok;
    std::string cancel;
  };
  for (const Case& c : std::vector<Case>{{Language::kEnglish, "OK", "Cancel"},
                                          {Language::kSimplifiedChinese, "确定", "取消"},
                                          {Language::kTraditionalChinese, "確定", "取消"}}) {
    Rig rig(c.language);
    rig.dialog.Paint();
    ASSERT_EQ(rig.host.redraws.size(), 1u);
    EXPECT_EQ(rig.host.redraws[0], (std::vector<std::string>{
                                       "IMAGE /button-normal.png 166,253",
                                       "TEXT center " + c.ok + " 166,253,271,274",
                                       "IMAGE /button-normal.png 270,253",
                                       "TEXT center " + c.cancel + " 270,253,375,274",
                                       "TEXT left  50,70,132,84",
                                       "IMAGE /button-close-normal.png 352,6",
                                   }));
    EXPECT_EQ(rig.host.redrawFolders[0], "/skins/Blue");
    for (const Color& color : rig.host.textColors) EXPECT_EQ(color, (Color{200, 100, 50}));
  }
}

TEST(SubDialogFrameTest, MissingButtonImageIsReportedAfterThePaintAndTheRestIsDrawn) {
  Rig rig;
  rig.host.missingImages = {"/button-normal.png"};
  rig.dialog.Paint();
  ASSERT_EQ(rig.host.redraws.size(), 1u);
  EXPECT_EQ(rig.host.redraws[0].back(), "IMAGE /button-close-normal.png 352,6");
  EXPECT_EQ(rig.host.calls, (std::vector<std::string>{
                                "REDRAW", "MESSAGE LoadPng---Load image failed. | Vortal",
                                "MESSAGE LoadPng---Load image failed. | Vortal"}));
}

TEST(SubDialogFrameTest, HoverMovesBetweenButtonsInOneRepaint) {
  Rig rig;
  rig.dialog.OnMouseHover({200, 260});
  EXPECT_TRUE(rig.dialog.okHovered());
  rig.dialog.OnMouseHover({300, 260});  // straight onto Cancel
  EXPECT_TRUE(rig.dialog.cancelHovered());
  EXPECT_FALSE(rig.dialog.okHovered());
  ASSERT_EQ(rig.host.redraws.size(), 2u);
  EXPECT_EQ(rig.host.redraws[1], (std::vector<std::string>{
                                     "IMAGE /button-over.png 270,253",
                                     "TEXT center Cancel 270,253,375,274",
                                     "IMAGE /button-normal.png 166,253",
                                     "TEXT center OK 166,253,271,274",
                                 }));
  // The shared column belongs to OK for hovering: OK is tested first.
  rig.dialog.OnMouseHover({270, 260});
  EXPECT_TRUE(rig.dialog.okHovered());
  EXPECT_FALSE(rig.dialog.cancelHovered());
}

TEST(SubDialogFrameTest, MouseMoveAsksForHoverOnButtonsAndRestoresElsewhere) {
  Rig rig;
  rig.dialog.OnMouseMove({355, 10});
  EXPECT_EQ(rig.host.calls, std::vector<std::string>{"HOVER"});
  EXPECT_TRUE(rig.host.redraws.empty());

  rig.dialog.OnMouseHover({355, 10});
  rig.dialog.OnMouseHover({180, 260});
  rig.dialog.OnMouseMove({100, 150});
  EXPECT_FALSE(rig.dialog.okHovered());
  EXPECT_FALSE(rig.dialog.closeHovered());
  ASSERT_EQ(rig.host.redraws.size(), 3u);
  EXPECT_EQ(rig.host.redraws[2], (std::vector<std::string>{
                                     "IMAGE /button-normal.png 166,253",
                                     "TEXT center OK 166,253,271,274",
                                     "IMAGE /button-close-normal.png 352,6",
                                 }));
  // Nothing drawn over: moving on free spots repaints nothing.
  rig.dialog.OnMouseMove({100, 160});
  EXPECT_EQ(rig.host.redraws.size(), 3u);
}

TEST(SubDialogFrameTest, DropDownListOpensClosesAndGuardsTheEdits) {
  struct Step {
    Point click;
    bool openAfter;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"field opens",
       {{{60, 75}, true}},
       {"EDITS off", "CREATE_LIST 573 50,86,132,256"}},
      {"field again closes",
       {{{60, 75}, true}, {{131, 83}, false}},
       {"EDITS off", "CREATE_LIST 573 50,86,132,256", "DESTROY_LIST 573", "EDITS on"}},
      {"click in the list keeps it",
       {{{60, 75}, true}, {{100, 255}, true}},
       {"EDITS off", "CREATE_LIST 573 50,86,132,256"}},
      {"click elsewhere closes it",
       {{{60, 75}, true}, {{100, 256}, false}},
       {"EDITS off", "CREATE_LIST 573 50,86,132,256", "DESTROY_LIST 573", "EDITS on"}},
      {"closed list: elsewhere does nothing", {{{10, 10}, false}}, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    for (const Step& step : c.steps) {
      rig.dialog.OnLeftButtonDown(step.click);
      EXPECT_EQ(rig.dialog.listOpen(), step.openAfter) << c.name;
      EXPECT_EQ(rig.host.ListExists(573), step.openAfter) << c.name;
    }
    EXPECT_EQ(rig.host.calls, c.calls) << c.name;
  }
}

TEST(SubDialogFrameTest, ListChoiceShowsTheItemAndClosesTheList) {
  struct Case {
    int index;
    std::string chosen;
    bool listStays;
  };
  for (const Case& c : std::vector<Case>{{1, "B", false}, {-1, "", true}, {3, "", true}}) {
    Rig rig;
    rig.dialog.OnLeftButtonDown({60, 75});
    rig.host.calls.clear();
    rig.dialog.OnListChoice(c.index);
    EXPECT_FALSE(rig.dialog.listOpen()) << c.index;
    EXPECT_EQ(rig.dialog.chosen, c.chosen) << c.index;
    EXPECT_EQ(rig.host.ListExists(573), c.listStays) << c.index;
    if (!c.listStays) {
      EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"INVALIDATE 50,70,132,84",
                                                          "DESTROY_LIST 573", "EDITS on"}));
    }
  }
}

// The dialog from the keyboard: Enter is OK unless a button other than OK is
// in focus, Escape is Cancel, an open list takes its keys first.
TEST(SubDialogFrameTest, KeysEndTheDialogAsInEveryDialog) {
  using K = Key;
  struct Case {
    const char* name;
    std::vector<K> keys;
    std::vector<DialogResult> ended;
    std::string okResult;
    std::string focused;
  };
  const std::vector<Case> cases = {
      {"Enter with nothing in focus is OK", {K::kEnter}, {DialogResult::kOk}, "", ""},
      {"Escape is Cancel", {K::kTab, K::kEscape}, {DialogResult::kCancel}, "", "Key"},
      {"Tab goes from the list's field to OK, then close",
       {K::kTab, K::kTab, K::kTab}, {}, "", "Close"},
      {"Enter on Cancel cancels", {K::kTab, K::kTab, K::kRight, K::kEnter}, {DialogResult::kCancel}, "",
       "Cancel"},
      {"Space opens the list, the arrows and Enter choose, Enter is then OK",
       {K::kTab, K::kSpace, K::kDown, K::kDown, K::kEnter, K::kEnter}, {DialogResult::kOk}, "B", "Key"},
      {"Escape in the open list closes only the list",
       {K::kTab, K::kSpace, K::kEscape}, {}, "", "Key"},
  };
  for (const Case& c : cases) {
    Rig rig;
    for (K key : c.keys) EXPECT_TRUE(rig.dialog.OnKey({key})) << c.name;
    EXPECT_EQ(rig.host.ended, c.ended) << c.name;
    EXPECT_EQ(rig.dialog.okResult, c.okResult) << c.name;
    EXPECT_EQ(rig.dialog.FocusedName(), c.focused) << c.name;
    EXPECT_FALSE(rig.host.ListExists(kKeyList.listId) && c.ended.size() == 1) << c.name;
  }
}

}  // namespace
}  // namespace vortal
