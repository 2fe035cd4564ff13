// Writes vortalctl's manual page (roff) and the data of its bash completion
// from the command table, the setting names and the name lists, so neither
// can part from the program it is built with. Run by the build, not
// installed.
//
//   vortalctl_docs man DATE      the manual page vortalctl(1)
//   vortalctl_docs completion    bash arrays for dist/linux/vortalctl-completion.bash
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "edit/setting_text.h"
#include "tools/ctl_commands.h"
#include "vortal_version.h"

namespace vortal {
namespace {

// Text for roff: backslashes and minus signs escaped, a leading dot or quote
// kept from reading as a request.
std::string Roff(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

void WriteManual(std::ostream& out, std::string_view date) {
  const std::vector<CtlCommand> commands = AllCommands();
  out << ".TH VORTALCTL 1 \"" << date << "\" \"Vortal " << kVortalVersion
      << "\" \"User Commands\"\n"
      << ".SH NAME\nvortalctl \\- settings, macros and profiles of the Vortal gaming mouse\n"
      << ".SH SYNOPSIS\n.B vortalctl\n"
      << "[\\fB\\-\\-dir\\fR \\fIDIR\\fR] [\\fB\\-\\-sensor\\fR \\fIN\\fR] [\\fB\\-\\-apply\\fR] "
         "\\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n.br\n.B vortalctl \\-\\-version\n"
      << ".SH DESCRIPTION\n"
      << "vortalctl reads and changes every setting the Vortal window changes, through the same "
         "rules, in the files config.bin, record.ini and str.ini of a folder; each file is "
         "replaced whole, so an interrupted command never leaves half a file. With \\fB\\-\\-apply\\fR "
         "(or the \\fBapply\\fR command) it writes the settings into the mouse as OK and Apply "
         "in the window do.\n"
      << ".PP\nOn Linux the mouse is reached through its two hidraw nodes; the udev rule "
         "/usr/lib/udev/rules.d/70\\-vortal.rules gives them to the user at the seat (plug the "
         "mouse in again after installing it).\n"
      << ".SH OPTIONS\n"
      << ".TP\n\\fB\\-\\-dir\\fR \\fIDIR\\fR\nthe folder of config.bin, record.ini and str.ini "
         "(default: the folder of the program). The window started with \\fBvortal\\fR(1) keeps "
         "its files in ~/.local/share/vortal.\n"
      << ".TP\n\\fB\\-\\-sensor\\fR \\fIN\\fR\nthe mouse's sensor type (0 to 3), for DPI values "
         "without the mouse plugged in\n"
      << ".TP\n\\fB\\-\\-apply\\fR\nafter set, macro or import: write the result into the mouse\n"
      << ".TP\n\\fB\\-\\-count\\fR \\fIN\\fR\nlisten: stop after N notices\n"
      << ".TP\n\\fB\\-\\-help\\fR\nprint the usage\n"
      << ".TP\n\\fB\\-\\-version\\fR\nprint the version\n"
      << ".SH COMMANDS\n";
  for (const CtlCommand& command : commands)
    for (const CtlForm& form : command.forms)
      out << ".TP\n.B " << Roff(form.synopsis) << "\n" << Roff(form.summary) << "\n";
  out << ".TP\n.B help [COMMAND]\nprint the usage, or one command's forms\n"
      << ".SH SETTINGS\n"
      << "A value is a list of words: a name first (a function, a mode, on or off), then "
         "parameters as name=value. Names are those of the window's lists, in any letter case; "
         "\\fBvortalctl names\\fR \\fILIST\\fR prints them.\n";
  for (const SettingGroup& group : SettingGroups())
    out << ".TP\n.B " << Roff(group.names) << "\n" << Roff(group.values) << "\n";
  out << ".SH EXAMPLES\n.nf\n";
  for (std::string_view example : kCtlExamples) out << Roff(example) << "\n";
  out << ".fi\n.SH EXIT STATUS\n";
  for (const CtlExitCode& code : kCtlExitCodes)
    out << ".TP\n.B " << code.code << "\n" << Roff(code.meaning) << "\n";
  out << ".SH FILES\n"
      << ".TP\n.I config.bin\nthe settings record (2022 bytes), delivered with the program\n"
      << ".TP\n.I record.ini\nthe macros\n"
      << ".TP\n.I str.ini\nthe skin and the buttons' names in each language\n"
      << ".SH SEE ALSO\n\\fBvortal\\fR(1)\n";
}

// A bash word in single quotes.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void WriteArray(std::ostream& out, std::string_view name, const std::vector<std::string>& items) {
  out << name << "=(";
  for (std::size_t i = 0; i < items.size(); ++i) out << (i ? " " : "") << Quoted(items[i]);
  out << ")\n";
}

void WriteCompletionData(std::ostream& out) {
  const std::vector<CtlCommand> commands = AllCommands();
  std::vector<std::string> names, macroVerbs;
  for (const CtlCommand& command : commands) {
    names.emplace_back(command.name);
    if (command.name != "macro") continue;
    for (const CtlForm& form : command.forms) {
      const std::vector<std::string> words = SplitWords(form.synopsis);
      if (words.size() > 1) macroVerbs.push_back(words[1]);
    }
  }
  names.emplace_back("help");
  out << "# Generated by vortalctl_docs from vortalctl " << kVortalVersion << ".\n";
  WriteArray(out, "_vortalctl_commands", names);
  WriteArray(out, "_vortalctl_macro_verbs", macroVerbs);
  // Settings, and the groups get takes ("dpi", "mode-a").
  const std::vector<std::string> settings = SettingNames();
  std::set<std::string> groups;
  for (const std::string& name : settings)
    if (const std::size_t dot = name.find('.'); dot != std::string::npos)
      groups.insert(name.substr(0, dot));
  WriteArray(out, "_vortalctl_settings", settings);
  WriteArray(out, "_vortalctl_groups", {groups.begin(), groups.end()});
  WriteArray(out, "_vortalctl_lists", ListNames());
  for (const std::string& list : ListNames()) {
    std::string variable = "_vortalctl_list_" + list;
    for (char& c : variable)
      if (c == '-') c = '_';
    WriteArray(out, variable, NamesOfList(list).value_or(std::vector<std::string>{}));
  }
}

}  // namespace
}  // namespace vortal

int main(int argc, char** argv) {
  const std::string_view what = argc > 1 ? argv[1] : "";
  if (what == "man" && argc == 3) {
    vortal::WriteManual(std::cout, argv[2]);
  } else if (what == "completion" && argc == 2) {
    vortal::WriteCompletionData(std::cout);
  } else {
    std::cerr << "usage: vortalctl_docs man DATE | completion\n";
    return 2;
  }
  return std::cout.good() ? 0 : 1;
}
