#include "ui/skin/scaled_images.h"

#include <algorithm>
#include <cmath>

namespace vortal {

std::string ScaledImageName(std::string_view name, int percent) {
  if (percent == 100) return std::string(name);
  std::string factor = std::to_string(percent / 100);
  if (int rest = percent % 100; rest != 0) {
    factor += '.';
    factor += rest % 10 == 0 ? std::to_string(rest / 10) : std::to_string(rest);
  }
  const std::size_t dot = name.rfind('.');
  const std::size_t slash = name.rfind('/');
  const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  const std::string_view stem = hasExtension ? name.substr(0, dot) : name;
  const std::string_view extension = hasExtension ? name.substr(dot) : std::string_view{};
  return std::string(stem) + '@' + factor + 'x' + std::string(extension);
}

int ChooseImageScale(int percent, const std::vector<int>& available) {
  int larger = 0;
  int largest = 0;
  for (const int scale : available) {
    if (scale == percent) return scale;
    if (scale > percent && (larger == 0 || scale < larger)) larger = scale;
    largest = std::max(largest, scale);
  }
  return larger != 0 ? larger : largest;
}

namespace {

double CatmullRom(double x) {
  x = std::fabs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}

// For each output position along one axis: the first source index and the
// weights of the source pixels from there on (summing to 1).
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<float> weights;  // `stride` per output position
  int stride = 0;
};

Taps TapsFor(int sourceLength, int length) {
  Taps taps;
  const double ratio = static_cast<double>(sourceLength) / length;
  const double widen = std::max(1.0, ratio);  // shrinking: the kernel spans the ratio
  const double support = 2 * widen;
  taps.stride = static_cast<int>(std::ceil(support)) * 2 + 1;
  taps.first.resize(length);
  taps.count.resize(length);
  taps.weights.assign(static_cast<std::size_t>(length) * taps.stride, 0.0f);
  for (int i = 0; i < length; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    const int from = std::max(0, static_cast<int>(std::floor(centre - support)) + 1);
    const int to = std::min(sourceLength - 1, static_cast<int>(std::ceil(centre + support)) - 1);
    double sum = 0;
    const int n = std::min(taps.stride, to - from + 1);
    float* w = &taps.weights[static_cast<std::size_t>(i) * taps.stride];
    for (int k = 0; k < n; ++k) {
      w[k] = static_cast<float>(CatmullRom((from + k - centre) / widen));
      sum += w[k];
    }
    if (sum != 0) {
      for (int k = 0; k < n; ++k) w[k] = static_cast<float>(w[k] / sum);
    }
    taps.first[i] = from;
    taps.count[i] = n;
  }
  return taps;
}

}  // namespace

PixelImage Resample(const PixelImage& source, int width, int height) {
  PixelImage result{width, height, {}};
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return result;
  const Taps across = TapsFor(source.width, width);
  const Taps down = TapsFor(source.height, height);
  // Across first, into floats: each source row once.
  std::vector<float> rows(static_cast<std::size_t>(source.height) * width * 4);
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* in = &source.pixels[static_cast<std::size_t>(y) * source.width * 4];
    float* out = &rows[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      const float* w = &across.weights[static_cast<std::size_t>(x) * across.stride];
      const std::uint8_t* p = in + static_cast<std::size_t>(across.first[x]) * 4;
      float sum[4] = {0, 0, 0, 0};
      for (int k = 0; k < across.count[x]; ++k, p += 4) {
        for (int c = 0; c < 4; ++c) sum[c] += w[k] * p[c];
      }
      for (int c = 0; c < 4; ++c) out[x * 4 + c] = sum[c];
    }
  }
  result.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  const std::size_t rowFloats = static_cast<std::size_t>(width) * 4;
  for (int y = 0; y < height; ++y) {
    const float* w = &down.weights[static_cast<std::size_t>(y) * down.stride];
    std::uint8_t* out = &result.pixels[static_cast<std::size_t>(y) * rowFloats];
    for (std::size_t i = 0; i < rowFloats; i += 4) {
      float sum[4] = {0, 0, 0, 0};
      const float* p = &rows[static_cast<std::size_t>(down.first[y]) * rowFloats + i];
      for (int k = 0; k < down.count[y]; ++k, p += rowFloats) {
        for (int c = 0; c < 4; ++c) sum[c] += w[k] * p[c];
      }
      const float alpha = std::clamp(sum[3], 0.0f, 255.0f);
      for (int c = 0; c < 3; ++c) {
        out[i + c] = static_cast<std::uint8_t>(std::lround(std::clamp(sum[c], 0.0f, alpha)));
      }
      out[i + 3] = static_cast<std::uint8_t>(std::lround(alpha));
    }
  }
  return result;
}

}  // namespace vortal
