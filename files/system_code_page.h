// Reads and writes ANSI profile files in the system's own code page, as the
// Windows profile functions do (Windows-1252 elsewhere).
#pragma once

namespace vortal {

// Call once at start-up, before any file is read. Does nothing off Windows.
void InstallSystemCodePage();

}  // namespace vortal
