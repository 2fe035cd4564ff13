// The pointer parameters of the signed-in user, through SystemParametersInfoW
// and GetDoubleClickTime.
#pragma once

#include "ui/host/pointer_system.h"

namespace vortal {

class Win32PointerSystem : public PointerSystem {
 public:
  std::optional<MouseParams> GetMouseParams() override;
  std::optional<std::uint32_t> GetMouseSpeed() override;
  std::optional<std::uint32_t> GetWheelScrollLines() override;
  std::uint32_t GetDoubleClickTime() override;

  bool SetMouseParams(const MouseParams& params) override;
  bool SetMouseSpeed(std::uint32_t speed) override;
  bool SetWheelScrollLines(std::uint32_t lines) override;
  bool SetDoubleClickTime(std::uint32_t milliseconds) override;
};

}  // namespace vortal
