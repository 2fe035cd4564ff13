#include "device/virtual_firmware.h"

#include <algorithm>
#include <cstring>

#include "device/transport.h"

namespace vortal {
namespace {

constexpr std::size_t kCommandReportLength = 1 + kFrameSize;
constexpr std::uint8_t kJunk = 0xEE;
constexpr std::uint8_t kOversizeFiller = 0xDD;
constexpr std::uint8_t kOversizedLength = 255;
constexpr std::size_t kShortReadBytes = 5;

// Field order of memory.bin after the 9-byte header.
template <typename Visit>
void ForEachField(VirtualMouseMemory& memory, Visit visit) {
  visit(&memory.reportRate, 1);
  visit(memory.sensorSettings.data(), memory.sensorSettings.size());
  visit(memory.configBlock.data(), memory.configBlock.size());
  visit(memory.ledState.data(), memory.ledState.size());
  visit(memory.dpiBlock.data(), memory.dpiBlock.size());
  for (auto& matrix : memory.keyMatrices) visit(matrix.data(), matrix.size());
  for (auto& slot : memory.macroSlots) visit(slot.data(), slot.size());
}

constexpr std::size_t kHeaderSize = sizeof kVirtualMemoryMagic + 1;

}  // namespace

std::vector<std::uint8_t> EncodeMemory(const VirtualMouseMemory& memory) {
  std::vector<std::uint8_t> bytes(kVirtualMemoryMagic, kVirtualMemoryMagic + sizeof kVirtualMemoryMagic);
  bytes.push_back(kVirtualMemoryVersion);
  VirtualMouseMemory copy = memory;
  ForEachField(copy, [&](const std::uint8_t* field, std::size_t size) {
    bytes.insert(bytes.end(), field, field + size);
  });
  return bytes;
}

std::optional<VirtualMouseMemory> DecodeMemory(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kVirtualMemorySize) return std::nullopt;
  if (std::memcmp(bytes.data(), kVirtualMemoryMagic, sizeof kVirtualMemoryMagic) != 0) return std::nullopt;
  if (bytes[sizeof kVirtualMemoryMagic] != kVirtualMemoryVersion) return std::nullopt;
  VirtualMouseMemory memory;
  std::size_t at = kHeaderSize;
  ForEachField(memory, [&](std::uint8_t* field, std::size_t size) {
    std::memcpy(field, bytes.data() + at, size);
    at += size;
  });
  return memory;
}

bool VirtualMouseFirmware::SetFeature(const std::uint8_t* report, std::size_t length) {
  // A new command ends whatever exchange was under way.
  reply_.reset();
  input_.clear();
  write_.reset();
  if (length < kCommandReportLength) return false;
  CommandFrame frame;
  std::memcpy(frame.data(), report + 1, kFrameSize);
  if (!HasValidChecksum(frame)) return false;
  switch (frame[0]) {
    case kSetReportRate:
      memory_.reportRate = frame[1];
      return true;
    case kWriteSensorSettings:
      std::copy(frame.begin() + 1, frame.begin() + 5, memory_.sensorSettings.begin());
      return true;
    case kSetAuxLed:
      std::copy(frame.begin() + 1, frame.begin() + 4, memory_.ledState.begin());
      return true;
    case kReadSensorSettings:
    case kReadConfigPart:
    case kReadMacroSlot:
      StartRead(frame);
      return false;
    case kWriteConfigPart:
    case kWriteDpiBlock:
    case kWriteKeyMatrix:
    case kWriteMacroSlot:
      StartWrite(frame);
      return false;
    default:
      return false;
  }
}

void VirtualMouseFirmware::StartRead(const CommandFrame& frame) {
  const std::uint8_t index = frame[1];
  if (frame[0] == kReadSensorSettings) {
    const auto& s = memory_.sensorSettings;
    CommandFrame reply = MakeFrame(kReadSensorSettings, s[0], s[1], s[2], s[3]);
    StoreChecksum(reply);
    reply_ = reply;
  } else if (frame[0] == kReadConfigPart) {
    if (index < kConfigParts) {
      Reply(frame[0], index,
            std::span(memory_.configBlock.data() + kConfigPartOffset[index], kConfigPartSize[index]));
    } else {
      Reply(frame[0], index, {});
    }
  } else if (index >= 1 && index <= kMacroSlots) {
    Reply(frame[0], index, memory_.macroSlots[index - 1]);
  } else {
    Reply(frame[0], index, {});
  }
}

void VirtualMouseFirmware::Reply(std::uint8_t opcode, std::uint8_t index,
                                 std::span<const std::uint8_t> data) {
  const bool isPart = opcode == kReadConfigPart;
  std::uint8_t named = index;
  if (faults_.replyIndex == IndexFault::kOtherIndex) {
    named = isPart ? static_cast<std::uint8_t>((index + 1) % kConfigParts)
                   : static_cast<std::uint8_t>(index % kMacroSlots + 1);
  } else if (faults_.replyIndex == IndexFault::kInvalidIndex) {
    named = isPart ? 7 : 13;
  }
  std::vector<std::uint8_t> sent(data.begin(), data.end());
  if (faults_.oversizedLength) sent.resize(kOversizedLength, kOversizeFiller);
  CommandFrame reply = MakeFrame(opcode, named, static_cast<std::uint8_t>(sent.size()));
  StoreChecksum(reply);
  reply_ = reply;
  for (std::size_t at = 0; at < sent.size(); at += kDataPieceSize) {
    std::array<std::uint8_t, kDataPieceSize> piece{};
    std::copy(sent.begin() + at, sent.begin() + std::min(sent.size(), at + kDataPieceSize), piece.begin());
    input_.push_back(piece);
  }
}

void VirtualMouseFirmware::StartWrite(const CommandFrame& frame) {
  const std::uint8_t index = frame[1];
  const std::size_t length = frame[kFrameLengthByte];
  bool accepted = false;
  switch (frame[0]) {
    case kWriteConfigPart:
      accepted = index < kConfigParts && length == kConfigPartSize[index];
      break;
    case kWriteDpiBlock:
      accepted = index == kDpiStages && length == kDpiBlockSize;
      break;
    case kWriteKeyMatrix:
      accepted = index >= 1 && index <= kKeyMatrices && length == kKeyMatrixSize;
      break;
    case kWriteMacroSlot:
      accepted = index >= 1 && index <= kMacroSlots && length == kMacroSlotSize;
      break;
  }
  if (accepted) write_ = PendingWrite{frame[0], index, length, DataPieces(length), {}};
}

bool VirtualMouseFirmware::Output(const std::uint8_t* report, std::size_t length) {
  if (!write_) return false;
  std::array<std::uint8_t, kDataPieceSize> piece{};
  if (length > 1) std::memcpy(piece.data(), report + 1, std::min(length - 1, kDataPieceSize));
  write_->data.insert(write_->data.end(), piece.begin(), piece.end());
  if (--write_->piecesLeft > 0) return false;
  const PendingWrite done = std::move(*write_);
  write_.reset();
  return Commit(done);
}

bool VirtualMouseFirmware::Commit(const PendingWrite& write) {
  std::uint8_t* target = nullptr;
  switch (write.opcode) {
    case kWriteConfigPart: target = memory_.configBlock.data() + kConfigPartOffset[write.index]; break;
    case kWriteDpiBlock: target = memory_.dpiBlock.data(); break;
    case kWriteKeyMatrix: target = memory_.keyMatrices[write.index - 1].data(); break;
    case kWriteMacroSlot: target = memory_.macroSlots[write.index - 1].data(); break;
    default: return false;
  }
  std::memcpy(target, write.data.data(), write.length);
  if (write.opcode == kWriteMacroSlot && write.index == faults_.wrongMacroSlot)
    target[write.length - 1] ^= 0xFF;
  return true;
}

void VirtualMouseFirmware::GetFeature(std::uint8_t* report, std::size_t length) const {
  std::fill(report, report + length, 0);
  if (faults_.junkFill && length > kCommandReportLength) {
    std::fill(report + kCommandReportLength, report + length, kJunk);
  }
  if (reply_ && length > 1) std::memcpy(report + 1, reply_->data(), std::min<std::size_t>(kFrameSize, length - 1));
}

bool VirtualMouseFirmware::Input(std::uint8_t* report, std::size_t length) {
  if (input_.empty()) return false;
  const std::array<std::uint8_t, kDataPieceSize> piece = input_.front();
  input_.pop_front();
  if (faults_.input == InputFault::kEmpty || length == 0) return false;
  if (faults_.input == InputFault::kShort) {
    const std::size_t count = std::min(length, kShortReadBytes);
    report[0] = 0;
    std::memcpy(report + 1, piece.data(), count - 1);
    return true;
  }
  std::fill(report, report + length, 0);
  const std::size_t dataEnd = 1 + kDataPieceSize;
  if (faults_.junkFill && length > dataEnd) std::fill(report + dataEnd, report + length, kJunk);
  if (length > 1) std::memcpy(report + 1, piece.data(), std::min(length - 1, kDataPieceSize));
  return true;
}

}  // namespace vortal
