// Skin images on GDI: PNG files decoded once through GDI+, premultiplied for
// AlphaBlend, kept per skin folder, and drawn at their natural size.
#pragma once

#include <windows.h>

// The models' interfaces name members DrawText and ChooseColor; the system's
// macros of those names would rename them in this program's files only.
#undef DrawText
#undef ChooseColor

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "macro/user_messages.h"
#include "ui/host/display_scale.h"
#include "ui/skin/scaled_images.h"

namespace vortal {

// Premultiplies 32-bit BGRA pixels in place: blue, green and red become
// floor(c * a / 255), the form AlphaBlend with AC_SRC_ALPHA expects.
void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount);

// One decoded image: a top-down 32-bit DIB section, premultiplied.
class SkinImage {
 public:
  SkinImage(HBITMAP bitmap, int width, int height, bool hasAlpha)
      : bitmap_(bitmap), width_(width), height_(height), hasAlpha_(hasAlpha) {}
  // An image made for a scale: `units` is its size at 96 DPI.
  SkinImage(HBITMAP bitmap, int width, int height, bool hasAlpha, Size units)
      : bitmap_(bitmap), width_(width), height_(height), hasAlpha_(hasAlpha), units_(units) {}
  ~SkinImage();
  SkinImage(const SkinImage&) = delete;
  SkinImage& operator=(const SkinImage&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // The size the window's layout gives it (its own size for an image loaded
  // as it is).
  Size units() const { return units_.width ? units_ : Size{width_, height_}; }
  void SetUnits(Size units) { units_ = units; }
  bool hasAlpha() const { return hasAlpha_; }
  std::size_t bytes() const { return static_cast<std::size_t>(width_) * height_ * 4; }
  // Its pixels, premultiplied, rows top down.
  PixelImage Pixels() const;
  HBITMAP bitmap() const { return bitmap_; }
  // Images with alpha are blended (source over, constant alpha 255);
  // images without are copied.
  void Draw(HDC target, int x, int y) const;

 private:
  HBITMAP bitmap_;
  int width_;
  int height_;
  bool hasAlpha_;
  Size units_{};
};

// Decodes a PNG (or any format GDI+ reads) into a SkinImage; null when the
// file is missing or cannot be decoded. 32-bit images are premultiplied.
std::unique_ptr<SkinImage> LoadSkinImage(const std::string& path);

// A premultiplied image as a SkinImage; null when the system has no bitmap
// for it.
std::unique_ptr<SkinImage> MakeSkinImage(const PixelImage& image, bool hasAlpha, Size units);

// The images of one skin folder at one display scale, each prepared once: the
// skin's render for that scale ("/main@2x.png", ui/skin/scaled_images.h) when
// it has one, else the nearest render resampled to the scale. Asking for
// another folder or scale drops every image of the previous one, so a change
// of skin never shows a stale picture and memory stays bounded by one skin
// at one scale.
class SkinImageCache {
 public:
  // The image folder + name at `scale`, made on first use; null when no
  // render of it can be loaded (a failure is not remembered: the file may
  // appear later).
  const SkinImage* Get(std::string_view folder, std::string_view name, DisplayScale scale = {});
  void Clear();
  // What the images kept hold in pixels.
  std::size_t bytes() const;
  std::size_t size() const { return images_.size(); }

 private:
  std::unique_ptr<SkinImage> Prepare(std::string_view folder, std::string_view name,
                                     DisplayScale scale) const;

  std::string folder_;
  DisplayScale scale_;
  std::map<std::string, std::unique_ptr<SkinImage>, std::less<>> images_;
};

// The images every window of the program draws from, so that what one
// window prepared the next one finds.
SkinImageCache& ProgramSkinImages();

// The main window's drawing: one skin image at `scale` with its top left at
// pixel (x, y); false, drawing nothing, when the file cannot be loaded.
bool DrawSkinImage(HDC target, SkinImageCache& cache, std::string_view skinFolder,
                   std::string_view imageName, int x, int y, DisplayScale scale = {});

// The sub-dialogs' drawing: like DrawSkinImage, but a file that cannot be
// loaded is reported ("LoadPng---Load image failed.") through `messages`.
// No target: failure, nothing shown.
bool DrawSkinPng(HDC target, SkinImageCache& cache, std::string_view skinFolder,
                 std::string_view imageName, int x, int y, UserMessages& messages);

inline constexpr const char* kLoadPngFailedText = "LoadPng---Load image failed.";

// An image as an opaque bitmap (alpha composed over black), for a window
// background that everything is then drawn onto.
HBITMAP OpaqueBitmapOf(const SkinImage& image);
// The same of a whole image file at its own size.
HBITMAP LoadBackgroundBitmap(const std::string& path, SIZE* size);

// Text with a transparent background in a colour and font: `format` is
// DrawTextW's (DT_CENTER | DT_VCENTER | DT_SINGLELINE for captions).
void DrawTextInRect(HDC target, std::string_view utf8Text, const RECT& box, COLORREF color,
                    HFONT font, UINT format);

}  // namespace vortal
