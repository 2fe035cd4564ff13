#include "files/profile_file.h"

#include <algorithm>
#include <utility>

#include "files/text_encoding.h"
#include "files/file_io.h"

namespace vortal {

namespace {

constexpr char16_t kNewLine[] = u"\r\n";

std::u16string_view Trim(std::u16string_view s) { return TrimProfileBlanks(s); }

// A value read by a C caller ends at its first zero character.
std::u16string_view CutAtZero(std::u16string_view s) {
  const auto zero = s.find(u'\0');
  return zero == std::u16string_view::npos ? s : s.substr(0, zero);
}

enum class LineKind { kBlank, kComment, kHeader, kEntry, kText };

// One physical line: text in [start, end), its terminator (CRLF, CR or LF, or
// none at the end of the file) up to `next`.
struct Line {
  std::size_t start = 0;
  std::size_t end = 0;
  std::size_t next = 0;
  LineKind kind = LineKind::kBlank;
  std::u16string_view name;   // header or key name, trimmed
  std::u16string_view value;  // raw value, trimmed, quotes kept
};

// Walks the lines of a text without building a table of them, so a file of
// millions of lines costs no memory beyond its text.
class LineReader {
 public:
  explicit LineReader(std::u16string_view text) : text_(text) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line = Line{};
    line.start = pos_;
    while (pos_ < text_.size() && text_[pos_] != u'\r' && text_[pos_] != u'\n') ++pos_;
    line.end = pos_;
    if (pos_ < text_.size()) {
      pos_ += (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ? 2 : 1;
    }
    line.next = pos_;
    const std::u16string_view content = Trim(text_.substr(line.start, line.end - line.start));
    if (content.empty()) {
      line.kind = LineKind::kBlank;
    } else if (content.front() == u';') {
      line.kind = LineKind::kComment;
    } else if (content.front() == u'[') {
      line.kind = LineKind::kHeader;
      std::u16string_view name = content.substr(1);
      const auto close = name.find(u']');
      if (close != std::u16string_view::npos) name = name.substr(0, close);
      line.name = Trim(name);
    } else if (const auto eq = content.find(u'='); eq != std::u16string_view::npos) {
      line.kind = LineKind::kEntry;
      line.name = Trim(content.substr(0, eq));
      line.value = Trim(content.substr(eq + 1));
    } else {
      line.kind = LineKind::kText;
    }
    return true;
  }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

// Calls `visit(line)` for each line of the first section named `section`
// after its header; stops at the section's end or when visit returns false.
// Returns the header line, or nothing when there is no such section.
template <typename Visit>
std::optional<Line> ForEachInSection(std::u16string_view text, std::u16string_view section,
                                     Visit visit) {
  LineReader reader(text);
  Line line;
  std::optional<Line> header;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kHeader) {
      if (header) break;
      if (EqualsIgnoreCase(line.name, section)) header = line;
      continue;
    }
    if (header && !visit(line)) break;
  }
  return header;
}

// Where a write goes: the section's header, its end (the start of the next
// header, or the end of the text), the key's line and the section's last
// entry line.
struct Location {
  std::optional<Line> header;
  std::size_t sectionEnd = 0;
  std::optional<Line> key;
  std::optional<Line> lastEntry;
};

Location Locate(std::u16string_view text, std::u16string_view section,
                std::optional<std::u16string_view> key) {
  Location at;
  at.sectionEnd = text.size();
  LineReader reader(text);
  Line line;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kHeader) {
      if (at.header) {
        at.sectionEnd = line.start;
        break;
      }
      if (EqualsIgnoreCase(line.name, section)) at.header = line;
      continue;
    }
    if (!at.header) continue;
    if (line.kind == LineKind::kEntry || line.kind == LineKind::kText) at.lastEntry = line;
    if (line.kind == LineKind::kEntry && key && !at.key && EqualsIgnoreCase(line.name, *key)) {
      at.key = line;
    }
  }
  return at;
}

bool IsQuoted(std::u16string_view value) {
  return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
         value.back() == value.front();
}

std::u16string_view Unquote(std::u16string_view value) {
  return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

enum class ListKind { kSections, kKeys };

// The list form of the profile functions: names separated by one zero, the
// list ended by two. When the names and the final zero leave no spare
// character, the last name that does not fit is cut, the list still ends with
// two zeros and the result is size - 2. Section lists leave out empty names;
// key lists keep them (a key may have an empty name) and stop without a cut
// name when only two characters are left.
std::size_t FillList(const std::vector<std::u16string>& names, std::u16string& buffer,
                     ListKind kind) {
  const std::size_t size = buffer.size();
  if (size == 0) return 0;
  if (size == 1) {
    buffer[0] = u'\0';
    return 0;
  }
  std::size_t pos = 0;
  std::size_t room = size - 1;
  for (const auto& full : names) {
    const std::u16string_view name = CutAtZero(full);
    if (name.empty() && kind == ListKind::kSections) continue;
    if (room == 1 && kind == ListKind::kKeys) {
      buffer[pos] = u'\0';
      return size - 2;
    }
    const std::size_t need = name.size() + 1;
    if (need >= room) {
      std::copy_n(name.begin(), room - 1, buffer.begin() + static_cast<std::ptrdiff_t>(pos));
      pos += room - 1;
      buffer[pos++] = u'\0';
      buffer[pos] = u'\0';
      return size - 2;
    }
    std::copy(name.begin(), name.end(), buffer.begin() + static_cast<std::ptrdiff_t>(pos));
    pos += name.size();
    buffer[pos++] = u'\0';
    room -= need;
  }
  buffer[pos] = u'\0';
  return pos;
}

// Copies a value as the profile functions do: at most size - 1 characters
// and a terminator; returns the characters copied. A quoted value is copied
// with its closing quote, which then becomes a second terminator.
std::size_t FillValue(std::u16string_view value, std::u16string& buffer, bool stripQuotes) {
  if (buffer.empty()) return 0;
  value = CutAtZero(value);
  const bool quoted = stripQuotes && IsQuoted(value);
  if (quoted) value = value.substr(1, value.size() - 2);
  const std::size_t n = std::min(value.size(), buffer.size() - 1);
  std::copy_n(value.begin(), n, buffer.begin());
  buffer[n] = u'\0';
  if (quoted && n == value.size() && n + 1 < buffer.size()) buffer[n + 1] = u'\0';
  return n;
}

bool HasLineBreakOrZero(std::u16string_view s) {
  return s.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

// What a write refuses because it could not be read back as written: line
// breaks split lines, a ']' ends a section name early, a '=' ends a key, and a
// key starting with '[' or ';' would read as a header or a comment.
bool StorableSection(std::u16string_view name) {
  return !HasLineBreakOrZero(name) && name.find(u']') == std::u16string_view::npos;
}

bool StorableKey(std::u16string_view key) {
  return !HasLineBreakOrZero(key) && key.find(u'=') == std::u16string_view::npos &&
         (key.empty() || (key.front() != u'[' && key.front() != u';'));
}

bool StorableValue(std::u16string_view value) { return !HasLineBreakOrZero(value); }

std::vector<std::uint8_t> EncodeAs(ProfileEncoding encoding, std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  switch (encoding) {
    case ProfileEncoding::kUtf16Le:
      bytes.reserve(2 + text.size() * 2);
      bytes.push_back(0xFF);
      bytes.push_back(0xFE);
      for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
      }
      break;
    case ProfileEncoding::kUtf8WithBom:
    case ProfileEncoding::kUtf8: {
      if (encoding == ProfileEncoding::kUtf8WithBom) bytes = {0xEF, 0xBB, 0xBF};
      const std::string utf8 = Utf16ToUtf8(text);
      bytes.insert(bytes.end(), utf8.begin(), utf8.end());
      break;
    }
    case ProfileEncoding::kAnsi: {
      const auto ansi = CurrentAnsiCodePage().encode(text);
      if (ansi) bytes.assign(ansi->begin(), ansi->end());
      break;
    }
  }
  return bytes;
}

}  // namespace

std::u16string_view TrimProfileBlanks(std::u16string_view text) {
  auto blank = [](char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string DecodeProfileText(const std::vector<std::uint8_t>& bytes,
                                 ProfileEncoding* encoding) {
  ProfileEncoding found = ProfileEncoding::kAnsi;
  std::u16string text;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    found = ProfileEncoding::kUtf16Le;
    // A dangling odd byte at the end is no character and is dropped.
    text.reserve((bytes.size() - 2) / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
  } else {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (IsValidUtf8(raw)) {
      const bool bom = raw.size() >= 3 && raw.substr(0, 3) == "\xEF\xBB\xBF";
      const bool ascii = std::all_of(raw.begin(), raw.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      found = bom ? ProfileEncoding::kUtf8WithBom
                  : (ascii ? ProfileEncoding::kAnsi : ProfileEncoding::kUtf8);
      text = Utf8ToUtf16(bom ? raw.substr(3) : raw);
    } else {
      text = CurrentAnsiCodePage().decode(raw);
    }
  }
  if (encoding) *encoding = found;
  return text;
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
  if (!PathExists(path_)) return;
  exists_ = true;
  auto bytes = ReadFileBytes(path_);
  if (!bytes || bytes->size() > kMaxProfileFileBytes) {
    readable_ = false;
    return;
  }
  text_ = DecodeProfileText(*bytes, &encoding_);
}

std::optional<std::u16string> ProfileFile::FindRaw(std::u16string_view section,
                                                   std::u16string_view key) const {
  section = Trim(section);
  key = Trim(key);
  std::optional<std::u16string> found;
  ForEachInSection(text_, section, [&](const Line& line) {
    if (line.kind != LineKind::kEntry || !EqualsIgnoreCase(line.name, key)) return true;
    found = std::u16string(line.value);
    return false;
  });
  return found;
}

std::optional<std::u16string> ProfileFile::Find(std::u16string_view section,
                                                std::u16string_view key) const {
  auto raw = FindRaw(section, key);
  if (raw) *raw = std::u16string(Unquote(CutAtZero(*raw)));
  return raw;
}

bool ProfileFile::HasSection(std::u16string_view section) const {
  return ForEachInSection(text_, Trim(section), [](const Line&) { return false; }).has_value();
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
  auto value = Find(std::u16string_view(Utf8ToUtf16(section)), std::u16string_view(Utf8ToUtf16(key)));
  if (!value) return std::nullopt;
  return Utf16ToUtf8(*value);
}

std::vector<std::u16string> ProfileFile::SectionNames() const {
  std::vector<std::u16string> names;
  LineReader reader(text_);
  Line line;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kHeader && !line.name.empty()) names.emplace_back(line.name);
  }
  return names;
}

std::vector<std::u16string> ProfileFile::KeyNames(std::u16string_view section) const {
  std::vector<std::u16string> names;
  ForEachInSection(text_, Trim(section), [&](const Line& line) {
    if (line.kind == LineKind::kEntry) names.emplace_back(line.name);
    return true;
  });
  return names;
}

std::vector<ProfileFile::Entry> ProfileFile::Entries(std::u16string_view section) const {
  std::vector<Entry> entries;
  ForEachInSection(text_, Trim(section), [&](const Line& line) {
    if (line.kind == LineKind::kEntry) {
      entries.push_back(
          {std::u16string(line.name), std::u16string(Unquote(CutAtZero(line.value)))});
    }
    return true;
  });
  return entries;
}

bool ProfileFile::Write(std::u16string_view section, std::optional<std::u16string_view> key,
                        std::optional<std::u16string_view> value) {
  if (!readable_) return false;
  // Names are trimmed as the reader trims them; the value is kept verbatim.
  section = Trim(section);
  if (key) key = Trim(*key);
  if (!StorableSection(section) || (key && !StorableKey(*key))) return false;
  if (key && value && !StorableValue(*value)) return false;

  const Location at = Locate(text_, section, key);
  if (!key) {
    if (!at.header) return true;
    text_.erase(at.header->start, at.sectionEnd - at.header->start);
    dirty_ = true;
    return true;
  }
  if (!value) {
    if (!at.key) return true;
    text_.erase(at.key->start, at.key->next - at.key->start);
    dirty_ = true;
    return true;
  }
  if (!at.header) {
    std::u16string added;
    if (!text_.empty() && text_.back() != u'\r' && text_.back() != u'\n') added += kNewLine;
    added.append(u"[").append(section).append(u"]").append(kNewLine);
    added.append(*key).append(u"=").append(*value).append(kNewLine);
    text_ += added;
    dirty_ = true;
    return true;
  }
  if (at.key) {
    // The key keeps the file's spelling of its name.
    std::u16string lineText(at.key->name);
    lineText.append(u"=").append(*value);
    if (std::u16string_view(text_).substr(at.key->start, at.key->end - at.key->start) == lineText) {
      return true;
    }
    text_.replace(at.key->start, at.key->end - at.key->start, lineText);
    dirty_ = true;
    return true;
  }
  const Line& after = at.lastEntry ? *at.lastEntry : *at.header;
  std::u16string lineText;
  if (after.next == after.end) lineText += kNewLine;  // the file's last line had no line break
  lineText.append(*key).append(u"=").append(*value);
  if (after.next != after.end) lineText += kNewLine;
  text_.insert(after.next, lineText);
  dirty_ = true;
  return true;
}

bool ProfileFile::Write(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value) {
  const std::u16string wideSection = Utf8ToUtf16(section);
  std::optional<std::u16string> wideKey;
  std::optional<std::u16string> wideValue;
  if (key) wideKey = Utf8ToUtf16(*key);
  if (value) wideValue = Utf8ToUtf16(*value);
  return Write(std::u16string_view(wideSection),
               wideKey ? std::optional<std::u16string_view>(*wideKey) : std::nullopt,
               wideValue ? std::optional<std::u16string_view>(*wideValue) : std::nullopt);
}

bool ProfileFile::ReplaceSection(std::string_view section,
                                 const std::vector<std::pair<std::string, std::string>>& entries) {
  if (!readable_) return false;
  const std::u16string name(Trim(Utf8ToUtf16(section)));
  if (!StorableSection(name)) return false;
  std::vector<std::pair<std::u16string, std::u16string>> wide;
  std::vector<std::u16string> folded;
  for (const auto& [key, value] : entries) {
    wide.emplace_back(Trim(Utf8ToUtf16(key)), Utf8ToUtf16(value));
    if (!StorableKey(wide.back().first) || !StorableValue(wide.back().second)) return false;
    folded.push_back(wide.back().first);
    for (char16_t& c : folded.back()) c = FoldCase(c);
  }
  std::sort(folded.begin(), folded.end());
  const bool uniqueKeys = std::adjacent_find(folded.begin(), folded.end()) == folded.end();

  ProfileFile edited = *this;
  edited.Write(name, std::nullopt, std::nullopt);
  if (!uniqueKeys || edited.HasSection(name)) {
    // A duplicate section or key: the writes must find them one by one.
    for (const auto& [key, value] : wide) edited.Write(name, key, std::u16string_view(value));
  } else if (!wide.empty()) {
    // The section is gone, so each write would append to the new section at
    // the end of the file: build that section at once.
    std::u16string& text = edited.text_;
    if (!text.empty() && text.back() != u'\r' && text.back() != u'\n') text += kNewLine;
    text.append(u"[").append(name).append(u"]").append(kNewLine);
    for (const auto& [key, value] : wide) text.append(key).append(u"=").append(value).append(kNewLine);
    edited.dirty_ = true;
  }
  *this = std::move(edited);
  return true;
}

void ProfileFile::Clear(ProfileEncoding encoding) {
  if (!readable_) return;
  text_.clear();
  encoding_ = encoding;
  written_ = true;
  dirty_ = true;
}

std::vector<std::uint8_t> ProfileFile::Serialize() const {
  ProfileEncoding target = exists_ || written_ ? encoding_ : ProfileEncoding::kUtf16Le;
  if (target != ProfileEncoding::kUtf16Le) {
    // Keep the file's encoding only if the new text reads back exactly.
    std::vector<std::uint8_t> bytes = EncodeAs(target, text_);
    if ((!bytes.empty() || text_.empty()) && DecodeProfileText(bytes) == text_) return bytes;
  }
  return EncodeAs(ProfileEncoding::kUtf16Le, text_);
}

bool ProfileFile::Save() {
  if (!readable_) return false;
  if (!dirty_) return true;
  const std::vector<std::uint8_t> bytes = Serialize();
  if (WriteFileAtomically(path_, bytes) != 0) return false;
  DecodeProfileText(bytes, &encoding_);
  exists_ = true;
  dirty_ = false;
  return true;
}

std::size_t ProfileFile::GetSectionNames(std::u16string& buffer) const {
  return FillList(SectionNames(), buffer, ListKind::kSections);
}

std::size_t ProfileGetSectionNamesW(const std::string& path, std::u16string& buffer) {
  return ProfileFile(path).GetSectionNames(buffer);
}

std::size_t ProfileGetStringW(const std::string& path, std::optional<std::u16string_view> section,
                              std::optional<std::u16string_view> key,
                              std::optional<std::u16string_view> defaultValue,
                              std::u16string& buffer) {
  const ProfileFile file(path);
  if (!section) return FillList(file.SectionNames(), buffer, ListKind::kSections);
  std::u16string_view fallback = defaultValue.value_or(u"");
  while (!fallback.empty() && fallback.back() == u' ') fallback.remove_suffix(1);
  if (!key) {
    if (buffer.empty()) return 0;
    if (buffer.size() >= 2 && !file.HasSection(*section)) buffer[1] = u'\0';
    const std::size_t n = FillList(file.KeyNames(*section), buffer, ListKind::kKeys);
    // A section without keys (or a missing one) gives the default instead.
    if (buffer[0] == u'\0') return FillValue(fallback, buffer, true);
    return n;
  }
  if (auto value = file.FindRaw(*section, *key)) return FillValue(*value, buffer, true);
  // The default is copied the way a value is, outer quotes included.
  return FillValue(fallback, buffer, true);
}

std::u16string ProfileSectionNamesBuffer(const std::string& path, std::size_t bufferChars) {
  std::u16string buffer(bufferChars, u'\0');
  ProfileGetSectionNamesW(path, buffer);
  return buffer;
}

std::vector<std::string> ProfileSectionNames(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& name : ProfileFile(path).SectionNames()) names.push_back(Utf16ToUtf8(name));
  return names;
}

std::string ProfileGetString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t bufferChars) {
  const std::u16string wideSection = Utf8ToUtf16(section);
  const std::u16string wideKey = Utf8ToUtf16(key);
  const std::u16string wideDefault = Utf8ToUtf16(defaultValue);
  std::u16string buffer(bufferChars, u'\0');
  const std::size_t n = ProfileGetStringW(path, std::u16string_view(wideSection),
                                          std::u16string_view(wideKey),
                                          std::u16string_view(wideDefault), buffer);
  return Utf16ToUtf8(std::u16string_view(buffer).substr(0, n));
}

bool ProfileWriteString(const std::string& path, std::string_view section,
                        std::optional<std::string_view> key,
                        std::optional<std::string_view> value) {
  ProfileFile file(path);
  return file.Write(section, key, value) && file.Save();
}

}  // namespace vortal
