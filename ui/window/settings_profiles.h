// "Export settings..." and "Import settings..." of the tray menu: the
// window's working setup (the record, the pane texts it shows, the macros of
// record.ini with the record's loop counts) to a profile file and back,
// through the system's file dialogs, in the format and with the checks of
// edit/profile.h.
//
// An import changes what the window holds, and record.ini (as the macro
// editor's Confirm does); the mouse and config.bin follow at OK or Apply like
// every other change, and Cancel goes back to the last Apply. A file with a
// mistake changes nothing: the message names its line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "ui/host/main_window_services.h"
#include "ui/window/main_window_model.h"

namespace vortal {

inline constexpr std::string_view kProfilePattern = "*.ini";
inline constexpr std::string_view kProfileExtension = "ini";
inline constexpr std::string_view kSuggestedProfileName = "vortal-settings.ini";

class SettingsProfiles {
 public:
  SettingsProfiles(MainWindowModel& window, std::string recordPath)
      : window_(window), recordPath_(std::move(recordPath)) {}

  // After an import put its record into the working state, before the page
  // shown is drawn again: what the pages keep of their own follows it.
  std::function<void()> afterImport;

  // The file dialog, then the profile written; a failure is told.
  void Export();
  // The file dialog, then the profile read onto the working setup. True when
  // it was imported: the working state holds it and the page shown was drawn
  // again (a rebuilt advanced page lists record.ini's macros anew).
  bool Import();

  // The dialog each one opens, in the window's language.
  FileDialogRequest Request(FileDialogKind kind) const;

 private:
  void Tell(const std::string& text) const;

  MainWindowModel& window_;
  std::string recordPath_;
};

}  // namespace vortal
