#include "app/pointer_system_win32.h"

#include <windows.h>

#include <cstdint>

namespace vortal {

std::optional<MouseParams> Win32PointerSystem::GetMouseParams() {
  int values[3] = {};
  if (!SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0)) return std::nullopt;
  return MouseParams{values[0], values[1], values[2]};
}

std::optional<std::uint32_t> Win32PointerSystem::GetMouseSpeed() {
  int speed = 0;
  if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0)) return std::nullopt;
  return static_cast<std::uint32_t>(speed);
}

std::optional<std::uint32_t> Win32PointerSystem::GetWheelScrollLines() {
  UINT lines = 0;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return std::nullopt;
  return static_cast<std::uint32_t>(lines);
}

std::uint32_t Win32PointerSystem::GetDoubleClickTime() { return ::GetDoubleClickTime(); }

bool Win32PointerSystem::SetMouseParams(const MouseParams& params) {
  int values[3] = {params.threshold1, params.threshold2, params.acceleration};
  return SystemParametersInfoW(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE) != FALSE;
}

bool Win32PointerSystem::SetMouseSpeed(std::uint32_t speed) {
  // Windows takes the speed from the pointer argument itself and ignores the
  // other one; Wine takes it from the other one, so it goes in both.
  return SystemParametersInfoW(SPI_SETMOUSESPEED, speed,
                               reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(speed)),
                               SPIF_SENDCHANGE) != FALSE;
}

bool Win32PointerSystem::SetWheelScrollLines(std::uint32_t lines) {
  return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_SENDCHANGE) != FALSE;
}

bool Win32PointerSystem::SetDoubleClickTime(std::uint32_t milliseconds) {
  return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, milliseconds, nullptr,
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

}  // namespace vortal
