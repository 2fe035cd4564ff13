#include "device/transport.h"

#include <algorithm>
#include <cstring>

namespace vortal {

void Transport::Attach(std::unique_ptr<CommandPort> port) {
  port_ = std::move(port);
  buffer_.clear();
  lengths_ = {};
  if (!port_) return;
  lengths_ = port_->Lengths();
  const std::size_t longest = std::max({lengths_.feature, lengths_.input, lengths_.output});
  if (longest > kMaxHidReportLength) return;  // leaves the transport unusable
  buffer_.assign(std::max(longest, kReportBufferSize), 0);
}

std::uint8_t* Transport::ZeroedBuffer() {
  std::fill(buffer_.begin(), buffer_.end(), 0);
  return buffer_.data();
}

bool Transport::PutFrame(const CommandFrame& frame) {
  std::uint8_t* report = ZeroedBuffer();  // report ID 0
  CommandFrame sent = frame;
  StoreChecksum(sent);
  if (scrambling_.enabled) ScrambleFrame(sent, scrambling_.keys);
  std::memcpy(report + 1, sent.data(), kFrameSize);
  return port_->SetFeature(report, lengths_.feature);
}

// A reply counts when the system gave one and its checksum checks out (a
// failed read leaves all zeros, which no mouse sends).
bool Transport::GetReply(CommandFrame& frame) {
  std::uint8_t* report = ZeroedBuffer();
  const bool read = port_->GetFeature(report, lengths_.feature);
  CommandFrame reply;
  std::memcpy(reply.data(), report + 1, kFrameSize);
  if (scrambling_.enabled) UnscrambleFrame(reply, scrambling_.keys);
  frame = reply;
  return read && HasValidChecksum(reply);
}

CommandResult Transport::SendCommand(CommandFrame& frame) {
  if (!Usable()) return CommandResult::kNoMouse;
  const bool sent = PutFrame(frame);
  const bool replied = !IsReadOpcode(frame[0]) || GetReply(frame);
  if (!sent) return CommandResult::kNotSent;
  return replied ? CommandResult::kOk : CommandResult::kNoReply;
}

CommandResult Transport::SendDataCommand(CommandFrame& frame, std::span<std::uint8_t> data) {
  if (!Usable()) return CommandResult::kNoMouse;
  CommandResult result = PutFrame(frame) ? CommandResult::kOk : CommandResult::kNotSent;
  auto fail = [&](CommandResult failure) {
    if (result == CommandResult::kOk) result = failure;
  };
  if (IsReadOpcode(frame[0])) {
    if (!GetReply(frame)) fail(CommandResult::kNoReply);
    const std::size_t pieces = DataPieces(frame[kFrameLengthByte]);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
      std::uint8_t* report = ZeroedBuffer();
      if (!port_->ReadInput(report, lengths_.input)) fail(CommandResult::kDataNotRead);
      // The reply may ask for more than the caller has room for: read the
      // report anyway so the mouse's data phase completes, store what fits.
      const std::size_t offset = piece * kDataPieceSize;
      if (offset < data.size()) {
        std::memcpy(data.data() + offset, report + 1, std::min(kDataPieceSize, data.size() - offset));
      }
    }
    return result;
  }
  const std::size_t pieces = DataPieces(frame[kFrameLengthByte]);
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    std::uint8_t* report = ZeroedBuffer();
    const std::size_t offset = piece * kDataPieceSize;
    if (offset < data.size()) {
      std::memcpy(report + 1, data.data() + offset, std::min(kDataPieceSize, data.size() - offset));
    }
    if (!port_->WriteOutput(report, lengths_.output)) fail(CommandResult::kDataNotSent);
    pauser_.Pause(kOutputReportPause);
  }
  return result;
}

}  // namespace vortal
