#include "device/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/hid_descriptors.h"

namespace vortal {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace testing::descriptors;

struct Expected {
  std::uint16_t usagePage, usage;
  std::size_t input, output, feature;
  std::vector<std::uint8_t> inputIds, outputIds, featureIds;
};

TEST(HidReportDescriptor, FindsCollectionsAndTheirReportLengths) {
  // A 4-byte usage names its own page, whatever the Usage Page item says.
  const Bytes extendedUsage = {0x05, 0x01, 0x0B, 0x00, 0xFF, 0x00, 0xFF, 0xA1,
                               0x01, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0};
  // Push keeps the vendor page; the Pop brings back the desktop page for the
  // second collection, and a long item in between is skipped.
  const Bytes pushPop = {0x05, 0x01, 0x75, 0x08, 0xA4, 0x06, 0x00, 0xFF, 0x0A, 0x00, 0xFF,
                         0xA1, 0x01, 0x95, 0x02, 0xB1, 0x02, 0xC0, 0xB4, 0xFE, 0x02, 0x10,
                         0xAA, 0xBB, 0x09, 0x02, 0xA1, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0};
  // Items outside any collection are not counted.
  const Bytes strayItem = {0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x06, 0x00, 0xFF,
                           0x09, 0x01, 0xA1, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0};
  struct Case {
    const char* name;
    const Bytes& bytes;
    bool numbered;
    std::vector<Expected> collections;
  } cases[] = {
      {"boot mouse", kBootMouse, false, {{0x01, 0x02, 4, 0, 0, {}, {}, {}}}},
      {"boot keyboard", kBootKeyboard, false, {{0x01, 0x06, 9, 2, 0, {}, {}, {}}}},
      {"event interface", kEventInterface, true, {{0xFF01, 0xFF01, 8, 0, 0, {6}, {}, {}}}},
      {"command interface", kCommandInterface, false, {{0xFF00, 0xFF00, 33, 33, 9, {}, {}, {}}}},
      {"combined numbered",
       kCombinedNumbered,
       true,
       {{0xFF01, 0xFF01, 4, 0, 0, {6}, {}, {}}, {0xFF00, 0xFF00, 33, 19, 9, {2, 3}, {4}, {1}}}},
      {"extended usage", extendedUsage, false, {{0xFF00, 0xFF00, 0, 0, 9, {}, {}, {}}}},
      {"push, pop and a long item",
       pushPop,
       false,
       {{0xFF00, 0xFF00, 0, 0, 3, {}, {}, {}}, {0x01, 0x02, 2, 0, 0, {}, {}, {}}}},
      {"stray main item", strayItem, false, {{0xFF00, 0x01, 2, 0, 0, {}, {}, {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    auto parsed = ParseReportDescriptor(c.bytes, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->numberedReports, c.numbered);
    ASSERT_EQ(parsed->collections.size(), c.collections.size());
    for (std::size_t i = 0; i < c.collections.size(); ++i) {
      const HidTopCollection& got = parsed->collections[i];
      const Expected& want = c.collections[i];
      EXPECT_EQ(got.usagePage, want.usagePage) << "collection " << i;
      EXPECT_EQ(got.usage, want.usage) << "collection " << i;
      EXPECT_EQ(got.lengths.input, want.input) << "collection " << i;
      EXPECT_EQ(got.lengths.output, want.output) << "collection " << i;
      EXPECT_EQ(got.lengths.feature, want.feature) << "collection " << i;
      EXPECT_EQ(got.Ids(HidReportType::kInput), want.inputIds) << "collection " << i;
      EXPECT_EQ(got.Ids(HidReportType::kOutput), want.outputIds) << "collection " << i;
      EXPECT_EQ(got.Ids(HidReportType::kFeature), want.featureIds) << "collection " << i;
    }
  }
}

Bytes Repeat(const Bytes& unit, int times, const Bytes& tail = {}, const Bytes& head = {}) {
  Bytes out = head;
  for (int i = 0; i < times; ++i) out.insert(out.end(), unit.begin(), unit.end());
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

TEST(HidReportDescriptor, RejectsMalformedDescriptors) {
  Bytes deepCollections = Repeat({0xA1, 0x01}, 65, Repeat({0xC0}, 65));
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"item data cut off", {0x06, 0x00}},
      {"4-byte item cut off", {0xA1, 0x01, 0x77, 0x01, 0x02, 0x03}},
      {"long item header cut off", {0xFE, 0x05}},
      {"long item data cut off", {0xFE, 0x05, 0x10, 0x01, 0x02}},
      {"End Collection alone", {0xC0}},
      {"collection left open", {0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
      {"Pop without Push", {0xB4}},
      {"Push nested too deeply", Repeat({0xA4}, 33)},
      {"collections nested too deeply", deepCollections},
      {"report ID 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}},
      {"report ID above 255", {0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}},
      {"report longer than 65534 bytes",
       {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0x00, 0x00, 0x97, 0xFF, 0xFF, 0x00, 0x00, 0x81, 0x02, 0xC0}},
      {"huge size times huge count",
       {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0}},
      {"long report built from many items",
       Repeat({0x75, 0x08, 0x96, 0x00, 0x40, 0x81, 0x02}, 5, {0xC0}, {0xA1, 0x01})},
      {"unnumbered report beside numbered ones",
       {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x02, 0x81, 0x02, 0xC0}},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseReportDescriptor(c.bytes, &error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(HidReportDescriptor, EveryCutShortDescriptorIsRejected) {
  // Cut anywhere after its last top-level collection opens, a descriptor
  // either stops inside an item or leaves that collection open.
  struct Case {
    const Bytes& full;
    std::size_t lastCollectionOpened;
  } cases[] = {{kBootMouse, 6},
               {kBootKeyboard, 6},
               {kEventInterface, 8},
               {kCommandInterface, 8},
               {kCombinedNumbered, 25}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ParseReportDescriptor(c.full));
    for (std::size_t n = c.lastCollectionOpened; n < c.full.size(); ++n) {
      Bytes cut(c.full.begin(), c.full.begin() + static_cast<std::ptrdiff_t>(n));
      EXPECT_FALSE(ParseReportDescriptor(cut)) << "first " << n << " of " << c.full.size();
    }
  }
}

TEST(HidReportDescriptor, DamagedDescriptorsStayWithinTheirBytes) {
  // Random damage must never make the parser read past the buffer (the
  // sanitizer build checks that) nor report lengths no system could state.
  std::mt19937 random(12345);
  for (int round = 0; round < 2000; ++round) {
    Bytes bytes = round % 2 ? kCombinedNumbered : kCommandInterface;
    int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i)
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    // Exact-size heap copy so any overread is caught.
    auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    auto parsed = ParseReportDescriptor(exact.get(), bytes.size());
    if (!parsed) continue;
    for (const HidTopCollection& c : parsed->collections) {
      EXPECT_LE(c.lengths.input, 0xFFFFu);
      EXPECT_LE(c.lengths.output, 0xFFFFu);
      EXPECT_LE(c.lengths.feature, 0xFFFFu);
    }
  }
}

}  // namespace
}  // namespace vortal
