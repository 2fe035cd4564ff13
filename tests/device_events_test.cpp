#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "device/device_events.h"
#include "device/mouse_link.h"
#include "support/scripted_port.h"
#include "texts/texts.h"

namespace vortal {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DeviceEventsTest, OnlyReportId6WithAKnownCodeIsHandedOn) {
  struct Case {
    Bytes report;
    std::optional<DeviceEvent> event;
  };
  const Case cases[] = {
      {{6, 5, 0, 1, 0, 0, 0, 0}, DeviceEvent{5, 1}},
      {{6, 7, 0, 2, 0, 0, 0, 0}, DeviceEvent{7, 2}},
      {{6, 7, 0xEE, 0xFF, 0, 0, 0, 0}, DeviceEvent{7, 255}},  // any value; byte 2 unused
      {{6, 8, 0, 2, 0, 0, 0, 0}, DeviceEvent{8, 2}},
      {{6, 9, 0, 12, 0, 0, 0, 0}, DeviceEvent{9, 12}},
      {{6, 9, 0, 0}, DeviceEvent{9, 0}},                      // exactly four bytes
      {{5, 7, 0, 2, 0, 0, 0, 0}, std::nullopt},               // another report ID
      {{0, 7, 0, 2, 0, 0, 0, 0}, std::nullopt},
      {{6, 6, 0, 2, 0, 0, 0, 0}, std::nullopt},               // codes not acted on
      {{6, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
      {{6, 15, 0, 0, 0, 0, 0, 0}, std::nullopt},
      {{6, 7, 0}, std::nullopt},                              // too short to hold a value
      {{6}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    // An exactly sized heap copy, so reading past it is caught.
    std::unique_ptr<std::uint8_t[]> report(new std::uint8_t[c.report.size() + 1]);
    if (!c.report.empty()) std::memcpy(report.get(), c.report.data(), c.report.size());
    EXPECT_EQ(DecodeEventReport(report.get(), c.report.size()), c.event) << testing::HexBytes(c.report);
  }
}

TEST(DeviceEventsTest, ChangeNoticesAreMatchedByCaseSensitiveIdentity) {
  struct Case {
    const char* name;
    bool mouse;
  };
  const Case cases[] = {
      {R"(\\?\HID#VID_04D9&PID_A09F&MI_01&Col02#8&2d4c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})", true},
      {R"(\\?\hid#Vid_04d9&Pid_a09f&MI_01#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})", true},
      {"VID_04D9&PID_A09F", true},
      {R"(\\?\hid#vid_04d9&pid_a09f#{4d1e55b2})", false},  // other spelling of the case
      {R"(\\?\HID#VID_04D9&PID_A0A0#{4d1e55b2})", false},  // another product of the maker
      {R"(\\?\HID#VID_046D&PID_C52B#{4d1e55b2})", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsMouseInterfaceName(c.name), c.mouse) << c.name;
}

// An event port that hands out queued reports, then reports the device gone.
class QueuedEventPort : public EventPort {
 public:
  QueuedEventPort(std::size_t inputLength, std::deque<Bytes> reports)
      : inputLength_(inputLength), reports_(std::move(reports)) {}
  std::size_t InputLength() const override { return inputLength_; }
  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    capacities.push_back(capacity);
    if (reports_.empty()) return 0;
    const Bytes next = reports_.front();
    reports_.pop_front();
    const std::size_t count = std::min(capacity, next.size());
    std::memcpy(report, next.data(), count);
    return count;
  }
  void Cancel() override {}
  std::vector<std::size_t> capacities;

 private:
  std::size_t inputLength_;
  std::deque<Bytes> reports_;
};

TEST(DeviceEventsTest, ListenerHandsOnEventsInOrderUntilThePortStops) {
  struct Case {
    std::size_t inputLength;
    std::size_t capacity;  // buffer the listener must offer
  };
  const Case cases[] = {{8, 40}, {0, 40}, {40, 40}, {100, 100}};
  for (const Case& c : cases) {
    Bytes longReport(c.inputLength > 8 ? c.inputLength : 8, 0xAB);
    longReport[0] = 6;
    longReport[1] = 8;
    longReport[3] = 1;
    QueuedEventPort port(c.inputLength, {{6, 5, 0, 8, 0, 0, 0, 0},
                                         {6, 6, 0, 1, 0, 0, 0, 0},
                                         {6, 7},  // two bytes only
                                         {4, 7, 0, 3, 0, 0, 0, 0},
                                         {6, 9, 0, 3, 0, 0, 0, 0},
                                         longReport});
    std::vector<DeviceEvent> events;
    ListenForEvents(port, [&](DeviceEvent event) { events.push_back(event); });
    EXPECT_EQ(events, (std::vector<DeviceEvent>{{5, 8}, {9, 3}, {8, 1}})) << c.inputLength;
    ASSERT_EQ(port.capacities.size(), 7u);  // six reports and the read that ended
    for (std::size_t capacity : port.capacities) EXPECT_EQ(capacity, c.capacity);
  }
}

TEST(DeviceEventsTest, DpiStageBalloonCarriesTheStagesLabelInEveryLanguage) {
  auto trace = std::make_shared<testing::Trace>();
  testing::TracePauser pauser(trace);
  MouseLink link(pauser);
  auto port = std::make_unique<testing::ScriptedPort>(trace, ReportLengths{9, 33, 33});
  port->featureReplies.push_back({0, 0x83, 1, 0, 0, 0, 0, 0, 0x7B});  // sensor type 1
  link.Attach(std::move(port));
  link.OnMouseFound();
  SettingsRecord record{};
  record.dpiLevel[0] = 0;
  record.dpiLevel[1] = 5;  // 2000 DPI on sensor type 1

  const Bytes report = {6, 7, 0, 2, 0, 0, 0, 0};
  const std::optional<DeviceEvent> event = DecodeEventReport(report.data(), report.size());
  ASSERT_TRUE(event.has_value());
  struct Case {
    Language language;
    const char* text;
  };
  const Case cases[] = {
      {Language::kEnglish, "Switch DPI into the second stage 2000"},
      {Language::kSimplifiedChinese, "DPI切换到第二段2000"},
      {Language::kTraditionalChinese, "DPI切換到第二段2000"},
  };
  for (const Case& c : cases) {
    const std::optional<Balloon> balloon =
        BuildBalloon(LocalizedTexts(c.language), event->code, event->value,
                     [&](int entry) { return link.DpiLabel(record.dpiLevel[entry]); });
    ASSERT_TRUE(balloon.has_value());
    EXPECT_EQ(balloon->text, c.text);
    EXPECT_EQ(balloon->title, "Info");
    EXPECT_EQ(balloon->timeoutMs, 5000);
  }
}

}  // namespace
}  // namespace vortal
