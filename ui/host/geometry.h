// Points, rectangles and colours of the owner-drawn windows, in client
// pixels with the origin at the top left.
#pragma once

#include <cstdint>

namespace vortal {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// (left, top, right, bottom). A point is inside when left <= x < right and
// top <= y < bottom, the rule the system's PtInRect follows: neighbouring
// buttons that share a pixel column both contain a point on that column.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr bool Contains(Point p) const {
    return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
  }
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr Point TopLeft() const { return {left, top}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace vortal
