// A canvas that writes every drawing call as one line.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/canvas.h"

namespace vortal::testing {

std::string Describe(const Rect& box);

// Lines: "IMAGE /button-over.png 513,609", "TEXT center OK 513,609,618,630",
// "FILL 0,0,10,10 #RRGGBB". Images named in `missing` are not drawn.
class RecordingCanvas : public Canvas {
 public:
  bool DrawImage(std::string_view imageName, Point at) override;
  void DrawText(std::string_view text, const Rect& box, TextAlign align, Color color,
                FontKind font) override;
  void FillRect(const Rect& box, Color color) override;

  std::vector<std::string> lines;
  std::set<std::string> missing;
  std::vector<Color> textColors;
};

}  // namespace vortal::testing
