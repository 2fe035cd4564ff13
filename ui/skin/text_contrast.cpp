#include "ui/skin/text_contrast.h"

#include <algorithm>
#include <cmath>

namespace vortal {
namespace {

constexpr Color kBlackText{0, 0, 0};
constexpr Color kWhiteText{255, 255, 255};

// An sRGB channel as linear light.
double Linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Color c) {
  return 0.2126 * Linear(c.red) + 0.7152 * Linear(c.green) + 0.0722 * Linear(c.blue);
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color ReadableTextColor(Color text, Color back) {
  if (ContrastRatio(text, back) >= kMinimumTextContrast) return text;
  return ContrastRatio(kWhiteText, back) >= ContrastRatio(kBlackText, back) ? kWhiteText : kBlackText;
}

}  // namespace vortal
