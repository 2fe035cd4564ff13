#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/device_events.h"
#include "device/mouse_link.h"
#include "platform/virtual_mouse.h"
#include "settings/settings_file.h"
#include "support/settings_records.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::CommandReport;
using testing::DataReport;
using testing::HexBytes;
using testing::LoggedTraffic;
using testing::ExpectAppliedConfig;
using testing::ScriptedPort;
using testing::TempDir;
using testing::Trace;
using testing::TracePauser;

using Bytes = std::vector<std::uint8_t>;

// ---- The exchange an Apply implies, written from the mouse's point of view.

std::string Cmd(CommandFrame frame) { return "SET_FEATURE " + HexBytes(CommandReport(frame)); }
std::string Reply(CommandFrame frame) { return "GET_FEATURE " + HexBytes(CommandReport(frame)); }

struct MouseSide {
  Bytes parts[3] = {Bytes(24), Bytes(24), Bytes(4)};  // what the mouse returns for 0x90
  Bytes slots[12];                                    // what it returns for 0x93
};

struct ExpectedApply {
  Bytes part0;
  Bytes part2;
  std::uint8_t led[3];
  Bytes dpi;
  Bytes matrix1;
  Bytes matrix3;
};

void AddData(std::vector<std::string>& lines, const char* kind, const Bytes& data, bool pauses) {
  for (std::size_t at = 0; at < data.size(); at += 32) {
    lines.push_back(std::string(kind) + " " + HexBytes(DataReport(data, at)));
    if (pauses && std::string(kind) == "WRITE") lines.push_back("PAUSE 3000");
  }
}

std::vector<std::string> ApplyTraffic(const SettingsRecord& record, const MouseSide& mouse,
                                      const ExpectedApply& want, bool pauses) {
  std::vector<std::string> lines;
  auto wait = [&] {
    if (pauses) lines.push_back("PAUSE 2000");
  };
  lines.push_back(Cmd(MakeFrame(0x01, record.reportRate)));
  for (std::uint8_t p = 0; p < 3; ++p) {
    lines.push_back(Cmd(MakeFrame(0x90, p)));
    lines.push_back(Reply(MakeFrame(0x90, p, static_cast<std::uint8_t>(mouse.parts[p].size()))));
    AddData(lines, "READ", mouse.parts[p], pauses);
    wait();
  }
  const Bytes* parts[3] = {&want.part0, &mouse.parts[1], &want.part2};
  for (std::uint8_t p = 0; p < 3; ++p) {
    lines.push_back(Cmd(MakeFrame(0x10, p, static_cast<std::uint8_t>(parts[p]->size()))));
    AddData(lines, "WRITE", *parts[p], pauses);
    wait();
  }
  lines.push_back(Cmd(MakeFrame(0x0D, want.led[0], want.led[1], want.led[2])));
  lines.push_back(Cmd(MakeFrame(0x11, 4, 8)));
  AddData(lines, "WRITE", want.dpi, pauses);
  for (std::uint8_t m = 1; m <= 12; ++m) {
    lines.push_back(Cmd(MakeFrame(0x13, m, 128)));
    AddData(lines, "WRITE", Bytes(record.macroSlots[m - 1], record.macroSlots[m - 1] + 128), pauses);
    wait();
  }
  for (std::uint8_t m = 1; m <= 12; ++m) {
    lines.push_back(Cmd(MakeFrame(0x93, m)));
    lines.push_back(Reply(MakeFrame(0x93, m, 128)));
    AddData(lines, "READ", mouse.slots[m - 1], pauses);
    wait();
  }
  const Bytes zeros(64, 0);
  const Bytes* matrices[4] = {&want.matrix1, &zeros, &want.matrix3, &zeros};
  for (std::uint8_t k = 1; k <= 4; ++k) {
    lines.push_back(Cmd(MakeFrame(0x12, k, 64)));
    AddData(lines, "WRITE", *matrices[k - 1], pauses);
    wait();
  }
  return lines;
}

// A key matrix from the codes of slots 0 to 7; 8 to 13 zero; 14 and 15 fixed.
Bytes Matrix(const std::vector<Bytes>& codes) {
  Bytes matrix(64, 0);
  for (std::size_t s = 0; s < codes.size(); ++s) std::copy(codes[s].begin(), codes[s].end(), matrix.begin() + 4 * s);
  const Bytes slot14 = {0x01, 0x00, 0xF7, 0x00}, slot15 = {0x01, 0x00, 0xF8, 0x00};
  std::copy(slot14.begin(), slot14.end(), matrix.begin() + 56);
  std::copy(slot15.begin(), slot15.end(), matrix.begin() + 60);
  return matrix;
}

const Bytes kLeft = {0x01, 0x00, 0xF0, 0x00};
const Bytes kRight = {0x01, 0x00, 0xF1, 0x00};
const Bytes kForwardCode = {0x01, 0x00, 0xF4, 0x00};

// A record that exercises every part of Apply, and what the mouse must see.
SettingsRecord SampleRecord() {
  SettingsRecord record{};
  record.reportRate = 2;
  record.dpiLevel[0] = 5;
  record.dpiLevel[1] = 1;
  record.dpiLevel[2] = 7;
  record.dpiLevel[3] = 0;
  record.dpiStageEnabled[0] = 1;
  record.dpiStageEnabled[1] = 1;
  record.dpiStageEnabled[2] = 0;
  record.dpiStageEnabled[3] = 1;
  record.auxLedMode = 2;
  record.auxLedParam[1] = 4;
  record.loopColorEnabled[2] = 1;
  record.loopColorEnabled[5] = 1;
  std::uint8_t c2[3] = {0x11, 0x22, 0x33}, c5[3] = {0xAA, 0xBB, 0xCC}, c0[3] = {9, 9, 9};
  std::memcpy(record.loopColor[2], c2, 3);
  std::memcpy(record.loopColor[5], c5, 3);
  std::memcpy(record.loopColor[0], c0, 3);  // not in use: not sent
  record.dpiStageLedBits[0] = 0x21;
  record.dpiStageLedBits[1] = 0x43;
  record.dpiLedReserved[0] = 0x65;
  record.dpiLedReserved[1] = 0x87;
  for (int m = 0; m < kMacroSlots; ++m) {
    for (int i = 0; i < kMacroSlotSize; ++i) record.macroSlots[m][i] = static_cast<std::uint8_t>(m * 16 + i);
  }
  record.modeA.keyFunction[0] = kRightClick;
  record.modeB.keyFunction[6] = kForward;  // button 6 goes to slot 7
  return record;
}

ExpectedApply SampleExpectation(std::uint8_t sensorType) {
  ExpectedApply want;
  want.part0 = Bytes(24, 0);
  const Bytes colors = {0x11, 0x22, 0x33, 0xAA, 0xBB, 0xCC};
  std::copy(colors.begin(), colors.end(), want.part0.begin());
  want.part2 = {0x21, 0x43, 0x65, 0x87};
  want.led[0] = 2;
  want.led[1] = 5;
  want.led[2] = 3;
  if (sensorType == 1) {
    want.dpi = {0x23, 0x02, 0xA5, 0x01, 0x80, 0x80, 0x80, 0x80};
  } else {  // sensor type 0
    want.dpi = {0x06, 0x02, 0x88, 0x01, 0x80, 0x80, 0x80, 0x80};
  }
  want.matrix1 = Matrix({kRight, kLeft, kLeft, kLeft, kLeft, kLeft, kLeft, kLeft});
  want.matrix3 = Matrix({kLeft, kLeft, kLeft, kLeft, kLeft, kLeft, kLeft, kForwardCode});
  return want;
}

Bytes Slot(const SettingsRecord& record, int m) { return Bytes(record.macroSlots[m], record.macroSlots[m] + 128); }

// ---- A scripted mouse

struct ScriptedMouse {
  ScriptedMouse() : trace(std::make_shared<Trace>()), pauser(trace), link(pauser) {
    auto owned = std::make_unique<ScriptedPort>(trace, ReportLengths{9, 33, 33});
    port = owned.get();
    link.Attach(std::move(owned));
  }
  // Replies for the three configuration reads and the twelve macro reads.
  void Script(const MouseSide& mouse) {
    for (std::uint8_t p = 0; p < 3; ++p) {
      port->featureReplies.push_back(CommandReport(MakeFrame(0x90, p, static_cast<std::uint8_t>(mouse.parts[p].size()))));
      port->inputReports.push_back(DataReport(mouse.parts[p], 0));
    }
    for (std::uint8_t m = 1; m <= 12; ++m) {
      port->featureReplies.push_back(CommandReport(MakeFrame(0x93, m, 128)));
      for (std::size_t at = 0; at < 128; at += 32) port->inputReports.push_back(DataReport(mouse.slots[m - 1], at));
    }
  }
  std::shared_ptr<Trace> trace;
  TracePauser pauser;
  MouseLink link;
  ScriptedPort* port;
};

struct SettingsFile {
  TempDir dir;
  std::string path = dir.Write("config.bin", Bytes(kSettingsFileSize, 0));
};


MouseSide SampleMouse(const SettingsRecord& record) {
  MouseSide mouse;
  for (std::size_t i = 0; i < 24; ++i) mouse.parts[0][i] = static_cast<std::uint8_t>(0x50 + i);
  for (std::size_t i = 0; i < 24; ++i) mouse.parts[1][i] = static_cast<std::uint8_t>(0xA0 + i);
  mouse.parts[2] = {0xF1, 0xF2, 0xF3, 0xF4};
  for (int m = 0; m < 12; ++m) mouse.slots[m] = Slot(record, m);
  mouse.slots[3][0] ^= 0xFF;  // the read-back is taken as the mouse returns it
  return mouse;
}

TEST(ApplyTest, SendsEverythingInTheMousesOrderWithItsPauses) {
  for (std::uint8_t sensor : {0, 1}) {
    ScriptedMouse mouse;
    mouse.port->featureReplies.push_back(CommandReport(MakeFrame(0x83, sensor, 0, 0, 0)));
    mouse.link.OnMouseFound();
    mouse.trace->lines.clear();

    SettingsState state;
    state.working = SampleRecord();
    const MouseSide side = SampleMouse(state.working);
    mouse.Script(side);
    SettingsFile file;
    int paneSaves = 0;
    const ApplyReport report = mouse.link.ApplyToDevice(state, {file.path, [&] { return ++paneSaves > 0; }});

    const auto expected = ApplyTraffic(state.working, side, SampleExpectation(sensor), true);
    ASSERT_EQ(mouse.trace->lines.size(), expected.size()) << "sensor " << int(sensor);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(mouse.trace->lines[i], expected[i]) << "sensor " << int(sensor) << " line " << i;
    }
    // Part 1 keeps what the mouse returned; the read-back lands in the send buffer.
    const DeviceBuffers& buffers = mouse.link.buffers();
    EXPECT_TRUE(std::equal(side.parts[1].begin(), side.parts[1].end(), buffers.configBlock.Part(1)));
    for (int m = 0; m < 12; ++m) {
      EXPECT_TRUE(std::equal(side.slots[m].begin(), side.slots[m].end(), buffers.macroSendBuffer[m].begin()));
    }
    ExpectAppliedConfig(file.path, state.working);
    EXPECT_EQ(paneSaves, 1);
    EXPECT_TRUE(report.settingsFile.saved());
    EXPECT_TRUE(report.paneTextsSaved);
  }
}

// ---- A switch: the blocks of the whole Apply's traffic for the commands that differ.

using CommandKey = std::pair<std::uint8_t, int>;  // opcode and index as the report names them

// The trace of an Apply cut at each command, keyed as the report keys it.
std::vector<std::pair<CommandKey, std::vector<std::string>>> ByCommand(const std::vector<std::string>& lines) {
  std::vector<std::pair<CommandKey, std::vector<std::string>>> blocks;
  for (const std::string& line : lines) {
    if (line.rfind("SET_FEATURE ", 0) == 0) {
      const auto opcode = static_cast<std::uint8_t>(std::stoi(line.substr(15, 2), nullptr, 16));
      const int index = opcode == 0x01 || opcode == 0x0D ? 0 : std::stoi(line.substr(18, 2), nullptr, 16);
      blocks.push_back({{opcode, index}, {}});
    }
    blocks.back().second.push_back(line);
  }
  return blocks;
}

// Replies for the reads among `commands`.
void ScriptReads(ScriptedPort& port, const MouseSide& mouse, const std::vector<CommandKey>& commands) {
  for (const auto& [opcode, index] : commands) {
    if (opcode == 0x90) {
      port.featureReplies.push_back(CommandReport(MakeFrame(0x90, static_cast<std::uint8_t>(index),
                                                            static_cast<std::uint8_t>(mouse.parts[index].size()))));
      port.inputReports.push_back(DataReport(mouse.parts[index], 0));
    } else if (opcode == 0x93) {
      port.featureReplies.push_back(CommandReport(MakeFrame(0x93, static_cast<std::uint8_t>(index), 128)));
      for (std::size_t at = 0; at < 128; at += 32) port.inputReports.push_back(DataReport(mouse.slots[index - 1], at));
    }
  }
}

TEST(ApplyTest, SwitchSendsOnlyWhatDiffersInTheApplysOrderWithItsPauses) {
  enum class Before { kApplied, kApplyFailed, kReattached };
  struct Case {
    const char* what;
    Before before;
    void (*change)(SettingsRecord&);
    std::vector<CommandKey> sent;  // empty with `whole` false: nothing
    bool whole = false;
  };
  const Case cases[] = {
      {"nothing differs", Before::kApplied, [](SettingsRecord&) {}, {}},
      {"DPI only", Before::kApplied, [](SettingsRecord& r) { r.dpiLevel[2] = 3; }, {{0x11, 4}}},
      {"buttons only", Before::kApplied,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[2] = kForward;
         r.modeB.keyFunction[0] = kRightClick;
       },
       {{0x12, 1}, {0x12, 3}}},
      {"everything", Before::kApplied,
       [](SettingsRecord& r) {
         r.reportRate = 1;
         r.loopColorEnabled[0] = 1;
         r.dpiLedReserved[0] = 0;
         r.auxLedMode = 1;
         r.dpiStageEnabled[2] = 1;
         r.macroSlots[4][9] ^= 1;
         r.modeA.keyFunction[2] = kForward;
       },
       {{0x01, 0}, {0x10, 0}, {0x10, 2}, {0x0D, 0}, {0x11, 4}, {0x13, 5}, {0x93, 5}, {0x12, 1}}},
      {"the first after a new port", Before::kReattached, [](SettingsRecord&) {}, {}, true},
      {"the first after a failed command", Before::kApplyFailed, [](SettingsRecord&) {}, {}, true},
  };
  for (const Case& c : cases) {
    const SettingsRecord first = SampleRecord();
    SettingsRecord next = first;
    c.change(next);
    MouseSide side = SampleMouse(first);
    side.slots[3] = Slot(first, 3);  // every slot comes back as sent
    MouseSide nextSide = side;
    for (int m = 0; m < 12; ++m) nextSide.slots[m] = Slot(next, m);
    SettingsFile file;

    // The whole Apply of `next`, from a mouse that has not seen `first`.
    ScriptedMouse reference;
    reference.port->featureReplies.push_back(CommandReport(MakeFrame(0x83, 1, 0, 0, 0)));
    reference.link.OnMouseFound();
    reference.trace->lines.clear();
    reference.Script(nextSide);
    SettingsState nextState;
    nextState.working = next;
    reference.link.ApplyToDevice(nextState, {file.path, {}});

    ScriptedMouse mouse;
    mouse.port->featureReplies.push_back(CommandReport(MakeFrame(0x83, 1, 0, 0, 0)));
    mouse.link.OnMouseFound();
    if (c.before != Before::kApplyFailed) mouse.Script(side);  // else every read fails
    SettingsState state;
    state.working = first;
    mouse.link.ApplyToDevice(state, {file.path, {}});
    std::vector<std::string> expected;
    if (c.before == Before::kReattached) {
      auto port = std::make_unique<ScriptedPort>(mouse.trace, ReportLengths{9, 33, 33});
      mouse.port = port.get();
      mouse.link.Attach(std::move(port));
      mouse.port->featureReplies.push_back(CommandReport(MakeFrame(0x83, 1, 0, 0, 0)));
      expected = {Cmd(MakeFrame(0x83)), Reply(MakeFrame(0x83, 1, 0, 0, 0))};
    }
    std::vector<CommandKey> sent;
    for (const auto& [key, lines] : ByCommand(reference.trace->lines)) {
      if (!c.whole && std::find(c.sent.begin(), c.sent.end(), key) == c.sent.end()) continue;
      sent.push_back(key);
      expected.insert(expected.end(), lines.begin(), lines.end());
    }
    ScriptReads(*mouse.port, nextSide, sent);
    mouse.trace->lines.clear();
    const ApplyReport report = mouse.link.Switch(next);

    EXPECT_EQ(mouse.trace->lines, expected) << c.what;
    std::vector<CommandKey> reported;
    for (const CommandOutcome& outcome : report.commands) reported.push_back({outcome.opcode, outcome.index});
    EXPECT_EQ(reported, sent) << c.what;
    EXPECT_EQ(report.alreadyHeld, sent.empty()) << c.what;
    EXPECT_TRUE(report.Applied()) << c.what;
    ExpectAppliedConfig(file.path, first);  // no file is written
  }
}

TEST(ApplyTest, FixedPausesAddUpToAbout250Milliseconds) {
  testing::CountingPauser pauser;
  MouseLink link(pauser);
  link.Attach(std::make_unique<ScriptedPort>(std::make_shared<Trace>(), ReportLengths{9, 33, 33}));
  SettingsState state;
  SettingsFile file;
  link.ApplyToDevice(state, {file.path, {}});
  // 34 command pauses of 2 ms and 60 output reports of 3 ms.
  EXPECT_EQ(pauser.total, std::chrono::milliseconds(34 * 2 + 60 * 3));
}

std::string LedLine(const std::vector<std::string>& trace) {
  for (const std::string& line : trace) {
    if (line.rfind("SET_FEATURE 00 0D", 0) == 0) return line.substr(std::string("SET_FEATURE ").size());
  }
  return "";
}

TEST(ApplyTest, LedModeZeroOrUnknownKeepsTheLastSentState) {
  struct Step {
    std::uint8_t mode;
    std::uint8_t params[3];
    const char* sent;
  };
  const Step steps[] = {
      {0, {0, 0, 0}, "00 0D 00 00 03 00 00 00 EF"},   // never set: zero, third byte 3
      {2, {9, 4, 9}, "00 0D 02 05 03 00 00 00 E8"},   // parameter entry 1 plus 1
      {0, {1, 1, 1}, "00 0D 02 05 03 00 00 00 E8"},   // off: keep
      {5, {1, 1, 1}, "00 0D 02 05 03 00 00 00 E8"},   // unknown: keep
      {1, {9, 0, 0}, "00 0D 01 0A 03 00 00 00 E4"},
      {3, {0, 0, 29}, "00 0D 03 1E 03 00 00 00 CE"},
      {3, {0, 0, 255}, "00 0D 03 00 03 00 00 00 EC"},  // plus 1 wraps in the byte
  };
  ScriptedMouse mouse;
  SettingsFile file;
  for (const Step& step : steps) {
    mouse.trace->lines.clear();
    SettingsState state;
    state.working.auxLedMode = step.mode;
    std::copy(std::begin(step.params), std::end(step.params), state.working.auxLedParam);
    mouse.link.ApplyToDevice(state, {file.path, {}});
    EXPECT_EQ(LedLine(mouse.trace->lines), step.sent) << "mode " << int(step.mode);
  }
}

TEST(ApplyTest, ReadRepliesOnlyFillThePartOrSlotTheyName) {
  struct Case {
    const char* what;
    std::uint8_t part1Named;    // part the reply to the read of part 1 names
    std::uint8_t part1Length;
    std::uint8_t slot5Named;    // slot the reply to the read of slot 5 names
    std::uint8_t slot5Length;
    Bytes part1After;           // first 24 bytes of part 1 afterwards (0x7n = data read)
    bool slot5Filled;
    bool slot6Filled;
  };
  Bytes data(128);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x70 + i);
  const Bytes prefix24(data.begin(), data.begin() + 24);
  Bytes prefix10 = Bytes(24, 0);
  std::copy(data.begin(), data.begin() + 10, prefix10.begin());
  const Case cases[] = {
      {"matching reply", 1, 24, 5, 128, prefix24, true, false},
      {"length above the part size is capped", 1, 200, 5, 255, prefix24, true, false},
      {"shorter length fills only its bytes", 1, 10, 5, 128, prefix10, true, false},
      {"no such part or slot: nothing stored", 7, 24, 13, 128, Bytes(24, 0), false, false},
      {"slot 0 is no slot", 1, 24, 0, 128, prefix24, false, false},
      {"the reply's slot decides", 1, 24, 6, 128, prefix24, false, true},
  };
  for (const Case& c : cases) {
    ScriptedMouse mouse;
    // A reply naming `named` with `length` bytes, and the data it announces.
    auto reply = [&](std::uint8_t opcode, std::uint8_t named, std::uint8_t length) {
      mouse.port->featureReplies.push_back(CommandReport(MakeFrame(opcode, named, length)));
      for (std::size_t at = 0; at < DataPieces(length) * 32; at += 32) {
        mouse.port->inputReports.push_back(DataReport(data, at % 128));
      }
    };
    for (int p = 0; p < 3; ++p) p == 1 ? reply(0x90, c.part1Named, c.part1Length) : reply(0x90, 9, 0);
    for (int m = 1; m <= 12; ++m) m == 5 ? reply(0x93, c.slot5Named, c.slot5Length) : reply(0x93, 0, 0);
    SettingsState state;  // macro slots all zero
    SettingsFile file;
    mouse.link.ApplyToDevice(state, {file.path, {}});
    const DeviceBuffers& buffers = mouse.link.buffers();
    EXPECT_EQ(Bytes(buffers.configBlock.Part(1), buffers.configBlock.Part(1) + 24), c.part1After) << c.what;
    EXPECT_TRUE(mouse.port->inputReports.empty()) << c.what << ": every announced report is read";
    const auto& slot5 = buffers.macroSendBuffer[4];
    const auto& slot6 = buffers.macroSendBuffer[5];
    EXPECT_EQ(std::equal(data.begin(), data.end(), slot5.begin()), c.slot5Filled) << c.what;
    EXPECT_EQ(std::equal(data.begin(), data.end(), slot6.begin()), c.slot6Filled) << c.what;
  }
}

TEST(ApplyTest, MissingSettingsFileIsReportedNotCreated) {
  ScriptedMouse mouse;
  TempDir dir;
  SettingsState state;
  const ApplyReport report = mouse.link.ApplyToDevice(state, {dir.File("config.bin"), {}});
  EXPECT_FALSE(dir.Exists("config.bin"));
  EXPECT_EQ(report.settingsFile.status, SaveStatus::kMissing);
  EXPECT_EQ(SaveProblemText(report.settingsFile), "Config file is not exist.");
  EXPECT_FALSE(mouse.trace->lines.empty());  // the mouse was written all the same
}

TEST(ApplyTest, KeyMatrixDiagnosticsShowSixteenWords) {
  ScriptedMouse mouse;
  std::vector<std::string> texts;
  mouse.link.diagnostics = [&](const std::string& text) { texts.push_back(text); };
  SettingsState state;
  SettingsFile file;
  mouse.link.ApplyToDevice(state, {file.path, {}});
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0],
            "Write KeyMatrix[1]:\n00f00001\n 00f00001\n 00f00001\n 00f00001\n 00f00001\n 00f00001\n"
            " 00f00001\n 00f00001\n 00000000\n 00000000\n 00000000\n 00000000\n 00000000\n 00000000\n"
            " 00f70001\n 00f80001\n");
  EXPECT_EQ(texts[1].substr(0, 29), "Write KeyMatrix[2]:\n00000000\n");
}


// ---- The same Apply against the built-in virtual mouse, through its traffic log.

VirtualMouseMemory SeededMemory() {
  VirtualMouseMemory memory;
  memory.sensorSettings = {1, 0x08, 0x12, 0x05};
  for (std::size_t i = 0; i < kConfigBlockSize; ++i) memory.configBlock[i] = static_cast<std::uint8_t>(0x60 + i);
  memory.ledState = {1, 1, 3};
  return memory;
}

struct VirtualRig {
  VirtualRig() {
    dir.Write("memory.bin", EncodeMemory(SeededMemory()));
    mouse = std::make_unique<VirtualMouseBackend>(dir.File(""), 0);
  }
  // The mouse is found, then the sample record is applied.
  void ApplySample() {
    ASSERT_TRUE(link.FindDevice(*mouse, &events));
    link.OnMouseFound();
    state.working = SampleRecord();
    link.ApplyToDevice(state, {file.path, {}});
  }
  TempDir dir;
  std::unique_ptr<VirtualMouseBackend> mouse;
  std::unique_ptr<EventPort> events;
  testing::CountingPauser pauser;
  MouseLink link{pauser};
  SettingsState state;
  SettingsFile file;
};

TEST(ApplyTest, VirtualMouseSeesTheWholeSequenceAndKeepsIt) {
  VirtualRig rig;
  rig.ApplySample();
  const SettingsState& state = rig.state;

  const VirtualMouseMemory seeded = SeededMemory();
  MouseSide side;
  for (int p = 0; p < 3; ++p) {
    const std::uint8_t* part = seeded.configBlock.data() + kConfigPartOffset[p];
    side.parts[p] = Bytes(part, part + kConfigPartSize[p]);
  }
  for (int m = 0; m < 12; ++m) side.slots[m] = Slot(state.working, m);
  std::vector<std::string> expected = {
      Cmd(MakeFrame(0x83)),
      Reply(MakeFrame(0x83, 1, 0x08, 0x12, 0x05)),
      Cmd(MakeFrame(0x03, 1, 0x08, 0x12, 0x45)),
  };
  const ExpectedApply want = SampleExpectation(1);
  const auto apply = ApplyTraffic(state.working, side, want, false);
  expected.insert(expected.end(), apply.begin(), apply.end());
  const std::vector<std::string> logged = LoggedTraffic(rig.dir.File(""));
  ASSERT_EQ(logged.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(logged[i], expected[i]) << "line " << i;

  const VirtualMouseMemory memory = rig.mouse->Memory();
  EXPECT_EQ(memory.reportRate, 2);
  EXPECT_EQ(memory.sensorSettings, (std::array<std::uint8_t, 4>{1, 0x08, 0x12, 0x45}));
  EXPECT_EQ(Bytes(memory.configBlock.begin(), memory.configBlock.begin() + 24), want.part0);
  EXPECT_EQ(Bytes(memory.configBlock.begin() + 24, memory.configBlock.begin() + 48), side.parts[1]);
  EXPECT_EQ(Bytes(memory.configBlock.begin() + 48, memory.configBlock.end()), want.part2);
  EXPECT_EQ(memory.ledState, (std::array<std::uint8_t, 3>{2, 5, 3}));
  EXPECT_EQ(Bytes(memory.dpiBlock.begin(), memory.dpiBlock.end()), want.dpi);
  EXPECT_EQ(Bytes(memory.keyMatrices[0].begin(), memory.keyMatrices[0].end()), want.matrix1);
  EXPECT_EQ(Bytes(memory.keyMatrices[1].begin(), memory.keyMatrices[1].end()), Bytes(64, 0));
  EXPECT_EQ(Bytes(memory.keyMatrices[2].begin(), memory.keyMatrices[2].end()), want.matrix3);
  EXPECT_EQ(Bytes(memory.keyMatrices[3].begin(), memory.keyMatrices[3].end()), Bytes(64, 0));
  for (int m = 0; m < 12; ++m) EXPECT_EQ(Bytes(memory.macroSlots[m].begin(), memory.macroSlots[m].end()), side.slots[m]);
  // And it is what the next run of the mouse starts from.
  EXPECT_EQ(DecodeMemory(rig.dir.ReadBytes("memory.bin")), memory);
}

// A misbehaving mouse: whatever it states or sends, the program stays inside
// its buffers (the sanitizer build checks every access) and stores only what
// the reply names, at most the item's size.
TEST(ApplyTest, HostileVirtualMouseNeverMakesTheProgramLeaveItsBuffers) {
  const VirtualMouseMemory seeded = SeededMemory();
  const Bytes part0(seeded.configBlock.begin(), seeded.configBlock.begin() + 24);
  const Bytes part1(seeded.configBlock.begin() + 24, seeded.configBlock.begin() + 48);
  Bytes part1First4 = Bytes(24, 0);
  std::copy(part1.begin(), part1.begin() + 4, part1First4.begin());
  struct Case {
    const char* what;
    VirtualMouseFaults faults;
    Bytes part1After;          // the link's copy of part 1 after Apply
    std::size_t readsPerApply; // input reports the Apply reads
  };
  VirtualMouseFaults longer;
  longer.lengths = {64, 100, 100};
  longer.eventLength = 100;
  longer.junkFill = true;
  VirtualMouseFaults oversized;
  oversized.oversizedLength = true;
  oversized.junkFill = true;
  VirtualMouseFaults invalid;
  invalid.replyIndex = IndexFault::kInvalidIndex;
  VirtualMouseFaults other;
  other.replyIndex = IndexFault::kOtherIndex;
  VirtualMouseFaults shortReads;
  shortReads.input = InputFault::kShort;
  VirtualMouseFaults emptyReads;
  emptyReads.input = InputFault::kEmpty;
  VirtualMouseFaults tiny;
  tiny.lengths = {3, 2, 1};
  tiny.eventLength = 2;
  const Case cases[] = {
      {"longer reports than the protocol's buffers", longer, part1, 3 + 48},
      {"replies announcing 255 bytes", oversized, part1, 3 * 8 + 12 * 8},
      {"replies naming no part or slot", invalid, Bytes(24, 0), 3 + 48},
      // The read of part 0 comes back named part 1: part 1 holds part 0's bytes.
      {"replies naming another part or slot", other, part0, 3 + 48},
      {"short input reports", shortReads, part1First4, 3 + 48},
      {"failing input reports", emptyReads, Bytes(24, 0), 0},
      {"reports too short for a command", tiny, Bytes(24, 0), 0},
  };
  for (const Case& c : cases) {
    VirtualRig rig;
    rig.mouse->SetFaults(c.faults);
    rig.ApplySample();

    const DeviceBuffers& buffers = rig.link.buffers();
    EXPECT_EQ(Bytes(buffers.configBlock.Part(1), buffers.configBlock.Part(1) + 24), c.part1After) << c.what;
    std::size_t reads = 0;
    for (const std::string& line : LoggedTraffic(rig.dir.File(""))) reads += line.rfind("READ ", 0) == 0;
    EXPECT_EQ(reads, c.readsPerApply) << c.what;
    if (c.faults.replyIndex == IndexFault::kOtherIndex) {
      for (int m = 1; m <= 12; ++m) {
        EXPECT_TRUE(std::equal(buffers.macroSendBuffer[m % 12].begin(), buffers.macroSendBuffer[m % 12].end(),
                               rig.state.working.macroSlots[m - 1]))
            << "slot " << m << "'s data arrives under the slot the reply names";
      }
    }

    // Events of the stated length, however long, reach the listener whole;
    // reports too short to carry an event are dropped.
    rig.mouse->RunControlLine("event 7 3");
    rig.mouse->RunControlLine("event 9 1");
    std::vector<DeviceEvent> events;
    if (c.faults.eventLength == 2) {
      for (int i = 0; i < 2; ++i) {
        Bytes report(40, 0);
        const std::size_t got = rig.events->ReadEvent(report.data(), report.size());
        EXPECT_EQ(got, 2u) << c.what;
        if (auto event = DecodeEventReport(report.data(), got)) events.push_back(*event);
      }
      EXPECT_TRUE(events.empty()) << c.what;
      continue;
    }
    ListenForEvents(*rig.events, [&](DeviceEvent event) {
      events.push_back(event);
      if (events.size() == 2) rig.events->Cancel();
    });
    EXPECT_EQ(events, (std::vector<DeviceEvent>{{7, 3}, {9, 1}})) << c.what;
  }
}

}  // namespace
}  // namespace vortal
