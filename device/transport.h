// Carries CommandFrames to the mouse's command collection: the feature report
// of the command, the optional 8-byte reply, and the data phase in 32-byte
// pieces through output or input reports.
//
// Buffers: the mouse's reports fit in 16 bytes (feature) and 40 bytes
// (input, output), but a device may state longer reports in its
// capabilities. The system call is always given the device's own report
// length, so the transport sizes its report buffer from the largest of those
// lengths (at least 40 bytes) rather than passing a length longer than its
// buffer. A device stating a report longer than any HID report can be
// (65535 bytes) is not used: every send then does nothing, as with no mouse.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "device/command_frame.h"
#include "device/hid_port.h"

namespace vortal {

inline constexpr std::size_t kDataPieceSize = 32;      // data bytes per output or input report
inline constexpr std::size_t kReportBufferSize = 40;   // the smallest report buffer
inline constexpr std::size_t kMaxHidReportLength = 65535;
inline constexpr std::chrono::milliseconds kOutputReportPause{3};

// Number of 32-byte pieces a data phase of `length` bytes takes.
inline std::size_t DataPieces(std::size_t length) {
  return (length + kDataPieceSize - 1) / kDataPieceSize;
}

// Scrambling: off, and nothing in the program switches it on; the keys are
// kept here so that the transport can offer it.
struct ScrambleState {
  bool enabled = false;
  ScrambleKeys keys = kDefaultScrambleKeys;
};

// How one command went. A failure does not stop the sequence it belongs to:
// the mouse expects every command of an Apply in its order, so the caller
// goes on and reports.
enum class CommandResult {
  kOk,
  kNoMouse,       // no usable command collection
  kNotSent,       // the system refused the command's feature report
  kNoReply,       // a read command got no reply, or one that does not check out
  kDataNotSent,   // an output report of the data phase was refused
  kDataNotRead,   // an input report of the data phase did not come
};

class Transport {
 public:
  explicit Transport(Pauser& pauser) : pauser_(pauser) {}

  // The command collection to talk to; null while there is no mouse.
  void Attach(std::unique_ptr<CommandPort> port);
  void Detach() { Attach(nullptr); }
  bool Attached() const { return port_ != nullptr; }
  // True when a port is attached and its report lengths are usable.
  bool Usable() const { return port_ != nullptr && !buffer_.empty(); }

  ScrambleState& scrambling() { return scrambling_; }

  // Sends the frame (with its checksum) as a feature report. For a read
  // opcode, the frame then holds the mouse's reply; otherwise it is left as
  // it was. A failed read yields zero bytes. Returns the first failure.
  CommandResult SendCommand(CommandFrame& frame);

  // A command with a data phase of frame byte 2 bytes. For a read opcode the
  // frame receives the reply and `data` the bytes read: as many input reports
  // as the reply's length byte asks for are read, but nothing is stored
  // beyond `data`. For a write opcode `data` is the source; bytes beyond its
  // end are sent as 0. Each output report is followed by a 3 ms pause. A
  // failure on the way does not cut the data phase short: the reports go
  // out as before, and the first failure is returned.
  CommandResult SendDataCommand(CommandFrame& frame, std::span<std::uint8_t> data);

 private:
  std::uint8_t* ZeroedBuffer();
  bool PutFrame(const CommandFrame& frame);
  bool GetReply(CommandFrame& frame);

  Pauser& pauser_;
  std::unique_ptr<CommandPort> port_;
  ReportLengths lengths_;
  std::vector<std::uint8_t> buffer_;
  ScrambleState scrambling_;
};

}  // namespace vortal
