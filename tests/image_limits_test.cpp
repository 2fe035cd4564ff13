#include "ui/skin/image_limits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vortal {
namespace {

std::vector<std::uint8_t> PngHead(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> head = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                    0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) head.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  return head;
}

TEST(ImageLimitsTest, PngHeaderGivesTheDeclaredSize) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> head;
    std::optional<Size> size;
  };
  std::vector<std::uint8_t> notPng = PngHead(10, 10);
  notPng[1] = 'Q';
  std::vector<std::uint8_t> otherChunk = PngHead(10, 10);
  otherChunk[12] = 'i';
  std::vector<std::uint8_t> shortHead = PngHead(10, 10);
  shortHead.pop_back();
  const std::vector<Case> cases = {
      {"skin image", PngHead(880, 645), Size{880, 645}},
      {"one pixel", PngHead(1, 1), Size{1, 1}},
      {"huge but valid", PngHead(100000, 100000), Size{100000, 100000}},
      {"largest PNG side", PngHead(0x7FFFFFFF, 1), Size{0x7FFFFFFF, 1}},
      {"beyond PNG's range", PngHead(0x80000000u, 1), std::nullopt},
      {"signature wrong", notPng, std::nullopt},
      {"first chunk not IHDR", otherChunk, std::nullopt},
      {"header cut short", shortHead, std::nullopt},
      {"empty", {}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PngHeaderSize(c.head), c.size) << c.name;
}

TEST(ImageLimitsTest, OnlySensibleSizesAreDecoded) {
  struct Case {
    std::int64_t width, height;
    bool allowed;
  };
  const std::vector<Case> cases = {
      {880, 645, true},     {1, 1, true},        {8192, 2048, true},   {4096, 4096, true},
      {8193, 1, false},     {1, 8193, false},    {8192, 8192, false},  {0, 10, false},
      {10, 0, false},       {-1, 10, false},     {100000, 100000, false},
      {0x7FFFFFFF, 0x7FFFFFFF, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SkinImageSizeAllowed(c.width, c.height), c.allowed) << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace vortal
