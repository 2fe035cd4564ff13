// Damaged skins: images that are missing, cut short, corrupt, enormous or
// folders. Nothing may crash or take the memory; what can be drawn is drawn.
#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <gdiplus.h>
// clang-format on

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/skin_drawing.h"
#include "app/window_picture.h"
#include "support/gdiplus_test.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

const std::string kSkinFolder = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// A real image of the skin whose IHDR declares another size, with a correct
// checksum, so only its size is wrong.
std::vector<std::uint8_t> Resized(std::vector<std::uint8_t> png, std::uint32_t width,
                                  std::uint32_t height) {
  PutBigEndian(png, 16, width);
  PutBigEndian(png, 20, height);
  PutBigEndian(png, 29, Crc32(png.data() + 12, 17));  // chunk type and data
  return png;
}

class SkinFaultsTest : public testing::GdiplusTest {
 protected:
  testing::TempDir dir_;
};

TEST_F(SkinFaultsTest, DamagedImagesAreRefusedAndSoundOnesDecoded) {
  const std::vector<std::uint8_t> good = testing::ReadWholeBytes(kSkinFolder + "/button-normal.png");
  ASSERT_GT(good.size(), 100u);
  std::vector<std::uint8_t> corrupt = good;
  for (std::size_t i = 40; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
  std::vector<std::uint8_t> garbage(4096);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 131 + 7);
  std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 33);
  dir_.MakeFolder("folder.png");

  struct Case {
    const char* name;
    std::string path;
    bool decoded;
  };
  const std::vector<Case> cases = {
      {"sound image", dir_.Write("good.png", good), true},
      {"header only", dir_.Write("header.png", headerOnly), false},
      {"empty file", dir_.Write("empty.png", ""), false},
      {"not an image", dir_.Write("garbage.png", garbage), false},
      {"claims 100000 x 100000", dir_.Write("huge.png", Resized(good, 100000, 100000)), false},
      {"claims 2^31-1 x 1", dir_.Write("wide.png", Resized(good, 0x7FFFFFFF, 1)), false},
      {"claims 9000 x 4", dir_.Write("side.png", Resized(good, 9000, 4)), false},
      {"a folder", dir_.File("folder.png"), false},
      {"missing", dir_.File("missing.png"), false},
  };
  for (const Case& c : cases) {
    std::unique_ptr<SkinImage> image = LoadSkinImage(c.path);
    EXPECT_EQ(image != nullptr, c.decoded) << c.name;
  }
  // A corrupt body may decode in part or not at all; when it decodes, it has
  // the size its header declares.
  if (std::unique_ptr<SkinImage> image = LoadSkinImage(dir_.Write("corrupt.png", corrupt))) {
    std::unique_ptr<SkinImage> sound = LoadSkinImage(dir_.File("good.png"));
    EXPECT_EQ(image->width(), sound->width());
    EXPECT_EQ(image->height(), sound->height());
  }
  // Cut short anywhere: never a crash, never an image of another size.
  for (std::size_t length : {good.size() / 4, good.size() / 2, good.size() - 12, good.size() - 1}) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    if (std::unique_ptr<SkinImage> image = LoadSkinImage(dir_.Write("cut.png", cut))) {
      EXPECT_EQ(image->width(), 105) << length;
    }
  }
}

TEST_F(SkinFaultsTest, ASkinWithDamagedImagesDrawsWhatItCan) {
  // A skin folder where one image is corrupt and one is missing.
  const std::string skin = dir_.File("Broken");
  dir_.Write("Broken/button-normal.png", testing::ReadWholeBytes(kSkinFolder + "/button-normal.png"));
  dir_.Write("Broken/button-over.png", std::vector<std::uint8_t>(64, 0x89));

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 200;
  info.bmiHeader.biHeight = -40;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::fill(bits, bits + 200 * 40, 0u);

  SkinImageCache cache;
  EXPECT_TRUE(DrawSkinImage(dc, cache, skin, "/button-normal.png", 0, 0));
  EXPECT_FALSE(DrawSkinImage(dc, cache, skin, "/button-over.png", 100, 0));
  EXPECT_FALSE(DrawSkinImage(dc, cache, skin, "/button-close-normal.png", 100, 0));
  GdiFlush();
  bool leftDrawn = false;
  bool rightUntouched = true;
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 100; ++x) leftDrawn |= bits[y * 200 + x] != 0;
    for (int x = 105; x < 200; ++x) rightUntouched &= bits[y * 200 + x] == 0;
  }
  EXPECT_TRUE(leftDrawn);
  EXPECT_TRUE(rightUntouched);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST_F(SkinFaultsTest, ASkinFolderThatIsAFileGivesTheWindowNoBackground) {
  dir_.Write("NotAFolder", {1, 2, 3});
  SIZE size{};
  EXPECT_EQ(LoadBackgroundBitmap(dir_.File("NotAFolder") + "/main.png", &size), nullptr);
  const std::vector<std::uint8_t> main = testing::ReadWholeBytes(kSkinFolder + "/main.png");
  EXPECT_EQ(LoadBackgroundBitmap(dir_.Write("huge-main.png", Resized(main, 60000, 60000)), &size), nullptr);
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
