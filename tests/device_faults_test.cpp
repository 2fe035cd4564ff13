// The mouse going away before, during and after an Apply, and a mouse whose
// replies never come: the Apply always ends without waiting longer than a
// normal one, config.bin is always saved whole, and once the mouse is back
// the next Apply brings it to the same state as if nothing had happened.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/mouse_link.h"
#include "platform/virtual_mouse.h"
#include "settings/settings_file.h"
#include "support/settings_records.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::CountingPauser;
using testing::ExpectAppliedConfig;
using testing::PatternRecord;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// The calls the link makes to the mouse.
enum class Call { kCommand, kReply, kWrite, kRead, kNever };

// The virtual mouse, unplugged just before the link's call number `at` of
// the kind `kind` (1 is the first). It is also the pauser of the link, and
// counts the commands and adds the pauses up.
class UnplugAtCall : public HidBackend, public Pauser {
 public:
  UnplugAtCall(VirtualMouseBackend& mouse, Call kind, int at) : mouse_(mouse), kind_(kind), at_(at) {}

  OpenedMouse FindDevice() override {
    OpenedMouse opened = mouse_.FindDevice();
    if (opened.command) opened.command = std::make_unique<Port>(std::move(opened.command), *this);
    return opened;
  }
  void Pause(std::chrono::microseconds duration) override { paused += duration; }

  int commands = 0;
  std::chrono::microseconds paused{0};
  bool unplugged = false;

 private:
  void Before(Call kind) {
    if (kind == Call::kCommand) ++commands;
    if (kind != kind_ || ++calls_ != at_) return;
    mouse_.RunControlLine("unplug");
    unplugged = true;
  }

  class Port : public CommandPort {
   public:
    Port(std::unique_ptr<CommandPort> inner, UnplugAtCall& owner) : inner_(std::move(inner)), owner_(owner) {}
    ReportLengths Lengths() const override { return inner_->Lengths(); }
    bool SetFeature(const std::uint8_t* report, std::size_t length) override {
      owner_.Before(Call::kCommand);
      return inner_->SetFeature(report, length);
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
      owner_.Before(Call::kReply);
      return inner_->GetFeature(report, length);
    }
    bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
      owner_.Before(Call::kWrite);
      return inner_->WriteOutput(report, length);
    }
    bool ReadInput(std::uint8_t* report, std::size_t length) override {
      owner_.Before(Call::kRead);
      return inner_->ReadInput(report, length);
    }

   private:
    std::unique_ptr<CommandPort> inner_;
    UnplugAtCall& owner_;
  };

  VirtualMouseBackend& mouse_;
  Call kind_;
  int at_;
  int calls_ = 0;
};

struct ApplyRun {
  int commands = 0;                     // commands the link tried to send in the Apply
  std::chrono::microseconds paused{0};  // pauses of the Apply
  bool unplugged = false;
  VirtualMouseMemory memoryAfterReplug;
};

// Finds the mouse, unplugs it before the Apply's call `at` of that kind,
// applies, then plugs it in again and applies once more.
ApplyRun ApplyWithUnplug(Call kind, int at, const std::string& what) {
  TempDir dir;
  VirtualMouseBackend mouse(dir.File("mouse"), 1);
  CountingPauser handshakePauser;
  MouseLink link(handshakePauser);
  EXPECT_TRUE(link.FindDevice(mouse)) << what;
  link.OnMouseFound();

  // The Apply itself, on a link of its own that counts only its calls.
  UnplugAtCall apply(mouse, kind, at);
  MouseLink applyLink(apply);
  EXPECT_TRUE(applyLink.FindDevice(apply)) << what;
  const std::string config = dir.Write("config.bin", Bytes(kSettingsFileSize, 0));
  SettingsState state;
  state.working = PatternRecord();
  int paneSaves = 0;
  const ApplyReport report = applyLink.ApplyToDevice(state, {config, [&] { return ++paneSaves > 0; }});
  ExpectAppliedConfig(config, state.working, what);
  EXPECT_EQ(paneSaves, 1) << what;
  // The report tells the truth both ways.
  EXPECT_EQ(report.Applied(), !apply.unplugged) << what;
  EXPECT_TRUE(report.settingsFile.saved()) << what;
  EXPECT_TRUE(report.paneTextsSaved) << what;

  // After: the mouse is back and the next Apply reaches it whole.
  mouse.RunControlLine("plug");
  EXPECT_TRUE(applyLink.FindDevice(mouse)) << what;
  EXPECT_TRUE(applyLink.ApplyToDevice(state, {config, {}}).Applied()) << what;
  ExpectAppliedConfig(config, state.working, what);
  return {apply.commands, apply.paused, apply.unplugged, mouse.Memory()};
}

TEST(DeviceFaultsTest, UnpluggedAtEveryCommandAndInsideTheDataOfTheApply) {
  const ApplyRun whole = ApplyWithUnplug(Call::kNever, 0, "never unplugged");
  ASSERT_GT(whole.commands, 20);
  struct Where {
    std::string what;
    Call kind;
    int at;
  };
  std::vector<Where> rows = {
      {"between the first read and its reply", Call::kReply, 1},
      {"inside the data of a macro slot's read", Call::kRead, 5},  // its second report
      {"inside the data of a macro slot's write", Call::kWrite, 6},
  };
  // Before command 1: before the Apply. A pause, between two commands or
  // two reports of a write, is before the link's next call.
  for (int at = 1; at <= whole.commands; ++at) rows.push_back({"before command " + std::to_string(at), Call::kCommand, at});
  for (const Where& row : rows) {
    const ApplyRun run = ApplyWithUnplug(row.kind, row.at, row.what);
    ASSERT_TRUE(run.unplugged) << row.what;
    // The sequence is sent in full whatever happens: the commands after the
    // unplug go nowhere, none is retried, and no pause is longer.
    EXPECT_EQ(run.commands, whole.commands) << row.what;
    EXPECT_LE(run.paused, whole.paused) << row.what;
    EXPECT_TRUE(run.memoryAfterReplug == whole.memoryAfterReplug) << row.what;
  }
}

TEST(DeviceFaultsTest, RepliesThatNeverComeEndTheApplyOnTime) {
  // Reference: the pauses of an Apply against a mouse that answers.
  TempDir ref;
  VirtualMouseBackend answering(ref.File("mouse"), 0);
  CountingPauser refPauser;
  MouseLink refLink(refPauser);
  ASSERT_TRUE(refLink.FindDevice(answering));
  const std::string refConfig = ref.Write("config.bin", Bytes(kSettingsFileSize, 0));
  SettingsState refState;
  refLink.ApplyToDevice(refState, {refConfig, {}});

  struct Case {
    const char* what;
    bool scriptedSilence;  // a port that answers nothing at all
    InputFault input;
  };
  const Case cases[] = {
      {"no feature reply and no input report", true, InputFault::kNone},
      {"data phases never arrive", false, InputFault::kEmpty},
      {"data phases arrive cut short", false, InputFault::kShort},
  };
  for (const auto& c : cases) {
    TempDir dir;
    CountingPauser pauser;
    MouseLink link(pauser);
    VirtualMouseBackend mouse(dir.File("mouse"), 0);
    if (c.scriptedSilence) {
      link.Attach(std::make_unique<testing::ScriptedPort>(std::make_shared<testing::Trace>(),
                                                          ReportLengths{9, 33, 33}));
    } else {
      VirtualMouseFaults faults;
      faults.input = c.input;
      mouse.SetFaults(faults);
      ASSERT_TRUE(link.FindDevice(mouse)) << c.what;
    }
    // A mouse that does not answer its sensor query is not taken to have answered.
    if (c.scriptedSilence) {
      EXPECT_FALSE(link.ReadSensorSettings()) << c.what;
    }
    const std::string config = dir.Write("config.bin", Bytes(kSettingsFileSize, 0));
    SettingsState state;
    state.working = PatternRecord();
    link.ApplyToDevice(state, {config, {}});
    EXPECT_LE(pauser.total, refPauser.total) << c.what;
    ExpectAppliedConfig(config, state.working, c.what);
  }
}

// The virtual mouse's control lines make it keep a macro slot wrong or stop
// answering: the Apply's report says so, and what the mouse did not take.
// A program that opens the folder later meets the mouse as the lines left it.
TEST(DeviceFaultsTest, TheApplyReportSaysWhatTheMouseDidNotTake) {
  struct Case {
    const char* what;
    std::vector<const char*> beforeHandshake, beforeApply;
    bool sensorKnown;
    bool commandsWent;
    std::vector<int> wrongSlots;
    bool laterProgram = false;  // the Apply comes from a program opened after the lines
  } cases[] = {
      {"a mouse that takes everything", {}, {}, true, true, {}},
      {"macro slot 3 kept wrong", {}, {"macro-slot-wrong 3"}, true, true, {3}},
      {"stops answering before the Apply", {}, {"silent"}, true, false, {}},
      {"answers again", {}, {"silent", "answer"}, true, true, {}},
      {"stops answering half-way", {}, {"silent 9"}, true, false, {}},
      {"never told its sensor: nothing is sent", {"silent"}, {}, false, true, {}},
      {"a slot kept wrong, for a later program", {}, {"macro-slot-wrong 3"}, true, true, {3}, true},
      {"a slot right again, for a later program", {}, {"macro-slot-wrong 3", "macro-slot-wrong 0"}, true, true, {}, true},
      {"silent, for a later program", {}, {"silent"}, false, true, {}, true},
      {"answering again, for a later program", {}, {"silent", "answer"}, true, true, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    VirtualMouseBackend mouse(dir.File("mouse"), 1);
    CountingPauser pauser;
    MouseLink link(pauser);
    ASSERT_TRUE(link.FindDevice(mouse));
    for (const char* line : c.beforeHandshake) mouse.RunControlLine(line);
    link.OnMouseFound();
    for (const char* line : c.beforeApply) mouse.RunControlLine(line);
    const std::string config = dir.Write("config.bin", Bytes(kSettingsFileSize, 0));
    SettingsState state;
    state.working = PatternRecord();
    std::unique_ptr<VirtualMouseBackend> later;
    MouseLink laterLink(pauser);
    if (c.laterProgram) {
      later = std::make_unique<VirtualMouseBackend>(dir.File("mouse"), 1);
      ASSERT_TRUE(laterLink.FindDevice(*later));
    }
    const ApplyReport report = (c.laterProgram ? laterLink : link).Apply(state, {config, {}});
    EXPECT_EQ(report.sensorKnown, c.sensorKnown);
    EXPECT_EQ(report.commands.empty(), !c.sensorKnown);
    EXPECT_EQ(report.AllCommandsWent(), c.commandsWent);
    EXPECT_EQ(report.macroSlotsReadBackWrong, c.wrongSlots);
    EXPECT_EQ(report.Applied(), c.sensorKnown && c.commandsWent && c.wrongSlots.empty());
    // config.bin keeps the settings for the next Apply, whatever the mouse took.
    EXPECT_TRUE(report.settingsFile.saved());
    ExpectAppliedConfig(config, state.working, c.what);
  }
}

}  // namespace
}  // namespace vortal
