#include "ui/window/settings_profiles.h"

#include <optional>
#include <utility>

#include "edit/profile.h"
#include "macro/macro_store.h"

namespace vortal {

FileDialogRequest SettingsProfiles::Request(FileDialogKind kind) const {
  const LocalizedTexts& texts = window_.texts;
  FileDialogRequest request;
  request.kind = kind;
  request.title = std::string(texts[kind == FileDialogKind::kSaveAs ? TextId::kExportSettingsTitle
                                                                     : TextId::kImportSettingsTitle]);
  request.filterName = std::string(texts[TextId::kProfileFiles]);
  request.pattern = std::string(kProfilePattern);
  request.defaultExtension = std::string(kProfileExtension);
  if (kind == FileDialogKind::kSaveAs) request.suggestedName = std::string(kSuggestedProfileName);
  return request;
}

void SettingsProfiles::Tell(const std::string& text) const {
  window_.services().Show(text, kAppCaption);
}

void SettingsProfiles::Export() {
  const std::optional<std::string> path =
      window_.services().ChooseFile(Request(FileDialogKind::kSaveAs));
  if (!path) return;
  const SettingsRecord& record = window_.settings().working;
  const Profile profile{{record, window_.skin.paneText}, MacrosOfSetup(recordPath_, record)};
  if (!WriteProfile(*path, profile, window_.texts)) {
    Tell(FormatText(window_.texts[TextId::kSettingsNotExported], *path));
  }
}

bool SettingsProfiles::Import() {
  const std::optional<std::string> path =
      window_.services().ChooseFile(Request(FileDialogKind::kOpen));
  if (!path) return false;
  MouseLink& link = window_.link();
  std::optional<std::uint8_t> sensorType;
  if (link.devicePresent) sensorType = link.sensorType();
  std::string problem;
  std::optional<Profile> profile =
      ReadProfile(*path, {window_.settings().working, window_.skin.paneText}, window_.texts,
                  sensorType, ListMacroNames(recordPath_), problem);
  if (!profile) {
    Tell(std::string(window_.texts[TextId::kSettingsNotImported]) + "\n\n" + problem);
    return false;
  }
  if (profile->namesMacros &&
      !StoreProfileMacros(recordPath_, profile->macros, profile->setup.record)) {
    Tell(std::string(window_.texts[TextId::kProfileMacrosNotStored]));
    return false;
  }
  window_.settings().working = profile->setup.record;
  window_.skin.paneText = std::move(profile->setup.panes);
  if (afterImport) afterImport();
  // Built anew, not only drawn: a page's child controls (the macro lists)
  // are filled when they are made.
  const int page = window_.currentPage();
  if (page != kNoPage) {
    window_.TeardownPagesExcept(kTeardownAllPages);
    window_.BuildPage(page);
    window_.restoreRedrawPending = false;
  }
  return true;
}

}  // namespace vortal
