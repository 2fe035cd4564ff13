// The narrow interface between the device link and a HID implementation
// (Windows SetupDi/HidD, Linux hidraw, or the built-in virtual mouse).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vortal {

// The mouse on the USB: the maker's vendor ID and the mouse's product ID.
inline constexpr std::uint16_t kMouseVendorId = 0x04D9;
inline constexpr std::uint16_t kMouseProductId = 0xA09F;
// Its two vendor-defined collections, each with the same usage page and usage:
// the commands (feature reports) and the events (input reports).
inline constexpr std::uint16_t kCommandUsage = 0xFF00;
inline constexpr std::uint16_t kEventUsage = 0xFF01;

// Report lengths of the command collection, as its capabilities state them
// (report ID byte included).
struct ReportLengths {
  std::size_t feature = 0;
  std::size_t input = 0;
  std::size_t output = 0;
};

// The command collection, opened for synchronous use. Every call passes the
// whole report buffer of `length` bytes, report ID first, as the system call
// does. A failed read leaves the buffer as it was (the caller zeroes it).
class CommandPort {
 public:
  virtual ~CommandPort() = default;
  virtual ReportLengths Lengths() const = 0;
  virtual bool SetFeature(const std::uint8_t* report, std::size_t length) = 0;
  virtual bool GetFeature(std::uint8_t* report, std::size_t length) = 0;
  virtual bool WriteOutput(const std::uint8_t* report, std::size_t length) = 0;
  virtual bool ReadInput(std::uint8_t* report, std::size_t length) = 0;
};

// The event collection's input reports.
class EventPort {
 public:
  virtual ~EventPort() = default;
  virtual std::size_t InputLength() const = 0;
  // Blocks until one input report arrives and copies at most `capacity` bytes
  // of it. Returns the number of bytes stored; 0 when the device went away or
  // Cancel() was called.
  virtual std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) = 0;
  // Makes a blocked ReadEvent return 0 (from any thread).
  virtual void Cancel() = 0;
};

struct OpenedMouse {
  std::unique_ptr<CommandPort> command;
  std::unique_ptr<EventPort> events;  // may be null when the event collection was not found
  // Why a mouse that was seen could not be opened (English, as the system
  // says it); empty when it was opened or not seen at all.
  std::string problem;
};

// Device arrival or removal, with the interface name the notification carries.
using DeviceChangeListener = std::function<void(bool arrival, const std::string& interfaceName)>;

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Looks for the mouse (kMouseVendorId, kMouseProductId) and opens its two
  // vendor collections. Empty `command` when the command collection was not found.
  virtual OpenedMouse FindDevice() = 0;
  // Backends that produce their own arrival/removal notices (the virtual
  // mouse) report them here; system backends leave that to the OS. The
  // listener is called on the backend's own thread, never while the backend
  // holds a lock, so it may call FindDevice; a window hands the notice on to
  // its own thread as it would a WM_DEVICECHANGE.
  virtual void SetChangeListener(DeviceChangeListener listener) { (void)listener; }
};

// The protocol's pauses. Tests use a fake; the platform one is accurate to
// well under a millisecond without burning a core.
class Pauser {
 public:
  virtual ~Pauser() = default;
  virtual void Pause(std::chrono::microseconds duration) = 0;
};

}  // namespace vortal
