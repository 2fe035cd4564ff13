#include <gtest/gtest.h>

#include <functional>

#include "device/key_matrix.h"

namespace vortal {
namespace {

FunctionCode SlotOf(const KeyMatrix& m, int slot) {
  return {m[4 * slot], m[4 * slot + 1], m[4 * slot + 2], m[4 * slot + 3]};
}

// Matrix 1 is written whole; matrix 3 only in its own slots (0 to 7, 14, 15).
TEST(BuildKeyMatrices, AllZeroRecordGivesLeftClicksAndTheFixedSlotsAndMatrixThreeKeepsTheRest) {
  SettingsRecord record{};
  KeyMatrix m1, m3;
  m1.fill(0xCC);
  m3.fill(0xAB);
  BuildKeyMatrices(record, m1, m3);
  for (const KeyMatrix* m : {&m1, &m3}) {
    const std::uint8_t middle = m == &m1 ? 0 : 0xAB;  // slots 8 to 13
    for (int s = 0; s < 8; ++s) EXPECT_EQ(SlotOf(*m, s), (FunctionCode{1, 0, 0xF0, 0})) << s;
    for (int s = 8; s < 14; ++s) {
      EXPECT_EQ(SlotOf(*m, s), (FunctionCode{middle, middle, middle, middle})) << s;
    }
    EXPECT_EQ(SlotOf(*m, 14), (FunctionCode{1, 0, 0xF7, 0}));
    EXPECT_EQ(SlotOf(*m, 15), (FunctionCode{1, 0, 0xF8, 0}));
  }
}

TEST(ButtonFunctionCode, EncodesEveryFunctionType) {
  struct Case {
    const char* name;
    int mode;
    int button;
    std::function<void(SettingsRecord&)> set;
    FunctionCode expected;
  } cases[] = {
      {"right", 0, 0, [](SettingsRecord& r) { r.modeA.keyFunction[0] = 1; }, {1, 0, 0xF1, 0}},
      {"mid", 0, 1, [](SettingsRecord& r) { r.modeA.keyFunction[1] = 2; }, {1, 0, 0xF2, 0}},
      {"forward", 0, 2, [](SettingsRecord& r) { r.modeA.keyFunction[2] = 3; }, {1, 0, 0xF4, 0}},
      {"backward", 0, 2, [](SettingsRecord& r) { r.modeA.keyFunction[2] = 4; }, {1, 0, 0xF3, 0}},
      {"triple", 1, 4, [](SettingsRecord& r) { r.modeB.keyFunction[4] = 5; }, {0x0A, 0xF0, 0x20, 3}},
      {"dpi A", 0, 3,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[3] = 6;
         r.dpiSwitchAction[3] = 3;
         r.dpiSwitchActionB[3] = 1;
       },
       {7, 0, 3, 0}},
      // Mode B reads its own DPI action array, never Mode A's.
      {"dpi B", 1, 3,
       [](SettingsRecord& r) {
         r.modeB.keyFunction[3] = 6;
         r.dpiSwitchAction[3] = 3;
         r.dpiSwitchActionB[3] = 2;
       },
       {7, 0, 2, 0}},
      {"rgb", 0, 5, [](SettingsRecord& r) { r.modeA.keyFunction[5] = 7; }, {8, 0, 3, 0}},
      {"windows", 1, 6,
       [](SettingsRecord& r) {
         r.modeB.keyFunction[6] = 8;
         r.modeB.windowsCode[6] = 0x94;
         r.modeB.windowsClass[6] = 1;
       },
       {3, 0, 0x94, 1}},
      {"media", 0, 7,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[7] = 9;
         r.modeA.mediaCode[7] = 0xCD;
       },
       {3, 0, 0xCD, 0}},
      {"fire", 0, 1,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[1] = 10;
         r.modeA.fireCode[1] = 0xE4;
         r.modeA.fireSpeed[1] = 5;
         r.modeA.fireTimes[1] = 9;
       },
       {0x0A, 0xE4, 5, 9}},
      {"single", 1, 0,
       [](SettingsRecord& r) {
         r.modeB.keyFunction[0] = 11;
         r.modeB.singleKeyCode[0] = 0x2C;
       },
       {0, 0, 0x2C, 0}},
      {"combo", 0, 2,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[2] = 12;
         r.modeA.comboModifiers[2] = 0x05;
         r.modeA.comboKey1[2] = 0x04;
         r.modeA.comboKey2[2] = 0x05;
       },
       {0, 5, 4, 5}},
      {"macro", 0, 4,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[4] = 13;
         r.modeA.macroIndex[4] = 0;
         r.modeA.macroLoopMode[4] = 2;
       },
       {9, 2, 1, 0}},
      {"macro index wraps", 0, 4,
       [](SettingsRecord& r) {
         r.modeA.keyFunction[4] = 13;
         r.modeA.macroIndex[4] = 255;
       },
       {9, 0, 0, 0}},
      {"shift", 1, 5, [](SettingsRecord& r) { r.modeB.keyFunction[5] = 14; }, {8, 0, 2, 0}},
      {"key off", 0, 5, [](SettingsRecord& r) { r.modeA.keyFunction[5] = 15; }, {0, 0, 0, 0}},
      {"unknown 16", 0, 5, [](SettingsRecord& r) { r.modeA.keyFunction[5] = 16; }, {0, 0, 0, 0}},
      {"unknown 255", 1, 7, [](SettingsRecord& r) { r.modeB.keyFunction[7] = 255; }, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SettingsRecord record{};
    c.set(record);
    EXPECT_EQ(ButtonFunctionCode(record, c.mode, c.button), c.expected) << c.name;

    KeyMatrix m1, m3;
    BuildKeyMatrices(record, m1, m3);
    const KeyMatrix& m = c.mode == 0 ? m1 : m3;
    EXPECT_EQ(SlotOf(m, MatrixSlotOfButton(c.button)), c.expected) << c.name;
  }
}

TEST(BuildKeyMatrices, ButtonsSixAndSevenTradeSlots) {
  SettingsRecord record{};
  record.modeA.keyFunction[6] = kForward;
  record.modeA.keyFunction[7] = kBackward;
  record.modeA.keyFunction[8] = kRightClick;  // buttons 8..11 never reach the mouse
  KeyMatrix m1, m3;
  BuildKeyMatrices(record, m1, m3);
  EXPECT_EQ(SlotOf(m1, 6), (FunctionCode{1, 0, 0xF3, 0}));
  EXPECT_EQ(SlotOf(m1, 7), (FunctionCode{1, 0, 0xF4, 0}));
  EXPECT_EQ(SlotOf(m1, 8), (FunctionCode{0, 0, 0, 0}));
}

}  // namespace
}  // namespace vortal
