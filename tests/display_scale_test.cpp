#include "ui/host/display_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/skin/scaled_images.h"

namespace vortal {
namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192, 240, 288};

// A click lands on a pixel; the model tests the unscaled point against its
// rectangle. Both must agree for every pixel, shared columns included.
TEST(DisplayScaleTest, AnUnscaledPixelIsInsideARectangleExactlyWhenThePixelIsInsideItsScaledOne) {
  const Rect boxes[] = {
      {513, 609, 618, 630},  // OK, sharing column 617 with Apply
      {617, 609, 722, 630},  // Apply
      {850, 5, 868, 23},     // close
      {0, 0, 1, 1},          // one unit
      {-3, -2, 4, 5},        // across the origin
  };
  for (const int dpi : kDpis) {
    const DisplayScale scale(dpi);
    for (const Rect& box : boxes) {
      const Rect pixels = scale.Scale(box);
      for (int y = pixels.top - 3; y < pixels.bottom + 3; ++y) {
        for (int x = pixels.left - 3; x < pixels.right + 3; ++x) {
          ASSERT_EQ(box.Contains(scale.Unscale(Point{x, y})), pixels.Contains({x, y}))
              << dpi << " DPI, pixel " << x << "," << y << " of " << box.left << "," << box.top;
        }
      }
      EXPECT_EQ(scale.Unscale(pixels), box) << dpi;
    }
    for (int u = -50; u < 1000; ++u) ASSERT_EQ(scale.Unscale(scale.Scale(u)), u) << dpi << " " << u;
  }
  // To the nearest pixel, halves up; nothing below 96 DPI.
  EXPECT_EQ(DisplayScale(144).Scale(645), 968);
  EXPECT_EQ(DisplayScale(120).Scale(13), 16);
  EXPECT_EQ(DisplayScale(72).dpi(), 96);
  EXPECT_EQ(DisplayScale(0).Scale(880), 880);
}

TEST(DisplayScaleTest, AWindowTooLargeForTheWorkAreaTakesTheLargestQuarterStepThatFits) {
  struct Case {
    int dpi;
    Size units, workArea;
    int expected;
  };
  const Case cases[] = {
      {192, {880, 645}, {1920, 1040}, 144},  // 200 % on a 1080p screen: 1320 x 968
      {192, {880, 645}, {1920, 1000}, 144},  // with a taller task bar
      {192, {880, 645}, {3840, 2080}, 192},  // a 4K screen at 200 %
      {144, {880, 645}, {1920, 1040}, 144},
      {192, {392, 285}, {1920, 1040}, 192},  // a sub-dialog fits
      {168, {880, 645}, {1366, 728}, 96},    // 175 % on a small laptop: only 96 fits
      {96, {2000, 2000}, {1920, 1040}, 96},  // too large at 96 as well
      {200, {880, 645}, {1920, 1040}, 144},  // an odd DPI steps down to quarters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FittingScale(c.dpi, c.units, c.workArea).dpi(), c.expected)
        << c.dpi << " DPI in " << c.workArea.width << "x" << c.workArea.height;
  }
}

TEST(ScaledImagesTest, RendersAreNamedByTheirScaleAndTheNearestLargerOneIsChosen) {
  struct Name {
    const char* name;
    int percent;
    const char* expected;
  };
  for (const Name& c : {Name{"/main.png", 100, "/main.png"}, Name{"/main.png", 150, "/main@1.5x.png"},
                        Name{"/main.png", 200, "/main@2x.png"},
                        Name{"/button-over.png", 125, "/button-over@1.25x.png"},
                        Name{"/a.b/c", 300, "/a.b/c@3x"}}) {
    EXPECT_EQ(ScaledImageName(c.name, c.percent), c.expected) << c.name << " " << c.percent;
  }
  struct Choice {
    int percent;
    std::vector<int> available;
    int expected;
  };
  const Choice choices[] = {
      {150, {100, 150, 200}, 150}, {125, {100, 150, 200}, 150}, {175, {100, 150, 200}, 200},
      {250, {100, 150, 200}, 200}, {200, {100}, 100},           {150, {}, 0},
      {150, {200, 300}, 200},
  };
  for (const Choice& c : choices) EXPECT_EQ(ChooseImageScale(c.percent, c.available), c.expected) << c.percent;
}

PixelImage Filled(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
  PixelImage image{w, h, {}};
  for (int i = 0; i < w * h; ++i) image.pixels.insert(image.pixels.end(), {b, g, r, a});
  return image;
}

TEST(ScaledImagesTest, ResamplingKeepsFlatAreasAndPremultipliedColoursAndSmoothsEdges) {
  struct Case {
    int w, h, toW, toH;
  };
  for (const Case& c : {Case{105, 21, 158, 32}, Case{105, 21, 210, 42}, Case{40, 40, 20, 20},
                        Case{1, 1, 3, 2}}) {
    const PixelImage flat = Resample(Filled(c.w, c.h, 40, 80, 120, 200), c.toW, c.toH);
    ASSERT_EQ(flat.pixels.size(), static_cast<std::size_t>(c.toW) * c.toH * 4);
    for (std::size_t i = 0; i < flat.pixels.size(); i += 4) {
      ASSERT_EQ((std::vector<int>{flat.pixels[i], flat.pixels[i + 1], flat.pixels[i + 2], flat.pixels[i + 3]}),
                (std::vector<int>{40, 80, 120, 200}))
          << c.w << "->" << c.toW << " at " << i / 4;
    }
  }
  // Random premultiplied pixels stay premultiplied (no colour above alpha).
  std::mt19937 random(7);
  PixelImage noise{16, 16, {}};
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t a = static_cast<std::uint8_t>(random() % 256);
    for (int k = 0; k < 3; ++k) noise.pixels.push_back(static_cast<std::uint8_t>(a ? random() % (a + 1) : 0));
    noise.pixels.push_back(a);
  }
  for (const auto& [w, h] : {std::pair{24, 24}, std::pair{32, 32}, std::pair{9, 11}}) {
    const PixelImage out = Resample(noise, w, h);
    for (std::size_t i = 0; i < out.pixels.size(); i += 4) {
      for (int k = 0; k < 3; ++k) ASSERT_LE(out.pixels[i + k], out.pixels[i + 3]) << w << " at " << i / 4;
    }
  }
  // A hard black-to-white edge doubled: not copied pixel by pixel, but with
  // steps between, rising from left to right.
  PixelImage edge = Filled(8, 1, 0, 0, 0, 255);
  for (int x = 4; x < 8; ++x) edge.pixels[x * 4] = edge.pixels[x * 4 + 1] = edge.pixels[x * 4 + 2] = 255;
  const PixelImage doubled = Resample(edge, 16, 1);
  int between = 0;
  for (int x = 0; x < 16; ++x) {
    const int v = doubled.pixels[x * 4];
    between += v > 0 && v < 255;
    if (x > 0) {
      EXPECT_GE(v, doubled.pixels[(x - 1) * 4]) << x;
    }
  }
  EXPECT_GE(between, 2);
}

}  // namespace
}  // namespace vortal
