#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/main_window_rig.h"
#include "support/recording_canvas.h"
#include "support/settings_records.h"
#include "support/temp_dir.h"
#include "ui/window/main_window_model.h"

namespace vortal {
namespace {

// A page with two regions, a list with a companion, a list without an area,
// a region that lets the click go on, and one hot control.
class FakePage : public MainWindowPage {
 public:
  explicit FakePage(DropDownLists& lists) : lists_(lists) {}
  void Build() override { log.push_back("build"); }
  void Teardown() override { log.push_back("teardown"); }
  std::vector<DropDownList> Lists() const override {
    return {{41, {252, 186, 463, 207}, Rect{252, 208, 463, 478}, {37}},
            {64, {766, 359, 851, 374}, std::nullopt, {}}};
  }
  std::vector<PageRegion> Regions() override {
    return {
        RectRegion({252, 186, 463, 207}, [this](Point) { lists_.Toggle(41, {252, 208, 463, 478}, {"x"}); }),
        RectRegion({766, 359, 851, 374}, [this](Point) { lists_.Toggle(64, {766, 377, 851, 437}, {"y"}); }),
        {[](Point p) { return Rect{300, 300, 400, 320}.Contains(p); },
         [this](Point) { log.push_back("goes on"); }, false},
        RectRegion({300, 310, 400, 330}, [this](Point) { log.push_back("stops"); }),
    };
  }
  std::vector<HotControl> HotControls() const override {
    if (!hot) return {};
    return {{100, {307, 549, 412, 570}, 0, [](Canvas& canvas, bool over) {
               canvas.DrawImage(over ? "/button-over.png" : "/button-normal.png", {307, 549});
             }}};
  }
  void OnListChoice(int listId, int index, bool doubleClick) override {
    log.push_back("list " + std::to_string(listId) + " " + std::to_string(index) +
                  (doubleClick ? " double" : ""));
  }
  std::vector<WindowControl> Controls() override { return {}; }
  std::vector<std::string> log;
  bool hot = true;

 private:
  DropDownLists& lists_;
};

struct Rig : testing::MainWindowRig {
  FakePage basic{model.lists()};
  FakePage advanced{model.lists()};
  int pointerApplies = 0;

  explicit Rig(bool present = true) {
    dir.Write("config.bin", std::string(kSettingsFileSize, '\0'));
    if (present) link.FindDevice(backend);
    model.skin.skinFolderPath = "/p/Skins/Blue";
    model.skin.textColor = {10, 20, 30};
    model.SetPage(kBasicPage, &basic);
    model.SetPage(kAdvancedPage, &advanced);
    model.afterApply = [this] {
      ++pointerApplies;
      // The applied record is already the working one.
      EXPECT_EQ(std::memcmp(&settings.applied, &settings.working, kSettingsRecordSize), 0);
    };
    model.openSkinDialog = [this] { services.calls.push_back("SKINS"); };
  }
};

TEST(ClickDispatcherTest, FrameButtonsByTheHalfOpenRectangles) {
  struct Case {
    const char* name;
    Point p;
    bool present;
    int applies;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"OK", {513, 609}, true, 1, {"HIDE", "DRAG 513,609"}},
      {"OK without mouse", {513, 609}, false, 0, {"DRAG 513,609"}},
      {"OK and Apply share 617", {617, 620}, true, 2, {"HIDE", "DRAG 617,620"}},
      {"Apply", {700, 629}, true, 1, {"DRAG 700,629"}},
      {"Apply and Cancel share 721", {721, 615}, true, 1, {"HIDE", "DRAG 721,615"}},
      {"Cancel", {825, 615}, true, 0, {"HIDE", "DRAG 825,615"}},
      {"below the row", {700, 630}, true, 0, {"DRAG 700,630"}},
      {"Skins", {701, 5}, true, 0, {"SKINS"}},
      {"Minimise", {842, 22}, true, 0, {"HIDE"}},
      {"Close", {850, 5}, true, 0, {"CLOSE_LISTENER", "TRAY_REMOVE", "EXIT 0"}},
      {"right of Close", {868, 5}, true, 0, {"DRAG 868,5"}},
      {"Basic page", {20, 55}, true, 0, {}},
      {"Advanced page", {109, 94}, true, 0, {}},
  };
  for (const Case& c : cases) {
    Rig rig(c.present);
    rig.model.OnLeftButtonDown(c.p);
    // The scripted mouse answers nothing: each Apply tells the user so.
    std::vector<std::string> calls;
    int told = 0;
    for (const std::string& call : rig.services.calls) {
      if (call.rfind("MESSAGE The mouse did not take all of the settings", 0) == 0)
        ++told;
      else
        calls.push_back(call);
    }
    EXPECT_EQ(calls, c.calls) << c.name;
    EXPECT_EQ(told, c.applies) << c.name;
    EXPECT_EQ(rig.pointerApplies, c.applies) << c.name;
    EXPECT_EQ(rig.model.lastClick(), c.p) << c.name;
  }
}

TEST(ClickDispatcherTest, ApplyWritesTheMouseSavesTheFileAndMakesTheRecordApplied) {
  Rig rig;
  rig.settings.working.dpiLevel[0] = 7;
  rig.backend.trace->lines.clear();
  rig.model.OnLeftButtonDown({650, 615});
  EXPECT_FALSE(rig.backend.trace->lines.empty());
  EXPECT_EQ(rig.settings.applied.dpiLevel[0], 7);
  testing::ExpectAppliedConfig(rig.dir.File("config.bin"), rig.settings.working);
}

TEST(ClickDispatcherTest, CancelRestoresEveryByteOfTheAppliedRecord) {
  Rig rig;
  const SettingsRecord applied = testing::PatternRecord(0);
  rig.settings.applied = applied;
  std::memset(&rig.settings.working, 0xA5, kSettingsRecordSize);
  rig.model.OnLeftButtonDown({800, 620});
  EXPECT_EQ(std::memcmp(&rig.settings.working, &applied, kSettingsRecordSize), 0);
  EXPECT_TRUE(rig.model.restoreRedrawPending);
  // Nothing reached the mouse or the file.
  EXPECT_EQ(rig.dir.ReadBytes("config.bin"), std::vector<std::uint8_t>(kSettingsFileSize, 0));
}

TEST(ClickDispatcherTest, PageButtonsBuildOnlyAPageNotShownAndTearTheOtherDown) {
  Rig rig;
  rig.model.OnLeftButtonDown({30, 60});
  rig.model.OnLeftButtonDown({30, 60});
  EXPECT_EQ(rig.model.currentPage(), kBasicPage);
  EXPECT_TRUE(rig.model.basicPageBuilt());
  EXPECT_EQ(rig.basic.log, std::vector<std::string>{"build"});
  EXPECT_EQ(rig.advanced.log, std::vector<std::string>{"teardown"});

  rig.model.OnLeftButtonDown({80, 60});
  EXPECT_EQ(rig.model.currentPage(), kAdvancedPage);
  EXPECT_EQ(rig.basic.log, (std::vector<std::string>{"build", "teardown"}));
  EXPECT_EQ(rig.advanced.log, (std::vector<std::string>{"teardown", "build"}));

  rig.model.TeardownPagesExcept(kTeardownAllPages);
  EXPECT_EQ(rig.basic.log.back(), "teardown");
  EXPECT_EQ(rig.advanced.log.back(), "teardown");
}

TEST(ClickDispatcherTest, PageRegionsStopTheDragAndFreeSpotsDrag) {
  struct Case {
    const char* name;
    int page;
    Point p;
    std::vector<std::string> log;
    bool drags;
  };
  const std::vector<Case> cases = {
      {"free spot", kBasicPage, {150, 150}, {}, true},
      {"region", kBasicPage, {350, 325}, {"stops"}, false},
      {"region that goes on, then a stopping one", kBasicPage, {350, 312}, {"goes on", "stops"}, false},
      {"region that goes on, then nothing", kBasicPage, {350, 302}, {"goes on"}, true},
      {"no page: everything drags", kNoPage, {350, 325}, {}, true},
  };
  for (const Case& c : cases) {
    Rig rig;
    if (c.page != kNoPage) rig.model.BuildPage(c.page);
    rig.basic.log.clear();
    rig.services.calls.clear();
    rig.model.OnLeftButtonDown(c.p);
    EXPECT_EQ(rig.basic.log, c.log) << c.name;
    const bool dragged = std::count(rig.services.calls.begin(), rig.services.calls.end(),
                                    "DRAG " + std::to_string(c.p.x) + "," + std::to_string(c.p.y));
    EXPECT_EQ(dragged, c.drags) << c.name;
  }
}

TEST(ClickDispatcherTest, ListsCloseOnClicksOutsideHeaderAndArea) {
  struct Case {
    const char* name;
    Point second;
    bool list41Open;
    bool list64Open;
    bool subListStays;
  };
  const std::vector<Case> cases = {
      {"inside list 41's area", {300, 300}, true, false, true},
      {"on header 41 again", {300, 190}, false, false, true},
      {"free spot", {150, 150}, false, false, false},
      {"on header 64", {800, 365}, false, false, false},  // toggles 64 closed
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.model.BuildPage(kBasicPage);
    rig.model.OnLeftButtonDown({300, 190});  // opens 41
    rig.services.lists[37] = {"sub"};        // the DPI-switch sub-list of an item
    rig.model.lists().Open(64, {766, 377, 851, 437}, {"y"});
    rig.model.OnLeftButtonDown(c.second);
    EXPECT_EQ(rig.model.lists().IsOpen(41), c.list41Open) << c.name;
    EXPECT_EQ(rig.services.ListExists(41), c.list41Open) << c.name;
    EXPECT_EQ(rig.model.lists().IsOpen(64), c.list64Open) << c.name;
    EXPECT_EQ(rig.services.ListExists(37), c.subListStays) << c.name;
  }
}

TEST(ClickDispatcherTest, ListNotificationsReachOnlyThePageShown) {
  Rig rig;
  rig.model.OnListNotification(41, 2, false);  // no page yet
  rig.model.BuildPage(kAdvancedPage);
  rig.model.OnListNotification(154, 3, true);
  rig.model.BuildPage(kBasicPage);
  rig.model.OnListNotification(41, -1, false);
  EXPECT_EQ(rig.advanced.log, (std::vector<std::string>{"build", "list 154 3 double", "teardown"}));
  EXPECT_EQ(rig.basic.log, (std::vector<std::string>{"teardown", "build", "list 41 -1"}));
}

TEST(ClickDispatcherTest, NonClientPaintHidesTheWindowTwiceThenPaints) {
  Rig rig;
  EXPECT_EQ(rig.model.hideOnStartCount(), 2);
  EXPECT_TRUE(rig.model.OnNcPaint());
  EXPECT_TRUE(rig.model.OnNcPaint());
  EXPECT_FALSE(rig.model.OnNcPaint());
  EXPECT_FALSE(rig.model.OnNcPaint());
  EXPECT_EQ(rig.services.calls, (std::vector<std::string>{"HIDE", "HIDE"}));
  EXPECT_EQ(rig.model.hideOnStartCount(), 0);
}

TEST(HoverTest, HoverDrawsTheControlOverAndRestoresItsGroupInOneRepaint) {
  struct Case {
    const char* name;
    std::vector<Point> hovers;
    std::vector<std::string> lastRedraw;
    std::vector<int> over;
  };
  const std::vector<Case> cases = {
      {"OK",
       {{520, 615}},
       {"IMAGE /button-over.png 513,609", "TEXT center OK 513,609,618,630"},
       {kFrameOk}},
      {"OK straight onto Apply",
       {{520, 615}, {650, 615}},
       {"IMAGE /button-over.png 617,609", "TEXT center Apply 617,609,722,630",
        "IMAGE /button-normal.png 513,609", "TEXT center OK 513,609,618,630"},
       {kFrameApply}},
      {"Cancel after OK and Apply were both drawn over",
       {{520, 615}, {650, 615}, {800, 615}},
       {"IMAGE /button-over.png 721,609", "TEXT center Cancel 721,609,826,630",
        "IMAGE /button-normal.png 617,609", "TEXT center Apply 617,609,722,630"},
       {kFrameCancel}},
      {"page pair",
       {{30, 60}, {80, 60}},
       {"IMAGE /button-NextPage-over.png 70,55", "IMAGE /button-PrePage-normal.png 20,55"},
       {kFrameAdvancedPage}},
      {"Skins keeps Close drawn over",
       {{855, 10}, {705, 10}},
       {"IMAGE /button-Skins-over.png 701,5"},
       {kFrameSkins, kFrameClose}},
      {"page control on its page", {{310, 550}}, {"IMAGE /button-over.png 307,549"}, {100}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.model.BuildPage(kBasicPage);
    for (Point p : c.hovers) rig.model.OnMouseHover(p);
    ASSERT_EQ(rig.services.redraws.size(), c.hovers.size()) << c.name;
    EXPECT_EQ(rig.services.redraws.back(), c.lastRedraw) << c.name;
    EXPECT_EQ(rig.services.redrawFolders.back(), "/p/Skins/Blue") << c.name;
    for (int id : {int{kFrameOk}, int{kFrameApply}, int{kFrameCancel}, int{kFrameSkins},
                   int{kFrameClose}, int{kFrameAdvancedPage}, 100}) {
      const bool expected = std::find(c.over.begin(), c.over.end(), id) != c.over.end();
      EXPECT_EQ(rig.model.IsDrawnOver(id), expected) << c.name << " control " << id;
    }
    for (const Color& color : rig.services.textColors) EXPECT_EQ(color, (Color{10, 20, 30}));
  }
}

TEST(HoverTest, PageControlsAreHotOnlyOnTheirPage) {
  struct Case {
    int page;
    bool hot;
  };
  for (const Case& c : std::vector<Case>{{kBasicPage, true}, {kAdvancedPage, false}, {kNoPage, false}}) {
    Rig rig;
    rig.advanced.hot = false;
    if (c.page != kNoPage) rig.model.BuildPage(c.page);
    rig.services.calls.clear();
    rig.model.OnMouseHover({310, 550});
    rig.model.OnMouseMove({310, 550});
    EXPECT_EQ(rig.model.IsDrawnOver(100), c.hot) << c.page;
    const std::vector<std::string> expected =
        c.hot ? std::vector<std::string>{"REDRAW", "HOVER"} : std::vector<std::string>{};
    EXPECT_EQ(rig.services.calls, expected) << c.page;
  }
}

TEST(HoverTest, MouseMoveAsksForHoverOnHotControlsAndRestoresOnFreeSpots) {
  Rig rig;
  rig.model.BuildPage(kBasicPage);
  struct Step {
    Point p;
    std::vector<std::string> calls;
  };
  rig.model.OnMouseHover({520, 615});
  rig.model.OnMouseHover({855, 10});
  rig.services.calls.clear();
  const std::vector<Step> steps = {
      {{650, 615}, {"HOVER"}},
      {{310, 550}, {"HOVER"}},
      // Leaving the window sends no move: both stay drawn over until the
      // pointer is next on a spot that is not hot.
      {{150, 150}, {"REDRAW"}},
      {{160, 150}, {}},
  };
  for (const Step& step : steps) {
    rig.services.calls.clear();
    rig.model.OnMouseMove(step.p);
    EXPECT_EQ(rig.services.calls, step.calls) << step.p.x;
  }
  EXPECT_EQ(rig.services.redraws.back(),
            (std::vector<std::string>{"IMAGE /button-normal.png 513,609",
                                      "TEXT center OK 513,609,618,630",
                                      "IMAGE /button-close-normal.png 850,5"}));
  EXPECT_FALSE(rig.model.IsDrawnOver(kFrameOk));
  EXPECT_FALSE(rig.model.IsDrawnOver(kFrameClose));
}

TEST(HoverTest, FrameDrawsEveryButtonNormalWithTheLocalizedCaptions) {
  Rig rig;
  rig.model.texts = LocalizedTexts(Language::kTraditionalChinese);
  testing::RecordingCanvas canvas;
  rig.model.DrawFrame(canvas);
  const std::string ok(LocalizedText(Language::kTraditionalChinese, TextId::kOk));
  const std::string apply(LocalizedText(Language::kTraditionalChinese, TextId::kApply));
  const std::string cancel(LocalizedText(Language::kTraditionalChinese, TextId::kCancel));
  EXPECT_EQ(canvas.lines, (std::vector<std::string>{
                              "IMAGE /button-normal.png 513,609",
                              "TEXT center " + ok + " 513,609,618,630",
                              "IMAGE /button-normal.png 617,609",
                              "TEXT center " + apply + " 617,609,722,630",
                              "IMAGE /button-normal.png 721,609",
                              "TEXT center " + cancel + " 721,609,826,630",
                              "IMAGE /button-Skins-normal.png 701,5",
                              "IMAGE /button-min-normal.png 825,5",
                              "IMAGE /button-close-normal.png 850,5",
                              "IMAGE /button-PrePage-normal.png 20,55",
                              "IMAGE /button-NextPage-normal.png 70,55",
                          }));
  EXPECT_NE(ok, "OK");
}

// A window shown again after its picture was freed: the page shown is drawn
// whole, its lists and controls kept, every control in its normal image.
TEST(HoverTest, AWholeRedrawDrawsThePageShownWithEveryControlNormal) {
  Rig rig;
  rig.model.RedrawWhole();  // no page yet: the frame
  testing::RecordingCanvas frame;
  rig.model.DrawFrame(frame);
  ASSERT_FALSE(rig.services.redraws.empty());
  EXPECT_EQ(rig.services.redraws.back(), frame.lines);

  rig.model.BuildPage(kBasicPage);
  rig.model.OnMouseHover({520, 615});
  rig.model.OnMouseHover({310, 550});
  rig.model.RedrawWhole();
  EXPECT_EQ(rig.basic.log, (std::vector<std::string>{"build", "build"}));
  EXPECT_EQ(rig.advanced.log, std::vector<std::string>{"teardown"});
  EXPECT_FALSE(rig.model.IsDrawnOver(kFrameOk));
  EXPECT_FALSE(rig.model.IsDrawnOver(100));
}

TEST(HoverTest, WithoutBackgroundNothingIsDrawn) {
  Rig rig;
  rig.services.hasBackground = false;
  rig.model.OnMouseHover({520, 615});
  EXPECT_TRUE(rig.services.redraws.empty());
}

}  // namespace
}  // namespace vortal
