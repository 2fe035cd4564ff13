#include "device/device_commands.h"

#include <algorithm>

namespace vortal {
namespace {

constexpr DpiLevel kSensor0[] = {{250, 0x01},  {500, 0x02},  {750, 0x03},  {1000, 0x04},
                                 {1250, 0x05}, {1500, 0x06}, {1750, 0x07}, {2000, 0x08},
                                 {2500, 0x25}, {3000, 0x26}, {3500, 0x27}, {4000, 0x28}};
constexpr DpiLevel kSensor1[] = {{600, 0x01},  {800, 0x02},  {1000, 0x03}, {1200, 0x04},
                                 {1600, 0x05}, {2000, 0x23}, {2400, 0x24}, {3200, 0x25}};
constexpr DpiLevel kSensor2[] = {{250, 0x02},  {500, 0x04},  {750, 0x06},  {1000, 0x08},
                                 {1250, 0x0A}, {1500, 0x26}, {2000, 0x28}, {2500, 0x2A}};
constexpr DpiLevel kSensor3[] = {{400, 0x01},  {800, 0x02},  {1200, 0x03}, {1600, 0x04},
                                 {2000, 0x05}, {2400, 0x06}, {2800, 0x07}, {3200, 0x08}};

const DpiLevel* FindLevel(std::uint8_t sensorType, int level) {
  const DpiTable table = DpiTableOf(sensorType);
  if (table.count == 0) return nullptr;
  return &table.levels[std::clamp(level, 0, table.count - 1)];
}

}  // namespace

DpiTable DpiTableOf(std::uint8_t sensorType) {
  switch (sensorType) {
    case 0: return {kSensor0, static_cast<int>(std::size(kSensor0))};
    case 1: return {kSensor1, static_cast<int>(std::size(kSensor1))};
    case 2: return {kSensor2, static_cast<int>(std::size(kSensor2))};
    case 3: return {kSensor3, static_cast<int>(std::size(kSensor3))};
    default: return {nullptr, 0};
  }
}

std::uint8_t DpiCode(std::uint8_t sensorType, int level) {
  const DpiLevel* found = FindLevel(sensorType, level);
  return found ? found->code : 0;
}

std::string DpiLabel(std::uint8_t sensorType, int level) {
  const DpiLevel* found = FindLevel(sensorType, level);
  return found ? std::to_string(found->dpi) : std::string();
}

}  // namespace vortal
