// A main window model over fake services, a fake mouse and a temporary
// program folder holding config.bin and str.ini.
#pragma once

#include "support/fake_mouse_backend.h"
#include "support/fake_hosts.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "ui/window/main_window_model.h"

namespace vortal::testing {

struct MainWindowRig {
  TempDir dir;
  FakeMainWindowServices services;
  FakeMouseBackend backend;
  CountingPauser pauser;
  MouseLink link{pauser};
  SettingsState settings;
  MainWindowModel model{services, link, backend, settings,
                        {dir.File("config.bin"), dir.File("str.ini"), dir.File(""),
                         dir.File("record.ini")}};

  // As after a start-up that read config.bin; start-up itself says otherwise.
  MainWindowRig() { model.SettingsLoaded(LoadResult::kLoaded); }
};

}  // namespace vortal::testing
