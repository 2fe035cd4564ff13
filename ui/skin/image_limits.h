// What a skin image may be before the program decodes it. Skins come from
// anywhere; a file that claims enormous dimensions would make the decoder
// ask for gigabytes, so the size is checked from the file's header first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "ui/host/geometry.h"

namespace vortal {

// The largest window of any skin is a few hundred pixels on a side; these
// limits leave room for any sensible design.
inline constexpr int kMaxSkinImageSide = 8192;
inline constexpr std::int64_t kMaxSkinImagePixels = 16LL * 1024 * 1024;
inline constexpr std::uintmax_t kMaxSkinImageFileBytes = 32ULL * 1024 * 1024;

// The width and height a PNG file's header (signature and IHDR chunk)
// declares; nothing when `head` does not start like a PNG file. `head` needs
// the file's first 24 bytes.
std::optional<Size> PngHeaderSize(std::span<const std::uint8_t> head);

// Whether an image of this size may be decoded and kept.
bool SkinImageSizeAllowed(std::int64_t width, std::int64_t height);

}  // namespace vortal
