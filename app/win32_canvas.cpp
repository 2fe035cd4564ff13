#include "app/win32_canvas.h"

namespace vortal {

bool GdiCanvas::DrawImage(std::string_view imageName, Point at) {
  return DrawSkinImage(dc_, cache_, skinFolder_, imageName, at.x, at.y);
}

void GdiCanvas::DrawText(std::string_view text, const Rect& box, TextAlign align, Color color,
                         FontKind font) {
  const UINT format = (align == TextAlign::kCenter ? DT_CENTER : DT_LEFT) | DT_VCENTER |
                      DT_SINGLELINE | DT_NOPREFIX;
  DrawTextInRect(dc_, text, ToRect(box), ToColorRef(color), font == FontKind::kTitle ? title_ : normal_,
                 format);
}

void GdiCanvas::FillRect(const Rect& box, Color color) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  RECT r = ToRect(box);
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

}  // namespace vortal
