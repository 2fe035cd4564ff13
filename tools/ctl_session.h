// What every vortalctl command works with: the streams, the options of the
// command line, the files of the folder and the mouse. The commands are small
// functions of a table (ctl_commands.h) that take a session.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_port.h"
#include "device/mouse_link.h"
#include "edit/setting_text.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "texts/texts.h"
#include "tools/vortalctl_main.h"

namespace vortal {

struct CtlOptions {
  ProgramPaths paths;
  std::string command;
  std::vector<std::string> operands;  // the command's arguments
  long count = -1;                    // listen: notices to print, -1 for no limit
  std::optional<std::uint8_t> sensorType;
  bool apply = false;
  bool useDefault = false;  // profile use --default
};

// Why config.bin was not saved, to follow its path in a message:
// " (it does not exist)" or " (system error 13)".
std::string SaveFailure(const SaveResult& result);

class CtlSession {
 public:
  CtlSession(CtlContext& context, const CtlOptions& options);
  ~CtlSession();

  CtlContext& context() { return c_; }
  const CtlOptions& options() const { return o_; }
  const LocalizedTexts& texts() const { return texts_; }
  std::ostream& out() { return c_.out; }
  std::ostream& err() { return c_.err; }

  // "vortalctl: PROBLEM" on the error stream; the usage exit code.
  int Usage(const std::string& problem);

  // config.bin must be whole before anything is sent or saved: applying a
  // missing or foreign file would put an all-zero record into the mouse.
  // False (with the reason told) when it is not.
  bool LoadSettingsFile(SettingsState& state);
  // The setup the window would show: config.bin and the button texts of the
  // user's language.
  bool LoadSetup(SettingsState& state, WorkingSetup& setup);
  // Saves config.bin, then the button texts; then --apply writes the mouse.
  int SaveSetup(SettingsState& state, const WorkingSetup& setup);

  // Opens the mouse into `link`; false (with a message) when it is absent.
  bool FindMouse(MouseLink& link, std::unique_ptr<EventPort>* events = nullptr);
  // FindMouse, then the greeting of a found mouse; false (with a message
  // saying nothing was `done`: "applied", "switched") when it is absent or
  // does not say which sensor it has, so its DPI codes are not known.
  bool GreetMouse(MouseLink& link, std::string_view done);
  // The backend FindMouse used, for looking again after an unplug.
  HidBackend* backend() { return backend_.get(); }
  // The sensor type for DPI values: --sensor, else the mouse's answer (only
  // the sensor query is sent); nothing when neither is there.
  std::optional<std::uint8_t> SensorType();
  SettingContext Context(std::optional<std::uint8_t> sensorType) const;
  std::string_view SkinSection() const { return texts_[TextId::kSkinSection]; }

 private:
  CtlContext& c_;
  const CtlOptions& o_;
  std::unique_ptr<HidBackend> backend_;
  LocalizedTexts texts_;
};

// The commands that write the mouse: apply (also --apply after a change).
int ApplyCommand(CtlSession& session);

}  // namespace vortal
