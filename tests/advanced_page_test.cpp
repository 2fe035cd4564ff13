#include "ui/window/advanced_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_pointer_system.h"
#include "support/main_window_rig.h"
#include "support/recording_canvas.h"

#ifdef _WIN32
#include "app/pointer_system_win32.h"
#endif

namespace vortal {
namespace {

using testing::FakePointerSystem;

// A macro half that writes down what the page asks of it, with one region
// over the whole window that lets every click go on.
class FakeHalf : public AdvancedPageHalf {
 public:
  void Draw(Canvas& canvas) const override { canvas.DrawText("half", {}, TextAlign::kLeft, {}, FontKind::kNormal); }
  void CreateControls() override { log.push_back("create"); }
  void Teardown() override { log.push_back("teardown"); }
  std::vector<DropDownList> Lists() const override { return {{154, {735, 402, 854, 416}, Rect{734, 419, 854, 569}, {}}}; }
  std::vector<PageRegion> Regions() override {
    return {{[](Point) { return true; }, [this](Point) { log.push_back("half region"); }, false}};
  }
  std::vector<HotControl> HotControls() const override { return {}; }
  std::vector<WindowControl> Controls(int) override { return {}; }
  void OnListChoice(int listId, int index, bool) override {
    log.push_back("list " + std::to_string(listId) + " " + std::to_string(index));
  }
  std::vector<std::string> log;
};

struct Rig : testing::MainWindowRig {
  FakePointerSystem system;
  AdvancedPage page{model, system};
  Rig() {
    model.skin.skinFolderPath = "/p/Skins/Default";
    model.skin.textColor = {1, 2, 3};
    model.SetPage(kAdvancedPage, &page);
  }
  SettingsRecord& record() { return settings.working; }
  void SetSteps(int precision, int oneScreen, int speed, int lines, int doubleClick) {
    record().pointerPrecision = static_cast<std::uint8_t>(precision);
    record().scrollOneScreen = static_cast<std::uint8_t>(oneScreen);
    record().mouseSpeed = static_cast<std::uint8_t>(speed);
    record().scrollLines = static_cast<std::uint8_t>(lines);
    record().doubleClickIndex = static_cast<std::uint8_t>(doubleClick);
  }
  std::vector<int> Steps() {
    return {record().pointerPrecision, record().scrollOneScreen, record().mouseSpeed,
            record().scrollLines, record().doubleClickIndex};
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& [text, caption] : services.messages) texts.push_back(text + " | " + caption);
    return texts;
  }
};

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// Light cells drawn on one slider row.
int LightCells(const std::vector<std::string>& lines, int top) {
  int lit = 0;
  for (int step = 1; step <= kPointerSliderSteps; ++step) {
    const std::string at = std::to_string(52 + 24 * (step - 1)) + "," + std::to_string(top);
    lit += Count(lines, "IMAGE /slider-light.png " + at);
  }
  return lit;
}

TEST(AdvancedPageTest, StepTablesGiveTheSystemValues) {
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> table = {
      {1, 900}, {2, 830}, {4, 760}, {6, 690}, {8, 620}, {10, 550},
      {12, 480}, {14, 410}, {16, 340}, {18, 270}, {20, 200}};
  for (int step = 1; step <= kPointerSliderSteps; ++step) {
    EXPECT_EQ(PointerSpeedOfStep(step), table[step - 1].first) << step;
    EXPECT_EQ(DoubleClickTimeOfStep(step), table[step - 1].second) << step;
    // And back: every value of the table reads as its own step.
    EXPECT_EQ(SpeedStepOfSystem(table[step - 1].first), step) << step;
    EXPECT_EQ(DoubleClickStepOfSystem(table[step - 1].second), step) << step;
  }
  EXPECT_EQ(MouseParamsOf(true), (MouseParams{6, 10, 1}));
  EXPECT_EQ(MouseParamsOf(false), (MouseParams{0, 0, 0}));
}

TEST(AdvancedPageTest, SystemValuesOutsideTheSlidersTakeTheNearestStep) {
  struct Case {
    const char* name;
    int (*convert)(std::uint32_t);
    std::uint32_t value;
    int step;
  };
  const std::vector<Case> cases = {
      {"speed 0", SpeedStepOfSystem, 0, 1},
      {"odd speed 11", SpeedStepOfSystem, 11, 6},
      {"speed 21", SpeedStepOfSystem, 21, 11},
      {"speed far out", SpeedStepOfSystem, 0xFFFFFFF0u, 11},
      {"double-click 199 ms", DoubleClickStepOfSystem, 199, 11},
      {"double-click 5000 ms", DoubleClickStepOfSystem, 5000, 1},
      {"double-click 1 ms", DoubleClickStepOfSystem, 1, 11},
      {"double-click between steps", DoubleClickStepOfSystem, 520, 6},
      {"no wheel lines", ScrollStepOfSystem, 0, 0},
      {"12 wheel lines", ScrollStepOfSystem, 12, 11},
      {"300 wheel lines, not 44", ScrollStepOfSystem, 300, 11},
  };
  for (const Case& c : cases) EXPECT_EQ(c.convert(c.value), c.step) << c.name;
}

TEST(AdvancedPageTest, FirstShowingReadsTheSystem) {
  struct Case {
    const char* name;
    std::optional<MouseParams> params;
    std::optional<std::uint32_t> speed;
    std::optional<std::uint32_t> lines;
    std::uint32_t doubleClick;
    std::vector<int> steps;  // precision, one screen, speed, lines, double-click
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"speed 10, 3 lines, 500 ms, precision", MouseParams{6, 10, 1}, 10, 3, 500, {1, 0, 6, 3, 6}, {}},
      {"slowest", MouseParams{0, 0, 0}, 1, 0, 900, {0, 0, 1, 0, 1}, {}},
      {"fastest", MouseParams{0, 0, 2}, 20, 11, 200, {1, 0, 11, 11, 11}, {}},
      {"one screen per notch", MouseParams{0, 0, 0}, 10, 0xFFFFFFFFu, 500, {0, 1, 6, 0, 6}, {}},
      {"precision unreadable", std::nullopt, 10, 3, 500, {0, 0, 6, 3, 6}, {}},
      {"speed unreadable", MouseParams{0, 0, 0}, std::nullopt, 5, 340, {0, 0, 6, 5, 9},
       {"GETMOUSESPEED failed. | Warning"}},
      {"wheel unreadable", MouseParams{0, 0, 0}, 4, std::nullopt, 340, {0, 0, 3, 3, 9},
       {"GETWHEELSCROLLLINES failed. | Warning"}},
      {"double-click unreadable", MouseParams{0, 0, 0}, 4, 2, 0, {0, 0, 3, 2, 6},
       {"GetDoubleClickTime failed. | Warning"}},
      {"nothing readable", std::nullopt, std::nullopt, std::nullopt, 0, {0, 0, 6, 3, 6},
       {"GETMOUSESPEED failed. | Warning", "GETWHEELSCROLLLINES failed. | Warning",
        "GetDoubleClickTime failed. | Warning"}},
      {"out of range", MouseParams{0, 0, 0}, 40, 99, 2000, {0, 0, 11, 11, 1}, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.SetSteps(9, 9, 99, 99, 99);
    rig.system.params = c.params;
    rig.system.speed = c.speed;
    rig.system.lines = c.lines;
    rig.system.doubleClickTime = c.doubleClick;
    rig.model.ShowPage(kAdvancedPage);
    EXPECT_TRUE(rig.page.pointerValuesRead()) << c.name;
    EXPECT_EQ(rig.Steps(), c.steps) << c.name;
    EXPECT_EQ(rig.Messages(), c.messages) << c.name;
    EXPECT_TRUE(rig.system.sets.empty()) << c.name;
    // Whatever was read, the steps are ones Apply can give back.
    EXPECT_TRUE(PointerStepsValid(rig.record())) << c.name;
    // The page shows what it stored.
    ASSERT_FALSE(rig.services.redraws.empty()) << c.name;
    const std::vector<std::string>& drawn = rig.services.redraws.front();
    EXPECT_EQ(LightCells(drawn, 200), c.steps[2]) << c.name;
    EXPECT_EQ(LightCells(drawn, 350), c.steps[3]) << c.name;
    EXPECT_EQ(LightCells(drawn, 500), c.steps[4]) << c.name;
    EXPECT_EQ(Count(drawn, "IMAGE /PaneMakingTick.png 51,255"), c.steps[0]) << c.name;
    EXPECT_EQ(Count(drawn, "IMAGE /PaneMakingTick.png 51,405"), c.steps[1]) << c.name;
  }
}

TEST(AdvancedPageTest, LaterShowingsKeepTheRecordsStepsWhateverTheSystemSays) {
  Rig rig;
  rig.model.ShowPage(kAdvancedPage);
  const std::size_t firstReads = rig.system.reads.size();
  EXPECT_EQ(firstReads, 4u);
  rig.page.SetSliderStep(PointerSlider::kMouseSpeed, 2);
  rig.system.speed = 20;
  rig.system.lines = 0xFFFFFFFFu;
  rig.system.doubleClickTime = 900;

  rig.model.ShowPage(kBasicPage);
  rig.model.ShowPage(kAdvancedPage);
  rig.model.BuildPage(kAdvancedPage);  // rebuilt over itself, as after Cancel
  EXPECT_EQ(rig.system.reads.size(), firstReads);
  EXPECT_EQ(rig.Steps(), (std::vector<int>{1, 0, 2, 3, 6}));
  EXPECT_EQ(LightCells(rig.services.redraws.back(), 200), 2);
}

TEST(AdvancedPageTest, PageDrawsItsTextsAndTitle) {
  Rig rig;
  rig.model.ShowPage(kAdvancedPage);
  const std::vector<std::string>& drawn = rig.services.redraws.front();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front(), "IMAGE /AdvancedSet2.png 0,0");
  for (const char* line :
       {"TEXT left Enhance Pointer Precision 77,255,408,271",
        "TEXT left Scroll One Screen 77,405,408,421", "TEXT center Mouse Speed 8,160,173,181",
        "TEXT center Scrolling Speed 8,310,173,331",
        "TEXT center Double-Click Speed 8,460,173,481", "IMAGE /button-normal.png 194,573",
        "TEXT center 1 52,221,76,241", "TEXT center 11 292,521,316,541",
        "IMAGE /button-normal.png 513,609"}) {
    EXPECT_EQ(Count(drawn, line), 1) << line;
  }
  EXPECT_EQ(Count(drawn, "TEXT left title Advanced Settings 120,50,352,100"), 1);
  EXPECT_EQ(rig.services.redrawFolders.front(), "/p/Skins/Default");
}

TEST(AdvancedPageTest, ApplySendsTheRecordsValuesInOrder) {
  struct Case {
    const char* name;
    std::vector<int> steps;  // precision, one screen, speed, lines, double-click
    std::vector<std::string> sets;
  };
  const std::vector<Case> cases = {
      {"read from 10 / 3 / 500 ms", {1, 0, 6, 3, 6},
       {"MOUSE 6,10,1", "SPEED 10", "LINES 3", "DOUBLECLICK 550"}},
      {"double-click cell 11", {0, 0, 1, 0, 11},
       {"MOUSE 0,0,0", "SPEED 1", "LINES 0", "DOUBLECLICK 200"}},
      {"one screen over 5 lines", {0, 1, 11, 5, 1},
       {"MOUSE 0,0,0", "SPEED 20", "LINES 4294967295", "DOUBLECLICK 900"}},
      {"any non-zero tick is on", {2, 7, 2, 11, 2},
       {"MOUSE 6,10,1", "SPEED 2", "LINES 4294967295", "DOUBLECLICK 830"}},
      // Steps the page never held: the system keeps its own settings.
      {"never read, all 0", {0, 0, 0, 0, 0}, {}},
      {"speed 0", {0, 0, 0, 3, 6}, {}},
      {"speed 12", {0, 0, 12, 3, 6}, {}},
      {"12 lines", {0, 0, 6, 12, 6}, {}},
      {"double-click 0", {0, 0, 6, 3, 0}, {}},
      {"double-click 255", {0, 0, 6, 3, 255}, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.SetSteps(c.steps[0], c.steps[1], c.steps[2], c.steps[3], c.steps[4]);
    rig.page.ApplyPointerSettings();
    EXPECT_EQ(rig.system.sets, c.sets) << c.name;
    EXPECT_TRUE(rig.services.messages.empty()) << c.name;
    EXPECT_TRUE(rig.system.reads.empty()) << c.name;
  }
}

TEST(AdvancedPageTest, EachFailedCallIsToldAndTheNextOneStillRuns) {
  struct Case {
    const char* name;
    bool mouse, speed, lines, doubleClick;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"SETMOUSE", true, false, false, false, {"SETMOUSE failed. | Warning"}},
      {"SETMOUSESPEED", false, true, false, false, {"SETMOUSESPEED failed. | Warning"}},
      {"SETWHEELSCROLLLINES", false, false, true, false, {"SETWHEELSCROLLLINES failed. | Warning"}},
      {"SETDOUBLECLICKTIME", false, false, false, true, {"SPI_SETDOUBLECLICKTIME failed. | Warning"}},
      {"all", true, true, true, true,
       {"SETMOUSE failed. | Warning", "SETMOUSESPEED failed. | Warning",
        "SETWHEELSCROLLLINES failed. | Warning", "SPI_SETDOUBLECLICKTIME failed. | Warning"}},
  };
  for (const Case& c : cases) {
    for (bool viaDefault : {false, true}) {
      Rig rig;
      rig.SetSteps(0, 0, 6, 3, 6);
      rig.system.failMouse = c.mouse;
      rig.system.failSpeed = c.speed;
      rig.system.failLines = c.lines;
      rig.system.failDoubleClick = c.doubleClick;
      if (viaDefault) {
        rig.page.RestorePointerDefaults();
      } else {
        rig.page.ApplyPointerSettings();
      }
      EXPECT_EQ(rig.system.sets.size(), 4u) << c.name;
      EXPECT_EQ(rig.Messages(), c.messages) << c.name << (viaDefault ? " (Default)" : "");
    }
  }
}

TEST(AdvancedPageTest, ClicksOnTheSliderCellsSetTheSteps) {
  struct Case {
    Point p;
    std::vector<int> steps;  // speed, lines, double-click after the click
    bool drag;
  };
  const std::vector<Case> cases = {
      {{52, 200}, {1, 3, 6}, false},   {{75, 210}, {1, 3, 6}, false},
      {{76, 200}, {2, 3, 6}, false},   {{315, 205}, {11, 3, 6}, false},
      {{316, 205}, {6, 3, 6}, true},   {{51, 205}, {6, 3, 6}, true},
      {{100, 211}, {6, 3, 6}, true},   {{100, 199}, {6, 3, 6}, true},
      {{200, 350}, {6, 7, 6}, false},  {{52, 360}, {6, 1, 6}, false},
      {{300, 505}, {6, 3, 11}, false}, {{124, 510}, {6, 3, 4}, false},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.model.ShowPage(kAdvancedPage);
    rig.services.calls.clear();
    rig.model.OnLeftButtonDown(c.p);
    EXPECT_EQ((std::vector<int>{rig.record().mouseSpeed, rig.record().scrollLines,
                                rig.record().doubleClickIndex}),
              c.steps)
        << c.p.x << "," << c.p.y;
    const bool dragged = !rig.services.calls.empty() && rig.services.calls.back().rfind("DRAG", 0) == 0;
    EXPECT_EQ(dragged, c.drag) << c.p.x << "," << c.p.y;
    EXPECT_TRUE(rig.system.sets.empty());
  }
}

TEST(AdvancedPageTest, SliderRedrawLightsUpToTheStep) {
  Rig rig;
  rig.model.ShowPage(kAdvancedPage);
  rig.page.SetSliderStep(PointerSlider::kScrollLines, 8);
  const std::vector<std::string>& drawn = rig.services.redraws.back();
  EXPECT_EQ(drawn.size(), 11u);
  EXPECT_EQ(LightCells(drawn, 350), 8);
  EXPECT_EQ(Count(drawn, "IMAGE /slider-dark.png 268,350"), 1);
  // Steps the slider does not have change nothing.
  rig.page.SetSliderStep(PointerSlider::kScrollLines, 12);
  rig.page.SetSliderStep(PointerSlider::kScrollLines, 0);
  EXPECT_EQ(rig.record().scrollLines, 8);
}

TEST(AdvancedPageTest, TickBoxesToggleAndDefaultRestores) {
  Rig rig;
  rig.model.ShowPage(kAdvancedPage);  // precision on, one screen off
  rig.model.OnLeftButtonDown({51, 255});
  EXPECT_EQ(rig.record().pointerPrecision, 0);
  EXPECT_EQ(rig.services.redraws.back(), (std::vector<std::string>{"IMAGE /Pane.png 51,255"}));
  rig.model.OnLeftButtonDown({66, 420});
  EXPECT_EQ(rig.record().scrollOneScreen, 1);
  EXPECT_EQ(rig.services.redraws.back(),
            (std::vector<std::string>{"IMAGE /PaneMakingTick.png 51,405"}));
  rig.model.OnLeftButtonDown({67, 420});  // beside the box
  EXPECT_EQ(rig.record().scrollOneScreen, 1);
  EXPECT_TRUE(rig.system.sets.empty());

  rig.page.SetSliderStep(PointerSlider::kDoubleClick, 11);
  rig.model.OnLeftButtonDown({194, 573});
  EXPECT_EQ(rig.system.sets,
            (std::vector<std::string>{"MOUSE 0,0,0", "SPEED 10", "LINES 3", "DOUBLECLICK 500"}));
  EXPECT_EQ(rig.Steps(), (std::vector<int>{0, 0, 6, 3, 6}));
  const std::vector<std::string>& drawn = rig.services.redraws.back();
  EXPECT_EQ(Count(drawn, "IMAGE /Pane.png 51,405"), 1);
  EXPECT_EQ(LightCells(drawn, 500), 6);
  // The default step stands for 550 ms on the next Apply.
  rig.system.sets.clear();
  rig.page.ApplyPointerSettings();
  EXPECT_EQ(rig.system.sets.back(), "DOUBLECLICK 550");
}

TEST(AdvancedPageTest, OkAndApplyPushThePointerSettingsOnlyWithTheMouse) {
  for (bool present : {true, false}) {
    Rig rig;
    rig.model.afterApply = [&rig] { rig.page.ApplyPointerSettings(); };
    if (present) rig.link.FindDevice(rig.backend);
    rig.model.ShowPage(kAdvancedPage);
    rig.model.OnLeftButtonDown({650, 615});  // Apply
    EXPECT_EQ(rig.system.sets.size(), present ? 4u : 0u) << present;
  }
}

TEST(AdvancedPageTest, MacroHalfIsComposedInItsPlace) {
  Rig rig;
  FakeHalf half;
  AdvancedPage page(rig.model, rig.system, &half);
  rig.model.SetPage(kAdvancedPage, &page);

  rig.model.ShowPage(kAdvancedPage);
  EXPECT_EQ(half.log, (std::vector<std::string>{"create"}));
  EXPECT_EQ(Count(rig.services.redraws.front(), "TEXT left half 0,0,0,0"), 1);
  // Rebuilt over its own controls: they are not made twice.
  rig.model.BuildPage(kAdvancedPage);
  EXPECT_EQ(half.log, (std::vector<std::string>{"create"}));

  // The pointer buttons come before the half's regions, the sliders after.
  half.log.clear();
  rig.model.OnLeftButtonDown({51, 255});
  EXPECT_TRUE(half.log.empty());
  rig.model.OnLeftButtonDown({52, 200});
  EXPECT_EQ(half.log, (std::vector<std::string>{"half region"}));
  EXPECT_EQ(rig.record().mouseSpeed, 1);

  EXPECT_EQ(page.Lists().size(), 1u);
  rig.model.OnListNotification(154, 2, false);
  EXPECT_EQ(half.log.back(), "list 154 2");

  half.log.clear();
  rig.model.ShowPage(kBasicPage);
  rig.model.ShowPage(kAdvancedPage);
  EXPECT_EQ(half.log, (std::vector<std::string>{"teardown", "create"}));
}

TEST(AdvancedPageTest, DefaultButtonIsAHotControl) {
  Rig rig;
  rig.model.ShowPage(kAdvancedPage);
  rig.model.OnMouseHover({200, 580});
  EXPECT_TRUE(rig.model.IsDrawnOver(kPointerDefaultHotId));
  EXPECT_EQ(rig.services.redraws.back(),
            (std::vector<std::string>{"IMAGE /button-over.png 194,573",
                                      "TEXT center Default 194,573,299,594"}));
}

#ifdef _WIN32
// The system's own parameters under the signed-in user: set, read back, and
// restored.
TEST(AdvancedPageTest, WindowsPointerParametersRoundTrip) {
  Win32PointerSystem system;
  const std::optional<MouseParams> params = system.GetMouseParams();
  const std::optional<std::uint32_t> speed = system.GetMouseSpeed();
  const std::optional<std::uint32_t> lines = system.GetWheelScrollLines();
  const std::uint32_t doubleClick = system.GetDoubleClickTime();
  ASSERT_TRUE(params && speed && lines);
  ASSERT_NE(doubleClick, 0u);

  EXPECT_TRUE(system.SetMouseParams({6, 10, 1}));
  EXPECT_TRUE(system.SetMouseSpeed(14));
  EXPECT_TRUE(system.SetWheelScrollLines(7));
  EXPECT_TRUE(system.SetDoubleClickTime(410));
  EXPECT_EQ(system.GetMouseParams(), (MouseParams{6, 10, 1}));
  EXPECT_EQ(system.GetMouseSpeed(), 14u);
  EXPECT_EQ(system.GetWheelScrollLines(), 7u);
  EXPECT_EQ(system.GetDoubleClickTime(), 410u);
  EXPECT_TRUE(system.SetWheelScrollLines(kScrollOneScreenLines));
  EXPECT_EQ(system.GetWheelScrollLines(), kScrollOneScreenLines);

  system.SetMouseParams(*params);
  system.SetMouseSpeed(*speed);
  system.SetWheelScrollLines(*lines);
  system.SetDoubleClickTime(doubleClick);
}
#endif

// The pointer half from the keyboard: Tab to a control by its name, then keys.
TEST(AdvancedPageTest, KeysMoveTheSlidersAndTickTheBoxes) {
  struct Case {
    const char* name;
    const char* control;
    std::vector<Key> keys;
    std::vector<int> steps;  // precision, one screen, speed, lines, double click
  } cases[] = {
      {"Right raises the speed a step", "Mouse Speed", {Key::kRight}, {0, 0, 7, 3, 6}},
      {"Down lowers the wheel lines", "Scrolling Speed", {Key::kDown, Key::kLeft}, {0, 0, 6, 1, 6}},
      {"End and Home go to the ends, no further", "Double-Click Speed",
       {Key::kEnd, Key::kUp, Key::kHome, Key::kHome}, {0, 0, 6, 3, 1}},
      {"Space ticks precision", "Enhance Pointer Precision", {Key::kSpace}, {1, 0, 6, 3, 6}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.model.BuildPage(kAdvancedPage);  // reads the system's values first
    rig.SetSteps(0, 0, 6, 3, 6);
    for (int i = 0; i < 20 && rig.model.FocusedName() != c.control; ++i) rig.model.OnKey({Key::kTab});
    ASSERT_EQ(rig.model.FocusedName(), c.control) << c.name;
    for (Key key : c.keys) EXPECT_TRUE(rig.model.OnKey({key})) << c.name;
    EXPECT_EQ(rig.Steps(), c.steps) << c.name;
  }
}

}  // namespace
}  // namespace vortal
