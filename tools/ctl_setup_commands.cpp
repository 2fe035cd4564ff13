// The commands that read and change the setup: get, set, names, export, import.
#include <algorithm>
#include <ostream>

#include "edit/profile.h"
#include "files/file_io.h"
#include "macro/macro_store.h"
#include "tools/ctl_commands.h"

namespace vortal {
namespace {

int Get(CtlSession& s) {
  SettingsState state;
  WorkingSetup setup;
  if (!s.LoadSetup(state, setup)) return kExitFileProblem;
  std::vector<std::string> names;
  for (const std::string& query : s.options().operands) {
    const std::vector<std::string> matching = SettingNamesMatching(query);
    if (matching.empty())
      return s.Usage("\"" + query + "\" is no setting or group of settings; vortalctl get lists "
                     "them all." + DidYouMean(query, SettingNames()));
    names.insert(names.end(), matching.begin(), matching.end());
  }
  if (s.options().operands.empty()) names = SettingNames();
  const bool dpi = std::any_of(names.begin(), names.end(),
                               [](const std::string& name) { return name.rfind("dpi.", 0) == 0; });
  const SettingContext context = s.Context(dpi ? s.SensorType() : std::nullopt);
  for (const std::string& name : names)
    s.out() << name << " = " << SettingValue(setup.record, name, context) << "\n";
  return kExitOk;
}

int Set(CtlSession& s) {
  const std::vector<std::string>& operands = s.options().operands;
  if (operands.size() < 2) return s.Usage("set needs a setting and its value: set NAME VALUE...");
  SettingsState state;
  WorkingSetup setup;
  if (!s.LoadSetup(state, setup)) return kExitFileProblem;
  const std::string& name = operands.front();
  const std::vector<std::string> words(operands.begin() + 1, operands.end());
  // The mouse is asked for its sensor only when a DPI is given.
  const bool needsSensor = LowerAscii(name).rfind("dpi.", 0) == 0 &&
                           std::any_of(words.begin(), words.end(), [](const std::string& w) {
                             const std::string lower = LowerAscii(w);
                             return lower.rfind("level=", 0) != 0 && lower != "on" && lower != "off";
                           });
  const SettingContext context = s.Context(needsSensor ? s.SensorType() : s.options().sensorType);
  const std::string problem = ChangeSetting(setup, name, words, context);
  if (!problem.empty()) return s.Usage(problem);
  const int saved = s.SaveSetup(state, setup);
  if (saved == kExitOk) s.out() << name << " = " << SettingValue(setup.record, name, context) << "\n";
  return saved;
}

int Names(CtlSession& s) {
  const std::vector<std::string>& operands = s.options().operands;
  if (operands.size() > 1) return s.Usage("names takes one list at a time");
  if (operands.empty()) {
    for (const std::string& list : ListNames()) s.out() << list << "\n";
    return kExitOk;
  }
  const auto names = NamesOfList(operands.front());
  if (!names) {
    std::string lists;
    for (const std::string& list : ListNames()) lists += (lists.empty() ? "" : ", ") + list;
    return s.Usage("\"" + operands.front() + "\" is no list; the lists are " + lists + "." +
                   DidYouMean(operands.front(), ListNames()));
  }
  for (const std::string& name : *names) s.out() << name << "\n";
  return kExitOk;
}

int Export(CtlSession& s) {
  const std::vector<std::string>& operands = s.options().operands;
  if (operands.size() != 1) return s.Usage("export needs the profile file to write: export FILE");
  SettingsState state;
  Profile profile;
  if (!s.LoadSetup(state, profile.setup)) return kExitFileProblem;
  profile.macros = MacrosOfSetup(s.options().paths.macroStore, state.working);
  if (!WriteProfile(operands.front(), profile, s.texts())) {
    s.err() << "vortalctl: " << operands.front() << " could not be written.\n";
    return kExitFileProblem;
  }
  s.out() << "Exported the setup to " << operands.front() << ".\n";
  return kExitOk;
}

int Import(CtlSession& s) {
  const std::vector<std::string>& operands = s.options().operands;
  if (operands.size() != 1) return s.Usage("import needs the profile file to read: import FILE");
  const std::string& path = operands.front();
  if (!PathExists(path)) {
    s.err() << "vortalctl: " << path << " does not exist.\n";
    return kExitFileProblem;
  }
  const std::string& macroStore = s.options().paths.macroStore;
  SettingsState state;
  WorkingSetup base;
  if (!s.LoadSetup(state, base)) return kExitFileProblem;
  std::string problem;
  std::optional<Profile> profile =
      ReadProfile(path, base, s.texts(), s.SensorType(), ListMacroNames(macroStore), problem);
  if (!profile) return s.Usage(problem);
  if (profile->namesMacros && !StoreProfileMacros(macroStore, profile->macros, profile->setup.record)) {
    s.err() << "vortalctl: " << macroStore << " could not be written; nothing changed.\n";
    return kExitFileProblem;
  }
  const int saved = s.SaveSetup(state, profile->setup);
  if (saved == kExitOk || (s.options().apply && saved == kExitNoMouse))
    s.out() << "Imported " << path << ".\n";
  return saved;
}

}  // namespace

std::vector<CtlCommand> SetupCommands() {
  return {
      {"get",
       {{"get [NAME...]", "print settings as NAME = VALUE (all, one, or a group\nsuch as dpi, "
                          "mode-a, pointer)"}},
       true, false, false, Get},
      {"set",
       {{"set NAME VALUE...", "change one setting; VALUE is written as get prints it"}},
       true, true, false, Set},
      {"names",
       {{"names [LIST]", "print the names a value may use (functions, keys ...)"}},
       true, false, false, Names},
      {"export",
       {{"export FILE", "write the whole setup into a profile file"}},
       true, false, false, Export},
      {"import",
       {{"import FILE", "read a profile file back (checked before anything\nchanges; what it does "
                        "not name stays)"}},
       true, true, false, Import},
  };
}

}  // namespace vortal
