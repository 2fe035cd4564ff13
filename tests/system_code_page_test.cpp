#include <gtest/gtest.h>

#include "files/profile_file.h"
#include "files/text_encoding.h"
#include "files/system_code_page.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

// With the system's code page in place, an ANSI file written by an older
// tool keeps working and any text written into it still reads back whole.
TEST(SystemCodePage, AnsiFilesKeepEveryTextWritten) {
  InstallSystemCodePage();
  struct Case {
    const char* initial;  // file as another tool left it
    const char* section;
    const char* value;
  } cases[] = {
      {"[Skins]\r\nPath=Default\r\n", "Setting-EN", "Left Click"},
      {"[Skins]\r\nPath=Default\r\n", "Setting-CHS", "\xE5\xB7\xA6\xE9\x94\xAE"},  // 左键
      {"[A]\r\nk=caf\xE9\r\n", "B", "\xF0\x9F\x8E\xAE controller"},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    const std::string path = dir.Write("str.ini", c.initial);
    ASSERT_TRUE(ProfileWriteString(path, c.section, std::string_view("Item1"), std::string_view(c.value)));
    EXPECT_EQ(ProfileGetString(path, c.section, "Item1"), c.value) << c.value;
    EXPECT_EQ(ProfileGetString(path, "Skins", "Path", "none"),
              std::string(c.initial).find("Path=Default") != std::string::npos ? "Default" : "none");
  }
  SetAnsiCodePage({DecodeWindows1252, EncodeWindows1252});
}

}  // namespace
}  // namespace vortal
