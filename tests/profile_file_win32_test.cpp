// The profile-file reader and writer against the system's own profile
// functions: the same scripted calls on copies of the same file must return
// the same results and, for files the system writes back unchanged in form,
// leave the same bytes.
//
// Left out on purpose, where Wine is known to differ from Windows: text after
// a header's first ']', blanks around written values and names, lines whose
// first non-blank character is ';' (Wine finds them as keys), UTF-8 files,
// letter case of non-ASCII names (Wine folds ASCII only), a quoted value that
// exactly fills the buffer, and file bytes after edits of files that Wine
// writes back in its own layout (blank lines, comments, " = ").
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "macro/profile_file.h"
#include "macro/text_encoding.h"

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
    std::ifstream in(fs::path(VORTAL_TEST_DATA) / "ini" / fixture.substr(1), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  return {fixture.begin(), fixture.end()};
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), {}};
}

void PutFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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

class ProfileFileAgainstSystem : public ::testing::TestWithParam<Script> {};

TEST_P(ProfileFileAgainstSystem, SameResults) {
  const Script& script = GetParam();
  static int counter = 0;
  const fs::path dir = fs::temp_directory_path() / ("vortal_profile_" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(dir);
  const std::string stem = std::to_string(++counter);
  const fs::path systemFile = dir / (stem + "_system.ini");
  const fs::path ourFile = dir / (stem + "_ours.ini");
  if (script.fixture != kMissing) {
    PutFile(systemFile, FixtureBytes(script.fixture));
    PutFile(ourFile, FixtureBytes(script.fixture));
  }
  for (std::size_t i = 0; i < script.ops.size(); ++i) {
    const Outcome theirs = RunSystem(systemFile, script.ops[i]);
    const Outcome ours = RunOurs(ourFile, script.ops[i]);
    EXPECT_EQ(ours.result, theirs.result) << script.name << ", call " << i;
    EXPECT_EQ(Show(ours.buffer), Show(theirs.buffer)) << script.name << ", call " << i;
  }
  EXPECT_EQ(fs::exists(ourFile), fs::exists(systemFile)) << script.name;
  if (script.compareBytes) {
    const auto theirs = FileBytes(systemFile);
    const auto ours = FileBytes(ourFile);
    EXPECT_EQ(std::string(ours.begin(), ours.end()), std::string(theirs.begin(), theirs.end()))
        << script.name;
  }
  const auto theirs = ReadEverything(systemFile, true);
  const auto ours = ReadEverything(ourFile, false);
  auto dump = [](const std::vector<Outcome>& reads) {
    std::string text;
    for (const auto& read : reads) text += Show(read.buffer) + " | ";
    return text;
  };
  ASSERT_EQ(ours.size(), theirs.size()) << script.name << "\n ours: " << dump(ours)
                                        << "\n system: " << dump(theirs);
  for (std::size_t i = 0; i < ours.size(); ++i) {
    EXPECT_EQ(ours[i].result, theirs[i].result) << script.name << ", read " << i;
    EXPECT_EQ(Show(ours[i].buffer), Show(theirs[i].buffer)) << script.name << ", read " << i;
  }
  fs::remove(systemFile);
  fs::remove(ourFile);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ProfileFileAgainstSystem, ::testing::ValuesIn(kScripts),
                         [](const auto& test) { return "script" + std::to_string(test.index); });

}  // namespace
}  // namespace vortal

#endif  // _WIN32
