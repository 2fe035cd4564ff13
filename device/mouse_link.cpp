#include "device/mouse_link.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "settings/settings_file.h"

namespace vortal {
namespace {

constexpr std::chrono::milliseconds kCommandPause{2};
constexpr std::size_t kReadRoom = 128;  // room for the data a read command brings
constexpr int kLoopColors = 8;
constexpr std::size_t kLedBitsOffset = 2017;  // record bytes 2017..2020 travel as part 2

}  // namespace

std::array<std::uint8_t, 24> PackLoopColors(const SettingsRecord& record) {
  std::array<std::uint8_t, 24> part{};
  std::size_t used = 0;
  for (int entry = 0; entry < kLoopColors; ++entry) {
    if (record.loopColorEnabled[entry] != 1) continue;
    std::memcpy(part.data() + used, record.loopColor[entry], 3);
    used += 3;
  }
  return part;
}

DpiBlock BuildDpiBlock(const SettingsRecord& record, std::uint8_t sensorType) {
  DpiBlock block;
  block.fill(kDpiStageDisabled);
  for (int stage = 0; stage < kDpiStages; ++stage) {
    const std::uint8_t code = DpiCode(sensorType, record.dpiLevel[stage]);
    block[stage] = static_cast<std::uint8_t>(record.dpiStageEnabled[stage] == 0
                                                 ? code | kDpiStageDisabled
                                                 : code & ~kDpiStageDisabled);
  }
  return block;
}

void MouseLink::Wait() { pauser_.Pause(kCommandPause); }

void MouseLink::Diagnose(const std::string& text) {
  if (diagnostics) diagnostics(text);
}

bool MouseLink::FindDevice(HidBackend& backend, std::unique_ptr<EventPort>* events) {
  OpenedMouse mouse = backend.FindDevice();
  openProblem_ = std::move(mouse.problem);
  if (!mouse.command) return false;
  Attach(std::move(mouse.command));
  devicePresent = true;
  if (events) *events = std::move(mouse.events);
  return true;
}

bool MouseLink::ReadSensorSettings() {
  CommandFrame frame = MakeFrame(kReadSensorSettings);
  if (transport_.SendCommand(frame) != CommandResult::kOk) return false;
  sensorKnown_ = true;
  std::copy(frame.begin() + 1, frame.begin() + 5, buffers_.sensorSettings.begin());
  sensorType_ = buffers_.sensorSettings[0];
  if (diagnostics) {
    char text[96];
    std::snprintf(text, sizeof text, "Sensor Type:%02x\n,,Rate:%02x\n,Option1:%02x\n,Option2:%02x\n",
                  frame[1], frame[2], frame[3], frame[4]);
    Diagnose(text);
  }
  return true;
}

void MouseLink::WriteSensorSettings() {
  const SensorSettings& s = buffers_.sensorSettings;
  CommandFrame frame = MakeFrame(kWriteSensorSettings, s[0], s[1], s[2], s[3]);
  transport_.SendCommand(frame);
}

void MouseLink::OnMouseFound() {
  if (!ReadSensorSettings()) return;
  buffers_.sensorSettings[3] |= kOption2Bit6;
  WriteSensorSettings();
}

CommandResult MouseLink::SendPiece(CommandFrame frame, const std::uint8_t* bytes, std::size_t count) {
  std::array<std::uint8_t, kReadRoom> data{};
  std::memcpy(data.data(), bytes, count);
  frame[kFrameLengthByte] = static_cast<std::uint8_t>(count);
  return transport_.SendDataCommand(frame, std::span(data.data(), DataPieces(count) * kDataPieceSize));
}

CommandResult MouseLink::ReadConfigPart(int part) {
  CommandFrame frame = MakeFrame(kReadConfigPart, static_cast<std::uint8_t>(part));
  std::array<std::uint8_t, kReadRoom> data{};
  const CommandResult result = transport_.SendDataCommand(frame, data);
  // The reply names the part it carries; a part the mouse does not have is
  // not stored, and the buffer keeps what it held.
  const int named = frame[1];
  if (named < kConfigParts) {
    const std::size_t count = std::min<std::size_t>(frame[kFrameLengthByte], kConfigPartSize[named]);
    std::memcpy(buffers_.configBlock.Part(named), data.data(), count);
  }
  return result;
}

// The mouse's copy of a macro slot just written: `same` when it names the
// slot and holds every byte that was sent.
CommandResult MouseLink::ReadMacroSlot(int slot, const std::uint8_t* sent, bool& same) {
  CommandFrame frame = MakeFrame(kReadMacroSlot, static_cast<std::uint8_t>(slot));
  std::array<std::uint8_t, kReadRoom> data{};
  const CommandResult result = transport_.SendDataCommand(frame, data);
  const int named = frame[1];
  same = false;
  if (named >= 1 && named <= kMacroSlots) {
    const std::size_t count = std::min<std::size_t>(frame[kFrameLengthByte], kMacroSlotSize);
    std::memcpy(buffers_.macroSendBuffer[named - 1].data(), data.data(), count);
    same = named == slot && count == kMacroSlotSize &&
           std::memcmp(data.data(), sent, kMacroSlotSize) == 0;
  }
  return result;
}

void MouseLink::SaveFiles(SettingsState& state, const ApplyFiles& files, ApplyReport& report) {
  report.settingsFile = SaveSettings(files.settingsFile, state);
  if (files.savePaneTexts) report.paneTextsSaved = files.savePaneTexts();
}

ApplyReport MouseLink::Apply(SettingsState& state, const ApplyFiles& files) {
  if (sensorKnown_ || ReadSensorSettings()) return ApplyToDevice(state, files);
  ApplyReport report;
  report.sensorKnown = false;
  SaveFiles(state, files, report);
  return report;
}

ApplyReport MouseLink::ApplyToDevice(SettingsState& state, const ApplyFiles& files) {
  ApplyReport report;
  Send(state.working, true, report);
  SaveFiles(state, files, report);
  return report;
}

ApplyReport MouseLink::Switch(const SettingsRecord& record) {
  ApplyReport report;
  if (!sensorKnown_ && !ReadSensorSettings()) {
    report.sensorKnown = false;
    return report;
  }
  Send(record, !sent_, report);
  report.alreadyHeld = report.commands.empty();
  return report;
}

void MouseLink::Send(const SettingsRecord& record, bool all, ApplyReport& report) {
  const Sent before = sent_.value_or(Sent{});
  Sent now;
  auto note = [&](std::uint8_t opcode, int index, CommandResult result) {
    report.commands.push_back({opcode, index, result});
  };
  auto differs = [&](const auto& a, const auto& b, std::size_t size) {
    return all || std::memcmp(&a, &b, size) != 0;
  };

  now.reportRate = record.reportRate;
  if (differs(now.reportRate, before.reportRate, 1)) {
    CommandFrame rate = MakeFrame(kSetReportRate, record.reportRate);
    note(kSetReportRate, 0, transport_.SendCommand(rate));
  }

  // The parts the program does not change are the mouse's own: they are
  // read at every whole Apply, and a switch sends them back as read then.
  if (all) {
    for (int part = 0; part < kConfigParts; ++part) {
      note(kReadConfigPart, part, ReadConfigPart(part));
      Wait();
    }
  }

  if (record.auxLedMode >= 1 && record.auxLedMode <= 3) {
    buffers_.auxLedState[0] = record.auxLedMode;
    buffers_.auxLedState[1] = static_cast<std::uint8_t>(record.auxLedParam[record.auxLedMode - 1] + 1);
  }
  buffers_.auxLedState[2] = kLedThirdByte;

  const std::array<std::uint8_t, 24> colors = PackLoopColors(record);
  std::memcpy(buffers_.configBlock.Part(0), colors.data(), colors.size());
  std::memcpy(buffers_.configBlock.Part(2), record.bytes() + kLedBitsOffset, kConfigPartSize[2]);
  now.configBlock = buffers_.configBlock;

  for (int part = 0; part < kConfigParts; ++part) {
    if (!differs(*now.configBlock.Part(part), *before.configBlock.Part(part), kConfigPartSize[part]))
      continue;
    note(kWriteConfigPart, part,
         SendPiece(MakeFrame(kWriteConfigPart, static_cast<std::uint8_t>(part)),
                   buffers_.configBlock.Part(part), kConfigPartSize[part]));
    Wait();
  }

  now.auxLedState = buffers_.auxLedState;
  if (differs(now.auxLedState, before.auxLedState, sizeof now.auxLedState)) {
    const AuxLedState& led = buffers_.auxLedState;
    CommandFrame ledFrame = MakeFrame(kSetAuxLed, led[0], led[1], led[2]);
    note(kSetAuxLed, 0, transport_.SendCommand(ledFrame));
  }

  buffers_.dpiBlock = BuildDpiBlock(record, sensorType_);
  now.dpiBlock = buffers_.dpiBlock;
  if (differs(now.dpiBlock, before.dpiBlock, sizeof now.dpiBlock))
    note(kWriteDpiBlock, kDpiStages,
         SendPiece(MakeFrame(kWriteDpiBlock, kDpiStages), buffers_.dpiBlock.data(), kDpiBlockSize));

  std::memcpy(now.macroSlots.data(), record.macroSlots, sizeof record.macroSlots);
  std::vector<int> written;
  for (int slot = 1; slot <= kMacroSlots; ++slot) {
    if (!differs(now.macroSlots[slot - 1], before.macroSlots[slot - 1], kMacroSlotSize)) continue;
    written.push_back(slot);
    buffers_.macroSendBuffer[slot - 1] = now.macroSlots[slot - 1];
    note(kWriteMacroSlot, slot,
         SendPiece(MakeFrame(kWriteMacroSlot, static_cast<std::uint8_t>(slot)),
                   buffers_.macroSendBuffer[slot - 1].data(), kMacroSlotSize));
    Wait();
  }
  // The mouse's copies, compared with what was sent (the record's slots:
  // the send buffer takes what the mouse returns).
  for (int slot : written) {
    bool same = false;
    const CommandResult read = ReadMacroSlot(slot, record.macroSlots[slot - 1], same);
    note(kReadMacroSlot, slot, read);
    if (read == CommandResult::kOk && !same) report.macroSlotsReadBackWrong.push_back(slot);
    Wait();
  }

  BuildKeyMatrices(record, buffers_.keyMatrices[0], buffers_.keyMatrices[2]);
  now.keyMatrices = buffers_.keyMatrices;
  for (int k = 1; k <= kKeyMatrices; ++k) {
    const KeyMatrix& matrix = buffers_.keyMatrices[k - 1];
    if (!differs(matrix, before.keyMatrices[k - 1], sizeof matrix)) continue;
    if (diagnostics) {
      std::string text = "Write KeyMatrix[" + std::to_string(k) + "]:\n";
      for (int word = 0; word < 16; ++word) {
        const std::uint8_t* b = matrix.data() + 4 * word;
        char digits[16];
        std::snprintf(digits, sizeof digits, word == 0 ? "%08x\n" : " %08x\n",
                      static_cast<unsigned>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24));
        text += digits;
      }
      Diagnose(text);
    }
    note(kWriteKeyMatrix, k,
         SendPiece(MakeFrame(kWriteKeyMatrix, static_cast<std::uint8_t>(k)), matrix.data(),
                   kKeyMatrixSize));
    Wait();
  }

  // Only what the mouse took whole is known to be in it.
  if (report.AllCommandsWent() && report.macroSlotsReadBackWrong.empty())
    sent_ = now;
  else
    sent_.reset();
}

}  // namespace vortal
