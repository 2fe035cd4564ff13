#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/basic_page_rig.h"
#include "ui/skin/skin_images.h"
#include "ui/window/startup.h"
#include "vortal_version.h"

namespace vortal {
namespace {

using testing::BasicPageRig;
using testing::ImageLine;

int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind(prefix, 0) == 0;
  }));
}

// A config.bin that start-up could not read, or a start that stopped before
// reading it, leaves an all-zero record: OK and Apply must send it nowhere,
// say why and what to do, and the first display must not reset str.ini.
TEST(UnreadSettings, NeitherTheMouseNorTheFilesGetTheEmptyRecord) {
  enum class File { kDamaged, kMissing, kFolder, kWhole };
  struct Case {
    const char* name;
    File file;
    bool listener;
    const char* says;
  } cases[] = {
      {"100 bytes", File::kDamaged, true, "The settings file is damaged"},
      {"missing", File::kMissing, true, "The settings file was not found"},
      {"a folder", File::kFolder, true, "The settings file could not be read"},
      {"start-up stopped", File::kWhole, false, "did not finish starting"},
  };
  const struct Click {
    const char* name;
    Point at;
  } clicks[] = {{"OK", {513, 609}}, {"Apply", {700, 615}}, {"OK and Apply", {617, 620}}};
  const std::string strIni = "[Setting-EN]\r\nItem9=Nine\r\nItem1=Fire\r\n";
  for (const Case& c : cases) {
    for (const Click& click : clicks) {
      SCOPED_TRACE(std::string(c.name) + ", " + click.name);
      BasicPageRig rig(2);
      MainWindowShell shell(rig.model);
      const std::string config = rig.dir.File("config.bin");
      const std::string delivered(kSettingsFileSize, '\0');  // flag 0: a first run
      if (c.file == File::kDamaged) rig.dir.Write("config.bin", std::string(100, 'x'));
      if (c.file == File::kWhole) rig.dir.Write("config.bin", delivered);
      if (c.file == File::kFolder) rig.dir.MakeFolder("config.bin");
      rig.dir.Write("str.ini", strIni);
      const std::string before = rig.dir.Read("config.bin");
      rig.services.listenerCreates = c.listener;
      shell.Initialize(1033);
      shell.OnTrayClick(TrayClick::kLeft);
      rig.backend.trace->lines.clear();
      rig.Forget();

      rig.Click(click.at);
      EXPECT_TRUE(rig.backend.trace->lines.empty());
      std::vector<std::string> boxes;
      for (const std::string& call : rig.services.calls) {
        if (call.starts_with("MESSAGE ")) boxes.push_back(call);
        EXPECT_NE(call, "HIDE");  // the window stays open under its message
      }
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_NE(boxes[0].find(c.says), std::string::npos) << boxes[0];
      if (c.file != File::kWhole) {
        EXPECT_NE(boxes[0].find(config), std::string::npos) << boxes[0];
      }
      EXPECT_EQ(rig.dir.Exists("config.bin"), c.file != File::kMissing);
      EXPECT_EQ(rig.dir.Read("config.bin"), before);
      EXPECT_EQ(rig.dir.Read("str.ini"), strIni);
    }
  }
}

TEST(BasicPageFirstDisplay, ReadsTheSensorOnceAndResetsPaneTextsOnlyOnAFirstRun) {
  struct Case {
    std::uint8_t firstRunFlag;
    bool imported;  // a profile imported before the first showing
    bool panesReset;
  };
  for (const Case& c : {Case{0, false, true}, Case{1, false, false}, Case{0, true, false}}) {
    SCOPED_TRACE(static_cast<int>(c.firstRunFlag) + 2 * c.imported);
    BasicPageRig rig(2, c.firstRunFlag);
    rig.dir.Write("str.ini", "[Skins]\r\nPath=Default\r\n");
    rig.model.skin.paneText[0][5] = "kept";
    rig.model.skin.paneText[1][7] = "kept";
    if (c.imported) rig.page.KeepPaneTexts();
    rig.model.BuildPage(kBasicPage);

    EXPECT_TRUE(rig.page.initialised());
    EXPECT_EQ(rig.page.sensorType(), 2);
    // The sensor settings go back with bit 6 of option 2 set.
    const auto& lines = rig.backend.trace->lines;
    const auto written = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
      return line.rfind("SET_FEATURE 00 03 ", 0) == 0;
    });
    ASSERT_NE(written, lines.end());
    EXPECT_EQ(written->substr(std::string("SET_FEATURE 00 03 ").size(), 11), "02 00 00 40");

    const std::string str = rig.dir.Read("str.ini");
    if (c.panesReset) {
      for (int mode = 0; mode < 2; ++mode) {
        EXPECT_EQ(rig.model.skin.paneText[mode][0], "Left Click");
        EXPECT_EQ(rig.model.skin.paneText[mode][5], "DPI +");
        EXPECT_EQ(rig.model.skin.paneText[mode][6], "DPI -");
        EXPECT_EQ(rig.model.skin.paneText[mode][7], "Triple-click");
      }
      EXPECT_NE(str.find("Item6=DPI +"), std::string::npos);
      EXPECT_NE(str.find("Item83=Triple-click"), std::string::npos);
    } else {
      EXPECT_EQ(rig.model.skin.paneText[0][5], "kept");
      EXPECT_EQ(rig.model.skin.paneText[1][7], "kept");
      EXPECT_EQ(str, "[Skins]\r\nPath=Default\r\n");
    }

    // Later draws neither read the sensor again nor touch the texts.
    const std::size_t traffic = lines.size();
    rig.model.skin.paneText[0][0] = "changed";
    rig.model.BuildPage(kAdvancedPage);
    rig.model.BuildPage(kBasicPage);
    EXPECT_EQ(lines.size(), traffic);
    EXPECT_EQ(rig.model.skin.paneText[0][0], "changed");
  }
}

TEST(BasicPageDpi, StepsLabelsAndClickableStepsFollowTheSensorType) {
  struct Case {
    std::uint8_t sensor;
    int steps;
    std::string firstLabel;
    std::string lastLabel;
    int labelLeft;
  };
  const Case cases[] = {
      {1, 8, "600", "3200", 494},   {2, 8, "250", "2500", 494},
      {3, 8, "400", "3200", 494},   {0, 12, "250", "4000", 514},
      {7, 12, "250", "4000", 514},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.sensor));
    BasicPageRig rig(c.sensor);
    rig.record().dpiStageEnabled[0] = 1;
    rig.record().dpiLevel[0] = 2;
    rig.model.BuildPage(kBasicPage);
    EXPECT_EQ(rig.page.dpiStepCount(), c.steps);
    const std::vector<std::string> drawn = rig.Drawn();
    // Four sliders of `steps` images; stage 1 lit up to level 2 + 1.
    EXPECT_EQ(CountLines(drawn, "IMAGE /slider-DPI-light.png 554,"), 3);
    EXPECT_EQ(CountLines(drawn, "IMAGE /slider-DPI-") -
                  CountLines(drawn, "IMAGE /slider-DPI-light.png 7") -
                  CountLines(drawn, "IMAGE /slider-DPI-dark.png 7") -
                  CountLines(drawn, "IMAGE /slider-DPI-dark.png 8"),
              4 * c.steps);
    const int top = 518 - 18 * (c.steps - 1);
    EXPECT_TRUE(rig.DrewLine("TEXT right " + c.firstLabel + " " + std::to_string(c.labelLeft) +
                             ",518,544,534"));
    EXPECT_TRUE(rig.DrewLine("TEXT right " + c.lastLabel + " " + std::to_string(c.labelLeft) + "," +
                             std::to_string(top) + ",544," + std::to_string(top + 16)));

    // Step 9 of stage 2 answers only for sensor type 0; elsewhere the click
    // drags the window.
    rig.Forget();
    const Rect step9 = DpiStepBox(2, 9);
    rig.Click(BasicPageRig::Inside(step9));
    if (c.sensor == 0) {
      EXPECT_EQ(rig.record().dpiLevel[1], 8);
      EXPECT_FALSE(rig.Called("DRAG " + std::to_string(step9.left + 1) + "," + std::to_string(step9.top + 1)));
    } else {
      EXPECT_EQ(rig.record().dpiLevel[1], 0);
      EXPECT_TRUE(rig.Called("DRAG " + std::to_string(step9.left + 1) + "," + std::to_string(step9.top + 1)));
    }
  }
}

TEST(BasicPageDpi, DpiStepLabelsOfEveryTable) {
  EXPECT_EQ(DpiStepLabels(1), (std::vector<std::string>{"600", "800", "1000", "1200", "1600", "2000",
                                                        "2400", "3200"}));
  EXPECT_EQ(DpiStepLabels(2), (std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500",
                                                        "2000", "2500"}));
  EXPECT_EQ(DpiStepLabels(3), (std::vector<std::string>{"400", "800", "1200", "1600", "2000", "2400",
                                                        "2800", "3200"}));
  const std::vector<std::string> twelve = {"250",  "500",  "750",  "1000", "1250", "1500",
                                           "1750", "2000", "2500", "3000", "3500", "4000"};
  EXPECT_EQ(DpiStepLabels(0), twelve);
  EXPECT_EQ(DpiStepLabels(255), twelve);
}

TEST(BasicPageDpi, ToggleStageNeverLeavesTheMouseWithoutAnEnabledStage) {
  struct Case {
    std::array<std::uint8_t, 8> enabled;
    int stage;
    std::array<std::uint8_t, 4> expected;
  };
  const Case cases[] = {
      {{1, 0, 0, 0}, 2, {1, 1, 0, 0}},              // switched on
      {{1, 1, 0, 0}, 1, {0, 1, 0, 0}},              // switched off, another stays
      {{1, 0, 0, 0}, 1, {1, 0, 0, 0}},              // the last one is kept
      {{0, 0, 1, 0, 1, 1, 1, 1}, 3, {0, 0, 1, 0}},  // entries past the stages count for nothing
      {{0, 0, 0, 2}, 4, {0, 0, 0, 1}},              // any value but 1 is off
  };
  for (const Case& c : cases) {
    BasicPageRig rig;
    std::copy(c.enabled.begin(), c.enabled.end(), rig.record().dpiStageEnabled);
    rig.record().dpiLevel[c.stage - 1] = 3;
    rig.Show();
    rig.Click(BasicPageRig::Inside(DpiTickBox(c.stage)));
    for (int s = 0; s < 4; ++s) EXPECT_EQ(rig.record().dpiStageEnabled[s], c.expected[s]) << s;
    const bool changed = c.expected[c.stage - 1] != c.enabled[c.stage - 1];
    const Point tick = DpiTickBox(c.stage).TopLeft();
    if (!changed) {
      EXPECT_TRUE(rig.services.redraws.empty());
    } else if (c.expected[c.stage - 1] == 1) {
      EXPECT_TRUE(rig.DrewLine(ImageLine(kCheckBoxTickedImage, tick)));
      EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiLightImage, DpiStepBox(c.stage, 4).TopLeft())));
      EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiDarkImage, DpiStepBox(c.stage, 5).TopLeft())));
    } else {
      EXPECT_TRUE(rig.DrewLine(ImageLine(kCheckBoxImage, tick)));
      EXPECT_FALSE(rig.DrewLine(ImageLine(kDpiLightImage, DpiStepBox(c.stage, 1).TopLeft())));
    }
  }
}

TEST(BasicPageDpi, SetLevelLightsTheSliderEvenOnADisabledStage) {
  BasicPageRig rig(1);
  rig.record().dpiStageEnabled[0] = 1;
  rig.Show();
  rig.Click(BasicPageRig::Inside(DpiStepBox(3, 5)));
  EXPECT_EQ(rig.record().dpiLevel[2], 4);
  EXPECT_EQ(rig.record().dpiStageEnabled[2], 0);
  EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiLightImage, DpiStepBox(3, 5).TopLeft())));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiDarkImage, DpiStepBox(3, 6).TopLeft())));
  EXPECT_EQ(CountLines(rig.Drawn(), "IMAGE /slider-DPI-"), 8);  // 8 steps only
  EXPECT_FALSE(rig.DrewLine(ImageLine(kCheckBoxTickedImage, DpiTickBox(3).TopLeft())));
}

TEST(BasicPageReportRate, MarksFollowTheStoredCode) {
  struct Case {
    std::uint8_t stored;
    int litOnDraw;
    int clicked;
    std::uint8_t storedAfter;
    bool previousDarkened;
  };
  const Case cases[] = {
      {8, 1, 2, 4, true}, {4, 2, 1, 8, true}, {2, 3, 4, 1, true},  {1, 4, 3, 2, true},
      {0, 4, 1, 8, true}, {3, 4, 4, 1, false}, {200, 4, 2, 4, true}, {8, 1, 1, 8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.stored));
    BasicPageRig rig;
    rig.record().reportRate = c.stored;
    rig.model.BuildPage(kBasicPage);
    for (int mark = 1; mark <= 4; ++mark) {
      EXPECT_EQ(rig.DrewLine(ImageLine(kReportRateLightImage, ReportRateMarkBox(mark).TopLeft())),
                mark == c.litOnDraw)
          << mark;
    }
    rig.Forget();
    rig.Click(BasicPageRig::Inside(ReportRateMarkBox(c.clicked)));
    EXPECT_EQ(rig.record().reportRate, c.storedAfter);
    const std::vector<std::string> drawn = rig.Drawn();
    EXPECT_TRUE(rig.DrewLine(ImageLine(kReportRateLightImage, ReportRateMarkBox(c.clicked).TopLeft())));
    EXPECT_EQ(rig.DrewLine(ImageLine(kReportRateDarkImage, ReportRateMarkBox(c.litOnDraw).TopLeft())),
              c.previousDarkened);
  }
}

TEST(BasicPagePanes, LeftClickGuardKeepsOneLeftClickPerMode) {
  struct Case {
    const char* what;
    std::uint8_t editedMode;
    int zeroSlots;  // slots 0..zeroSlots-1 hold Left Click, the rest Right Click
    int button;
    bool refused;
    bool hiddenLeftClicks = false;  // slots 9 to 12 (no pane, never sent) hold Left Click
  };
  const Case cases[] = {
      {"all zero record", 0, 12, 1, false},
      {"the only Left Click", 0, 1, 1, true},
      {"the only Left Click, Mode B", 1, 1, 1, true},
      {"Left Clicks on the hidden slots do not count", 0, 1, 1, true, true},
      {"another button", 0, 1, 2, false},
      {"two Left Clicks", 0, 2, 1, false},
      {"mode out of range", 2, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BasicPageRig rig;
    rig.record().editedMode = c.editedMode;
    KeyArea& area = rig.record().area(c.editedMode);
    for (int slot = 0; slot < kButtonSlots; ++slot) {
      area.keyFunction[slot] = slot < c.zeroSlots ? kLeftClick : kRightClick;
    }
    if (c.hiddenLeftClicks) {
      for (int slot = kDeviceButtons; slot < kButtonSlots; ++slot) area.keyFunction[slot] = kLeftClick;
    }
    rig.Show();
    rig.Click(BasicPageRig::Inside(PaneBox(c.button)));
    const int id = 40 + c.button;
    EXPECT_EQ(rig.services.ListExists(id), !c.refused);
    if (c.refused) {
      ASSERT_EQ(rig.services.messages.size(), 1u);
      EXPECT_EQ(rig.services.messages[0].first, "Left key must be selected!");
      EXPECT_EQ(rig.services.messages[0].second, "Warning");
    } else {
      EXPECT_TRUE(rig.services.messages.empty());
      EXPECT_EQ(rig.services.listAreas[id], FunctionListArea(c.button));
      EXPECT_EQ(rig.services.lists[id].size(), 16u);
      EXPECT_EQ(rig.services.lists[id][6], "DPI Switch");
    }
  }

  // Shift takes a button in both modes: not the other mode's last Left Click.
  BasicPageRig rig;
  for (int slot = 0; slot < kButtonSlots; ++slot) rig.record().modeB.keyFunction[slot] = kRightClick;
  rig.record().modeB.keyFunction[1] = kLeftClick;
  const SettingsRecord before = rig.record();
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(2)));
  rig.model.OnListNotification(42, kShift, false);
  EXPECT_EQ(std::memcmp(&before, &rig.record(), sizeof before), 0);
  ASSERT_EQ(rig.services.messages.size(), 1u);
  EXPECT_EQ(rig.services.messages[0].first, "Left key must be selected!");
  EXPECT_FALSE(rig.services.ListExists(42));
}

TEST(BasicPagePanes, OnePaneListAtATimeAndASecondClickClosesIt) {
  BasicPageRig rig;
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(3)));
  EXPECT_TRUE(rig.services.ListExists(43));
  rig.Click(BasicPageRig::Inside(PaneBox(5)));
  EXPECT_FALSE(rig.services.ListExists(43));
  EXPECT_TRUE(rig.services.ListExists(45));
  rig.Click(BasicPageRig::Inside(PaneBox(5)));
  EXPECT_FALSE(rig.services.ListExists(45));
  EXPECT_TRUE(rig.services.lists.empty());
}

TEST(BasicPageHover, DpiSwitchItemOpensTheSubListBesideIt) {
  BasicPageRig rig;
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(2)));
  const Rect list = FunctionListArea(2);
  auto itemPoint = [&](int item) {
    return Point{list.left + 20, list.top + 1 + item * testing::FakeMainWindowServices::kListItemHeight + 5};
  };
  struct Step {
    Point at;
    bool subListOpen;
    int selection;
  };
  const Step steps[] = {
      {itemPoint(3), false, 3}, {itemPoint(6), true, 6},  {itemPoint(6), true, 6},
      {itemPoint(7), false, 7}, {itemPoint(6), true, 6},  {{10, 10}, true, 6},
  };
  for (const Step& step : steps) {
    rig.page.TrackFunctionListHover(step.at);
    EXPECT_EQ(rig.services.ListExists(kDpiSwitchListId), step.subListOpen);
    EXPECT_EQ(rig.services.selections[42], step.selection);
  }
  // Beside item 7 (index 6), 60 by 60, at the item's right edge.
  const int itemTop = 6 * testing::FakeMainWindowServices::kListItemHeight;
  EXPECT_EQ(rig.services.listAreas[kDpiSwitchListId],
            (Rect{list.left + list.Width() - 2, list.top + itemTop, list.left + list.Width() - 2 + 60,
                  list.top + itemTop + 60}));
  EXPECT_EQ(rig.services.lists[kDpiSwitchListId],
            (std::vector<std::string>{"DPI +", "DPI -", "DPI Loop"}));
  // Over the sub-list its item under the pointer becomes the selection.
  const Rect sub = rig.services.listAreas[kDpiSwitchListId];
  rig.page.TrackFunctionListHover({sub.left + 5, sub.top + 1 + 16 + 3});
  EXPECT_EQ(rig.services.selections[kDpiSwitchListId], 1);
  EXPECT_TRUE(rig.services.ListExists(kDpiSwitchListId));
}

TEST(BasicPageHover, DpiSwitchChoiceAssignsTheOpenButtonInTheEditedMode) {
  struct Case {
    std::uint8_t mode;
    int button;
    int item;
    std::uint8_t action;
    const char* text;
    bool shiftBefore;
  };
  const Case cases[] = {
      {0, 3, 0, 1, "DPI +", false}, {0, 1, 2, 3, "DPI Loop", false}, {1, 8, 1, 2, "DPI -", false},
      {1, 4, 2, 3, "DPI Loop", true}, {0, 2, 0, 1, "DPI +", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BasicPageRig rig;
    SettingsRecord& rec = rig.record();
    rec.editedMode = c.mode;
    const int slot = c.button - 1;
    if (c.shiftBefore) {
      rec.modeA.keyFunction[slot] = kShift;
      rec.modeB.keyFunction[slot] = kShift;
      rig.model.skin.paneText[0][slot] = "Shift";
      rig.model.skin.paneText[1][slot] = "Shift";
    }
    const int other = 1 - c.mode;
    const std::uint8_t otherFunction = rec.area(other).keyFunction[slot];
    rig.Show();
    rig.Click(BasicPageRig::Inside(PaneBox(c.button)));
    const Rect list = FunctionListArea(c.button);
    rig.page.TrackFunctionListHover({list.left + 10, list.top + 1 + 6 * 16 + 4});
    ASSERT_TRUE(rig.services.ListExists(kDpiSwitchListId));
    rig.Forget();
    rig.model.OnListNotification(kDpiSwitchListId, c.item, false);

    EXPECT_EQ(rec.area(c.mode).keyFunction[slot], kDpiSwitch);
    EXPECT_EQ(rec.dpiSwitchFor(c.mode)[slot], c.action);
    EXPECT_EQ(rig.model.skin.paneText[c.mode][slot], c.text);
    if (c.shiftBefore) {
      // Shift lives in both modes: it is replaced in both.
      EXPECT_EQ(rec.area(other).keyFunction[slot], kDpiSwitch);
      EXPECT_EQ(rec.dpiSwitchFor(other)[slot], c.action);
      EXPECT_EQ(rig.model.skin.paneText[other][slot], c.text);
    } else {
      EXPECT_EQ(rec.area(other).keyFunction[slot], otherFunction);
      EXPECT_EQ(rec.dpiSwitchFor(other)[slot], 0);
    }
    EXPECT_TRUE(rig.services.lists.empty());
    EXPECT_TRUE(rig.DrewLine("TEXT left " + std::string(c.text) + " 272," +
                             std::to_string(PaneBox(c.button).top) + ",463," +
                             std::to_string(PaneBox(c.button).bottom)));
  }
}

TEST(BasicPageHover, DpiSwitchChoiceWithoutAFunctionListChangesNothing) {
  BasicPageRig rig;
  rig.Show();
  const SettingsRecord before = rig.record();
  rig.services.CreateList(kDpiSwitchListId, {0, 0, 60, 60}, {"DPI +", "DPI -", "DPI Loop"});
  rig.page.OnDpiSwitchChosen(1);
  EXPECT_EQ(std::memcmp(&before, &rig.record(), sizeof before), 0);
  EXPECT_FALSE(rig.services.ListExists(kDpiSwitchListId));
  // No selection: nothing at all.
  rig.page.OnDpiSwitchChosen(-1);
  EXPECT_EQ(std::memcmp(&before, &rig.record(), sizeof before), 0);
}

TEST(BasicPageButtons, DefaultRestoresButtonsOneToNineInBothModes) {
  for (std::uint8_t mode : {0, 1}) {
    BasicPageRig rig;
    SettingsRecord& rec = rig.record();
    rec.editedMode = mode;
    for (int m = 0; m < 2; ++m) {
      std::fill(std::begin(rec.area(m).keyFunction), std::end(rec.area(m).keyFunction),
                std::uint8_t{kMacroKey});
      std::fill(std::begin(rec.area(m).fireCode), std::end(rec.area(m).fireCode), std::uint8_t{7});
      for (int b = 0; b < 12; ++b) rig.model.skin.paneText[m][b] = "old";
    }
    rig.Show();
    rig.Click(BasicPageRig::Inside(kDefaultButton));
    const std::uint8_t expected[12] = {0, 1, 2, 3, 4, 6, 6, 5, 15, kMacroKey, kMacroKey, kMacroKey};
    const char* texts[12] = {"Left Click", "Right Click", "Mid Click",    "Forward",
                             "Backward",   "DPI +",       "DPI -",        "Triple-click",
                             "Key Off",    "old",         "old",          "old"};
    for (int m = 0; m < 2; ++m) {
      for (int b = 0; b < 12; ++b) {
        EXPECT_EQ(rec.area(m).keyFunction[b], expected[b]) << m << " " << b;
        EXPECT_EQ(rec.area(m).fireCode[b], 7);
        EXPECT_EQ(rig.model.skin.paneText[m][b], texts[b]) << m << " " << b;
      }
      EXPECT_EQ(rec.dpiSwitchFor(m)[5], 1);
      EXPECT_EQ(rec.dpiSwitchFor(m)[6], 2);
    }
    EXPECT_TRUE(rig.DrewLine("TEXT left DPI - 272,324,463,345"));
    EXPECT_TRUE(rig.DrewLine("TEXT left Triple-click 272,347,463,368"));
  }
}

TEST(BasicPageButtons, ModeButtonsShowTheOtherModesTextsAndKeepListsOpen) {
  BasicPageRig rig;
  rig.model.skin.paneText[0][0] = "A one";
  rig.model.skin.paneText[1][0] = "B one";
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(4)));
  rig.Forget();
  rig.Click(BasicPageRig::Inside(kModeBButton));
  EXPECT_EQ(rig.record().editedMode, 1);
  EXPECT_TRUE(rig.DrewLine("TEXT left B one 272,186,463,207"));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kButtonOverImage, kModeBButton.TopLeft())));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kButtonNormalImage, kModeAButton.TopLeft())));
  EXPECT_TRUE(rig.DrewLine("TEXT center Mode B 357,518,462,539"));
  // The list's area and header do not hold the mode button: it closes by the
  // outside-click rule, not by the mode change.
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(1)));
  rig.page.SelectMode(0);
  EXPECT_TRUE(rig.services.ListExists(41));
  EXPECT_TRUE(rig.DrewLine("TEXT left A one 272,186,463,207"));
}

TEST(BasicPageLists, OutsideClicksCloseTheOpenLists) {
  struct Case {
    const char* what;
    std::function<void(BasicPage&)> open;
    int listId;
    Point click;
    bool staysOpen;
  };
  const Case cases[] = {
      {"function list, free spot", [](BasicPage& p) { p.TogglePaneList(3); }, 43, {150, 300}, false},
      {"function list, inside its area", [](BasicPage& p) { p.TogglePaneList(1); }, 41, {300, 400}, true},
      {"mode list, report mark", [](BasicPage& p) { p.lighting().ToggleLedModeList(); }, 63,
       BasicPageRig::Inside(ReportRateMarkBox(1)), false},
      {"mode list, its own area", [](BasicPage& p) { p.lighting().ToggleLedModeList(); }, 63,
       {800, 400}, true},
      {"parameter list, anywhere but its header", [](BasicPage& p) { p.lighting().ToggleParameterList(); },
       64, {800, 400}, false},
      {"stage list, free spot", [](BasicPage& p) { p.lighting().ToggleLedStageList(); }, 67, {20, 600},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BasicPageRig rig;
    rig.Show();
    c.open(rig.page);
    ASSERT_TRUE(rig.services.ListExists(c.listId));
    rig.Click(c.click);
    EXPECT_EQ(rig.services.ListExists(c.listId), c.staysOpen);
  }
}

TEST(BasicPageLists, FunctionChoicesGoThroughTheDispatcherAndRedrawThePane) {
  BasicPageRig rig;
  rig.Show();
  rig.Click(BasicPageRig::Inside(PaneBox(2)));
  rig.Forget();
  rig.model.OnListNotification(42, 1, false);  // Right Click
  EXPECT_EQ(rig.record().modeA.keyFunction[1], kRightClick);
  EXPECT_EQ(rig.model.skin.paneText[0][1], "Right Click");
  EXPECT_FALSE(rig.services.ListExists(42));
  EXPECT_TRUE(rig.DrewLine("TEXT left Right Click 272,209,463,230"));

  // "DPI Switch" itself leaves the list open for the sub-list.
  rig.Click(BasicPageRig::Inside(PaneBox(5)));
  rig.model.OnListNotification(45, 6, false);
  EXPECT_TRUE(rig.services.ListExists(45));
  EXPECT_EQ(rig.record().modeA.keyFunction[4], kLeftClick);

  // A dialog's answer in Mode B.
  rig.record().editedMode = 1;
  rig.dialogs.results[kFireKey] = FireKeyAction{2, 40, 2};
  rig.model.OnListNotification(45, 10, false);
  EXPECT_EQ(rig.dialogs.runs, 1);
  EXPECT_EQ(rig.record().modeB.keyFunction[4], kFireKey);
  EXPECT_EQ(rig.record().modeA.keyFunction[4], kLeftClick);
  EXPECT_EQ(rig.model.skin.paneText[1][4], "Fire Key-C");
  EXPECT_FALSE(rig.services.ListExists(45));

  // The dialog opens on the button's current action; cancelled, every byte
  // of the button stays.
  rig.Click(BasicPageRig::Inside(PaneBox(5)));
  const SettingsRecord before = rig.record();
  rig.dialogs.results.clear();
  rig.model.OnListNotification(45, 10, false);
  EXPECT_EQ(rig.dialogs.openedOn, ButtonAction(FireKeyAction{2, 40, 2}));
  EXPECT_EQ(std::memcmp(&before, &rig.record(), sizeof before), 0);
  EXPECT_EQ(rig.model.skin.paneText[1][4], "Fire Key-C");
  EXPECT_FALSE(rig.services.ListExists(45));
}

TEST(BasicPageLists, LeavingThePageDestroysItsControls) {
  BasicPageRig rig;
  rig.Show();
  rig.page.TogglePaneList(6);
  rig.page.lighting().ToggleLedStageList();
  ASSERT_TRUE(rig.services.controls.ChildExists(kLedModeStaticId));
  rig.model.BuildPage(kAdvancedPage);
  EXPECT_TRUE(rig.services.lists.empty());
  EXPECT_TRUE(rig.services.controls.children.empty());
}

TEST(BasicPageHot, PaneHeadersAndDefaultDrawOverAndBack) {
  BasicPageRig rig;
  rig.model.skin.paneText[0][2] = "Mid";
  rig.Show();
  rig.model.OnMouseMove(BasicPageRig::Inside(PaneBox(3)));
  EXPECT_TRUE(rig.Called("HOVER"));
  rig.model.OnMouseHover(BasicPageRig::Inside(PaneBox(3)));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kPaneOverImage, PaneBox(3).TopLeft())));
  EXPECT_TRUE(rig.DrewLine("TEXT left 3 252,232,272,253"));
  EXPECT_TRUE(rig.DrewLine("TEXT left Mid 272,232,463,253"));
  rig.Forget();
  // The next header of the group puts the first one back.
  rig.model.OnMouseHover(BasicPageRig::Inside(PaneBox(4)));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kPaneNormalImage, PaneBox(3).TopLeft())));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kPaneOverImage, PaneBox(4).TopLeft())));
  rig.Forget();
  rig.model.OnMouseHover(BasicPageRig::Inside(kDefaultButton));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kButtonOverImage, kDefaultButton.TopLeft())));
  EXPECT_TRUE(rig.DrewLine("TEXT center Default 307,549,412,570"));
}

TEST(BasicPageDraw, ThePageShowsItsSectionsAndTheEditedMode) {
  BasicPageRig rig;
  rig.record().editedMode = 1;
  rig.model.skin.paneText[1][7] = "B eight";
  rig.model.BuildPage(kBasicPage);
  const std::vector<std::string> expected = {
      ImageLine(kBasicPageImage, {0, 0}),
      "TEXT left title Basic Settings 120,50,352,100",
      "TEXT center Key Setting 259,160,364,181",
      "TEXT center Report Rate Setting 504,161,609,182",
      "TEXT center DPI Setting 504,275,609,296",
      "TEXT center RGB Effect 704,275,809,296",
      "TEXT center OK 513,609,618,630",
      "TEXT center Default 307,549,412,570",
      "TEXT left 8 252,347,272,368",
      "TEXT left B eight 272,347,463,368",
      ImageLine(kButtonOverImage, kModeBButton.TopLeft()),
      "TEXT center 125 542,225,612,245",
      "TEXT center 1000 758,225,828,245",
      "TEXT right Select 494,541,544,557",
      "TEXT center 4 635,562,651,587",
  };
  for (const std::string& line : expected) EXPECT_TRUE(rig.DrewLine(line)) << line;
  // The background goes first, so nothing of an earlier picture remains.
  ASSERT_FALSE(rig.services.redraws.empty());
  EXPECT_EQ(rig.services.redraws[0][0], ImageLine(kBasicPageImage, {0, 0}));
  // The title is white; everything else is in the skin's text colour.
  std::vector<std::string> texts;
  for (const std::string& line : rig.services.redraws[0]) {
    if (line.rfind("TEXT ", 0) == 0) texts.push_back(line);
  }
  ASSERT_EQ(texts.size(), rig.services.textColors.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const bool title = texts[i].find("Basic Settings") != std::string::npos;
    const bool address =
        !kVortalWebAddress.empty() && texts[i].find(kVortalWebAddress) != std::string::npos;
    EXPECT_EQ(rig.services.textColors[i], title     ? (Color{255, 255, 255})
                                          : address ? kWebAddressColor
                                                    : (Color{1, 2, 3}))
        << texts[i];
  }
}

}  // namespace
}  // namespace vortal
