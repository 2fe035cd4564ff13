// The display scale of a window: the models lay everything out in units of
// a 96-DPI screen, the host draws in the screen's pixels. Scale turns units
// into pixels, Unscale turns pixels into the unit that covers them.
//
// Rounding, the one rule both directions follow: a unit edge u lies at pixel
// floor((u * dpi + 48) / 96) (to the nearest pixel, halves up), so the edges
// of neighbouring rectangles land on one pixel column and shared columns
// stay shared. A pixel p belongs to the unit u whose edges enclose it:
// Scale(u) <= p < Scale(u + 1). A point is therefore inside a scaled
// rectangle exactly when its unscaled point is inside the rectangle.
#pragma once

#include "ui/host/geometry.h"

namespace vortal {

inline constexpr int kBaseDpi = 96;

class DisplayScale {
 public:
  constexpr DisplayScale() = default;
  // Below 96 DPI (or an unknown 0) the window is drawn at 96.
  constexpr explicit DisplayScale(int dpi) : dpi_(dpi < kBaseDpi ? kBaseDpi : dpi) {}

  constexpr int dpi() const { return dpi_; }
  // 1.0 at 96 DPI, 1.5 at 144, 2.0 at 192.
  constexpr double factor() const { return static_cast<double>(dpi_) / kBaseDpi; }
  constexpr bool identity() const { return dpi_ == kBaseDpi; }

  constexpr int Scale(int units) const { return FloorDiv(units * dpi_ + kBaseDpi / 2, kBaseDpi); }
  constexpr int Unscale(int pixels) const {
    return FloorDiv(pixels * kBaseDpi + kBaseDpi / 2 - 1, dpi_);
  }
  constexpr Point Scale(Point p) const { return {Scale(p.x), Scale(p.y)}; }
  constexpr Point Unscale(Point p) const { return {Unscale(p.x), Unscale(p.y)}; }
  constexpr Size Scale(Size s) const { return {Scale(s.width), Scale(s.height)}; }
  // Edges are scaled one by one (the size may differ by a pixel with the
  // position), so that adjacent rectangles stay adjacent.
  constexpr Rect Scale(const Rect& r) const {
    return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
  }
  // The units whose pixels the rectangle covers, at least partly.
  constexpr Rect Unscale(const Rect& r) const {
    return {Unscale(r.left), Unscale(r.top), Unscale(r.right - 1) + 1, Unscale(r.bottom - 1) + 1};
  }

  friend constexpr bool operator==(const DisplayScale&, const DisplayScale&) = default;

 private:
  static constexpr int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

  int dpi_ = kBaseDpi;
};

// The scale a window of `units` (its size at 96 DPI) is drawn at on a
// monitor of `monitorDpi` whose work area is `workArea` pixels: the
// monitor's own, or, when the window would not fit the work area at it, the
// largest quarter step (24 DPI) below it at which it fits, down to 96. A
// window too large even at 96 DPI is drawn at 96.
constexpr DisplayScale FittingScale(int monitorDpi, Size units, Size workArea) {
  const DisplayScale own(monitorDpi);
  auto fits = [&](DisplayScale s) {
    const Size pixels = s.Scale(units);
    return pixels.width <= workArea.width && pixels.height <= workArea.height;
  };
  if (fits(own)) return own;
  constexpr int kStep = kBaseDpi / 4;
  for (int dpi = (own.dpi() - 1) / kStep * kStep; dpi > kBaseDpi; dpi -= kStep) {
    if (fits(DisplayScale(dpi))) return DisplayScale(dpi);
  }
  return DisplayScale(kBaseDpi);
}

}  // namespace vortal
