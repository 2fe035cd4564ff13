#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/transport.h"
#include "support/scripted_port.h"

namespace vortal {
namespace {

using testing::CommandReport;
using testing::DataReport;
using testing::FeatureReport;
using testing::HexBytes;
using testing::ScriptedPort;
using testing::Trace;
using testing::TracePauser;

constexpr ReportLengths kMouseLengths{9, 33, 33};

std::vector<std::uint8_t> Report(std::size_t length, std::vector<std::uint8_t> head) {
  head.resize(length, 0);
  return head;
}

// A transport talking to a scripted port, with one trace for the port's
// calls and the pauses.
struct Rig {
  explicit Rig(ReportLengths lengths = kMouseLengths)
      : trace(std::make_shared<Trace>()), pauser(trace), transport(pauser) {
    auto owned = std::make_unique<ScriptedPort>(trace, lengths);
    port = owned.get();
    transport.Attach(std::move(owned));
  }
  std::shared_ptr<Trace> trace;
  TracePauser pauser;
  Transport transport;
  ScriptedPort* port;
};

TEST(TransportTest, PlainCommandGoesOutWithItsChecksumAndLeavesTheFrame) {
  Rig rig;
  CommandFrame frame = MakeFrame(0x01, 0x08);
  frame[7] = 0x55;
  rig.transport.SendCommand(frame);
  EXPECT_EQ(rig.trace->lines, std::vector<std::string>{"SET_FEATURE 00 01 08 00 00 00 00 00 F6"});
  EXPECT_EQ(frame, (CommandFrame{0x01, 0x08, 0, 0, 0, 0, 0, 0x55}));
}

TEST(TransportTest, ReadCommandReplacesTheFrameWithTheReply) {
  Rig rig;
  rig.port->featureReplies.push_back({0x00, 0x83, 0x01, 0x02, 0x03, 0x04, 0, 0, 0x72});
  CommandFrame frame = MakeFrame(0x83);
  rig.transport.SendCommand(frame);
  EXPECT_EQ(rig.trace->lines, (std::vector<std::string>{
                                  "SET_FEATURE 00 83 00 00 00 00 00 00 7C",
                                  "GET_FEATURE 00 83 01 02 03 04 00 00 72"}));
  EXPECT_EQ(frame, (CommandFrame{0x83, 1, 2, 3, 4, 0, 0, 0x72}));
}

TEST(TransportTest, FailedReplyReadLeavesZeros) {
  Rig rig;  // no reply scripted: GetFeature fails
  CommandFrame frame = MakeFrame(0x83, 9, 9);
  rig.transport.SendCommand(frame);
  EXPECT_EQ(frame, CommandFrame{});
}

TEST(TransportTest, WriteDataPhaseSendsOneReportPer32BytesWithPauses) {
  struct Case {
    std::uint8_t length;
    std::size_t reports;
  };
  const Case cases[] = {{128, 4}, {64, 2}, {33, 2}, {32, 1}, {24, 1}, {8, 1}, {4, 1}, {0, 0}};
  for (const Case& c : cases) {
    Rig rig;
    std::vector<std::uint8_t> data(128, 0);
    for (std::size_t i = 0; i < c.length; ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    CommandFrame frame = MakeFrame(0x13, 1, c.length);
    rig.transport.SendDataCommand(frame, data);

    std::vector<std::string> expected = {"SET_FEATURE " + HexBytes(CommandReport(frame))};
    for (std::size_t r = 0; r < c.reports; ++r) {
      expected.push_back("WRITE " + HexBytes(DataReport(data, r * 32)));
      expected.push_back("PAUSE 3000");
    }
    EXPECT_EQ(rig.trace->lines, expected) << "length " << int(c.length);
  }
}

TEST(TransportTest, ShortWriteSourceIsPaddedWithZeros) {
  Rig rig;
  std::vector<std::uint8_t> data = {1, 2, 3, 4};  // less than the one 32-byte piece
  CommandFrame frame = MakeFrame(0x10, 2, 4);
  rig.transport.SendDataCommand(frame, data);
  ASSERT_EQ(rig.trace->lines.size(), 3u);
  EXPECT_EQ(rig.trace->lines[1], "WRITE " + HexBytes(Report(33, {0, 1, 2, 3, 4})));
}

TEST(TransportTest, ReadDataPhaseReadsWhatTheReplyAnnounces) {
  struct Case {
    std::uint8_t replyLength;
    std::size_t room;
    std::size_t reads;
  };
  const Case cases[] = {
      {8, 128, 1},   {24, 128, 1}, {4, 128, 1},  {128, 128, 4},
      {0, 128, 0},   {33, 128, 2},
      {255, 128, 8},  // more than the caller's room: read everything, keep 128
      {64, 32, 2},    // a smaller buffer still receives only what fits
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.port->featureReplies.push_back(Report(9, {0, 0x90, 1, c.replyLength}));
    for (std::size_t r = 0; r < 8; ++r) {
      std::vector<std::uint8_t> input(33, 0);
      for (std::size_t i = 0; i < 32; ++i) input[1 + i] = static_cast<std::uint8_t>(r * 32 + i + 1);
      rig.port->inputReports.push_back(input);
    }
    std::vector<std::uint8_t> data(c.room, 0xCC);
    CommandFrame frame = MakeFrame(0x90, 1);
    rig.transport.SendDataCommand(frame, data);

    EXPECT_EQ(frame[2], c.replyLength);
    EXPECT_EQ(rig.port->inputReports.size(), 8 - c.reads) << int(c.replyLength);
    EXPECT_EQ(rig.trace->lines.size(), 2 + c.reads);
    const std::size_t filled = std::min(c.room, c.reads * 32);
    for (std::size_t i = 0; i < c.room; ++i) {
      const std::uint8_t want = i < filled ? static_cast<std::uint8_t>(i + 1) : 0xCC;
      ASSERT_EQ(data[i], want) << "length " << int(c.replyLength) << " byte " << i;
    }
  }
}

TEST(TransportTest, FailedInputReadYieldsZeroBytes) {
  Rig rig;
  rig.port->featureReplies.push_back(Report(9, {0, 0x93, 1, 64}));
  std::vector<std::uint8_t> data(128, 0xCC);
  CommandFrame frame = MakeFrame(0x93, 1);
  rig.transport.SendDataCommand(frame, data);
  for (std::size_t i = 0; i < 64; ++i) ASSERT_EQ(data[i], 0) << i;
  EXPECT_EQ(data[64], 0xCC);
}

TEST(TransportTest, DeviceReportLengthsDecideTheBuffersAndWhatIsPassed) {
  struct Case {
    ReportLengths lengths;
    std::size_t setFeatureBytes;  // bytes shown in the trace, 0 when nothing is sent
  };
  const Case cases[] = {
      {{9, 33, 33}, 9},
      {{16, 40, 40}, 16},
      {{64, 100, 200}, 64},  // longer than the protocol's buffers: still in bounds
      {{5, 5, 5}, 5},        // shorter: the device gets what it asked for
      {{70000, 33, 33}, 0},  // not a HID report length: the device is not used
  };
  for (const Case& c : cases) {
    Rig rig(c.lengths);
    rig.port->featureReplies.push_back(Report(c.lengths.feature < 100 ? c.lengths.feature : 9,
                                              {0, 0x90, 0, 64}));
    rig.port->inputReports.assign(2, std::vector<std::uint8_t>(c.lengths.input, 0xEE));
    std::vector<std::uint8_t> data(128, 0);
    CommandFrame frame = MakeFrame(0x90);
    rig.transport.SendDataCommand(frame, data);
    CommandFrame write = MakeFrame(0x12, 1, 64);
    rig.transport.SendDataCommand(write, data);
    if (c.setFeatureBytes == 0) {
      EXPECT_TRUE(rig.trace->lines.empty());
      EXPECT_FALSE(rig.transport.Usable());
      continue;
    }
    ASSERT_FALSE(rig.trace->lines.empty());
    EXPECT_EQ(rig.trace->lines[0].size(), std::string("SET_FEATURE").size() + 3 * c.setFeatureBytes);
    for (const std::string& line : rig.trace->lines) {
      if (line.rfind("WRITE ", 0) == 0) {
        EXPECT_EQ(line.size(), 6 + 3 * c.lengths.output - 1);
      }
    }
  }
}

TEST(TransportTest, WithoutAPortNothingIsSent) {
  testing::CountingPauser pauser;
  Transport transport(pauser);
  CommandFrame frame = MakeFrame(0x83, 1, 2);
  transport.SendCommand(frame);
  std::vector<std::uint8_t> data(128, 7);
  transport.SendDataCommand(frame, data);
  EXPECT_EQ(frame, MakeFrame(0x83, 1, 2));
  EXPECT_EQ(data, std::vector<std::uint8_t>(128, 7));
  EXPECT_EQ(pauser.total.count(), 0);
}

TEST(TransportTest, ScramblingWrapsTheFrameBothWays) {
  Rig rig;
  rig.transport.scrambling().enabled = true;
  CommandFrame reply = {0x83, 1, 2, 3, 4, 0, 0, 0};
  StoreChecksum(reply);
  CommandFrame wireReply = reply;
  ScrambleFrame(wireReply);
  rig.port->featureReplies.push_back(FeatureReport(wireReply));

  CommandFrame frame = MakeFrame(0x83);
  rig.transport.SendCommand(frame);

  CommandFrame expectedWire = MakeFrame(0x83);
  StoreChecksum(expectedWire);
  ScrambleFrame(expectedWire);
  ASSERT_EQ(rig.trace->lines.size(), 2u);
  EXPECT_EQ(rig.trace->lines[0], "SET_FEATURE " + HexBytes(FeatureReport(expectedWire)));
  EXPECT_EQ(frame, reply);
}

}  // namespace
}  // namespace vortal
