// The mouse through the Windows HID class driver (SetupDi and HidD).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_port.h"

namespace vortal {

// A failure of the system calls during the search is told in the found
// mouse's `problem`.
std::unique_ptr<HidBackend> MakeWin32HidBackend();

// One HID interface of the mouse (vendor and product already matched): a
// top-level collection as its capabilities state it, and the container the
// system groups it in (one per physical device; empty when not told).
struct HidInterfaceCaps {
  std::wstring path;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  ReportLengths lengths;
  std::wstring container;
};

// Which of them are the command and the event collection (-1 when absent).
// The system lists the interfaces in no fixed order: the command collection
// is the first of its kind, wherever it stands; the event collection is the
// first of its kind in the same container (with two mice plugged in, the
// same mouse's), else the first of its kind.
struct MouseInterfaces {
  int command = -1;
  int events = -1;
};
MouseInterfaces ChooseMouseInterfaces(const std::vector<HidInterfaceCaps>& interfaces);

// An overlapped ReadFile or WriteFile on `file` (a HANDLE opened with
// FILE_FLAG_OVERLAPPED), completing on the manual-reset `event`, given at
// most `timeoutMs` to end. A transfer still pending then is cancelled and
// waited for, so the buffer is free again whenever this returns. Returns the
// bytes transferred, or -1 when it failed or timed out.
long TransferWithin(void* file, void* event, bool write, std::uint8_t* buffer, std::size_t length,
                    unsigned timeoutMs);

// A feature report set or got (the report ID in its first byte) through the
// HID class driver's request on the same kind of handle, within the same
// bound. Returns whether it went through.
bool FeatureWithin(void* file, void* event, bool set, std::uint8_t* report, std::size_t length,
                   unsigned timeoutMs);

}  // namespace vortal
