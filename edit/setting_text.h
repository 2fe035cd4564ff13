// Every setting the window edits as a name and a value in words, the grammar
// of `vortalctl get`/`set` and of the profile files:
//
//   mode-a.button4   Fire Key key=A speed=30 times=5
//   rate             1000
//   dpi.2            on 1600          (or: off, level=3)
//   lighting         Standard Mode brightness=55% speed=6S time=2.5S
//   loop-color.3     on #FF8000       (or a colour name)
//   dpi-led.1        1,3              (the squares lit; none)
//   pointer.speed    6
//
// A value is a list of words: a name first (a function, a mode, on/off ...),
// then parameters as name=value; a word without '=' after a parameter goes
// on with that parameter's value, so "modifier=Left Ctrl" needs no quotes.
// Names of functions, keys and list items are those of the window's own
// lists, in English, in any letter case. A change goes through the same rules
// as the window's pages (assign/, edit/record_rules.h) and gives the same
// pane texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/setup_editor.h"
#include "settings/settings_record.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

namespace vortal {

struct SettingContext {
  LocalizedTexts texts;                    // the pane texts' language
  std::optional<std::uint8_t> sensorType;  // DPI stages in DPI through its table; else levels
  std::vector<std::string> macroNames;     // the macros by slot
  // A whole setup is being restored (a profile): the colour of a loop colour
  // may be set while loop colour 1 is off, as a stored setup may hold it.
  bool wholeSetup = false;
};

// Every name, in the order `get` prints them.
std::vector<std::string> SettingNames();
// The names a query stands for: one name, or every name of a group ("dpi",
// "mode-a", "pointer" ...); empty query: all. Empty when nothing matches.
std::vector<std::string> SettingNamesMatching(std::string_view query);

// The value of a setting as `set` reads it back.
std::string SettingValue(const SettingsRecord& record, std::string_view name,
                         const SettingContext& context);

// Changes one setting; on bad input the setup is left as it was and the
// message says what was wrong and what is accepted (empty: changed).
std::string ChangeSetting(WorkingSetup& setup, std::string_view name,
                          const std::vector<std::string>& words, const SettingContext& context);

// A text in ASCII lower case (the grammar's names are ASCII), and a whole
// decimal number with nothing around it.
std::string LowerAscii(std::string_view text);
std::optional<int> WholeNumber(std::string_view text);

// The name among `names` that `given` most likely misspells (any letter
// case): the only one it begins, or one a typing slip or two away. Nothing
// when none is that near.
std::optional<std::string> NearestName(std::string_view given, const std::vector<std::string>& names);
// " Did you mean \"NAME\"?" for the nearest name, else empty.
std::string DidYouMean(std::string_view given, const std::vector<std::string>& names);
// Names that end in a number, in runs: "dpi.1 to dpi.4, rate, ...".
std::string NameRuns(const std::vector<std::string>& names);

// Words of a text, split at blanks.
std::vector<std::string> SplitWords(std::string_view text);

// Macro event lines (record.ini's "A   Dn", "50 ms" ...) as one line of text,
// "A Dn, 50 ms, A Up", and back. Reading checks every key name and delay.
std::string DescribeMacroLines(const std::vector<std::string>& lines);
std::optional<std::vector<std::string>> ParseMacroEvents(std::string_view text,
                                                         std::string& error);

// The items of a list the grammar names, for `vortalctl names LIST`; nothing
// for an unknown list. ListNames() names the lists.
std::optional<std::vector<std::string>> NamesOfList(std::string_view list);
std::vector<std::string> ListNames();

// The names of the colours a loop colour may be given by name.
std::vector<std::string> ColorNames();

}  // namespace vortal
