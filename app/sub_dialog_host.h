// The one Win32 window that runs any owner-drawn sub-dialog model modally:
// an empty pop-up dialog whose picture, clicks, hover and list come from the
// model (ui/dialogs/sub_dialog_frame.h).
#pragma once

#include <windows.h>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's ChooseColor
#include "ui/host/display_scale.h"
#include "ui/host/main_window_services.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

// Runs `dialog` modally over `owner` and returns how it ended. Anything but
// an explicit OK (a background that failed to load, Escape, the window closed
// by the system) is kCancel, so the opener never reads unset results. The
// dialog is drawn at `scale`, its owner's, until its own monitor's DPI
// changes.
DialogResult RunSubDialogModal(HINSTANCE instance, HWND owner, SubDialogFrame& dialog,
                               DisplayScale scale);

}  // namespace vortal
