#include "app/mem_dc.h"

namespace vortal {

CMemDC::CMemDC(HDC target, const RECT* rect) : CMemDC(target, rect, nullptr) {}

CMemDC::CMemDC(HDC target, const RECT* rect, HBITMAP background) : target_(target) {
  if (!target_) return;
  if (rect && !IsRectEmpty(rect)) {
    rect_ = *rect;
  } else {
    GetClipBox(target_, &rect_);
  }
  if (GetDeviceCaps(target_, TECHNOLOGY) == DT_RASPRINTER) return;
  memory_ = CreateCompatibleDC(target_);
  if (!memory_) return;
  if (!background) {
    bitmap_ = CreateCompatibleBitmap(target_, rect_.right - rect_.left, rect_.bottom - rect_.top);
  }
  replaced_ = SelectObject(memory_, background ? background : bitmap_);
  SetWindowOrgEx(memory_, rect_.left, rect_.top, nullptr);
}

void CMemDC::SelectBackground(HBITMAP bitmap) {
  if (!memory_ || !bitmap) return;
  // The window origin stays at the rectangle's corner: a buffer over the
  // client area (the usual case) maps client (0, 0) to the bitmap's corner.
  SelectObject(memory_, bitmap);
}

CMemDC::~CMemDC() {
  if (!memory_) return;
  BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
         memory_, rect_.left, rect_.top, SRCCOPY);
  SelectObject(memory_, replaced_);
  if (bitmap_) DeleteObject(bitmap_);
  DeleteDC(memory_);
}

}  // namespace vortal
