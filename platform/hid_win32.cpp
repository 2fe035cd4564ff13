#include "platform/hid_win32.h"

// clang-format off
#include <windows.h>
#include <devpropdef.h>
#include <setupapi.h>
extern "C" {  // mingw-w64's HID headers declare no C linkage of their own
#include <hidsdi.h>
}
#include <hidclass.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace vortal {
namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

constexpr const char* kDetailFailed = "SetupDiGetDeviceInterfaceDetail failed.\n";
constexpr const char* kPreparsedDataFailed = "HidD_GetPreparsedData failed.\n";
constexpr const char* kGetCapsFailed = "HidP_GetCaps failed.";

// Identifiers and report lengths go to the debugger only; the user never sees them.
void Diagnostic(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  OutputDebugStringA(text);
}

// The container of a device node: every node of one physical device (here
// the two USB interfaces of the mouse) has the same. Empty when the system
// does not say.
std::wstring ContainerOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
  // DEVPKEY_Device_ContainerId
  static const DEVPROPKEY kContainerId = {
      {0x8c7ed206, 0x3f8a, 0x4827, {0xb3, 0xab, 0xae, 0x9e, 0x1f, 0xae, 0xfc, 0x6c}}, 2};
  GUID container{};
  DEVPROPTYPE type = 0;
  if (!SetupDiGetDevicePropertyW(set, &device, &kContainerId, &type,
                                 reinterpret_cast<BYTE*>(&container), sizeof container, nullptr, 0) ||
      type != DEVPROP_TYPE_GUID) {
    return {};
  }
  wchar_t text[40] = {};
  std::swprintf(text, 40, L"%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned long>(container.Data1), container.Data2, container.Data3,
                container.Data4[0], container.Data4[1], container.Data4[2], container.Data4[3],
                container.Data4[4], container.Data4[5], container.Data4[6], container.Data4[7]);
  Diagnostic("ContainerId:%ls\n", text);
  return text;
}

HANDLE OpenInterface(const std::wstring& path, DWORD access, DWORD flags) {
  return CreateFileW(path.c_str(), access, kShareReadWrite, nullptr, OPEN_EXISTING, flags, nullptr);
}

class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void Close() {
    if (valid()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }
  HANDLE Release() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE h_;
};

// A mouse answers a read command at once; one that stays silent this long
// in the middle of a reply is not going to answer, and the window must not
// freeze on it (the hidraw backend gives up after the same time).
constexpr unsigned kCommandTransferTimeoutMs = 1000;

// Every report of the command collection goes through one overlapped
// handle: the feature reports as the HID class driver's own requests (what
// HidD_SetFeature and HidD_GetFeature send, but with a bound), the data
// phase's output and input reports as overlapped writes and reads, so that
// no wait for the mouse is without end.
class Win32CommandPort : public CommandPort {
 public:
  Win32CommandPort(HANDLE reports, HANDLE event, ReportLengths lengths)
      : reports_(reports), event_(event), lengths_(lengths) {}

  ReportLengths Lengths() const override { return lengths_; }

  bool SetFeature(const std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> copy(report, report + length);
    return FeatureWithin(reports_.get(), event_.get(), true, copy.data(), length,
                         kCommandTransferTimeoutMs);
  }
  // Into a buffer of its own, the report ID in its first byte: a request
  // that failed leaves the caller's as it was.
  bool GetFeature(std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> buffer(report, report + length);
    if (!FeatureWithin(reports_.get(), event_.get(), false, buffer.data(), length,
                       kCommandTransferTimeoutMs)) {
      return false;
    }
    std::copy(buffer.begin(), buffer.end(), report);
    return true;
  }
  bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> copy(report, report + length);
    return TransferWithin(reports_.get(), event_.get(), true, copy.data(), length,
                          kCommandTransferTimeoutMs) == static_cast<long>(length);
  }
  // Into a buffer of its own: a read that failed leaves the caller's as it was.
  bool ReadInput(std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> buffer(length);
    const long got = TransferWithin(reports_.get(), event_.get(), false, buffer.data(), length,
                                    kCommandTransferTimeoutMs);
    if (got <= 0) return false;
    std::copy(buffer.begin(), buffer.begin() + got, report);
    return true;
  }

 private:
  Handle reports_;
  Handle event_;
  ReportLengths lengths_;
};

// Overlapped reads of the event collection, completing on a manual-reset
// event that Cancel() also signals, so a listener thread can be stopped.
class Win32EventPort : public EventPort {
 public:
  Win32EventPort(HANDLE read, HANDLE write, HANDLE event, std::size_t inputLength)
      : read_(read), write_(write), event_(event), buffer_(inputLength) {}

  std::size_t InputLength() const override { return buffer_.size(); }

  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    ResetEvent(event_.get());
    // Checked after the reset: a Cancel() that came earlier is seen here, a
    // later one signals the event after the reset.
    if (cancelled_.load() || buffer_.empty()) return 0;
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.get();
    DWORD got = 0;
    if (!ReadFile(read_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr,
                  &overlapped_)) {
      if (GetLastError() != ERROR_IO_PENDING) return 0;  // the mouse went away
      // Every path waits for the read to end, so the buffer and the
      // OVERLAPPED are free again whenever ReadEvent returns.
      WaitForSingleObject(event_.get(), INFINITE);
      if (cancelled_.load()) CancelIoEx(read_.get(), &overlapped_);
      BOOL done = GetOverlappedResult(read_.get(), &overlapped_, &got, TRUE);
      if (!done || cancelled_.load()) return 0;
    } else if (!GetOverlappedResult(read_.get(), &overlapped_, &got, FALSE)) {
      return 0;
    }
    std::size_t stored = std::min<std::size_t>(got, capacity);
    std::copy(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(stored), report);
    return stored;
  }

  // Stays in force, so that a listener told to stop never blocks again.
  void Cancel() override {
    cancelled_.store(true);
    CancelIoEx(read_.get(), nullptr);
    SetEvent(event_.get());
  }

 private:
  Handle read_;
  Handle write_;  // opened together with the read handle; nothing is written through it
  Handle event_;
  std::vector<std::uint8_t> buffer_;
  OVERLAPPED overlapped_{};
  std::atomic<bool> cancelled_{false};
};

class Win32HidBackend : public HidBackend {
 public:
  OpenedMouse FindDevice() override {
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set =
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return {};
    OpenedMouse mouse = Search(set, hidGuid);
    SetupDiDestroyDeviceInfoList(set);
    return mouse;
  }

 private:
  static OpenedMouse Failed(const char* text) {
    OpenedMouse mouse;
    mouse.problem = text;
    return mouse;
  }

  // Walks every HID interface, keeps those of the mouse with their
  // capabilities, then opens the two collections wherever they stood.
  OpenedMouse Search(HDEVINFO set, GUID& hidGuid) {
    std::vector<HidInterfaceCaps> found;
    for (DWORD index = 0;; ++index) {
      SP_DEVICE_INTERFACE_DATA iface{};
      iface.cbSize = sizeof iface;
      // ERROR_NO_MORE_ITEMS ends the list; any other failure ends it too.
      if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &iface)) break;

      DWORD required = 0;
      SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr);
      std::vector<std::uint64_t> storage(required / sizeof(std::uint64_t) + 1);  // aligned
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
      SP_DEVINFO_DATA device{};
      device.cbSize = sizeof device;
      if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) ||
          !SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, required, nullptr, &device)) {
        return Failed(kDetailFailed);
      }
      const std::wstring path = detail->DevicePath;

      // Some HID interfaces of other devices refuse even an open without
      // access rights; they are passed over, they are not the mouse.
      Handle query(OpenInterface(path, 0, FILE_ATTRIBUTE_NORMAL));
      if (!query.valid()) continue;
      HIDD_ATTRIBUTES attributes{};
      attributes.Size = sizeof attributes;
      if (!HidD_GetAttributes(query.get(), &attributes)) continue;
      Diagnostic("PID:%04x\n,VID:%04x\n,VersionNumber:%04x\n", attributes.ProductID,
                 attributes.VendorID, attributes.VersionNumber);
      if (attributes.VendorID != kMouseVendorId || attributes.ProductID != kMouseProductId) continue;

      PHIDP_PREPARSED_DATA preparsed = nullptr;
      if (!HidD_GetPreparsedData(query.get(), &preparsed)) {
        return Failed(kPreparsedDataFailed);
      }
      query.Close();
      HIDP_CAPS caps{};
      NTSTATUS status = HidP_GetCaps(preparsed, &caps);
      HidD_FreePreparsedData(preparsed);
      if (status == HIDP_STATUS_INVALID_PREPARSED_DATA) {
        return Failed(kGetCapsFailed);
      }
      Diagnostic(
          "Usage:0x%04x\n, UsagePage:0x%04x\n,FeatureReportByteLength:0x%04x\n,"
          "InputReportByteLength:0x%x\n,OutputReportByteLength:0x%x\n",
          caps.Usage, caps.UsagePage, caps.FeatureReportByteLength, caps.InputReportByteLength,
          caps.OutputReportByteLength);
      found.push_back({path, caps.UsagePage, caps.Usage,
                       ReportLengths{caps.FeatureReportByteLength, caps.InputReportByteLength,
                                     caps.OutputReportByteLength},
                       ContainerOf(set, device)});
    }

    const MouseInterfaces chosen = ChooseMouseInterfaces(found);
    if (chosen.command < 0) return {};
    const HidInterfaceCaps& command = found[static_cast<std::size_t>(chosen.command)];
    OpenedMouse mouse;
    mouse.command = OpenCommand(command.path, command.lengths);
    if (!mouse.command) return {};
    // Without the event collection the mouse can still be configured; only
    // the changes made on the mouse itself go unseen.
    if (chosen.events >= 0) {
      const HidInterfaceCaps& events = found[static_cast<std::size_t>(chosen.events)];
      mouse.events = OpenEvents(events.path, events.lengths.input);
    }
    return mouse;
  }

  static std::unique_ptr<CommandPort> OpenCommand(const std::wstring& path, ReportLengths lengths) {
    constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
    Handle reports(OpenInterface(path, kAccess, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED));
    if (!reports.valid()) return nullptr;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) return nullptr;
    return std::make_unique<Win32CommandPort>(reports.Release(), event, lengths);
  }

  static std::unique_ptr<EventPort> OpenEvents(const std::wstring& path, std::size_t inputLength) {
    constexpr DWORD kOverlapped = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED;
    Handle read(OpenInterface(path, GENERIC_READ, kOverlapped));
    if (!read.valid()) return nullptr;
    Handle write(OpenInterface(path, GENERIC_WRITE, kOverlapped));
    if (!write.valid()) return nullptr;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) return nullptr;
    return std::make_unique<Win32EventPort>(read.Release(), write.Release(), event, inputLength);
  }
};

}  // namespace

MouseInterfaces ChooseMouseInterfaces(const std::vector<HidInterfaceCaps>& interfaces) {
  const auto isCommand = [](const HidInterfaceCaps& c) {
    return c.usagePage == kCommandUsage && c.usage == kCommandUsage && c.lengths.feature != 0;
  };
  const auto isEvents = [](const HidInterfaceCaps& c) {
    return c.usagePage == kEventUsage && c.usage == kEventUsage && c.lengths.input != 0;
  };
  MouseInterfaces chosen;
  for (std::size_t i = 0; i < interfaces.size() && chosen.command < 0; ++i) {
    if (isCommand(interfaces[i])) chosen.command = static_cast<int>(i);
  }
  int sameMouse = -1;
  for (std::size_t i = 0; i < interfaces.size(); ++i) {
    const HidInterfaceCaps& c = interfaces[i];
    if (!isEvents(c)) continue;
    if (chosen.events < 0) chosen.events = static_cast<int>(i);
    if (sameMouse < 0 && chosen.command >= 0 && !c.container.empty() &&
        c.container == interfaces[static_cast<std::size_t>(chosen.command)].container) {
      sameMouse = static_cast<int>(i);
    }
  }
  if (sameMouse >= 0) chosen.events = sameMouse;
  return chosen;
}

namespace {

// One overlapped operation, begun by `start`, given `timeoutMs` to end.
template <typename Start>
long OverlappedWithin(HANDLE handle, HANDLE event, unsigned timeoutMs, Start start) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = event;
  ResetEvent(event);
  const BOOL started = start(&overlapped);
  if (!started && GetLastError() != ERROR_IO_PENDING) return -1;
  if (!started && WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0)
    CancelIoEx(handle, &overlapped);
  // A transfer that ended just as the time ran out keeps its result; a
  // cancelled one fails here.
  DWORD done = 0;
  if (!GetOverlappedResult(handle, &overlapped, &done, TRUE)) return -1;
  return static_cast<long>(done);
}

}  // namespace

long TransferWithin(void* file, void* event, bool write, std::uint8_t* buffer, std::size_t length,
                    unsigned timeoutMs) {
  HANDLE handle = static_cast<HANDLE>(file);
  const DWORD count = static_cast<DWORD>(length);
  return OverlappedWithin(handle, static_cast<HANDLE>(event), timeoutMs, [&](OVERLAPPED* o) {
    return write ? WriteFile(handle, buffer, count, nullptr, o)
                 : ReadFile(handle, buffer, count, nullptr, o);
  });
}

bool FeatureWithin(void* file, void* event, bool set, std::uint8_t* report, std::size_t length,
                   unsigned timeoutMs) {
  HANDLE handle = static_cast<HANDLE>(file);
  const DWORD count = static_cast<DWORD>(length);
  // The report goes in both ways, as the HID class driver expects of either
  // request: its ID (and for a set, its data) in, the mouse's report out.
  return OverlappedWithin(handle, static_cast<HANDLE>(event), timeoutMs, [&](OVERLAPPED* o) {
           DWORD returned = 0;
           return DeviceIoControl(handle, set ? IOCTL_HID_SET_FEATURE : IOCTL_HID_GET_FEATURE,
                                  report, count, set ? nullptr : report, set ? 0 : count,
                                  &returned, o);
         }) >= 0;
}

std::unique_ptr<HidBackend> MakeWin32HidBackend() {
  return std::make_unique<Win32HidBackend>();
}

}  // namespace vortal
