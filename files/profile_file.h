// Profile (INI) files with the observable behaviour of the Windows profile
// functions (GetPrivateProfileSectionNamesW, GetPrivateProfileStringW,
// WritePrivateProfileStringW), on every platform. Text is UTF-8; buffer sizes
// count UTF-16 characters, as the Windows functions do.
//
// Reading. A file that starts with FF FE is UTF-16LE; a file that is valid
// UTF-8 (with or without EF BB BF) is UTF-8; anything else is in the ANSI code
// page (text_encoding.h). Lines end at CR, LF or CRLF; blank lines are
// ignored; a line whose first non-blank character is ';' is a comment; a line
// starting with '[' is a header whose name ends at the first ']' (or at the
// end of the line); other lines split at their first '=' into key and value;
// lines before the first header belong to no section. Names, lines and values
// are trimmed of blanks (tab, LF, VT, FF, CR, 0x1A, space); names compare
// without regard to letter case; the first of duplicate sections and keys
// wins; a value whose first and last characters are the same quote (" or ')
// loses that pair.
//
// Writing edits the file in place: a new section goes to the end of the file,
// a new key after the last entry of its section, an existing key is rewritten
// on its own line with the file's spelling of its name, and every other line
// stays as it was. Every change replaces the whole file atomically: a write
// that fails leaves the old file as it was.
//
// Encoding on write. A new file is UTF-16LE with a byte-order mark, which the
// Windows functions read as Unicode, so any text survives. An existing file
// keeps its encoding as long as the new contents read back exactly in it
// (UTF-16LE and UTF-8 always do; an ANSI file does while every character has
// a byte in the code page and the bytes do not happen to form UTF-8). When
// they would not, the whole file is converted to UTF-16LE with a byte-order
// mark instead of losing characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vortal {

// Larger files are treated as unreadable: reads give defaults, writes fail and
// leave the file alone.
inline constexpr std::size_t kMaxProfileFileBytes = std::size_t{16} << 20;

enum class ProfileEncoding { kAnsi, kUtf8, kUtf8WithBom, kUtf16Le };

// One profile file held in memory: load once, query and edit many times, then
// save once. The free functions below are one load, one operation and (for
// writes) one save each.
class ProfileFile {
 public:
  // Loads the file. A missing file gives an empty profile; an unreadable or
  // too large one an empty profile that refuses to save.
  explicit ProfileFile(std::string path);

  bool exists() const { return exists_; }
  bool readable() const { return readable_; }
  ProfileEncoding encoding() const { return encoding_; }

  // The value of the first matching key of the first matching section, as a
  // caller of the Windows function sees it (cut at a zero character, outer
  // quotes removed), or nothing when the section or key is missing.
  std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // The same value as written in the file (trimmed, quotes kept).
  std::optional<std::u16string> FindRaw(std::u16string_view section, std::u16string_view key) const;
  bool HasSection(std::u16string_view section) const;

  // Names in file order, duplicates included (empty names left out: they
  // would end a zero-separated list early).
  std::vector<std::u16string> SectionNames() const;
  // GetPrivateProfileSectionNamesW of this file (see ProfileGetSectionNamesW).
  std::size_t GetSectionNames(std::u16string& buffer) const;
  // Keys of the first matching section, in file order, duplicates included.
  std::vector<std::u16string> KeyNames(std::u16string_view section) const;

  // Keys and unquoted values of the first matching section, in file order,
  // duplicates included: for callers that look up many keys of one section.
  struct Entry {
    std::u16string key;
    std::u16string value;
  };
  std::vector<Entry> Entries(std::u16string_view section) const;

  // The edits of WritePrivateProfileStringW on the text in memory. No key:
  // delete the section. No value: delete the key. Section and key are trimmed
  // of blanks; the value is written verbatim. Returns false, changing
  // nothing, for text that could not be read back as written: line breaks or
  // NUL anywhere, ']' in a section name, '=' in a key, a key starting with
  // '[' or ';'.
  bool Write(std::u16string_view section, std::optional<std::u16string_view> key,
             std::optional<std::u16string_view> value);
  bool Write(std::string_view section, std::optional<std::string_view> key,
             std::optional<std::string_view> value);

  // The same as deleting the section and then writing each entry in order
  // (so the section moves to the end of the file), in one pass over the text.
  // Returns false, changing nothing, when an entry could not be written.
  bool ReplaceSection(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& entries);

  // Drops the whole text, for a file written afresh; the next Save writes
  // in `encoding` (when the text reads back in it, as above). A readable
  // file only.
  void Clear(ProfileEncoding encoding);

  // Writes the file when it was changed since it was loaded or last saved.
  // Returns false when the file could not be written (it is then unchanged).
  bool Save();

  // The bytes Save would write, in the encoding it would choose.
  std::vector<std::uint8_t> Serialize() const;

 private:
  std::string path_;
  std::u16string text_;
  ProfileEncoding encoding_ = ProfileEncoding::kUtf16Le;
  bool exists_ = false;
  bool readable_ = true;
  bool dirty_ = false;
  bool written_ = false;  // Clear chose the encoding
};

// The text without the blanks the reader trims from names and values (tab,
// LF, VT, FF, CR, 0x1A, space) at either end.
std::u16string_view TrimProfileBlanks(std::u16string_view text);

// Decodes file bytes the way ProfileFile reads them.
std::u16string DecodeProfileText(const std::vector<std::uint8_t>& bytes,
                                 ProfileEncoding* encoding = nullptr);

// GetPrivateProfileSectionNamesW into `buffer` (its size is the buffer's
// character count): names separated by one zero, the list ended by two; on
// overflow the last name is cut and the result is size - 2. Characters after
// the list are left as they were.
std::size_t ProfileGetSectionNamesW(const std::string& path, std::u16string& buffer);

// GetPrivateProfileStringW into `buffer`. No section: the list of section
// names; no key: the list of the section's keys; otherwise the value or the
// default (no default means empty; trailing spaces of the default are
// dropped; like a value, it loses an outer pair of quotes). A key list that
// comes out empty gives the default too. Returns the characters copied without the terminator, size - 1
// when a value was cut, size - 2 when a list was cut.
std::size_t ProfileGetStringW(const std::string& path, std::optional<std::u16string_view> section,
                              std::optional<std::u16string_view> key,
                              std::optional<std::u16string_view> defaultValue,
                              std::u16string& buffer);

// What GetPrivateProfileSectionNamesW leaves in a zero-filled buffer of
// `bufferChars` characters: names separated by one zero, the list ended by two.
// The result has exactly `bufferChars` characters.
std::u16string ProfileSectionNamesBuffer(const std::string& path, std::size_t bufferChars);

// All section names in file order (duplicates included), not truncated.
std::vector<std::string> ProfileSectionNames(const std::string& path);

// GetPrivateProfileStringW with a section and a key: the value, or the default
// when the file, section or key is missing; cut to bufferChars - 1 characters.
std::string ProfileGetString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue = "",
                             std::size_t bufferChars = 1024);

// WritePrivateProfileStringW. No key: delete the whole section. No value:
// delete the key. Returns false when the file could not be written (it is then
// unchanged).
bool ProfileWriteString(const std::string& path, std::string_view section,
                        std::optional<std::string_view> key,
                        std::optional<std::string_view> value);

}  // namespace vortal
