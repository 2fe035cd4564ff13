// The system's Open and Save As dialogs (comdlg32) for the window's file
// dialog requests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/host/main_window_services.h"

namespace vortal {

// Runs the dialog modally over `owner`; the chosen path, or nothing when the
// user cancelled it (or the dialog could not be shown).
std::optional<std::string> RunFileDialog(HWND owner, const FileDialogRequest& request);

}  // namespace vortal
