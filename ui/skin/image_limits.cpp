#include "ui/skin/image_limits.h"

#include <array>

namespace vortal {

namespace {
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kPngHeadBytes = 24;  // signature, IHDR length and type, width, height

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}
}  // namespace

std::optional<Size> PngHeaderSize(std::span<const std::uint8_t> head) {
  if (head.size() < kPngHeadBytes) return std::nullopt;
  for (std::size_t i = 0; i < kPngSignature.size(); ++i) {
    if (head[i] != kPngSignature[i]) return std::nullopt;
  }
  const std::uint8_t* chunk = head.data() + kPngSignature.size();
  if (chunk[4] != 'I' || chunk[5] != 'H' || chunk[6] != 'D' || chunk[7] != 'R') return std::nullopt;
  const std::uint32_t width = BigEndian32(chunk + 8);
  const std::uint32_t height = BigEndian32(chunk + 12);
  // PNG limits both to 2^31 - 1; anything above is not a PNG header.
  if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return std::nullopt;
  return Size{static_cast<int>(width), static_cast<int>(height)};
}

bool SkinImageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSkinImageSide && height <= kMaxSkinImageSide &&
         width * height <= kMaxSkinImagePixels;
}

}  // namespace vortal
