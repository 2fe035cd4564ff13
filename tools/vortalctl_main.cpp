#include "tools/vortalctl_main.h"

#include <algorithm>
#include <ostream>

#include "device/device_commands.h"
#include "edit/setting_text.h"
#include "files/file_io.h"
#include "tools/ctl_commands.h"
#include "vortal_version.h"

namespace vortal {
namespace {

constexpr std::size_t kUsageWidth = 78;
constexpr std::size_t kSynopsisColumn = 24;

constexpr std::string_view kUsageHead =
    "Usage: vortalctl [--dir DIR] [--sensor N] [--apply] COMMAND [ARGUMENTS]\n"
    "       vortalctl --version\n"
    "\n"
    "Works on config.bin, record.ini and str.ini in DIR (default: the folder of\n"
    "the program). Changes are saved at once; --apply also writes them into the\n"
    "mouse, as OK/Apply in the window does.\n";

// What each setting's value is, by the name's stem; the names themselves
// come from the grammar, so a setting without a line here is still listed.
struct SettingHelp {
  std::string_view stem;
  std::string_view values;
};
constexpr SettingHelp kSettingHelp[] = {
    {"mode-a.button", "a function of the window's list, with its parameters: Left Click, Right "
                      "Click, Mid Click, Forward, Backward, Triple-click, RGB On/Off, Shift, Key "
                      "Off; DPI Switch action=DPI +|DPI -|DPI Loop; Windows function=NAME; "
                      "Multimedia function=NAME; Fire Key key=KEY speed=5..255 times=0..255; "
                      "Single Key key=KEY; Combo Key modifier=NAME key1=KEY key2=KEY; Macro Key "
                      "repeat=1..3 macro=NAME"},
    {"mode-b.button", "as mode-a"},
    {"rate", "125, 250, 500 or 1000 (Hz)"},
    {"dpi.", "on or off, and a DPI of the sensor or level=N"},
    {"lighting", "Standard Mode, Respiration Mode or Neon Mode, with brightness=5%..100%, "
                 "speed=8S..4S, time=0.5S..15S"},
    {"loop-color.", "on or off, and #RRGGBB or a colour name"},
    {"dpi-led.", "the squares lit for the DPI stage: 1,3 or none"},
    {"pointer.speed", "steps 1..11"},
    {"pointer.wheel-lines", "steps 0..11"},
    {"pointer.double-click", "steps 1..11"},
    {"pointer.precision", "on or off"},
    {"pointer.page-scroll", "on or off"},
};

constexpr std::string_view kUsageNames =
    "Names are those of the window's lists, in any letter case. DPI values need\n"
    "the mouse plugged in or its sensor type given with --sensor 0..3.\n";

ProgramPaths PathsInFolder(const std::string& dir) {
  ProgramPaths paths;
  paths.settingsFile = JoinPath(dir, "config.bin");
  paths.macroStore = JoinPath(dir, "record.ini");
  paths.skinSettings = JoinPath(dir, "str.ini");
  paths.programDir = JoinPath(dir, "");
  paths.profilesDir = JoinPath(dir, "Profiles");
  return paths;
}

// Words of `text` in lines of at most kUsageWidth, each after `indent` blanks.
std::string Wrapped(std::string_view text, std::size_t indent) {
  std::string out;
  std::string line(indent, ' ');
  for (const std::string& word : SplitWords(text)) {
    if (line.size() > indent && line.size() + 1 + word.size() > kUsageWidth) {
      out += line + "\n";
      line.assign(indent, ' ');
    }
    if (line.size() > indent) line += ' ';
    line += word;
  }
  return out + line + "\n";
}

std::string FormText(const CtlForm& form) {
  std::string text = "  " + std::string(form.synopsis);
  std::string_view summary = form.summary;
  bool first = true;
  while (!summary.empty() || first) {
    const std::size_t end = summary.find('\n');
    const std::string_view part = summary.substr(0, end);
    if (first && text.size() < kSynopsisColumn) {
      text.append(kSynopsisColumn - text.size(), ' ');
    } else {
      text += "\n" + std::string(kSynopsisColumn, ' ');
    }
    text += part;
    first = false;
    summary = end == std::string_view::npos ? std::string_view() : summary.substr(end + 1);
  }
  return text + "\n";
}

std::string SettingsText() {
  std::string text = "Settings:\n";
  for (const SettingGroup& group : SettingGroups())
    text += "  " + group.names + "\n" + Wrapped(group.values, 6);
  return text;
}

}  // namespace

std::vector<SettingGroup> SettingGroups() {
  // The name runs of one description are listed together.
  const std::string runs = NameRuns(SettingNames());
  std::vector<SettingGroup> groups;
  std::size_t start = 0;
  while (start < runs.size()) {
    std::size_t end = runs.find(", ", start);
    if (end == std::string::npos) end = runs.size();
    const std::string run = runs.substr(start, end - start);
    std::string_view values;
    for (const SettingHelp& help : kSettingHelp)
      if (run.rfind(help.stem, 0) == 0) values = help.values;
    if (values == "as mode-a" && !groups.empty()) {
      groups.back().names += ", " + run;
    } else if (!groups.empty() && groups.back().values == values) {
      groups.back().names += ", " + run;
    } else {
      groups.push_back({run, values});
    }
    start = end + 2;
  }
  return groups;
}

std::vector<CtlCommand> AllCommands() {
  std::vector<CtlCommand> all = SetupCommands();
  for (auto group : {MacroCommands(), MouseCommands(), ProfileCommands()})
    all.insert(all.end(), group.begin(), group.end());
  return all;
}

const CtlCommand* FindCommand(const std::vector<CtlCommand>& commands, std::string_view name) {
  for (const CtlCommand& command : commands)
    if (command.name == name) return &command;
  return nullptr;
}

std::string UsageText(const std::vector<CtlCommand>& commands) {
  std::string text(kUsageHead);
  text += "\nCommands:\n";
  for (const CtlCommand& command : commands)
    for (const CtlForm& form : command.forms) text += FormText(form);
  text += FormText({"help [COMMAND]", "print this text, or one command's forms"});
  text += '\n';
  text += SettingsText();
  text += kUsageNames;
  text += "\nExamples:\n";
  for (std::string_view example : kCtlExamples) text += "  " + std::string(example) + "\n";
  text += "\nExit codes:\n";
  for (const CtlExitCode& code : kCtlExitCodes)
    text += "  " + std::to_string(code.code) + "  " + std::string(code.meaning) + "\n";
  return text;
}

bool ListenInterrupt::Interrupt() {
  std::lock_guard lock(mutex_);
  if (!listening_) return false;
  interrupted_ = true;
  if (port_) port_->Cancel();
  wake_.notify_all();
  return true;
}

void ListenInterrupt::Begin() {
  std::lock_guard lock(mutex_);
  listening_ = true;
  interrupted_ = false;
}

void ListenInterrupt::End() {
  std::lock_guard lock(mutex_);
  listening_ = false;
  port_ = nullptr;
}

bool ListenInterrupt::SetPort(EventPort* port) {
  std::lock_guard lock(mutex_);
  port_ = port;
  return !interrupted_;
}

bool ListenInterrupt::WaitInterrupted(std::chrono::milliseconds time) {
  std::unique_lock lock(mutex_);
  return wake_.wait_for(lock, time, [this] { return interrupted_; });
}

int RunVortalctl(const std::vector<std::string>& args, CtlContext& context) {
  const std::vector<CtlCommand> commands = AllCommands();
  CtlOptions options;
  options.paths = context.defaultPaths;
  auto usageError = [&](const std::string& problem) {
    context.err << "vortalctl: " << problem << "\n";
    return kExitUsage;
  };
  bool optionsEnded = false;
  bool help = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool option = !optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0;
    if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      help = true;
      continue;
    }
    if (!optionsEnded && arg == "--version") {
      context.out << "vortalctl " << kVortalVersion << "\n";
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
    if (option && arg == "--default") {
      options.useDefault = true;
      continue;
    }
    if (option && (arg == "--dir" || arg == "--count" || arg == "--sensor")) {
      if (i + 1 >= args.size()) return usageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--dir") {
        if (!IsDirectory(value)) return usageError("--dir " + value + ": no such folder");
        options.paths = PathsInFolder(value);
        continue;
      }
      const int n = WholeNumber(value).value_or(-1);
      if (arg == "--count") {
        if (n < 0) return usageError("--count needs a whole number, not " + value);
        options.count = n;
      } else {
        if (n < 0 || n > 255 || DpiTableOf(static_cast<std::uint8_t>(n)).count == 0)
          return usageError("--sensor needs a sensor type the program knows (0 to 3), not " + value);
        options.sensorType = static_cast<std::uint8_t>(n);
      }
      continue;
    }
    if (option)
      return usageError("unknown option " + arg + "; the options are --dir, --sensor, --apply, " +
                        "--count, --default, --help and --version." +
                        DidYouMean(arg, {"--dir", "--sensor", "--apply", "--count", "--default", "--help",
                                         "--version"}));
    if (options.command.empty()) {
      options.command = arg;
    } else {
      options.operands.push_back(arg);
    }
  }

  std::vector<std::string> names;
  for (const CtlCommand& command : commands) names.emplace_back(command.name);
  names.emplace_back("help");
  if (help || options.command == "help") {
    const std::string topic = options.command == "help" && !options.operands.empty()
                                  ? options.operands.front()
                                  : std::string();
    if (topic.empty()) {
      context.out << UsageText(commands);
      return kExitOk;
    }
    const CtlCommand* command = FindCommand(commands, topic);
    if (!command)
      return usageError("there is no command \"" + topic + "\"." + DidYouMean(topic, names));
    for (const CtlForm& form : command->forms) context.out << FormText(form);
    return kExitOk;
  }
  if (options.command.empty()) {
    context.err << "vortalctl: no command given\n\n" << UsageText(commands);
    return kExitUsage;
  }
  const CtlCommand* command = FindCommand(commands, options.command);
  if (!command)
    return usageError("unknown command \"" + options.command + "\"." +
                      DidYouMean(options.command, names) + " vortalctl help lists the commands.");
  if (options.count >= 0 && !command->takesCount)
    return usageError("--count belongs to listen");
  if (!options.operands.empty() && !command->takesOperands)
    return usageError(options.command + " takes no arguments, not \"" + options.operands.front() +
                      "\" (one command at a time).");
  if (options.useDefault && command->name != "profile")
    return usageError("--default belongs to profile use");
  if (options.apply && !command->changesSetup)
    return usageError("--apply belongs to set, macro and import");
  CtlSession session(context, options);
  return command->run(session);
}

}  // namespace vortal
