#include "tools/vortalctl_main.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <ostream>

#include "device/device_commands.h"
#include "device/device_events.h"
#include "device/mouse_link.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "files/file_io.h"
#include "settings/settings_file.h"
#include "tools/settings_report.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

namespace vortal {
namespace {

constexpr const char* kUsage =
    "Usage: vortalctl [--dir DIR] COMMAND\n"
    "\n"
    "Works on config.bin, record.ini and str.ini in DIR (default: the folder of\n"
    "the program).\n"
    "\n"
    "Commands:\n"
    "  apply                 write config.bin into the mouse, as OK/Apply in the\n"
    "                        window does, then save config.bin and the button texts\n"
    "  show                  print what config.bin holds\n"
    "  listen [--count N]    print the mouse's notices as they come, until\n"
    "                        interrupted or N notices were printed\n"
    "  sensor                print the sensor settings the mouse reports\n"
    "  encode-macros         encode the macros of record.ini into config.bin's\n"
    "                        macro slots (sent to the mouse by the next apply)\n"
    "  --help                print this text\n"
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  the mouse was not found, did not answer or went away\n"
    "  2  unknown command or option\n"
    "  3  a file is missing, has the wrong size or could not be written\n";

// The window's language for its notices; a command-line tool speaks English.
constexpr std::string_view kEnglishSkinSection = "Setting-EN";

// Message boxes of the core become lines on the error stream.
class StreamMessages : public UserMessages {
 public:
  explicit StreamMessages(std::ostream& err) : err_(err) {}
  void Show(const std::string& text, const std::string& caption) override {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    err_ << caption << ": " << line << "\n";
    ++count_;
  }
  int count() const { return count_; }

 private:
  std::ostream& err_;
  int count_ = 0;
};

class SilentMessages : public UserMessages {
 public:
  void Show(const std::string&, const std::string&) override {}
};

// A file in the folder, joined with the separator the folder is written with.
std::string Join(const std::string& dir, const char* name) {
  if (dir.empty()) return name;
  const char last = dir.back();
#ifdef _WIN32
  if (last == '/' || last == '\\') return dir + name;
  const bool backslashes = dir.find('/') == std::string::npos;
  return dir + (backslashes ? "\\" : "/") + name;
#else
  return dir + (last == '/' ? "" : "/") + name;
#endif
}

struct Options {
  ProgramPaths paths;
  std::string command;
  long count = -1;  // listen: notices to print, -1 for no limit
};

// A running `listen`: the port it waits on (none while the mouse is away)
// and the interrupt that ends it, also while it waits for the mouse.
std::mutex gListenMutex;
std::condition_variable gListenWake;
bool gListening = false;
EventPort* gListenPort = nullptr;
bool gListenInterrupted = false;

// While the mouse is away, `listen` looks for it this often.
constexpr std::chrono::milliseconds kRediscoveryInterval{250};

class Commands {
 public:
  Commands(CtlContext& context, const Options& options)
      : c_(context), o_(options), messages_(context.err) {}

  int Run() {
    if (o_.command == "apply") return Apply();
    if (o_.command == "show") return Show();
    if (o_.command == "listen") return Listen();
    if (o_.command == "sensor") return Sensor();
    if (o_.command == "encode-macros") return EncodeMacroSlots();
    c_.err << "vortalctl: unknown command \"" << o_.command << "\"\n\n" << kUsage;
    return kExitUsage;
  }

 private:
  // config.bin must be whole before anything is sent or saved: applying a
  // missing or foreign file would put an all-zero record into the mouse.
  bool LoadSettingsFile(SettingsState& state) {
    const std::string& path = o_.paths.settingsFile;
    SilentMessages silent;
    switch (LoadSettings(path, state, silent)) {
      case LoadResult::kLoaded:
        return true;
      case LoadResult::kMissing:
        c_.err << "vortalctl: " << path << " does not exist. Copy the config.bin delivered with "
               << "the mouse into that folder, or name its folder with --dir.\n";
        return false;
      case LoadResult::kNotRead:
      case LoadResult::kWrongSize:
      case LoadResult::kUnreadable: {
        auto bytes = ReadFileBytes(path);
        c_.err << "vortalctl: " << path << " is not a settings file: it must be exactly "
               << kSettingsFileSize << " bytes";
        if (bytes)
          c_.err << ", it has " << bytes->size();
        else
          c_.err << ", and it could not be read";
        c_.err << ". Restore the config.bin delivered with the mouse.\n";
        return false;
      }
    }
    return false;
  }

  // Opens the mouse into `link`; false (with a message) when it is absent.
  bool FindMouse(MouseLink& link, std::unique_ptr<EventPort>* events = nullptr) {
    backend_ = c_.makeBackend(messages_);
    const int shownBefore = messages_.count();
    OpenedMouse mouse = backend_ ? backend_->FindDevice() : OpenedMouse{};
    if (!mouse.command) {
      // The backend has said why a mouse it saw could not be opened.
      if (messages_.count() != shownBefore)
        c_.err << "vortalctl: the mouse is there but could not be opened.\n";
      else
        c_.err << "vortalctl: the mouse (USB vendor 04D9, product A09F) was not found. Plug it "
               << "in, check that no other program holds it, and try again.\n";
      return false;
    }
    link.Attach(std::move(mouse.command));
    if (events) *events = std::move(mouse.events);
    return true;
  }

  int Apply() {
    SettingsState state;
    if (!LoadSettingsFile(state)) return kExitFileProblem;
    state.Snapshot();
    MouseLink link(c_.pauser);
    if (!FindMouse(link)) return kExitNoMouse;
    link.OnMouseFound();
    // Bit 6 of option 2 is set only when the mouse answered the sensor query.
    // Without that answer its sensor type is unknown, and the DPI stages
    // would go out in another sensor's codes: nothing is sent or saved.
    if (!(link.buffers().sensorSettings[3] & kOption2Bit6)) {
      c_.err << "vortalctl: the mouse did not answer; nothing was applied. Unplug it, plug it in "
             << "again and retry.\n";
      return kExitNoMouse;
    }

    ApplyFiles files;
    files.settingsFile = o_.paths.settingsFile;
    files.messages = &messages_;
    bool textsFailed = false;
    // The button texts are the window's; they are saved back as they stand,
    // and str.ini is never created here.
    if (PathExists(o_.paths.skinSettings)) {
      files.savePaneTexts = [&] {
        SkinSettingsValues values = LoadSkinSettings(o_.paths.skinSettings, kEnglishSkinSection);
        textsFailed = !SavePaneTexts(o_.paths.skinSettings, kEnglishSkinSection, values.paneText);
      };
    }
    const int shownBefore = messages_.count();
    link.ApplyToDevice(state, files);
    if (messages_.count() != shownBefore) {
      c_.err << "vortalctl: the mouse was written, but " << o_.paths.settingsFile
             << " could not be saved.\n";
      return kExitFileProblem;
    }
    if (textsFailed) {
      c_.err << "vortalctl: the mouse and config.bin were written, but the button texts could "
             << "not be saved to " << o_.paths.skinSettings << ".\n";
      return kExitFileProblem;
    }
    c_.out << "Applied " << o_.paths.settingsFile << " to the mouse (sensor type "
           << int(link.sensorType()) << ").\n";
    return kExitOk;
  }

  int Show() {
    SettingsState state;
    if (!LoadSettingsFile(state)) return kExitFileProblem;
    ReportContext report;
    report.macroNames = ListMacroNames(o_.paths.macroStore);
    // The DPI labels depend on the mouse's sensor; without the mouse the
    // stored levels are shown. Only the sensor query is sent.
    SilentMessages silent;
    std::unique_ptr<HidBackend> backend = c_.makeBackend(silent);
    OpenedMouse mouse = backend ? backend->FindDevice() : OpenedMouse{};
    if (mouse.command) {
      MouseLink link(c_.pauser);
      link.Attach(std::move(mouse.command));
      if (link.ReadSensorSettings()) report.sensorType = link.sensorType();
    }
    c_.out << "Settings file: " << o_.paths.settingsFile << "\n" << DescribeSettings(state, report);
    if (!report.sensorType) c_.out << "(No mouse answered: DPI stages are shown as levels.)\n";
    return kExitOk;
  }

  int Sensor() {
    MouseLink link(c_.pauser);
    if (!FindMouse(link)) return kExitNoMouse;
    if (!link.ReadSensorSettings()) {
      c_.err << "vortalctl: the mouse did not answer the sensor query. Unplug it, plug it in "
             << "again and retry.\n";
      return kExitNoMouse;
    }
    const SensorSettings& s = link.buffers().sensorSettings;
    char line[160];
    std::snprintf(line, sizeof line,
                  "Sensor type: %u\nRate: 0x%02X\nOption 1: 0x%02X\nOption 2: 0x%02X\n", s[0], s[1],
                  s[2], s[3]);
    c_.out << line << "DPI levels:";
    DpiTable table = DpiTableOf(s[0]);
    for (int i = 0; i < table.count; ++i) c_.out << (i ? ", " : " ") << table.levels[i].dpi;
    if (table.count == 0) c_.out << " none known for this sensor type";
    c_.out << "\n";
    return kExitOk;
  }

  // Goes on through an unplug: says the mouse went, waits for it to come
  // back and listens again, as the window's tray does.
  int Listen() {
    SettingsState state;
    // The DPI notices name the stage's DPI from config.bin; without it they
    // name the stage alone.
    SilentMessages silent;
    const bool haveSettings =
        LoadSettings(o_.paths.settingsFile, state, silent) == LoadResult::kLoaded;
    MouseLink link(c_.pauser);
    std::unique_ptr<EventPort> events;
    if (!FindMouse(link, &events)) return kExitNoMouse;
    if (!events) {
      c_.err
          << "vortalctl: the mouse's notice channel (its event collection) could not be opened.\n";
      return kExitNoMouse;
    }
    link.ReadSensorSettings();

    const LocalizedTexts texts(Language::kEnglish);
    auto dpiLabel = [&](int entry) {
      return haveSettings ? link.DpiLabel(state.working.dpiLevel[entry]) : std::string();
    };
    {
      std::lock_guard lock(gListenMutex);
      gListening = true;
      gListenInterrupted = false;
    }
    long printed = 0;
    bool stopped = o_.count == 0;
    if (!stopped) {
      c_.out << "Listening to the mouse" << (o_.count > 0 ? "" : "; interrupt to stop") << ".\n";
      c_.out.flush();
    }
    while (!stopped) {
      if (!SetListenPort(events.get())) break;
      ListenForEvents(*events, [&](DeviceEvent event) {
        c_.out << TimeStamp() << " ";
        if (auto balloon = BuildBalloon(texts, event.code, event.value, dpiLabel))
          c_.out << balloon->text << "\n";
        else
          c_.out << "event " << int(event.code) << ", value " << int(event.value) << "\n";
        c_.out.flush();
        if (++printed == o_.count) {
          stopped = true;
          events->Cancel();
        }
      });
      if (!SetListenPort(nullptr) || stopped) break;
      auto gone = BuildBalloon(texts, kEventMouseMissing, 0, dpiLabel);
      c_.out << TimeStamp() << " " << (gone ? gone->text : std::string("The mouse went away."))
             << "\n";
      c_.out.flush();
      events.reset();
      link.Detach();
      if (!WaitForMouse(link, events)) break;
      link.ReadSensorSettings();
      c_.out << TimeStamp() << " " << texts[TextId::kMouseDetected] << "\n";
      c_.out.flush();
    }
    std::lock_guard lock(gListenMutex);
    gListening = false;
    gListenPort = nullptr;
    return kExitOk;
  }

  // False when an interrupt came: the listener must not wait again.
  static bool SetListenPort(EventPort* port) {
    std::lock_guard lock(gListenMutex);
    gListenPort = port;
    return !gListenInterrupted;
  }

  // Looks for the mouse again until it is back with both collections (true)
  // or an interrupt comes (false).
  bool WaitForMouse(MouseLink& link, std::unique_ptr<EventPort>& events) {
    for (;;) {
      {
        std::unique_lock lock(gListenMutex);
        if (gListenWake.wait_for(lock, kRediscoveryInterval, [] { return gListenInterrupted; }))
          return false;
      }
      OpenedMouse mouse = backend_->FindDevice();
      if (mouse.command && mouse.events) {
        link.Attach(std::move(mouse.command));
        events = std::move(mouse.events);
        return true;
      }
    }
  }

  // As the macro editor's Confirm does after writing a macro: every macro of
  // record.ini into the slots, in file order; then config.bin is saved.
  int EncodeMacroSlots() {
    SettingsState state;
    if (!LoadSettingsFile(state)) return kExitFileProblem;
    const std::string& store = o_.paths.macroStore;
    if (!PathExists(store)) {
      c_.err << "vortalctl: " << store << " does not exist: there are no macros to encode. "
             << "Record them in the window's macro editor first.\n";
      return kExitFileProblem;
    }
    MacroEncodeResult result = EncodeMacros(store, state.working);
    for (const std::string& name : result.cutMacros)
      c_.err << "vortalctl: macro \"" << name << "\" does not fit in its slot; its last events "
             << "were left out.\n";
    for (const std::string& name : result.droppedMacros)
      c_.err << "vortalctl: macro \"" << name << "\" is beyond the mouse's twelve slots and was "
             << "not encoded.\n";
    if (!SaveSettings(o_.paths.settingsFile, state, messages_)) {
      c_.err << "vortalctl: " << o_.paths.settingsFile << " could not be saved.\n";
      return kExitFileProblem;
    }
    c_.out << "Encoded " << result.slotsWritten << (result.slotsWritten == 1 ? " macro" : " macros")
           << " into " << o_.paths.settingsFile << "; the next apply sends them to the mouse.\n";
    return kExitOk;
  }

  static std::string TimeStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const int ms =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
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

  CtlContext& c_;
  const Options& o_;
  StreamMessages messages_;
  std::unique_ptr<HidBackend> backend_;
};

}  // namespace

bool InterruptListen() {
  std::lock_guard lock(gListenMutex);
  if (!gListening) return false;
  gListenInterrupted = true;
  if (gListenPort) gListenPort->Cancel();
  gListenWake.notify_all();
  return true;
}

int RunVortalctl(const std::vector<std::string>& args, CtlContext& context) {
  Options options;
  options.paths = context.defaultPaths;
  auto usageError = [&](const std::string& problem) {
    context.err << "vortalctl: " << problem << "\n\n" << kUsage;
    return kExitUsage;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      context.out << kUsage;
      return kExitOk;
    }
    if (arg == "--dir" || arg == "--count") {
      if (i + 1 >= args.size()) return usageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--dir") {
        if (!IsDirectory(value)) return usageError("--dir " + value + ": no such folder");
        options.paths.settingsFile = Join(value, "config.bin");
        options.paths.macroStore = Join(value, "record.ini");
        options.paths.skinSettings = Join(value, "str.ini");
        options.paths.programDir = Join(value, "");
      } else {
        std::size_t used = 0;
        long n = -1;
        try {
          n = std::stol(value, &used);
        } catch (...) {
          used = 0;
        }
        if (used != value.size() || n < 0)
          return usageError("--count needs a whole number, not " + value);
        options.count = n;
      }
      continue;
    }
    if (!arg.empty() && arg[0] == '-') return usageError("unknown option " + arg);
    if (!options.command.empty())
      return usageError("one command at a time: " + options.command + ", " + arg);
    options.command = arg;
  }
  if (options.command.empty()) return usageError("no command given");
  if (options.count >= 0 && options.command != "listen")
    return usageError("--count belongs to listen");
  return Commands(context, options).Run();
}

}  // namespace vortal
