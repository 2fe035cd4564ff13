// What an Apply did: how each of its commands went, the macro slots the
// mouse read back other than they were sent, and whether config.bin was
// saved. "Applied" is said only when the mouse took everything.
#pragma once

#include <cstdint>
#include <vector>

#include "device/transport.h"

namespace vortal {

struct CommandOutcome {
  std::uint8_t opcode = 0;
  int index = 0;  // the part, slot or matrix; 0 for commands without one
  CommandResult result = CommandResult::kOk;
};

struct ApplyReport {
  // False: the mouse did not say which sensor it has, so its DPI codes are
  // not known and nothing was sent.
  bool sensorKnown = true;
  std::vector<CommandOutcome> commands;     // in the order they were sent
  std::vector<int> macroSlotsReadBackWrong;  // 1 to 12
  bool settingsSaved = false;               // config.bin

  bool AllCommandsWent() const {
    for (const CommandOutcome& c : commands)
      if (c.result != CommandResult::kOk) return false;
    return true;
  }
  bool Applied() const {
    return sensorKnown && !commands.empty() && AllCommandsWent() && macroSlotsReadBackWrong.empty();
  }
};

}  // namespace vortal
