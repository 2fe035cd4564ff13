// Saving the program's files when the file system does not cooperate: the
// file replaced by a folder or deleted after start-up, a missing folder, a
// name too long, a full disk, a read-only or locked file, and a process
// killed in the middle of a save. Each save reports its failure, leaves the
// old file exactly as it was (no temporary file left beside it) and the
// settings in memory as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "macro/macro_changes.h"
#include "macro/macro_store.h"
#include "files/file_io.h"
#include "settings/settings_file.h"
#include "support/settings_records.h"
#include "support/temp_dir.h"
#include "settings/skin_settings.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vortal {
namespace {

namespace fs = std::filesystem;
using testing::ConfigBytes;
using testing::ExpectAppliedConfig;
using testing::PatternRecord;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;




PaneTexts SamplePaneTexts() {
  PaneTexts texts;
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int button = 0; button < kPaneButtonCount; ++button) {
      texts[mode][button] = "Button text " + std::to_string(mode) + "-" + std::to_string(button);
    }
  }
  return texts;
}

// One way of saving one of the program's files.
struct Saver {
  const char* what;
  const char* fileName;
  // What the file holds before the save (when the fault leaves a file there).
  std::function<Bytes()> oldContents;
  // Runs the save; returns its result. `problem` is config.bin's text for it.
  std::function<bool(const std::string& path, std::string& problem)> save;
  bool isConfig = false;
};

std::vector<Saver> Savers() {
  return {
      {"config.bin", "config.bin", [] { return ConfigBytes(0, PatternRecord(1)); },
       [](const std::string& path, std::string& problem) {
         SettingsState state;
         state.working = PatternRecord(2);
         state.applied = PatternRecord(3);
         const SettingsState before = state;
         const SaveResult result = SaveSettings(path, state);
         problem = SaveProblemText(result);
         const bool saved = result.saved();
         // A failed save changes nothing in memory.
         if (!saved) {
           EXPECT_EQ(std::memcmp(state.working.bytes(), before.working.bytes(), kSettingsRecordSize), 0);
           EXPECT_EQ(std::memcmp(state.applied.bytes(), before.applied.bytes(), kSettingsRecordSize), 0);
           EXPECT_EQ(state.firstRunFlag, before.firstRunFlag);
         }
         return saved;
       },
       true},
      {"str.ini pane texts", "str.ini",
       [] {
         const std::string text = "[Skins]\r\nPath=Default\r\n[Setting-EN]\r\nItem1=Left\r\n";
         return Bytes(text.begin(), text.end());
       },
       [](const std::string& path, std::string&) {
         return SavePaneTexts(path, "Setting-EN", SamplePaneTexts());
       }},
      {"str.ini skin choice", "str.ini",
       [] {
         const std::string text = "[Skins]\r\nPath=Default\r\nRColor=1\r\n";
         return Bytes(text.begin(), text.end());
       },
       [](const std::string& path, std::string&) {
         return SaveSkinChoice(path, "Light" + std::string(600, 'x'), {10, 20, 30});
       }},
      {"record.ini macro", "record.ini",
       [] {
         const std::string text = "[Copy]\r\nItemCount=1\r\nItem0=C   Dn\r\n";
         return Bytes(text.begin(), text.end());
       },
       [](const std::string& path, std::string&) {
         std::vector<std::string> lines;
         for (int i = 0; i < 60; ++i) lines.push_back(i % 2 ? "A   Up" : "A   Dn");
         return WriteMacro(path, "Paste", lines);
       }},
  };
}

void ExpectFile(const std::string& path, const Bytes& expected, const std::string& what) {
  EXPECT_EQ(testing::ReadWholeBytes(path), expected) << what << ": the old file is intact";
}

// A path where no file can be saved, and what stands there afterwards.
struct PathFault {
  const char* what;
  std::function<std::string(const TempDir& dir, const std::string& fileName)> make;
  bool configExists;  // config.bin's existence check passes
};

std::vector<PathFault> PathFaults() {
  return {
      {"folder in place of the file",
       [](const TempDir& dir, const std::string& name) {
         dir.Write(name + "/inside.txt", "kept");
         return dir.File(name);
       },
       true},
      {"missing folder",
       [](const TempDir& dir, const std::string& name) { return dir.File("missing/" + name); }, false},
      {"a file where the folder should be",
       [](const TempDir& dir, const std::string& name) {
         dir.Write("plain", "plain");
         return dir.File("plain/" + name);
       },
       false},
      {"name too long",
       [](const TempDir& dir, const std::string& name) { return dir.File(std::string(300, 'n') + name); },
       false},
  };
}

TEST(FaultsTest, SavingWhereNoFileCanBeWrittenFailsAndChangesNothing) {
  for (const auto& saver : Savers()) {
    for (const auto& fault : PathFaults()) {
      const std::string what = std::string(saver.what) + ", " + fault.what;
      TempDir dir;
      const std::string path = fault.make(dir, saver.fileName);
      const auto before = dir.List();
      const bool wasFolder = IsDirectory(path);
      std::string problem;
      EXPECT_FALSE(saver.save(path, problem)) << what;
      EXPECT_EQ(dir.List(), before) << what << ": nothing left beside it";
      EXPECT_EQ(IsDirectory(path), wasFolder) << what;
      if (wasFolder) {
        EXPECT_TRUE(PathExists(path + "/inside.txt")) << what;
      }
      if (!saver.isConfig) continue;
      if (fault.configExists) {
        EXPECT_EQ(problem.rfind("Error Code is: ", 0), 0u) << what;
        EXPECT_NE(problem, "Error Code is: 0 \n") << what;
        EXPECT_TRUE(problem.ends_with(" \n")) << what;
      } else {
        EXPECT_EQ(problem, kSettingsFileMissingText) << what;
      }
    }
  }
}

TEST(FaultsTest, ConfigDeletedOrReplacedAfterStartUpIsReportedAndNotRecreated) {
  struct Case {
    const char* what;
    std::function<void(const std::string& path)> change;
    bool folderAfter;
    bool errorCode;
  };
  const Case cases[] = {
      {"deleted", [](const std::string& path) { fs::remove(path); }, false, false},
      {"replaced by a folder",
       [](const std::string& path) {
         fs::remove(path);
         fs::create_directory(path);
       },
       true, true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.Write("config.bin", ConfigBytes(1, PatternRecord(4)));
    SettingsState state;
    ASSERT_EQ(LoadSettings(path, state), LoadResult::kLoaded);
    state.Snapshot();
    c.change(path);
    state.working.reportRate = 3;
    const SettingsState before = state;
    const SaveResult result = SaveSettings(path, state);
    EXPECT_FALSE(result.saved()) << c.what;
    EXPECT_EQ(IsDirectory(path), c.folderAfter) << c.what;
    EXPECT_EQ(PathExists(path), c.folderAfter) << c.what << ": never created";
    EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0) << c.what;
    EXPECT_EQ(result.status, c.errorCode ? SaveStatus::kWriteFailed : SaveStatus::kMissing) << c.what;
  }
}

#ifndef _WIN32

// Runs `body` in a child process whose files may grow to `limit` bytes at
// most, as on a nearly full disk; returns the child's exit code.
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    const rlimit lim{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(FaultsTest, FullDiskLeavesTheOldFileWholeAndReportsTheError) {
  for (const auto& saver : Savers()) {
    TempDir dir;
    const Bytes old = saver.oldContents();
    const std::string path = dir.Write(saver.fileName, old);
    const auto before = dir.List();
    // Exit codes: 0 refused with the right message, 1 reported success, 2 wrong message.
    const int code = RunWithFileSizeLimit(64, [&] {
      std::string problem;
      if (saver.save(path, problem)) return 1;
      if (!saver.isConfig) return 0;
      return problem == "Error Code is: " + std::to_string(EFBIG) + " \n" ? 0 : 2;
    });
    EXPECT_EQ(code, 0) << saver.what;
    ExpectFile(path, old, saver.what);
    EXPECT_EQ(dir.List(), before) << saver.what << ": no temporary file left";
  }
}

TEST(FaultsTest, MacroDeleteOnAFullDiskKeepsTheMacroListed) {
  TempDir dir;
  std::string text = "[Copy]\r\nItemCount=1\r\nItem0=C   Dn\r\n[Paste]\r\nItemCount=0\r\n";
  text += std::string(200, ';') + "\r\n";  // bigger than the limit
  const Bytes old(text.begin(), text.end());
  const std::string path = dir.Write("record.ini", old);
  const int code = RunWithFileSizeLimit(64, [&] {
    SettingsRecord record{};
    const MacroChange change = RemoveMacro(path, record, ListMacroNames(path), "Copy");
    return change.problem == MacroChangeProblem::kNotDeleted ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  ExpectFile(path, old, "record.ini");
}

// A process killed at a random moment while saving config.bin again and
// again: the file is always exactly the old or the new version.
TEST(FaultsTest, KilledDuringSaveLeavesOneWholeVersion) {
  TempDir dir;
  const Bytes versionA = ConfigBytes(1, PatternRecord(10));
  const Bytes versionB = ConfigBytes(1, PatternRecord(20));
  const std::string path = dir.Write("config.bin", versionA);
  std::mt19937 random(12345);
  for (int round = 0; round < 25; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      SettingsState state;
      for (unsigned i = 0;; ++i) {
        state.working = PatternRecord(i % 2 ? 10 : 20);
        SaveSettings(path, state);
      }
    }
    ::usleep(std::uniform_int_distribution<unsigned>(200, 20000)(random));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const Bytes bytes = dir.ReadBytes("config.bin");
    EXPECT_TRUE(bytes == versionA || bytes == versionB) << "round " << round << ": " << bytes.size() << " bytes";
    // Temporary files of the killed save may stay; the next start never reads them.
    for (const auto& name : dir.List()) {
      if (name != "config.bin") fs::remove(dir.path() / name);
    }
  }
}

#else  // _WIN32

// A read-only file, and a file another program holds open without sharing.
TEST(FaultsTest, ReadOnlyOrLockedFileIsLeftAsItWas) {
  for (const auto& saver : Savers()) {
    for (bool locked : {false, true}) {
      const std::string what = std::string(saver.what) + (locked ? ", locked" : ", read-only");
      TempDir dir;
      const Bytes old = saver.oldContents();
      const std::string path = dir.Write(saver.fileName, old);
      const std::wstring wide = fs::path(path).wstring();
      HANDLE lock = INVALID_HANDLE_VALUE;
      if (locked) {
        lock = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE) << what;
      } else {
        ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY)) << what;
      }
      const auto before = dir.List();
      std::string problem;
      EXPECT_FALSE(saver.save(path, problem)) << what;
      if (locked) CloseHandle(lock);
      SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
      ExpectFile(path, old, what);
      EXPECT_EQ(dir.List(), before) << what << ": no temporary file left";
      if (saver.isConfig) {
        EXPECT_EQ(problem.rfind("Error Code is: ", 0), 0u) << what;
      }
    }
  }
}

#endif

}  // namespace
}  // namespace vortal
