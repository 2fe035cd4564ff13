#include "macro/macro_changes.h"

#include <algorithm>
#include <cstdint>

#include "macro/macro_store.h"
#include "setup/button_action.h"

namespace vortal {
namespace {

void Follow(MacroChange& change, const std::string& recordPath, SettingsRecord& record,
            const std::vector<std::string>& before) {
  change.keyOff = FollowMacroSlots(record, before, change.order);
  change.encoded = EncodeMacros(recordPath, record);
}

}  // namespace

MacroChange StoreMacro(const std::string& recordPath, SettingsRecord& record,
                       const std::vector<std::string>& listed, const std::string& name,
                       const std::vector<std::string>& lines) {
  MacroChange change;
  // Told before anything is stored: the mouse would play only part of it.
  std::uint8_t scratch[kMacroSlotSize] = {};
  if (!EncodeMacroSlot(lines, scratch)) {
    change.problem = MacroChangeProblem::kTooLongForMouse;
    return change;
  }
  if (!WriteMacro(recordPath, name, lines)) {
    change.problem = MacroChangeProblem::kNotSaved;
    return change;
  }
  // Writing the macro moved it to the end of the file, and with it to
  // another slot; names not stored yet stay behind the stored ones.
  change.order = ListMacroNames(recordPath);
  for (const std::string& other : listed) {
    if (std::find(change.order.begin(), change.order.end(), other) == change.order.end())
      change.order.push_back(other);
  }
  Follow(change, recordPath, record, listed);
  return change;
}

MacroChange RemoveMacro(const std::string& recordPath, SettingsRecord& record,
                        const std::vector<std::string>& listed, const std::string& name) {
  MacroChange change;
  if (!DeleteMacro(recordPath, name)) {
    change.problem = MacroChangeProblem::kNotDeleted;
    return change;
  }
  change.order = listed;
  change.order.erase(std::remove(change.order.begin(), change.order.end(), name),
                     change.order.end());
  Follow(change, recordPath, record, listed);
  return change;
}

void ShowKeyOffLabels(PaneTexts& panes, const std::vector<RecordButton>& buttons,
                      const LocalizedTexts& texts) {
  const std::string label = ButtonLabel(PlainFunction{kKeyOff}, texts);
  for (const RecordButton& off : buttons) {
    if (off.mode < 0 || off.mode > 1 || off.button < 0 || off.button >= kPaneButtonCount) continue;
    panes[static_cast<std::size_t>(off.mode)][static_cast<std::size_t>(off.button)] = label;
  }
}

}  // namespace vortal
