// The mouse's command vocabulary and the DPI tables of its sensor types.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vortal {

// Opcodes; bit 7 set = the mouse replies.
enum Opcode : std::uint8_t {
  kSetReportRate = 0x01,
  kWriteSensorSettings = 0x03,
  kReadSensorSettings = 0x83,
  kSetAuxLed = 0x0D,
  kWriteConfigPart = 0x10,
  kReadConfigPart = 0x90,
  kWriteDpiBlock = 0x11,
  kWriteKeyMatrix = 0x12,
  kWriteMacroSlot = 0x13,
  kReadMacroSlot = 0x93,
};

// Configuration block parts as the mouse stores them.
inline constexpr int kConfigParts = 3;
inline constexpr std::size_t kConfigPartSize[kConfigParts] = {24, 24, 4};
inline constexpr std::size_t kConfigPartOffset[kConfigParts] = {0, 24, 48};
inline constexpr std::size_t kConfigBlockSize = 52;

inline constexpr int kDpiStages = 4;
inline constexpr std::size_t kDpiBlockSize = 8;
inline constexpr std::uint8_t kDpiStageDisabled = 0x80;  // bit 7 of a stage byte
inline constexpr int kKeyMatrices = 4;
inline constexpr std::uint8_t kLedThirdByte = 3;
inline constexpr std::uint8_t kOption2Bit6 = 0x40;  // set in option 2 when the mouse is found

// One DPI table row: the levels a sensor type offers.
struct DpiLevel {
  int dpi;
  std::uint8_t code;
};

// Levels of a sensor type; empty for a type the program does not know.
struct DpiTable {
  const DpiLevel* levels;
  int count;
};
DpiTable DpiTableOf(std::uint8_t sensorType);

// The stage byte for a DPI level (without the disable bit). 0 for an unknown
// sensor type; a level beyond the sensor's table (a settings file written
// while another sensor was reported) takes the table's highest level.
std::uint8_t DpiCode(std::uint8_t sensorType, int level);

// "250", "3200" ...; empty for an unknown sensor type. Out-of-range levels
// follow DpiCode, so the label names what is sent.
std::string DpiLabel(std::uint8_t sensorType, int level);

}  // namespace vortal
