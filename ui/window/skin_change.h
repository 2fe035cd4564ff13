// The Skins button of the main window.
#pragma once

#include "ui/window/main_window_model.h"

namespace vortal {

// Runs the skins dialog; on OK takes its folder, colour and name as the skin
// in use, stores the name and colour in str.ini, rebuilds the page shown with
// the new images and brings the window to the front. Any other end changes
// nothing.
void ChangeSkin(MainWindowModel& model);

}  // namespace vortal
