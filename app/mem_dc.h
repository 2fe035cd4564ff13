// CMemDC: an off-screen buffer over a rectangle of a window. Drawing goes to a
// memory context; destroying the buffer copies the rectangle to the target.
// Selecting the window's background bitmap into it (SelectBackground) makes
// the drawing land on that bitmap, so the picture persists between redraws.
#pragma once

#include <windows.h>

namespace vortal {

class CMemDC {
 public:
  // `rect` in the target's logical coordinates; null or empty takes the
  // target's clip box. A printing context is drawn into directly.
  CMemDC(HDC target, const RECT* rect);
  // A buffer that draws on `background` from the start (SelectBackground):
  // it makes no bitmap of its own, which at a large scale would be as big as
  // the window, only to be replaced.
  CMemDC(HDC target, const RECT* rect, HBITMAP background);
  ~CMemDC();
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  HDC dc() const { return memory_ ? memory_ : target_; }
  const RECT& rect() const { return rect_; }
  bool valid() const { return dc() != nullptr; }
  // Draws on `bitmap` from now on (nothing for a null bitmap).
  void SelectBackground(HBITMAP bitmap);

 private:
  HDC target_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ replaced_ = nullptr;
  RECT rect_{};
};

}  // namespace vortal
