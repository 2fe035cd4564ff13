// The program's side of the mouse: the command port (through the transport),
// the device-command buffers kept between Applies, the sensor type, the
// handshake when the mouse is found, and the Apply sequence.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "device/apply_report.h"
#include "device/device_commands.h"
#include "device/hid_port.h"
#include "device/key_matrix.h"
#include "device/transport.h"
#include "settings/settings_record.h"

namespace vortal {

using SensorSettings = std::array<std::uint8_t, 4>;  // sensor type, rate, option 1, option 2

struct ConfigBlock {
  std::array<std::uint8_t, kConfigBlockSize> bytes{};
  std::uint8_t* Part(int part) { return bytes.data() + kConfigPartOffset[part]; }
  const std::uint8_t* Part(int part) const { return bytes.data() + kConfigPartOffset[part]; }
};

using AuxLedState = std::array<std::uint8_t, 3>;  // mode, parameter, 3
using DpiBlock = std::array<std::uint8_t, kDpiBlockSize>;
using MacroSendBuffer = std::array<std::array<std::uint8_t, kMacroSlotSize>, kMacroSlots>;

// Zero at start and kept from one Apply to the next.
struct DeviceBuffers {
  SensorSettings sensorSettings{};
  ConfigBlock configBlock;
  AuxLedState auxLedState{};
  DpiBlock dpiBlock{};
  std::array<KeyMatrix, kKeyMatrices> keyMatrices{};  // matrix k at index k - 1
  MacroSendBuffer macroSendBuffer{};
};

// How Apply ends: the settings file and the button label texts are saved.
struct ApplyFiles {
  std::string settingsFile;             // config.bin
  std::function<bool()> savePaneTexts;  // may be empty; false when not saved
};

class MouseLink {
 public:
  explicit MouseLink(Pauser& pauser) : pauser_(pauser), transport_(pauser) {}

  // Looks for the mouse through the backend. Found: its command collection
  // replaces the link's port (stale handles of a mouse that went away are
  // closed), `devicePresent` becomes true and the event collection, if any,
  // goes to `events` for the listener. Not found: nothing changes, and
  // `devicePresent` stays as it was (the device-change handler clears it).
  bool FindDevice(HidBackend& backend, std::unique_ptr<EventPort>* events = nullptr);
  // Why the last search saw the mouse but could not open it (the system's
  // words); empty when it was opened or not there at all.
  const std::string& openProblem() const { return openProblem_; }

  // True while the mouse's command collection is open; OK and Apply need it.
  bool devicePresent = false;

  // The mouse's command collection, or null when it went away.
  // A new port: its sensor is not known until the mouse says it.
  // What the mouse holds is not known either: the next switch sends all.
  void Attach(std::unique_ptr<CommandPort> port) {
    transport_.Attach(std::move(port));
    sensorKnown_ = false;
    sent_.reset();
  }
  void Detach() { transport_.Detach(); }
  bool Attached() const { return transport_.Attached(); }
  Transport& transport() { return transport_; }

  // 0x83. Stores the reply in the sensor settings and sensorType. Returns
  // false, and keeps the previous values, when no reply came (a failed read
  // yields an all-zero frame, which no mouse sends: its checksum is wrong).
  bool ReadSensorSettings();
  // 0x03 with the four sensor settings bytes.
  void WriteSensorSettings();
  // When the mouse is found: read the sensor settings, set bit 6 of option 2
  // and write them back. Nothing is written back when the read brought no
  // reply, so a mouse that did not answer is not given zeroed settings.
  void OnMouseFound();

  // OK and Apply: the mouse must have said which sensor it has (asked once
  // more when it has not), else its DPI stages would go out in another
  // sensor's codes and nothing is sent; then ApplyToDevice. The files are
  // saved either way: config.bin keeps the settings for the next Apply.
  ApplyReport Apply(SettingsState& state, const ApplyFiles& files);
  // Writes the working record into the mouse, in the mouse's fixed order,
  // then saves config.bin and the pane texts. A command that fails does not
  // stop the others: with the mouse unplugged half-way the remaining
  // commands go nowhere and the files are still saved. The report says how
  // each command went and which macro slots the mouse read back other than
  // they were sent. Copying the working record to the applied one is the
  // caller's (it follows every Apply).
  ApplyReport ApplyToDevice(SettingsState& state, const ApplyFiles& files);
  // A profile switch: writes `record` into the mouse, sending only the
  // commands whose bytes differ from what the mouse last received from this
  // link, in the Apply's order and with its pauses (the macro slots it writes
  // are read back). The mouse keeps what it is sent in its own memory, so
  // nothing is written twice. While that is not known (a new link, a new
  // port, a command of the last Apply or switch that failed, a slot read back
  // wrong) the whole Apply is sent. No file is written. Asks for the sensor
  // as Apply does.
  ApplyReport Switch(const SettingsRecord& record);
  bool sensorKnown() const { return sensorKnown_; }

  std::uint8_t sensorType() const { return sensorType_; }
  // The label of a DPI level for the mouse's sensor type.
  std::string DpiLabel(int level) const { return vortal::DpiLabel(sensorType_, level); }
  const DeviceBuffers& buffers() const { return buffers_; }

  // Diagnostic texts (sensor settings, key matrices). They are for a debug
  // log only; nothing is shown to the user.
  std::function<void(const std::string&)> diagnostics;

 private:
  void Wait();
  CommandResult ReadConfigPart(int part);
  CommandResult ReadMacroSlot(int slot, const std::uint8_t* sent, bool& same);
  CommandResult SendPiece(CommandFrame frame, const std::uint8_t* bytes, std::size_t count);
  // The Apply's commands; `all` false sends only what differs from `sent_`.
  void Send(const SettingsRecord& record, bool all, ApplyReport& report);
  static void SaveFiles(SettingsState& state, const ApplyFiles& files, ApplyReport& report);
  void Diagnose(const std::string& text);

  Pauser& pauser_;
  Transport transport_;
  DeviceBuffers buffers_;
  std::uint8_t sensorType_ = 0;
  bool sensorKnown_ = false;
  std::string openProblem_;
  // What the mouse last took from this link, command by command; empty while
  // that is not known.
  struct Sent {
    std::uint8_t reportRate = 0;
    ConfigBlock configBlock;
    AuxLedState auxLedState{};
    DpiBlock dpiBlock{};
    std::array<KeyMatrix, kKeyMatrices> keyMatrices{};
    MacroSendBuffer macroSlots{};
  };
  std::optional<Sent> sent_;
};

// Part 0 of the configuration block: the loop colours in use (entries whose
// enable byte is exactly 1), three bytes each, in entry order, zero after.
std::array<std::uint8_t, 24> PackLoopColors(const SettingsRecord& record);

// The DPI block of a record for a sensor type: one byte per stage (the
// level's code, bit 7 set when the stage is disabled), then four 0x80.
DpiBlock BuildDpiBlock(const SettingsRecord& record, std::uint8_t sensorType);

}  // namespace vortal
