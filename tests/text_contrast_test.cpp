#include "ui/skin/text_contrast.h"

#include <gtest/gtest.h>

namespace vortal {
namespace {

TEST(TextContrast, RatioOfKnownPairs) {
  struct Case {
    Color a;
    Color b;
    double ratio;
  };
  const Case cases[] = {
      {{0, 0, 0}, {255, 255, 255}, 21.0},
      {{255, 255, 255}, {0, 0, 0}, 21.0},  // order does not matter
      {{40, 40, 40}, {40, 40, 40}, 1.0},
      {{0, 0, 255}, {0, 0, 0}, 2.444},     // pure blue is dim
      {{255, 0, 0}, {0, 0, 0}, 5.252},
      {{118, 118, 118}, {255, 255, 255}, 4.542},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.005)
        << int(c.a.red) << "," << int(c.a.green) << "," << int(c.a.blue);
  }
}

TEST(TextContrast, ReadableColoursAreKeptOthersGiveWayToBlackOrWhite) {
  const Color white{255, 255, 255};
  const Color black{0, 0, 0};
  const Color listBack{2, 4, 5};
  const Color field{40, 40, 40};
  const Color green{100, 150, 100};
  struct Case {
    const char* what;
    Color text;
    Color back;
    Color shown;
  };
  const Case cases[] = {
      {"default skin text on the list", {220, 227, 234}, listBack, {220, 227, 234}},
      {"red on black", {255, 0, 0}, black, {255, 0, 0}},
      {"mid grey on black", {100, 100, 100}, black, {100, 100, 100}},
      {"dark text on the list", {30, 30, 30}, listBack, white},
      {"the list's own colour", listBack, listBack, white},
      {"blue on black", {0, 0, 255}, black, white},
      {"dark grey on the field", {60, 60, 60}, field, white},
      {"pale text on white", {230, 230, 230}, white, black},
      {"pale text on the green", {220, 227, 234}, green, black},
      {"dark text on the green", {40, 40, 40}, green, {40, 40, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadableTextColor(c.text, c.back), c.shown);
  }
}

}  // namespace
}  // namespace vortal
