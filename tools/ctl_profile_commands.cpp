// The profiles of programs in the Profiles folder: profile list, profile use,
// profile for.
#include <ostream>

#include "edit/apply_shortfall.h"
#include "edit/profile.h"
#include "macro/macro_store.h"
#include "tools/ctl_commands.h"

namespace vortal {
namespace {

// The folder's profiles, each read onto config.bin's setup.
std::vector<ProfileListing> Profiles(CtlSession& s, const WorkingSetup& base,
                                     std::optional<std::uint8_t> sensorType) {
  return ListProfiles(s.options().paths.profilesDir, base, s.texts(), sensorType,
                      ListMacroNames(s.options().paths.macroStore));
}

const ProfileListing* Named(const std::vector<ProfileListing>& profiles, const std::string& name) {
  for (const ProfileListing& profile : profiles)
    if (LowerAscii(profile.name) == LowerAscii(name)) return &profile;
  return nullptr;
}

std::string ProgramList(const std::vector<std::string>& programs) {
  std::string text;
  for (const std::string& program : programs) text += (text.empty() ? "" : ", ") + program;
  return text.empty() ? "(no programs)" : text;
}

int List(CtlSession& s) {
  SettingsState state;
  WorkingSetup base;
  if (!s.LoadSetup(state, base)) return kExitFileProblem;
  const std::vector<ProfileListing> profiles = Profiles(s, base, s.options().sensorType);
  if (profiles.empty()) s.out() << "No profiles in " << s.options().paths.profilesDir << ".\n";
  for (const ProfileListing& profile : profiles)
    s.out() << profile.name << ": "
            << (profile.damage.empty() ? ProgramList(profile.programs) : "damaged: " + profile.damage)
            << "\n";
  return kExitOk;
}

int For(CtlSession& s, const std::string& executable) {
  SettingsState state;
  WorkingSetup base;
  if (!s.LoadSetup(state, base)) return kExitFileProblem;
  const std::vector<ProfileListing> profiles = Profiles(s, base, s.options().sensorType);
  const ProfileListing* profile = ProfileFor(profiles, executable);
  s.out() << executable << ": " << (profile ? profile->name : "the default setup (config.bin)") << "\n";
  return kExitOk;
}

// Differences only: what this process sent before is all the link knows of
// the mouse, so the first switch of a run is the whole Apply.
int Use(CtlSession& s, const std::string* name) {
  SettingsState state;
  WorkingSetup base;
  if (!s.LoadSetup(state, base)) return kExitFileProblem;
  MouseLink link(s.context().pauser);
  if (!s.GreetMouse(link, "switched")) return kExitNoMouse;
  SettingsRecord record = base.record;
  std::string switched = "the default setup (config.bin)";
  if (name) {
    const std::vector<ProfileListing> profiles =
        Profiles(s, base, s.options().sensorType.value_or(link.sensorType()));
    const ProfileListing* listing = Named(profiles, *name);
    if (!listing) {
      std::vector<std::string> names;
      for (const ProfileListing& profile : profiles) names.push_back(profile.name);
      return s.Usage("there is no profile \"" + *name + "\" in " + s.options().paths.profilesDir +
                     "; vortalctl profile list lists them." + DidYouMean(*name, names));
    }
    std::string problem;
    std::optional<Profile> profile =
        ReadProfile(listing->path, base, s.texts(), s.options().sensorType.value_or(link.sensorType()),
                    ListMacroNames(s.options().paths.macroStore), problem);
    if (!profile) return s.Usage(problem);
    record = profile->setup.record;
    if (profile->namesMacros) EncodeProfileMacros(profile->macros, record);
    switched = listing->name;
  }
  const ApplyReport report = link.Switch(record);
  if (!report.Applied()) {
    s.err() << "vortalctl: the mouse did not take all of " << switched << ": "
            << DescribeShortfall(report, LocalizedTexts(Language::kEnglish))
            << "; run the command again once the mouse is plugged in.\n";
    return kExitNoMouse;
  }
  s.out() << "Switched the mouse to " << switched << " (" << report.commands.size()
          << " commands sent).\n";
  return kExitOk;
}

int ProfileCommand(CtlSession& s) {
  const std::vector<std::string>& operands = s.options().operands;
  const std::string what = operands.empty() ? std::string() : operands.front();
  const std::size_t given = operands.size();
  if (s.options().useDefault && (what != "use" || given != 1))
    return s.Usage("--default belongs to profile use, in place of a profile's name");
  if (what == "list" && given == 1) return List(s);
  if (what == "for" && given == 2) return For(s, operands[1]);
  if (what == "use" && given == 1 && s.options().useDefault) return Use(s, nullptr);
  if (what == "use" && given == 2) return Use(s, &operands[1]);
  if (what == "use") return s.Usage("profile use needs one profile's name, or --default");
  if (what == "for") return s.Usage("profile for needs one executable's name: profile for EXE");
  if (what == "list") return s.Usage("profile list takes nothing more");
  return s.Usage("profile needs list, use or for, not \"" + what + "\"." +
                 DidYouMean(what, {"list", "use", "for"}));
}

}  // namespace

std::vector<CtlCommand> ProfileCommands() {
  return {
      {"profile",
       {{"profile list", "list the profiles of the Profiles folder with their\nprograms, or why one "
                         "cannot be read"},
        {"profile use NAME", "switch the mouse to a profile, sending only what differs\nfrom what "
                             "this run sent it before (so, from the command\nline, all of it); no "
                             "file is written"},
        {"profile use --default", "switch the mouse back to config.bin's setup"},
        {"profile for EXE", "print the profile a program gets (no mouse needed)"}},
       true, false, false, ProfileCommand},
  };
}

}  // namespace vortal
