#include "app/skin_drawing.h"

// clang-format off
#include <windows.h>
#include <gdiplus.h>
// clang-format on

#include <cstring>
#include <vector>

#include "files/win32_text.h"
#include "ui/skin/image_limits.h"

namespace vortal {

void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount) {
  for (std::size_t i = 0; i < pixelCount; ++i) {
    std::uint8_t* p = pixels + 4 * i;
    const unsigned alpha = p[3];
    if (alpha == 255) continue;  // unchanged: most pixels of a skin
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * alpha / 255);
  }
}

SkinImage::~SkinImage() {
  if (bitmap_) DeleteObject(bitmap_);
}

void SkinImage::Draw(HDC target, int x, int y) const {
  HDC source = CreateCompatibleDC(target);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, bitmap_);
  if (hasAlpha_) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, x, y, width_, height_, source, 0, 0, width_, height_, blend);
  } else {
    StretchBlt(target, x, y, width_, height_, source, 0, 0, width_, height_, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

namespace {

HBITMAP CreateTopDownDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: rows in the order GDI+ hands them out
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// What an image file's first bytes tell before it is decoded.
struct FileLook {
  // A regular file of a sensible length whose PNG header, if it has one,
  // declares a sensible size: one the decoder may be given.
  bool worthDecoding = false;
  std::optional<Size> declared;  // the size in its PNG header
};

FileLook LookAt(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};  // missing, or a folder
  LARGE_INTEGER length{};
  std::uint8_t head[24] = {};
  DWORD read = 0;
  const bool ok = GetFileSizeEx(file, &length) && length.QuadPart > 0 &&
                  static_cast<std::uintmax_t>(length.QuadPart) <= kMaxSkinImageFileBytes &&
                  ReadFile(file, head, sizeof head, &read, nullptr);
  CloseHandle(file);
  if (!ok) return {};
  const std::optional<Size> declared = PngHeaderSize(std::span<const std::uint8_t>(head, read));
  if (declared && !SkinImageSizeAllowed(declared->width, declared->height)) return {};
  return {true, declared};
}

bool Opaque(const void* bits, int width, int height) {
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  if (!pixels) return false;
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    if (pixels[i * 4 + 3] != 255) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<SkinImage> LoadSkinImage(const std::string& path) {
  if (path.empty()) return nullptr;
  const std::wstring widePath = Widen(path);
  if (!LookAt(widePath).worthDecoding) return nullptr;
  Gdiplus::Bitmap source(widePath.c_str());
  if (source.GetLastStatus() != Gdiplus::Ok) return nullptr;
  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());
  // Other formats the decoder reads are checked once their size is known.
  if (!SkinImageSizeAllowed(width, height)) return nullptr;
  const bool hasAlpha = Gdiplus::GetPixelFormatSize(source.GetPixelFormat()) == 32;

  Gdiplus::Rect all(0, 0, width, height);
  Gdiplus::BitmapData data{};
  if (source.LockBits(&all, Gdiplus::ImageLockModeRead,
                      hasAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB,
                      &data) != Gdiplus::Ok) {
    return nullptr;
  }
  void* bits = nullptr;
  HBITMAP dib = CreateTopDownDib(width, height, &bits);
  if (dib && bits) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
      std::memcpy(static_cast<std::uint8_t*>(bits) + rowBytes * row,
                  static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(data.Stride) * row,
                  rowBytes);
    }
    if (hasAlpha) {
      PremultiplyBgra(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * height);
    } else {
      // Opaque, so that a resampled copy of it stays opaque.
      for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        static_cast<std::uint8_t*>(bits)[i * 4 + 3] = 255;
      }
    }
  }
  source.UnlockBits(&data);
  if (!dib) return nullptr;
  // A picture without a single transparent pixel (a page background) is
  // copied, not blended: the same pixels, at a fraction of the cost.
  return std::make_unique<SkinImage>(dib, width, height, hasAlpha && !Opaque(bits, width, height));
}

PixelImage SkinImage::Pixels() const {
  PixelImage image{width_, height_, std::vector<std::uint8_t>(bytes())};
  DIBSECTION section{};
  if (GetObjectW(bitmap_, sizeof section, &section) == sizeof section && section.dsBm.bmBits) {
    GdiFlush();
    std::memcpy(image.pixels.data(), section.dsBm.bmBits, image.pixels.size());
  }
  return image;
}

std::unique_ptr<SkinImage> MakeSkinImage(const PixelImage& image, bool hasAlpha, Size units) {
  void* bits = nullptr;
  HBITMAP dib = CreateTopDownDib(image.width, image.height, &bits);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  std::memcpy(bits, image.pixels.data(), image.pixels.size());
  return std::make_unique<SkinImage>(dib, image.width, image.height, hasAlpha, units);
}

std::unique_ptr<SkinImage> SkinImageCache::Prepare(std::string_view folder, std::string_view name,
                                                   DisplayScale scale) const {
  const std::string base = std::string(folder) + std::string(name);
  if (scale.identity()) return LoadSkinImage(base);
  // The renders the skin has; the base image sets the layout's size, which
  // its PNG header tells without decoding it.
  const int percent = scale.dpi() * 100 / kBaseDpi;
  const FileLook look = LookAt(Widen(base));
  std::optional<Size> units = look.declared;
  std::unique_ptr<SkinImage> baseImage;
  if (!units && look.worthDecoding) {
    baseImage = LoadSkinImage(base);
    if (baseImage) units = Size{baseImage->width(), baseImage->height()};
  }
  std::vector<int> available;
  if (units) available.push_back(100);
  for (const int p : kImageScalePercents) {
    const std::string path = std::string(folder) + ScaledImageName(name, p);
    if (p != 100 && GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
      available.push_back(p);
    }
  }
  std::unique_ptr<SkinImage> chosen;
  int chosenPercent = 0;
  while (!available.empty() && !chosen) {
    chosenPercent = ChooseImageScale(percent, available);
    if (chosenPercent == 100) {
      chosen = baseImage ? std::move(baseImage) : LoadSkinImage(base);
    } else {
      chosen = LoadSkinImage(std::string(folder) + ScaledImageName(name, chosenPercent));
    }
    std::erase(available, chosenPercent);
  }
  if (!chosen) return nullptr;
  if (!units) {
    units = Size{(chosen->width() * 100 + chosenPercent / 2) / chosenPercent,
                 (chosen->height() * 100 + chosenPercent / 2) / chosenPercent};
  }
  const Size pixels = scale.Scale(*units);
  if (chosen->width() == pixels.width && chosen->height() == pixels.height) {
    chosen->SetUnits(*units);
    return chosen;
  }
  return MakeSkinImage(Resample(chosen->Pixels(), pixels.width, pixels.height), chosen->hasAlpha(),
                       *units);
}

const SkinImage* SkinImageCache::Get(std::string_view folder, std::string_view name,
                                     DisplayScale scale) {
  if (folder != folder_ || scale != scale_) {
    images_.clear();
    folder_ = folder;
    scale_ = scale;
  }
  if (auto it = images_.find(name); it != images_.end()) return it->second.get();
  std::unique_ptr<SkinImage> image = Prepare(folder, name, scale);
  if (!image) return nullptr;
  return images_.emplace(std::string(name), std::move(image)).first->second.get();
}

void SkinImageCache::Clear() {
  images_.clear();
  folder_.clear();
}

std::size_t SkinImageCache::bytes() const {
  std::size_t total = 0;
  for (const auto& [name, image] : images_) total += image->bytes();
  return total;
}

SkinImageCache& ProgramSkinImages() {
  static SkinImageCache images;
  return images;
}

bool DrawSkinImage(HDC target, SkinImageCache& cache, std::string_view skinFolder,
                   std::string_view imageName, int x, int y, DisplayScale scale) {
  if (!target) return false;
  const SkinImage* image = cache.Get(skinFolder, imageName, scale);
  if (!image) return false;
  image->Draw(target, x, y);
  return true;
}

bool DrawSkinPng(HDC target, SkinImageCache& cache, std::string_view skinFolder,
                 std::string_view imageName, int x, int y, UserMessages& messages) {
  if (!target) return false;
  if (DrawSkinImage(target, cache, skinFolder, imageName, x, y)) return true;
  // The default caption of a message box.
  messages.Show(kLoadPngFailedText, "");
  return false;
}

HBITMAP OpaqueBitmapOf(const SkinImage& image) {
  void* bits = nullptr;
  HBITMAP background = CreateTopDownDib(image.width(), image.height(), &bits);
  if (!background) return nullptr;
  // Starts black, so transparent parts of the image come out as on a dark window.
  std::memset(bits, 0, image.bytes());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, background);
  image.Draw(dc, 0, 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  return background;
}

HBITMAP LoadBackgroundBitmap(const std::string& path, SIZE* size) {
  std::unique_ptr<SkinImage> image = LoadSkinImage(path);
  if (!image) return nullptr;
  HBITMAP background = OpaqueBitmapOf(*image);
  if (background && size) *size = SIZE{image->width(), image->height()};
  return background;
}

void DrawTextInRect(HDC target, std::string_view utf8Text, const RECT& box, COLORREF color,
                    HFONT font, UINT format) {
  std::wstring text = Widen(std::string(utf8Text));
  HGDIOBJ oldFont = font ? SelectObject(target, font) : nullptr;
  const int oldMode = SetBkMode(target, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(target, color);
  RECT r = box;
  DrawTextW(target, text.c_str(), static_cast<int>(text.size()), &r, format);
  SetTextColor(target, oldColor);
  SetBkMode(target, oldMode);
  if (oldFont) SelectObject(target, oldFont);
}

}  // namespace vortal
