// The state log that end-to-end checks of the window wait on: only under the
// virtual mouse, every line whole, the window's visibility told on changes.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/state_log.h"
#include "files/file_io.h"
#include "support/temp_dir.h"
#include "ui/window/main_window_model.h"

namespace vortal {
namespace {

std::string ReadText(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

TEST(StateLogTest, IsKeptOnlyUnderTheVirtualMouse) {
  struct Case {
    const char* virtualMouse;
    const char* stateLog;
    std::string path;
  } cases[] = {
      {"C:\\mouse", "C:\\state.log", "C:\\state.log"},
      {nullptr, "C:\\state.log", ""},  // a real mouse
      {"", "C:\\state.log", ""},
      {"C:\\mouse", nullptr, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StateLogPath(c.virtualMouse, c.stateLog), c.path)
        << (c.virtualMouse ? c.virtualMouse : "unset") << " / " << (c.stateLog ? c.stateLog : "unset");
  }
  StateLog none{""};
  EXPECT_FALSE(none.enabled());
  none.Write("ready");  // goes nowhere, and nothing fails
}

TEST(StateLogTest, AppendsWholeLinesToWhatIsThere) {
  testing::TempDir dir;
  const std::string path = dir.File("state.log");
  {
    StateLog earlier(path);
    earlier.Write("ready");
  }
  StateLog log(path);
  ASSERT_TRUE(log.enabled());
  log.Write("message opened", "line one\r\nline two");
  log.WriteLines(RectLine("ok", {513, 609, 618, 630}) + RectLine("apply", {617, 609, 722, 630}));
  // A reader sees each line as soon as it is written.
  EXPECT_EQ(ReadText(path),
            "ready\nmessage opened line one\\nline two\nrect ok 513 609 618 630\n"
            "rect apply 617 609 722 630\n");
}

TEST(StateLogTest, LinesFromTwoThreadsNeverInterleave) {
  testing::TempDir dir;
  const std::string path = dir.File("state.log");
  StateLog log(path);
  const std::string a(20000, 'a'), b(20000, 'b');
  auto writer = [&log](const std::string& text) {
    for (int i = 0; i < 50; ++i) log.Write("balloon", text);
  };
  std::thread first(writer, a), second(writer, b);
  first.join();
  second.join();
  std::istringstream lines(ReadText(path));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_TRUE(line == "balloon " + a || line == "balloon " + b) << "line " << count << " is mixed";
  }
  EXPECT_EQ(count, 100);
}

TEST(StateLogTest, TellsTheWindowAndItsPictureOnlyWhenTheyChange) {
  testing::TempDir dir;
  const std::string path = dir.File("state.log");
  StateLog log(path);
  log.WindowState(false, kBasicPage);  // the start-up hiding
  log.Painted();                       // a hidden window's paint is not the picture shown
  log.WindowState(true, kBasicPage);
  log.Painted();
  log.Painted();
  log.WindowState(true, kBasicPage);
  log.WindowState(true, kAdvancedPage);
  log.WindowState(false, kNoPage);
  log.WindowState(false, kAdvancedPage);
  log.WindowState(true, kAdvancedPage);
  log.Painted();
  // The time from the show to the paint and the process's memory, their
  // figures left out.
  const std::string text = std::regex_replace(
      std::regex_replace(ReadText(path), std::regex("memory [1-9][0-9]*\n"), "memory\n"),
      std::regex("paint ms [0-9]+\\.[0-9]\n"), "paint ms\n");
  EXPECT_EQ(text,
            "window hidden\nmemory\nwindow shown basic\nwindow painted\npaint ms\nmemory\n"
            "page advanced\nwindow hidden\nmemory\nwindow shown advanced\nwindow painted\n"
            "paint ms\nmemory\n");
}

}  // namespace
}  // namespace vortal
#endif
