#include "ui/window/startup.h"

#include <memory>
#include <utility>
#include <string>

#include "device/device_events.h"
#include "settings/settings_file.h"
#include "ui/skin/skin_images.h"
#include "vortal_version.h"

namespace vortal {

StartupResult MainWindowShell::Initialize(std::uint32_t systemLangId) {
  MainWindowServices& services = model_.services();
  MouseLink& link = model_.link();

  model_.texts = LoadLocalizedTexts(systemLangId);
  // Until config.bin is read the record holds nothing the user chose; a start
  // that stops before that leaves OK and Apply refusing it.
  model_.SettingsLoaded(LoadResult::kNotRead);
  services.AddTrayIcon(kTrayTip);

  std::unique_ptr<EventPort> events;
  if (link.FindDevice(model_.backend(), &events)) {
    if (events) services.SetEventPort(std::move(events));
  } else {
    link.devicePresent = false;
    if (!link.openProblem().empty()) services.Show(link.openProblem(), kAppCaption);
    services.Show(std::string(model_.texts[TextId::kMouseNotDetected]), kWarningCaption);
  }

  if (!services.CreateListener()) {
    services.Show(std::string(kCreateEventFailed), kAppCaption);
    return StartupResult::kStoppedNoListener;
  }
  listenerCreated_ = true;
  if (link.devicePresent) services.ResumeListener();

  if (!services.RegisterDeviceNotifications()) {
    services.Show(std::string(kRegisterNotificationFailed), kAppCaption);
    return StartupResult::kStoppedNoNotifications;
  }

  const LoadResult loaded = LoadSettings(model_.files().settingsFile, model_.settings());
  if (loaded == LoadResult::kMissing) services.Show(kSettingsFileMissingText, kAppCaption);
  model_.settings().Snapshot();

  LoadSkin();
  model_.SettingsLoaded(loaded);
  LoadMainBackground();

  if (link.devicePresent) model_.BuildPage(kBasicPage);
  switching_.Start();
  return StartupResult::kReady;
}

void MainWindowShell::LoadSkin() {
  const MainWindowFiles& files = model_.files();
  model_.skin = SkinStateAtStartup(
      LoadSkinSettings(files.skinSettingsFile, model_.texts[TextId::kSkinSection]),
      files.programDir);
  // Reading the settings again keeps the stand-in for the unusable skin.
  if (!unusableSkinFolder_.empty() && model_.skin.skinFolderPath == unusableSkinFolder_) {
    model_.skin.skinFolderPath = fallbackSkinFolder_;
  }
}

void MainWindowShell::LoadMainBackground() {
  MainWindowServices& services = model_.services();
  const std::string chosen = model_.skin.skinFolderPath;
  if (services.LoadBackground(chosen, kMainImage)) return;
  const std::string fallback = SkinFolderAtStartup(model_.files().programDir, kFallbackSkinName);
  if (fallback == chosen || !services.LoadBackground(fallback, kMainImage)) return;
  unusableSkinFolder_ = chosen;
  fallbackSkinFolder_ = fallback;
  model_.skin.skinFolderPath = fallback;
}

std::vector<TrayMenuItem> TrayMenuItems(const LocalizedTexts& texts, bool startsAtLogOn,
                                        TrayMenuItem profiles) {
  TrayMenuItem open{kTrayOpenCommand, std::string(texts[TextId::kOpenWindow])};
  open.isDefault = true;
  return {std::move(open),
          {kTrayExportCommand, std::string(texts[TextId::kExportSettings])},
          {kTraySaveAsProfileCommand, std::string(texts[TextId::kSaveAsProfile])},
          {kTrayImportCommand, std::string(texts[TextId::kImportSettings])},
          std::move(profiles),
          {kTrayAboutCommand, std::string(texts[TextId::kAboutVortal])},
          {kTrayStartWithWindowsCommand, std::string(texts[TextId::kStartWithWindows]), startsAtLogOn},
          {kTrayExitCommand, std::string(texts[TextId::kExit])}};
}

std::string AboutText(const LocalizedTexts& texts) {
  std::string text = "Vortal " + std::string(kVortalVersion) + "\n\n" +
                     std::string(texts[TextId::kReleasedUnderMit]);
  if (!kVortalWebAddress.empty()) text += "\n\n" + std::string(kVortalWebAddress);
  return text;
}

void MainWindowShell::OnTrayClick(TrayClick click) {
  if (click == TrayClick::kRight) {
    MainWindowServices& services = model_.services();
    services.ShowTrayMenu(TrayMenuItems(model_.texts, services.StartsAtLogOn(), switching_.Submenu()));
    return;
  }
  OpenWindow();
}

bool MainWindowShell::OnTrayCommand(int command) {
  switch (command) {
    case kTrayOpenCommand:
      OpenWindow();
      return true;
    case kTrayExportCommand:
      profiles_.Export();
      return true;
    case kTrayImportCommand:
      if (profiles_.Import()) OpenWindow();
      return true;
    case kTrayAboutCommand:
      model_.services().Show(AboutText(model_.texts), std::string(model_.texts[TextId::kAboutVortal]));
      return true;
    case kTrayStartWithWindowsCommand: {
      // The tick turns to the other state; what the shortcut is decides.
      MainWindowServices& services = model_.services();
      if (!services.SetStartAtLogOn(!services.StartsAtLogOn()))
        services.Show(std::string(model_.texts[TextId::kStartWithWindowsNotChanged]), kAppCaption);
      return true;
    }
    case kTrayExitCommand:
      model_.Exit();
      return true;
    default:
      return switching_.OnMenuCommand(command);
  }
}

void MainWindowShell::OpenWindow() {
  MainWindowServices& services = model_.services();
  if (!model_.link().devicePresent) {
    OnDeviceEvent(kEventMouseMissing, 0);  // the window stays hidden
    return;
  }
  // After Cancel the page shows the restored values. A window that was never
  // given a page (the mouse came after start-up) gets the basic page, so it
  // never opens empty.
  bool rebuilt = false;
  if (model_.restoreRedrawPending) {
    model_.restoreRedrawPending = false;
    const int page = model_.currentPage();
    if (page == kBasicPage) {
      // The pane texts stay those Cancel went back to: str.ini holds older
      // ones when its last save failed.
      const PaneTexts restored = model_.skin.paneText;
      LoadSkin();
      model_.skin.paneText = restored;
      model_.BuildPage(kBasicPage);
      rebuilt = true;
    } else if (page == kAdvancedPage) {
      model_.BuildPage(kAdvancedPage);
      rebuilt = true;
    }
  }
  if (!rebuilt && !model_.basicPageBuilt()) model_.BuildPage(kBasicPage);
  model_.EndStartupHiding();
  services.BringToForeground();
  services.ShowWindow();
}

void MainWindowShell::OnDeviceChange(DeviceChange change, std::string_view interfaceName) {
  if (!IsMouseInterfaceName(interfaceName)) return;

  MainWindowServices& services = model_.services();
  MouseLink& link = model_.link();
  std::unique_ptr<EventPort> events;
  if (!link.FindDevice(model_.backend(), &events)) {
    if (!link.openProblem().empty()) services.Show(link.openProblem(), kAppCaption);
    OnDeviceEvent(kEventMouseMissing, 0);
    services.HideWindow();
    link.devicePresent = false;
    // The handles of the mouse that went are of no further use: release
    // them, so the listener sleeps until a mouse is found again.
    services.SetEventPort(nullptr);
    link.Detach();
    return;
  }
  if (events) services.SetEventPort(std::move(events));
  if (change == DeviceChange::kArrival && link.devicePresent) {
    link.OnMouseFound();
    if (!model_.basicPageBuilt() && listenerCreated_) services.ResumeListener();
    switching_.OnMouseBack();
  }
}

void MainWindowShell::OnDeviceEvent(std::int64_t event, std::int64_t value) {
  const MouseLink& link = model_.link();
  const SettingsRecord& record = model_.settings().working;
  const std::optional<Balloon> balloon =
      BuildBalloon(model_.texts, event, value,
                   [&](int entry) { return link.DpiLabel(record.dpiLevel[entry]); });
  if (!balloon) return;
  // Every balloon carries the information icon, the warning included.
  model_.services().ShowTrayBalloon(balloon->text, balloon->title, BalloonIcon::kInfo,
                                    balloon->timeoutMs);
}

}  // namespace vortal
