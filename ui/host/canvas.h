// What the window models draw with. The Windows host implements it over the
// off-screen buffer that has the window's background bitmap selected, so
// everything drawn stays on that bitmap; tests record the calls.
#pragma once

#include <string_view>

#include "ui/host/geometry.h"

namespace vortal {

enum class TextAlign {
  kLeft,    // left-aligned, vertically centred, one line
  kCenter,  // centred both ways, one line
  kRight,   // right-aligned, vertically centred, one line
  kLeftTop, // left- and top-aligned, one line
  kLeftWrapped,  // left-aligned, word-wrapped; the block of lines centred vertically
};

enum class FontKind {
  kNormal,  // the window's normal font (sub-dialogs have only this one)
  kTitle,   // the bold font of page titles
  kDialogTitle,  // sub-dialog titles: the normal font's size, bold, Latin letters spaced
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // Draws one image of the current skin, named as in ui/skin_images.h
  // ("/main.png"), at its natural size with its alpha, its top left at `at`.
  // The host appends the name to the skin folder given to Surface::Redraw.
  // Returns false, drawing nothing, when the image cannot be loaded.
  virtual bool DrawImage(std::string_view imageName, Point at) = 0;
  // UTF-8 text with a transparent background, clipped to `box`.
  virtual void DrawText(std::string_view text, const Rect& box, TextAlign align, Color color,
                        FontKind font) = 0;
  virtual void FillRect(const Rect& box, Color color) = 0;
};

}  // namespace vortal
