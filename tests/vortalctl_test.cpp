// vortalctl end to end: its commands against the virtual mouse, on settings
// files in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <sstream>
#include <thread>

#include "device/device_commands.h"
#include "device/key_matrix.h"
#include "device/mouse_link.h"
#include "platform/virtual_mouse.h"
#include "edit/setting_text.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "settings/delivered_settings.h"
#include "settings/settings_file.h"
#include "support/scripted_port.h"
#include "support/settings_records.h"
#include "support/temp_dir.h"
#include "tools/settings_report.h"
#include "tools/vortalctl_main.h"
#include "vortal_version.h"

namespace vortal {
namespace {

using testing::TempDir;

// Lends a virtual mouse that outlives each command, and tells when the
// command has opened it.
class LentBackend : public HidBackend {
 public:
  LentBackend(HidBackend& mouse, std::promise<void>* opened) : mouse_(mouse), opened_(opened) {}
  OpenedMouse FindDevice() override {
    OpenedMouse found = mouse_.FindDevice();
    if (opened_) opened_->set_value();
    opened_ = nullptr;  // told once; a listener looks again after an unplug
    return found;
  }

 private:
  HidBackend& mouse_;
  std::promise<void>* opened_;
};

// A mouse the system lists but does not let the user open; the backend
// tells why, as the hidraw one does.
class RefusingBackend : public HidBackend {
 public:
  OpenedMouse FindDevice() override {
    OpenedMouse mouse;
    mouse.problem = "Cannot open /dev/hidraw4: Permission denied.";
    return mouse;
  }
};

struct Result {
  int exit;
  std::string out, err;
};

class Vortalctl : public ::testing::Test {
 protected:
  Vortalctl() : mouse_(dir_.File("mouse"), kSensorType) {}

  Result Run(std::vector<std::string> args, bool withMouse = true,
             std::promise<void>* opened = nullptr) {
    std::ostringstream out, err;
    CtlContext context{out, err,
                       [&]() -> std::unique_ptr<HidBackend> {
                         if (refusing_) return std::make_unique<RefusingBackend>();
                         if (!withMouse) return nullptr;
                         return std::make_unique<LentBackend>(mouse_, opened);
                       },
                       pauses_, ProgramPaths{}, Language::kEnglish, interrupt_};
    args.insert(args.begin(), {"--dir", dir_.path().string()});
    int exit = RunVortalctl(args, context);
    return {exit, out.str(), err.str()};
  }

  void WriteSettings(const SettingsRecord& record) { dir_.Write("config.bin", testing::ConfigBytes(0, record)); }
  std::vector<std::uint8_t> SettingsBytes() const { return dir_.ReadBytes("config.bin"); }

  static constexpr std::uint8_t kSensorType = 1;
  bool refusing_ = false;  // the mouse is there but may not be opened
  TempDir dir_;
  VirtualMouseBackend mouse_;
  testing::CountingPauser pauses_;  // the protocol's timing is not under test here
  ListenInterrupt interrupt_;       // Ctrl+C
};

// A record that differs from the delivered one wherever Apply sends something.
SettingsRecord ChangedRecord() {
  SettingsRecord r = DeliveredSettings();
  r.reportRate = 2;
  r.dpiLevel[0] = 4;
  r.dpiStageEnabled[0] = 1;
  r.dpiStageEnabled[1] = 0;
  r.modeA.keyFunction[2] = kSingleKey;
  r.modeA.singleKeyCode[2] = 0x04;  // A
  r.modeB.keyFunction[6] = kForward;
  r.auxLedMode = 2;
  r.auxLedParam[1] = 3;
  r.loopColorEnabled[1] = 1;
  r.loopColor[1][0] = 0x12;
  r.dpiStageLedBits[0] = 0x5A;
  const std::uint8_t macro[] = {0x00, 0x01, 0x05, 0x04, 0x80, 0x04};
  std::memcpy(r.macroSlots[3], macro, sizeof macro);
  return r;
}

TEST_F(Vortalctl, CommandLineMistakesAreUsageErrors) {
  struct Case {
    std::vector<std::string> args;
    int exit;
    const char* inErr;
  } cases[] = {
      {{}, kExitUsage, "no command given"},
      {{"frobnicate"}, kExitUsage, "unknown command \"frobnicate\". vortalctl help lists"},
      {{"sett", "rate", "500"}, kExitUsage, "unknown command \"sett\". Did you mean \"set\"?"},
      {{"help", "lisen"}, kExitUsage, "there is no command \"lisen\". Did you mean \"listen\"?"},
      {{"show", "apply"}, kExitUsage, "show takes no arguments, not \"apply\" (one command at a time)"},
      {{"--verbose", "show"}, kExitUsage, "unknown option --verbose"},
      {{"--aply", "set"}, kExitUsage, "Did you mean \"--apply\"?"},
      {{"listen", "--count"}, kExitUsage, "--count needs a value"},
      {{"listen", "--count", "two"}, kExitUsage, "--count needs a whole number"},
      {{"listen", "--count", "-1"}, kExitUsage, "--count needs a whole number"},
      {{"show", "--count", "1"}, kExitUsage, "--count belongs to listen"},
      {{"--dir", "/no/such/folder", "show"}, kExitUsage, "no such folder"},
      {{"profile"}, kExitUsage, "profile needs list, use or for, not \"\""},
      {{"profile", "lst"}, kExitUsage, "Did you mean \"list\"?"},
      {{"profile", "use"}, kExitUsage, "profile use needs one profile's name, or --default"},
      {{"profile", "use", "a", "--default"}, kExitUsage, "--default belongs to profile use"},
      {{"show", "--default"}, kExitUsage, "--default belongs to profile use"},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    testing::CountingPauser pauses;
    ListenInterrupt interrupt;
    CtlContext context{out, err, [] { return nullptr; }, pauses, ProgramPaths{},
                       Language::kEnglish, interrupt};
    EXPECT_EQ(RunVortalctl(c.args, context), c.exit) << c.inErr;
    EXPECT_NE(err.str().find(c.inErr), std::string::npos) << err.str();
    // A slip is told in a line; the whole usage only when nothing was asked.
    EXPECT_EQ(err.str().find("Usage: vortalctl") != std::string::npos, c.args.empty()) << c.inErr;
  }
  // The usage lists every command of the table and every setting.
  for (const char* asked : {"--help", "help"}) {
    Result help = Run({asked});
    EXPECT_EQ(help.exit, kExitOk);
    for (const char* line : {"Exit codes:", "\n  macro loop NAME N     play the macro", "\n  sensor ",
                             "\n  help [COMMAND] ", "\n  mode-a.button1 to mode-a.button8, mode-b.button1",
                             "\n  pointer.precision, pointer.page-scroll\n      on or off"})
      EXPECT_NE(help.out.find(line), std::string::npos) << asked << ": " << line << "\n" << help.out;
  }
  // The version a user names in a report, the project's; nothing else runs.
  const Result version = Run({"--version", "frobnicate"});
  EXPECT_EQ(version.exit, kExitOk);
  EXPECT_EQ(version.out, "vortalctl " + std::string(kVortalVersion) + "\n");
  EXPECT_EQ(Run({"help", "import"}).out,
            "  import FILE           read a profile file back (checked before anything\n"
            "                        changes; what it does not name stays)\n");
}

TEST_F(Vortalctl, MissingOrDamagedSettingsFileStopsBeforeTheMouseIsTouched) {
  struct Case {
    const char* name;
    std::size_t size;  // 0: no file
    const char* inErr;
  } cases[] = {
      {"missing", 0, "config.bin does not exist"},
      {"one byte short", kSettingsFileSize - 1, "it has 2021"},
      {"one byte long", kSettingsFileSize + 1, "it has 2023"},
  };
  const VirtualMouseMemory before = mouse_.Memory();
  for (const Case& c : cases) {
    for (const char* command : {"apply", "show"}) {
      SCOPED_TRACE(std::string(c.name) + ", " + command);
      std::remove(dir_.File("config.bin").c_str());
      std::vector<std::uint8_t> file(c.size, 0x11);
      if (c.size) dir_.Write("config.bin", file);
      Result r = Run({command});
      EXPECT_EQ(r.exit, kExitFileProblem);
      EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
      EXPECT_EQ(SettingsBytes(), file);  // neither created nor changed
      EXPECT_EQ(mouse_.Memory(), before);
    }
  }
}

TEST_F(Vortalctl, CommandsThatNeedTheMouseSayItIsMissing) {
  WriteSettings(ChangedRecord());
  const std::vector<std::uint8_t> file = SettingsBytes();
  for (const char* command : {"apply", "listen", "sensor"}) {
    Result r = Run({command}, /*withMouse=*/false);
    EXPECT_EQ(r.exit, kExitNoMouse) << command;
    EXPECT_NE(r.err.find("was not found"), std::string::npos) << command << r.err;
  }
  refusing_ = true;  // the system's reason stands, and no "not found" beside it
  for (const char* command : {"apply", "listen", "sensor"}) {
    Result r = Run({command});
    EXPECT_EQ(r.exit, kExitNoMouse) << command;
    EXPECT_NE(r.err.find("/dev/hidraw4: Permission denied"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("could not be opened"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("was not found"), std::string::npos) << r.err;
  }
  refusing_ = false;
  mouse_.RunControlLine("unplug");
  EXPECT_EQ(Run({"apply"}).exit, kExitNoMouse);
  EXPECT_EQ(SettingsBytes(), file);  // an Apply that found no mouse saves nothing
}

// A mouse that is found but falls silent before the first command.
class SilentAfterFinding : public HidBackend {
 public:
  explicit SilentAfterFinding(VirtualMouseBackend& mouse) : mouse_(mouse) {}
  OpenedMouse FindDevice() override {
    OpenedMouse found = mouse_.FindDevice();
    mouse_.RunControlLine("unplug");
    return found;
  }

 private:
  VirtualMouseBackend& mouse_;
};

TEST_F(Vortalctl, ApplyToAMouseThatDoesNotAnswerChangesNothing) {
  WriteSettings(ChangedRecord());
  const std::vector<std::uint8_t> file = SettingsBytes();
  const VirtualMouseMemory before = mouse_.Memory();
  std::ostringstream out, err;
  CtlContext context{out, err,
                     [&] { return std::make_unique<SilentAfterFinding>(mouse_); },
                     pauses_, ProgramPaths{}, Language::kEnglish, interrupt_};
  EXPECT_EQ(RunVortalctl({"--dir", dir_.path().string(), "apply"}, context), kExitNoMouse);
  EXPECT_NE(err.str().find("did not answer; nothing was applied"), std::string::npos) << err.str();
  EXPECT_EQ(SettingsBytes(), file);
  mouse_.RunControlLine("plug");
  EXPECT_EQ(mouse_.Memory(), before);
}

TEST_F(Vortalctl, ApplyWritesTheWholeRecordIntoTheMouseAndSavesIt) {
  const SettingsRecord record = ChangedRecord();
  WriteSettings(record);
  Result r = Run({"apply"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find("Applied"), std::string::npos);

  const VirtualMouseMemory m = mouse_.Memory();
  EXPECT_EQ(m.reportRate, 2);
  EXPECT_EQ(m.sensorSettings[0], kSensorType);
  EXPECT_TRUE(m.sensorSettings[3] & kOption2Bit6);  // the handshake ran
  EXPECT_EQ(m.dpiBlock, BuildDpiBlock(record, kSensorType));
  EXPECT_EQ(m.ledState, (std::array<std::uint8_t, 3>{2, 4, 3}));
  const auto colors = PackLoopColors(record);
  EXPECT_TRUE(std::equal(colors.begin(), colors.end(), m.configBlock.begin()));
  EXPECT_EQ(m.configBlock[48], 0x5A);  // part 2: the DPI colour bits
  KeyMatrix matrix1{}, matrix3{};
  BuildKeyMatrices(record, matrix1, matrix3);
  EXPECT_EQ(m.keyMatrices[0], matrix1);
  EXPECT_EQ(m.keyMatrices[1], KeyMatrix{});
  EXPECT_EQ(m.keyMatrices[2], matrix3);
  for (int slot = 0; slot < kMacroSlots; ++slot)
    EXPECT_EQ(0, std::memcmp(m.macroSlots[slot].data(), record.macroSlots[slot], kMacroSlotSize))
        << slot;

  // config.bin now carries the program's flag and the same record.
  testing::ExpectAppliedConfig(dir_.File("config.bin"), record);

  // A mouse that keeps a macro slot wrong has not taken the settings: said, exit 1.
  mouse_.RunControlLine("macro-slot-wrong 4");
  Result wrong = Run({"apply"});
  EXPECT_EQ(wrong.exit, kExitNoMouse);
  EXPECT_EQ(wrong.out, "");
  EXPECT_NE(wrong.err.find("the mouse did not take all of the settings: macro slot 4 came back "
                           "different. "),
            std::string::npos)
      << wrong.err;
  EXPECT_NE(wrong.err.find("holds them; run apply again once the mouse is plugged in."),
            std::string::npos);
}

TEST_F(Vortalctl, ProfilesOfProgramsAreListedFoundAndSwitchedTo) {
  const SettingsRecord record = ChangedRecord();
  WriteSettings(record);
  const std::string head = "[Profile]\nFormat=1\nPrograms=";
  std::filesystem::create_directory(dir_.path() / "Profiles");
  dir_.Write("Profiles/Shooter.ini", head + " cs2.exe , VALORANT.exe\n[Settings]\ndpi.1=on level=7\n"
                                     "[Macro1]\nName=Reload\nEvents=R Dn, 50 ms, R Up\n");
  dir_.Write("Profiles/arcade.ini", head + "Valorant.exe\n");
  dir_.Write("Profiles/broken.ini", head + "a.exe,,b.exe\n");
  dir_.Write("Profiles/notes.txt", "not a profile");
  struct Step {
    std::vector<std::string> args;
    int exit;
    const char* inOut;
    const char* inErr;
  } steps[] = {
      {{"profile", "list"}, kExitOk,
       "arcade: Valorant.exe\nbroken: damaged: ", ""},
      {{"profile", "list"}, kExitOk, "line 3: Programs=a.exe,,b.exe: a program is missing", ""},
      {{"profile", "list"}, kExitOk, "\nShooter: cs2.exe, VALORANT.exe\n", ""},
      {{"profile", "for", "C:\\Games\\CS2.EXE"}, kExitOk, "C:\\Games\\CS2.EXE: Shooter\n", ""},
      {{"profile", "for", "valorant.exe"}, kExitOk, "valorant.exe: arcade\n", ""},  // the first by name
      {{"profile", "for", "b.exe"}, kExitOk, "b.exe: the default setup (config.bin)\n", ""},
      {{"profile", "use", "shooterr"}, kExitUsage, "", "no profile \"shooterr\" in "},
      {{"profile", "use", "shooterr"}, kExitUsage, "", "Did you mean \"Shooter\"?"},
      {{"profile", "use", "broken"}, kExitUsage, "", "line 3: Programs=a.exe,,b.exe"},
      {{"profile", "use", "shooter"}, kExitOk, "Switched the mouse to Shooter (", ""},
  };
  for (const Step& step : steps) {
    Result r = Run(step.args);
    EXPECT_EQ(r.exit, step.exit) << step.args.back() << "\n" << r.err;
    EXPECT_NE(r.out.find(step.inOut), std::string::npos) << step.args.back() << "\n" << r.out;
    EXPECT_NE(r.err.find(step.inErr), std::string::npos) << step.args.back() << "\n" << r.err;
  }
  // The profile on config.bin's setup, its macro in slot 1; no file written.
  SettingsRecord shooter = record;
  shooter.dpiLevel[0] = 6;  // level=7, counted from 1
  std::string error;
  std::uint8_t slot[kMacroSlotSize] = {};
  ASSERT_TRUE(EncodeMacroSlot(*ParseMacroEvents("R Dn, 50 ms, R Up", error), slot));
  std::memcpy(shooter.macroSlots[0], slot, kMacroSlotSize);
  SetSlotLoopCount(shooter, 0, 1);
  for (int m = 1; m < kMacroSlots; ++m) std::memset(shooter.macroSlots[m], 0, kMacroSlotSize);
  VirtualMouseMemory m = mouse_.Memory();
  EXPECT_EQ(m.dpiBlock, BuildDpiBlock(shooter, kSensorType));
  for (int s = 0; s < kMacroSlots; ++s)
    EXPECT_EQ(0, std::memcmp(m.macroSlots[s].data(), shooter.macroSlots[s], kMacroSlotSize)) << s;
  EXPECT_EQ(SettingsBytes(), testing::ConfigBytes(0, record));
  EXPECT_FALSE(dir_.Exists("record.ini"));

  Result back = Run({"profile", "use", "--default"});
  EXPECT_EQ(back.exit, kExitOk) << back.err;
  m = mouse_.Memory();
  EXPECT_EQ(m.dpiBlock, BuildDpiBlock(record, kSensorType));
  EXPECT_EQ(0, std::memcmp(m.macroSlots[3].data(), record.macroSlots[3], kMacroSlotSize));

  mouse_.RunControlLine("macro-slot-wrong 1");
  Result wrong = Run({"profile", "use", "Shooter"});
  EXPECT_EQ(wrong.exit, kExitNoMouse);
  EXPECT_NE(wrong.err.find("did not take all of Shooter: macro slot 1 came back different"), std::string::npos)
      << wrong.err;
  EXPECT_EQ(Run({"profile", "use", "Shooter"}, false).exit, kExitNoMouse);
}

TEST_F(Vortalctl, ApplyKeepsTheButtonTextsOfStrIni) {
  WriteSettings(ChangedRecord());
  const std::string ini =
      "[Skins]\r\nPath=Default\r\n[Setting-EN]\r\nItem1=Fire!\r\nItem13=Shoot\r\n";
  dir_.Write("str.ini", ini);
  ASSERT_EQ(Run({"apply"}).exit, kExitOk);
  const std::string text = dir_.Read("str.ini");
  EXPECT_NE(text.find("Item1=Fire!"), std::string::npos) << text;
  EXPECT_NE(text.find("Item13=Shoot"), std::string::npos) << text;
  EXPECT_NE(text.find("Path=Default"), std::string::npos) << text;

  // Without str.ini, Apply does not create one.
  std::remove(dir_.File("str.ini").c_str());
  ASSERT_EQ(Run({"apply"}).exit, kExitOk);
  EXPECT_FALSE(dir_.Exists("str.ini"));
}

TEST_F(Vortalctl, ShowNamesDpiLabelsOnlyWhenTheMouseAnswers) {
  WriteSettings(ChangedRecord());
  struct Case {
    bool withMouse;
    std::vector<std::string> expected;
  } cases[] = {
      {true,
       {"Report rate: 500 Hz", "DPI stages (sensor type 1):",
        "Stage 1: 1600 DPI (level 5), enabled", "Stage 2: ", ", disabled",
        "Button 3: Single Key: A", "LED: Respiration Mode, speed 5S", "Colour 2: #12", ", in use",
        "Stage 2: on off on off", "Slot 4: loop 1, 2 events: A Dn, 50 ms, A Up", "Slot 5: empty"}},
      {false, {"Stage 1: level 5, enabled", "No mouse answered"}},
  };
  for (const Case& c : cases) {
    Result r = Run({"show"}, c.withMouse);
    EXPECT_EQ(r.exit, kExitOk) << r.err;
    for (const std::string& line : c.expected)
      EXPECT_NE(r.out.find(line), std::string::npos) << "missing \"" << line << "\" in\n" << r.out;
  }
}

TEST_F(Vortalctl, SensorPrintsWhatTheMouseReports) {
  Result r = Run({"sensor"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find("Sensor type: 1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("DPI levels: 600, 800, 1000, 1200, 1600, 2000, 2400, 3200"),
            std::string::npos)
      << r.out;
}

TEST_F(Vortalctl, ListenPrintsNoticesUntilTheCountIsReached) {
  SettingsRecord record = ChangedRecord();
  record.dpiLevel[1] = 7;
  WriteSettings(record);
  std::promise<void> opened;
  std::future<void> ready = opened.get_future();
  std::future<Result> listening = std::async(std::launch::async, [&] {
    return Run({"listen", "--count", "3"}, true, &opened);
  });
  ready.wait();
  // Event 6 is none the program hands on; it must not count.
  for (const char* line : {"event 6 1", "event 7 2", "event 5 1", "event 9 4"})
    mouse_.RunControlLine(line);
  Result r = listening.get();
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  const char* expected[] = {"3200", "1000", "4"};  // stage 2's DPI, the rate, the macro number
  std::size_t at = 0;
  for (const char* text : expected) {
    at = r.out.find(text, at);
    EXPECT_NE(at, std::string::npos) << "missing " << text << " in order in\n" << r.out;
  }
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4) << r.out;  // banner + 3 notices
}

// The notices go on through an unplug and plug; an interrupt ends the
// listener whether it waits for a notice or for the mouse.
TEST_F(Vortalctl, ListenGoesOnThroughUnplugAndPlugUntilInterrupted) {
  std::promise<void> opened;
  std::future<void> ready = opened.get_future();
  std::future<Result> listening =
      std::async(std::launch::async, [&] { return Run({"listen", "--count", "2"}, true, &opened); });
  ready.wait();
  mouse_.RunControlLine("event 7 1");
  // Unplugged once the listener has taken the notice (the mouse logs it then).
  auto delivered = [&] { return dir_.Read("mouse/traffic.log").find("EVENT") != std::string::npos; };
  while (!delivered()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  mouse_.RunControlLine("unplug");
  mouse_.RunControlLine("event 7 2");  // nobody to tell
  mouse_.RunControlLine("plug");
  // Sent until the listener has the mouse again and takes one.
  while (listening.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
    mouse_.RunControlLine("event 5 1");
  Result r = listening.get();
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  std::size_t at = 0;
  for (const char* text : {"DPI", "did not detect the gaming mouse", "detect the gaming mouse.",
                           "1000"}) {
    at = r.out.find(text, at);
    EXPECT_NE(at, std::string::npos) << "missing " << text << " in order in\n" << r.out;
  }

  for (bool away : {false, true}) {
    SCOPED_TRACE(away ? "waiting for the mouse" : "waiting for a notice");
    std::promise<void> opened2;
    std::future<void> ready2 = opened2.get_future();
    listening = std::async(std::launch::async, [&] { return Run({"listen"}, true, &opened2); });
    ready2.wait();
    if (away) mouse_.RunControlLine("unplug");
    // The interrupt may come before the read starts waiting; it must end it either way.
    while (!interrupt_.Interrupt()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(listening.get().exit, kExitOk);
    if (away) mouse_.RunControlLine("plug");
  }
}

TEST_F(Vortalctl, EncodeMacrosFillsTheSlotsInFileOrderAndKeepsLoopCounts) {
  SettingsRecord record = ChangedRecord();
  record.macroSlots[0][1] = 3;                 // loop count of slot 1: kept
  std::memset(record.macroSlots[2], 0x77, 8);  // slot 3: after the last macro, kept
  WriteSettings(record);
  const std::string store = dir_.File("record.ini");

  // Without record.ini there is nothing to encode, and config.bin stays.
  const std::vector<std::uint8_t> before = SettingsBytes();
  Result none = Run({"encode-macros"});
  EXPECT_EQ(none.exit, kExitFileProblem);
  EXPECT_NE(none.err.find("record.ini does not exist"), std::string::npos) << none.err;
  EXPECT_EQ(SettingsBytes(), before);

  ASSERT_TRUE(WriteMacro(store, "Fire", {"A   Dn", "50 ms", "A   Up"}));
  ASSERT_TRUE(WriteMacro(store, "Slow", {"B   Dn", "2000 ms", "B   Up"}));
  Result r = Run({"encode-macros"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find("Encoded 2 macros"), std::string::npos) << r.out;

  std::vector<std::uint8_t> saved = SettingsBytes();
  ASSERT_EQ(saved.size(), kSettingsFileSize);
  auto slot = [&](int n) {
    const std::size_t at = 1 + offsetof(SettingsRecord, macroSlots) + n * kMacroSlotSize;
    return std::vector<std::uint8_t>(saved.begin() + at, saved.begin() + at + kMacroSlotSize);
  };
  auto expected = [](std::vector<std::uint8_t> head) {
    head.resize(kMacroSlotSize, 0);
    return head;
  };
  EXPECT_EQ(slot(0), expected({0x00, 0x03, 0x05, 0x04, 0x80, 0x04}));
  EXPECT_EQ(slot(1), expected({0x00, 0x00, 0x00, 0x05, 0x14, 0x03, 0x80, 0x05}));
  EXPECT_EQ(slot(2), expected(std::vector<std::uint8_t>(8, 0x77)));

  // show names the slots after record.ini's macros.
  Result shown = Run({"show"}, false);
  EXPECT_NE(shown.out.find("Slot 1 (Fire): loop 3, 2 events: A Dn, 50 ms, A Up"), std::string::npos)
      << shown.out;
  EXPECT_NE(shown.out.find("Slot 2 (Slow): loop 0, 2 events: B Dn, 2000 ms, B Up"),
            std::string::npos)
      << shown.out;
}

TEST_F(Vortalctl, EditsAreSavedWithTheWindowsTextsAndAppliedOnRequest) {
  WriteSettings(DeliveredSettings());  // a first run: the panes get their default texts
  dir_.Write("str.ini", "[Skins]\r\nPath=Default\r\n[Setting-EN]\r\nItem1=Left Click\r\n");
  Result set = Run({"set", "mode-a.button4", "Fire", "Key", "key=Q", "speed=30", "times=5"});
  ASSERT_EQ(set.exit, kExitOk) << set.err;
  EXPECT_EQ(set.out, "mode-a.button4 = Fire Key key=Q speed=30 times=5\n");
  const std::string texts = dir_.Read("str.ini");
  EXPECT_NE(texts.find("Item4=Fire Key-Q"), std::string::npos) << texts;
  EXPECT_NE(texts.find("Path=Default"), std::string::npos) << texts;

  // The DPI in DPI goes through the mouse's sensor table; --apply writes it all.
  const VirtualMouseMemory before = mouse_.Memory();
  Result dpi = Run({"--apply", "set", "dpi.1", "on", DpiLabel(kSensorType, 2)});
  ASSERT_EQ(dpi.exit, kExitOk) << dpi.err;
  EXPECT_NE(dpi.out.find("Applied"), std::string::npos) << dpi.out;
  SettingsState state;
  ASSERT_EQ(LoadSettings(dir_.File("config.bin"), state), LoadResult::kLoaded);
  EXPECT_EQ(state.working.dpiLevel[0], 2);
  EXPECT_EQ(state.working.modeA.fireCode[3], 0x14);  // Q
  EXPECT_NE(mouse_.Memory(), before);
  EXPECT_EQ(mouse_.Memory().dpiBlock, BuildDpiBlock(state.working, kSensorType));
  Result get = Run({"get", "dpi.1", "mode-a.button4"});
  EXPECT_EQ(get.out, "dpi.1 = on " + DpiLabel(kSensorType, 2) +
                         "\nmode-a.button4 = Fire Key key=Q speed=30 times=5\n");

  // Macros: stored in record.ini and the slots; a deleted one turns its buttons off.
  ASSERT_EQ(Run({"macro", "set", "Reload", "R Dn, 50 ms, R Up"}).exit, kExitOk);
  ASSERT_EQ(Run({"macro", "loop", "reload", "7"}).exit, kExitOk);
  ASSERT_EQ(Run({"set", "mode-b.button2", "Macro Key", "macro=Reload"}).exit, kExitOk);
  EXPECT_EQ(Run({"macro", "list"}).out, "Reload (7 times)\n");
  EXPECT_EQ(Run({"macro", "show", "Reload"}).out, "R Dn, 50 ms, R Up\n");
  Result deleted = Run({"macro", "delete", "Reload"});
  ASSERT_EQ(deleted.exit, kExitOk) << deleted.err;
  EXPECT_NE(deleted.out.find("mode-b.button2 = Key Off"), std::string::npos) << deleted.out;
  EXPECT_NE(dir_.Read("str.ini").find("Item23=Key Off"), std::string::npos);
  EXPECT_TRUE(ListMacroNames(dir_.File("record.ini")).empty());

  // A profile comes back as it went: export, change, import, export.
  ASSERT_EQ(Run({"macro", "set", "Jump", "Space Dn, 20 ms, Space Up"}).exit, kExitOk);
  ASSERT_EQ(Run({"export", dir_.File("p.ini")}).exit, kExitOk);
  ASSERT_EQ(Run({"set", "rate", "125"}).exit, kExitOk);
  ASSERT_EQ(Run({"macro", "delete", "Jump"}).exit, kExitOk);
  Result imported = Run({"import", dir_.File("p.ini")});
  ASSERT_EQ(imported.exit, kExitOk) << imported.err;
  ASSERT_EQ(Run({"export", dir_.File("q.ini")}).exit, kExitOk);
  EXPECT_EQ(dir_.Read("p.ini"), dir_.Read("q.ini"));
  EXPECT_EQ(ListMacroNames(dir_.File("record.ini")), std::vector<std::string>{"Jump"});

  // A profile that names no macro keeps record.ini's, and its buttons may name them.
  dir_.Write("r.ini", "[Profile]\nFormat=1\n[Settings]\nrate=250\nmode-a.button5=Macro Key macro=Jump\n");
  Result partial = Run({"import", dir_.File("r.ini")});
  ASSERT_EQ(partial.exit, kExitOk) << partial.err;
  EXPECT_EQ(ListMacroNames(dir_.File("record.ini")), std::vector<std::string>{"Jump"});
  EXPECT_EQ(Run({"get", "rate", "mode-a.button5"}).out,
            "rate = 250\nmode-a.button5 = Macro Key repeat=1 macro=Jump\n");
}

TEST_F(Vortalctl, BadEditsChangeNoFileAndSayWhy) {
  WriteSettings(ChangedRecord());
  dir_.Write("str.ini", "[Setting-EN]\r\nItem1=x\r\n");
  dir_.Write("bad.ini", "[Profile]\nFormat=1\n[Settings]\nrate=500\nrate2=1\n");
  ASSERT_TRUE(WriteMacro(dir_.File("record.ini"), "Fire", {"A   Dn"}));
  struct Case {
    std::vector<std::string> args;
    bool withMouse;
    int exit;
    const char* inErr;
  } cases[] = {
      {{"set", "rate", "300"}, true, kExitUsage, "\"300\" is not one of 125, 250, 500, 1000"},
      {{"set", "rate"}, true, kExitUsage, "set needs a setting and its value"},
      {{"set", "dpi.1", "1600"}, false, kExitUsage, "plug the mouse in, name its sensor with --sensor"},
      {{"--sensor", "7", "get"}, false, kExitUsage, "--sensor needs a sensor type the program knows"},
      {{"--apply", "get"}, true, kExitUsage, "--apply belongs to set, macro and import"},
      {{"get", "dpi.9"}, true, kExitUsage, "\"dpi.9\" is no setting or group"},
      {{"names", "fruit"}, true, kExitUsage, "\"fruit\" is no list"},
      {{"macro", "set", "Fire", "A Dn, Foo Up"}, true, kExitUsage, "\"Foo\" is no key name"},
      {{"macro", "set", "New]", "A Dn"}, true, kExitUsage, "]"},
      {{"macro", "loop", "Fire", "0"}, true, kExitUsage, "from 1 to 65535"},
      {{"macro", "delete", "Gone"}, true, kExitUsage, "there is no macro \"Gone\"; the macros are Fire"},
      {{"macro", "rename"}, true, kExitUsage, "macro takes list, show NAME"},
      {{"import", dir_.File("bad.ini")}, true, kExitUsage, "bad.ini, line 5: \"rate2\" is no setting"},
      {{"import", dir_.File("none.ini")}, true, kExitFileProblem, "none.ini does not exist"},
      {{"export", dir_.File("no/such/folder/p.ini")}, true, kExitFileProblem, "could not be written"},
  };
  const std::vector<std::uint8_t> settings = SettingsBytes();
  const std::string texts = dir_.Read("str.ini"), macros = dir_.Read("record.ini");
  for (const Case& c : cases) {
    Result r = Run(c.args, c.withMouse);
    EXPECT_EQ(r.exit, c.exit) << c.inErr;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    EXPECT_EQ(SettingsBytes(), settings) << c.inErr;
    EXPECT_EQ(dir_.Read("str.ini"), texts) << c.inErr;
    EXPECT_EQ(dir_.Read("record.ini"), macros) << c.inErr;
  }
  // The change is saved, but without the mouse --apply fails as apply does.
  Result away = Run({"--apply", "set", "rate", "250"}, false);
  EXPECT_EQ(away.exit, kExitNoMouse);
  EXPECT_NE(away.err.find("was not found"), std::string::npos) << away.err;
  std::remove(dir_.File("config.bin").c_str());
  EXPECT_EQ(Run({"set", "rate", "250"}).exit, kExitFileProblem);
  EXPECT_FALSE(dir_.Exists("config.bin"));
}

TEST(SettingsReport, DecodesMacroSlotsAsTheMousePlaysThem) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int loop;
    std::vector<SlotEvent> events;
  } cases[] = {
      {"short pauses",
       {0x00, 0x01, 0x05, 0x04, 0x80, 0x04},
       1,
       {{false, 0x04, 50}, {true, 0x04, 0}}},
      {"2000 ms pause",
       {0x00, 0x01, 0x00, 0x05, 0x14, 0x03, 0x80, 0x05},
       1,
       {{false, 0x05, 2000}, {true, 0x05, 0}}},
      {"1550 ms pause",
       {0x00, 0x01, 0x32, 0x05, 0x0F, 0x03, 0x80, 0x05},
       1,
       {{false, 0x05, 1550}, {true, 0x05, 0}}},
      {"1270 ms, the longest short pause", {0x01, 0x00, 0x7F, 0x06}, 256, {{false, 0x06, 1270}}},
      {"release of an unknown key at the end",
       {0x00, 0x02, 0x00, 0x04, 0x80, 0x00},
       2,
       {{false, 0x04, 0}, {true, 0x00, 0}}},
      {"empty slot", {}, 0, {}},
      {"loop count only", {0xFF, 0xFF}, 65535, {}},
  };
  for (const Case& c : cases) {
    std::uint8_t slot[kMacroSlotSize] = {};
    std::copy(c.bytes.begin(), c.bytes.end(), slot);
    DecodedSlot decoded = DecodeMacroSlot(slot);
    EXPECT_EQ(decoded.loopCount, c.loop) << c.name;
    EXPECT_EQ(decoded.events, c.events) << c.name;
  }
  // A slot full to its last byte stays within it.
  std::uint8_t full[kMacroSlotSize];
  std::memset(full, 0x03, sizeof full);
  EXPECT_FALSE(DecodeMacroSlot(full).events.empty());
}

TEST(SettingsReport, DescribesEachKindOfButton) {
  SettingsRecord r{};
  auto set = [&](int button, std::uint8_t type) { r.modeA.keyFunction[button] = type; };
  set(0, kLeftClick);
  set(1, kDpiSwitch);
  r.dpiSwitchAction[1] = 3;
  set(2, kComboKey);
  r.modeA.comboModifiers[2] = 0x05;
  r.modeA.comboKey1[2] = 0x04;
  r.modeA.comboKey2[2] = 0x05;
  set(3, kFireKey);
  r.modeA.fireCode[3] = 0x04;
  r.modeA.fireSpeed[3] = 20;
  r.modeA.fireTimes[3] = 0;
  set(4, kMacroKey);
  r.modeA.macroIndex[4] = 2;
  r.modeA.macroLoopMode[4] = 1;
  set(5, 42);
  set(6, kSingleKey);
  r.modeA.singleKeyCode[6] = 0xEE;  // no key of that code
  r.modeB.keyFunction[1] = kDpiSwitch;
  r.dpiSwitchActionB[1] = 1;
  struct Case {
    int mode, button;
    const char* text;
  } cases[] = {
      {0, 0, "Left Click"},
      {0, 1, "DPI Switch: DPI Loop"},
      {1, 1, "DPI Switch: DPI +"},
      {0, 2, "Combo Key: "},
      {0, 3, "Fire Key: A, speed 20, until released"},
      {0, 4, "Macro Key: macro slot 3, repeat until any key"},
      {0, 5, "unknown function 42"},
      {0, 6, "Single Key: key 0xEE"},
  };
  for (const Case& c : cases) {
    std::string got = DescribeButton(r, c.mode, c.button);
    EXPECT_EQ(got.rfind(c.text, 0), 0u)
        << "got \"" << got << "\", want it to start with \"" << c.text << '"';
  }
  // The combo names both modifiers and both keys.
  std::string combo = DescribeButton(r, 0, 2);
  EXPECT_EQ(std::count(combo.begin(), combo.end(), '+'), 3) << combo;
}

}  // namespace
}  // namespace vortal
