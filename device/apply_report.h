// What an Apply did: how each of its commands went, the macro slots the
// mouse read back other than they were sent, and how config.bin and the
// button texts were saved. "Applied" is said only when the mouse took everything.
#pragma once

#include <cstdint>
#include <vector>

#include "device/transport.h"
#include "settings/settings_file.h"

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
  // A switch found the mouse holding all of it already and sent nothing.
  bool alreadyHeld = false;
  std::vector<int> macroSlotsReadBackWrong;  // 1 to 12
  SaveResult settingsFile;                  // config.bin
  bool paneTextsSaved = true;               // the button texts, when asked to

  bool AllCommandsWent() const {
    for (const CommandOutcome& c : commands)
      if (c.result != CommandResult::kOk) return false;
    return true;
  }
  bool Applied() const {
    return sensorKnown && (alreadyHeld || !commands.empty()) && AllCommandsWent() && macroSlotsReadBackWrong.empty();
  }
};

}  // namespace vortal
