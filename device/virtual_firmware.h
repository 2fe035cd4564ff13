// A model of the mouse's firmware for the built-in virtual mouse: it keeps
// what the write commands send and answers the read commands from that
// memory, the way the program relies on the real mouse doing.
//
// memory.bin, the model's memory between runs (version 1, 1869 bytes, no
// padding, multi-byte values none):
//
//   offset  size  content
//        0     8  magic "VTLMOUSE"
//        8     1  version, 1
//        9     1  report rate, as last set with 0x01
//       10     4  sensor settings: sensor type, rate, option 1, option 2 (0x03 / 0x83)
//       14    52  configuration block: part 0 (24 bytes), part 1 (24), part 2 (4) (0x10 / 0x90)
//       66     3  LED state: mode, parameter, third byte (0x0D)
//       69     8  DPI block (0x11)
//       77   256  key matrices 1 to 4, 64 bytes each (0x12)
//      333  1536  macro slots 1 to 12, 128 bytes each (0x13 / 0x93)
//
// A file of another size, magic or version is not used: the mouse starts
// with a fresh memory (all zero but the sensor type) and writes it out.
//
// Commands the model ignores (no reply, no data phase accepted, memory
// unchanged), as a mouse ignores what it cannot trust:
//   - a command report shorter than 9 bytes or with a wrong checksum;
//   - an unknown opcode;
//   - a write naming a part, slot or matrix the mouse does not have, or
//     carrying another length than that item's size (DPI block: stage count
//     4, length 8).
// The output reports following an ignored write are ignored too. A read of
// an unknown part or slot is answered with length 0 and no data. A get-feature
// with no reply pending returns zeros, and an input read with no data pending
// fails at once instead of blocking the program.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/command_frame.h"
#include "device/device_commands.h"
#include "device/hid_port.h"
#include "device/key_matrix.h"
#include "settings/settings_record.h"

namespace vortal {

struct VirtualMouseMemory {
  std::uint8_t reportRate = 0;
  std::array<std::uint8_t, 4> sensorSettings{};
  std::array<std::uint8_t, kConfigBlockSize> configBlock{};
  std::array<std::uint8_t, 3> ledState{};
  std::array<std::uint8_t, kDpiBlockSize> dpiBlock{};
  std::array<KeyMatrix, kKeyMatrices> keyMatrices{};
  std::array<std::array<std::uint8_t, kMacroSlotSize>, kMacroSlots> macroSlots{};

  bool operator==(const VirtualMouseMemory&) const = default;
};

inline constexpr char kVirtualMemoryMagic[8] = {'V', 'T', 'L', 'M', 'O', 'U', 'S', 'E'};
inline constexpr std::uint8_t kVirtualMemoryVersion = 1;
inline constexpr std::size_t kVirtualMemorySize = 1869;

std::vector<std::uint8_t> EncodeMemory(const VirtualMouseMemory& memory);
// Nothing for a damaged or foreign file.
std::optional<VirtualMouseMemory> DecodeMemory(std::span<const std::uint8_t> bytes);

// Ways to make the model misbehave, so tests can show that the program never
// reads or writes out of bounds whatever a device sends.
enum class IndexFault { kNone, kOtherIndex, kInvalidIndex };
enum class InputFault { kNone, kShort, kEmpty };

struct VirtualMouseFaults {
  IndexFault replyIndex = IndexFault::kNone;  // 0x90/0x93 replies name another or no part/slot
  bool oversizedLength = false;   // read replies announce 255 bytes and send 8 input reports
  InputFault input = InputFault::kNone;  // kShort: 5 bytes of each input report; kEmpty: reads fail
  bool junkFill = false;          // replies and input reports fill the rest of the buffer with 0xEE
  ReportLengths lengths{};        // non-zero entries replace the stated report lengths
  std::size_t eventLength = 0;    // non-zero: replaces the stated event report length
  int wrongMacroSlot = 0;         // 1..12: the slot keeps its last byte flipped after a write
};

// The mouse's stated report lengths (report ID byte included).
inline constexpr ReportLengths kVirtualCommandLengths{9, 33, 33};
inline constexpr std::size_t kVirtualEventLength = 8;

class VirtualMouseFirmware {
 public:
  explicit VirtualMouseFirmware(const VirtualMouseMemory& memory = {}) : memory_(memory) {}

  // Each takes the whole report buffer of `length` bytes, report ID first.
  // SetFeature and Output return true when the memory changed.
  bool SetFeature(const std::uint8_t* report, std::size_t length);
  void GetFeature(std::uint8_t* report, std::size_t length) const;
  bool Output(const std::uint8_t* report, std::size_t length);
  // False when no input report is pending (or the fault says reads fail).
  bool Input(std::uint8_t* report, std::size_t length);

  const VirtualMouseMemory& memory() const { return memory_; }
  // Replaces the memory; an exchange under way goes on.
  void SetMemory(const VirtualMouseMemory& memory) { memory_ = memory; }
  void SetFaults(const VirtualMouseFaults& faults) { faults_ = faults; }

 private:
  struct PendingWrite {
    std::uint8_t opcode;
    std::uint8_t index;
    std::size_t length;
    std::size_t piecesLeft;
    std::vector<std::uint8_t> data;
  };

  void StartRead(const CommandFrame& frame);
  void StartWrite(const CommandFrame& frame);
  bool Commit(const PendingWrite& write);
  void Reply(std::uint8_t opcode, std::uint8_t index, std::span<const std::uint8_t> data);

  VirtualMouseMemory memory_;
  VirtualMouseFaults faults_;
  std::optional<CommandFrame> reply_;
  std::deque<std::array<std::uint8_t, 32>> input_;
  std::optional<PendingWrite> write_;
};

}  // namespace vortal
