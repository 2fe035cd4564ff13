#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/device_commands.h"
#include "device/mouse_link.h"
#include "platform/virtual_mouse.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::ScriptedPort;
using testing::Trace;
using testing::TracePauser;

TEST(DeviceCommandsTest, DpiCodesAndLabelsBySensorType) {
  struct Case {
    int sensor;
    int level;
    std::uint8_t code;
    const char* label;
  };
  const Case cases[] = {
      {0, 0, 0x01, "250"},   {0, 7, 0x08, "2000"},  {0, 8, 0x25, "2500"},  {0, 11, 0x28, "4000"},
      {1, 0, 0x01, "600"},   {1, 5, 0x23, "2000"},  {1, 7, 0x25, "3200"},
      {2, 0, 0x02, "250"},   {2, 4, 0x0A, "1250"},  {2, 7, 0x2A, "2500"},
      {3, 0, 0x01, "400"},   {3, 7, 0x08, "3200"},
      // Unknown sensor types: no code, no label.
      {4, 0, 0x00, ""},      {7, 3, 0x00, ""},      {255, 11, 0x00, ""},
      // A level beyond the sensor's table takes its highest level.
      {1, 8, 0x25, "3200"},  {3, 11, 0x08, "3200"}, {0, 255, 0x28, "4000"},
  };
  for (const Case& c : cases) {
    const auto sensor = static_cast<std::uint8_t>(c.sensor);
    EXPECT_EQ(DpiCode(sensor, c.level), c.code) << c.sensor << "/" << c.level;
    EXPECT_EQ(DpiLabel(sensor, c.level), c.label) << c.sensor << "/" << c.level;
  }
  EXPECT_EQ(DpiTableOf(0).count, 12);
  for (int sensor = 1; sensor <= 3; ++sensor) EXPECT_EQ(DpiTableOf(static_cast<std::uint8_t>(sensor)).count, 8);
}

TEST(DeviceCommandsTest, DpiBlockMarksDisabledStagesWithBit7) {
  struct Case {
    std::uint8_t sensor;
    std::uint8_t levels[4];
    std::uint8_t enabled[4];
    DpiBlock block;
  };
  const Case cases[] = {
      {1, {5, 0, 0, 0}, {1, 1, 1, 1}, {0x23, 0x01, 0x01, 0x01, 0x80, 0x80, 0x80, 0x80}},
      {1, {5, 0, 0, 0}, {0, 1, 1, 1}, {0xA3, 0x01, 0x01, 0x01, 0x80, 0x80, 0x80, 0x80}},
      {0, {0, 3, 8, 11}, {1, 0, 1, 0}, {0x01, 0x84, 0x25, 0xA8, 0x80, 0x80, 0x80, 0x80}},
      {7, {1, 2, 3, 4}, {1, 0, 1, 0}, {0x00, 0x80, 0x00, 0x80, 0x80, 0x80, 0x80, 0x80}},
      // Any non-zero enable byte counts as enabled.
      {2, {1, 1, 1, 1}, {2, 1, 0, 255}, {0x04, 0x04, 0x84, 0x04, 0x80, 0x80, 0x80, 0x80}},
  };
  for (const Case& c : cases) {
    SettingsRecord record{};
    std::copy(std::begin(c.levels), std::end(c.levels), record.dpiLevel);
    std::copy(std::begin(c.enabled), std::end(c.enabled), record.dpiStageEnabled);
    EXPECT_EQ(BuildDpiBlock(record, c.sensor), c.block) << int(c.sensor);
  }
}

TEST(DeviceCommandsTest, LoopColoursInUseArePackedInEntryOrder) {
  SettingsRecord record{};
  for (int e = 0; e < 8; ++e) {
    for (int c = 0; c < 3; ++c) record.loopColor[e][c] = static_cast<std::uint8_t>(0x10 * (e + 1) + c);
  }
  struct Case {
    std::vector<std::uint8_t> enabled;
    std::vector<int> entries;  // entries expected in part 0, in order
  };
  const Case cases[] = {
      {{0, 0, 1, 0, 0, 1, 0, 0}, {2, 5}},
      {{0, 0, 0, 0, 0, 0, 0, 0}, {}},
      {{1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7}},
      {{2, 1, 255, 0, 0, 0, 0, 1}, {1, 7}},  // only exactly 1 means in use
  };
  for (const Case& c : cases) {
    std::copy(c.enabled.begin(), c.enabled.end(), record.loopColorEnabled);
    std::array<std::uint8_t, 24> expected{};
    std::size_t at = 0;
    for (int e : c.entries) {
      for (int k = 0; k < 3; ++k) expected[at++] = record.loopColor[e][k];
    }
    EXPECT_EQ(PackLoopColors(record), expected);
  }
}

std::vector<std::uint8_t> Report9(std::vector<std::uint8_t> head) {
  head.resize(9, 0);
  return head;
}

TEST(DeviceCommandsTest, MouseFoundSetsOption2Bit6AndWritesTheSettingsBack) {
  struct Case {
    std::vector<std::uint8_t> reply;  // empty: the mouse does not answer
    std::vector<std::string> trace;
    std::uint8_t sensorType;
    SensorSettings settings;
  };
  const Case cases[] = {
      {Report9({0, 0x83, 0x01, 0x10, 0x20, 0x05, 0, 0, 0x46}),
       {"SET_FEATURE 00 83 00 00 00 00 00 00 7C", "GET_FEATURE 00 83 01 10 20 05 00 00 46",
        "SET_FEATURE 00 03 01 10 20 45 00 00 86"},
       1, {0x01, 0x10, 0x20, 0x45}},
      {Report9({0, 0x83, 0x02, 0x00, 0x00, 0xC0, 0, 0, 0xBA}),
       {"SET_FEATURE 00 83 00 00 00 00 00 00 7C", "GET_FEATURE 00 83 02 00 00 C0 00 00 BA",
        "SET_FEATURE 00 03 02 00 00 C0 00 00 3A"},
       2, {0x02, 0x00, 0x00, 0xC0}},
      // No reply: nothing is written back and the sensor type stays.
      {{}, {"SET_FEATURE 00 83 00 00 00 00 00 00 7C"}, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    auto trace = std::make_shared<Trace>();
    TracePauser pauser(trace);
    MouseLink link(pauser);
    auto port = std::make_unique<ScriptedPort>(trace, ReportLengths{9, 33, 33});
    if (!c.reply.empty()) port->featureReplies.push_back(c.reply);
    link.Attach(std::move(port));
    link.OnMouseFound();
    EXPECT_EQ(trace->lines, c.trace);
    EXPECT_EQ(link.sensorType(), c.sensorType);
    EXPECT_EQ(link.buffers().sensorSettings, c.settings);
  }
}

TEST(DeviceCommandsTest, SensorTypeSelectsTheLinksDpiLabels) {
  auto trace = std::make_shared<Trace>();
  TracePauser pauser(trace);
  MouseLink link(pauser);
  EXPECT_EQ(link.DpiLabel(5), "1500");  // type 0 until the mouse says otherwise
  auto port = std::make_unique<ScriptedPort>(trace, ReportLengths{9, 33, 33});
  port->featureReplies.push_back(Report9({0, 0x83, 0x03, 0, 0, 0, 0, 0, 0x79}));
  link.Attach(std::move(port));
  std::vector<std::string> diagnostics;
  link.diagnostics = [&](const std::string& text) { diagnostics.push_back(text); };
  EXPECT_TRUE(link.ReadSensorSettings());
  EXPECT_EQ(link.DpiLabel(5), "2400");
  EXPECT_EQ(diagnostics, std::vector<std::string>{
                             "Sensor Type:03\n,,Rate:00\n,Option1:00\n,Option2:00\n"});
}


TEST(DeviceCommandsTest, FindDeviceReplacesThePortOnlyWhenTheMouseIsThere) {
  testing::TempDir dir;
  VirtualMouseBackend mouse(dir.File(""), 2);
  testing::CountingPauser pauser;
  MouseLink link(pauser);
  std::unique_ptr<EventPort> events;

  ASSERT_TRUE(link.FindDevice(mouse, &events));
  EXPECT_TRUE(link.devicePresent);
  EXPECT_NE(events, nullptr);
  link.OnMouseFound();
  EXPECT_EQ(link.sensorType(), 2);

  mouse.RunControlLine("unplug");
  events.reset();
  EXPECT_FALSE(link.FindDevice(mouse, &events));
  EXPECT_TRUE(link.devicePresent) << "left as it was";
  EXPECT_EQ(events, nullptr);
  link.devicePresent = false;  // what the device-change handler does

  mouse.RunControlLine("plug");
  ASSERT_TRUE(link.FindDevice(mouse, &events));
  EXPECT_TRUE(link.devicePresent);
  link.OnMouseFound();  // reaches the mouse through the new port
  EXPECT_EQ(mouse.Memory().sensorSettings[3], 0x40);
}

}  // namespace
}  // namespace vortal
