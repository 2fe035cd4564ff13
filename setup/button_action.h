// What one button does, as one value: a function with exactly its own
// parameters, in the terms the mouse and the key tables use (list positions
// of the dialogs' tables, HID key codes and modifier bits, macro slots).
//
// A std::variant rather than one struct with every parameter: an action
// carries only what its function uses, so a Fire Key speed cannot ride along
// on a Single Key, and every std::visit must handle every function (the
// compiler names the one forgotten). The record's column layout stays the
// codec's business (setup/setup.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "assign/assignment_choices.h"
#include "settings/settings_record.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

namespace vortal {

// The DPI Switch actions as the mouse numbers them; a record may hold any
// other byte, which is kept as it is.
enum class DpiAction : std::uint8_t { kUp = 1, kDown = 2, kLoop = 3 };

// How a Macro Key plays its macro, as the mouse numbers it (the macro
// dialog's repeat mode minus one); other bytes of a record are kept.
enum class MacroRepeat : std::uint8_t {
  kLoopCount = 0,    // the macro's loop count, or until any key
  kUntilAnyKey = 1,
  kWhileHeld = 2,    // until the button is released
};

// Left, Right and Mid Click, Forward, Backward, Triple-click, RGB On/Off,
// Shift and Key Off. A function code the program does not know (16 and
// above; the mouse gets nothing for it) is kept here as well.
struct PlainFunction {
  FunctionType function = kKeyOff;
  friend bool operator==(const PlainFunction&, const PlainFunction&) = default;
};

struct DpiSwitchAction {
  DpiAction action = DpiAction::kUp;
  friend bool operator==(const DpiSwitchAction&, const DpiSwitchAction&) = default;
};

// The codes the mouse gets follow from the item (WindowsFunctionList,
// MediaFunctionList, FireKeyList). `storedCode`/`storedUsage` hold the codes
// of a record whose codes are not its item's, so that decoding and encoding
// keep them; an action made afresh leaves them empty and gets the item's.
struct WindowsAction {
  std::uint8_t item = 0;
  std::optional<std::array<std::uint8_t, 2>> storedUsage;  // low byte, class
  friend bool operator==(const WindowsAction&, const WindowsAction&) = default;
};

struct MultimediaAction {
  std::uint8_t item = 0;
  std::optional<std::uint8_t> storedCode;
  friend bool operator==(const MultimediaAction&, const MultimediaAction&) = default;
};

struct FireKeyAction {
  std::uint8_t item = 0;
  std::uint8_t speed = 32;  // kFireMinSpeed..kFireMaxSpeed, smaller is faster
  std::uint8_t times = 1;   // 0 fires while the button is held
  std::optional<std::uint8_t> storedCode;
  friend bool operator==(const FireKeyAction&, const FireKeyAction&) = default;
};

struct SingleKeyAction {
  std::uint8_t key = 0;  // HID key code; 0 none
  // A captured key the key table does not know: the mouse gets 0, the pane
  // still names the key. The record has no room for it (decoding leaves it
  // empty); the pane text keeps it.
  std::string unlistedName;
  friend bool operator==(const SingleKeyAction&, const SingleKeyAction&) = default;
};

struct ComboKeyAction {
  std::uint8_t modifiers = 0;  // HID modifier bits
  std::uint8_t key1 = 0;
  std::uint8_t key2 = 0;
  friend bool operator==(const ComboKeyAction&, const ComboKeyAction&) = default;
};

struct MacroKeyAction {
  std::uint8_t slot = 0;  // the macro's slot, counted from 0
  MacroRepeat repeat = MacroRepeat::kLoopCount;
  friend bool operator==(const MacroKeyAction&, const MacroKeyAction&) = default;
};

using ButtonAction = std::variant<PlainFunction, DpiSwitchAction, WindowsAction, MultimediaAction,
                                  FireKeyAction, SingleKeyAction, ComboKeyAction, MacroKeyAction>;

// The function code the record stores for the action.
FunctionType FunctionOf(const ButtonAction& action);

// The button `button` (0..11) of `mode` as the record holds it, and the
// record's columns of that button written for `action`: its function and
// exactly the parameter columns the function uses, as choosing it in the
// window writes them (the Shift rule of both modes is the caller's).
ButtonAction ReadButtonAction(const SettingsRecord& record, int mode, int button);
void WriteButtonAction(SettingsRecord& record, int mode, int button, const ButtonAction& action);

// The actions the assignment dialogs' results stand for.
ButtonAction ActionOfChoice(const WindowsChoice& choice);
ButtonAction ActionOfChoice(const MediaChoice& choice);
ButtonAction ActionOfChoice(const FireChoice& choice);
ButtonAction ActionOfChoice(const SingleChoice& choice);
ButtonAction ActionOfChoice(const ComboChoice& choice);
ButtonAction ActionOfChoice(const MacroChoice& choice);

// The text a button's pane shows for `action` in the language of `texts`;
// `macroNames` are the macros by slot. The one place button texts are made:
// a function's name, "DPI +", or a name, "-" and the parameter ("Fire Key-A",
// "Combo Key-Left Ctrl+C"); a Windows function shows its item alone.
std::string ButtonLabel(const ButtonAction& action, const LocalizedTexts& texts,
                        const std::vector<std::string>& macroNames = {});

// The factory layout of buttons 1 to 9 (the Default button and a first run).
inline constexpr int kDefaultPaneCount = 9;
const std::array<ButtonAction, kDefaultPaneCount>& DefaultButtonActions();

// The pane texts of buttons 1 to `buttons` (at most kDefaultPaneCount) for
// the factory layout, in both modes.
void SetDefaultPaneTexts(PaneTexts& panes, const LocalizedTexts& texts, int buttons);

}  // namespace vortal
