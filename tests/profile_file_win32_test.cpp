// The profile-file reader and writer against the system's own profile
// functions: the same calls on copies of the same file must return the same
// results and buffers and, for files the system writes back unchanged in
// form, leave the same bytes. Hand-written scripts, then random ones.
//
// Left out on purpose, where Wine is known to differ from Windows (the
// README lists why Windows is taken to behave like ours):
// - text after a header's first ']';
// - lines whose first non-blank character is ';' (Wine finds them as keys);
// - UTF-8 files; letter case of non-ASCII names (Wine folds ASCII only);
// - written values with blanks at either end (Wine strips them);
// - blanks after the names of writes (Wine keeps them in a new header or
//   key), around the names of deletes and key lists (Wine does not trim
//   them there, so it finds nothing);
// - empty section names (Wine files lines before the first header under
//   the empty name and writes an empty-named header back as no header);
// - deleting a key while the file has two sections of one name (Wine
//   deletes it from a later one when the first lacks it);
// - an entry with an empty name after a blank line or after another such
//   entry (Wine drops it: it keeps blank lines as entries without a name);
// - a line without '=' that reads like a later key's name (Wine takes it
//   for that key, without a value);
// - a default of spaces only (Wine keeps one), trailing spaces of a key
//   list's default (Wine keeps them);
// - a quoted value or default that exactly fills the buffer once unquoted;
// - file bytes after edits of files that Wine writes back in its own layout
//   (blank lines, comments, " = "), and of files the system creates (ANSI
//   there, UTF-16LE here).
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "files/profile_file.h"
#include "files/text_encoding.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

namespace fs = std::filesystem;

using Text = std::optional<std::string>;  // nothing = a null argument
constexpr std::nullopt_t null = std::nullopt;

enum class Call { kSectionNames, kGetString, kWrite };

struct Op {
  Call call;
  Text section;
  Text key;
  Text value;  // the default of a read, the value of a write
  std::size_t size = 0;
};

Op Names(std::size_t size) { return {Call::kSectionNames, null, null, null, size}; }
Op Get(Text section, Text key, Text def, std::size_t size) {
  return {Call::kGetString, std::move(section), std::move(key), std::move(def), size};
}
Op Put(Text section, Text key, Text value) {
  return {Call::kWrite, std::move(section), std::move(key), std::move(value), 0};
}

constexpr const char* kMissing = "<missing>";
constexpr const char* kUnicodeEmpty = "\xFF\xFE";  // an empty file marked UTF-16LE

struct Script {
  const char* name;
  std::string fixture;  // "@file" from the data folder, kMissing, or the bytes
  std::vector<Op> ops;
  bool compareBytes;  // the system writes this file back unchanged in form
};

std::vector<std::uint8_t> FixtureBytes(const std::string& fixture) {
  if (!fixture.empty() && fixture[0] == '@') {
    return testing::ReadWholeBytes(std::string(VORTAL_TEST_DATA) + "/ini/" + fixture.substr(1));
  }
  return {fixture.begin(), fixture.end()};
}

std::wstring Wide(const std::string& utf8) {
  const std::u16string u16 = Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::optional<std::u16string> U16(const Text& text) {
  if (!text) return std::nullopt;
  return Utf8ToUtf16(*text);
}

// What one call returned, in a form both sides share.
struct Outcome {
  std::size_t result = 0;
  std::u16string buffer;
  bool operator==(const Outcome&) const = default;
};

constexpr char16_t kFill = u'#';

Outcome RunSystem(const fs::path& file, const Op& op) {
  const std::wstring path = file.wstring();
  Outcome out;
  std::wstring buffer(op.size, static_cast<wchar_t>(kFill));
  const std::wstring section = op.section ? Wide(*op.section) : L"";
  const std::wstring key = op.key ? Wide(*op.key) : L"";
  const std::wstring value = op.value ? Wide(*op.value) : L"";
  switch (op.call) {
    case Call::kSectionNames:
      out.result = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(op.size),
                                                  path.c_str());
      break;
    case Call::kGetString:
      out.result = GetPrivateProfileStringW(op.section ? section.c_str() : nullptr,
                                            op.key ? key.c_str() : nullptr,
                                            op.value ? value.c_str() : nullptr, buffer.data(),
                                            static_cast<DWORD>(op.size), path.c_str());
      break;
    case Call::kWrite:
      out.result = WritePrivateProfileStringW(op.section ? section.c_str() : nullptr,
                                              op.key ? key.c_str() : nullptr,
                                              op.value ? value.c_str() : nullptr, path.c_str())
                       ? 1
                       : 0;
      // Let a later read see the file, not a cached copy.
      WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
      break;
  }
  out.buffer.assign(buffer.begin(), buffer.end());
  return out;
}

Outcome RunOurs(const fs::path& file, const Op& op) {
  const std::string path = Utf16ToUtf8(file.u16string());
  Outcome out;
  out.buffer.assign(op.size, kFill);
  const auto section = U16(op.section);
  const auto key = U16(op.key);
  const auto value = U16(op.value);
  auto view = [](const std::optional<std::u16string>& s) {
    return s ? std::optional<std::u16string_view>(*s) : std::nullopt;
  };
  switch (op.call) {
    case Call::kSectionNames:
      out.result = ProfileGetSectionNamesW(path, out.buffer);
      break;
    case Call::kGetString:
      out.result = ProfileGetStringW(path, view(section), view(key), view(value), out.buffer);
      break;
    case Call::kWrite: {
      std::optional<std::string_view> k, v;
      if (op.key) k = *op.key;
      if (op.value) v = *op.value;
      out.result = ProfileWriteString(path, *op.section, k, v) ? 1 : 0;
      break;
    }
  }
  return out;
}

// Everything a reader can see in a file: its sections, and each section's
// keys and values.
std::vector<Outcome> ReadEverything(const fs::path& file, bool system) {
  auto run = [&](const Op& op) { return system ? RunSystem(file, op) : RunOurs(file, op); };
  std::vector<Outcome> seen;
  seen.push_back(run(Names(1024)));
  const std::u16string names = seen.back().buffer;
  for (std::size_t start = 0; start < names.size() && names[start] != u'\0';) {
    const std::size_t end = names.find(u'\0', start);
    const std::string section = Utf16ToUtf8(names.substr(start, end - start));
    seen.push_back(run(Get(section, null, null, 1024)));
    const std::u16string keys = seen.back().buffer;
    for (std::size_t k = 0; k < keys.size() && keys[k] != u'\0';) {
      const std::size_t kend = keys.find(u'\0', k);
      seen.push_back(run(Get(section, Utf16ToUtf8(keys.substr(k, kend - k)), "-", 1024)));
      k = kend + 1;
    }
    start = end + 1;
  }
  return seen;
}

// The buffer up to its last written character; the untouched rest is counted.
std::string Show(const std::u16string& s) {
  std::size_t used = s.size();
  while (used > 0 && s[used - 1] == kFill) --used;
  std::string out;
  for (char16_t c : s.substr(0, used)) {
    if (c == u'\0') {
      out += "\\0";
    } else if (c == kFill) {
      out += "#";
    } else {
      out += Utf16ToUtf8(std::u16string(1, c));
    }
  }
  if (used < s.size()) {
    out += '+';
    out += std::to_string(s.size() - used);
    out += '#';
  }
  return out;
}

// Bytes as a C string literal would spell them.
std::string Escape(const std::vector<std::uint8_t>& bytes) {
  std::string out = "\"";
  for (std::uint8_t b : bytes) {
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      out += static_cast<char>(b);
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out + "\"";
}

std::string Describe(const Script& script) {
  auto arg = [](const Text& text) {
    if (!text) return std::string("null");
    return Escape(std::vector<std::uint8_t>(text->begin(), text->end()));
  };
  std::string out = "file " + (script.fixture == kMissing
                                   ? std::string(kMissing)
                                   : Escape(FixtureBytes(script.fixture))) + "\n";
  for (const Op& op : script.ops) {
    if (op.call == Call::kSectionNames) out += "Names(" + std::to_string(op.size) + ")\n";
    if (op.call == Call::kGetString) {
      out += "Get(" + arg(op.section) + ", " + arg(op.key) + ", " + arg(op.value) + ", " +
             std::to_string(op.size) + ")\n";
    }
    if (op.call == Call::kWrite) {
      out += "Put(" + arg(op.section) + ", " + arg(op.key) + ", " + arg(op.value) + ")\n";
    }
  }
  return out;
}

const std::string kCanonical = "[one]\r\na=1\r\nb=2\r\n[two]\r\nc=3\r\n";
const std::string kCanonicalUnicode = [] {
  std::string bytes = kUnicodeEmpty;
  for (char16_t c : Utf8ToUtf16("[one]\r\na=1\r\n[два]\r\nключ=значение\r\n")) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}();

const std::vector<Script> kScripts = {
    {"reads of odd lines",
     "@odd_lines.ini",
     {Get("Main", "key1", null, 64), Get("main", "KEY1", null, 64), Get("Main", "key2", "d", 64),
      Get("Main", "", "d", 64), Get("Main", "noequals line", "d", 64),
      Get("Main", "key3", null, 64), Get("Main", "key4", null, 64),
      Get("Main", "# hash", null, 64),
      Get("Main", "orphan", "d", 64), Get("spaced section", "k", null, 64),
      Get("  spaced section  ", "  k ", null, 64), Get("Tail", "t", null, 64), Names(256)},
     false},
    {"defaults and buffer sizes",
     "@odd_lines.ini",
     {Get("Main", "missing", "  dflt  ", 64), Get("Main", "missing", "\"quoted\"", 64), Get("Main", "missing", null, 8),
      Get("Nowhere", "key1", "x", 64), Get("Main", "key1", null, 0),
      Get("Main", "key1", null, 1), Get("Main", "key1", null, 5),
      Get("Main", "key1", null, 9), Get("Main", "key1", null, 10),
      Get("Main", "missing", "abcdef", 4)},
     false},
    {"list buffers",
     "@duplicates.ini",
     {Names(1), Names(2), Names(3), Names(4), Names(5), Names(13), Names(14), Names(15),
      Names(64), Get(null, "x", null, 14), Get(null, "x", null, 64), Get("Dup", null, null, 64),
      Get("Dup", null, null, 4), Get("Dup", null, null, 5), Get("Dup", null, null, 6),
      Get("Dup", null, null, 7)},
     false},
    {"duplicates: first section and first key win",
     "@duplicates.ini",
     {Get("DUP", "a", null, 64), Get("Dup", "b", "not found", 64), Get("other", "X", null, 64)},
     false},
    {"quotes",
     "@quoted.ini",
     {Get("Q", "dq", null, 64), Get("Q", "sq", null, 64), Get("Q", "mixed", null, 64),
      Get("Q", "one", null, 64), Get("Q", "inner", null, 64), Get("Q", "padded", null, 64),
      Get("Q", "empty", "d", 64), Get("Q", "\"qkey\"", "d", 64), Get("Q", "qkey", "d", 64),
      Get("Q", "dq", null, 6)},
     false},
    {"CR-only and LF-only lines",
     "@cr_only.ini",
     {Get("A", "k", null, 64), Get("A", "j", null, 64), Get("B", "m", null, 64), Names(64)},
     false},
    {"LF-only lines",
     "@lf_only.ini",
     {Get("A", "k", null, 64), Get("B", "m", null, 64), Names(64)},
     false},
    {"UTF-16LE reads",
     "@utf16le.ini",
     {Names(64), Get("macro", "itemcount", null, 64), Get("中文宏", "键", null, 64),
      Get("Emoji😀", "k", null, 64), Get("Emoji😀", "k", null, 3)},
     false},
    {"empty lists",
     "orphan=1\r\n[empty]\r\n",
     {Names(16), Get(null, null, null, 16), Get("x", null, null, 16), Get("x", null, "dflt", 16),
      Get("empty", null, null, 16), Get("empty", null, "dflt", 16), Get(null, null, "dflt", 16)},
     false},
    {"Windows-1252 reads",
     "@ansi1252.ini",
     {Names(64), Get("café", "PRICE", null, 64), Get("Café", "price", null, 3)},
     false},
    {"Windows-1252 writes stay in the code page",
     "@ansi1252.ini",
     {Put("CAFE", "x", "1"), Put("Café", "price", "6€"), Put("Thé", "k", "ü")},
     true},
    {"a long value in the store's 1024-character buffer",
     "[s]\r\nk=" + std::string(3000, 'v') + "\r\nq=\"" + std::string(1500, 'w') + "\"\r\n",
     {Get("s", "k", null, 1024), Get("s", "q", null, 1024), Get("s", "k", null, 3001),
      Get("s", "k", null, 3002)},
     false},
    {"writes keep the file's casing of names",
     "@casing.ini",
     {Put("mixed", "KEY", "2"), Put("MIXED", "other", null), Put("mIxEd", "new", "3")},
     true},
    {"missing file",
     kMissing,
     {Names(16), Get("a", "b", "dflt", 16), Get("a", null, null, 16), Get(null, null, null, 16),
      Get("a", null, "dflt", 16), Get(null, null, "dflt", 16),
      Put("a", "b", null), Put("a", null, null)},
     true},
    {"new keys go after the section's keys, in call order",
     kCanonical,
     {Put("one", "c", "3"), Put("one", "d", "4"), Put("two", "e", "5"), Get("one", "d", null, 64)},
     true},
    {"existing keys are replaced in place with the file's casing",
     kCanonical,
     {Put("ONE", "A", "new"), Put("Two", "C", "x y"), Get("one", "a", null, 64)},
     true},
    {"new sections are appended in creation order",
     kCanonical,
     {Put("three", "k", "v"), Put("four", "k", "v"), Put("three", "j", "w")},
     true},
    {"deleting keys and sections",
     kCanonical,
     {Put("one", "a", null), Put("one", "missing", null), Put("two", "c", null),
      Put("nowhere", null, null), Names(64)},
     true},
    {"deleting a section",
     kCanonical,
     {Put("one", null, null), Names(64), Put("two", "d", "4")},
     true},
    {"section and key arguments are trimmed",
     kCanonical,
     {Put("  one  ", "  b  ", "trimmed"), Put(" new", " k", "v")},
     true},
    {"values are written verbatim",
     kCanonical,
     {Put("one", "q", "\"quoted\""),  Put("one", "s", "a;b#c=d"),
      Get("one", "q", null, 64), Get("one", "t", null, 64)},
     true},
    {"a file marked UTF-16LE stays UTF-16LE",
     kUnicodeEmpty,
     {Put("Fire", "ItemCount", "3"), Put("Fire", "Item0", "A   Dn"), Put("宏", "键", "值 😀"),
      Get("宏", "键", null, 64)},
     true},
    {"UTF-16LE edits",
     kCanonicalUnicode,
     {Put("два", "ключ", "другое"), Put("one", "b", "2"), Put("новый", "k", "😀"),
      Put("one", null, null)},
     true},
    {"the macro store's write sequence moves a section to the end",
     "[Fire]\r\nItemCount=1\r\nItem0=A   Dn\r\n[Jump]\r\nItemCount=0\r\n",
     {Put("Fire", null, null), Put("Fire", "ItemCount", "3"), Put("Fire", "Item0", "A   Dn"),
      Put("Fire", "Item1", "50 ms"), Put("Fire", "Item2", "A   Up"), Names(64)},
     true},
    {"macro names with '=', ';', quotes and blanks are sections like any other",
     kCanonical,
     {Put("a=b", "ItemCount", "1"), Put(";x", "ItemCount", "2"), Put("x; y", "Item0", "A   Dn"),
      Put("\"q\"", "ItemCount", "0"), Put("[x", "ItemCount", "3"), Names(64),
      Get("A=B", "itemcount", null, 64), Get(";X", "ItemCount", null, 64),
      Get("\"q\"", "ItemCount", "-", 64), Put(";x", null, null), Names(64)},
     true},
    {"writes on a file with comments, blank lines and spaces",
     "@odd_lines.ini",
     {Put("Main", "key2", "filled"), Put("Main", "new", "1"), Put("Tail", "t", null),
      Put("spaced section", null, null), Put("Main", "key1", "one")},
     false},
    {"writes on a CR-only file",
     "@cr_only.ini",
     {Put("A", "k", "2"), Put("A", "z", "9"), Put("C", "n", "1")},
     false},
    {"deleting the last key leaves the bare header",
     "[only]\r\nk=v\r\n[next]\r\nx=1\r\n",
     {Put("only", "k", null), Names(64), Get("only", null, null, 64)},
     true},
};

// A value or key list read whose text (the value, or else the default) is quoted and
// fills the buffer exactly once its quotes are gone.
bool FillsWithQuotes(const fs::path& file, const Op& op) {
  if (op.call != Call::kGetString || !op.section) return false;
  std::optional<std::u16string> text;
  if (op.key) {
    text = ProfileFile(Utf16ToUtf8(file.u16string())).FindRaw(*U16(op.section), *U16(op.key));
  }
  if (!text) text = U16(op.value).value_or(u"");
  while (!text->empty() && text->back() == u' ') text->pop_back();
  return text->size() >= 2 && (text->front() == u'"' || text->front() == u'\'') &&
         text->back() == text->front() && text->size() - 1 == op.size;
}

// Runs the script through the system and through ours on copies of its file,
// in `dir`; returns what differed, or nothing.
std::string Differences(const Script& script, const testing::TempDir& dir) {
  static int counter = 0;
  const std::string stem = std::to_string(++counter);
  const std::string systemName = stem + "_system.ini", ourName = stem + "_ours.ini";
  const fs::path systemFile = dir.path() / systemName, ourFile = dir.path() / ourName;
  if (script.fixture != kMissing) {
    dir.Write(systemName, FixtureBytes(script.fixture));
    dir.Write(ourName, FixtureBytes(script.fixture));
  }
  std::string diff;
  auto differ = [&diff](const std::string& what, const Outcome& ours, const Outcome& theirs) {
    if (ours == theirs) return;
    diff += what + ": ours " + std::to_string(ours.result) + " " + Show(ours.buffer) +
            ", system " + std::to_string(theirs.result) + " " + Show(theirs.buffer) + "\n";
  };
  for (std::size_t i = 0; i < script.ops.size(); ++i) {
    const bool compared = !FillsWithQuotes(ourFile, script.ops[i]);
    const Outcome theirs = RunSystem(systemFile, script.ops[i]);
    const Outcome ours = RunOurs(ourFile, script.ops[i]);
    if (compared) differ("call " + std::to_string(i), ours, theirs);
  }
  if (dir.Exists(ourName) != dir.Exists(systemName)) diff += "only one file exists\n";
  const auto theirBytes = dir.ReadBytes(systemName);
  const auto ourBytes = dir.ReadBytes(ourName);
  if (script.compareBytes && ourBytes != theirBytes) {
    diff += "bytes: ours " + Escape(ourBytes) + ", system " + Escape(theirBytes) + "\n";
  }
  if (!script.compareBytes || ourBytes != theirBytes) {
    // Files of different bytes: do they still read the same?
    const auto theirs = ReadEverything(systemFile, true);
    const auto ours = ReadEverything(ourFile, false);
    for (std::size_t i = 0; i < std::max(ours.size(), theirs.size()); ++i) {
      differ("read " + std::to_string(i), i < ours.size() ? ours[i] : Outcome{},
             i < theirs.size() ? theirs[i] : Outcome{});
    }
  }
  if (!diff.empty() && !script.compareBytes) {
    diff += "files: ours " + Escape(ourBytes) + ", system " + Escape(theirBytes) + "\n";
  }
  fs::remove(systemFile);
  fs::remove(ourFile);
  return diff;
}

class ProfileFileAgainstSystem : public ::testing::TestWithParam<Script> {};

TEST_P(ProfileFileAgainstSystem, SameResults) {
  const testing::TempDir dir;
  EXPECT_EQ(Differences(GetParam(), dir), "") << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ProfileFileAgainstSystem, ::testing::ValuesIn(kScripts),
                         [](const auto& test) { return "script" + std::to_string(test.index); });

// Random files and random calls on them. Files are missing, ANSI
// (Windows-1252) or UTF-16LE; a file in the form the system writes back (one
// "[name]" or "key=value" per CRLF line) is compared byte for byte after the
// calls, any other (blank lines, blanks around names and '=', CR-only and
// LF-only lines, lines without '=', lines before the first header, no final
// line break) by everything a reader sees. Names and values hold duplicates,
// quotes, '=', ';', '#', brackets, blanks inside, long runs. Never made: the
// inputs left out above, and writes that ours refuses (a ']' in a section
// name, a '=' in a key, a key starting with '[' or ';', line breaks).
class RandomScripts {
 public:
  explicit RandomScripts(std::uint64_t seed) : rng_(seed) {}

  Script Next() {
    Script script{"random", "", {}, Chance(50)};
    const int kind = static_cast<int>(Below(10));
    unicode_ = kind >= 6;
    duplicates_ = false;
    canonical_ = script.compareBytes || kind == 0;
    sections_ = NamePool(3 + Below(4), true);
    keys_ = NamePool(3 + Below(5), false);
    if (kind == 0) {
      script.fixture = kMissing;
      script.compareBytes = false;  // ours creates UTF-16LE, the system ANSI
    } else {
      script.fixture = Encode(FileText(script.compareBytes));
    }
    for (std::size_t n = 1 + Below(12); n > 0; --n) script.ops.push_back(Call());
    return script;
  }

 private:
  std::size_t Below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }
  bool Chance(unsigned percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&choices)[N]) { return choices[Below(N)]; }

  // One character of a name or value. ANSI files get only code page letters
  // that start a UTF-8 sequence and no byte that continues one, so no ANSI
  // file reads as UTF-8.
  std::string Char() {
    static const char* const kAnsi[] = {"é", "ü", "Ä", "ß", "ÿ"};
    static const char* const kUnicode[] = {"д", "中", "文", "€", "😀", "é", "ü"};
    static const char kPlain[] = "abcXYZ019 _-.";
    static const char kOdd[] = "=;#\"'[]";
    const std::size_t roll = Below(100);
    if (roll < 8) return unicode_ ? Pick(kUnicode) : Pick(kAnsi);
    if (roll < 16) return std::string(1, kOdd[Below(sizeof kOdd - 1)]);
    return std::string(1, kPlain[Below(sizeof kPlain - 1)]);
  }

  // Text of `length` characters, blank at neither end, without `refused`.
  std::string Chars(std::size_t length, const char* refused) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
      std::string c = Char();
      const bool atEnd = i == 0 || i + 1 == length;
      while (std::strpbrk(c.c_str(), refused) || (atEnd && c == " ")) c = Char();
      text += c;
    }
    return text;
  }

  std::vector<std::string> NamePool(std::size_t count, bool section) {
    std::vector<std::string> names;
    while (names.size() < count) {
      const bool empty = !section && !names.empty() && Chance(3);
      const std::size_t length = empty ? 0 : 1 + Below(Chance(5) ? 40 : 6);
      std::string name = Chars(length, section ? "]" : "=");
      if (!section && !name.empty() && (name[0] == '[' || name[0] == ';')) continue;
      names.push_back(name);
    }
    return names;
  }

  std::string Value() {
    static const char* const kQuotes[] = {"\"", "'"};
    const std::size_t roll = Below(100);
    const std::size_t length = roll < 10 ? 0 : roll < 13 ? 1000 + Below(2100) : Below(12);
    std::string value = Chars(length, "");
    if (Chance(20)) {
      const std::string quote = Pick(kQuotes);
      value = quote + value + (Chance(80) ? quote : "");
    }
    return value;
  }

  // A name in another ASCII letter case.
  std::string Cased(const std::string& name) {
    std::string cased = name;
    if (Chance(30)) {
      for (char& c : cased) {
        if (std::isalpha(static_cast<unsigned char>(c)) && Chance(50)) c ^= 0x20;
      }
    }
    return cased;
  }
  // Where a call's names may have blanks (see the top of this file).
  enum class Blanks { kNone, kLeading, kAround };

  // A name as a caller spells it: another letter case, maybe blanks.
  std::string Spelled(const std::string& name, Blanks blanks) {
    if (blanks == Blanks::kNone || Chance(90)) return Cased(name);
    return "  " + Cased(name) + (blanks == Blanks::kAround ? " " : "");
  }

  // A section or key name: mostly one of the file's.
  std::string Section(Blanks blanks) {
    if (Chance(10)) return Chars(1 + Below(4), "]");
    return Spelled(sections_[Below(sections_.size())], blanks);
  }
  std::string Key(Blanks blanks) {
    if (Chance(10)) return Chars(1 + Below(4), "=[;");
    return Spelled(keys_[Below(keys_.size())], blanks);
  }

  std::string FileText(bool canonical) {
    static const char* const kBreaks[] = {"\r\n", "\n", "\r", "\r\n\r\n", "\n\n"};
    static const char* const kBlanks[] = {"", " ", "  ", "\t", " \t "};
    std::string text;
    // An entry with an empty name only as the first entry of a section,
    // right after its header (see the top of this file).
    bool emptyNameAllowed = true;
    auto line = [&](const std::string& content, bool header) {
      const std::string lineBreak = canonical ? "\r\n" : Pick(kBreaks);
      text += content + lineBreak;
      emptyNameAllowed = header && lineBreak != "\r\n\r\n" && lineBreak != "\n\n";
    };
    auto blank = [&] { return canonical ? std::string() : std::string(Pick(kBlanks)); };
    auto entry = [&] {
      // A line without '=' is no key; its '~' keeps it apart from every name.
      if (!canonical && Chance(10)) return line("~" + Chars(Below(8), "=[;"), false);
      std::string key = Cased(keys_[Below(keys_.size())]);
      while (key.empty() && !emptyNameAllowed) key = Cased(keys_[Below(keys_.size())]);
      line(blank() + key + blank() + "=" + blank() + Value() + blank(), false);
    };
    if (Chance(15)) entry();  // before any header
    emptyNameAllowed = false;
    std::vector<std::string> headers;
    for (std::size_t s = Below(6); s > 0; --s) {
      headers.push_back(Cased(sections_[Below(sections_.size())]));
      for (const auto& other : std::span(headers).first(headers.size() - 1)) {
        duplicates_ |= EqualsIgnoreCase(Utf8ToUtf16(other), Utf8ToUtf16(headers.back()));
      }
      line(blank() + "[" + blank() + headers.back() + blank() + "]" + blank(), true);
      for (std::size_t k = Below(6); k > 0; --k) entry();
    }
    if (!canonical && Chance(30) && !text.empty()) {
      while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    }
    return text;
  }

  std::string Encode(const std::string& utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    if (!unicode_) return *EncodeWindows1252(text);
    std::string bytes = kUnicodeEmpty;
    for (char16_t c : text) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
  }

  std::size_t Size() {
    static const std::size_t kSizes[] = {0, 1, 2, 3, 4, 5, 6, 8, 16, 64, 1024, 1025, 4096};
    return Chance(30) ? Below(40) : Pick(kSizes);
  }

  // A default for a value read; trailing spaces only after other text.
  Text Default() {
    if (Chance(30)) return Text();
    const std::string value = Value();
    return value.empty() || Chance(80) ? value : value + "  ";
  }

  Op Call() {
    const std::size_t roll = Below(100);
    if (roll < 8) return Names(Size());
    if (roll < 12) {
      return Get(null, Chance(50) ? Text() : Text(Key(Blanks::kNone)), Default(), Size());
    }
    if (roll < 25) return Get(Section(Blanks::kNone), null, Chance(30) ? Text() : Value(), Size());
    if (roll < 55) return Get(Section(Blanks::kAround), Key(Blanks::kAround), Default(), Size());
    if (roll < 85) {
      // A new key with an empty name could follow a blank line in a file of
      // another layout.
      std::string key = Key(Blanks::kLeading);
      while (!canonical_ && TrimProfileBlanks(Utf8ToUtf16(key)).empty()) key = Key(Blanks::kLeading);
      return Put(Section(Blanks::kLeading), key, Value());
    }
    if (roll < 95 && !duplicates_) return Put(Section(Blanks::kNone), Key(Blanks::kNone), null);
    return Put(Section(Blanks::kNone), null, null);
  }

  std::mt19937_64 rng_;
  bool unicode_ = false;
  bool duplicates_ = false;  // the file has sections of the same name
  bool canonical_ = false;   // the file is in the system's layout, or missing
  std::vector<std::string> sections_;
  std::vector<std::string> keys_;
};

// Set VORTAL_PROFILE_SCRIPTS (and VORTAL_PROFILE_SEED) for a longer run.
std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(ProfileFileAgainstSystemAtRandom, SameResults) {
  const std::uint64_t seed = FromEnvironment("VORTAL_PROFILE_SEED", 20261209);
  const std::uint64_t count = FromEnvironment("VORTAL_PROFILE_SCRIPTS", 2000);
  const testing::TempDir dir;
  RandomScripts scripts(seed);
  std::uint64_t differing = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    const Script script = scripts.Next();
    const std::string diff = Differences(script, dir);
    if (diff.empty()) continue;
    if (++differing <= 5) {
      ADD_FAILURE() << "seed " << seed << ", script " << i << ":\n" << Describe(script) << diff;
    }
  }
  EXPECT_EQ(differing, 0u) << "of " << count << " scripts, seed " << seed;
}

}  // namespace
}  // namespace vortal

#endif  // _WIN32
