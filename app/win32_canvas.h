// The models' Canvas on a GDI context (normally a CMemDC with the window's
// background bitmap selected). The models draw in 96-DPI units; the canvas
// draws them at the window's display scale: positions and boxes scaled,
// images prepared for the scale, text in fonts made at it.
#pragma once

#include <windows.h>

#include <string>

#include "app/skin_drawing.h"
#include "ui/host/canvas.h"

namespace vortal {

class GdiCanvas : public Canvas {
 public:
  // The fonts are made at `scale` already.
  GdiCanvas(HDC dc, SkinImageCache& cache, std::string_view skinFolder, HFONT normalFont,
            HFONT titleFont, DisplayScale scale = {})
      : dc_(dc),
        cache_(cache),
        skinFolder_(skinFolder),
        normal_(normalFont),
        title_(titleFont),
        scale_(scale) {}

  bool DrawImage(std::string_view imageName, Point at) override;
  void DrawText(std::string_view text, const Rect& box, TextAlign align, Color color,
                FontKind font) override;
  void FillRect(const Rect& box, Color color) override;

 private:
  // Page and dialog titles both use the window's title font.
  HFONT FontFor(FontKind font) const;
  // `box` (pixels) with room for `text` on one line.
  Rect RoomForText(std::string_view text, const Rect& box, TextAlign align, FontKind font) const;

  HDC dc_;
  SkinImageCache& cache_;
  std::string skinFolder_;
  HFONT normal_;
  HFONT title_;
  DisplayScale scale_;
};

inline COLORREF ToColorRef(Color c) { return RGB(c.red, c.green, c.blue); }
inline RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace vortal
