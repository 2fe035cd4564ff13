// config.bin on arbitrary bytes: LoadSettings, the typed setup (decoding and
// encoding give the same record), then what Apply and `vortalctl show` do
// with the record (key matrices, the readable report).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/key_matrix.h"
#include "fuzz_support.h"
#include "settings/settings_file.h"
#include "setup/setup.h"
#include "tools/settings_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vortal::fuzz::Check;
  // Files of any other size are ignored, so the input is cut or padded to
  // 2022 bytes; bytes beyond them choose the sensor type and macro names.
  std::vector<std::uint8_t> file(data, data + std::min(size, vortal::kSettingsFileSize));
  file.resize(vortal::kSettingsFileSize, 0);
  const std::string path = vortal::fuzz::TempFile("config.bin");
  vortal::fuzz::WriteBytes(path, file.data(), file.size());

  vortal::SettingsState state;
  Check(vortal::LoadSettings(path, state) == vortal::LoadResult::kLoaded,
        "a 2022-byte file loads");
  Check(std::memcmp(&state.working, file.data() + 1, vortal::kSettingsRecordSize) == 0,
        "the record is the file's bytes after the flag");
  const vortal::SettingsRecord encoded = vortal::EncodeSetup(vortal::DecodeSetup(state.working));
  Check(std::memcmp(&encoded, &state.working, vortal::kSettingsRecordSize) == 0,
        "decoding and encoding the typed setup gives the same record");

  vortal::KeyMatrix matrix1{}, matrix3{};
  vortal::BuildKeyMatrices(state.working, matrix1, matrix3);

  vortal::ReportContext context;
  std::size_t at = vortal::kSettingsFileSize;
  if (at < size) context.sensorType = data[at++];
  while (at < size && context.macroNames.size() < 14) {
    const std::size_t n = std::min<std::size_t>(data[at++] % 40, size - at);
    context.macroNames.emplace_back(reinterpret_cast<const char*>(data) + at, n);
    at += n;
  }
  for (int mode = 0; mode < 2; ++mode) {
    for (int button = 0; button < 8; ++button) vortal::DescribeButton(state.working, mode, button);
  }
  for (const auto& slot : state.working.macroSlots) {
    const auto decoded = vortal::DecodeMacroSlot(slot);
    Check(decoded.events.size() <= vortal::kMacroSlotSize / 2, "a slot holds at most 63 events");
    vortal::DescribeSlotEvents(decoded);
  }
  const std::string report = vortal::DescribeSettings(state, context);
  Check(!report.empty(), "the report says something");
  return 0;
}
