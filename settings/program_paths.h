// Where the program's files live: beside the executable, found by rewriting
// the executable's own path.
#pragma once

#include <string>

namespace vortal {

struct ProgramPaths {
  std::string settingsFile;  // config.bin
  std::string macroStore;    // record.ini
  std::string skinSettings;  // str.ini
  std::string programDir;    // with its trailing separator
  std::string profilesDir;   // "Profiles": the profiles of programs (edit/profile.h)
};

// Every "Vortal.exe" in the module path (case-sensitive) is replaced by the
// file name. A module path without it (a renamed executable) would turn every
// path into the executable itself, so the folder of the executable is used
// instead, with the same file names.
ProgramPaths DerivePaths(const std::string& modulePath);

}  // namespace vortal
