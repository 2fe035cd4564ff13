#include "macro/macro_encoder.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <cstring>
#include <string>
#include <vector>

#include "macro/macro_store.h"

namespace vortal {
namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

// The slot's bytes up to the last non-zero one.
Bytes Used(const std::uint8_t (&slot)[kMacroSlotSize]) {
  std::size_t end = kMacroSlotSize;
  while (end > 0 && slot[end - 1] == 0) --end;
  return Bytes(slot, slot + end);
}

struct SlotCase {
  const char* name;
  Lines lines;
  Bytes expected;  // the whole slot up to its last non-zero byte; loop count 1
};

TEST(MacroEncoderTest, EncodesEventsWithThePauseThatFollowsThem) {
  const SlotCase cases[] = {
      {"press, 50 ms, release", {"A   Dn", "50 ms", "A   Up"}, {0x00, 0x01, 0x05, 0x04, 0x80, 0x04}},
      {"long pause of 2000 ms", {"B   Dn", "2000 ms", "B   Up"},
       {0x00, 0x01, 0x00, 0x05, 0x14, 0x03, 0x80, 0x05}},
      {"long pause of 1550 ms", {"B   Dn", "1550 ms", "B   Up"},
       {0x00, 0x01, 0x32, 0x05, 0x0F, 0x03, 0x80, 0x05}},
      {"1270 ms is still short", {"A   Dn", "1270 ms"}, {0x00, 0x01, 0x7F, 0x04}},
      {"1280 ms is long", {"A   Dn", "1280 ms"}, {0x00, 0x01, 0x50, 0x04, 0x0C, 0x03}},
      {"a leading delay line produces nothing", {"50 ms", "A   Up", "30 ms"},
       {0x00, 0x01, 0x83, 0x04}},
      {"a line with both markers is a press", {"A   Dn   Up", "10 ms"}, {0x00, 0x01, 0x01}},
      {"an event after an event: its digits are the pause", {"A   Dn", "150   Dn"},
       {0x00, 0x01, 0x0F, 0x04}},
      {"unknown key names give code 0", {"Hyper   Dn", "20 ms", "L-Button   Up"},
       {0x00, 0x01, 0x02, 0x00, 0x80, 0xF0}},
      {"two spaces are no marker", {"A  Dn", "50 ms"}, {0x00, 0x01}},
      {"a pause that is not a number is 0", {"A   Dn", "soon", "A   Up"},
       {0x00, 0x01, 0x00, 0x04, 0x80, 0x04}},
      {"every \" ms\" is removed before reading", {"A   Dn", " 1 ms2 ms"}, {0x00, 0x01, 0x01, 0x04}},
      {"a negative pause is none", {"A   Dn", "-50 ms", "A   Up"},
       {0x00, 0x01, 0x00, 0x04, 0x80, 0x04}},
      {"a pause too long for the long form is the longest it holds", {"A   Dn", "30000 ms"},
       {0x00, 0x01, 0x63, 0x04, 0xFF, 0x03}},
      {"empty lines are skipped", {"", "A   Dn", "", "B   Up"}, {0x00, 0x01, 0x00, 0x04, 0x80, 0x05}},
  };
  for (const auto& c : cases) {
    std::uint8_t slot[kMacroSlotSize];
    std::memset(slot, 0xEE, sizeof slot);  // old contents that must go
    slot[0] = 0x00;
    slot[1] = 0x01;
    EXPECT_TRUE(EncodeMacroSlot(c.lines, slot)) << c.name;
    EXPECT_EQ(Used(slot), c.expected) << c.name;
  }
}

TEST(MacroEncoderTest, AnEmptyMacroClearsTheWholeSlot) {
  std::uint8_t slot[kMacroSlotSize];
  std::memset(slot, 0xEE, sizeof slot);
  EXPECT_TRUE(EncodeMacroSlot({}, slot));
  EXPECT_TRUE(Used(slot).empty());
  // Lines without any event keep the loop count and clear the rest.
  std::memset(slot, 0xEE, sizeof slot);
  EXPECT_TRUE(EncodeMacroSlot({"50 ms", "note"}, slot));
  EXPECT_EQ(Used(slot), (Bytes{0xEE, 0xEE}));
}

TEST(MacroEncoderTest, NeverWritesPastTheSlot) {
  struct Case {
    const char* name;
    int events;
    const char* pause;
    bool fits;
    std::size_t bytesUsed;  // of the 126-byte event area
  } cases[] = {
      {"63 short records fill the area", 63, "50 ms", true, 126},
      {"the 64th short record is left out", 64, "50 ms", false, 126},
      {"31 long records", 31, "2000 ms", true, 124},
      {"the 32nd long record is left out", 32, "2000 ms", false, 124},
  };
  for (const auto& c : cases) {
    Lines lines;
    for (int i = 0; i < c.events; ++i) {
      lines.push_back(i % 2 ? "A   Up" : "A   Dn");
      lines.push_back(c.pause);
    }
    SettingsRecord record{};
    std::memset(record.macroSlots[1], 0xAA, kMacroSlotSize);
    EXPECT_EQ(EncodeMacroSlot(lines, record.macroSlots[0]), c.fits) << c.name;
    const Bytes used = Used(record.macroSlots[0]);
    EXPECT_EQ(used.size(), kMacroEventAreaStart + c.bytesUsed) << c.name;
    for (std::size_t i = 0; i < kMacroSlotSize; ++i) {
      ASSERT_EQ(record.macroSlots[1][i], 0xAA) << c.name << ", neighbour byte " << i;
    }
  }
}

class MacroEncodeFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::memset(record_.bytes(), 0x5A, kSettingsRecordSize); }

  void Write(const std::string& name, const Lines& lines) {
    ASSERT_TRUE(WriteMacro(path_, name, lines));
  }

  testing::TempDir temp_;
  const std::string path_ = temp_.File("record.ini");
  SettingsRecord record_;
};

TEST_F(MacroEncodeFileTest, WithoutTheFileNothingChanges) {
  const SettingsRecord before = record_;
  const MacroEncodeResult result = EncodeMacros(path_, record_);
  EXPECT_FALSE(result.fileFound);
  EXPECT_EQ(std::memcmp(before.bytes(), record_.bytes(), kSettingsRecordSize), 0);
}

TEST_F(MacroEncodeFileTest, SlotsFollowTheFileOrderAndKeepLoopCounts) {
  for (const char* name : {"m0", "m1", "m2", "m3", "m4"}) Write(name, {"A   Dn", "10 ms"});
  DeleteMacro(path_, "m4");
  Write("m1", {"B   Dn", "20 ms"});  // confirming moves m1 to the end
  const SettingsRecord before = record_;
  const MacroEncodeResult result = EncodeMacros(path_, record_);
  EXPECT_TRUE(result.fileFound);
  EXPECT_EQ(result.slotsWritten, 4);
  EXPECT_TRUE(result.cutMacros.empty());
  EXPECT_TRUE(result.droppedMacros.empty());
  // File order: m0 m2 m3 m1; slot 4 keeps the deleted macro's old bytes.
  const Bytes a = {0x5A, 0x5A, 0x01, 0x04};
  const Bytes b = {0x5A, 0x5A, 0x02, 0x05};
  EXPECT_EQ(Used(record_.macroSlots[0]), a);
  EXPECT_EQ(Used(record_.macroSlots[1]), a);
  EXPECT_EQ(Used(record_.macroSlots[2]), a);
  EXPECT_EQ(Used(record_.macroSlots[3]), b);
  for (int s = 4; s < kMacroSlots; ++s) {
    EXPECT_EQ(std::memcmp(record_.macroSlots[s], before.macroSlots[s], kMacroSlotSize), 0) << s;
  }
  EXPECT_EQ(std::memcmp(before.bytes(), record_.bytes(), 384), 0);  // button areas untouched
  EXPECT_EQ(std::memcmp(before.reserved1920, record_.reserved1920, 5), 0);
}

TEST_F(MacroEncodeFileTest, ReportsMacrosThatAreCutOrBeyondTheTwelfth) {
  Lines tooLong;
  for (int i = 0; i < 40; ++i) {
    tooLong.push_back("A   Dn");
    tooLong.push_back("50 ms");
    tooLong.push_back("A   Up");
    tooLong.push_back("50 ms");
  }
  for (int i = 0; i < 14; ++i) {
    Write("宏" + std::to_string(i), i == 2 ? tooLong : i == 5 ? Lines{} : Lines{"B   Dn"});
  }
  const SettingsRecord before = record_;
  const MacroEncodeResult result = EncodeMacros(path_, record_);
  EXPECT_EQ(result.slotsWritten, kMacroSlots);
  EXPECT_EQ(result.cutMacros, Lines{"宏2"});
  EXPECT_EQ(result.droppedMacros, (Lines{"宏12", "宏13"}));
  EXPECT_EQ(Used(record_.macroSlots[11]), (Bytes{0x5A, 0x5A, 0x00, 0x05}));
  EXPECT_EQ(record_.macroSlots[2][kMacroSlotSize - 1], 0x04);  // filled to the last byte
  EXPECT_TRUE(Used(record_.macroSlots[5]).empty());  // an empty macro clears its loop count too
  EXPECT_EQ(std::memcmp(before.reserved1920, record_.reserved1920, 5), 0);
}

}  // namespace
}  // namespace vortal
