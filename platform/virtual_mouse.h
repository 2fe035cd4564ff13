// The built-in virtual mouse: a HidBackend that presents the mouse (vendor
// 0x04D9, product 0xA09F) with its two vendor collections, answers commands
// from a firmware model (device/virtual_firmware.h) and keeps everything in
// one folder, so the program can be driven and checked without hardware.
// Its command collection has usage page and usage 0xFF00 (feature report 9
// bytes, input and output reports 33), its event collection usage page and
// usage 0xFF01 (input report 8 bytes); lengths count the report ID byte, as
// the system states them.
//
// It is used instead of the system's HID devices exactly when the
// environment variable VORTAL_VIRTUAL_MOUSE names a folder (created if
// missing). In that folder:
//
//   memory.bin   the mouse's memory between runs (layout in
//                virtual_firmware.h); on first creation its sensor type is
//                VORTAL_VIRTUAL_MOUSE_SENSOR (decimal 0 to 255, default 0).
//   traffic.log  appended, one line per report exchanged with the program:
//                "<seconds since the virtual mouse was opened, six decimals>
//                <KIND> <hex>", KIND one of SET_FEATURE, GET_FEATURE, WRITE,
//                READ, EVENT; hex is the whole buffer of the length passed to
//                the system call, report ID first, two upper-case digits per
//                byte separated by single spaces (GET_FEATURE and READ show
//                the buffer as returned to the program, EVENT the event
//                report as delivered). Calls that fail because the mouse is
//                unplugged exchange nothing and are not logged.
//   control      lines appended to it run once each, in order, within 200 ms:
//                  event CODE VALUE   (decimal, 0 to 255) sends the event
//                                     report 06 CODE 00 VALUE, rest 0
//                  unplug / plug      removes / re-attaches the mouse
//                  macro-slot-wrong N macro slot N (1 to 12; 0 none) keeps
//                                     its last byte flipped after each write,
//                                     so its read-back differs
//                  silent [N] / answer
//                                     feature reports fail (a mouse that
//                                     hangs), at once or once N more have
//                                     gone through / go through again
//                The last three are logged in traffic.log as "CONTROL" and the
//                line once they are in force, so a check can wait for them.
//                They last: see condition.
//                Lines already present when the virtual mouse is opened are
//                not run; a line counts once it ends with a newline; other
//                lines are ignored. A control file that shrank was replaced
//                and is read from its start.
//   condition    the faults in force, as the lines that set them
//                ("macro-slot-wrong N", "silent [N]"; empty for a mouse in
//                order). Read when the virtual mouse is opened, so every
//                program on the folder meets the same mouse; a countdown of
//                "silent N" starts afresh there.
//
// While unplugged, FindDevice finds nothing, ports opened before fail every
// call (also after the mouse is plugged in again, like stale handles) and a
// blocked ReadEvent returns 0. Plugging and unplugging send arrival and
// removal notices to the change listener for both collections, from the
// virtual mouse's own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_port.h"
#include "device/virtual_firmware.h"

namespace vortal {

inline constexpr const char* kVirtualMouseVariable = "VORTAL_VIRTUAL_MOUSE";
inline constexpr const char* kVirtualSensorVariable = "VORTAL_VIRTUAL_MOUSE_SENSOR";

// Interface names the virtual mouse reports in its change notices.
inline constexpr std::string_view kVirtualEventInterface =
    R"(\\?\HID#VID_04D9&PID_A09F&MI_01&Col01#vortal-virtual&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
inline constexpr std::string_view kVirtualCommandInterface =
    R"(\\?\HID#VID_04D9&PID_A09F&MI_01&Col02#vortal-virtual&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})";

struct VirtualMouseShared;

class VirtualMouseBackend : public HidBackend {
 public:
  // Opens the folder, creating it when missing. `sensorType` is the sensor
  // type of a fresh memory (no usable memory.bin yet).
  explicit VirtualMouseBackend(const std::string& folder, std::uint8_t sensorType = 0);
  ~VirtualMouseBackend() override;
  VirtualMouseBackend(const VirtualMouseBackend&) = delete;
  VirtualMouseBackend& operator=(const VirtualMouseBackend&) = delete;

  OpenedMouse FindDevice() override;
  void SetChangeListener(DeviceChangeListener listener) override;

  // False when the folder could not be created or is not a folder: the
  // mouse is then never found (the system's devices are not used either).
  bool Usable() const;

  // For tests and tools: the memory as it stands, misbehaviour to simulate
  // (ports opened afterwards state the faulty lengths), one control line run
  // at once, and the new lines of the control file run at once.
  VirtualMouseMemory Memory() const;
  void SetFaults(const VirtualMouseFaults& faults);
  void RunControlLine(std::string_view line);
  void PollControlFile();

 private:
  void PollLoop();
  void Notify(bool arrival);

  std::shared_ptr<VirtualMouseShared> shared_;
};

// One line of traffic.log, newline included: `seconds` since the mouse was
// opened, the KIND, the report bytes. Any other model of the mouse that
// writes its traffic this way can be compared with the virtual mouse's.
std::string TrafficLogLine(double seconds, std::string_view kind, const std::uint8_t* bytes,
                           std::size_t count);

// One line of the control file; nothing for a line that is none of them.
struct ControlLine {
  enum class Kind { kEvent, kUnplug, kPlug, kWrongMacroSlot, kSilent, kAnswer } kind;
  // kEvent; value: kWrongMacroSlot's slot, kSilent's reports still answered
  std::uint8_t code = 0, value = 0;
};
std::optional<ControlLine> ParseControlLine(std::string_view line);

// The event report of `event CODE VALUE` as the mouse sends it: 06 CODE 00
// VALUE, the rest of `length` bytes 0.
std::vector<std::uint8_t> EventReport(std::uint8_t code, std::uint8_t value, std::size_t length);

// The sensor type of VORTAL_VIRTUAL_MOUSE_SENSOR's text: a decimal number
// read the C library's way; anything outside 0 to 255 gives 0.
std::uint8_t VirtualSensorTypeFromText(const char* text);

// The virtual mouse when VORTAL_VIRTUAL_MOUSE is set and not empty, else null
// (then the system's HID devices are used).
std::unique_ptr<HidBackend> MakeVirtualBackendFromEnvironment();

}  // namespace vortal
