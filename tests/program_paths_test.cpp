#include <gtest/gtest.h>

#include "settings/program_paths.h"

namespace vortal {
namespace {

TEST(DerivePaths, ReplacesTheExecutableNameOrFallsBackToItsFolder) {
  struct Case {
    const char* module;
    ProgramPaths expected;
  } cases[] = {
      {"C:\\Games\\Vortal\\Vortal.exe",
       {"C:\\Games\\Vortal\\config.bin", "C:\\Games\\Vortal\\record.ini",
        "C:\\Games\\Vortal\\str.ini", "C:\\Games\\Vortal\\", "C:\\Games\\Vortal\\Profiles"}},
      // Every occurrence is replaced, as plain text.
      {"D:\\Vortal.exe.d\\Vortal.exe",
       {"D:\\config.bin.d\\config.bin", "D:\\record.ini.d\\record.ini", "D:\\str.ini.d\\str.ini",
        "D:\\.d\\", "D:\\Profiles.d\\Profiles"}},
      {"/opt/vortal/Vortal.exe",
       {"/opt/vortal/config.bin", "/opt/vortal/record.ini", "/opt/vortal/str.ini", "/opt/vortal/", "/opt/vortal/Profiles"}},
      // A renamed executable never becomes its own settings file.
      {"C:\\Tools\\mouse.exe",
       {"C:\\Tools\\config.bin", "C:\\Tools\\record.ini", "C:\\Tools\\str.ini", "C:\\Tools\\", "C:\\Tools\\Profiles"}},
      {"C:\\Tools\\vortal.exe",
       {"C:\\Tools\\config.bin", "C:\\Tools\\record.ini", "C:\\Tools\\str.ini", "C:\\Tools\\", "C:\\Tools\\Profiles"}},
      {"/usr/local/bin/vortalctl",
       {"/usr/local/bin/config.bin", "/usr/local/bin/record.ini", "/usr/local/bin/str.ini",
        "/usr/local/bin/", "/usr/local/bin/Profiles"}},
      {"vortalctl", {"config.bin", "record.ini", "str.ini", "", "Profiles"}},
  };
  for (const Case& c : cases) {
    ProgramPaths p = DerivePaths(c.module);
    EXPECT_EQ(p.settingsFile, c.expected.settingsFile) << c.module;
    EXPECT_EQ(p.macroStore, c.expected.macroStore) << c.module;
    EXPECT_EQ(p.skinSettings, c.expected.skinSettings) << c.module;
    EXPECT_EQ(p.programDir, c.expected.programDir) << c.module;
    EXPECT_EQ(p.profilesDir, c.expected.profilesDir) << c.module;
  }
}

}  // namespace
}  // namespace vortal
