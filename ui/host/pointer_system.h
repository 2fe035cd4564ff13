// The operating system's pointer parameters that the advanced page reads and
// sets: pointer speed, wheel scroll lines, double-click time and the mouse
// parameter triple that switches enhanced pointer precision. Windows
// implements it over SystemParametersInfoW and GetDoubleClickTime
// (app/pointer_system_win32.h); tests use a fake.
#pragma once

#include <cstdint>
#include <optional>

namespace vortal {

// Threshold 1, threshold 2 and acceleration (SPI_GETMOUSE / SPI_SETMOUSE).
struct MouseParams {
  int threshold1 = 0;
  int threshold2 = 0;
  int acceleration = 0;
  friend bool operator==(const MouseParams&, const MouseParams&) = default;
};

// The wheel setting that scrolls one screen per notch.
inline constexpr std::uint32_t kScrollOneScreenLines = 0xFFFFFFFFu;

class PointerSystem {
 public:
  virtual ~PointerSystem() = default;

  // Each reading is nothing when the system call fails.
  virtual std::optional<MouseParams> GetMouseParams() = 0;
  virtual std::optional<std::uint32_t> GetMouseSpeed() = 0;  // 1 to 20
  virtual std::optional<std::uint32_t> GetWheelScrollLines() = 0;
  // Milliseconds; 0 when the system cannot tell.
  virtual std::uint32_t GetDoubleClickTime() = 0;

  // Each setting is announced to running programs and lasts until the user
  // logs off; only the double-click time is also written to the user's
  // profile. False when the system refuses the value.
  virtual bool SetMouseParams(const MouseParams& params) = 0;
  virtual bool SetMouseSpeed(std::uint32_t speed) = 0;
  virtual bool SetWheelScrollLines(std::uint32_t lines) = 0;
  virtual bool SetDoubleClickTime(std::uint32_t milliseconds) = 0;
};

}  // namespace vortal
