#include "device/hid_report_descriptor.h"

#include <algorithm>
#include <map>
#include <utility>

namespace vortal {
namespace {

// Item types and tags of the HID short item format.
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;

constexpr int kMainInput = 0x8;
constexpr int kMainOutput = 0x9;
constexpr int kMainCollection = 0xA;
constexpr int kMainFeature = 0xB;
constexpr int kMainEndCollection = 0xC;

constexpr int kGlobalUsagePage = 0x0;
constexpr int kGlobalReportSize = 0x7;
constexpr int kGlobalReportId = 0x8;
constexpr int kGlobalReportCount = 0x9;
constexpr int kGlobalPush = 0xA;
constexpr int kGlobalPop = 0xB;

constexpr int kLocalUsage = 0x0;

constexpr std::uint8_t kLongItemPrefix = 0xFE;

// Report lengths are 16-bit in the system's capabilities, ID byte included.
constexpr std::uint64_t kMaxReportBits = (0xFFFFull - 1) * 8;
// Deeper nesting than this is no real device; it only guards the stacks.
constexpr std::size_t kMaxPushDepth = 32;
constexpr int kMaxCollectionDepth = 64;

struct Globals {
  std::uint32_t usagePage = 0;
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint32_t reportId = 0;
};

struct Locals {
  bool hasUsage = false;
  bool extended = false;  // 4-byte usage: page in the high half
  std::uint32_t usage = 0;
};

std::uint32_t ItemValue(const std::uint8_t* p, std::size_t size) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < size; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

std::optional<HidReportDescriptor> Fail(std::string* error, const char* reason,
                                        std::size_t offset) {
  if (error) *error = std::string(reason) + " at byte " + std::to_string(offset);
  return std::nullopt;
}

}  // namespace

std::optional<HidReportDescriptor> ParseReportDescriptor(const std::uint8_t* data, std::size_t size,
                                                         std::string* error) {
  HidReportDescriptor result;
  Globals globals;
  std::vector<Globals> pushed;
  Locals locals;
  int depth = 0;
  // Bits per (report type, report ID) of the current top-level collection.
  std::map<std::pair<int, std::uint32_t>, std::uint64_t> bits;
  bool reportWithoutId = false;

  auto closeTopCollection = [&]() {
    HidTopCollection& top = result.collections.back();
    std::size_t* lengths[3] = {&top.lengths.input, &top.lengths.output, &top.lengths.feature};
    for (const auto& [key, count] : bits) {
      std::size_t bytes = static_cast<std::size_t>((count + 7) / 8) + 1;
      *lengths[key.first] = std::max(*lengths[key.first], bytes);
      if (key.second != 0)
        top.reportIds[key.first].push_back(static_cast<std::uint8_t>(key.second));
    }
    bits.clear();
  };

  std::size_t pos = 0;
  while (pos < size) {
    const std::size_t itemStart = pos;
    const std::uint8_t prefix = data[pos++];
    if (prefix == kLongItemPrefix) {
      // Long items carry no information this reader needs: skip them whole.
      if (size - pos < 2) return Fail(error, "truncated long item", itemStart);
      const std::size_t dataSize = data[pos];
      pos += 2;
      if (size - pos < dataSize) return Fail(error, "truncated long item", itemStart);
      pos += dataSize;
      continue;
    }
    const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
    const int type = (prefix >> 2) & 3;
    const int tag = prefix >> 4;
    if (size - pos < dataSize) return Fail(error, "truncated item", itemStart);
    const std::uint32_t value = ItemValue(data + pos, dataSize);
    pos += dataSize;

    if (type == kTypeGlobal) {
      switch (tag) {
        case kGlobalUsagePage:
          globals.usagePage = value;
          break;
        case kGlobalReportSize:
          globals.reportSize = value;
          break;
        case kGlobalReportCount:
          globals.reportCount = value;
          break;
        case kGlobalReportId:
          if (value == 0 || value > 0xFF) return Fail(error, "invalid report ID", itemStart);
          globals.reportId = value;
          result.numberedReports = true;
          break;
        case kGlobalPush:
          if (pushed.size() >= kMaxPushDepth)
            return Fail(error, "Push nested too deeply", itemStart);
          pushed.push_back(globals);
          break;
        case kGlobalPop:
          if (pushed.empty()) return Fail(error, "Pop without Push", itemStart);
          globals = pushed.back();
          pushed.pop_back();
          break;
        default:
          break;  // logical and physical ranges, units: not needed here
      }
      continue;
    }
    if (type == kTypeLocal) {
      if (tag == kLocalUsage && !locals.hasUsage) {
        locals.hasUsage = true;
        locals.extended = dataSize == 4;
        locals.usage = value;
      }
      continue;
    }
    if (type != kTypeMain) continue;  // reserved item type: ignored

    switch (tag) {
      case kMainCollection:
        if (depth == kMaxCollectionDepth)
          return Fail(error, "collections nested too deeply", itemStart);
        if (depth == 0) {
          HidTopCollection top;
          std::uint32_t page = locals.extended ? locals.usage >> 16 : globals.usagePage;
          top.usagePage = static_cast<std::uint16_t>(page);
          top.usage = static_cast<std::uint16_t>(locals.usage);
          result.collections.push_back(std::move(top));
        }
        ++depth;
        break;
      case kMainEndCollection:
        if (depth == 0) return Fail(error, "End Collection without Collection", itemStart);
        if (--depth == 0) closeTopCollection();
        break;
      case kMainInput:
      case kMainOutput:
      case kMainFeature: {
        // Data items outside every collection belong to no collection the
        // system could open; they are not counted.
        if (depth == 0) break;
        const int reportType = tag == kMainInput ? 0 : tag == kMainOutput ? 1 : 2;
        if (globals.reportId == 0) reportWithoutId = true;
        std::uint64_t& total = bits[{reportType, globals.reportId}];
        total += static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
        if (total > kMaxReportBits) return Fail(error, "report too long", itemStart);
        break;
      }
      default:
        break;
    }
    locals = Locals{};
  }
  if (depth != 0) return Fail(error, "collection not closed", size);
  if (result.numberedReports && reportWithoutId)
    return Fail(error, "report without ID in a descriptor that numbers its reports", size);
  return result;
}

}  // namespace vortal
