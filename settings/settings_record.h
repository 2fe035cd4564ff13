// The settings record: every user setting of the mouse and of the program, as
// one packed 2021-byte block. config.bin is a raw dump of it, so the offsets
// and widths below are a storage format and must never move.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vortal {

inline constexpr int kButtonSlots = 12;      // slots per mode; the mouse uses 0..7
inline constexpr int kDeviceButtons = 8;
inline constexpr int kMacroSlots = 12;
inline constexpr int kMacroSlotSize = 128;

// Function types of a button (keyFunction values).
enum FunctionType : std::uint8_t {
  kLeftClick = 0,
  kRightClick = 1,
  kMidClick = 2,
  kForward = 3,
  kBackward = 4,
  kTripleClick = 5,
  kDpiSwitch = 6,
  kRgbOnOff = 7,
  kWindowsFunction = 8,
  kMultimedia = 9,
  kFireKey = 10,
  kSingleKey = 11,
  kComboKey = 12,
  kMacroKey = 13,
  kShift = 14,
  kKeyOff = 15,
};

// One button mode: sixteen 12-byte arrays indexed by button slot.
struct KeyArea {
  std::uint8_t keyFunction[kButtonSlots];
  std::uint8_t mediaIndex[kButtonSlots];
  std::uint8_t mediaCode[kButtonSlots];
  std::uint8_t windowsIndex[kButtonSlots];
  std::uint8_t windowsCode[kButtonSlots];
  std::uint8_t windowsClass[kButtonSlots];
  std::uint8_t fireIndex[kButtonSlots];
  std::uint8_t fireCode[kButtonSlots];
  std::uint8_t fireSpeed[kButtonSlots];
  std::uint8_t fireTimes[kButtonSlots];
  std::uint8_t singleKeyCode[kButtonSlots];
  std::uint8_t comboModifiers[kButtonSlots];
  std::uint8_t comboKey1[kButtonSlots];
  std::uint8_t comboKey2[kButtonSlots];
  std::uint8_t macroIndex[kButtonSlots];
  std::uint8_t macroLoopMode[kButtonSlots];
};

struct SettingsRecord {
  KeyArea modeA;                                   // 0
  KeyArea modeB;                                   // 192
  std::uint8_t macroSlots[kMacroSlots][kMacroSlotSize];  // 384
  std::uint8_t reserved1920[5];                    // kept in the file, never touched
  std::uint8_t reportRate;                         // 1925: 8=125 Hz, 4=250, 2=500, 1=1000
  std::uint8_t reserved1926;
  std::uint8_t dpiLevel[4];                        // 1927
  std::uint8_t dpiStageEnabled[8];                 // 1931
  std::uint8_t reserved1939[8];
  std::uint8_t auxLedMode;                         // 1947
  std::uint8_t auxLedParam[3];                     // 1948
  std::uint8_t reserved1951[3];
  std::uint8_t reserved1954;
  std::uint8_t pointerPrecision;                   // 1955
  std::uint8_t scrollOneScreen;                    // 1956
  std::uint8_t mouseSpeed;                         // 1957
  std::uint8_t scrollLines;                        // 1958
  std::uint8_t doubleClickIndex;                   // 1959
  std::uint8_t editedMode;                         // 1960: 0 = Mode A, 1 = Mode B
  std::uint8_t dpiSwitchAction[kButtonSlots];      // 1961: Mode A, 1 DPI+, 2 DPI-, 3 DPI Loop
  std::uint8_t dpiSwitchActionB[kButtonSlots];     // 1973: Mode B
  std::uint8_t loopColorEnabled[8];                // 1985
  std::uint8_t loopColor[8][3];                    // 1993: red, green, blue
  std::uint8_t dpiStageLedBits[2];                 // 2017
  std::uint8_t dpiLedReserved[2];                  // 2019: sent with the LED bits, never written

  KeyArea& area(int mode) { return mode == 0 ? modeA : modeB; }
  const KeyArea& area(int mode) const { return mode == 0 ? modeA : modeB; }
  std::uint8_t* dpiSwitchFor(int mode) { return mode == 0 ? dpiSwitchAction : dpiSwitchActionB; }
  const std::uint8_t* dpiSwitchFor(int mode) const {
    return mode == 0 ? dpiSwitchAction : dpiSwitchActionB;
  }

  std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(this); }
  const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(this); }
};

inline constexpr std::size_t kSettingsRecordSize = 2021;

// The Shift button lives in both modes at once (it is the way from one mode
// to the other): a button of `mode` that holds Shift is shared, and whatever
// replaces it must replace it in both modes.
bool IsSharedButton(const SettingsRecord& record, int mode, int slot);
// Whether one of the buttons that reach the mouse (1 to 8) of `mode` clicks
// left. Slots 9 to 12 never reach the mouse, so a Left Click there does not
// keep the mouse usable.
bool HasLeftClickButton(const SettingsRecord& record, int mode);
// Gives the other mode's button `slot` everything `mode`'s holds: its
// function, every parameter, its DPI switch action.
void CopyButtonToOtherMode(SettingsRecord& record, int mode, int slot);

static_assert(sizeof(KeyArea) == 192);
static_assert(sizeof(SettingsRecord) == kSettingsRecordSize);
static_assert(alignof(SettingsRecord) == 1);
static_assert(offsetof(KeyArea, mediaIndex) == 12);
static_assert(offsetof(KeyArea, mediaCode) == 24);
static_assert(offsetof(KeyArea, windowsIndex) == 36);
static_assert(offsetof(KeyArea, windowsCode) == 48);
static_assert(offsetof(KeyArea, windowsClass) == 60);
static_assert(offsetof(KeyArea, fireIndex) == 72);
static_assert(offsetof(KeyArea, fireCode) == 84);
static_assert(offsetof(KeyArea, fireSpeed) == 96);
static_assert(offsetof(KeyArea, fireTimes) == 108);
static_assert(offsetof(KeyArea, singleKeyCode) == 120);
static_assert(offsetof(KeyArea, comboModifiers) == 132);
static_assert(offsetof(KeyArea, comboKey1) == 144);
static_assert(offsetof(KeyArea, comboKey2) == 156);
static_assert(offsetof(KeyArea, macroIndex) == 168);
static_assert(offsetof(KeyArea, macroLoopMode) == 180);
static_assert(offsetof(SettingsRecord, modeB) == 192);
static_assert(offsetof(SettingsRecord, macroSlots) == 384);
static_assert(offsetof(SettingsRecord, reserved1920) == 1920);
static_assert(offsetof(SettingsRecord, reportRate) == 1925);
static_assert(offsetof(SettingsRecord, reserved1926) == 1926);
static_assert(offsetof(SettingsRecord, dpiLevel) == 1927);
static_assert(offsetof(SettingsRecord, dpiStageEnabled) == 1931);
static_assert(offsetof(SettingsRecord, reserved1939) == 1939);
static_assert(offsetof(SettingsRecord, auxLedMode) == 1947);
static_assert(offsetof(SettingsRecord, auxLedParam) == 1948);
static_assert(offsetof(SettingsRecord, reserved1951) == 1951);
static_assert(offsetof(SettingsRecord, reserved1954) == 1954);
static_assert(offsetof(SettingsRecord, pointerPrecision) == 1955);
static_assert(offsetof(SettingsRecord, scrollOneScreen) == 1956);
static_assert(offsetof(SettingsRecord, mouseSpeed) == 1957);
static_assert(offsetof(SettingsRecord, scrollLines) == 1958);
static_assert(offsetof(SettingsRecord, doubleClickIndex) == 1959);
static_assert(offsetof(SettingsRecord, editedMode) == 1960);
static_assert(offsetof(SettingsRecord, dpiSwitchAction) == 1961);
static_assert(offsetof(SettingsRecord, dpiSwitchActionB) == 1973);
static_assert(offsetof(SettingsRecord, loopColorEnabled) == 1985);
static_assert(offsetof(SettingsRecord, loopColor) == 1993);
static_assert(offsetof(SettingsRecord, dpiStageLedBits) == 2017);
static_assert(offsetof(SettingsRecord, dpiLedReserved) == 2019);

// The two process-wide instances: what the pages edit, and what was last
// loaded or applied (Cancel goes back to it).
struct SettingsState {
  SettingsRecord working{};
  SettingsRecord applied{};
  std::uint8_t firstRunFlag = 0;  // config.bin byte 0: 0 until the program first wrote the file

  void Snapshot() { applied = working; }  // after load, OK and Apply
  void Revert() { working = applied; }    // Cancel
};

// The basic page's "Default": the factory assignments of buttons 0..8 in both
// modes; parameter fields, buttons 9..11 and everything else stay.
void RestoreButtonDefaults(SettingsRecord& record);

}  // namespace vortal
