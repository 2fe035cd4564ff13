// Character encodings of the program's text files: UTF-8 (the core's text),
// UTF-16 (what the Windows profile functions count and store), and the ANSI
// code page that Windows uses for files without a byte-order mark.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vortal {

// UTF-8 to UTF-16. Invalid or truncated sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF, no truncated sequence).
bool IsValidUtf8(std::string_view bytes);

// The ANSI code page used for profile files that are neither UTF-16LE nor
// valid UTF-8. `encode` returns nothing when some character has no exact
// byte form in the code page. The default is Windows-1252; the Windows build
// can install the system's code page at start-up (before any file is read).
struct AnsiCodePage {
  std::function<std::u16string(std::string_view bytes)> decode;
  std::function<std::optional<std::string>(std::u16string_view text)> encode;
};

void SetAnsiCodePage(AnsiCodePage codePage);
const AnsiCodePage& CurrentAnsiCodePage();

std::u16string DecodeWindows1252(std::string_view bytes);
std::optional<std::string> EncodeWindows1252(std::u16string_view text);

// Simple case folding for case-insensitive names (ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic, full-width Latin): enough for the names of
// sections, keys and macros to compare the way the user expects.
char16_t FoldCase(char16_t c);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace vortal
