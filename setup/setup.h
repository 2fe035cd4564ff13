// Everything a user edits, as typed values: both modes' buttons, report rate,
// DPI stages, lighting, loop colours, the DPI stages' LED squares, pointer
// steps and the macros' loop counts. The 2021-byte SettingsRecord stays the
// file and wire format; DecodeSetup and EncodeSetup turn one into the other.
//
// Byte-exact: EncodeSetup(DecodeSetup(r)) is r for every record. What the
// setup does not type (buttons 9 to 12, the macros' event bytes, reserved
// bytes, the parameter columns of functions a button does not hold, the
// edited mode) stays in `base`, the record decoded, from which encoding
// starts. A typed field holds any byte its column may hold: the enums below
// keep bytes they have no name for, and an action keeps codes that are not
// its item's (button_action.h). A value set through a typed field is written
// as the window writes it.
#pragma once

#include <array>
#include <cstdint>

#include "settings/settings_record.h"
#include "setup/button_action.h"

namespace vortal {

// The report rate as the mouse takes it (an interval code).
enum class ReportRate : std::uint8_t { k1000Hz = 1, k500Hz = 2, k250Hz = 4, k125Hz = 8 };

// An on/off byte: 1 on, 0 off; the pages take any other byte for off.
enum class Switch : std::uint8_t { kOff = 0, kOn = 1 };

// The auxiliary LED mode; kOff leaves the mouse's mode as last sent.
enum class LedMode : std::uint8_t { kOff = 0, kStandard = 1, kRespiration = 2, kNeon = 3 };

struct DpiStage {
  Switch enabled = Switch::kOff;
  std::uint8_t level = 0;  // index into the sensor's DPI table
};

struct Lighting {
  LedMode mode = LedMode::kOff;
  // The list position of each mode's parameter (Standard: brightness,
  // Respiration: speed, Neon: time); each mode keeps its own.
  std::array<std::uint8_t, 3> parameters{};
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct LoopColor {
  Switch enabled = Switch::kOff;
  Rgb color;
};

// The Windows pointer settings as the advanced page keeps them.
struct PointerSteps {
  std::uint8_t speed = 0;        // 1..11
  std::uint8_t wheelLines = 0;
  std::uint8_t doubleClick = 0;  // 1..11
  Switch precision = Switch::kOff;
  Switch pageScroll = Switch::kOff;  // the wheel scrolls one screen
};

struct Setup {
  // Buttons 1 to 8 of Mode A (0) and Mode B (1): those that reach the mouse.
  std::array<std::array<ButtonAction, kDeviceButtons>, 2> buttons;
  ReportRate reportRate = ReportRate::k1000Hz;
  std::array<DpiStage, 4> dpiStages;
  Lighting lighting;
  std::array<LoopColor, 8> loopColors;
  // The squares lit for each DPI stage: bits 0 to 3.
  std::array<std::uint8_t, 4> dpiLedSquares{};
  PointerSteps pointer;
  std::array<std::uint16_t, kMacroSlots> macroLoopCounts{};
  // The record decoded: what the fields above do not type.
  SettingsRecord base{};

  ButtonAction& button(int mode, int button) {
    return buttons[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)];
  }
  const ButtonAction& button(int mode, int button) const {
    return buttons[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)];
  }
};

Setup DecodeSetup(const SettingsRecord& record);
SettingsRecord EncodeSetup(const Setup& setup);

}  // namespace vortal
