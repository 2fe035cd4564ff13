// What the mouse reports on its event collection, and how device-change
// notices are recognised as being about the mouse.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "device/hid_port.h"

namespace vortal {

// Event input report: byte 0 report ID 6, byte 1 code, byte 2 unused, byte 3 value.
inline constexpr std::uint8_t kEventReportId = 6;
inline constexpr std::size_t kEventReportMinimum = 4;
inline constexpr std::size_t kEventBufferSize = 40;

// The codes the program acts on: report rate (5), DPI stage (7), key matrix
// (8), macro key (9). The mouse may send others; they are dropped.
inline constexpr std::array<std::uint8_t, 4> kForwardedEventCodes = {5, 7, 8, 9};

struct DeviceEvent {
  std::uint8_t code;
  std::uint8_t value;
  bool operator==(const DeviceEvent&) const = default;
};

// The event an input report carries, or nothing when it is not one to hand
// on: another report ID, a dropped code, or fewer than four bytes received.
// Reads only the `length` bytes given.
std::optional<DeviceEvent> DecodeEventReport(const std::uint8_t* report, std::size_t length);

// The interface names of device-change notices that concern the mouse; the
// match is a case-sensitive substring search, as the system spells them.
inline constexpr std::array<std::string_view, 2> kMouseInterfaceIds = {"Vid_04d9&Pid_a09f",
                                                                        "VID_04D9&PID_A09F"};
bool IsMouseInterfaceName(std::string_view interfaceName);

// The listener's loop: reads one event report after another and hands each
// event on, in order, until the port stops (the mouse went away or the read
// was cancelled). The report buffer is sized from the port's report length,
// so a longer report than usual is received whole.
void ListenForEvents(EventPort& port, const std::function<void(DeviceEvent)>& handler);

}  // namespace vortal
