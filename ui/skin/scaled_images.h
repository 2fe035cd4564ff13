// Skin images for screens above 96 DPI. Beside each image a skin may carry
// renders of it at other scales, named by the scale in percent-free form
// before the extension: "/main.png" at 150 % is "/main@1.5x.png", at 200 %
// "/main@2x.png". The program draws the render made for the window's scale
// when there is one, and otherwise makes one from the nearest larger render
// (a smaller one only when there is none larger) with a smooth filter.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/geometry.h"

namespace vortal {

// The scales a skin can carry renders at, in percent; 100 is the base image.
inline constexpr std::array<int, 7> kImageScalePercents = {100, 125, 150, 175, 200, 250, 300};

// `name` ("/main.png") as its render at `percent` ("/main@1.5x.png"); the
// name itself at 100.
std::string ScaledImageName(std::string_view name, int percent);

// Of the renders a skin has (`available`, percents), the one to make the
// image at `percent` from: the same scale, else the smallest larger one,
// else the largest. 0 when there is none.
int ChooseImageScale(int percent, const std::vector<int>& available);

// Premultiplied 32-bit pixels (blue, green, red, alpha), rows top down
// without padding.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// `source` resampled to `width` x `height` with a Catmull-Rom filter, widened
// by the ratio when shrinking so that every source pixel counts. Colours are
// kept within their alpha, so the result stays validly premultiplied.
PixelImage Resample(const PixelImage& source, int width, int height);

}  // namespace vortal
