#include "edit/record_rules.h"

#include "device/device_commands.h"

namespace vortal {
namespace {

constexpr std::array<const char*, 10> kBrightnessTexts = {"5%",  "15%", "25%", "35%", "45%",
                                                          "55%", "65%", "75%", "85%", "100%"};
constexpr std::array<const char*, 5> kSpeedTexts = {"8S", "7S", "6S", "5S", "4S"};
constexpr int kTimeTextCount = 30;

std::string TimeText(int index) {
  // Index k is (k + 1) / 2 seconds; whole seconds have no decimal part.
  const int halves = index + 1;
  return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5S" : "S");
}

}  // namespace

int ReportRateMark(std::uint8_t reportRate) {
  for (int mark = 1; mark < kReportRateMarks; ++mark) {
    if (kReportRateCodes[mark - 1] == reportRate) return mark;
  }
  return kReportRateMarks;  // 1000 Hz for 1 and for any unknown value
}

bool SetDpiStageEnabled(SettingsRecord& record, int stage, bool enabled) {
  if (stage < 0 || stage >= kDpiStages) return false;
  std::uint8_t& flag = record.dpiStageEnabled[stage];
  if (enabled) {
    flag = 1;
    return true;
  }
  if (flag != 1) {
    flag = 0;
    return true;
  }
  for (int other = 0; other < kDpiStages; ++other) {
    if (other != stage && record.dpiStageEnabled[other] == 1) {
      flag = 0;
      return true;
    }
  }
  return false;
}

std::string LedModeText(const LocalizedTexts& texts, int mode) {
  switch (mode) {
    case 0: return std::string(texts[TextId::kOffMode]);
    case 1: return std::string(texts[TextId::kStandardMode]);
    case 2: return std::string(texts[TextId::kRespirationMode]);
    case 3: return std::string(texts[TextId::kNeonMode]);
    default: return {};
  }
}

std::vector<std::string> LedParameterTexts(int mode) {
  if (mode == 1) return {kBrightnessTexts.begin(), kBrightnessTexts.end()};
  if (mode == 2) return {kSpeedTexts.begin(), kSpeedTexts.end()};
  std::vector<std::string> texts;
  for (int k = 0; k < kTimeTextCount; ++k) texts.push_back(TimeText(k));
  return texts;
}

std::string LedParameterText(int mode, int index) {
  const std::vector<std::string> texts = LedParameterTexts(mode);
  if (index < 0 || index >= static_cast<int>(texts.size())) return {};
  return texts[static_cast<std::size_t>(index)];
}

bool SetLedMode(SettingsRecord& record, int index) {
  if (index < 0 || index >= static_cast<int>(kLedModeListTexts.size())) return false;
  record.auxLedMode = static_cast<std::uint8_t>(index + 1);
  return true;
}

bool SetLedParameter(SettingsRecord& record, int index) {
  const int mode = record.auxLedMode;
  if (LedParameterText(mode, index).empty()) return false;
  if (mode >= 1 && mode <= 3) record.auxLedParam[mode - 1] = static_cast<std::uint8_t>(index);
  return true;
}

bool CanChooseLoopColor(const SettingsRecord& record) { return record.loopColorEnabled[0] == 1; }

LedBit LedBitOf(int stage, int square) {
  const int byte = stage < 2 ? 0 : 1;
  const int bit = stage % 2 == 0 ? square : square + 4;
  return {byte, static_cast<std::uint8_t>(1u << bit)};
}

}  // namespace vortal
