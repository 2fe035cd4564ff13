// The commands that talk to the mouse: apply, show, sensor, listen.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <ostream>

#include "device/device_commands.h"
#include "device/device_events.h"
#include "edit/apply_shortfall.h"
#include "files/file_io.h"
#include "macro/macro_store.h"
#include "settings/settings_file.h"
#include "settings/skin_settings.h"
#include "tools/ctl_commands.h"
#include "tools/settings_report.h"

namespace vortal {
namespace {

// While the mouse is away, `listen` looks for it this often.
constexpr std::chrono::milliseconds kRediscoveryInterval{250};

std::string TimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                local.tm_sec, ms);
  return text;
}

int Show(CtlSession& s) {
  SettingsState state;
  if (!s.LoadSettingsFile(state)) return kExitFileProblem;
  ReportContext report;
  report.macroNames = ListMacroNames(s.options().paths.macroStore);
  // The DPI labels depend on the mouse's sensor; without the mouse the
  // stored levels are shown. Only the sensor query is sent.
  std::unique_ptr<HidBackend> backend = s.context().makeBackend();
  OpenedMouse mouse = backend ? backend->FindDevice() : OpenedMouse{};
  if (mouse.command) {
    MouseLink link(s.context().pauser);
    link.Attach(std::move(mouse.command));
    if (link.ReadSensorSettings()) report.sensorType = link.sensorType();
  }
  s.out() << "Settings file: " << s.options().paths.settingsFile << "\n"
          << DescribeSettings(state, report);
  if (!report.sensorType) s.out() << "(No mouse answered: DPI stages are shown as levels.)\n";
  return kExitOk;
}

int Sensor(CtlSession& s) {
  MouseLink link(s.context().pauser);
  if (!s.FindMouse(link)) return kExitNoMouse;
  if (!link.ReadSensorSettings()) {
    s.err() << "vortalctl: the mouse did not answer the sensor query. Unplug it, plug it in "
            << "again and retry.\n";
    return kExitNoMouse;
  }
  const SensorSettings& b = link.buffers().sensorSettings;
  char line[160];
  std::snprintf(line, sizeof line, "Sensor type: %u\nRate: 0x%02X\nOption 1: 0x%02X\nOption 2: 0x%02X\n",
                b[0], b[1], b[2], b[3]);
  s.out() << line << "DPI levels:";
  DpiTable table = DpiTableOf(b[0]);
  for (int i = 0; i < table.count; ++i) s.out() << (i ? ", " : " ") << table.levels[i].dpi;
  if (table.count == 0) s.out() << " none known for this sensor type";
  s.out() << "\n";
  return kExitOk;
}

// Looks for the mouse again until it is back with both collections (true)
// or an interrupt comes (false).
bool WaitForMouse(CtlSession& s, MouseLink& link, std::unique_ptr<EventPort>& events) {
  for (;;) {
    if (s.context().interrupt.WaitInterrupted(kRediscoveryInterval)) return false;
    OpenedMouse mouse = s.backend()->FindDevice();
    if (mouse.command && mouse.events) {
      link.Attach(std::move(mouse.command));
      events = std::move(mouse.events);
      return true;
    }
  }
}

// Goes on through an unplug: says the mouse went, waits for it to come back
// and listens again, as the window's tray does.
int Listen(CtlSession& s) {
  SettingsState state;
  // The DPI notices name the stage's DPI from config.bin; without it they
  // name the stage alone.
  const bool haveSettings = LoadSettings(s.options().paths.settingsFile, state) == LoadResult::kLoaded;
  MouseLink link(s.context().pauser);
  std::unique_ptr<EventPort> events;
  if (!s.FindMouse(link, &events)) return kExitNoMouse;
  if (!events) {
    s.err() << "vortalctl: the mouse's notice channel (its event collection) could not be opened.\n";
    return kExitNoMouse;
  }
  link.ReadSensorSettings();

  const LocalizedTexts texts(Language::kEnglish);
  auto dpiLabel = [&](int entry) {
    return haveSettings ? link.DpiLabel(state.working.dpiLevel[entry]) : std::string();
  };
  ListenInterrupt& interrupt = s.context().interrupt;
  interrupt.Begin();
  const long count = s.options().count;
  long printed = 0;
  bool stopped = count == 0;
  if (!stopped) {
    s.out() << "Listening to the mouse" << (count > 0 ? "" : "; interrupt to stop") << ".\n";
    s.out().flush();
  }
  while (!stopped) {
    if (!interrupt.SetPort(events.get())) break;
    ListenForEvents(*events, [&](DeviceEvent event) {
      s.out() << TimeStamp() << " ";
      if (auto balloon = BuildBalloon(texts, event.code, event.value, dpiLabel))
        s.out() << balloon->text << "\n";
      else
        s.out() << "event " << int(event.code) << ", value " << int(event.value) << "\n";
      s.out().flush();
      if (++printed == count) {
        stopped = true;
        events->Cancel();
      }
    });
    if (!interrupt.SetPort(nullptr) || stopped) break;
    auto gone = BuildBalloon(texts, kEventMouseMissing, 0, dpiLabel);
    s.out() << TimeStamp() << " " << (gone ? gone->text : std::string("The mouse went away.")) << "\n";
    s.out().flush();
    events.reset();
    link.Detach();
    if (!WaitForMouse(s, link, events)) break;
    link.ReadSensorSettings();
    s.out() << TimeStamp() << " " << texts[TextId::kMouseDetected] << "\n";
    s.out().flush();
  }
  interrupt.End();
  return kExitOk;
}

}  // namespace

int ApplyCommand(CtlSession& s) {
  SettingsState state;
  if (!s.LoadSettingsFile(state)) return kExitFileProblem;
  state.Snapshot();
  MouseLink link(s.context().pauser);
  // Without the sensor's answer the Apply would send nothing (as in the
  // window), and config.bin, the source here, needs no saving.
  if (!s.GreetMouse(link, "applied")) return kExitNoMouse;

  const ProgramPaths& paths = s.options().paths;
  ApplyFiles files;
  files.settingsFile = paths.settingsFile;
  // The button texts are the window's; they are saved back as they stand,
  // and str.ini is never created here.
  if (PathExists(paths.skinSettings)) {
    files.savePaneTexts = [&] {
      SkinSettingsValues values = LoadSkinSettings(paths.skinSettings, s.SkinSection());
      return SavePaneTexts(paths.skinSettings, s.SkinSection(), values.paneText);
    };
  }
  const ApplyReport report = link.Apply(state, files);
  if (!report.settingsFile.saved()) {
    s.err() << "vortalctl: the mouse was written, but " << paths.settingsFile << " could not be saved"
            << SaveFailure(report.settingsFile) << ".\n";
    return kExitFileProblem;
  }
  if (!report.paneTextsSaved) {
    s.err() << "vortalctl: the mouse and config.bin were written, but the button texts could "
            << "not be saved to " << paths.skinSettings << ".\n";
    return kExitFileProblem;
  }
  if (!report.Applied()) {
    s.err() << "vortalctl: the mouse did not take all of the settings: "
            << DescribeShortfall(report, LocalizedTexts(Language::kEnglish)) << ". "
            << paths.settingsFile << " holds them; run apply again once the mouse is plugged in.\n";
    return kExitNoMouse;
  }
  s.out() << "Applied " << paths.settingsFile << " to the mouse (sensor type "
          << int(link.sensorType()) << ").\n";
  return kExitOk;
}

std::vector<CtlCommand> MouseCommands() {
  return {
      {"apply",
       {{"apply", "write config.bin into the mouse, then save config.bin\nand the button texts"}},
       false, false, false, ApplyCommand},
      {"show", {{"show", "print what config.bin holds"}}, false, false, false, Show},
      {"listen",
       {{"listen [--count N]", "print the mouse's notices as they come, until\ninterrupted or N "
                               "notices were printed"}},
       false, false, true, Listen},
      {"sensor", {{"sensor", "print the sensor settings the mouse reports"}}, false, false, false,
       Sensor},
  };
}

}  // namespace vortal
