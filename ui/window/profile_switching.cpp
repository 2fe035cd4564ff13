#include "ui/window/profile_switching.h"

#include <algorithm>
#include <array>

#include "edit/apply_shortfall.h"
#include "files/file_io.h"
#include "files/profile_file.h"
#include "ui/dialogs/save_profile_dialog.h"
#include "ui/window/startup.h"
#include "macro/macro_store.h"
#include "ui/window/main_window_model.h"

namespace vortal {
namespace {

constexpr std::string_view kChoicesSection = "Switching";

std::string FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

SwitchingChoices LoadSwitchingChoices(const std::string& path) {
  const ProfileFile file(path);
  SwitchingChoices choices;
  auto flag = [&](std::string_view key, bool fallback) {
    const std::optional<std::string> value = file.Find(kChoicesSection, key);
    return value ? *value == "1" : fallback;
  };
  choices.automatic = flag("Automatic", choices.automatic);
  choices.balloons = flag("Balloons", choices.balloons);
  return choices;
}

bool SaveSwitchingChoices(const std::string& path, const SwitchingChoices& choices) {
  ProfileFile file(path);
  return file.ReplaceSection(kChoicesSection, {{"Automatic", choices.automatic ? "1" : "0"},
                                               {"Balloons", choices.balloons ? "1" : "0"}}) &&
         file.Save();
}

bool LeavesMouseAsItIs(const ForegroundWindow& window) {
  if (window.ownProcess || window.executable.empty()) return true;
  // The shell's own surfaces, by window class: taskbars, the desktop, the
  // task switchers, the notification area's overflow.
  static constexpr std::array<std::string_view, 10> kShellClasses = {
      "Shell_TrayWnd",         "Shell_SecondaryTrayWnd", "Progman",
      "WorkerW",               "MultitaskingViewFrame",  "TaskSwitcherWnd",
      "XamlExplorerHostIslandWindow", "ForegroundStaging", "NotifyIconOverflowWindow",
      "TopLevelWindowForOverflowXamlIsland"};
  for (std::string_view shellClass : kShellClasses)
    if (window.windowClass == shellClass) return true;
  // Start, search and the shell's pop-ups run in programs of their own.
  static constexpr std::array<std::string_view, 6> kShellPrograms = {
      "startmenuexperiencehost.exe", "searchhost.exe", "searchapp.exe",
      "shellexperiencehost.exe",     "searchui.exe",   "lockapp.exe"};
  const std::string program = LowerAscii(FileNameOf(window.executable));
  return std::find(kShellPrograms.begin(), kShellPrograms.end(), program) != kShellPrograms.end();
}

ProfileSwitching::ProfileSwitching(MainWindowModel& model)
    : model_(model),
      profilesDir_(model.files().programDir + "Profiles"),
      choicesFile_(model.files().programDir + std::string(kSwitchingFileName)) {}

void ProfileSwitching::Start() {
  choices_ = LoadSwitchingChoices(choicesFile_);
  if (!choices_.automatic) return;
  model_.services().WatchForeground(true);
  OnMouseBack();
}

std::vector<ProfileListing> ProfileSwitching::ReadProfiles() const {
  const MouseLink& link = model_.link();
  const WorkingSetup base{model_.settings().applied, model_.skin.paneText};
  std::optional<std::uint8_t> sensor;
  if (link.sensorKnown()) sensor = link.sensorType();
  std::vector<ProfileListing> profiles = ListProfiles(profilesDir_, base, model_.texts, sensor,
                                                      ListMacroNames(model_.files().macroStore));
  if (profiles.size() > kTrayMaxProfiles) profiles.resize(kTrayMaxProfiles);
  return profiles;
}

TrayMenuItem ProfileSwitching::Submenu() {
  const LocalizedTexts& texts = model_.texts;
  TrayMenuItem menu{0, std::string(texts[TextId::kProfilesMenu])};
  menu.submenu.push_back({kTrayDefaultSetupCommand, std::string(texts[TextId::kDefaultSetup]),
                          held_.empty()});
  const std::vector<ProfileListing> profiles = ReadProfiles();
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    menu.submenu.push_back({kTrayFirstProfileCommand + static_cast<int>(i), profiles[i].name,
                            !held_.empty() && LowerAscii(profiles[i].name) == LowerAscii(held_)});
  }
  menu.submenu.push_back({kTraySwitchAutomaticallyCommand,
                          std::string(texts[TextId::kSwitchAutomatically]), choices_.automatic});
  menu.submenu.push_back({kTraySwitchBalloonsCommand, std::string(texts[TextId::kBalloonOnSwitch]),
                          choices_.balloons});
  return menu;
}

bool ProfileSwitching::OnMenuCommand(int command) {
  if (command == kTrayDefaultSetupCommand) {
    SwitchTo(nullptr, true);
    return true;
  }
  if (command == kTraySwitchAutomaticallyCommand) {
    choices_.automatic = !choices_.automatic;
    SaveChoices();
    model_.services().WatchForeground(choices_.automatic);
    pending_.reset();
    if (choices_.automatic) OnMouseBack();
    return true;
  }
  if (command == kTraySaveAsProfileCommand) {
    SaveAsProfile();
    return true;
  }
  if (command == kTraySwitchBalloonsCommand) {
    choices_.balloons = !choices_.balloons;
    SaveChoices();
    return true;
  }
  if (command < kTrayFirstProfileCommand || command >= kTrayFirstProfileCommand + kTrayMaxProfiles)
    return false;
  // The folder is read again: the menu's list may have changed since.
  const std::vector<ProfileListing> profiles = ReadProfiles();
  const std::size_t index = static_cast<std::size_t>(command - kTrayFirstProfileCommand);
  if (index < profiles.size()) SwitchTo(&profiles[index], true);
  return true;
}

void ProfileSwitching::SaveAsProfile() {
  // A skin made before the dialog existed lends it the delivered skin's picture.
  std::string skinFolder = model_.skin.skinFolderPath;
  if (!PathExists(SkinImagePath(skinFolder, kSaveProfileImage)))
    skinFolder = SkinFolderAtStartup(model_.files().programDir, kFallbackSkinName);
  CSaveProfileDialog dialog({skinFolder, model_.textColor(), model_.texts.language()});
  if (model_.services().RunSubDialog(dialog) != DialogResult::kOk) return;
  const SettingsRecord& record = model_.settings().working;
  Profile profile{{record, model_.skin.paneText}, MacrosOfSetup(model_.files().macroStore, record)};
  profile.programs = dialog.programs();
  const std::string path = JoinPath(profilesDir_, dialog.name() + ".ini");
  if (!MakeFolder(profilesDir_) || !WriteProfile(path, profile, model_.texts))
    model_.services().Show(FormatText(model_.texts[TextId::kProfileNotSaved], path), kAppCaption);
}

void ProfileSwitching::SaveChoices() {
  if (!SaveSwitchingChoices(choicesFile_, choices_))
    model_.services().Show(FormatText(model_.texts[TextId::kSwitchingNotSaved], choicesFile_),
                           kAppCaption);
}

bool ProfileSwitching::OnForegroundChange(const ForegroundWindow& window) {
  if (!choices_.automatic || LeavesMouseAsItIs(window)) return false;
  pending_ = window.executable;
  model_.services().StartSettleTimer(kForegroundSettleMs);
  return true;
}

void ProfileSwitching::OnSettled() {
  if (!pending_ || !choices_.automatic) return;
  const std::string executable = *pending_;
  pending_.reset();
  Follow(executable);
}

void ProfileSwitching::OnMouseBack() {
  if (!choices_.automatic) return;
  const std::optional<ForegroundWindow> front = model_.services().ForegroundNow();
  // Nothing of the user's in front (the desktop, the program itself): the
  // default setup.
  Follow(front && !LeavesMouseAsItIs(*front) ? front->executable : std::string());
}

void ProfileSwitching::Follow(const std::string& executable) {
  const std::vector<ProfileListing> profiles = ReadProfiles();
  const ProfileListing* chosen = nullptr;
  // A damaged profile that names the program is not passed over for the
  // default setup: the switch stops at it, and says why.
  const std::string program = LowerAscii(FileNameOf(executable));
  for (const ProfileListing& profile : profiles) {
    for (const std::string& name : profile.programs)
      if (!chosen && !program.empty() && LowerAscii(name) == program) chosen = &profile;
  }
  SwitchTo(chosen, false);
}

void ProfileSwitching::SwitchTo(const ProfileListing* profile, bool byHand) {
  MainWindowServices& services = model_.services();
  const LocalizedTexts& texts = model_.texts;
  MouseLink& link = model_.link();
  // Without the mouse, or before config.bin was read, there is nothing to
  // switch and no default setup to go back to; a switch by hand is told
  // that the mouse is missing, as a click on the tray icon is.
  if (!link.devicePresent) {
    const std::optional<Balloon> missing = BuildBalloon(texts, kEventMouseMissing, 0, [](int) { return ""; });
    if (byHand && missing)
      services.ShowTrayBalloon(missing->text, missing->title, BalloonIcon::kInfo, missing->timeoutMs);
    return;
  }
  if (!model_.settingsUsable()) return;

  SettingsRecord record = model_.settings().applied;
  if (profile) {
    std::string problem = profile->damage;
    std::optional<Profile> read;
    if (problem.empty()) {
      const WorkingSetup base{model_.settings().applied, model_.skin.paneText};
      std::optional<std::uint8_t> sensor;
      if (link.sensorKnown() || link.ReadSensorSettings()) sensor = link.sensorType();
      read = ReadProfile(profile->path, base, texts, sensor, ListMacroNames(model_.files().macroStore),
                         problem);
    }
    if (!read) {
      services.ShowTrayBalloon(FormatText(texts[TextId::kProfileNotUsed], profile->name) + " " + problem,
                               kAppCaption, BalloonIcon::kWarning, kSwitchBalloonMs);
      return;
    }
    record = read->setup.record;
    if (read->namesMacros) EncodeProfileMacros(read->macros, record);
  }
  const ApplyReport report = link.Switch(record);
  if (!report.Applied()) {
    services.ShowTrayBalloon(FormatText(texts[TextId::kSwitchNotTaken], DescribeShortfall(report, texts)),
                             kAppCaption, BalloonIcon::kWarning, kSwitchBalloonMs);
    return;
  }
  const std::string name = profile ? profile->name : std::string();
  const bool changed = name != held_ || !report.alreadyHeld;
  held_ = name;
  if (!changed || !choices_.balloons) return;
  services.ShowTrayBalloon(profile ? FormatText(texts[TextId::kSwitchedToProfile], name)
                                   : std::string(texts[TextId::kSwitchedToDefault]),
                           kAppCaption, BalloonIcon::kInfo, kSwitchBalloonMs);
}

}  // namespace vortal
