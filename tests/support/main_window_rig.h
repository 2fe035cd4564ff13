// A main window model over fake services, a fake mouse and a temporary
// program folder holding config.bin and str.ini.
#pragma once

#include "support/fake_mouse_backend.h"
#include "support/fake_hosts.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include <string>
#include <vector>

#include "ui/window/main_window_model.h"

namespace vortal::testing {

// A page that only says when it is built ("build NAME" into `log` when one
// is given, and a count) and, when asked, torn down ("teardown NAME").
class LoggingPage : public MainWindowPage {
 public:
  LoggingPage() = default;
  LoggingPage(std::vector<std::string>& log, std::string name, bool logsTeardowns = false)
      : log_(&log), name_(std::move(name)), logsTeardowns_(logsTeardowns) {}
  void Build() override {
    ++builds;
    if (log_) log_->push_back("build " + name_);
  }
  void Teardown() override {
    if (log_ && logsTeardowns_) log_->push_back("teardown " + name_);
  }
  std::vector<DropDownList> Lists() const override { return {}; }
  std::vector<PageRegion> Regions() override { return {}; }
  std::vector<HotControl> HotControls() const override { return {}; }
  std::vector<WindowControl> Controls() override { return {}; }
  int builds = 0;

 private:
  std::vector<std::string>* log_ = nullptr;
  std::string name_;
  bool logsTeardowns_ = false;
};

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
