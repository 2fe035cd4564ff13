// A fake of the system's pointer parameters.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/host/pointer_system.h"

namespace vortal::testing {

// The system's pointer parameters, with every call written down.
class FakePointerSystem : public PointerSystem {
 public:
  std::optional<MouseParams> GetMouseParams() override {
    reads.push_back("GETMOUSE");
    return params;
  }
  std::optional<std::uint32_t> GetMouseSpeed() override {
    reads.push_back("GETMOUSESPEED");
    return speed;
  }
  std::optional<std::uint32_t> GetWheelScrollLines() override {
    reads.push_back("GETWHEELSCROLLLINES");
    return lines;
  }
  std::uint32_t GetDoubleClickTime() override {
    reads.push_back("GetDoubleClickTime");
    return doubleClickTime;
  }
  bool SetMouseParams(const MouseParams& p) override {
    sets.push_back("MOUSE " + std::to_string(p.threshold1) + "," + std::to_string(p.threshold2) +
                   "," + std::to_string(p.acceleration));
    return !failMouse;
  }
  bool SetMouseSpeed(std::uint32_t v) override {
    sets.push_back("SPEED " + std::to_string(v));
    return !failSpeed;
  }
  bool SetWheelScrollLines(std::uint32_t v) override {
    sets.push_back("LINES " + std::to_string(v));
    return !failLines;
  }
  bool SetDoubleClickTime(std::uint32_t v) override {
    sets.push_back("DOUBLECLICK " + std::to_string(v));
    return !failDoubleClick;
  }

  std::optional<MouseParams> params = MouseParams{6, 10, 1};
  std::optional<std::uint32_t> speed = 10;
  std::optional<std::uint32_t> lines = 3;
  std::uint32_t doubleClickTime = 500;
  bool failMouse = false, failSpeed = false, failLines = false, failDoubleClick = false;
  std::vector<std::string> reads;
  std::vector<std::string> sets;
};

}  // namespace vortal::testing
