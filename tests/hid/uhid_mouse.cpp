// The mouse behind the kernel's real HID stack: becomes the mouse through
// /dev/uhid as two devices, the two interfaces of one USB device (command
// collection 0xFF00, unnumbered; event collection 0xFF01, report 6), and
// answers every command with the virtual mouse's firmware model, writing the
// same memory.bin and traffic.log as the virtual mouse does.
//
//   vortal_uhid_mouse --dir FOLDER --control FIFO [--order commands-first|events-first]
//                     [--sensor N]
//
// Lines written to the control FIFO run at once: the virtual mouse's
// "event CODE VALUE", "unplug" (UHID_DESTROY of both) and "plug" (a new
// UHID_CREATE2 of both), and "stall": the next read command gets its reply
// but none of its input reports, as a mouse that stops answering half-way.
// "ready" is written to FOLDER/state once both devices are created (again
// after each plug), "unplugged" after an unplug.
#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/virtual_firmware.h"
#include "platform/virtual_mouse.h"
#include "files/file_io.h"
#include "support/hid_descriptors.h"

namespace vortal {
namespace {

using testing::descriptors::Bytes;

constexpr std::uint16_t kBusUsb = 0x03;
// Two interfaces of one USB device: the HID stacks tell them apart, and pair
// them, by these paths.
constexpr const char* kEventPhys = "usb-0000:00:14.0-4/input0";
constexpr const char* kCommandPhys = "usb-0000:00:14.0-4/input1";

struct Device {
  const char* phys;
  const Bytes* descriptor;
  int fd = -1;
};

class UhidMouse {
 public:
  UhidMouse(const std::string& dir, std::uint8_t sensorType, bool eventsFirst)
      : dir_(dir), memoryPath_(dir + "/memory.bin"), log_(dir + "/traffic.log", std::ios::app) {
    std::optional<VirtualMouseMemory> memory;
    if (auto bytes = ReadFileBytes(memoryPath_)) memory = DecodeMemory(*bytes);
    if (!memory) {
      memory.emplace();
      memory->sensorSettings[0] = sensorType;
    }
    firmware_.SetMemory(*memory);
    SaveMemory();
    command_ = {kCommandPhys, &testing::descriptors::kCommandInterface};
    events_ = {kEventPhys, &testing::descriptors::kEventInterface};
    order_[0] = eventsFirst ? &events_ : &command_;
    order_[1] = eventsFirst ? &command_ : &events_;
  }

  bool Plug() {
    for (Device* device : order_) {
      if (device->fd < 0) device->fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
      if (device->fd < 0) return Fail("cannot open /dev/uhid");
      uhid_event ev{};
      ev.type = UHID_CREATE2;
      std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name,
                    "Vortal Gaming Mouse");
      std::snprintf(reinterpret_cast<char*>(ev.u.create2.phys), sizeof ev.u.create2.phys, "%s",
                    device->phys);
      ev.u.create2.rd_size = static_cast<std::uint16_t>(device->descriptor->size());
      std::memcpy(ev.u.create2.rd_data, device->descriptor->data(), device->descriptor->size());
      ev.u.create2.bus = kBusUsb;
      ev.u.create2.vendor = kMouseVendorId;
      ev.u.create2.product = kMouseProductId;
      ev.u.create2.version = 0x0100;
      if (!Send(*device, ev)) return Fail("UHID_CREATE2 failed");
    }
    plugged_ = true;
    SetState("ready");
    return true;
  }

  void Unplug() {
    for (Device* device : order_) {
      uhid_event ev{};
      ev.type = UHID_DESTROY;
      Send(*device, ev);
    }
    plugged_ = false;
    stall_ = false;
    SetState("unplugged");
  }

  int Run(int control) {
    std::string pending;
    for (;;) {
      pollfd p[3] = {{command_.fd, POLLIN, 0}, {events_.fd, POLLIN, 0}, {control, POLLIN, 0}};
      if (::poll(p, 3, -1) < 0) {
        if (errno == EINTR) continue;
        return Fail("poll failed") ? 0 : 1;
      }
      if (p[0].revents & POLLIN) Serve();
      if (p[1].revents & POLLIN) Drain(events_);
      if (p[2].revents & POLLIN) {
        char chunk[256];
        ssize_t n = ::read(control, chunk, sizeof chunk);
        if (n > 0) pending.append(chunk, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
          const std::string line = pending.substr(0, end);
          pending.erase(0, end + 1);
          if (line == "quit") return 0;
          Control(line);
        }
      }
    }
  }

 private:
  static bool Fail(const char* what) {
    std::fprintf(stderr, "vortal_uhid_mouse: %s: %s\n", what, std::strerror(errno));
    return false;
  }

  static bool Send(const Device& device, const uhid_event& ev) {
    return ::write(device.fd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev);
  }

  void SetState(const char* state) {
    WriteFileAtomically(dir_ + "/state", std::vector<std::uint8_t>(state, state + std::strlen(state)));
  }

  void SaveMemory() { WriteFileAtomically(memoryPath_, EncodeMemory(firmware_.memory())); }

  void Log(const char* kind, const std::uint8_t* bytes, std::size_t count) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - opened_).count();
    log_ << TrafficLogLine(seconds, kind, bytes, count) << std::flush;
  }

  void Control(const std::string& text) {
    if (text == "stall") {
      stall_ = true;
      return;
    }
    const std::optional<ControlLine> line = ParseControlLine(text);
    if (!line) return;
    if (line->kind == ControlLine::Kind::kUnplug && plugged_) Unplug();
    if (line->kind == ControlLine::Kind::kPlug && !plugged_) Plug();
    if (line->kind == ControlLine::Kind::kEvent && plugged_) {
      const std::vector<std::uint8_t> report = EventReport(line->code, line->value, kVirtualEventLength);
      uhid_event ev{};
      ev.type = UHID_INPUT2;
      ev.u.input2.size = static_cast<std::uint16_t>(report.size());
      std::memcpy(ev.u.input2.data, report.data(), report.size());
      if (Send(events_, ev)) Log("EVENT", report.data(), report.size());
    }
  }

  // The event device gets no requests the mouse answers; its notices
  // (start, open, close) are read and let go.
  static void Drain(const Device& device) {
    uhid_event ev{};
    ssize_t ignored = ::read(device.fd, &ev, sizeof ev);
    (void)ignored;
  }

  // One request of the kernel to the command device. The reports carry the
  // report ID 0 first, as the program passes them to hidraw.
  void Serve() {
    uhid_event ev{};
    if (::read(command_.fd, &ev, sizeof ev) <= 0) return;
    switch (ev.type) {
      case UHID_SET_REPORT: {
        const std::uint8_t* report = ev.u.set_report.data;
        const std::size_t length = ev.u.set_report.size;
        Log("SET_FEATURE", report, length);
        if (firmware_.SetFeature(report, length)) SaveMemory();
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = ev.u.set_report.id;
        Send(command_, reply);
        break;
      }
      case UHID_GET_REPORT: {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = ev.u.get_report.id;
        std::uint8_t* report = reply.u.get_report_reply.data;
        firmware_.GetFeature(report, kVirtualCommandLengths.feature);
        reply.u.get_report_reply.size = static_cast<std::uint16_t>(kVirtualCommandLengths.feature);
        Send(command_, reply);
        Log("GET_FEATURE", report, kVirtualCommandLengths.feature);
        SendDataPhase();
        break;
      }
      case UHID_OUTPUT: {
        const std::uint8_t* report = ev.u.output.data;
        const std::size_t length = ev.u.output.size;
        Log("WRITE", report, length);
        if (firmware_.Output(report, length)) SaveMemory();
        break;
      }
      default:
        break;
    }
  }

  // A read command's data: its input reports follow the reply at once;
  // hidraw keeps them until the program reads them.
  void SendDataPhase() {
    std::uint8_t report[kVirtualCommandLengths.input];
    while (firmware_.Input(report, sizeof report)) {
      if (stall_) continue;  // taken from the model, never sent
      uhid_event ev{};
      ev.type = UHID_INPUT2;
      ev.u.input2.size = sizeof report - 1;  // unnumbered: the data alone
      std::memcpy(ev.u.input2.data, report + 1, sizeof report - 1);
      if (Send(command_, ev)) Log("READ", report, sizeof report);
    }
    stall_ = false;
  }

  std::string dir_;
  std::string memoryPath_;
  std::ofstream log_;
  std::chrono::steady_clock::time_point opened_ = std::chrono::steady_clock::now();
  VirtualMouseFirmware firmware_;
  Device command_, events_;
  Device* order_[2];
  bool plugged_ = false;
  bool stall_ = false;
};

int Main(int argc, char** argv) {
  std::string dir, control, order = "commands-first";
  int sensor = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--dir") dir = value;
    else if (option == "--control") control = value;
    else if (option == "--order") order = value;
    else if (option == "--sensor") sensor = std::atoi(value.c_str());
  }
  if (dir.empty() || control.empty() || (order != "commands-first" && order != "events-first")) {
    std::fprintf(stderr,
                 "usage: vortal_uhid_mouse --dir FOLDER --control FIFO "
                 "[--order commands-first|events-first] [--sensor N]\n");
    return 2;
  }
  std::filesystem::create_directories(dir);
  ::mkfifo(control.c_str(), 0600);
  // Held open for writing too, so the FIFO never reads as ended between writers.
  const int fd = ::open(control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    std::perror("vortal_uhid_mouse: control");
    return 1;
  }
  UhidMouse mouse(dir, static_cast<std::uint8_t>(sensor), order == "events-first");
  if (!mouse.Plug()) return 1;
  return mouse.Run(fd);
}

}  // namespace
}  // namespace vortal

int main(int argc, char** argv) { return vortal::Main(argc, argv); }
