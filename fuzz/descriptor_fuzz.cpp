// The HID report descriptor parser on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/hid_report_descriptor.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vortal::fuzz::Check;
  std::string error;
  const auto parsed = vortal::ParseReportDescriptor(data, size, &error);
  if (!parsed) {
    Check(!error.empty(), "a refused descriptor says why");
    return 0;
  }
  for (const auto& collection : parsed->collections) {
    for (int type = 0; type < 3; ++type) {
      const auto& ids = collection.reportIds[type];
      for (std::size_t i = 1; i < ids.size(); ++i) Check(ids[i - 1] < ids[i], "report IDs ascend");
      for (auto id : ids) Check(id != 0, "report ID 0 is refused");
      if (!parsed->numberedReports) Check(ids.empty(), "unnumbered reports list no IDs");
    }
  }
  return 0;
}
