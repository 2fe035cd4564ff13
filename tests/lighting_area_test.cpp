#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/basic_page_rig.h"
#include "ui/window/lighting_area.h"
#include "ui/skin/skin_images.h"

namespace vortal {
namespace {

using testing::BasicPageRig;
using testing::ImageLine;

TEST(LightingAreaTexts, ParameterTextsOfEachMode) {
  struct Case {
    int mode;
    int index;
    std::string text;
  };
  const Case cases[] = {
      {1, 0, "5%"},   {1, 9, "100%"}, {1, 10, ""},   {2, 0, "8S"},    {2, 4, "4S"},  {2, 5, ""},
      {3, 0, "0.5S"}, {3, 1, "1S"},   {3, 2, "1.5S"}, {3, 19, "10S"}, {3, 28, "14.5S"},
      {3, 29, "15S"}, {3, 30, ""},    {0, 0, "0.5S"}, {7, 29, "15S"}, {1, -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LedParameterText(c.mode, c.index), c.text) << c.mode << " " << c.index;
  }
  EXPECT_EQ(LedParameterTexts(1).size(), 10u);
  EXPECT_EQ(LedParameterTexts(2).size(), 5u);
  EXPECT_EQ(LedParameterTexts(0).size(), 30u);
  const LocalizedTexts english;
  EXPECT_EQ(LedModeText(english, 0), "Off Mode");
  EXPECT_EQ(LedModeText(english, 3), "Neon Mode");
  EXPECT_EQ(LedModeText(english, 4), "");
}

TEST(LightingAreaBits, EachSquareOfEachStageIsItsOwnBit) {
  struct Case {
    int stage;
    int square;
    int byte;
    std::uint8_t mask;
  };
  const Case cases[] = {
      {0, 0, 0, 0x01}, {0, 3, 0, 0x08}, {1, 0, 0, 0x10}, {1, 3, 0, 0x80},
      {2, 1, 1, 0x02}, {3, 2, 1, 0x40}, {3, 3, 1, 0x80},
  };
  for (const Case& c : cases) {
    const LedBit bit = LedBitOf(c.stage, c.square);
    EXPECT_EQ(bit.byte, c.byte) << c.stage << c.square;
    EXPECT_EQ(bit.mask, c.mask) << c.stage << c.square;
  }
}

TEST(LightingAreaDraw, StaticsShowTheModeAndItsParameter) {
  struct Case {
    std::uint8_t mode;
    std::array<std::uint8_t, 3> params;
    std::string modeText;
    std::optional<std::string> parameterText;  // nothing: no parameter static
  };
  const Case cases[] = {
      {0, {0, 0, 0}, "Off Mode", std::nullopt},
      {1, {9, 0, 0}, "Standard Mode", "100%"},
      {2, {0, 1, 0}, "Respiration Mode", "7S"},
      {3, {0, 0, 5}, "Neon Mode", "3S"},
      {9, {0, 0, 0}, "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modeText);
    BasicPageRig rig;
    rig.record().auxLedMode = c.mode;
    std::copy(c.params.begin(), c.params.end(), rig.record().auxLedParam);
    rig.model.BuildPage(kBasicPage);
    EXPECT_EQ(rig.services.controls.ChildText(kLedModeStaticId), c.modeText);
    EXPECT_EQ(rig.services.controls.ChildExists(kLedParameterStaticId), c.parameterText.has_value());
    if (c.parameterText) {
      EXPECT_EQ(rig.services.controls.ChildText(kLedParameterStaticId), *c.parameterText);
    }
    for (int id = kFirstSwatchId; id < kFirstSwatchId + 8; ++id) EXPECT_TRUE(rig.services.controls.ChildExists(id));
    EXPECT_EQ(rig.services.controls.children[kLedModeStaticId].box, (Rect{767, 330, 835, 344}));
    EXPECT_EQ(rig.services.controls.children[kFirstSwatchId].box, (Rect{703, 420, 719, 436}));
  }
}

TEST(LightingAreaDraw, TicksLabelsAndTheFirstStagesSquares) {
  BasicPageRig rig;
  rig.record().loopColorEnabled[0] = 1;
  rig.record().loopColorEnabled[7] = 1;
  rig.record().loopColorEnabled[3] = 2;  // only 1 is ticked
  rig.record().dpiStageLedBits[0] = 0x35;  // stage 1: squares 1 and 3; stage 2: squares 1 and 2
  rig.model.BuildPage(kBasicPage);
  for (int i = 0; i < 8; ++i) {
    const bool ticked = i == 0 || i == 7;
    EXPECT_EQ(rig.DrewLine(ImageLine(kCheckBoxTickedImage, LoopColorTickBox(i).TopLeft())), ticked) << i;
  }
  for (int k = 0; k < 4; ++k) {
    const bool lit = k == 0 || k == 2;
    EXPECT_EQ(rig.DrewLine(ImageLine(kDpiLightImage, LedSquareBox(k).TopLeft())), lit) << k;
  }
  for (const std::string line : {"TEXT right Mode 696,329,756,344", "TEXT right Parameter 696,359,756,374",
                                 "TEXT left Loop Color Setting 697,390,870,420",
                                 "TEXT lefttop DPI Self-Color LED Setting  697,480,870,500",
                                 "TEXT lefttop DPI Stage1 741,510,826,526"}) {
    EXPECT_TRUE(rig.DrewLine(line)) << line;
  }
  EXPECT_TRUE(rig.DrewLine(ImageLine(kLedHeaderImage, {766, 329})));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kLedHeaderImage, {766, 359})));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiStageHeaderImage, {741, 510})));
}

TEST(LightingAreaLists, ListsOfferTheirItemsInTheirAreas) {
  struct Case {
    std::uint8_t mode;
    Rect parameterArea;
    std::size_t parameterItems;
  };
  const Case cases[] = {{1, {766, 377, 851, 547}, 10}, {2, {766, 377, 851, 467}, 5},
                        {3, {766, 377, 851, 577}, 30}, {0, {766, 377, 851, 577}, 30}};
  for (const Case& c : cases) {
    BasicPageRig rig;
    rig.record().auxLedMode = c.mode;
    rig.Show();
    rig.Click(BasicPageRig::Inside(kLedParameterHeader));
    EXPECT_EQ(rig.services.listAreas[kLedParameterListId], c.parameterArea);
    EXPECT_EQ(rig.services.lists[kLedParameterListId].size(), c.parameterItems);
    rig.Click(BasicPageRig::Inside(kLedParameterHeader));
    EXPECT_FALSE(rig.services.ListExists(kLedParameterListId));
  }
  BasicPageRig rig;
  rig.Show();
  rig.Click(BasicPageRig::Inside(kLedModeHeader));
  EXPECT_EQ(rig.services.lists[kLedModeListId],
            (std::vector<std::string>{"Standard Mode", "Respiration Mode", "Neon Mode"}));
  EXPECT_EQ(rig.services.listAreas[kLedModeListId], (Rect{766, 347, 851, 407}));
  rig.Click(BasicPageRig::Inside(kLedStageHeader));
  EXPECT_FALSE(rig.services.ListExists(kLedModeListId));
  EXPECT_EQ(rig.services.lists[kLedStageListId],
            (std::vector<std::string>{"DPI Stage1", "DPI Stage2", "DPI Stage3", "DPI Stage4"}));
  EXPECT_EQ(rig.services.listAreas[kLedStageListId], (Rect{740, 529, 826, 609}));
}

TEST(LightingAreaChoices, ModeChoiceShowsTheNewModesParameter) {
  struct Case {
    std::uint8_t drawnMode;
    int item;
    std::uint8_t mode;
    std::string modeText;
    std::string parameterText;
  };
  const Case cases[] = {
      {1, 1, 2, "Respiration Mode", "8S"},
      {1, 0, 1, "Standard Mode", "25%"},
      {2, 2, 3, "Neon Mode", "2S"},
      // Drawn in Off Mode there was no parameter text: the new mode gets one.
      {0, 0, 1, "Standard Mode", "25%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modeText);
    BasicPageRig rig;
    rig.record().auxLedMode = c.drawnMode;
    rig.record().auxLedParam[0] = 2;
    rig.record().auxLedParam[2] = 3;
    rig.Show();
    rig.page.lighting().ToggleLedModeList();
    rig.model.OnListNotification(kLedModeListId, c.item, false);
    EXPECT_EQ(rig.record().auxLedMode, c.mode);
    EXPECT_EQ(rig.services.controls.ChildText(kLedModeStaticId), c.modeText);
    EXPECT_EQ(rig.services.controls.ChildText(kLedParameterStaticId), c.parameterText);
    EXPECT_FALSE(rig.services.ListExists(kLedModeListId));
  }
}

TEST(LightingAreaChoices, ParameterChoiceIsStoredForItsMode) {
  struct Case {
    std::uint8_t mode;
    int item;
    std::array<std::uint8_t, 3> params;
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {1, 4, {4, 0, 0}, "45%", "45%"},
      {2, 3, {0, 3, 0}, "5S", "5S"},
      {3, 29, {0, 0, 29}, "15S", "15S"},
      {0, 5, {0, 0, 0}, "3S", ""},  // Off Mode stores nothing and has no parameter text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BasicPageRig rig;
    rig.record().auxLedMode = c.mode;
    rig.Show();
    rig.page.lighting().ToggleParameterList();
    rig.model.OnListNotification(kLedParameterListId, c.item, false);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.record().auxLedParam[i], c.params[i]) << i;
    EXPECT_EQ(rig.services.controls.ChildText(kLedParameterStaticId), c.shown);
    EXPECT_FALSE(rig.services.ListExists(kLedParameterListId));
  }
}

TEST(LightingAreaColors, LoopColourTicksAndTheColourDialog) {
  struct Case {
    const char* what;
    std::uint8_t firstTick;
    int swatch;
    std::optional<Color> chosen;
    bool dialogOpens;
    bool stored;
  };
  const Case cases[] = {
      {"first ticked, confirmed", 1, 4, Color{10, 20, 30}, true, true},
      {"first ticked, cancelled", 1, 0, std::nullopt, true, false},
      {"first not ticked", 0, 4, Color{10, 20, 30}, false, false},
      {"first holds 2", 2, 0, Color{10, 20, 30}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BasicPageRig rig;
    rig.record().loopColorEnabled[0] = c.firstTick;
    rig.record().loopColorEnabled[c.swatch] = c.swatch == 0 ? c.firstTick : 1;
    rig.services.chosenColor = c.chosen;
    rig.Show();
    rig.Click(BasicPageRig::Inside(LoopColorSwatchBox(c.swatch)));
    EXPECT_EQ(rig.Called("CHOOSE_COLOR"), c.dialogOpens);
    const std::uint8_t* rgb = rig.record().loopColor[c.swatch];
    if (c.stored) {
      EXPECT_EQ(rgb[0], 10);
      EXPECT_EQ(rgb[1], 20);
      EXPECT_EQ(rgb[2], 30);
    } else {
      EXPECT_EQ(rgb[0] | rgb[1] | rgb[2], 0);
    }
    // The swatch shows what the record holds.
    EXPECT_EQ(rig.services.controls.looks[kFirstSwatchId + c.swatch].back,
              (Color{rgb[0], rgb[1], rgb[2]}));
  }
}

TEST(LightingAreaColors, TicksFlipBetweenZeroAndOne) {
  struct Case {
    std::uint8_t before;
    std::uint8_t after;
    std::string_view image;
  };
  for (const Case& c : {Case{0, 1, kCheckBoxTickedImage}, Case{1, 0, kCheckBoxImage},
                        Case{5, 1, kCheckBoxTickedImage}}) {
    BasicPageRig rig;
    rig.record().loopColorEnabled[6] = c.before;
    rig.Show();
    rig.Click(BasicPageRig::Inside(LoopColorTickBox(6)));
    EXPECT_EQ(rig.record().loopColorEnabled[6], c.after);
    EXPECT_TRUE(rig.DrewLine(ImageLine(c.image, LoopColorTickBox(6).TopLeft())));
  }
}

TEST(LightingAreaColors, SquaresEditTheStageTheHeaderShows) {
  BasicPageRig rig;
  rig.record().dpiStageLedBits[1] = 0x40;
  rig.Show();
  rig.page.lighting().ToggleLedStageList();
  rig.model.OnListNotification(kLedStageListId, 3, false);
  EXPECT_EQ(rig.page.lighting().selectedLedStage(), 3);
  EXPECT_TRUE(rig.DrewLine("TEXT lefttop DPI Stage4 741,510,826,526"));
  EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiLightImage, LedSquareBox(2).TopLeft())));
  EXPECT_FALSE(rig.services.ListExists(kLedStageListId));
  rig.Forget();
  // Square 3 of stage 4 is bit 6 of the second byte.
  rig.Click(BasicPageRig::Inside(LedSquareBox(2)));
  EXPECT_EQ(rig.record().dpiStageLedBits[1], 0x00);
  EXPECT_TRUE(rig.DrewLine(ImageLine(kDpiDarkImage, LedSquareBox(2).TopLeft())));
  rig.Click(BasicPageRig::Inside(LedSquareBox(0)));
  EXPECT_EQ(rig.record().dpiStageLedBits[1], 0x10);

  // A redraw shows stage 1 again, and the squares then edit stage 1.
  rig.model.BuildPage(kBasicPage);
  EXPECT_EQ(rig.page.lighting().selectedLedStage(), 0);
  rig.Click(BasicPageRig::Inside(LedSquareBox(0)));
  EXPECT_EQ(rig.record().dpiStageLedBits[0], 0x01);
  EXPECT_EQ(rig.record().dpiStageLedBits[1], 0x10);
}

TEST(LightingAreaColors, ARedrawAfterCancelShowsTheRestoredValues) {
  BasicPageRig rig;
  rig.Show();
  rig.page.lighting().ToggleLedModeList();
  rig.model.OnListNotification(kLedModeListId, 2, false);
  ASSERT_EQ(rig.services.controls.ChildText(kLedModeStaticId), "Neon Mode");
  rig.record().loopColor[0][0] = 99;  // as after a colour choice
  rig.services.controls.looks[kFirstSwatchId].back = {99, 0, 0};
  rig.model.CancelChanges();
  rig.model.BuildPage(kBasicPage);
  EXPECT_EQ(rig.services.controls.ChildText(kLedModeStaticId), "Off Mode");
  EXPECT_EQ(rig.services.controls.ChildText(kLedParameterStaticId), "");
  EXPECT_EQ(rig.services.controls.looks[kFirstSwatchId].back, (Color{0, 0, 0}));
}

// The swatches show their loop colours; the mode and parameter texts take
// the skin's colour wherever it reads on black, white where it does not.
TEST(LightingAreaColors, SwatchesAndStaticsTakeTheirLooks) {
  const Color pale{220, 227, 234};  // the Default skin's text colour
  const Color dark{40, 40, 40};
  const Color black{0, 0, 0};
  const Color white{255, 255, 255};
  struct Case {
    const char* what;
    Color skinText;
    int id;
    ChildLook look;
  };
  const Case cases[] = {
      {"swatch 3", pale, kFirstSwatchId + 2, {black, {200, 100, 50}}},
      {"swatch 8", pale, kFirstSwatchId + 7, {black, black}},
      {"mode static", pale, kLedModeStaticId, {pale, black}},
      {"parameter static", pale, kLedParameterStaticId, {pale, black}},
      {"mode static, dark skin text", dark, kLedModeStaticId, {white, black}},
      {"parameter static, dark skin text", dark, kLedParameterStaticId, {white, black}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BasicPageRig rig;
    rig.model.skin.textColor = {c.skinText.red, c.skinText.green, c.skinText.blue};
    rig.record().auxLedMode = 1;
    rig.record().loopColor[2][0] = 200;
    rig.record().loopColor[2][1] = 100;
    rig.record().loopColor[2][2] = 50;
    rig.model.BuildPage(kBasicPage);
    ASSERT_TRUE(rig.services.controls.ChildExists(c.id));
    EXPECT_EQ(rig.services.controls.looks[c.id].text, c.look.text);
    EXPECT_EQ(rig.services.controls.looks[c.id].back, c.look.back);
  }
}

}  // namespace
}  // namespace vortal
