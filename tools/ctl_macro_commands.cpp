// The macro commands: macro list/show/set/loop/delete and encode-macros.
#include <ostream>

#include "edit/profile.h"
#include "files/file_io.h"
#include "files/text_encoding.h"
#include "macro/macro_changes.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "settings/settings_file.h"
#include "tools/ctl_commands.h"

namespace vortal {
namespace {

std::string NoMacro(const std::string& name, const std::vector<std::string>& names) {
  std::string known;
  for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
  return "there is no macro \"" + name + "\"" +
         (names.empty() ? std::string(": there are no macros yet.")
                        : "; the macros are " + known + "." + DidYouMean(name, names));
}

// Runs a change of record.ini on the loaded setup and saves what followed.
template <typename Change>
int ChangeMacros(CtlSession& s, Change change, const std::string& done) {
  SettingsState state;
  WorkingSetup setup;
  if (!s.LoadSetup(state, setup)) return kExitFileProblem;
  const MacroChange changed = change(setup.record);
  switch (changed.problem) {
    case MacroChangeProblem::kNone: break;
    case MacroChangeProblem::kTooLongForMouse:
      return s.Usage(std::string(s.texts()[TextId::kMacroTooLongForMouse]));
    case MacroChangeProblem::kNotSaved:
    case MacroChangeProblem::kNotDeleted:
      s.err() << "vortalctl: " << s.options().paths.macroStore
              << " could not be written; nothing changed.\n";
      return kExitFileProblem;
  }
  ShowKeyOffLabels(setup.panes, changed.keyOff, s.texts());
  for (const RecordButton& off : changed.keyOff) {
    s.out() << (off.mode == 0 ? "mode-a" : "mode-b") << ".button" << off.button + 1
            << " = Key Off (its macro is gone)\n";
  }
  for (const std::string& name : changed.encoded.droppedMacros)
    s.err() << "vortalctl: macro \"" << name << "\" is beyond the mouse's twelve slots.\n";
  const int saved = s.SaveSetup(state, setup);
  if (saved == kExitOk) s.out() << done << ".\n";
  return saved;
}

int List(CtlSession& s) {
  SettingsState state;
  if (!s.LoadSettingsFile(state)) return kExitFileProblem;
  for (const ProfileMacro& macro : MacrosOfSetup(s.options().paths.macroStore, state.working))
    s.out() << macro.name << " (" << macro.loopCount << (macro.loopCount == 1 ? " time" : " times")
            << ")\n";
  return kExitOk;
}

int ShowOrDelete(CtlSession& s, const std::string& verb, const std::string& given,
                 const std::vector<std::string>& names) {
  const std::string& store = s.options().paths.macroStore;
  const auto index = FindMacroName(names, given);
  if (!index) return s.Usage(NoMacro(given, names));
  const std::string& name = names[*index];
  if (verb == "show") {
    s.out() << DescribeMacroLines(ReadMacro(store, name)) << "\n";
    return kExitOk;
  }
  return ChangeMacros(
      s, [&](SettingsRecord& record) { return RemoveMacro(store, record, names, name); },
      "Deleted macro \"" + name + "\"");
}

int Loop(CtlSession& s, const std::string& given, const std::string& times,
         const std::vector<std::string>& names) {
  const auto index = FindMacroName(names, given);
  if (!index) return s.Usage(NoMacro(given, names));
  const int count = WholeNumber(times).value_or(0);
  if (count < 1 || count > kMaxLoopCount)
    return s.Usage("macro loop: \"" + times + "\" is not a whole number from 1 to " +
                   std::to_string(kMaxLoopCount) + ".");
  if (*index >= static_cast<std::size_t>(kMacroSlots))
    return s.Usage("macro \"" + names[*index] + "\" is beyond the mouse's twelve slots.");
  SettingsState state;
  WorkingSetup setup;
  if (!s.LoadSetup(state, setup)) return kExitFileProblem;
  SetSlotLoopCount(setup.record, static_cast<int>(*index), count);
  const int saved = s.SaveSetup(state, setup);
  if (saved == kExitOk)
    s.out() << "Macro \"" << names[*index] << "\" plays " << count
            << (count == 1 ? " time.\n" : " times.\n");
  return saved;
}

int Store(CtlSession& s, const std::vector<std::string>& a, const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 2; i < a.size(); ++i) text += (i > 2 ? " " : "") + a[i];
  std::string problem;
  const auto lines = ParseMacroEvents(text, problem);
  if (!lines) return s.Usage("macro set: " + problem);
  std::vector<std::string> listed = names;
  std::string name = a[1];
  if (const auto index = FindMacroName(names, a[1])) {
    name = names[*index];
  } else {
    // A new macro: the rules of the editor's "New".
    MacroEditorState state;
    state.names = names;
    state.nameField = name;
    const LocalizedTexts& texts = s.texts();
    switch (NewMacro(state)) {
      case NewMacroResult::kAdded: break;
      case NewMacroResult::kNameBlank: return s.Usage(std::string(texts[TextId::kMacroNameBlank]));
      case NewMacroResult::kNameTooLong:
        return s.Usage(std::string(texts[TextId::kMacroNameTooLong]));
      case NewMacroResult::kNameInvalid:
        return s.Usage(std::string(texts[TextId::kMacroNameInvalid]));
      case NewMacroResult::kTooMany: return s.Usage(kMacroLimitMessage);
      case NewMacroResult::kNameExists:
        return s.Usage(std::string(texts[TextId::kMacroNameExists]));
    }
    name = state.names.back();
    listed = state.names;
  }
  const std::string& store = s.options().paths.macroStore;
  return ChangeMacros(
      s,
      [&](SettingsRecord& record) {
        // A new name takes its slot (loop count 1) before it is stored, as
        // after the editor's "New".
        const std::vector<RecordButton> off = FollowMacroSlots(record, names, listed);
        MacroChange change = StoreMacro(store, record, listed, name, *lines);
        change.keyOff.insert(change.keyOff.begin(), off.begin(), off.end());
        return change;
      },
      "Stored macro \"" + name + "\"");
}

int Macro(CtlSession& s) {
  const std::vector<std::string>& a = s.options().operands;
  const std::string verb = a.empty() ? std::string() : LowerAscii(a[0]);
  const std::vector<std::string> names = ListMacroNames(s.options().paths.macroStore);
  if (verb == "list" && a.size() == 1) return List(s);
  if ((verb == "show" || verb == "delete") && a.size() == 2) return ShowOrDelete(s, verb, a[1], names);
  if (verb == "loop" && a.size() == 3) return Loop(s, a[1], a[2], names);
  if (verb == "set" && a.size() >= 3) return Store(s, a, names);
  const std::vector<std::string> verbs = {"list", "show", "set", "loop", "delete"};
  return s.Usage("macro takes list, show NAME, set NAME EVENTS, loop NAME N or delete NAME." +
                 (a.empty() ? std::string() : DidYouMean(a[0], verbs)));
}

// As the macro editor's Confirm does after writing a macro: every macro of
// record.ini into the slots, in file order; then config.bin is saved.
int EncodeMacroSlots(CtlSession& s) {
  SettingsState state;
  if (!s.LoadSettingsFile(state)) return kExitFileProblem;
  const ProgramPaths& paths = s.options().paths;
  if (!PathExists(paths.macroStore)) {
    s.err() << "vortalctl: " << paths.macroStore << " does not exist: there are no macros to "
            << "encode. Record them in the window's macro editor first.\n";
    return kExitFileProblem;
  }
  MacroEncodeResult result = EncodeMacros(paths.macroStore, state.working);
  for (const std::string& name : result.cutMacros)
    s.err() << "vortalctl: macro \"" << name << "\" does not fit in its slot; its last events "
            << "were left out.\n";
  for (const std::string& name : result.droppedMacros)
    s.err() << "vortalctl: macro \"" << name << "\" is beyond the mouse's twelve slots and was "
            << "not encoded.\n";
  if (const SaveResult saved = SaveSettings(paths.settingsFile, state); !saved.saved()) {
    s.err() << "vortalctl: " << paths.settingsFile << " could not be saved" << SaveFailure(saved) << ".\n";
    return kExitFileProblem;
  }
  s.out() << "Encoded " << result.slotsWritten << (result.slotsWritten == 1 ? " macro" : " macros")
          << " into " << paths.settingsFile << "; the next apply sends them to the mouse.\n";
  return kExitOk;
}

}  // namespace

std::vector<CtlCommand> MacroCommands() {
  return {
      {"macro",
       {{"macro list", "print the macros with their loop counts"},
        {"macro show NAME", "print a macro's events"},
        {"macro set NAME EVENTS", "add or replace a macro: \"A Dn, 50 ms, A Up\""},
        {"macro loop NAME N", "play the macro N times (1 to 65535)"},
        {"macro delete NAME", "delete a macro; its buttons become Key Off"}},
       true, true, false, Macro},
      {"encode-macros",
       {{"encode-macros", "encode the macros of record.ini into config.bin's\nmacro slots (sent to "
                          "the mouse by the next apply)"}},
       false, false, false, EncodeMacroSlots},
  };
}

}  // namespace vortal
