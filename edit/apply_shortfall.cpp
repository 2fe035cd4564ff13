#include "edit/apply_shortfall.h"

namespace vortal {

std::string DescribeShortfall(const ApplyReport& report, const LocalizedTexts& texts) {
  if (!report.sensorKnown) return std::string(texts[TextId::kSensorNotTold]);
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
  if ((report.commands.empty() && !report.alreadyHeld) || !report.AllCommandsWent()) add(std::string(texts[TextId::kMouseDidNotAnswer]));
  if (!report.macroSlotsReadBackWrong.empty()) {
    std::string slots;
    for (int slot : report.macroSlotsReadBackWrong) slots += (slots.empty() ? "" : ", ") + std::to_string(slot);
    const bool one = report.macroSlotsReadBackWrong.size() == 1;
    add(FormatText(texts[one ? TextId::kMacroSlotReadBackWrong : TextId::kMacroSlotsReadBackWrong], slots));
  }
  return text;
}

}  // namespace vortal
