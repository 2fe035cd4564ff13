#include "support/recording_canvas.h"

#include <cstdio>

namespace vortal::testing {

std::string Describe(const Rect& box) {
  return std::to_string(box.left) + "," + std::to_string(box.top) + "," +
         std::to_string(box.right) + "," + std::to_string(box.bottom);
}

bool RecordingCanvas::DrawImage(std::string_view imageName, Point at) {
  if (missing.count(std::string(imageName)) != 0) return false;
  lines.push_back("IMAGE " + std::string(imageName) + " " + std::to_string(at.x) + "," +
                  std::to_string(at.y));
  return true;
}

void RecordingCanvas::DrawText(std::string_view text, const Rect& box, TextAlign align,
                               Color color, FontKind font) {
  static constexpr const char* kAlignNames[] = {"left ", "center ", "right ", "lefttop ", "wrapped "};
  lines.push_back(std::string("TEXT ") + kAlignNames[static_cast<int>(align)] +
                  (font == FontKind::kTitle          ? "title "
                   : font == FontKind::kDialogTitle ? "dialog-title "
                                                    : "") + std::string(text) + " " +
                  Describe(box));
  textColors.push_back(color);
}

void RecordingCanvas::FillRect(const Rect& box, Color color) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%02X%02X%02X", color.red, color.green, color.blue);
  lines.push_back("FILL " + Describe(box) + " " + hex);
}

}  // namespace vortal::testing
