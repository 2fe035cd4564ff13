#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/virtual_mouse.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::CommandReport;
using testing::HexBytes;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// A data report of `count` bytes counting up from `first`.
Bytes CountingReport(std::uint8_t first, std::size_t count) {
  Bytes report(33, 0);
  for (std::size_t i = 0; i < count && i < 32; ++i) report[1 + i] = static_cast<std::uint8_t>(first + i);
  return report;
}

// ---- memory.bin

VirtualMouseMemory PatternMemory() {
  VirtualMouseMemory memory;
  memory.reportRate = 4;
  memory.sensorSettings = {2, 0x11, 0x22, 0x33};
  for (std::size_t i = 0; i < memory.configBlock.size(); ++i) memory.configBlock[i] = static_cast<std::uint8_t>(0x40 + i);
  memory.ledState = {3, 7, 3};
  memory.dpiBlock = {1, 2, 3, 4, 0x80, 0x80, 0x80, 0x80};
  for (int k = 0; k < 4; ++k) memory.keyMatrices[k].fill(static_cast<std::uint8_t>(0xA0 + k));
  for (int m = 0; m < 12; ++m) memory.macroSlots[m].fill(static_cast<std::uint8_t>(m + 1));
  return memory;
}

TEST(VirtualMouseTest, MemoryFileHasTheDocumentedLayout) {
  const Bytes bytes = EncodeMemory(PatternMemory());
  ASSERT_EQ(bytes.size(), 1869u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "VTLMOUSE");
  struct Field {
    std::size_t offset;
    std::uint8_t value;
  };
  const Field fields[] = {{8, 1},      {9, 4},       {10, 2},      {13, 0x33},  {14, 0x40},
                          {65, 0x40 + 51}, {66, 3},  {67, 7},      {69, 1},     {76, 0x80},
                          {77, 0xA0},  {140, 0xA0},  {141, 0xA1},  {332, 0xA3}, {333, 1},
                          {461, 2},    {1868, 12}};
  for (const Field& f : fields) EXPECT_EQ(bytes[f.offset], f.value) << "offset " << f.offset;
  ASSERT_TRUE(DecodeMemory(bytes).has_value());
  EXPECT_EQ(*DecodeMemory(bytes), PatternMemory());
}

TEST(VirtualMouseTest, DamagedMemoryFilesAreRefused) {
  const Bytes good = EncodeMemory(PatternMemory());
  struct Case {
    const char* what;
    Bytes bytes;
  };
  Bytes shorter(good.begin(), good.end() - 1), longer = good, badMagic = good, badVersion = good;
  longer.push_back(0);
  badMagic[0] = 'X';
  badVersion[8] = 2;
  const Case cases[] = {{"empty", {}}, {"one byte short", shorter}, {"one byte long", longer},
                        {"other magic", badMagic}, {"other version", badVersion}};
  for (const Case& c : cases) EXPECT_FALSE(DecodeMemory(c.bytes).has_value()) << c.what;
}

// ---- firmware model

struct Exchange {
  VirtualMouseFirmware firmware;
  Bytes GetFeature() {
    Bytes report(9, 0xCC);
    firmware.GetFeature(report.data(), report.size());
    return report;
  }
  std::vector<Bytes> Inputs() {
    std::vector<Bytes> reports;
    for (;;) {
      Bytes report(33, 0);
      if (!firmware.Input(report.data(), report.size())) return reports;
      reports.push_back(report);
    }
  }
  void Write(CommandFrame frame, const std::vector<Bytes>& outputs, bool goodChecksum = true) {
    Bytes command = CommandReport(frame);
    if (!goodChecksum) command[8] ^= 1;
    firmware.SetFeature(command.data(), command.size());
    for (const Bytes& output : outputs) firmware.Output(output.data(), output.size());
  }
};

TEST(VirtualMouseTest, FirmwareStoresWritesAndAnswersReadsFromMemory) {
  Exchange x;
  x.Write(MakeFrame(0x01, 8), {});
  x.Write(MakeFrame(0x03, 1, 2, 3, 4), {});
  x.Write(MakeFrame(0x0D, 2, 5, 3), {});
  x.Write(MakeFrame(0x10, 1, 24), {CountingReport(0x30, 24)});
  x.Write(MakeFrame(0x10, 2, 4), {CountingReport(0x60, 4)});
  x.Write(MakeFrame(0x11, 4, 8), {CountingReport(0x21, 8)});
  x.Write(MakeFrame(0x12, 3, 64), {CountingReport(0x00, 32), CountingReport(0x20, 32)});
  x.Write(MakeFrame(0x13, 12, 128), {CountingReport(0, 32), CountingReport(32, 32), CountingReport(64, 32), CountingReport(96, 32)});

  const VirtualMouseMemory& m = x.firmware.memory();
  EXPECT_EQ(m.reportRate, 8);
  EXPECT_EQ(m.sensorSettings, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(m.ledState, (std::array<std::uint8_t, 3>{2, 5, 3}));
  EXPECT_EQ(m.configBlock[24], 0x30);
  EXPECT_EQ(m.configBlock[47], 0x30 + 23);
  EXPECT_EQ(m.configBlock[48], 0x60);
  EXPECT_EQ(m.configBlock[51], 0x63);
  EXPECT_EQ(m.configBlock[0], 0);  // part 0 untouched
  EXPECT_EQ(m.dpiBlock, (std::array<std::uint8_t, 8>{0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28}));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(m.keyMatrices[2][i], i);
  for (int i = 0; i < 128; ++i) ASSERT_EQ(m.macroSlots[11][i], i);

  struct Read {
    CommandFrame command;
    Bytes reply;
    std::vector<Bytes> inputs;
  };
  const Read reads[] = {
      {MakeFrame(0x83), CommandReport(MakeFrame(0x83, 1, 2, 3, 4)), {}},
      {MakeFrame(0x90, 1), CommandReport(MakeFrame(0x90, 1, 24)), {CountingReport(0x30, 24)}},
      {MakeFrame(0x90, 2), CommandReport(MakeFrame(0x90, 2, 4)), {CountingReport(0x60, 4)}},
      {MakeFrame(0x90, 0), CommandReport(MakeFrame(0x90, 0, 24)), {CountingReport(0, 0)}},
      {MakeFrame(0x90, 3), CommandReport(MakeFrame(0x90, 3, 0)), {}},
      {MakeFrame(0x93, 12), CommandReport(MakeFrame(0x93, 12, 128)),
       {CountingReport(0, 32), CountingReport(32, 32), CountingReport(64, 32), CountingReport(96, 32)}},
      {MakeFrame(0x93, 0), CommandReport(MakeFrame(0x93, 0, 0)), {}},
      {MakeFrame(0x93, 13), CommandReport(MakeFrame(0x93, 13, 0)), {}},
  };
  for (const Read& r : reads) {
    const Bytes command = CommandReport(r.command);
    x.firmware.SetFeature(command.data(), command.size());
    EXPECT_EQ(HexBytes(x.GetFeature()), HexBytes(r.reply)) << HexBytes(command);
    EXPECT_EQ(x.Inputs(), r.inputs) << HexBytes(command);
  }
}

TEST(VirtualMouseTest, FirmwareIgnoresWhatItCannotTrust) {
  struct Case {
    const char* what;
    CommandFrame frame;
    std::vector<Bytes> outputs;
    bool goodChecksum;
  };
  const Case cases[] = {
      {"bad checksum", MakeFrame(0x01, 8), {}, false},
      {"bad checksum with data", MakeFrame(0x12, 1, 64), {CountingReport(1, 32), CountingReport(1, 32)}, false},
      {"unknown opcode", MakeFrame(0x05, 8), {}, true},
      {"unknown read opcode", MakeFrame(0x85, 1), {}, true},
      {"no such part", MakeFrame(0x10, 3, 24), {CountingReport(1, 24)}, true},
      {"wrong part length", MakeFrame(0x10, 2, 24), {CountingReport(1, 24)}, true},
      {"matrix 0", MakeFrame(0x12, 0, 64), {CountingReport(1, 32), CountingReport(1, 32)}, true},
      {"matrix 5", MakeFrame(0x12, 5, 64), {CountingReport(1, 32), CountingReport(1, 32)}, true},
      {"slot 13", MakeFrame(0x13, 13, 128), {CountingReport(1, 32), CountingReport(1, 32), CountingReport(1, 32), CountingReport(1, 32)}, true},
      {"stage count 3", MakeFrame(0x11, 3, 8), {CountingReport(1, 8)}, true},
      {"output without a command", MakeFrame(0x01, 0), {CountingReport(1, 32)}, true},
  };
  for (const Case& c : cases) {
    Exchange x;
    x.firmware.SetMemory(PatternMemory());
    x.Write(c.frame, c.outputs, c.goodChecksum);
    VirtualMouseMemory expected = PatternMemory();
    if (std::string(c.what) == "output without a command") expected.reportRate = 0;
    EXPECT_EQ(x.firmware.memory(), expected) << c.what;
    EXPECT_EQ(HexBytes(x.GetFeature()), HexBytes(Bytes(9, 0))) << c.what << ": no reply";
  }
  Exchange x;
  const Bytes shortReport = {0, 0x01, 8, 0, 0, 0, 0, 0};  // 8 bytes: no room for the checksum
  x.firmware.SetFeature(shortReport.data(), shortReport.size());
  EXPECT_EQ(x.firmware.memory().reportRate, 0);
}

// ---- the backend and its folder

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return condition();
}

TEST(VirtualMouseTest, FreshMemoryTakesTheSensorTypeAndPersistsBetweenRuns) {
  TempDir dir;
  const std::string folder = dir.File("mouse/nested");
  {
    VirtualMouseBackend mouse(folder, 3);
    ASSERT_TRUE(mouse.Usable());
    EXPECT_EQ(mouse.Memory().sensorSettings[0], 3);
    OpenedMouse opened = mouse.FindDevice();
    ASSERT_TRUE(opened.command && opened.events);
    const Bytes rate = CommandReport(MakeFrame(0x01, 4));
    EXPECT_TRUE(opened.command->SetFeature(rate.data(), rate.size()));
  }
  const auto saved = DecodeMemory(testing::ReadWholeBytes(folder + "/memory.bin"));
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->reportRate, 4);

  VirtualMouseBackend again(folder, 0);  // the sensor type of a fresh memory only
  EXPECT_EQ(again.Memory().sensorSettings[0], 3);
  EXPECT_EQ(again.Memory().reportRate, 4);
}

TEST(VirtualMouseTest, DamagedMemoryFileIsReplacedByAFreshMemory) {
  for (const Bytes& damaged : {Bytes{}, Bytes(1869, 0xFF), Bytes(5000, 0)}) {
    TempDir dir;
    dir.Write("memory.bin", damaged);
    VirtualMouseBackend mouse(dir.File(""), 2);
    VirtualMouseMemory fresh;
    fresh.sensorSettings[0] = 2;
    EXPECT_EQ(mouse.Memory(), fresh);
    EXPECT_EQ(dir.ReadBytes("memory.bin"), EncodeMemory(fresh));
  }
}

TEST(VirtualMouseTest, FolderThatCannotBeCreatedFindsNoMouse) {
  TempDir dir;
  dir.Write("file", "x");
  VirtualMouseBackend mouse(dir.File("file/mouse"), 0);
  EXPECT_FALSE(mouse.Usable());
  EXPECT_FALSE(mouse.FindDevice().command);
}

TEST(VirtualMouseTest, TrafficLogShowsEveryReportWithItsTime) {
  TempDir dir;
  VirtualMouseBackend mouse(dir.File(""), 1);
  OpenedMouse opened = mouse.FindDevice();
  ASSERT_TRUE(opened.command);
  EXPECT_EQ(opened.command->Lengths().feature, 9u);
  EXPECT_EQ(opened.command->Lengths().input, 33u);
  EXPECT_EQ(opened.command->Lengths().output, 33u);
  EXPECT_EQ(opened.events->InputLength(), 8u);

  const Bytes read = CommandReport(MakeFrame(0x83));
  opened.command->SetFeature(read.data(), read.size());
  Bytes reply(9, 0);
  opened.command->GetFeature(reply.data(), reply.size());
  const Bytes write = CommandReport(MakeFrame(0x10, 2, 4));
  opened.command->SetFeature(write.data(), write.size());
  const Bytes data = CountingReport(0xF0, 4);
  opened.command->WriteOutput(data.data(), data.size());
  const Bytes readPart = CommandReport(MakeFrame(0x90, 2));
  opened.command->SetFeature(readPart.data(), readPart.size());
  opened.command->GetFeature(reply.data(), reply.size());
  Bytes input(33, 0);
  EXPECT_TRUE(opened.command->ReadInput(input.data(), input.size()));
  EXPECT_FALSE(opened.command->ReadInput(input.data(), input.size()));  // nothing pending: not logged
  mouse.RunControlLine("event 7 2");
  Bytes event(40, 0);
  EXPECT_EQ(opened.events->ReadEvent(event.data(), event.size()), 8u);

  const std::vector<std::string> expected = {
      "SET_FEATURE 00 83 00 00 00 00 00 00 7C",
      "GET_FEATURE 00 83 01 00 00 00 00 00 7B",
      "SET_FEATURE 00 10 02 04 00 00 00 00 E9",
      "WRITE " + HexBytes(data),
      "SET_FEATURE 00 90 02 00 00 00 00 00 6D",
      "GET_FEATURE 00 90 02 04 00 00 00 00 69",
      "READ " + HexBytes(CountingReport(0xF0, 4)),
      "EVENT 06 07 00 02 00 00 00 00",
  };
  const std::vector<std::string> lines = dir.ReadLines("traffic.log");
  ASSERT_EQ(lines.size(), expected.size());
  const std::regex stamp(R"(^(\d+\.\d{6}) (.*)$)");
  double previous = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[i], match, stamp)) << lines[i];
    EXPECT_EQ(match[2].str(), expected[i]);
    const double seconds = std::stod(match[1].str());
    EXPECT_GE(seconds, previous);
    previous = seconds;
  }
}

// Collects change notices from the virtual mouse's thread.
struct Notices {
  void Attach(VirtualMouseBackend& mouse) {
    mouse.SetChangeListener([this](bool arrival, const std::string& name) {
      std::lock_guard lock(mutex);
      seen.push_back((arrival ? "arrival " : "removal ") + name);
    });
  }
  std::size_t Count() {
    std::lock_guard lock(mutex);
    return seen.size();
  }
  std::vector<std::string> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(seen, {});
  }
  std::mutex mutex;
  std::vector<std::string> seen;
};

TEST(VirtualMouseTest, ControlFileLinesRunOnceInOrderButNotThoseFromBefore) {
  TempDir dir;
  dir.Append("control", "unplug\nevent 5 1\n");  // left over from an earlier run
  VirtualMouseBackend mouse(dir.File(""), 0);
  OpenedMouse opened = mouse.FindDevice();
  ASSERT_TRUE(opened.events);

  std::vector<Bytes> events;
  std::thread listener([&] {
    for (;;) {
      Bytes report(40, 0);
      const std::size_t got = opened.events->ReadEvent(report.data(), report.size());
      if (got == 0) return;
      report.resize(got);
      events.push_back(report);
    }
  });
  dir.Append("control", "event 7 2\nevent 9 12\nbogus line\nevent 300 1\nevent 8\n");
  dir.Append("control", "event 8 1");  // not finished yet: must wait for its newline
  ASSERT_TRUE(WaitFor([&] { return dir.ReadLines("traffic.log").size() >= 2; }));
  mouse.PollControlFile();  // a poll that finds the unfinished line leaves it
  EXPECT_EQ(dir.ReadLines("traffic.log").size(), 2u) << "an unfinished line was run";
  dir.Append("control", "\r\n");
  ASSERT_TRUE(WaitFor([&] {
    return dir.ReadLines("traffic.log").size() >= 3;
  }));
  opened.events->Cancel();
  listener.join();
  EXPECT_EQ(events, (std::vector<Bytes>{{6, 7, 0, 2, 0, 0, 0, 0}, {6, 9, 0, 12, 0, 0, 0, 0}, {6, 8, 0, 1, 0, 0, 0, 0}}));
  EXPECT_TRUE(mouse.FindDevice().command) << "the old unplug line was run";
}

TEST(VirtualMouseTest, UnplugAndPlugBehaveLikeTheSystem) {
  TempDir dir;
  VirtualMouseBackend mouse(dir.File(""), 0);
  Notices notices;
  notices.Attach(mouse);
  OpenedMouse before = mouse.FindDevice();
  ASSERT_TRUE(before.command && before.events);

  std::atomic<std::size_t> blockedResult{99};
  std::thread listener([&] {
    Bytes report(40, 0);
    blockedResult = before.events->ReadEvent(report.data(), report.size());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  dir.Append("control", "unplug\n");
  ASSERT_TRUE(WaitFor([&] { return notices.Count() >= 2; }));
  listener.join();
  EXPECT_EQ(blockedResult.load(), 0u);
  for (const std::string& notice : notices.Take()) {
    EXPECT_EQ(notice.rfind("removal ", 0), 0u) << notice;
    EXPECT_NE(notice.find("VID_04D9&PID_A09F"), std::string::npos) << notice;
  }
  EXPECT_FALSE(mouse.FindDevice().command);
  const Bytes rate = CommandReport(MakeFrame(0x01, 2));
  Bytes buffer(33, 0);
  EXPECT_FALSE(before.command->SetFeature(rate.data(), rate.size()));
  EXPECT_FALSE(before.command->GetFeature(buffer.data(), 9));
  EXPECT_FALSE(before.command->WriteOutput(buffer.data(), 33));
  EXPECT_FALSE(before.command->ReadInput(buffer.data(), 33));
  mouse.RunControlLine("event 7 1");  // nobody to receive it
  mouse.RunControlLine("unplug");     // already unplugged: no second notice

  mouse.RunControlLine("plug");
  const std::vector<std::string> arrivals = notices.Take();
  ASSERT_EQ(arrivals.size(), 2u);
  for (const std::string& notice : arrivals) EXPECT_EQ(notice.rfind("arrival ", 0), 0u) << notice;
  EXPECT_FALSE(before.command->SetFeature(rate.data(), rate.size())) << "stale handle";
  OpenedMouse after = mouse.FindDevice();
  ASSERT_TRUE(after.command);
  EXPECT_TRUE(after.command->SetFeature(rate.data(), rate.size()));
  EXPECT_EQ(mouse.Memory().reportRate, 2);
  // Nothing was exchanged while unplugged.
  const std::vector<std::string> lines = dir.ReadLines("traffic.log");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("SET_FEATURE 00 01 02"), std::string::npos);
}

TEST(VirtualMouseTest, DestroyingTheBackendReleasesABlockedReader) {
  TempDir dir;
  auto mouse = std::make_unique<VirtualMouseBackend>(dir.File(""), 0);
  OpenedMouse opened = mouse->FindDevice();
  std::atomic<std::size_t> result{99};
  std::thread listener([&] {
    Bytes report(40, 0);
    result = opened.events->ReadEvent(report.data(), report.size());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  mouse.reset();
  listener.join();
  EXPECT_EQ(result.load(), 0u);
}

TEST(VirtualMouseTest, SensorTypeTextIsReadLikeTheCLibrary) {
  struct Case {
    const char* text;
    std::uint8_t sensor;
  };
  const Case cases[] = {{nullptr, 0}, {"", 0},   {"2", 2},    {" 3", 3},  {"7x", 7},
                        {"255", 255}, {"256", 0}, {"-1", 0},  {"abc", 0}, {"+1", 1}};
  for (const Case& c : cases) EXPECT_EQ(VirtualSensorTypeFromText(c.text), c.sensor) << (c.text ? c.text : "null");
}

void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

TEST(VirtualMouseTest, EnvironmentChoosesTheVirtualMouseOnlyWhenSet) {
  TempDir dir;
  const std::string folder = dir.File("from-env");
  SetVariable(kVirtualMouseVariable, nullptr);
  EXPECT_EQ(MakeVirtualBackendFromEnvironment(), nullptr);
  SetVariable(kVirtualMouseVariable, "");
  EXPECT_EQ(MakeVirtualBackendFromEnvironment(), nullptr);

  SetVariable(kVirtualMouseVariable, folder.c_str());
  SetVariable(kVirtualSensorVariable, "2");
  {
    std::unique_ptr<HidBackend> backend = MakeVirtualBackendFromEnvironment();
    ASSERT_NE(backend, nullptr);
    EXPECT_TRUE(backend->FindDevice().command);
  }
  SetVariable(kVirtualMouseVariable, nullptr);
  SetVariable(kVirtualSensorVariable, nullptr);
  const auto saved = DecodeMemory(testing::ReadWholeBytes(folder + "/memory.bin"));
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->sensorSettings[0], 2);
}

}  // namespace
}  // namespace vortal
