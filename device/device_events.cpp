#include "device/device_events.h"

#include <algorithm>
#include <vector>

namespace vortal {
namespace {

constexpr std::size_t kLongestHidReport = 65535;

}  // namespace

std::optional<DeviceEvent> DecodeEventReport(const std::uint8_t* report, std::size_t length) {
  if (report == nullptr || length < kEventReportMinimum) return std::nullopt;
  if (report[0] != kEventReportId) return std::nullopt;
  const std::uint8_t code = report[1];
  if (std::find(kForwardedEventCodes.begin(), kForwardedEventCodes.end(), code) ==
      kForwardedEventCodes.end()) {
    return std::nullopt;
  }
  return DeviceEvent{code, report[3]};
}

bool IsMouseInterfaceName(std::string_view interfaceName) {
  return std::any_of(kMouseInterfaceIds.begin(), kMouseInterfaceIds.end(), [&](std::string_view id) {
    return interfaceName.find(id) != std::string_view::npos;
  });
}

void ListenForEvents(EventPort& port, const std::function<void(DeviceEvent)>& handler) {
  std::vector<std::uint8_t> report(
      std::clamp(port.InputLength(), kEventBufferSize, kLongestHidReport), 0);
  for (;;) {
    std::fill(report.begin(), report.end(), 0);
    const std::size_t got = port.ReadEvent(report.data(), report.size());
    if (got == 0) return;
    if (auto event = DecodeEventReport(report.data(), std::min(got, report.size()))) handler(*event);
  }
}

}  // namespace vortal
