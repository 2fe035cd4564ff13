// The two changes of record.ini that move macros between the mouse's slots,
// storing one macro and deleting one, with everything that follows from them
// in the settings record: the buttons and loop counts follow their macros and
// every slot is encoded again. The macro editor and the command line both
// change the macros through these.
#pragma once

#include <string>
#include <vector>

#include "macro/macro_encoder.h"
#include "settings/settings_record.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

namespace vortal {

enum class MacroChangeProblem { kNone, kTooLongForMouse, kNotSaved, kNotDeleted };

struct MacroChange {
  MacroChangeProblem problem = MacroChangeProblem::kNone;  // anything else: nothing changed
  std::vector<std::string> order;    // the macro names afterwards, slot order
  std::vector<RecordButton> keyOff;  // Macro Key buttons that became Key Off
  MacroEncodeResult encoded;
};

// Stores macro `name` with `lines` (it moves to the end of the file). A macro
// that would not fit into its slot is refused before anything is stored.
// `listed` holds the names by slot as the record refers to them now: the
// stored macros in file order, then names not stored yet (they stay behind
// the stored ones).
MacroChange StoreMacro(const std::string& recordPath, SettingsRecord& record,
                       const std::vector<std::string>& listed, const std::string& name,
                       const std::vector<std::string>& lines);

// Deletes macro `name` from the file at once; the macros behind it move up
// a slot. `listed` as for StoreMacro.
MacroChange RemoveMacro(const std::string& recordPath, SettingsRecord& record,
                        const std::vector<std::string>& listed, const std::string& name);

// Gives the panes of the buttons that became Key Off the Key Off text.
void ShowKeyOffLabels(PaneTexts& panes, const std::vector<RecordButton>& buttons,
                      const LocalizedTexts& texts);

}  // namespace vortal
