#include "device/key_matrix.h"

#include <algorithm>

namespace vortal {
namespace {

// Slots 14 and 15 always carry these two mouse codes.
constexpr FunctionCode kSlot14 = {0x01, 0x00, 0xF7, 0x00};
constexpr FunctionCode kSlot15 = {0x01, 0x00, 0xF8, 0x00};

void StoreCode(KeyMatrix& matrix, int slot, const FunctionCode& code) {
  std::copy(code.begin(), code.end(), matrix.begin() + 4 * slot);
}

}  // namespace

FunctionCode ButtonFunctionCode(const SettingsRecord& record, int mode, int button) {
  const KeyArea& a = record.area(mode);
  const int b = button;
  switch (a.keyFunction[b]) {
    case kLeftClick: return {0x01, 0x00, 0xF0, 0x00};
    case kRightClick: return {0x01, 0x00, 0xF1, 0x00};
    case kMidClick: return {0x01, 0x00, 0xF2, 0x00};
    case kForward: return {0x01, 0x00, 0xF4, 0x00};
    case kBackward: return {0x01, 0x00, 0xF3, 0x00};
    case kTripleClick: return {0x0A, 0xF0, 0x20, 0x03};  // three left clicks, speed 32
    case kDpiSwitch: return {0x07, 0x00, record.dpiSwitchFor(mode)[b], 0x00};
    case kRgbOnOff: return {0x08, 0x00, 0x03, 0x00};
    case kWindowsFunction: return {0x03, 0x00, a.windowsCode[b], a.windowsClass[b]};
    case kMultimedia: return {0x03, 0x00, a.mediaCode[b], 0x00};
    case kFireKey: return {0x0A, a.fireCode[b], a.fireSpeed[b], a.fireTimes[b]};
    case kSingleKey: return {0x00, 0x00, a.singleKeyCode[b], 0x00};
    case kComboKey: return {0x00, a.comboModifiers[b], a.comboKey1[b], a.comboKey2[b]};
    case kMacroKey:
      return {0x09, a.macroLoopMode[b], static_cast<std::uint8_t>(a.macroIndex[b] + 1), 0x00};
    case kShift: return {0x08, 0x00, 0x02, 0x00};
    default: return {0x00, 0x00, 0x00, 0x00};  // Key Off and unknown types
  }
}

int MatrixSlotOfButton(int button) {
  if (button == 6) return 7;
  if (button == 7) return 6;
  return button;
}

void BuildKeyMatrices(const SettingsRecord& record, KeyMatrix& matrix1, KeyMatrix& matrix3) {
  matrix1.fill(0);
  for (int button = 0; button < kDeviceButtons; ++button) {
    const int slot = MatrixSlotOfButton(button);
    StoreCode(matrix1, slot, ButtonFunctionCode(record, 0, button));
    StoreCode(matrix3, slot, ButtonFunctionCode(record, 1, button));
  }
  for (KeyMatrix* m : {&matrix1, &matrix3}) {
    StoreCode(*m, 14, kSlot14);
    StoreCode(*m, 15, kSlot15);
  }
}

}  // namespace vortal
