#include "edit/setting_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <functional>

#include "assign/assignment_choices.h"
#include "assign/key_tables.h"
#include "device/device_commands.h"
#include "edit/record_rules.h"
#include "edit/setup_editor.h"
#include "macro/macro_encoder.h"
#include "macro/macro_recorder.h"
#include "macro/macro_store.h"
#include "setup/button_action.h"

namespace vortal {
namespace {

const LocalizedTexts kEnglish{Language::kEnglish};
constexpr std::array<std::string_view, 2> kModeNames = {"mode-a", "mode-b"};


bool SameName(std::string_view a, std::string_view b) { return LowerAscii(a) == LowerAscii(b); }

std::string Join(const std::vector<std::string>& items, std::string_view separator = ", ") {
  std::string joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) joined += separator;
    joined += items[i];
  }
  return joined;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }


// The index of `name` among `items` in any letter case.
template <typename Items, typename TextOf>
std::optional<int> FindItem(const Items& items, std::string_view name, TextOf textOf) {
  int index = 0;
  for (const auto& item : items) {
    if (SameName(textOf(item), name)) return index;
    ++index;
  }
  return std::nullopt;
}

template <typename Items, typename TextOf>
std::vector<std::string> ItemTexts(const Items& items, TextOf textOf) {
  std::vector<std::string> texts;
  for (const auto& item : items) texts.emplace_back(textOf(item));
  return texts;
}

std::vector<std::string> FunctionNames() {
  return ItemTexts(kFunctionListTexts, [](TextId id) { return kEnglish[id]; });
}
std::vector<std::string> KeyNames() {
  return ItemTexts(KeyNameTable, [](const KeyNameRow& row) { return row.name; });
}
std::vector<std::string> ModifierNames() {
  return ItemTexts(ModifierNameTable, [](const ModifierNameRow& row) { return row.name; });
}
std::vector<std::string> FireKeyNames() {
  return ItemTexts(FireKeyList, [](const FireKeyItem& item) { return item.text; });
}
std::vector<std::string> WindowsNames() {
  return ItemTexts(kWindowsItems, [](const DialogLabel& item) { return item.english; });
}
std::vector<std::string> MediaNames() {
  return ItemTexts(kMediaItems, [](const DialogLabel& item) { return item.english; });
}
std::vector<std::string> LedModeNames() {
  std::vector<std::string> names;
  for (int mode = 0; mode <= 3; ++mode) names.push_back(LedModeText(kEnglish, mode));
  return names;
}

std::optional<std::string_view> KeyName(std::string_view name) {
  const auto index = FindItem(KeyNameTable, name, [](const KeyNameRow& row) { return row.name; });
  if (!index) return std::nullopt;
  return KeyNameTable[static_cast<std::size_t>(*index)].name;
}

// ---- Words: a head of plain words, then name=value parameters.

struct Words {
  std::string head;
  std::vector<std::pair<std::string, std::string>> parameters;  // names in lower case
};

bool IsParameterWord(std::string_view word, std::size_t& equals) {
  equals = word.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  return std::all_of(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(equals), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
  });
}

Words ReadWords(const std::vector<std::string>& words) {
  Words read;
  for (const std::string& word : words) {
    std::size_t equals = 0;
    if (IsParameterWord(word, equals)) {
      read.parameters.emplace_back(LowerAscii(word.substr(0, equals)), word.substr(equals + 1));
    } else if (!read.parameters.empty()) {
      std::string& value = read.parameters.back().second;
      if (!value.empty()) value += ' ';
      value += word;
    } else {
      if (!read.head.empty()) read.head += ' ';
      read.head += word;
    }
  }
  return read;
}

// Takes the parameters a value may have; anything else is an error.
class Parameters {
 public:
  Parameters(const Words& words, std::string_view what) : words_(words), what_(what) {}

  std::optional<std::string> Take(std::string_view name) {
    taken_.emplace_back(name);
    for (const auto& [key, value] : words_.parameters)
      if (key == name) return value;
    return std::nullopt;
  }

  // Empty when every parameter given was taken (and none given twice).
  std::string Unknown() const {
    for (std::size_t i = 0; i < words_.parameters.size(); ++i) {
      const std::string& key = words_.parameters[i].first;
      for (std::size_t j = 0; j < i; ++j)
        if (words_.parameters[j].first == key) return what_ + ": " + key + "= is given twice.";
      if (std::find(taken_.begin(), taken_.end(), key) == taken_.end()) {
        if (taken_.empty()) return what_ + " takes no parameters (" + key + "= was given).";
        std::vector<std::string> names;
        for (const std::string& name : taken_) names.push_back(name + "=");
        return what_ + " has no parameter " + key + "=; it takes " + Join(names) + ".";
      }
    }
    return {};
  }

 private:
  const Words& words_;
  std::string what_;
  std::vector<std::string> taken_;
};

std::string NotOneOf(std::string_view what, std::string_view given,
                     const std::vector<std::string>& accepted) {
  if (given.empty()) return std::string(what) + " is missing: give one of " + Join(accepted) + ".";
  return std::string(what) + ": " + Quoted(given) + " is not one of " + Join(accepted) + "." +
         DidYouMean(given, accepted);
}

// Edits (insert, delete, replace, swap two neighbours) from one text to
// another, in ASCII lower case.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

std::string NumberOutside(std::string_view what, std::string_view given, int low, int high) {
  return std::string(what) + ": " + Quoted(given) + " is not a whole number from " +
         std::to_string(low) + " to " + std::to_string(high) + ".";
}

std::optional<int> NumberIn(std::string_view text, int low, int high) {
  const auto value = WholeNumber(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// ---- Buttons

struct ButtonName {
  int mode = 0;
  int slot = 0;
};

std::optional<ButtonName> ParseButtonName(std::string_view name) {
  for (int mode = 0; mode < 2; ++mode) {
    const std::string prefix = std::string(kModeNames[static_cast<std::size_t>(mode)]) + ".button";
    if (name.substr(0, prefix.size()) != prefix) continue;
    const auto button = NumberIn(name.substr(prefix.size()), 1, kDeviceButtons);
    if (button) return ButtonName{mode, *button - 1};
  }
  return std::nullopt;
}

// The action of `function` from its parameters; an error message on bad input.
std::string ParseAction(int function, Parameters& p, const SettingContext& context,
                        ButtonAction& action, std::string& speedGiven, const std::string& what) {
  auto required = [&](std::string_view name) -> std::optional<std::string> {
    auto value = p.Take(name);
    if (!value || value->empty()) return std::nullopt;
    return value;
  };
  switch (function) {
    case kDpiSwitch: {
      const auto given = required("action");
      std::vector<std::string> actions(kDpiSwitchTexts.begin(), kDpiSwitchTexts.end());
      const auto index = given ? FindItem(actions, *given, [](const std::string& s) { return s; })
                               : std::nullopt;
      if (!index) return NotOneOf(what + " action=", given.value_or(""), actions);
      action = DpiSwitchAction{static_cast<DpiAction>(*index + 1)};
      return {};
    }
    case kWindowsFunction:
    case kMultimedia: {
      const bool windows = function == kWindowsFunction;
      const auto name = required("function");
      const std::vector<std::string> names = windows ? WindowsNames() : MediaNames();
      const auto index = name ? FindItem(names, *name, [](const std::string& s) { return s; })
                              : std::nullopt;
      if (!index) return NotOneOf(what + " function=", name.value_or(""), names);
      action = windows ? ActionOfChoice(WindowsChoice{*index, {}}) : ActionOfChoice(MediaChoice{*index, {}});
      return {};
    }
    case kFireKey: {
      const auto key = required("key");
      const auto index =
          key ? FindItem(FireKeyList, *key, [](const FireKeyItem& item) { return item.text; })
              : std::nullopt;
      if (!index) return NotOneOf(what + " key=", key.value_or(""), FireKeyNames());
      FireChoice choice;
      choice.index = *index;
      // The speed's range is the editor's rule; here it only has to be a byte.
      if (const auto speed = p.Take("speed")) {
        const auto n = NumberIn(*speed, 0, 255);
        if (!n) return NumberOutside(what + " speed=", *speed, kFireMinSpeed, kFireMaxSpeed);
        choice.speed = *n;
        speedGiven = *speed;
      }
      if (const auto times = p.Take("times")) {
        const auto n = NumberIn(*times, 0, kFireMaxTimes);
        if (!n) return NumberOutside(what + " times=", *times, 0, kFireMaxTimes);
        choice.times = *n;
      }
      action = ActionOfChoice(choice);
      return {};
    }
    case kSingleKey: {
      const auto key = required("key");
      const auto name = key ? KeyName(*key) : std::nullopt;
      if (!name)
        return key ? what + " key=: " + Quoted(*key) +
                         " is no key name (vortalctl names keys lists them)." +
                         DidYouMean(*key, KeyNames())
                   : what + " key= is missing: give a key name (vortalctl names keys lists them).";
      action = ActionOfChoice(SingleChoice{std::string(*name)});
      return {};
    }
    case kComboKey: {
      ComboChoice choice;
      if (const auto modifier = p.Take("modifier")) {
        const auto index = FindItem(ModifierNameTable, *modifier,
                                    [](const ModifierNameRow& row) { return row.name; });
        if (!index) return NotOneOf(what + " modifier=", *modifier, ModifierNames());
        choice.modifier = std::string(ModifierNameTable[static_cast<std::size_t>(*index)].name);
      }
      for (const char* name : {"key1", "key2"}) {
        const auto key = p.Take(name);
        if (!key) continue;
        const auto found = KeyName(*key);
        if (!found)
          return what + " " + name + "=: " + Quoted(*key) +
                 " is no key name (vortalctl names keys lists them)." + DidYouMean(*key, KeyNames());
        (std::string_view(name) == "key1" ? choice.key1 : choice.key2) = std::string(*found);
      }
      if (choice.modifier.empty() && choice.key1.empty() && choice.key2.empty())
        return what + ": a Combo Key needs modifier=, key1= or key2=.";
      action = ActionOfChoice(choice);
      return {};
    }
    case kMacroKey: {
      MacroChoice choice;
      if (const auto repeat = p.Take("repeat")) {
        const auto n = NumberIn(*repeat, 1, kRepeatModeCount);
        if (!n) return NumberOutside(what + " repeat=", *repeat, 1, kRepeatModeCount);
        choice.repeatMode = *n;
      }
      const auto name = required("macro");
      const auto& names = context.macroNames;
      std::optional<std::size_t> slot;
      if (name) slot = FindMacroName(names, *name);
      if (!slot || *slot >= static_cast<std::size_t>(kMacroSlots)) {
        if (names.empty()) return what + ": there are no macros yet (vortalctl macro set adds one).";
        return NotOneOf(what + " macro=", name.value_or(""), names);
      }
      choice.slot = static_cast<int>(*slot);
      action = ActionOfChoice(choice);
      return {};
    }
    default:
      action = PlainFunction{static_cast<FunctionType>(function)};
      return {};
  }
}

std::string ChangeButton(WorkingSetup& setup, ButtonName button, const std::vector<std::string>& words,
                         const SettingContext& context, const std::string& what) {
  const Words read = ReadWords(words);
  const std::vector<std::string> functions = FunctionNames();
  const auto function = FindItem(functions, read.head, [](const std::string& s) { return s; });
  if (!function) return NotOneOf(what, read.head, functions);
  Parameters p(read, functions[static_cast<std::size_t>(*function)]);
  ButtonAction action;
  std::string speedGiven;
  if (std::string error = ParseAction(*function, p, context, action, speedGiven, what);
      !error.empty())
    return error;
  if (std::string unknown = p.Unknown(); !unknown.empty()) return what + ": " + unknown;

  const ButtonEdit edit =
      SetButton(setup, button.mode, button.slot, action, context.texts, context.macroNames);
  const char modeLetter = button.mode == 0 ? 'A' : 'B';
  switch (edit.refusal) {
    case ButtonRefusal::kNone:
      return {};
    case ButtonRefusal::kShiftTaken:
      return what + ": Mode " + modeLetter +
             " has its Shift button already; a mode has one (set that button to another function "
             "first).";
    case ButtonRefusal::kLastLeftClick: {
      const char lostMode = edit.lostMode == 0 ? 'A' : 'B';
      return what + (edit.lostMode == button.mode
                         ? std::string(" is the only Left Click")
                         : std::string(" would take Shift into Mode ") + lostMode +
                               ", where that button is the only Left Click") +
             " of Mode " + lostMode + " among buttons 1 to 8: a mode keeps one; give another " +
             "button Left Click first.";
    }
    case ButtonRefusal::kFireSpeed:
      return NumberOutside(what + " speed=", speedGiven, kFireMinSpeed, kFireMaxSpeed);
    case ButtonRefusal::kNoSuchMacro:
    case ButtonRefusal::kNoSuchButton:
      break;
  }
  return what + ": no such button or macro.";
}

std::string ButtonValue(const SettingsRecord& record, ButtonName button,
                        const SettingContext& context) {
  const KeyArea& area = record.area(button.mode);
  const int slot = button.slot;
  const int function = area.keyFunction[slot];
  if (function >= static_cast<int>(kFunctionListTexts.size())) return "Key Off";
  std::string value(kEnglish[kFunctionListTexts[static_cast<std::size_t>(function)]]);
  auto add = [&](std::string_view name, std::string_view text) {
    if (text.empty()) return;
    value += ' ';
    value += name;
    value += '=';
    value += text;
  };
  switch (function) {
    case kDpiSwitch: {
      const int action = record.dpiSwitchFor(button.mode)[slot];
      add("action", action >= 1 && action <= 3 ? kDpiSwitchTexts[action - 1] : "");
      break;
    }
    case kWindowsFunction:
      add("function", WindowsFunctionText(area.windowsIndex[slot]));
      break;
    case kMultimedia:
      add("function", MediaFunctionText(area.mediaIndex[slot]));
      break;
    case kFireKey:
      add("key", FireKeyText(area.fireIndex[slot]));
      add("speed", std::to_string(area.fireSpeed[slot]));
      add("times", std::to_string(area.fireTimes[slot]));
      break;
    case kSingleKey:
      add("key", KeyNameFromCode(area.singleKeyCode[slot]));
      break;
    case kComboKey:
      add("modifier", ModifierNameFromBit(area.comboModifiers[slot]));
      add("key1", KeyNameFromCode(area.comboKey1[slot]));
      add("key2", KeyNameFromCode(area.comboKey2[slot]));
      break;
    case kMacroKey: {
      add("repeat", std::to_string(area.macroLoopMode[slot] + 1));
      const std::size_t index = area.macroIndex[slot];
      add("macro", index < context.macroNames.size() ? context.macroNames[index] : "");
      break;
    }
    default:
      break;
  }
  return value;
}

// ---- On/off words

std::optional<bool> OnOff(std::string_view word) {
  const std::string lower = LowerAscii(word);
  if (lower == "on") return true;
  if (lower == "off") return false;
  return std::nullopt;
}

// Splits "on 1600" / "off" / "#FF0000": the on/off word (if first) and the rest.
std::pair<std::optional<bool>, std::vector<std::string>> TakeOnOff(
    const std::vector<std::string>& words) {
  if (!words.empty())
    if (const auto on = OnOff(words.front()))
      return {on, std::vector<std::string>(words.begin() + 1, words.end())};
  return {std::nullopt, words};
}

// ---- Colours

struct NamedColor {
  std::string_view name;
  std::uint8_t red, green, blue;
};
constexpr std::array<NamedColor, 12> kNamedColors = {{
    {"black", 0, 0, 0},       {"white", 255, 255, 255}, {"red", 255, 0, 0},
    {"green", 0, 255, 0},     {"blue", 0, 0, 255},      {"yellow", 255, 255, 0},
    {"cyan", 0, 255, 255},    {"magenta", 255, 0, 255}, {"orange", 255, 128, 0},
    {"purple", 128, 0, 255},  {"pink", 255, 105, 180},  {"gray", 128, 128, 128},
}};

std::optional<std::array<std::uint8_t, 3>> ParseColor(std::string_view text) {
  for (const NamedColor& c : kNamedColors)
    if (SameName(c.name, text)) return std::array<std::uint8_t, 3>{c.red, c.green, c.blue};
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  std::array<std::uint8_t, 3> rgb{};
  for (int i = 0; i < 3; ++i) {
    unsigned value = 0;
    const char* from = text.data() + 1 + 2 * i;
    const auto [at, error] = std::from_chars(from, from + 2, value, 16);
    if (error != std::errc() || at != from + 2) return std::nullopt;
    rgb[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
  }
  return rgb;
}

std::string ColorText(const std::uint8_t* rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
  return text;
}

// ---- The settings table

// A numbered setting "dpi.2": its number (1..count) after the prefix.
std::optional<int> Numbered(std::string_view name, std::string_view prefix, int count) {
  if (name.substr(0, prefix.size()) != prefix) return std::nullopt;
  return NumberIn(name.substr(prefix.size()), 1, count);
}

struct PointerField {
  std::string_view name;
  std::uint8_t SettingsRecord::*field;
  int low, high;  // 0..1 fields are on/off
};
constexpr std::array<PointerField, 5> kPointerFields = {{
    {"pointer.speed", &SettingsRecord::mouseSpeed, 1, kPointerSliderSteps},
    {"pointer.wheel-lines", &SettingsRecord::scrollLines, 0, kPointerSliderSteps},
    {"pointer.double-click", &SettingsRecord::doubleClickIndex, 1, kPointerSliderSteps},
    {"pointer.precision", &SettingsRecord::pointerPrecision, 0, 1},
    {"pointer.page-scroll", &SettingsRecord::scrollOneScreen, 0, 1},
}};

const PointerField* FindPointerField(std::string_view name) {
  for (const PointerField& f : kPointerFields)
    if (f.name == name) return &f;
  return nullptr;
}

// The DPI levels of the sensor, as "level=N" when no sensor is known.
std::vector<std::string> DpiChoices(const SettingContext& context) {
  std::vector<std::string> choices;
  if (context.sensorType) {
    const DpiTable table = DpiTableOf(*context.sensorType);
    for (int i = 0; i < table.count; ++i) choices.push_back(std::to_string(table.levels[i].dpi));
  }
  return choices;
}

std::string ChangeDpiStage(SettingsRecord& record, int stage, const std::vector<std::string>& words,
                           const SettingContext& context, const std::string& what) {
  const auto [on, rest] = TakeOnOff(words);
  const Words read = ReadWords(rest);
  Parameters p(read, what);
  std::optional<int> level;
  if (const auto given = p.Take("level")) {
    const int count = context.sensorType ? DpiTableOf(*context.sensorType).count : kMaxDpiSteps;
    level = NumberIn(*given, 1, count);
    if (!level) return NumberOutside(what + " level=", *given, 1, count);
    --*level;
  }
  if (std::string unknown = p.Unknown(); !unknown.empty()) return unknown;
  if (!read.head.empty()) {
    if (level) return what + ": give a DPI or level=, not both.";
    // Neither on, off nor a number: no DPI was meant ("of", "onn").
    if (read.head.find_first_of("0123456789") == std::string::npos)
      return what + ": " + Quoted(read.head) + " is neither on, off, a DPI nor level=N." +
             DidYouMean(read.head, {"on", "off"});
    if (!context.sensorType)
      return what + ": the sensor's DPI levels are not known; plug the mouse in, name its sensor "
                    "with --sensor, or give level=1 to level=" + std::to_string(kMaxDpiSteps) + ".";
    const DpiTable table = DpiTableOf(*context.sensorType);
    std::string dpi = LowerAscii(read.head);
    if (dpi.size() > 3 && dpi.substr(dpi.size() - 3) == "dpi") dpi.resize(dpi.size() - 3);
    while (!dpi.empty() && dpi.back() == ' ') dpi.pop_back();
    const auto value = WholeNumber(dpi);
    for (int i = 0; value && i < table.count; ++i)
      if (table.levels[i].dpi == *value) level = i;
    if (!level)
      return what + ": the sensor (type " + std::to_string(*context.sensorType) + ") has no " +
             Quoted(read.head) + " DPI; it has " + Join(DpiChoices(context)) + ".";
  }
  if (!on && !level) return what + ": give on, off, a DPI or level=N.";
  SettingsRecord changed = record;
  if (on && !SetDpiStageEnabled(changed, stage, *on))
    return what + " is the only DPI stage switched on: the mouse needs one; switch another on "
                  "first.";
  if (level) changed.dpiLevel[stage] = static_cast<std::uint8_t>(*level);
  record = changed;
  return {};
}

std::string DpiStageValue(const SettingsRecord& record, int stage, const SettingContext& context) {
  std::string value = record.dpiStageEnabled[stage] == 1 ? "on " : "off ";
  const std::string dpi =
      context.sensorType ? DpiLabel(*context.sensorType, record.dpiLevel[stage]) : std::string();
  return value + (dpi.empty() ? "level=" + std::to_string(record.dpiLevel[stage] + 1) : dpi);
}

constexpr std::array<std::string_view, 3> kLedParameterNames = {"brightness", "speed", "time"};

std::string ChangeLighting(SettingsRecord& record, const std::vector<std::string>& words,
                           const std::string& what) {
  const Words read = ReadWords(words);
  SettingsRecord changed = record;
  if (!read.head.empty()) {
    // "Standard Mode" or "standard"; "Off Mode" is what a mouse may come with.
    const std::vector<std::string> modes = LedModeNames();
    std::optional<int> mode = FindItem(modes, read.head, [](const std::string& s) { return s; });
    if (!mode) mode = FindItem(modes, read.head + " mode", [](const std::string& s) { return s; });
    if (!mode) return NotOneOf(what, read.head, modes);
    if (*mode == 0)
      changed.auxLedMode = 0;
    else
      SetLedMode(changed, *mode - 1);
  }
  Parameters p(read, what);
  for (int mode = 1; mode <= 3; ++mode) {
    const auto given = p.Take(kLedParameterNames[static_cast<std::size_t>(mode - 1)]);
    if (!given) continue;
    const std::vector<std::string> items = LedParameterTexts(mode);
    const auto index = FindItem(items, *given, [](const std::string& s) { return s; });
    if (!index)
      return NotOneOf(what + " " + std::string(kLedParameterNames[static_cast<std::size_t>(mode - 1)]) +
                          "=",
                      *given, items);
    changed.auxLedParam[mode - 1] = static_cast<std::uint8_t>(*index);
  }
  if (std::string unknown = p.Unknown(); !unknown.empty()) return unknown;
  if (read.head.empty() && read.parameters.empty())
    return what + ": give a mode (" + Join(LedModeNames()) + ") and its parameters.";
  record = changed;
  return {};
}

std::string LightingValue(const SettingsRecord& record) {
  std::string value = LedModeText(kEnglish, record.auxLedMode);
  if (value.empty()) value = LedModeText(kEnglish, 0);
  for (int mode = 1; mode <= 3; ++mode) {
    const std::string text = LedParameterText(mode, record.auxLedParam[mode - 1]);
    if (!text.empty())
      value += " " + std::string(kLedParameterNames[static_cast<std::size_t>(mode - 1)]) + "=" + text;
  }
  return value;
}

std::string ChangeLoopColor(SettingsRecord& record, int color,
                            const std::vector<std::string>& words, const SettingContext& context,
                            const std::string& what) {
  const auto [on, rest] = TakeOnOff(words);
  if (rest.size() > 1 || (!on && rest.empty()))
    return what + ": give on, off and/or a colour (#RRGGBB or " + Join(ColorNames()) + ").";
  SettingsRecord changed = record;
  if (on) changed.loopColorEnabled[color] = *on ? 1 : 0;
  if (!rest.empty()) {
    const auto rgb = ParseColor(rest.front());
    if (!rgb)
      return what + ": " + Quoted(rest.front()) + " is no colour; give #RRGGBB or one of " +
             Join(ColorNames()) + ".";
    const bool same = std::equal(rgb->begin(), rgb->end(), changed.loopColor[color]);
    if (!same && !context.wholeSetup && !CanChooseLoopColor(changed))
      return what + ": a loop colour is chosen while loop-color.1 is on; switch it on first.";
    std::copy(rgb->begin(), rgb->end(), changed.loopColor[color]);
  }
  record = changed;
  return {};
}

std::string ChangeDpiLed(SettingsRecord& record, int stage, const std::vector<std::string>& words,
                         const std::string& what) {
  std::string joined;
  for (const std::string& word : words) joined += word + ",";
  std::array<bool, kLedSquares> lit{};
  bool none = false;
  std::size_t from = 0;
  int parts = 0;
  while (from < joined.size()) {
    const std::size_t comma = joined.find(',', from);
    const std::string part = joined.substr(from, comma - from);
    from = comma + 1;
    if (part.empty()) continue;
    ++parts;
    if (SameName(part, "none")) {
      none = true;
      continue;
    }
    const auto square = NumberIn(part, 1, kLedSquares);
    if (!square)
      return what + ": " + Quoted(part) + " is no square; give the squares lit, 1 to 4 (\"1,3\"), "
                                          "or none.";
    lit[static_cast<std::size_t>(*square - 1)] = true;
  }
  if (parts == 0 || (none && std::count(lit.begin(), lit.end(), true) > 0))
    return what + ": give the squares lit, 1 to 4 (\"1,3\"), or none.";
  SettingsRecord changed = record;
  for (int square = 0; square < kLedSquares; ++square) {
    const LedBit bit = LedBitOf(stage, square);
    std::uint8_t& byte = changed.dpiStageLedBits[bit.byte];
    byte = static_cast<std::uint8_t>(lit[static_cast<std::size_t>(square)] ? byte | bit.mask
                                                                            : byte & ~bit.mask);
  }
  record = changed;
  return {};
}

std::string DpiLedValue(const SettingsRecord& record, int stage) {
  std::vector<std::string> lit;
  for (int square = 0; square < kLedSquares; ++square) {
    const LedBit bit = LedBitOf(stage, square);
    if (record.dpiStageLedBits[bit.byte] & bit.mask) lit.push_back(std::to_string(square + 1));
  }
  return lit.empty() ? "none" : Join(lit, ",");
}

std::string ChangePointer(SettingsRecord& record, const PointerField& field,
                          const std::vector<std::string>& words, const std::string& what) {
  const std::string word = words.size() == 1 ? words.front() : std::string();
  if (field.high == 1) {
    const auto on = OnOff(word);
    if (!on) return what + ": give on or off.";
    record.*field.field = *on ? 1 : 0;
    return {};
  }
  const auto step = NumberIn(word, field.low, field.high);
  if (!step) return NumberOutside(what, word, field.low, field.high);
  record.*field.field = static_cast<std::uint8_t>(*step);
  return {};
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  return value;
}

std::vector<std::string> SettingNames() {
  std::vector<std::string> names;
  for (std::string_view mode : kModeNames)
    for (int b = 1; b <= kDeviceButtons; ++b)
      names.push_back(std::string(mode) + ".button" + std::to_string(b));
  names.emplace_back("rate");
  for (int s = 1; s <= kDpiStages; ++s) names.push_back("dpi." + std::to_string(s));
  names.emplace_back("lighting");
  for (int c = 1; c <= kLoopColors; ++c) names.push_back("loop-color." + std::to_string(c));
  for (int s = 1; s <= kLedStages; ++s) names.push_back("dpi-led." + std::to_string(s));
  for (const PointerField& f : kPointerFields) names.emplace_back(f.name);
  return names;
}

std::optional<std::string> NearestName(std::string_view given,
                                       const std::vector<std::string>& names) {
  const std::string lower = LowerAscii(given);
  if (lower.empty()) return std::nullopt;
  const std::size_t slips = lower.size() <= 4 ? 1 : 2;  // more than that is another word
  std::vector<const std::string*> nearest;
  std::vector<const std::string*> begun;
  std::size_t best = slips + 1;
  for (const std::string& name : names) {
    const std::string candidate = LowerAscii(name);
    if (candidate == lower) return std::nullopt;  // not misspelt at all
    if (candidate.compare(0, lower.size(), lower) == 0) begun.push_back(&name);
    const std::size_t distance = EditDistance(lower, candidate);
    if (distance < best) {
      nearest.clear();
      best = distance;
    }
    if (distance == best) nearest.push_back(&name);
  }
  if (nearest.size() == 1) return *nearest.front();
  if (begun.size() == 1) return *begun.front();
  return std::nullopt;
}

std::string DidYouMean(std::string_view given, const std::vector<std::string>& names) {
  const auto nearest = NearestName(given, names);
  return nearest ? " Did you mean " + Quoted(*nearest) + "?" : std::string();
}

std::string NameRuns(const std::vector<std::string>& names) {
  // "dpi.1", "dpi.2" ... -> "dpi.1 to dpi.4"; a name without a number stands alone.
  auto stem = [](const std::string& name) {
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    return end == name.size() || end == 0 ? name : name.substr(0, end);
  };
  std::vector<std::string> runs;
  for (std::size_t i = 0; i < names.size();) {
    std::size_t last = i;
    while (last + 1 < names.size() && stem(names[last + 1]) == stem(names[i]) &&
           stem(names[i]) != names[i])
      ++last;
    runs.push_back(last == i ? names[i] : names[i] + " to " + names[last]);
    i = last + 1;
  }
  return Join(runs);
}

std::vector<std::string> SettingNamesMatching(std::string_view query) {
  const std::string lower = LowerAscii(query);
  std::vector<std::string> matching;
  for (const std::string& name : SettingNames()) {
    const bool group = name.size() > lower.size() && name.compare(0, lower.size(), lower) == 0 &&
                       name[lower.size()] == '.';
    if (lower.empty() || name == lower || group) matching.push_back(name);
  }
  return matching;
}

std::string SettingValue(const SettingsRecord& record, std::string_view given,
                         const SettingContext& context) {
  const std::string name = LowerAscii(given);  // names in any letter case, as for a change
  if (const auto button = ParseButtonName(name)) return ButtonValue(record, *button, context);
  if (name == "rate") return std::to_string(kReportRatesHz[ReportRateMark(record.reportRate) - 1]);
  if (const auto stage = Numbered(name, "dpi.", kDpiStages))
    return DpiStageValue(record, *stage - 1, context);
  if (name == "lighting") return LightingValue(record);
  if (const auto color = Numbered(name, "loop-color.", kLoopColors)) {
    const int c = *color - 1;
    return std::string(record.loopColorEnabled[c] == 1 ? "on " : "off ") +
           ColorText(record.loopColor[c]);
  }
  if (const auto stage = Numbered(name, "dpi-led.", kLedStages))
    return DpiLedValue(record, *stage - 1);
  if (const PointerField* field = FindPointerField(name)) {
    const int value = record.*field->field;
    if (field->high == 1) return value != 0 ? "on" : "off";
    return std::to_string(value);
  }
  return {};
}

std::string ChangeSetting(WorkingSetup& setup, std::string_view given,
                          const std::vector<std::string>& words, const SettingContext& context) {
  const std::string name = LowerAscii(given);
  const std::string what = name;
  SettingsRecord& record = setup.record;
  if (const auto button = ParseButtonName(name))
    return ChangeButton(setup, *button, words, context, what);
  if (name == "rate") {
    std::string hz = words.size() == 1 ? LowerAscii(words.front()) : std::string();
    if (hz.size() > 2 && hz.substr(hz.size() - 2) == "hz") hz.resize(hz.size() - 2);
    std::vector<std::string> rates;
    for (int mark = 0; mark < kReportRateMarks; ++mark) {
      rates.push_back(std::to_string(kReportRatesHz[mark]));
      if (rates.back() == hz) {
        record.reportRate = kReportRateCodes[mark];
        return {};
      }
    }
    return NotOneOf("rate (Hz)", Join(words, " "), rates);
  }
  if (const auto stage = Numbered(name, "dpi.", kDpiStages))
    return ChangeDpiStage(record, *stage - 1, words, context, what);
  if (name == "lighting") return ChangeLighting(record, words, what);
  if (const auto color = Numbered(name, "loop-color.", kLoopColors))
    return ChangeLoopColor(record, *color - 1, words, context, what);
  if (const auto stage = Numbered(name, "dpi-led.", kLedStages))
    return ChangeDpiLed(record, *stage - 1, words, what);
  if (const PointerField* field = FindPointerField(name))
    return ChangePointer(record, *field, words, what);
  return Quoted(given) + " is no setting; the settings are " + NameRuns(SettingNames()) + "." +
         DidYouMean(given, SettingNames());
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

std::string DescribeMacroLines(const std::vector<std::string>& lines) {
  std::vector<std::string> items;
  for (const std::string& line : lines) {
    std::string item = line;
    for (std::string_view marker : {kPressMarker, kReleaseMarker}) {
      const std::size_t at = item.find(marker);
      if (at != std::string::npos) item = item.substr(0, at) + " " + std::string(marker.substr(3));
    }
    items.push_back(item);
  }
  return Join(items);
}

std::optional<std::vector<std::string>> ParseMacroEvents(std::string_view text,
                                                         std::string& error) {
  // An event ends at a word "Dn", "Up" or "ms", which may carry the comma
  // that separates it from the next; the words before it name the key or
  // give the delay. "," is a key name, so commas only count after those words.
  std::vector<std::string> words;
  for (const std::string& word : SplitWords(text)) {
    // "Dn,B" is two words: the end of an event and the start of the next.
    const std::string head = LowerAscii(word.substr(0, 3));
    if (word.size() > 3 && (head == "dn," || head == "up," || head == "ms,")) {
      words.push_back(word.substr(0, 3));
      words.push_back(word.substr(3));
    } else {
      words.push_back(word);
    }
  }
  // A word "Dn", "Up" or "ms" ends the event when the words before it name a
  // key (or a delay), since "Page Up" and "Up" are keys themselves; with a
  // comma after it, it always does.
  std::vector<std::string> lines;
  std::string pending;
  auto finish = [&](const std::string& marker) {
    if (pending.empty()) {
      error = Quoted(marker) + " needs a key name or a number of milliseconds before it.";
      return false;
    }
    if (marker == "ms") {
      const auto ms = NumberIn(pending, 0, kLongPauseMaxMs);
      // "R down, 50 ms": the words before the comma were no event.
      if (const std::size_t comma = pending.find(','); !ms && comma != std::string::npos) {
        error = Quoted(pending.substr(0, comma)) +
                " is not a whole event: write \"KEY Dn\", \"KEY Up\" or \"N ms\".";
        return false;
      }
      if (!ms) {
        error = Quoted(pending + " ms") + " is no delay: give 0 to " +
                std::to_string(kLongPauseMaxMs) + " ms.";
        return false;
      }
      lines.push_back(DelayLine(*ms));
    } else {
      const auto key = KeyName(pending);
      if (!key) {
        error = Quoted(pending) + " is no key name (vortalctl names keys lists them).";
        return false;
      }
      lines.push_back(std::string(*key) + std::string(marker == "dn" ? kPressMarker : kReleaseMarker));
    }
    pending.clear();
    return true;
  };
  auto isMarker = [](const std::string& lower) { return lower == "dn" || lower == "up" || lower == "ms"; };
  std::string lastMarker;  // the marker word that ended `pending`, if it was one
  for (const std::string& raw : words) {
    std::string word = raw;
    if (pending.empty() && word.size() > 1 && word.front() == ',') word.erase(0, 1);
    const bool comma = word.size() > 1 && word.back() == ',';
    const std::string bare = comma ? word.substr(0, word.size() - 1) : word;
    const std::string lower = LowerAscii(bare);
    if (isMarker(lower) && !pending.empty() &&
        (comma || (lower == "ms" ? NumberIn(pending, 0, kLongPauseMaxMs).has_value()
                                 : KeyName(pending).has_value()))) {
      if (!finish(lower)) return std::nullopt;
      lastMarker.clear();
      continue;
    }
    if (isMarker(lower) && pending.empty() && comma) {
      finish(lower);
      return std::nullopt;
    }
    lastMarker = isMarker(lower) ? lower : std::string();
    if (!pending.empty()) pending += ' ';
    pending += word;
  }
  if (!pending.empty()) {
    // "Foo Dn": a marker at the end after something that is no key.
    if (!lastMarker.empty()) {
      pending.resize(pending.size() - lastMarker.size());
      while (!pending.empty() && pending.back() == ' ') pending.pop_back();
      if (!finish(lastMarker)) return std::nullopt;
    } else {
      error = Quoted(pending) + " is not a whole event: write \"KEY Dn\", \"KEY Up\" or \"N ms\".";
      return std::nullopt;
    }
  }
  if (lines.empty()) {
    error = "a macro needs at least one event (\"A Dn, 50 ms, A Up\").";
    return std::nullopt;
  }
  return lines;
}

std::vector<std::string> ListNames() {
  return {"functions", "keys", "modifiers", "fire-keys", "windows", "multimedia", "dpi-switch",
          "lighting", "brightness", "speed", "time", "colors"};
}

std::optional<std::vector<std::string>> NamesOfList(std::string_view list) {
  const std::string name = LowerAscii(list);
  if (name == "functions") return FunctionNames();
  if (name == "keys") return KeyNames();
  if (name == "modifiers") return ModifierNames();
  if (name == "fire-keys") return FireKeyNames();
  if (name == "windows") return WindowsNames();
  if (name == "multimedia") return MediaNames();
  if (name == "dpi-switch") return std::vector<std::string>(kDpiSwitchTexts.begin(), kDpiSwitchTexts.end());
  if (name == "lighting") return LedModeNames();
  if (name == "brightness") return LedParameterTexts(1);
  if (name == "speed") return LedParameterTexts(2);
  if (name == "time") return LedParameterTexts(3);
  if (name == "colors") return ColorNames();
  return std::nullopt;
}

std::vector<std::string> ColorNames() {
  return ItemTexts(kNamedColors, [](const NamedColor& c) { return c.name; });
}

}  // namespace vortal
