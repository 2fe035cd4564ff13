#include "files/profile_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/text_encoding.h"

namespace vortal {
namespace {

namespace fs = std::filesystem;
constexpr std::nullopt_t null = std::nullopt;
using testing::Utf16LeFile;

class ProfileFileTest : public ::testing::Test {
 protected:
  testing::TempDir temp_;
};

// ---- reading ---------------------------------------------------------------

const std::string kOdd =
    "orphan=before any header\r\n"
    "[Main]\r\n"
    "  key1 = value one  \r\n"
    "key2=\r\n"
    "=emptyname\r\n"
    "noequals line\r\n"
    "key3 = a=b=c\r\n"
    "key4 = ;not a comment\r\n"
    "# hash=data\r\n"
    " \t; indented=comment\r\n"
    "KEY1=second duplicate\r\n"
    "\r\n\r\n"
    "[ spaced section ]\r\n"
    "\tk\t=\tv\t\r\n"
    "[Tail]ignored]text\r\n"
    "t=1\r\n"
    "[NoClose\r\n"
    "n=2\r\n"
    "[Quotes]\r\n"
    "dq=\"quoted value\"\r\n"
    "sq='single'\r\n"
    "mixed=\"mixed'\r\n"
    "one=\"\r\n"
    "padded=\" padded \"\r\n"
    "\"qkey\"=names keep quotes\r\n"
    "[Dup]\r\n"
    "a=first\r\n"
    "[dup]\r\n"
    "a=second section\r\n"
    "b=only in the second section\r\n";

TEST_F(ProfileFileTest, ReadsValuesTheWayWindowsDoes) {
  const std::string path = temp_.Write("test.ini", kOdd);
  struct Case {
    const char* section;
    const char* key;
    const char* def;
    const char* expected;
  } cases[] = {
      {"Main", "key1", "-", "value one"},             // trimmed, first duplicate wins
      {"MAIN", "Key1", "-", "value one"},             // names ignore letter case
      {"Main", "key2", "-", ""},                      // present but empty: not the default
      {"Main", "", "-", "emptyname"},                 // a key may have an empty name
      {"Main", "noequals line", "-", "-"},            // a line without '=' is no key
      {"Main", "key3", "-", "a=b=c"},                 // split at the first '='
      {"Main", "key4", "-", ";not a comment"},        // ';' inside a value is data
      {"Main", "# hash", "-", "data"},                // '#' is no comment
      {"Main", "; indented", "-", "-"},               // a comment even when indented
      {"Main", "orphan", "-", "-"},                   // lines before the first header
      {"spaced section", "k", "-", "v"},              // header and tab blanks trimmed
      {"  spaced section ", " k ", "-", "v"},         // arguments trimmed too
      {"Tail", "t", "-", "1"},                        // the name ends at the first ']'
      {"NoClose", "n", "-", "2"},                     // a missing ']' is tolerated
      {"Quotes", "dq", "-", "quoted value"},          // outer quotes removed
      {"Quotes", "sq", "-", "single"},
      {"Quotes", "mixed", "-", "\"mixed'"},           // only a matching pair
      {"Quotes", "one", "-", "\""},                   // a lone quote stays
      {"Quotes", "padded", "-", " padded "},          // blanks inside quotes kept
      {"Quotes", "\"qkey\"", "-", "names keep quotes"},
      {"Quotes", "qkey", "-", "-"},
      {"Dup", "a", "-", "first"},                     // the first section wins
      {"Dup", "b", "-", "-"},                         // later duplicates are not searched
      {"Nowhere", "a", "  dflt  ", "  dflt"},         // default: trailing spaces dropped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileGetString(path, c.section, c.key, c.def), c.expected)
        << "[" << c.section << "] " << c.key;
  }
}

TEST_F(ProfileFileTest, LineEndingsOfEveryKind) {
  const std::string files[] = {
      "[A]\rk=1\r\r[B]\rm=3\r",       // CR only
      "[A]\nk=1\n\n[B]\nm=3",         // LF only, no final line break
      "[A]\r\n\r\nk=1\n\r[B]\r\r\nm=3",  // mixed runs
  };
  for (const auto& bytes : files) {
    const std::string path = temp_.Write("test.ini", bytes);
    EXPECT_EQ(ProfileGetString(path, "A", "k"), "1");
    EXPECT_EQ(ProfileGetString(path, "B", "m"), "3");
    EXPECT_EQ(ProfileSectionNames(path), (std::vector<std::string>{"A", "B"}));
  }
}

struct BufferCase {
  std::optional<std::u16string> section;
  std::optional<std::u16string> key;
  std::optional<std::u16string> def;
  std::size_t size;
  std::u16string expected;  // the whole buffer; '#' marks untouched characters
  std::size_t result;
};

TEST_F(ProfileFileTest, BufferSemanticsInUtf16Characters) {
  const std::string path =
      temp_.Write("test.ini", "[Dup]\r\na=first\r\nA=second\r\n[Other]\r\nx=\"q\"\r\n[Empty]\r\n[dup]\r\nb=1\r\n");
  using namespace std::string_literals;
  const BufferCase cases[] = {
      // a value: at most size - 1 characters, the count without terminator
      {u"Dup", u"a", null, 0, u""s, 0},
      {u"Dup", u"a", null, 1, u"\0"s, 0},
      {u"Dup", u"a", null, 4, u"fir\0"s, 3},
      {u"Dup", u"a", null, 6, u"first\0"s, 5},
      {u"Dup", u"a", null, 8, u"first\0##"s, 5},
      {u"Other", u"x", null, 5, u"q\0\0##"s, 1},  // the closing quote becomes a zero
      {u"Dup", u"zz", u"default  ", 8, u"default\0"s, 7},
      {u"Dup", u"zz", u"default", 5, u"defa\0"s, 4},
      {u"Dup", u"zz", u"'quoted'", 9, u"quoted\0\0#"s, 6},
      // section list: no cut only when two spare characters remain
      {null, null, null, 20, u"Dup\0Other\0Empty\0du\0\0"s, 18},
      {null, null, null, 21, u"Dup\0Other\0Empty\0dup\0\0"s, 19},
      {null, null, null, 22, u"Dup\0Other\0Empty\0dup\0\0#"s, 20},
      {null, null, null, 6, u"Dup\0\0\0"s, 4},
      {null, null, null, 2, u"\0\0"s, 0},
      // key list of the first matching section
      {u"DUP", null, null, 8, u"a\0A\0\0###"s, 4},
      {u"Dup", null, null, 5, u"a\0A\0\0"s, 3},
      {u"Dup", null, null, 4, u"a\0\0#"s, 2},
      {u"Empty", null, null, 4, u"\0###"s, 0},
      {u"Empty", null, u"dflt", 8, u"dflt\0###"s, 4},  // no keys: the default
      {u"Missing", null, null, 4, u"\0\0##"s, 0},
  };
  for (const auto& c : cases) {
    std::u16string buffer(c.size, u'#');
    auto view = [](const std::optional<std::u16string>& s) {
      return s ? std::optional<std::u16string_view>(*s) : std::nullopt;
    };
    const std::size_t result = ProfileGetStringW(path, view(c.section), view(c.key), view(c.def), buffer);
    EXPECT_EQ(buffer, c.expected) << Utf16ToUtf8(c.section.value_or(u"(null)")) << " size " << c.size;
    EXPECT_EQ(result, c.result) << Utf16ToUtf8(c.section.value_or(u"(null)")) << " size " << c.size;
  }
}

TEST_F(ProfileFileTest, SectionNamesBufferAndMissingFile) {
  const std::string path = temp_.Write("test.ini", "[one]\r\n[two]\r\n");
  std::u16string buffer(9, u'#');
  EXPECT_EQ(ProfileGetSectionNamesW(path, buffer), 7u);  // 9 = total 8 + 1: cut
  EXPECT_EQ(buffer, std::u16string(u"one\0two\0\0", 9));
  EXPECT_EQ(ProfileSectionNamesBuffer(path, 10), std::u16string(u"one\0two\0\0\0", 10));

  const std::string missing = temp_.File("missing.ini");
  std::u16string none(4, u'#');
  EXPECT_EQ(ProfileGetSectionNamesW(missing, none), 0u);
  EXPECT_EQ(none, std::u16string(u"\0###", 4));
  EXPECT_EQ(ProfileGetString(missing, "a", "b", "fallback"), "fallback");
  EXPECT_TRUE(ProfileSectionNames(missing).empty());
}

// ---- writing ---------------------------------------------------------------

struct Edit {
  const char* section;
  std::optional<std::string> key;
  std::optional<std::string> value;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no file
  std::vector<Edit> edits;
  std::string after;  // ASCII text; the file is UTF-16LE when `before` was none
};

TEST_F(ProfileFileTest, WritesEditTheFileInPlace) {
  const std::string canon = "[one]\r\na=1\r\nb=2\r\n[two]\r\nc=3\r\n";
  const std::vector<WriteCase> cases = {
      {"new file", null, {{"App", "key", "value"}}, "[App]\r\nkey=value\r\n"},
      {"new keys after the section's keys, in call order",
       canon,
       {{"one", "c", "3"}, {"one", "d", "4"}, {"two", "e", "5"}},
       "[one]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n[two]\r\nc=3\r\ne=5\r\n"},
      {"replace in place keeping the file's casing",
       canon,
       {{"ONE", "A", "new"}},
       "[one]\r\na=new\r\nb=2\r\n[two]\r\nc=3\r\n"},
      {"new sections appended in creation order",
       canon,
       {{"three", "k", "v"}, {"four", "k", "v"}},
       canon + "[three]\r\nk=v\r\n[four]\r\nk=v\r\n"},
      {"delete keys; a missing key changes nothing",
       canon,
       {{"one", "a", null}, {"one", "zz", null}, {"nowhere", "a", null}},
       "[one]\r\nb=2\r\n[two]\r\nc=3\r\n"},
      {"delete the last key leaves the bare header",
       canon,
       {{"two", "c", null}},
       "[one]\r\na=1\r\nb=2\r\n[two]\r\n"},
      {"delete a section with everything up to the next header",
       "[one]\r\na=1\r\n; note\r\n\r\n[two]\r\nc=3\r\n",
       {{"one", null, null}, {"missing", null, null}},
       "[two]\r\nc=3\r\n"},
      {"delete then write moves the section to the end",
       canon,
       {{"one", null, null}, {"one", "ItemCount", "1"}},
       "[two]\r\nc=3\r\n[one]\r\nItemCount=1\r\n"},
      {"section and key arguments trimmed, value verbatim",
       canon,
       {{"  two ", " c ", "  x \"y\"  "}},
       "[one]\r\na=1\r\nb=2\r\n[two]\r\nc=  x \"y\"  \r\n"},
      {"comments, blank lines and odd lines kept as they were",
       "; head\r\n[s]\r\n  k = v  \r\nodd line\r\n; trailing comment\r\n\r\n[t]\r\n",
       {{"s", "n", "1"}, {"t", "m", "2"}},
       "; head\r\n[s]\r\n  k = v  \r\nodd line\r\nn=1\r\n; trailing comment\r\n\r\n[t]\r\nm=2\r\n"},
      {"a rewritten key line is written afresh in the file's spelling",
       "[s]\r\n  Key = old ; c\r\nx=1\r\n",
       {{"s", "key", "new"}},
       "[s]\r\nKey=new\r\nx=1\r\n"},
      {"a file without a final line break",
       "[s]\r\nk=v",
       {{"s", "n", "1"}, {"t", "m", "2"}},
       "[s]\r\nk=v\r\nn=1\r\n[t]\r\nm=2\r\n"},
      {"CR-only lines stay CR-only",
       "[s]\rk=v\r[t]\rx=1\r",
       {{"s", "n", "1"}, {"t", "x", "2"}},
       "[s]\rk=v\rn=1\r\n[t]\rx=2\r"},
      {"writes go to the first of duplicate sections and keys",
       "[d]\r\na=1\r\na=2\r\n[D]\r\na=3\r\n",
       {{"D", "A", "x"}},
       "[d]\r\na=x\r\na=2\r\n[D]\r\na=3\r\n"},
      {"deleting removes only the first of duplicate sections",
       "[d]\r\na=1\r\n[D]\r\na=3\r\n",
       {{"D", null, null}},
       "[D]\r\na=3\r\n"},
  };
  for (const auto& c : cases) {
    const std::string path = temp_.File("write.ini");
    fs::remove(path);
    if (c.before) temp_.Write("write.ini", *c.before);
    for (const auto& e : c.edits) {
      std::optional<std::string_view> key, value;
      if (e.key) key = *e.key;
      if (e.value) value = *e.value;
      EXPECT_TRUE(ProfileWriteString(path, e.section, key, value)) << c.name;
    }
    const std::string expected =
        c.before ? c.after : Utf16LeFile(Utf8ToUtf16(c.after));
    EXPECT_EQ(testing::ReadWhole(path), expected) << c.name;
  }
}

TEST_F(ProfileFileTest, RefusesTextThatCouldNotBeReadBack) {
  const std::string before = "[s]\r\nk=v\r\n";
  const std::string path = temp_.Write("test.ini", before);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"a]b", "k", "v"},     {"a\r\nb", "k", "v"}, {"s", "a=b", "v"},    {"s", "[k", "v"},
      {"s", ";k", "v"},      {"s", "k", "v\nx=1"}, {"s", "k\nj", "v"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ProfileWriteString(path, c.section, std::string_view(c.key), std::string_view(c.value)))
        << c.section << " " << c.key;
  }
  const std::string withZero("v\0w", 3);
  EXPECT_FALSE(ProfileWriteString(path, "s", std::string_view("k"), std::string_view(withZero)));
  EXPECT_EQ(testing::ReadWhole(path), before);
}

// ---- encodings -------------------------------------------------------------

TEST_F(ProfileFileTest, ReadsEveryEncoding) {
  struct Case {
    const char* name;
    std::string bytes;
    ProfileEncoding encoding;
  } cases[] = {
      {"UTF-16LE", Utf16LeFile(u"[宏😀]\r\n键=值\r\n"), ProfileEncoding::kUtf16Le},
      {"UTF-8", "[宏😀]\r\n键=值\r\n", ProfileEncoding::kUtf8},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[宏😀]\r\n键=值\r\n", ProfileEncoding::kUtf8WithBom},
  };
  for (const auto& c : cases) {
    const std::string path = temp_.Write("test.ini", c.bytes);
    EXPECT_EQ(ProfileFile(path).encoding(), c.encoding) << c.name;
    EXPECT_EQ(ProfileSectionNames(path), std::vector<std::string>{"宏😀"}) << c.name;
    EXPECT_EQ(ProfileGetString(path, "宏😀", "键"), "值") << c.name;
  }
  // Not UTF-8: Windows-1252 (0xE9 = é, 0x80 = €, 0x81 undefined but kept).
  const std::string path = temp_.Write("test.ini", "[Caf\xE9]\r\nprice=5\x80\x81\r\n");
  EXPECT_EQ(ProfileFile(path).encoding(), ProfileEncoding::kAnsi);
  EXPECT_EQ(ProfileGetString(path, "CAFÉ", "price"), "5€\xC2\x81");
}

TEST_F(ProfileFileTest, UnicodeSurvivesWritesInEveryStartingEncoding) {
  const std::string name = "宏 Grüße 😀";
  const std::string line = "键   Dn ✓ 🎮";
  struct Case {
    const char* name;
    std::optional<std::string> before;
    ProfileEncoding after;
    const char* oldValue;  // what [x] a held before, and must still hold
  } cases[] = {
      {"no file", null, ProfileEncoding::kUtf16Le, "-"},
      {"UTF-16LE", Utf16LeFile(u"[x]\r\na=1\r\n"), ProfileEncoding::kUtf16Le, "1"},
      {"UTF-8", "[x]\r\na=ü\r\n", ProfileEncoding::kUtf8, "ü"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[x]\r\na=1\r\n", ProfileEncoding::kUtf8WithBom, "1"},
      {"ASCII", "[x]\r\na=1\r\n", ProfileEncoding::kUtf16Le, "1"},
      {"Windows-1252", "[x]\r\na=\xE9\r\n", ProfileEncoding::kUtf16Le, "é"},
  };
  for (const auto& c : cases) {
    const std::string path = temp_.File("enc.ini");
    fs::remove(path);
    if (c.before) temp_.Write("enc.ini", *c.before);
    ASSERT_TRUE(ProfileWriteString(path, name, std::string_view("Item0"), std::string_view(line)));
    EXPECT_EQ(ProfileGetString(path, name, "item0"), line) << c.name;
    EXPECT_EQ(ProfileFile(path).encoding(), c.after) << c.name;
    EXPECT_EQ(ProfileGetString(path, "x", "a", "-"), c.oldValue) << c.name;
  }
}

TEST_F(ProfileFileTest, AnsiFilesStayAnsiWhileTheCodePageHoldsTheText) {
  struct Case {
    const char* name;
    std::string before;
    std::string value;
    bool staysAnsi;
    const char* oldValue;
  } cases[] = {
      {"ASCII", "[x]\r\nold=\xE9t\xE9\r\n", "plain", true, "été"},
      {"in the code page", "[x]\r\nold=\xE9t\xE9\r\n", "café €5", true, "été"},
      {"outside the code page", "[x]\r\nold=\xE9t\xE9\r\n", "中文", false, "été"},
      // 'Ã' '©' are 0xC3 0xA9 in Windows-1252: in an otherwise ASCII file the
      // bytes would read back as the UTF-8 'é', so the file changes encoding.
      {"bytes that would read as UTF-8", "[x]\r\nold=plain\r\n", "Ã©", false, "plain"},
      {"the same bytes beside other ANSI text", "[x]\r\nold=\xE9t\xE9\r\n", "Ã©", true, "été"},
  };
  for (const auto& c : cases) {
    const std::string path = temp_.Write("test.ini", c.before);
    ASSERT_TRUE(ProfileWriteString(path, "x", std::string_view("k"), std::string_view(c.value)));
    EXPECT_EQ(ProfileFile(path).encoding() == ProfileEncoding::kAnsi, c.staysAnsi) << c.name;
    EXPECT_EQ(ProfileGetString(path, "x", "k"), c.value) << c.name;
    EXPECT_EQ(ProfileGetString(path, "x", "old"), c.oldValue) << c.name;
  }
}

TEST_F(ProfileFileTest, TheAnsiCodePageCanBeReplaced) {
  // A stand-in single-byte code page: bytes 0x80.. are Cyrillic letters.
  AnsiCodePage cyrillic{
      [](std::string_view bytes) {
        std::u16string out;
        for (char b : bytes) {
          const auto u = static_cast<unsigned char>(b);
          out.push_back(u >= 0x80 ? static_cast<char16_t>(0x400 + (u - 0x80)) : u);
        }
        return out;
      },
      [](std::u16string_view text) -> std::optional<std::string> {
        std::string out;
        for (char16_t c : text) {
          if (c < 0x80) {
            out.push_back(static_cast<char>(c));
          } else if (c >= 0x400 && c < 0x480) {
            out.push_back(static_cast<char>(0x80 + (c - 0x400)));
          } else {
            return std::nullopt;
          }
        }
        return out;
      }};
  const AnsiCodePage saved = CurrentAnsiCodePage();
  SetAnsiCodePage(cyrillic);
  const std::string path = temp_.Write("test.ini", "[\xAF]\r\nk=\x90\r\n");  // [Я] k=А
  EXPECT_EQ(ProfileGetString(path, "я", "k"), "А");
  EXPECT_TRUE(ProfileWriteString(path, "Я", std::string_view("n"), std::string_view("Б")));
  EXPECT_EQ(testing::ReadWhole(path), "[\xAF]\r\nk=\x90\r\nn=\x91\r\n");
  SetAnsiCodePage(saved);
}

// ---- bad input -------------------------------------------------------------

TEST_F(ProfileFileTest, OddBytesNeverBreakReading) {
  const std::string huge(2'000'000, 'v');
  struct Case {
    const char* name;
    std::string bytes;
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"huge line", "[s]\r\nk=" + huge + "\r\n", "s", "k", std::string(1023, 'v')},
      {"NUL inside a value", std::string("[s]\r\nk=ab\0cd\r\n", 13), "s", "k", "ab"},
      {"NUL in a name", std::string("[s\0t]\r\nk=1\r\n", 12), "s", "k", "-"},
      {"invalid UTF-8 falls back to the code page", "[s]\r\nk=\xC3\x28\r\n", "s", "k", "Ã("},
      {"odd UTF-16 length", Utf16LeFile(u"[s]\r\nk=1") + "\x41", "s", "k", "1"},
      {"lone surrogates", Utf16LeFile(std::u16string(u"[s]\r\nk=a") + char16_t(0xD800) + u"b"),
       "s", "k", "a\xEF\xBF\xBD" "b"},
      {"only a BOM", "\xFF\xFE", "s", "k", "-"},
      {"only brackets", "[\r\n]\r\n[[]]\r\n=\r\n", "s", "k", "-"},
      {"many empty lines", std::string(500'000, '\n') + "[s]\nk=1", "s", "k", "1"},
  };
  for (const auto& c : cases) {
    const std::string path = temp_.Write("test.ini", c.bytes);
    EXPECT_EQ(ProfileGetString(path, c.section, c.key, "-"), c.expected) << c.name;
  }
}

TEST_F(ProfileFileTest, UnreadableOrTooLargeFilesAreNeverOverwritten) {
  // A folder where the file should be.
  temp_.MakeFolder("folder.ini");
  const std::string folder = temp_.File("folder.ini");
  EXPECT_EQ(ProfileGetString(folder, "s", "k", "d"), "d");
  EXPECT_FALSE(ProfileWriteString(folder, "s", std::string_view("k"), std::string_view("v")));
  EXPECT_TRUE(fs::is_directory(folder));

  const std::string big = "[s]\r\nk=v\r\n" + std::string(kMaxProfileFileBytes, ' ');
  const std::string path = temp_.Write("test.ini", big);
  EXPECT_FALSE(ProfileFile(path).readable());
  EXPECT_EQ(ProfileGetString(path, "s", "k", "d"), "d");
  EXPECT_FALSE(ProfileWriteString(path, "s", std::string_view("k"), std::string_view("x")));
  EXPECT_EQ(fs::file_size(path), big.size());
}

TEST_F(ProfileFileTest, AFailedWriteReportsFailure) {
  const std::string path = temp_.File("no/such/folder/record.ini");
  EXPECT_FALSE(ProfileWriteString(path, "s", std::string_view("k"), std::string_view("v")));
  EXPECT_FALSE(fs::exists(path));
  // Deleting from a file that does not exist writes nothing and succeeds.
  EXPECT_TRUE(ProfileWriteString(temp_.File("absent.ini"), "s", null, null));
  EXPECT_FALSE(temp_.Exists("absent.ini"));
}

TEST_F(ProfileFileTest, ReplacingASectionEqualsDeletingItAndWritingEachKey) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  const struct Case {
    const char* name;
    std::string before;
    const char* section;
    Entries entries;
  } cases[] = {
      {"moves to the end", "[m]\r\nk=1\r\n[n]\r\nx=1\r\n", "M", {{"a", "1"}, {"b", "2"}}},
      {"new section, no final line break", "[n]\r\nx=1", "m", {{"a", "1"}}},
      {"a duplicate section takes the keys in place", "[m]\r\na=0\r\n[n]\r\n[M]\r\nb=0\r\nz=9\r\n",
       "m", {{"a", "1"}, {"b", "2"}}},
      {"duplicate keys: the first is rewritten", "[n]\r\n", "m", {{"a", "1"}, {" A ", "2"}}},
      {"no entries: only the deletion", "[m]\r\nk=1\r\n[n]\r\n", "m", {}},
      {"empty file", "", "m", {{"k", "v"}}},
  };
  for (const auto& c : cases) {
    ProfileFile stepwise(temp_.Write("a.ini", c.before));
    ASSERT_TRUE(stepwise.Write(c.section, null, null)) << c.name;
    for (const auto& [key, value] : c.entries) {
      ASSERT_TRUE(stepwise.Write(c.section, std::string_view(key), std::string_view(value))) << c.name;
    }
    ProfileFile atOnce(temp_.Write("b.ini", c.before));
    ASSERT_TRUE(atOnce.ReplaceSection(c.section, c.entries)) << c.name;
    EXPECT_EQ(atOnce.Serialize(), stepwise.Serialize()) << c.name;
  }
  // An entry that cannot be stored changes nothing.
  ProfileFile file(temp_.Write("c.ini", "[m]\r\nk=1\r\n"));
  EXPECT_FALSE(file.ReplaceSection("m", {{"a", "1"}, {"b", "two\nlines"}}));
  EXPECT_FALSE(file.ReplaceSection("m]", {{"a", "1"}}));
  EXPECT_EQ(file.Find("m", "k"), std::optional<std::string>("1"));
}

TEST_F(ProfileFileTest, OneLoadManyEditsOneSave) {
  const std::string path = temp_.Write("test.ini", "[a]\r\nx=1\r\n");
  ProfileFile file(path);
  EXPECT_TRUE(file.Write("a", "y", "2"));
  EXPECT_TRUE(file.Write("b", "z", "3"));
  EXPECT_EQ(file.Find("A", "Y"), std::optional<std::string>("2"));
  EXPECT_EQ(testing::ReadWhole(path), "[a]\r\nx=1\r\n");  // nothing written before Save
  EXPECT_TRUE(file.Save());
  EXPECT_EQ(testing::ReadWhole(path), "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
  const auto entries = file.Entries(u"a");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].key, u"y");
  EXPECT_EQ(entries[1].value, u"2");
}

}  // namespace
}  // namespace vortal
