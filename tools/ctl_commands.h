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
std::vector<CtlCommand> ProfileCommands();  // profile list, use, for

// Every command, in the order the usage lists them.
std::vector<CtlCommand> AllCommands();
const CtlCommand* FindCommand(const std::vector<CtlCommand>& commands, std::string_view name);
std::string UsageText(const std::vector<CtlCommand>& commands);

// The settings as the usage and the manual group them: the names, in runs,
// and what their values are.
struct SettingGroup {
  std::string names;        // "dpi.1 to dpi.4"
  std::string_view values;  // "on or off, and a DPI of the sensor or level=N"
};
std::vector<SettingGroup> SettingGroups();

inline constexpr std::string_view kCtlExamples[] = {
    "vortalctl set mode-a.button4 Fire Key key=A speed=30 times=5",
    "vortalctl set mode-b.button3 Combo Key modifier=Left Ctrl key1=C",
    "vortalctl --apply set dpi.2 on 1600",
    "vortalctl get dpi",
    "vortalctl macro set Reload \"R Dn, 50 ms, R Up\"",
    "vortalctl export ~/mouse/shooter.ini",
};

struct CtlExitCode {
  int code;
  std::string_view meaning;
};
inline constexpr CtlExitCode kCtlExitCodes[] = {
    {0, "done"},
    {1, "the mouse was not found, did not answer or went away"},
    {2, "unknown command or option, or a value not accepted (nothing written)"},
    {3, "a file is missing, has the wrong size or could not be written"},
};

}  // namespace vortal
