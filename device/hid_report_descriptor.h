// Reads a HID report descriptor (as Linux exposes it in sysfs) far enough to
// find the mouse's two vendor collections and their report lengths, computed
// the way Windows states them in a collection's capabilities.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_port.h"

namespace vortal {

enum class HidReportType { kInput = 0, kOutput = 1, kFeature = 2 };

// One top-level collection of a descriptor.
struct HidTopCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  // Longest report of each type in bytes, with the leading report ID byte
  // counted whether or not the descriptor numbers its reports (the system
  // always passes that byte); 0 when the collection has no report of the type.
  ReportLengths lengths;
  // Report IDs used by each report type, ascending; empty when the
  // descriptor does not number its reports.
  std::vector<std::uint8_t> reportIds[3];

  const std::vector<std::uint8_t>& Ids(HidReportType type) const {
    return reportIds[static_cast<int>(type)];
  }
};

struct HidReportDescriptor {
  bool numberedReports = false;  // a Report ID item occurs anywhere
  std::vector<HidTopCollection> collections;
};

// Parses `size` bytes. A malformed descriptor (truncated item, unbalanced
// collections, Push/Pop misuse, report ID 0, reports longer than a system can
// describe) gives nothing, with the reason in `error` when given. Never reads
// outside the bytes passed.
std::optional<HidReportDescriptor> ParseReportDescriptor(const std::uint8_t* data, std::size_t size,
                                                         std::string* error = nullptr);

inline std::optional<HidReportDescriptor> ParseReportDescriptor(
    const std::vector<std::uint8_t>& bytes, std::string* error = nullptr) {
  return ParseReportDescriptor(bytes.data(), bytes.size(), error);
}

}  // namespace vortal
