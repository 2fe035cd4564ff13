#include "app/win32_canvas.h"

#include <algorithm>

#include "files/win32_text.h"

namespace vortal {
namespace {
// Extra pixels after each character of a sub-dialog title, for the
// letter-spaced look of the title band.
constexpr int kDialogTitleLetterSpacing = 2;

// Only Latin capitals are spread: Chinese characters carry their own spacing
// and look torn apart with more.
bool SpreadsLetters(FontKind font, std::string_view text) {
  if (font != FontKind::kDialogTitle) return false;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}
}  // namespace

bool GdiCanvas::DrawImage(std::string_view imageName, Point at) {
  const Point pixel = scale_.Scale(at);
  return DrawSkinImage(dc_, cache_, skinFolder_, imageName, pixel.x, pixel.y, scale_);
}

void GdiCanvas::DrawText(std::string_view text, const Rect& units, TextAlign align, Color color,
                         FontKind font) {
  const Rect box = scale_.Scale(units);
  UINT format = DT_SINGLELINE | DT_NOPREFIX;
  switch (align) {
    case TextAlign::kLeft: format |= DT_LEFT | DT_VCENTER; break;
    case TextAlign::kCenter: format |= DT_CENTER | DT_VCENTER; break;
    case TextAlign::kRight: format |= DT_RIGHT | DT_VCENTER; break;
    case TextAlign::kLeftTop: format |= DT_LEFT | DT_TOP; break;
    case TextAlign::kLeftWrapped: {
      // Measured first, then the box is fitted to the text's height around
      // its vertical centre.
      RECT measured = ToRect(box);
      format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
      HFONT chosen = FontFor(font);
      HGDIOBJ old = chosen ? SelectObject(dc_, chosen) : nullptr;
      std::wstring wide = Widen(std::string(text));
      ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &measured, format | DT_CALCRECT);
      if (old) SelectObject(dc_, old);
      const int height = measured.bottom - measured.top;
      const int centre = (box.top + box.bottom) / 2;
      const Rect fitted{box.left, centre - height / 2, box.right, centre - height / 2 + height};
      DrawTextInRect(dc_, text, ToRect(fitted), ToColorRef(color), chosen, format);
      return;
    }
  }
  const bool spaced = SpreadsLetters(font, text);
  const int oldExtra = spaced ? SetTextCharacterExtra(dc_, scale_.Scale(kDialogTitleLetterSpacing)) : 0;
  DrawTextInRect(dc_, text, ToRect(scale_.identity() ? box : RoomForText(text, box, align, font)),
                 ToColorRef(color), FontFor(font), format);
  if (spaced) SetTextCharacterExtra(dc_, oldExtra);
}

Rect GdiCanvas::RoomForText(std::string_view text, const Rect& box, TextAlign align,
                            FontKind font) const {
  // Text does not grow quite in step with its font (hinting rounds each
  // glyph): a caption that just fits its box at 96 DPI can be a few pixels
  // too wide at a larger scale. It gets those pixels beside the box, as many
  // as a tenth of the box, rather than losing its ends.
  HGDIOBJ old = SelectObject(dc_, FontFor(font));
  const std::wstring wide = Widen(std::string(text));
  SIZE extent{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  SelectObject(dc_, old);
  const int missing = std::min<int>(extent.cx - box.Width(), box.Width() / 10);
  if (missing <= 0) return box;
  switch (align) {
    case TextAlign::kCenter: return {box.left - (missing + 1) / 2, box.top, box.right + (missing + 1) / 2, box.bottom};
    case TextAlign::kRight: return {box.left - missing, box.top, box.right, box.bottom};
    default: return {box.left, box.top, box.right + missing, box.bottom};
  }
}

HFONT GdiCanvas::FontFor(FontKind font) const {
  return font == FontKind::kNormal ? normal_ : title_;
}

void GdiCanvas::FillRect(const Rect& box, Color color) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  RECT r = ToRect(scale_.Scale(box));
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

}  // namespace vortal
