#include "tools/ctl_session.h"

#include <ostream>

#include "setup/button_action.h"
#include "files/file_io.h"
#include "macro/macro_store.h"
#include "settings/settings_file.h"
#include "settings/skin_settings.h"

namespace vortal {

std::string SaveFailure(const SaveResult& result) {
  switch (result.status) {
    case SaveStatus::kSaved:
      return {};
    case SaveStatus::kMissing:
      return " (it does not exist)";
    case SaveStatus::kWriteFailed:
      return " (system error " + std::to_string(result.errorCode) + ")";
  }
  return {};
}

CtlSession::CtlSession(CtlContext& context, const CtlOptions& options)
    : c_(context), o_(options), texts_(context.language) {}

CtlSession::~CtlSession() = default;

int CtlSession::Usage(const std::string& problem) {
  c_.err << "vortalctl: " << problem << "\n";
  return kExitUsage;
}

bool CtlSession::LoadSettingsFile(SettingsState& state) {
  const std::string& path = o_.paths.settingsFile;
  switch (LoadSettings(path, state)) {
    case LoadResult::kLoaded:
      return true;
    case LoadResult::kMissing:
      c_.err << "vortalctl: " << path << " does not exist. Copy the config.bin delivered with "
             << "the mouse into that folder, or name its folder with --dir.\n";
      return false;
    case LoadResult::kNotRead:
    case LoadResult::kWrongSize:
    case LoadResult::kUnreadable: {
      auto bytes = ReadFileBytes(path);
      c_.err << "vortalctl: " << path << " is not a settings file: it must be exactly "
             << kSettingsFileSize << " bytes";
      if (bytes)
        c_.err << ", it has " << bytes->size();
      else
        c_.err << ", and it could not be read";
      c_.err << ". Restore the config.bin delivered with the mouse.\n";
      return false;
    }
  }
  return false;
}

bool CtlSession::LoadSetup(SettingsState& state, WorkingSetup& setup) {
  if (!LoadSettingsFile(state)) return false;
  setup.record = state.working;
  setup.panes = LoadSkinSettings(o_.paths.skinSettings, SkinSection()).paneText;
  // A delivered config.bin gets the default pane texts, as in the window.
  if (state.firstRunFlag == 0) SetDefaultPaneTexts(setup.panes, texts_, kDeviceButtons);
  return true;
}

int CtlSession::SaveSetup(SettingsState& state, const WorkingSetup& setup) {
  state.working = setup.record;
  if (const SaveResult saved = SaveSettings(o_.paths.settingsFile, state); !saved.saved()) {
    c_.err << "vortalctl: " << o_.paths.settingsFile << " could not be saved" << SaveFailure(saved)
           << "; nothing changed.\n";
    return kExitFileProblem;
  }
  if (!SavePaneTexts(o_.paths.skinSettings, SkinSection(), setup.panes)) {
    c_.err << "vortalctl: config.bin was saved, but the button texts could not be saved to "
           << o_.paths.skinSettings << ".\n";
    return kExitFileProblem;
  }
  return o_.apply ? ApplyCommand(*this) : kExitOk;
}

bool CtlSession::FindMouse(MouseLink& link, std::unique_ptr<EventPort>* events) {
  backend_ = c_.makeBackend();
  OpenedMouse mouse = backend_ ? backend_->FindDevice() : OpenedMouse{};
  if (!mouse.command) {
    if (!mouse.problem.empty())
      c_.err << "vortalctl: the mouse is there but could not be opened. " << mouse.problem << "\n";
    else
      c_.err << "vortalctl: the mouse (USB vendor 04D9, product A09F) was not found. Plug it "
             << "in, check that no other program holds it, and try again.\n";
    return false;
  }
  link.Attach(std::move(mouse.command));
  if (events) *events = std::move(mouse.events);
  return true;
}

bool CtlSession::GreetMouse(MouseLink& link, std::string_view done) {
  if (!FindMouse(link)) return false;
  link.OnMouseFound();
  if (link.sensorKnown()) return true;
  c_.err << "vortalctl: the mouse did not answer; nothing was " << done << ". Unplug it, plug it in "
         << "again and retry.\n";
  return false;
}

std::optional<std::uint8_t> CtlSession::SensorType() {
  if (o_.sensorType) return o_.sensorType;
  std::unique_ptr<HidBackend> backend = c_.makeBackend();
  OpenedMouse mouse = backend ? backend->FindDevice() : OpenedMouse{};
  if (!mouse.command) return std::nullopt;
  MouseLink link(c_.pauser);
  link.Attach(std::move(mouse.command));
  if (!link.ReadSensorSettings()) return std::nullopt;
  return link.sensorType();
}

SettingContext CtlSession::Context(std::optional<std::uint8_t> sensorType) const {
  return SettingContext{texts_, sensorType, ListMacroNames(o_.paths.macroStore), false};
}

}  // namespace vortal
