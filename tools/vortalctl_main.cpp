#include "tools/vortalctl_main.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <ostream>

#include <algorithm>
#include <optional>

#include "assign/assignment_dispatcher.h"
#include "device/device_commands.h"
#include "edit/profile.h"
#include "edit/setting_text.h"
#include "files/text_encoding.h"
#include "macro/macro_changes.h"
#include "device/device_events.h"
#include "device/mouse_link.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "files/file_io.h"
#include "settings/settings_file.h"
#include "tools/settings_report.h"
#include "settings/skin_settings.h"
#include "setup/button_action.h"
#include "texts/texts.h"

namespace vortal {
namespace {

constexpr const char* kUsage =
    "Usage: vortalctl [--dir DIR] [--sensor N] [--apply] COMMAND [ARGUMENTS]\n"
    "\n"
    "Works on config.bin, record.ini and str.ini in DIR (default: the folder of\n"
    "the program). Changes are saved at once; --apply also writes them into the\n"
    "mouse, as OK/Apply in the window does.\n"
    "\n"
    "Commands:\n"
    "  get [NAME...]         print settings as NAME = VALUE (all, one, or a group\n"
    "                        such as dpi, mode-a, pointer)\n"
    "  set NAME VALUE...     change one setting; VALUE is written as get prints it\n"
    "  names [LIST]          print the names a value may use (functions, keys ...)\n"
    "  macro list            print the macros with their loop counts\n"
    "  macro show NAME       print a macro's events\n"
    "  macro set NAME EVENTS add or replace a macro: \"A Dn, 50 ms, A Up\"\n"
    "  macro loop NAME N     play the macro N times (1 to 65535)\n"
    "  macro delete NAME     delete a macro; its buttons become Key Off\n"
    "  export FILE           write the whole setup into a profile file\n"
    "  import FILE           read a profile file back (checked before anything\n"
    "                        changes)\n"
    "  apply                 write config.bin into the mouse, then save config.bin\n"
    "                        and the button texts\n"
    "  show                  print what config.bin holds\n"
    "  listen [--count N]    print the mouse's notices as they come, until\n"
    "                        interrupted or N notices were printed\n"
    "  sensor                print the sensor settings the mouse reports\n"
    "  encode-macros         encode the macros of record.ini into config.bin's\n"
    "                        macro slots (sent to the mouse by the next apply)\n"
    "  --help                print this text\n"
    "\n"
    "Settings:\n"
    "  mode-a.button1 .. mode-b.button8   a function of the window's list, with\n"
    "      its parameters: Left Click, Right Click, Mid Click, Forward, Backward,\n"
    "      Triple-click, RGB On/Off, Shift, Key Off; DPI Switch action=DPI +|DPI -|\n"
    "      DPI Loop; Windows function=NAME; Multimedia function=NAME;\n"
    "      Fire Key key=KEY speed=5..255 times=0..255; Single Key key=KEY;\n"
    "      Combo Key modifier=NAME key1=KEY key2=KEY;\n"
    "      Macro Key repeat=1..3 macro=NAME\n"
    "  rate                125, 250, 500 or 1000 (Hz)\n"
    "  dpi.1 .. dpi.4      on or off, and a DPI of the sensor or level=N\n"
    "  lighting            Standard Mode, Respiration Mode or Neon Mode, with\n"
    "                      brightness=5%..100%, speed=8S..4S, time=0.5S..15S\n"
    "  loop-color.1 .. 8   on or off, and #RRGGBB or a colour name\n"
    "  dpi-led.1 .. 4      the squares lit for the DPI stage: 1,3 or none\n"
    "  pointer.speed, pointer.wheel-lines, pointer.double-click   steps 1..11\n"
    "                      (wheel lines 0..11)\n"
    "  pointer.precision, pointer.page-scroll                     on or off\n"
    "Names are those of the window's lists, in any letter case. DPI values need\n"
    "the mouse plugged in or its sensor type given with --sensor 0..3.\n"
    "\n"
    "Examples:\n"
    "  vortalctl set mode-a.button4 Fire Key key=A speed=30 times=5\n"
    "  vortalctl set mode-b.button3 Combo Key modifier=Left Ctrl key1=C\n"
    "  vortalctl --apply set dpi.2 on 1600\n"
    "  vortalctl get dpi\n"
    "  vortalctl macro set Reload \"R Dn, 50 ms, R Up\"\n"
    "  vortalctl export ~/mouse/shooter.ini\n"
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  the mouse was not found, did not answer or went away\n"
    "  2  unknown command or option, or a value not accepted (nothing written)\n"
    "  3  a file is missing, has the wrong size or could not be written\n";


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
  std::vector<std::string> operands;  // the command's arguments
  long count = -1;                    // listen: notices to print, -1 for no limit
  std::optional<std::uint8_t> sensorType;
  bool apply = false;
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
    if (o_.command == "get") return Get();
    if (o_.command == "set") return Set();
    if (o_.command == "names") return Names();
    if (o_.command == "macro") return Macro();
    if (o_.command == "export") return Export();
    if (o_.command == "import") return Import();
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
        SkinSettingsValues values = LoadSkinSettings(o_.paths.skinSettings, SkinSection());
        textsFailed = !SavePaneTexts(o_.paths.skinSettings, SkinSection(), values.paneText);
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


  // ---- Editing

  std::string_view SkinSection() const { return texts_[TextId::kSkinSection]; }

  int Usage(const std::string& problem) {
    c_.err << "vortalctl: " << problem << "\n";
    return kExitUsage;
  }

  // The setup the window would show: config.bin and the button texts of the
  // user's language.
  bool LoadSetup(SettingsState& state, WorkingSetup& setup) {
    if (!LoadSettingsFile(state)) return false;
    setup.record = state.working;
    setup.panes = LoadSkinSettings(o_.paths.skinSettings, SkinSection()).paneText;
    // A delivered config.bin gets the default pane texts, as in the window.
    if (state.firstRunFlag == 0) SetDefaultPaneTexts(setup.panes, texts_, kDeviceButtons);
    return true;
  }

  // The sensor type for DPI values: --sensor, else the mouse's answer (only
  // the sensor query is sent); nothing when neither is there.
  std::optional<std::uint8_t> SensorType() {
    if (o_.sensorType) return o_.sensorType;
    SilentMessages silent;
    std::unique_ptr<HidBackend> backend = c_.makeBackend(silent);
    OpenedMouse mouse = backend ? backend->FindDevice() : OpenedMouse{};
    if (!mouse.command) return std::nullopt;
    MouseLink link(c_.pauser);
    link.Attach(std::move(mouse.command));
    if (!link.ReadSensorSettings()) return std::nullopt;
    return link.sensorType();
  }

  SettingContext Context(std::optional<std::uint8_t> sensorType) const {
    return SettingContext{texts_, sensorType, ListMacroNames(o_.paths.macroStore), false};
  }

  // Saves config.bin, then the button texts; then --apply writes the mouse.
  int SaveSetup(SettingsState& state, const WorkingSetup& setup) {
    state.working = setup.record;
    if (!SaveSettings(o_.paths.settingsFile, state, messages_)) {
      c_.err << "vortalctl: " << o_.paths.settingsFile << " could not be saved; nothing changed.\n";
      return kExitFileProblem;
    }
    if (!SavePaneTexts(o_.paths.skinSettings, SkinSection(), setup.panes)) {
      c_.err << "vortalctl: config.bin was saved, but the button texts could not be saved to "
             << o_.paths.skinSettings << ".\n";
      return kExitFileProblem;
    }
    return o_.apply ? Apply() : kExitOk;
  }

  int Get() {
    SettingsState state;
    WorkingSetup setup;
    if (!LoadSetup(state, setup)) return kExitFileProblem;
    std::vector<std::string> names;
    for (const std::string& query : o_.operands) {
      const std::vector<std::string> matching = SettingNamesMatching(query);
      if (matching.empty())
        return Usage("\"" + query + "\" is no setting or group of settings; vortalctl get lists "
                     "them all.");
      names.insert(names.end(), matching.begin(), matching.end());
    }
    if (o_.operands.empty()) names = SettingNames();
    bool dpi = false;
    for (const std::string& name : names) dpi = dpi || name.rfind("dpi.", 0) == 0;
    const SettingContext context = Context(dpi ? SensorType() : std::nullopt);
    for (const std::string& name : names)
      c_.out << name << " = " << SettingValue(setup.record, name, context) << "\n";
    return kExitOk;
  }

  int Set() {
    if (o_.operands.size() < 2) return Usage("set needs a setting and its value: set NAME VALUE...");
    SettingsState state;
    WorkingSetup setup;
    if (!LoadSetup(state, setup)) return kExitFileProblem;
    const std::string& name = o_.operands.front();
    const std::vector<std::string> words(o_.operands.begin() + 1, o_.operands.end());
    // The mouse is asked for its sensor only when a DPI is given.
    const bool needsSensor = name.rfind("dpi.", 0) == 0 &&
                             std::any_of(words.begin(), words.end(), [](const std::string& w) {
                               return w.rfind("level=", 0) != 0 && w != "on" && w != "off";
                             });
    const SettingContext context = Context(needsSensor ? SensorType() : o_.sensorType);
    const std::string problem = ChangeSetting(setup, name, words, context);
    if (!problem.empty()) return Usage(problem);
    const int saved = SaveSetup(state, setup);
    if (saved == kExitOk) c_.out << name << " = " << SettingValue(setup.record, name, context) << "\n";
    return saved;
  }

  int Names() {
    if (o_.operands.size() > 1) return Usage("names takes one list at a time");
    if (o_.operands.empty()) {
      for (const std::string& list : ListNames()) c_.out << list << "\n";
      return kExitOk;
    }
    const auto names = NamesOfList(o_.operands.front());
    if (!names) {
      std::string lists;
      for (const std::string& list : ListNames()) lists += (lists.empty() ? "" : ", ") + list;
      return Usage("\"" + o_.operands.front() + "\" is no list; the lists are " + lists + ".");
    }
    for (const std::string& name : *names) c_.out << name << "\n";
    return kExitOk;
  }

  // The stored macro of that name (exact first, then in any letter case).
  std::optional<std::size_t> FindMacro(const std::vector<std::string>& names,
                                       const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return i;
    for (std::size_t i = 0; i < names.size(); ++i)
      if (EqualsIgnoreCase(Utf8ToUtf16(names[i]), Utf8ToUtf16(name))) return i;
    return std::nullopt;
  }

  int Macro() {
    const std::vector<std::string>& a = o_.operands;
    const std::string verb = a.empty() ? std::string() : a[0];
    const std::vector<std::string> names = ListMacroNames(o_.paths.macroStore);
    if (verb == "list" && a.size() == 1) {
      SettingsState state;
      if (!LoadSettingsFile(state)) return kExitFileProblem;
      for (const ProfileMacro& macro : MacrosOfSetup(o_.paths.macroStore, state.working))
        c_.out << macro.name << " (" << macro.loopCount << (macro.loopCount == 1 ? " time" : " times")
               << ")\n";
      return kExitOk;
    }
    if ((verb == "show" || verb == "delete") && a.size() == 2) {
      const auto index = FindMacro(names, a[1]);
      if (!index) return Usage(NoMacro(a[1], names));
      if (verb == "show") {
        c_.out << DescribeMacroLines(ReadMacro(o_.paths.macroStore, names[*index])) << "\n";
        return kExitOk;
      }
      return ChangeMacros([&](SettingsRecord& record) {
        return RemoveMacro(o_.paths.macroStore, record, names, names[*index]);
      }, "Deleted macro \"" + names[*index] + "\"");
    }
    if (verb == "loop" && a.size() == 3) {
      const auto index = FindMacro(names, a[1]);
      if (!index) return Usage(NoMacro(a[1], names));
      const int count = WholeNumber(a[2]).value_or(0);
      if (count < 1 || count > kMaxLoopCount)
        return Usage("macro loop: \"" + a[2] + "\" is not a whole number from 1 to " +
                     std::to_string(kMaxLoopCount) + ".");
      if (*index >= static_cast<std::size_t>(kMacroSlots))
        return Usage("macro \"" + names[*index] + "\" is beyond the mouse's twelve slots.");
      SettingsState state;
      WorkingSetup setup;
      if (!LoadSetup(state, setup)) return kExitFileProblem;
      SetSlotLoopCount(setup.record, static_cast<int>(*index), static_cast<int>(count));
      const int saved = SaveSetup(state, setup);
      if (saved == kExitOk)
        c_.out << "Macro \"" << names[*index] << "\" plays " << count
               << (count == 1 ? " time.\n" : " times.\n");
      return saved;
    }
    if (verb == "set" && a.size() >= 3) {
      std::string text;
      for (std::size_t i = 2; i < a.size(); ++i) text += (i > 2 ? " " : "") + a[i];
      std::string problem;
      const auto lines = ParseMacroEvents(text, problem);
      if (!lines) return Usage("macro set: " + problem);
      std::vector<std::string> listed = names;
      std::string name = a[1];
      if (const auto index = FindMacro(names, a[1])) {
        name = names[*index];
      } else {
        // A new macro: the rules of the editor's "New".
        MacroEditorState state;
        state.names = names;
        state.nameField = name;
        if (Utf8ToUtf16(name).size() > kMacroNameMaxChars)
          return Usage(std::string(texts_[TextId::kMacroNameTooLong]));
        switch (NewMacro(state)) {
          case NewMacroResult::kAdded: break;
          case NewMacroResult::kNameBlank: return Usage(std::string(texts_[TextId::kMacroNameBlank]));
          case NewMacroResult::kNameInvalid:
            return Usage(std::string(texts_[TextId::kMacroNameInvalid]));
          case NewMacroResult::kTooMany: return Usage(kMacroLimitMessage);
          case NewMacroResult::kNameExists:
            return Usage(std::string(texts_[TextId::kMacroNameExists]));
        }
        name = state.names.back();
        listed = state.names;
      }
      return ChangeMacros([&](SettingsRecord& record) {
        // A new name takes its slot (loop count 1) before it is stored, as
        // after the editor's "New".
        const std::vector<RecordButton> off = FollowMacroSlots(record, names, listed);
        MacroChange change = StoreMacro(o_.paths.macroStore, record, listed, name, *lines);
        change.keyOff.insert(change.keyOff.begin(), off.begin(), off.end());
        return change;
      }, "Stored macro \"" + name + "\"");
    }
    return Usage("macro takes list, show NAME, set NAME EVENTS, loop NAME N or delete NAME");
  }

  static std::string NoMacro(const std::string& name, const std::vector<std::string>& names) {
    std::string known;
    for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
    return "there is no macro \"" + name + "\"" +
           (names.empty() ? std::string(": there are no macros yet.") : "; the macros are " + known + ".");
  }

  // Runs a change of record.ini on the loaded setup and saves what followed.
  template <typename Change>
  int ChangeMacros(Change change, const std::string& done) {
    SettingsState state;
    WorkingSetup setup;
    if (!LoadSetup(state, setup)) return kExitFileProblem;
    const MacroChange changed = change(setup.record);
    switch (changed.problem) {
      case MacroChangeProblem::kNone: break;
      case MacroChangeProblem::kTooLongForMouse:
        return Usage(std::string(texts_[TextId::kMacroTooLongForMouse]));
      case MacroChangeProblem::kNotSaved:
      case MacroChangeProblem::kNotDeleted:
        c_.err << "vortalctl: " << o_.paths.macroStore << " could not be written; nothing changed.\n";
        return kExitFileProblem;
    }
    ShowKeyOffLabels(setup.panes, changed.keyOff, texts_);
    for (const RecordButton& off : changed.keyOff) {
      c_.out << (off.mode == 0 ? "mode-a" : "mode-b") << ".button" << off.button + 1
             << " = Key Off (its macro is gone)\n";
    }
    for (const std::string& name : changed.encoded.droppedMacros)
      c_.err << "vortalctl: macro \"" << name << "\" is beyond the mouse's twelve slots.\n";
    const int saved = SaveSetup(state, setup);
    if (saved == kExitOk) c_.out << done << ".\n";
    return saved;
  }

  int Export() {
    if (o_.operands.size() != 1) return Usage("export needs the profile file to write: export FILE");
    SettingsState state;
    Profile profile;
    if (!LoadSetup(state, profile.setup)) return kExitFileProblem;
    profile.macros = MacrosOfSetup(o_.paths.macroStore, state.working);
    if (!WriteProfile(o_.operands.front(), profile, texts_)) {
      c_.err << "vortalctl: " << o_.operands.front() << " could not be written.\n";
      return kExitFileProblem;
    }
    c_.out << "Exported the setup to " << o_.operands.front() << ".\n";
    return kExitOk;
  }

  int Import() {
    if (o_.operands.size() != 1) return Usage("import needs the profile file to read: import FILE");
    const std::string& path = o_.operands.front();
    if (!PathExists(path)) {
      c_.err << "vortalctl: " << path << " does not exist.\n";
      return kExitFileProblem;
    }
    SettingsState state;
    WorkingSetup base;
    if (!LoadSetup(state, base)) return kExitFileProblem;
    std::string problem;
    std::optional<Profile> profile = ReadProfile(path, base, texts_, SensorType(), problem);
    if (!profile) return Usage(problem);
    if (!StoreProfileMacros(o_.paths.macroStore, profile->macros, profile->setup.record)) {
      c_.err << "vortalctl: " << o_.paths.macroStore << " could not be written; nothing changed.\n";
      return kExitFileProblem;
    }
    const int saved = SaveSetup(state, profile->setup);
    if (saved == kExitOk || (o_.apply && saved == kExitNoMouse))
      c_.out << "Imported " << path << ".\n";
    return saved;
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
  LocalizedTexts texts_{c_.language};
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
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool option = !optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0;
    if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      context.out << kUsage;
      return kExitOk;
    }
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (option && arg == "--apply") {
      options.apply = true;
      continue;
    }
    if (option && (arg == "--dir" || arg == "--count" || arg == "--sensor")) {
      if (i + 1 >= args.size()) return usageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--dir") {
        if (!IsDirectory(value)) return usageError("--dir " + value + ": no such folder");
        options.paths.settingsFile = Join(value, "config.bin");
        options.paths.macroStore = Join(value, "record.ini");
        options.paths.skinSettings = Join(value, "str.ini");
        options.paths.programDir = Join(value, "");
        continue;
      }
      const int n = WholeNumber(value).value_or(-1);
      if (arg == "--count") {
        if (n < 0)
          return usageError("--count needs a whole number, not " + value);
        options.count = n;
      } else {
        if (n < 0 || n > 255 || DpiTableOf(static_cast<std::uint8_t>(n)).count == 0)
          return usageError("--sensor needs a sensor type the program knows (0 to 3), not " + value);
        options.sensorType = static_cast<std::uint8_t>(n);
      }
      continue;
    }
    if (option) return usageError("unknown option " + arg);
    if (options.command.empty()) {
      options.command = arg;
    } else {
      options.operands.push_back(arg);
    }
  }
  if (options.command.empty()) return usageError("no command given");
  if (options.count >= 0 && options.command != "listen")
    return usageError("--count belongs to listen");
  static const std::vector<std::string> kTakesOperands = {"get", "set", "names", "macro", "export",
                                                          "import"};
  const bool takesOperands = std::find(kTakesOperands.begin(), kTakesOperands.end(),
                                       options.command) != kTakesOperands.end();
  if (!options.operands.empty() && !takesOperands)
    return usageError("one command at a time: " + options.command + ", " + options.operands.front());
  static const std::vector<std::string> kChanges = {"set", "macro", "import"};
  if (options.apply &&
      std::find(kChanges.begin(), kChanges.end(), options.command) == kChanges.end())
    return usageError("--apply belongs to set, macro and import");
  return Commands(context, options).Run();
}

}  // namespace vortal
