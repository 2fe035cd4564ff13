// vortalctl's commands as a table: each command is a small function of a
// session, with the forms and texts its usage shows. The usage text is built
// from the table and the setting names, so the two cannot part.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/ctl_session.h"

namespace vortal {

struct CtlForm {
  std::string_view synopsis;  // "set NAME VALUE..."
  std::string_view summary;   // what it does; '\n' starts a continued line
};

struct CtlCommand {
  std::string_view name;
  std::vector<CtlForm> forms;
  bool takesOperands = false;
  bool changesSetup = false;  // --apply belongs to it
  bool takesCount = false;    // --count belongs to it
  int (*run)(CtlSession&) = nullptr;
};

// The groups, each in its own file.
std::vector<CtlCommand> SetupCommands();  // get, set, names, export, import
std::vector<CtlCommand> MacroCommands();  // macro, encode-macros
std::vector<CtlCommand> MouseCommands();  // apply, show, listen, sensor

// Every command, in the order the usage lists them.
std::vector<CtlCommand> AllCommands();
const CtlCommand* FindCommand(const std::vector<CtlCommand>& commands, std::string_view name);
std::string UsageText(const std::vector<CtlCommand>& commands);

}  // namespace vortal
