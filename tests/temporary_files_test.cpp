#include "files/temporary_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "files/file_io.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

unsigned long OwnPid() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(::getpid());
#endif
}

// Above every system's largest process id: never a running process.
constexpr unsigned long kGonePid = 99999999;

TEST(TemporaryFilesTest, OnlyTheSavesOwnTemporariesAreRecognised) {
  struct Case {
    const char* candidate;
    std::optional<unsigned long> owner;
  };
  const std::vector<Case> cases = {
      {"config.bin.1234-0.tmp", 1234},
      {"config.bin.1234-aZ09xy.tmp", 1234},
      {"config.bin.7-1.tmp", 7},
      {"config.bin", std::nullopt},
      {"config.bin.tmp", std::nullopt},
      {"config.bin.-1.tmp", std::nullopt},
      {"config.bin.1234-.tmp", std::nullopt},
      {"config.bin.1234.tmp", std::nullopt},
      {"config.bin.12a4-1.tmp", std::nullopt},
      {"config.bin.1234-1.tmp.keep", std::nullopt},
      {"config.bin.1234-a.b.tmp", std::nullopt},
      {"config.bin.12345678901-1.tmp", std::nullopt},
      {"Config.bin.1234-1.tmp", std::nullopt},
      {"xconfig.bin.1234-1.tmp", std::nullopt},
      {"config.binx1234-1.tmp", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TemporaryFileOwner("config.bin", c.candidate), c.owner) << c.candidate;
  }
  EXPECT_EQ(TemporaryFileOwner("record.ini", TemporaryPrefix("record.ini", 42) + "0.tmp"), 42u);
}

TEST(TemporaryFilesTest, ASaveRemovesWhatAKilledSaveLeftAndNothingElse) {
  testing::TempDir dir;
  const std::string gone = TemporaryPrefix("config.bin", kGonePid);
  const std::string mine = TemporaryPrefix("config.bin", OwnPid());
  const std::vector<std::string> names = {
      gone + "0.tmp", gone + "Xy12ab.tmp", mine + "0.tmp", "config.bin.tmp",
      TemporaryPrefix("str.ini", kGonePid) + "0.tmp", gone + "0.tmp.keep", "config.bin",
  };
  for (const std::string& name : names) dir.Write(name, "old");
  ASSERT_EQ(WriteFileAtomically(dir.File("config.bin"), {1, 2, 3}), 0);

  std::vector<std::string> expected = {
      mine + "0.tmp",  // this process may be saving it right now
      "config.bin.tmp", TemporaryPrefix("str.ini", kGonePid) + "0.tmp", gone + "0.tmp.keep",
      "config.bin",
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir.List(), expected);
  EXPECT_EQ(dir.ReadBytes("config.bin"), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace vortal
