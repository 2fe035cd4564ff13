#include "setup/button_action.h"

#include <algorithm>

#include "assign/key_tables.h"

namespace vortal {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

constexpr std::string_view kLabelSeparator = "-";
constexpr std::string_view kComboJoiner = "+";

std::string FunctionName(const LocalizedTexts& texts, FunctionType function) {
  // A code the program does not know does what Key Off does.
  const std::size_t index = function < kFunctionListTexts.size() ? function : kKeyOff;
  return std::string(texts[kFunctionListTexts[index]]);
}

std::string Labelled(const LocalizedTexts& texts, FunctionType function, std::string_view item) {
  return FunctionName(texts, function) + std::string(kLabelSeparator) + std::string(item);
}

// The function's name alone where the record names no item of its list.
std::string LabelledItem(const LocalizedTexts& texts, FunctionType function,
                         std::string_view item) {
  return item.empty() ? FunctionName(texts, function) : Labelled(texts, function, item);
}

template <typename Items>
std::string_view ItemIn(const Items& items, std::uint8_t item, Language language) {
  return item < items.size() ? items[item].In(language) : std::string_view{};
}

// Only the parts the mouse presses are shown: each modifier bit, then the
// keys the table names.
std::string ComboLabel(const LocalizedTexts& texts, const ComboKeyAction& combo) {
  std::vector<std::string_view> parts;
  for (const ModifierNameRow& row : ModifierNameTable) {
    if (combo.modifiers & row.bit) parts.push_back(row.name);
  }
  for (const std::uint8_t key : {combo.key1, combo.key2}) {
    if (const std::string_view name = KeyNameFromCode(key); !name.empty()) parts.push_back(name);
  }
  std::string text = Labelled(texts, kComboKey, "");
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += kComboJoiner;
    text += parts[i];
  }
  return text;
}

}  // namespace

FunctionType FunctionOf(const ButtonAction& action) {
  return std::visit(Overloaded{
                        [](const PlainFunction& a) { return a.function; },
                        [](const DpiSwitchAction&) { return kDpiSwitch; },
                        [](const WindowsAction&) { return kWindowsFunction; },
                        [](const MultimediaAction&) { return kMultimedia; },
                        [](const FireKeyAction&) { return kFireKey; },
                        [](const SingleKeyAction&) { return kSingleKey; },
                        [](const ComboKeyAction&) { return kComboKey; },
                        [](const MacroKeyAction&) { return kMacroKey; },
                    },
                    action);
}

ButtonAction ReadButtonAction(const SettingsRecord& record, int mode, int button) {
  const KeyArea& a = record.area(mode);
  const int b = button;
  switch (a.keyFunction[b]) {
    case kDpiSwitch:
      return DpiSwitchAction{static_cast<DpiAction>(record.dpiSwitchFor(mode)[b])};
    case kWindowsFunction: {
      WindowsAction windows{a.windowsIndex[b], std::nullopt};
      if (a.windowsCode[b] != WindowsUsageLow(windows.item) ||
          a.windowsClass[b] != WindowsUsageHigh(windows.item)) {
        windows.storedUsage = std::array<std::uint8_t, 2>{a.windowsCode[b], a.windowsClass[b]};
      }
      return windows;
    }
    case kMultimedia: {
      MultimediaAction media{a.mediaIndex[b], std::nullopt};
      if (a.mediaCode[b] != MediaUsageLow(media.item)) media.storedCode = a.mediaCode[b];
      return media;
    }
    case kFireKey: {
      FireKeyAction fire{a.fireIndex[b], a.fireSpeed[b], a.fireTimes[b], std::nullopt};
      if (a.fireCode[b] != FireKeyCode(fire.item)) fire.storedCode = a.fireCode[b];
      return fire;
    }
    case kSingleKey:
      return SingleKeyAction{a.singleKeyCode[b], {}};
    case kComboKey:
      return ComboKeyAction{a.comboModifiers[b], a.comboKey1[b], a.comboKey2[b]};
    case kMacroKey:
      return MacroKeyAction{a.macroIndex[b], static_cast<MacroRepeat>(a.macroLoopMode[b])};
    default:
      return PlainFunction{static_cast<FunctionType>(a.keyFunction[b])};
  }
}

void WriteButtonAction(SettingsRecord& record, int mode, int button, const ButtonAction& action) {
  KeyArea& a = record.area(mode);
  const int b = button;
  a.keyFunction[b] = FunctionOf(action);
  std::visit(Overloaded{
                 [](const PlainFunction&) {},
                 [&](const DpiSwitchAction& dpi) {
                   record.dpiSwitchFor(mode)[b] = static_cast<std::uint8_t>(dpi.action);
                 },
                 [&](const WindowsAction& windows) {
                   a.windowsIndex[b] = windows.item;
                   const auto usage = windows.storedUsage.value_or(std::array<std::uint8_t, 2>{
                       WindowsUsageLow(windows.item), WindowsUsageHigh(windows.item)});
                   a.windowsCode[b] = usage[0];
                   a.windowsClass[b] = usage[1];
                 },
                 [&](const MultimediaAction& media) {
                   a.mediaIndex[b] = media.item;
                   a.mediaCode[b] = media.storedCode.value_or(MediaUsageLow(media.item));
                 },
                 [&](const FireKeyAction& fire) {
                   a.fireIndex[b] = fire.item;
                   a.fireCode[b] = fire.storedCode.value_or(FireKeyCode(fire.item));
                   a.fireSpeed[b] = fire.speed;
                   a.fireTimes[b] = fire.times;
                 },
                 [&](const SingleKeyAction& single) { a.singleKeyCode[b] = single.key; },
                 [&](const ComboKeyAction& combo) {
                   a.comboModifiers[b] = combo.modifiers;
                   a.comboKey1[b] = combo.key1;
                   a.comboKey2[b] = combo.key2;
                 },
                 [&](const MacroKeyAction& macro) {
                   a.macroIndex[b] = macro.slot;
                   a.macroLoopMode[b] = static_cast<std::uint8_t>(macro.repeat);
                 },
             },
             action);
}

ButtonAction ActionOfChoice(const WindowsChoice& choice) {
  return WindowsAction{static_cast<std::uint8_t>(choice.index), std::nullopt};
}

ButtonAction ActionOfChoice(const MediaChoice& choice) {
  return MultimediaAction{static_cast<std::uint8_t>(choice.index), std::nullopt};
}

ButtonAction ActionOfChoice(const FireChoice& choice) {
  return FireKeyAction{static_cast<std::uint8_t>(choice.index),
                       static_cast<std::uint8_t>(choice.speed),
                       static_cast<std::uint8_t>(choice.times), std::nullopt};
}

ButtonAction ActionOfChoice(const SingleChoice& choice) {
  const std::uint8_t key = KeyCodeFromName(choice.keyName);
  return SingleKeyAction{key, key == 0 ? choice.keyName : std::string()};
}

ButtonAction ActionOfChoice(const ComboChoice& choice) {
  return ComboKeyAction{ModifierBitFromName(choice.modifier), KeyCodeFromName(choice.key1),
                        KeyCodeFromName(choice.key2)};
}

ButtonAction ActionOfChoice(const MacroChoice& choice) {
  // The dialog offers repeat modes 1..3; anything else plays the loop count.
  const bool known = choice.repeatMode >= 1 && choice.repeatMode <= kRepeatModeCount;
  return MacroKeyAction{static_cast<std::uint8_t>(choice.slot),
                        static_cast<MacroRepeat>(known ? choice.repeatMode - 1 : 0)};
}

std::string ButtonLabel(const ButtonAction& action, const LocalizedTexts& texts,
                        const std::vector<std::string>& macroNames) {
  const Language language = texts.language();
  return std::visit(
      Overloaded{
          [&](const PlainFunction& plain) { return FunctionName(texts, plain.function); },
          [&](const DpiSwitchAction& dpi) {
            const auto index = static_cast<std::size_t>(dpi.action) - 1;
            return index < kDpiSwitchTexts.size() ? std::string(kDpiSwitchTexts[index])
                                                  : FunctionName(texts, kDpiSwitch);
          },
          [&](const WindowsAction& windows) {
            const std::string_view item = ItemIn(kWindowsItems, windows.item, language);
            return item.empty() ? FunctionName(texts, kWindowsFunction) : std::string(item);
          },
          [&](const MultimediaAction& media) {
            return LabelledItem(texts, kMultimedia, ItemIn(kMediaItems, media.item, language));
          },
          [&](const FireKeyAction& fire) {
            return LabelledItem(texts, kFireKey, FireKeyText(fire.item));
          },
          [&](const SingleKeyAction& single) {
            return Labelled(texts, kSingleKey,
                            single.key != 0 ? KeyNameFromCode(single.key)
                                            : std::string_view(single.unlistedName));
          },
          [&](const ComboKeyAction& combo) { return ComboLabel(texts, combo); },
          [&](const MacroKeyAction& macro) {
            return LabelledItem(texts, kMacroKey,
                                macro.slot < macroNames.size()
                                    ? std::string_view(macroNames[macro.slot])
                                    : std::string_view{});
          },
      },
      action);
}

const std::array<ButtonAction, kDefaultPaneCount>& DefaultButtonActions() {
  static const std::array<ButtonAction, kDefaultPaneCount> kDefaults = {
      PlainFunction{kLeftClick},         PlainFunction{kRightClick},
      PlainFunction{kMidClick},          PlainFunction{kForward},
      PlainFunction{kBackward},          DpiSwitchAction{DpiAction::kUp},
      DpiSwitchAction{DpiAction::kDown}, PlainFunction{kTripleClick},
      PlainFunction{kKeyOff},
  };
  return kDefaults;
}

void SetDefaultPaneTexts(PaneTexts& panes, const LocalizedTexts& texts, int buttons) {
  buttons = std::min(buttons, kDefaultPaneCount);
  for (auto& mode : panes) {
    for (int b = 0; b < buttons; ++b) {
      mode[static_cast<std::size_t>(b)] =
          ButtonLabel(DefaultButtonActions()[static_cast<std::size_t>(b)], texts);
    }
  }
}

}  // namespace vortal
