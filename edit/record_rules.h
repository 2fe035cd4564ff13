// The rules of the changes the user makes to the settings record outside the
// buttons: report rate, DPI stages, lighting, pointer steps. The window's
// pages and the command line both change the record through these, so a rule
// is written once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "texts/texts.h"

namespace vortal {

// ---- Report rate
inline constexpr int kReportRateMarks = 4;
// reportRate codes of the marks, left to right, and their rates.
inline constexpr std::uint8_t kReportRateCodes[kReportRateMarks] = {8, 4, 2, 1};
inline constexpr int kReportRatesHz[kReportRateMarks] = {125, 250, 500, 1000};
// The mark lit for a reportRate value: 8 mark 1, 4 mark 2, 2 mark 3, else 4.
int ReportRateMark(std::uint8_t reportRate);

// ---- DPI stages (numbered from 0 here)
inline constexpr int kMaxDpiSteps = 12;
// Switches stage `stage` on or off. The mouse needs one enabled stage: the
// last enabled one is not switched off (false). Only the four stages count;
// entries past them (a settings file may hold anything there) select no DPI.
bool SetDpiStageEnabled(SettingsRecord& record, int stage, bool enabled);

// ---- Lighting
inline constexpr int kLoopColors = 8;
inline constexpr int kLedStages = 4;
inline constexpr int kLedSquares = 4;
// The modes the window's list offers: 1 Standard, 2 Respiration, 3 Neon.
inline constexpr std::array<TextId, 3> kLedModeListTexts = {
    TextId::kStandardMode, TextId::kRespirationMode, TextId::kNeonMode};
// The text of an LED mode: 0 "Off Mode" ... 3 "Neon Mode", empty otherwise.
std::string LedModeText(const LocalizedTexts& texts, int mode);
// The parameter items of a mode: ten brightness texts (mode 1), five speed
// texts (mode 2), else the thirty time texts "0.5S" .. "15S".
std::vector<std::string> LedParameterTexts(int mode);
// One parameter text; empty for an index outside the mode's items.
std::string LedParameterText(int mode, int index);
// Item `index` of the mode list becomes the mode (false outside the list).
bool SetLedMode(SettingsRecord& record, int index);
// Item `index` of the mode's parameter list is stored for the mode; false
// when the mode has no such item (nothing stored).
bool SetLedParameter(SettingsRecord& record, int index);
// The colour of a loop colour is chosen only while loop colour 1 is ticked,
// whichever colour it is.
bool CanChooseLoopColor(const SettingsRecord& record);

// The bit of `dpiStageLedBits` that square `square` (0..3) of DPI stage
// `stage` (0..3) stands for.
struct LedBit {
  int byte;           // 0 for stages 1 and 2, 1 for stages 3 and 4
  std::uint8_t mask;  // bits 0..3 for stages 1 and 3, 4..7 for stages 2 and 4
};
LedBit LedBitOf(int stage, int square);

// ---- Windows pointer: the three sliders' steps
inline constexpr int kPointerSliderSteps = 11;

}  // namespace vortal
