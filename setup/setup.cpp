#include "setup/setup.h"

namespace vortal {
namespace {

constexpr int kNibbleBits = 4;
constexpr std::uint8_t kNibble = 0x0F;

template <typename E>
E As(std::uint8_t byte) {
  return static_cast<E>(byte);
}
template <typename E>
std::uint8_t Byte(E value) {
  return static_cast<std::uint8_t>(value);
}

// Stage s owns nibble s % 2 of byte s / 2, the low one first.
int LedByte(int stage) { return stage / 2; }
int LedShift(int stage) { return (stage % 2) * kNibbleBits; }

}  // namespace

Setup DecodeSetup(const SettingsRecord& record) {
  Setup setup;
  setup.base = record;
  const SettingsRecord& r = record;
  for (int mode = 0; mode < 2; ++mode) {
    for (int b = 0; b < kDeviceButtons; ++b) setup.button(mode, b) = ReadButtonAction(r, mode, b);
  }
  setup.reportRate = As<ReportRate>(r.reportRate);
  for (std::size_t s = 0; s < setup.dpiStages.size(); ++s) {
    setup.dpiStages[s] = {As<Switch>(r.dpiStageEnabled[s]), r.dpiLevel[s]};
    const int stage = static_cast<int>(s);
    setup.dpiLedSquares[s] = static_cast<std::uint8_t>(
        (r.dpiStageLedBits[LedByte(stage)] >> LedShift(stage)) & kNibble);
  }
  setup.lighting.mode = As<LedMode>(r.auxLedMode);
  for (std::size_t i = 0; i < setup.lighting.parameters.size(); ++i)
    setup.lighting.parameters[i] = r.auxLedParam[i];
  for (std::size_t c = 0; c < setup.loopColors.size(); ++c) {
    setup.loopColors[c] = {As<Switch>(r.loopColorEnabled[c]),
                           {r.loopColor[c][0], r.loopColor[c][1], r.loopColor[c][2]}};
  }
  setup.pointer = {r.mouseSpeed, r.scrollLines, r.doubleClickIndex, As<Switch>(r.pointerPrecision),
                   As<Switch>(r.scrollOneScreen)};
  for (std::size_t slot = 0; slot < setup.macroLoopCounts.size(); ++slot) {
    setup.macroLoopCounts[slot] =
        static_cast<std::uint16_t>(r.macroSlots[slot][0] << 8 | r.macroSlots[slot][1]);
  }
  return setup;
}

SettingsRecord EncodeSetup(const Setup& setup) {
  SettingsRecord r = setup.base;
  for (int mode = 0; mode < 2; ++mode) {
    for (int b = 0; b < kDeviceButtons; ++b) WriteButtonAction(r, mode, b, setup.button(mode, b));
  }
  r.reportRate = Byte(setup.reportRate);
  for (std::size_t s = 0; s < setup.dpiStages.size(); ++s) {
    r.dpiStageEnabled[s] = Byte(setup.dpiStages[s].enabled);
    r.dpiLevel[s] = setup.dpiStages[s].level;
    const int stage = static_cast<int>(s);
    std::uint8_t& bits = r.dpiStageLedBits[LedByte(stage)];
    bits = static_cast<std::uint8_t>((bits & ~(kNibble << LedShift(stage))) |
                                     (setup.dpiLedSquares[s] & kNibble) << LedShift(stage));
  }
  r.auxLedMode = Byte(setup.lighting.mode);
  for (std::size_t i = 0; i < setup.lighting.parameters.size(); ++i)
    r.auxLedParam[i] = setup.lighting.parameters[i];
  for (std::size_t c = 0; c < setup.loopColors.size(); ++c) {
    const LoopColor& loop = setup.loopColors[c];
    r.loopColorEnabled[c] = Byte(loop.enabled);
    r.loopColor[c][0] = loop.color.red;
    r.loopColor[c][1] = loop.color.green;
    r.loopColor[c][2] = loop.color.blue;
  }
  r.mouseSpeed = setup.pointer.speed;
  r.scrollLines = setup.pointer.wheelLines;
  r.doubleClickIndex = setup.pointer.doubleClick;
  r.pointerPrecision = Byte(setup.pointer.precision);
  r.scrollOneScreen = Byte(setup.pointer.pageScroll);
  for (std::size_t slot = 0; slot < setup.macroLoopCounts.size(); ++slot) {
    r.macroSlots[slot][0] = static_cast<std::uint8_t>(setup.macroLoopCounts[slot] >> 8);
    r.macroSlots[slot][1] = static_cast<std::uint8_t>(setup.macroLoopCounts[slot] & 0xFF);
  }
  return r;
}

}  // namespace vortal
