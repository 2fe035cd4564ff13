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
#include "support/recording_messages.h"
#include "support/settings_records.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::CountingPauser;
using testing::ConfigBytes;
using testing::ExpectAppliedConfig;
using testing::PatternRecord;
using testing::RecordingMessages;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;


// The virtual mouse, unplugged when the link sends its command number `at`
// (1 is the first; 0 or less: never).
class UnplugAtCommand : public HidBackend {
 public:
  UnplugAtCommand(VirtualMouseBackend& mouse, int at) : mouse_(mouse), at_(at) {}

  OpenedMouse FindDevice() override {
    OpenedMouse opened = mouse_.FindDevice();
    if (opened.command) opened.command = std::make_unique<Port>(std::move(opened.command), *this);
    return opened;
  }
  int commands() const { return commands_; }

 private:
  class Port : public CommandPort {
   public:
    Port(std::unique_ptr<CommandPort> inner, UnplugAtCommand& owner) : inner_(std::move(inner)), owner_(owner) {}
    ReportLengths Lengths() const override { return inner_->Lengths(); }
    bool SetFeature(const std::uint8_t* report, std::size_t length) override {
      if (++owner_.commands_ == owner_.at_) owner_.mouse_.RunControlLine("unplug");
      return inner_->SetFeature(report, length);
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override { return inner_->GetFeature(report, length); }
    bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
      return inner_->WriteOutput(report, length);
    }
    bool ReadInput(std::uint8_t* report, std::size_t length) override { return inner_->ReadInput(report, length); }

   private:
    std::unique_ptr<CommandPort> inner_;
    UnplugAtCommand& owner_;
  };

  VirtualMouseBackend& mouse_;
  int at_;
  int commands_ = 0;
};

struct ApplyRun {
  int commands = 0;                     // commands the link tried to send in the Apply
  std::chrono::microseconds paused{0};  // pauses of the Apply
  VirtualMouseMemory memoryAfterReplug;
};


// Finds the mouse, unplugs it at command `at` of the Apply (0: before the
// Apply), applies, then plugs it in again and applies once more.
ApplyRun ApplyWithUnplug(int at) {
  const std::string what = "unplugged at command " + std::to_string(at);
  ApplyRun run;
  TempDir dir;
  VirtualMouseBackend mouse(dir.File("mouse"), 1);
  CountingPauser handshakePauser;
  MouseLink link(handshakePauser);
  UnplugAtCommand backend(mouse, -1);
  EXPECT_TRUE(link.FindDevice(backend)) << what;
  link.OnMouseFound();

  // The Apply itself, with its own counter of commands.
  UnplugAtCommand counting(mouse, at);
  CountingPauser pauser;
  MouseLink applyLink(pauser);
  EXPECT_TRUE(applyLink.FindDevice(counting)) << what;
  if (at == 0) mouse.RunControlLine("unplug");

  const std::string config = dir.Write("config.bin", Bytes(kSettingsFileSize, 0));
  SettingsState state;
  state.working = PatternRecord();
  RecordingMessages messages;
  int paneSaves = 0;
  applyLink.ApplyToDevice(state, {config, &messages, [&] { ++paneSaves; }});
  run.commands = counting.commands();
  run.paused = pauser.total;
  ExpectAppliedConfig(config, state.working, what);
  EXPECT_EQ(paneSaves, 1) << what;
  EXPECT_TRUE(messages.shown.empty()) << what;

  // After: the mouse is back and the next Apply reaches it whole.
  mouse.RunControlLine("plug");
  EXPECT_TRUE(applyLink.FindDevice(mouse)) << what;
  applyLink.ApplyToDevice(state, {config, &messages, {}});
  ExpectAppliedConfig(config, state.working, what);
  run.memoryAfterReplug = mouse.Memory();
  return run;
}

TEST(DeviceFaultsTest, UnpluggedAtEveryCommandOfTheApply) {
  const ApplyRun whole = ApplyWithUnplug(-1);
  ASSERT_GT(whole.commands, 20);
  for (int at = 0; at <= whole.commands; ++at) {
    const ApplyRun run = ApplyWithUnplug(at);
    // The sequence is sent in full whatever happens: the commands after the
    // unplug go nowhere, none is retried, and no pause is longer.
    EXPECT_EQ(run.commands, whole.commands) << at;
    EXPECT_LE(run.paused, whole.paused) << at;
    EXPECT_TRUE(run.memoryAfterReplug == whole.memoryAfterReplug) << "unplugged at command " << at;
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
  refLink.ApplyToDevice(refState, {refConfig, nullptr, {}});

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
    link.ApplyToDevice(state, {config, nullptr, {}});
    EXPECT_LE(pauser.total, refPauser.total) << c.what;
    ExpectAppliedConfig(config, state.working, c.what);
  }
}

}  // namespace
}  // namespace vortal
