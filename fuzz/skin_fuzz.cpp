// str.ini on arbitrary bytes: the skin settings read at start-up, their
// conversion, and saving the pane texts back (which must then read back).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "settings/skin_settings.h"

namespace {

std::size_t Utf16Length(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) n += (c >= 0xF0) ? 2 : 1;
  }
  return n;
}

bool HasOuterQuotes(const std::string& s) {
  return s.size() >= 2 && s.front() == s.back() && (s.front() == '"' || s.front() == '\'');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vortal::fuzz::Check;
  const std::string path = vortal::fuzz::TempFile("str.ini");
  vortal::fuzz::WriteBytes(path, data, size);

  static const char* const kSections[] = {"Setting-EN", "Setting-CHS", "Setting-CHT"};
  for (const char* section : kSections) {
    const auto values = vortal::LoadSkinSettings(path, section);
    for (const auto& mode : values.paneText) {
      for (const auto& text : mode) {
        Check(Utf16Length(text) < vortal::kSkinValueBufferChars, "pane text cut to the buffer");
      }
    }
    const auto state = vortal::SkinStateAtStartup(values, "/opt/vortal/");
    Check(state.skinFolderPath.rfind("/opt/vortal//Skins/", 0) == 0 ||
              state.skinFolderPath.rfind("/opt/vortal/Skins/", 0) == 0,
          "the skin folder is under the program's Skins folder");
    vortal::ColorByteFromText(values.red);

    // Texts as loaded go back unchanged, unless quoting would strip them.
    bool quoted = false;
    for (const auto& mode : values.paneText) {
      for (const auto& text : mode) quoted = quoted || HasOuterQuotes(text);
    }
    if (vortal::SavePaneTexts(path, section, values.paneText) && !quoted) {
      Check(vortal::LoadSkinSettings(path, section).paneText == values.paneText,
            "saved pane texts read back");
    }
  }
  return 0;
}
