// The profile (INI) reader and writer on arbitrary file bytes, followed by a
// sequence of the program's own reads and writes decided by the input's tail:
// section lists, values into buffers of various sizes, key writes, key and
// section deletes. A value that was written must read back; what the file
// object would save must read back as the same sections.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "files/profile_file.h"

namespace {

using vortal::fuzz::Check;

bool IsBlank(char c) {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A || c == ' ';
}

// Strict UTF-8 (no surrogates, no overlong forms): only such text is expected
// to come back byte for byte.
bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra;
    std::uint32_t cp;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else return false;
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::size_t Utf16Length(const std::string& s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) != 0x80) n += (c >= 0xF0) ? 2 : 1;
  }
  return n;
}

// Text the reader gives back exactly as written: valid UTF-8, no NUL, no
// blanks at either end, no outer pair of quotes, short enough for the buffer.
bool ReadsBackVerbatim(const std::string& s, std::size_t bufferChars) {
  if (!IsValidUtf8(s) || s.find('\0') != std::string::npos) return false;
  if (!s.empty() && (IsBlank(s.front()) || IsBlank(s.back()))) return false;
  if (s.size() >= 2 && s.front() == s.back() && (s.front() == '"' || s.front() == '\'')) return false;
  return Utf16Length(s) < bufferChars;
}

bool IsPlainName(const std::string& s) {
  return !s.empty() && ReadsBackVerbatim(s, 1024);
}

std::string Name(FuzzedDataProvider& in) {
  // Mostly a few known names, so that writes meet existing sections and keys.
  static const char* const kNames[] = {"Skins", "Setting-EN", "Path", "Item1", "ItemCount", "a", "A"};
  if (in.ConsumeBool()) return kNames[in.ConsumeIntegralInRange<std::size_t>(0, 6)];
  return in.ConsumeRandomLengthString(40);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The last byte says how many bytes at the end drive the operations; the
  // rest is the file.
  const std::size_t opBytes = size == 0 ? 0 : std::min<std::size_t>(size, 1 + data[size - 1] * 2u);
  const std::string path = vortal::fuzz::TempFile("profile.ini");
  vortal::fuzz::WriteBytes(path, data, size - opBytes);
  FuzzedDataProvider in(data + (size - opBytes), opBytes);

  for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0: {
        std::u16string buffer(in.ConsumeIntegralInRange<std::size_t>(0, 300), u'\x7f');
        const std::size_t n = vortal::ProfileGetSectionNamesW(path, buffer);
        Check(buffer.empty() ? n == 0 : n < buffer.size(), "section list fits its buffer");
        vortal::ProfileSectionNames(path);
        break;
      }
      case 1: {
        const std::size_t chars = in.ConsumeIntegralInRange<std::size_t>(0, 2048);
        std::u16string buffer(chars, u'\x7f');
        std::optional<std::u16string> section, key;
        if (in.ConsumeBool()) section = u"Skins";
        if (in.ConsumeBool()) key = u"Path";
        const std::size_t n = vortal::ProfileGetStringW(path, section, key, u"def", buffer);
        Check(chars == 0 ? n == 0 : n < chars, "value fits its buffer");
        break;
      }
      case 2: {
        const std::string section = Name(in), key = Name(in);
        const std::size_t chars = in.ConsumeIntegralInRange<std::size_t>(1, 1100);
        const std::string value = vortal::ProfileGetString(path, section, key, "", chars);
        Check(Utf16Length(value) < chars, "value cut to the buffer");
        break;
      }
      case 3: {
        const std::string section = Name(in), key = Name(in);
        const std::string value = in.ConsumeRandomLengthString(1200);
        if (!vortal::ProfileWriteString(path, section, key, value)) break;
        if (IsPlainName(section) && IsPlainName(key) && ReadsBackVerbatim(value, 1024)) {
          Check(vortal::ProfileGetString(path, section, key, "\x01", 1024) == value,
                "a written value reads back");
        }
        break;
      }
      case 4: {
        const std::string section = Name(in), key = Name(in);
        vortal::ProfileWriteString(path, section, key, std::nullopt);
        break;
      }
      case 5: {
        vortal::ProfileWriteString(path, Name(in), std::nullopt, std::nullopt);
        break;
      }
      case 6: {
        // Edits in memory, then what Save would write must read back as the
        // same sections and values.
        vortal::ProfileFile file(path);
        const std::string section = Name(in), key = Name(in);
        file.Write(section, key, in.ConsumeRandomLengthString(100));
        const auto bytes = file.Serialize();
        const std::string copy = vortal::fuzz::TempFile("profile-copy.ini");
        vortal::fuzz::WriteBytes(copy, bytes.data(), bytes.size());
        vortal::ProfileFile reread(copy);
        Check(reread.SectionNames() == file.SectionNames(), "saved text keeps its sections");
        for (const auto& name : file.SectionNames()) {
          const auto a = file.Entries(name), b = reread.Entries(name);
          Check(a.size() == b.size(), "saved text keeps its keys");
          for (std::size_t i = 0; i < a.size(); ++i) {
            Check(a[i].key == b[i].key && a[i].value == b[i].value, "saved text keeps its values");
          }
        }
        break;
      }
    }
  }
  return 0;
}
