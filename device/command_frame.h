// The 8-byte command every exchange with the mouse starts with, its checksum,
// and the optional scrambling of the frame on the wire.
#pragma once

#include <array>
#include <cstdint>

namespace vortal {

inline constexpr int kFrameSize = 8;
using CommandFrame = std::array<std::uint8_t, kFrameSize>;

// Bit 7 of the opcode: the mouse answers with an 8-byte reply.
inline constexpr std::uint8_t kReplyExpected = 0x80;
inline constexpr int kFrameLengthByte = 2;    // data length of a command with a data phase
inline constexpr int kFrameChecksumByte = 7;

// A frame with the given opcode and parameter bytes 1 to 6 (the rest 0).
CommandFrame MakeFrame(std::uint8_t opcode, std::uint8_t b1 = 0, std::uint8_t b2 = 0,
                       std::uint8_t b3 = 0, std::uint8_t b4 = 0, std::uint8_t b5 = 0,
                       std::uint8_t b6 = 0);

// 0xFF minus the sum of bytes 0 to 6, so that all eight bytes add up to 0xFF.
std::uint8_t FrameChecksum(const CommandFrame& frame);
void StoreChecksum(CommandFrame& frame);
bool HasValidChecksum(const CommandFrame& frame);

inline bool IsReadOpcode(std::uint8_t opcode) { return (opcode & kReplyExpected) != 0; }

// The scrambling keys. The addition key is fixed in the program; the XOR key
// (bytes 1 to 6) starts as zero and nothing in the program changes it.
struct ScrambleKeys {
  std::array<std::uint8_t, 8> addition;
  std::array<std::uint8_t, 6> xorKey;  // xorKey[i] is applied to frame byte i + 1
};

// Eight printable ASCII characters.
inline constexpr std::array<std::uint8_t, 8> kAdditionKey = {'V', 'r', '7', 'q', 'L', 'm', '#', 'K'};

inline constexpr ScrambleKeys kDefaultScrambleKeys{kAdditionKey, {0, 0, 0, 0, 0, 0}};

// In place; UnscrambleFrame(ScrambleFrame(x)) == x for any keys.
void ScrambleFrame(CommandFrame& frame, const ScrambleKeys& keys = kDefaultScrambleKeys);
void UnscrambleFrame(CommandFrame& frame, const ScrambleKeys& keys = kDefaultScrambleKeys);

}  // namespace vortal
