// record.ini on arbitrary bytes: the macro lists, each macro's lines and the
// encoding of every macro into the mouse's slots. Encoding writes only the
// event bytes of slots 0 .. slotsWritten-1 and never more than twelve slots:
// every other byte of the record stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "files/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vortal::fuzz::Check;
  const std::string path = vortal::fuzz::TempFile("record.ini");
  vortal::fuzz::WriteBytes(path, data, size);

  const vortal::ProfileFile file(path);
  const auto names = vortal::ListMacroNames(path);
  for (const auto& name : names) {
    Check(!name.empty(), "no macro has an empty name");
    const auto lines = vortal::ReadMacro(file, name);
    Check(lines.size() <= static_cast<std::size_t>(vortal::kMaxMacroLines), "line count capped");
    std::uint8_t slot[vortal::kMacroSlotSize];
    std::memset(slot, 0xA5, sizeof slot);
    vortal::EncodeMacroSlot(lines, slot);
    if (lines.empty()) {
      for (auto b : slot) Check(b == 0, "an empty macro clears its slot");
    } else {
      Check(slot[0] == 0xA5 && slot[1] == 0xA5, "the loop count is kept");
    }
  }
  Check(vortal::ListMacroNames(file) == names, "both list functions agree");

  // A record whose every byte is known, so any stray write shows.
  vortal::SettingsRecord record;
  auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
  for (std::size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const vortal::SettingsRecord before = record;
  const auto* old = reinterpret_cast<const std::uint8_t*>(&before);

  const auto result = vortal::EncodeMacros(path, record);
  Check(result.slotsWritten >= 0 && result.slotsWritten <= vortal::kMacroSlots,
        "at most twelve slots are written");
  Check(result.slotsWritten == static_cast<int>(std::min<std::size_t>(names.size(), 12)),
        "one slot per listed macro");
  const std::size_t slotsStart = offsetof(vortal::SettingsRecord, macroSlots);
  const std::size_t slotsEnd = slotsStart + sizeof record.macroSlots;
  for (std::size_t i = 0; i < sizeof record; ++i) {
    if (i >= slotsStart && i < slotsEnd) continue;
    Check(bytes[i] == old[i], "no byte outside the macro slots changes");
  }
  for (int s = result.slotsWritten; s < vortal::kMacroSlots; ++s) {
    Check(std::memcmp(record.macroSlots[s], before.macroSlots[s], vortal::kMacroSlotSize) == 0,
          "slots after the last macro are untouched");
  }
  return 0;
}
