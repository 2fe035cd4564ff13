// Profile files and typed setting values on arbitrary bytes: reading a
// profile either fails with a message or gives a setup that writes the same
// file again; a value either changes the setting or leaves everything as it
// was, and what `get` prints reads back as the same value.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "edit/profile.h"
#include "files/file_io.h"
#include "fuzz_support.h"
#include "settings/delivered_settings.h"
#include "setup/button_action.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vortal::fuzz::Check;
  const vortal::LocalizedTexts texts;
  // The delivered setup with the texts the window shows for it.
  static const vortal::WorkingSetup base = [&] {
    vortal::WorkingSetup setup{vortal::DeliveredSettings(), {}};
    vortal::SetDefaultPaneTexts(setup.panes, texts, vortal::kDeviceButtons);
    return setup;
  }();

  const std::string path = vortal::fuzz::TempFile("profile.ini");
  vortal::fuzz::WriteBytes(path, data, size);
  std::string error;
  if (const auto profile = vortal::ReadProfile(path, base, texts, 0, {}, error)) {
    const std::string again = vortal::fuzz::TempFile("again.ini");
    const std::string third = vortal::fuzz::TempFile("third.ini");
    Check(vortal::WriteProfile(again, *profile, texts), "a read profile can be written");
    const auto reread = vortal::ReadProfile(again, base, texts, 0, {}, error);
    Check(reread.has_value(), "a written profile reads back");
    Check(vortal::WriteProfile(third, *reread, texts), "and writes again");
    Check(vortal::ReadFileBytes(again) == vortal::ReadFileBytes(third), "the same file both times");
  } else {
    Check(!error.empty(), "a refused profile says why");
  }

  // The first line names a setting, the rest is its value.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = text.find('\n');
  const std::string name = text.substr(0, newline);
  const std::string value = newline == std::string::npos ? std::string() : text.substr(newline + 1);
  vortal::SettingContext context{texts, std::uint8_t{0}, {"Run", "Jump"}, false};
  vortal::WorkingSetup setup = base;
  const std::string problem = vortal::ChangeSetting(setup, name, vortal::SplitWords(value), context);
  if (!problem.empty()) {
    Check(std::memcmp(setup.record.bytes(), base.record.bytes(), vortal::kSettingsRecordSize) == 0,
          "a refused value changes nothing");
  } else {
    const std::string shown = vortal::SettingValue(setup.record, name, context);
    vortal::WorkingSetup again = setup;
    Check(vortal::ChangeSetting(again, name, vortal::SplitWords(shown), context).empty(),
          "what get prints is accepted");
    Check(vortal::SettingValue(again.record, name, context) == shown, "and gives the same value");
  }
  std::string macroError;
  if (const auto lines = vortal::ParseMacroEvents(value, macroError))
    Check(vortal::ParseMacroEvents(vortal::DescribeMacroLines(*lines), macroError) == lines,
          "macro events read back");
  return 0;
}
