#include "device/command_frame.h"

#include <utility>

namespace vortal {
namespace {

// The byte pairs the scrambling exchanges.
constexpr int kSwapPairs[4][2] = {{0, 5}, {1, 4}, {2, 7}, {3, 6}};
constexpr int kRotateBits = 3;

void SwapPairs(CommandFrame& frame) {
  for (const auto& pair : kSwapPairs) std::swap(frame[pair[0]], frame[pair[1]]);
}

void XorMiddle(CommandFrame& frame, const ScrambleKeys& keys) {
  for (int i = 1; i <= 6; ++i) frame[i] = static_cast<std::uint8_t>(frame[i] ^ keys.xorKey[i - 1]);
}

std::uint8_t NibbleSwapped(std::uint8_t k) {
  return static_cast<std::uint8_t>((k << 4) | (k >> 4));
}

}  // namespace

CommandFrame MakeFrame(std::uint8_t opcode, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                       std::uint8_t b4, std::uint8_t b5, std::uint8_t b6) {
  return CommandFrame{opcode, b1, b2, b3, b4, b5, b6, 0};
}

std::uint8_t FrameChecksum(const CommandFrame& frame) {
  unsigned sum = 0;
  for (int i = 0; i < kFrameChecksumByte; ++i) sum += frame[i];
  return static_cast<std::uint8_t>(0xFF - sum);
}

void StoreChecksum(CommandFrame& frame) { frame[kFrameChecksumByte] = FrameChecksum(frame); }

bool HasValidChecksum(const CommandFrame& frame) {
  return frame[kFrameChecksumByte] == FrameChecksum(frame);
}

void ScrambleFrame(CommandFrame& frame, const ScrambleKeys& keys) {
  SwapPairs(frame);
  XorMiddle(frame, keys);
  const std::uint8_t first = frame[0];
  for (int i = 0; i < kFrameSize; ++i) {
    const std::uint8_t next = i + 1 < kFrameSize ? frame[i + 1] : first;
    frame[i] = static_cast<std::uint8_t>((frame[i] << kRotateBits) | (next >> (8 - kRotateBits)));
  }
  for (int i = 0; i < kFrameSize; ++i) {
    frame[i] = static_cast<std::uint8_t>(frame[i] + NibbleSwapped(keys.addition[i]));
  }
}

void UnscrambleFrame(CommandFrame& frame, const ScrambleKeys& keys) {
  for (int i = 0; i < kFrameSize; ++i) {
    frame[i] = static_cast<std::uint8_t>(frame[i] - NibbleSwapped(keys.addition[i]));
  }
  const std::uint8_t last = frame[kFrameSize - 1];
  for (int i = kFrameSize - 1; i >= 0; --i) {
    const std::uint8_t previous = i > 0 ? frame[i - 1] : last;
    frame[i] = static_cast<std::uint8_t>((frame[i] >> kRotateBits) | (previous << (8 - kRotateBits)));
  }
  XorMiddle(frame, keys);
  SwapPairs(frame);
}

}  // namespace vortal
