#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "device/command_frame.h"

namespace vortal {
namespace {

TEST(CommandFrameTest, ChecksumMakesAllEightBytesAddUpToFF) {
  struct Case {
    CommandFrame frame;
    std::uint8_t checksum;
  };
  const Case cases[] = {
      {MakeFrame(0x01, 0x08), 0xF6},
      {MakeFrame(0x0D, 0x02, 0x05, 0x03), 0xE8},
      {MakeFrame(0x00), 0xFF},
      {MakeFrame(0x83), 0x7C},
      {MakeFrame(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF), 0x06},
      {MakeFrame(0x13, 12, 128), 0x60},
  };
  for (const Case& c : cases) {
    CommandFrame frame = c.frame;
    frame[7] = 0xAA;  // whatever was there is replaced
    StoreChecksum(frame);
    EXPECT_EQ(frame[7], c.checksum);
    EXPECT_EQ(std::accumulate(frame.begin(), frame.end(), 0u) % 256, 0xFFu);
    EXPECT_TRUE(HasValidChecksum(frame));
    frame[3] ^= 0x10;
    EXPECT_FALSE(HasValidChecksum(frame));
  }
}

TEST(CommandFrameTest, ScrambleStepsGiveKnownBytes) {
  const ScrambleKeys noKeys{{0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}};
  ScrambleKeys xorOnly = noKeys;
  xorOnly.xorKey[0] = 0xFF;
  struct Case {
    const char* what;
    CommandFrame in;
    ScrambleKeys keys;
    CommandFrame out;
  };
  const Case cases[] = {
      {"exchange b0/b5, then rotate left by 3", {1, 0, 0, 0, 0, 0, 0, 0}, noKeys,
       {0, 0, 0, 0, 0, 8, 0, 0}},
      {"bits leaving a byte enter its left neighbour", {0, 0, 0x80, 0, 0, 0, 0, 0}, noKeys,
       {0, 0, 0, 0, 0, 0, 4, 0}},
      {"the top bits of b0 wrap into b7", {0, 0, 0, 0, 0, 0xE0, 0, 0}, noKeys,
       {0, 0, 0, 0, 0, 0, 0, 7}},
      {"the XOR key applies to b1 before the rotation", {0, 0, 0, 0, 0, 0, 0, 0}, xorOnly,
       {0x07, 0xF8, 0, 0, 0, 0, 0, 0}},
      {"nibble-exchanged addition key", {0, 0, 0, 0, 0, 0, 0, 0}, kDefaultScrambleKeys,
       {0x65, 0x27, 0x73, 0x17, 0xC4, 0xD6, 0x32, 0xB4}},
  };
  for (const Case& c : cases) {
    CommandFrame frame = c.in;
    ScrambleFrame(frame, c.keys);
    EXPECT_EQ(frame, c.out) << c.what;
    UnscrambleFrame(frame, c.keys);
    EXPECT_EQ(frame, c.in) << c.what;
  }
}

TEST(CommandFrameTest, AdditionKeyIsEightPrintableCharacters) {
  for (std::uint8_t k : kAdditionKey) {
    EXPECT_GE(k, 0x21);
    EXPECT_LE(k, 0x7E);
  }
  for (std::uint8_t k : kDefaultScrambleKeys.xorKey) EXPECT_EQ(k, 0);
}

TEST(CommandFrameTest, UnscrambleUndoesScrambleForAnyFrameAndKeys) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  int changed = 0;
  for (int round = 0; round < 20000; ++round) {
    ScrambleKeys keys;
    for (auto& k : keys.addition) k = static_cast<std::uint8_t>(byte(random));
    for (auto& k : keys.xorKey) k = static_cast<std::uint8_t>(byte(random));
    CommandFrame original;
    for (auto& b : original) b = static_cast<std::uint8_t>(byte(random));
    CommandFrame frame = original;
    ScrambleFrame(frame, keys);
    if (frame != original) ++changed;
    UnscrambleFrame(frame, keys);
    ASSERT_EQ(frame, original) << "round " << round;
  }
  EXPECT_GT(changed, 19900);  // scrambling is not the identity
}

}  // namespace
}  // namespace vortal
