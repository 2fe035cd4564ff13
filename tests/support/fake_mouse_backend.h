// A HID backend whose mouse is plugged in or not, answering with a scripted
// command port that records the traffic.
#pragma once

#include <memory>

#include "device/hid_port.h"
#include "support/scripted_port.h"

namespace vortal::testing {

class FakeMouseBackend : public HidBackend {
 public:
  OpenedMouse FindDevice() override {
    ++findCalls;
    OpenedMouse mouse;
    if (!plugged) {
      mouse.problem = problem;
      return mouse;
    }
    auto port = std::make_unique<ScriptedPort>(trace, ReportLengths{9, 33, 33});
    port->featureReplies = featureReplies;
    mouse.command = std::move(port);
    return mouse;
  }

  bool plugged = true;
  std::string problem;  // why an unplugged mouse could not be opened, if seen
  int findCalls = 0;
  std::shared_ptr<Trace> trace = std::make_shared<Trace>();
  std::deque<std::vector<std::uint8_t>> featureReplies;
};

}  // namespace vortal::testing
