#include "edit/profile.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>
#include <utility>

#include "assign/assignment_choices.h"
#include "files/file_io.h"
#include "files/profile_file.h"
#include "files/text_encoding.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"

namespace vortal {
namespace {

constexpr const char* kProfileSection = "Profile";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kLabelsSection = "Labels";
constexpr const char* kMacroSectionPrefix = "Macro";
constexpr const char* kFormatKey = "Format";
constexpr const char* kNameKey = "Name";
constexpr const char* kLoopKey = "Loop";
constexpr const char* kEventsKey = "Events";
constexpr const char* kProgramsKey = "Programs";
constexpr const char* kProfileExtension = ".ini";

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// "cs2.exe, valorant.exe": executable names between commas, blanks around
// them dropped; nothing at all is an empty list.
std::optional<std::vector<std::string>> ParsePrograms(const std::string& value, std::string& problem) {
  std::vector<std::string> programs;
  if (TrimBlanks(value).empty()) return programs;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = value.find(',', from);
    const std::string name = TrimBlanks(std::string_view(value).substr(from, comma - from));
    if (name.empty()) {
      problem = std::string(kProgramsKey) + "=" + value + ": a program is missing between commas; " +
                "name each executable once, as in " + kProgramsKey + "=cs2.exe, valorant.exe.";
      return std::nullopt;
    }
    if (name.find_first_of("/\\") != std::string::npos) {
      problem = std::string(kProgramsKey) + "=" + value + ": \"" + name + "\" is a path; name the " +
                "executable alone, as in " + kProgramsKey + "=cs2.exe.";
      return std::nullopt;
    }
    programs.push_back(name);
    if (comma == std::string::npos) return programs;
    from = comma + 1;
  }
}


std::string MacroSection(std::size_t index) {
  return kMacroSectionPrefix + std::to_string(index + 1);
}

// Where each section and key stands in the file, for the messages: the
// profile layer reads the values, this only counts lines the same way.
class LineNumbers {
 public:
  explicit LineNumbers(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return;
    const std::string text = Utf16ToUtf8(DecodeProfileText(*bytes));
    std::string section;
    int number = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
      std::size_t end = text.find_first_of("\r\n", from);
      if (end == std::string::npos) end = text.size();
      const std::string line = Trim(text.substr(from, end - from));
      ++number;
      if (!line.empty() && line[0] == '[') {
        section = LowerAscii(Trim(line.substr(1, line.find(']') - 1)));
        lines_.emplace(section, number);
      } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
        lines_.emplace(section + "\n" + LowerAscii(Trim(line.substr(0, equals))), number);
      }
      if (end == text.size()) break;
      from = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
  }

  std::string At(std::string_view section, std::string_view key = {}) const {
    std::string id = LowerAscii(section);
    if (!key.empty()) id.append(1, '\n').append(LowerAscii(key));
    const auto found = lines_.find(id);
    std::ostringstream named;
    if (found != lines_.end())
      named << "line " << found->second;
    else
      named << '[' << section << ']';
    return named.str();
  }

 private:
  static std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  }
  std::map<std::string, int> lines_;
};

// The name rules of the macro editor's "New" (blank, ']', twelve, a name
// twice), and its length limit.
std::string CheckMacroNames(const std::vector<ProfileMacro>& macros) {
  MacroEditorState state;
  for (const ProfileMacro& macro : macros) {
    state.nameField = macro.name;
    switch (NewMacro(state)) {
      case NewMacroResult::kAdded: break;
      case NewMacroResult::kNameBlank: return "a macro needs a name";
      case NewMacroResult::kNameTooLong:
        return "the name \"" + macro.name + "\" is longer than " +
               std::to_string(kMacroNameMaxChars) + " characters";
      case NewMacroResult::kNameInvalid: return "\"" + macro.name + "\" cannot hold ']'";
      case NewMacroResult::kTooMany: return kMacroLimitMessage;
      case NewMacroResult::kNameExists: return "the name \"" + macro.name + "\" is there twice";
    }
    if (state.names.back() != macro.name)
      return "the name \"" + macro.name + "\" has blanks around it";
  }
  return {};
}

}  // namespace

std::vector<ProfileMacro> MacrosOfSetup(const std::string& recordPath,
                                        const SettingsRecord& record) {
  const ProfileFile file(recordPath);
  std::vector<ProfileMacro> macros;
  for (const std::string& name : ListMacroNames(file)) {
    if (macros.size() == static_cast<std::size_t>(kMacroSlots)) break;
    const int slot = static_cast<int>(macros.size());
    // A slot not encoded yet (record.ini changed by hand or by another
    // program) holds no loop count: the macro plays once, as the editor's
    // Loop Times field takes a count below 1, and the profile stays readable.
    macros.push_back({name, std::max(1, SlotLoopCount(record, slot)), ReadMacro(file, name)});
  }
  return macros;
}

bool WriteProfile(const std::string& path, const Profile& profile, const LocalizedTexts& texts) {
  SettingContext context{texts, std::nullopt, {}, true};
  for (const ProfileMacro& macro : profile.macros) context.macroNames.push_back(macro.name);
  ProfileFile file(path);
  file.Clear(ProfileEncoding::kUtf8);
  using Entries = std::vector<std::pair<std::string, std::string>>;
  Entries settings;
  Entries labels;
  for (const std::string& name : SettingNames()) {
    settings.emplace_back(name, SettingValue(profile.setup.record, name, context));
  }
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int b = 0; b < kDeviceButtons; ++b) {
      labels.emplace_back(std::string(mode == 0 ? "mode-a" : "mode-b") + ".button" +
                              std::to_string(b + 1),
                          profile.setup.panes[static_cast<std::size_t>(mode)]
                                             [static_cast<std::size_t>(b)]);
    }
  }
  Entries head = {{kFormatKey, kProfileFormat}};
  if (!profile.programs.empty()) {
    std::string programs;
    for (const std::string& name : profile.programs) programs += (programs.empty() ? "" : ", ") + name;
    head.emplace_back(kProgramsKey, programs);
  }
  bool written = file.ReplaceSection(kProfileSection, head) &&
                 file.ReplaceSection(kSettingsSection, settings) &&
                 file.ReplaceSection(kLabelsSection, labels);
  for (std::size_t i = 0; written && i < profile.macros.size(); ++i) {
    const ProfileMacro& macro = profile.macros[i];
    written = file.ReplaceSection(MacroSection(i), {{kNameKey, macro.name},
                                                    {kLoopKey, std::to_string(macro.loopCount)},
                                                    {kEventsKey, DescribeMacroLines(macro.lines)}});
  }
  return written && file.Save();
}

std::optional<Profile> ReadProfile(const std::string& path, const WorkingSetup& base,
                                   const LocalizedTexts& texts,
                                   std::optional<std::uint8_t> sensorType,
                                   const std::vector<std::string>& currentMacros,
                                   std::string& error) {
  const ProfileFile file(path);
  const LineNumbers where(path);
  if (!file.exists() || !file.readable()) {
    error = path + " could not be read.";
    return std::nullopt;
  }
  const auto format = file.Find(kProfileSection, kFormatKey);
  if (!format || *format != kProfileFormat) {
    error = path + " is not a profile of this program: [" + kProfileSection + "] " + kFormatKey +
            "=" + kProfileFormat + " is missing.";
    return std::nullopt;
  }
  auto fail = [&](const std::string& at, const std::string& message) {
    error = path + ", " + at + ": " + message;
    return std::nullopt;
  };

  Profile profile;
  std::string problem;
  const auto programs = ParsePrograms(file.Find(kProfileSection, kProgramsKey).value_or(""), problem);
  if (!programs) return fail(where.At(kProfileSection, kProgramsKey), problem);
  profile.programs = *programs;
  // Every section must be one the format knows; the macros are numbered
  // from 1 without gaps.
  std::size_t macroSections = 0;
  for (const std::u16string& wide : file.SectionNames()) {
    const std::string section = Utf16ToUtf8(wide);
    const std::string lower = LowerAscii(section);
    if (lower == LowerAscii(kProfileSection) || lower == LowerAscii(kSettingsSection) ||
        lower == LowerAscii(kLabelsSection))
      continue;
    if (lower == LowerAscii(MacroSection(macroSections))) {
      ++macroSections;
      continue;
    }
    return fail(where.At(section), "[" + section + "] is no section of a profile; the sections are [" +
                                       kProfileSection + "], [" + kSettingsSection + "], [" +
                                       kLabelsSection + "] and [Macro1], [Macro2] ... in order.");
  }
  for (std::size_t i = 0; i < macroSections; ++i) {
    const std::string section = MacroSection(i);
    ProfileMacro macro;
    macro.name = file.Find(section, kNameKey).value_or("");
    const std::string loop = file.Find(section, kLoopKey).value_or("1");
    const int count = WholeNumber(loop).value_or(0);
    if (count < 1 || count > kMaxLoopCount)
      return fail(where.At(section, kLoopKey),
                  "Loop=" + loop + " is not a whole number from 1 to " +
                      std::to_string(kMaxLoopCount) + ".");
    macro.loopCount = count;
    const auto lines = ParseMacroEvents(file.Find(section, kEventsKey).value_or(""), problem);
    if (!lines) return fail(where.At(section, kEventsKey), problem);
    std::uint8_t scratch[kMacroSlotSize] = {};
    if (!EncodeMacroSlot(*lines, scratch))
      return fail(where.At(section, kEventsKey),
                  "the macro is too long for the mouse: its events must fit into " +
                      std::to_string(kMacroSlotSize - kMacroEventAreaStart) + " bytes.");
    macro.lines = *lines;
    profile.macros.push_back(std::move(macro));
  }
  if (problem = CheckMacroNames(profile.macros); !problem.empty())
    return fail(where.At(MacroSection(0)), problem + ".");

  SettingContext context{texts, sensorType, {}, true};
  profile.namesMacros = macroSections > 0;
  if (profile.namesMacros) {
    for (const ProfileMacro& macro : profile.macros) context.macroNames.push_back(macro.name);
  } else {
    context.macroNames = currentMacros;
  }
  profile.setup = base;
  SettingsRecord& record = profile.setup.record;
  const std::vector<std::string> names = SettingNames();
  const std::vector<ProfileFile::Entry> entries = file.Entries(u"Settings");
  // The file's buttons and DPI stages start from no function and from on, so
  // that the rules of one change at a time (one Shift a mode, one enabled
  // stage) judge the whole setup rather than the order of its lines.
  for (const ProfileFile::Entry& entry : entries) {
    const std::string key = LowerAscii(Utf16ToUtf8(entry.key));
    if (std::find(names.begin(), names.end(), key) == names.end())
      return fail(where.At(kSettingsSection, key), ChangeSetting(profile.setup, key, {}, context));
    if (key.rfind("mode-", 0) == 0) {
      const int mode = key[5] == 'a' ? 0 : 1;
      record.area(mode).keyFunction[std::stoi(key.substr(key.find("button") + 6)) - 1] = kKeyOff;
    } else if (key.rfind("dpi.", 0) == 0) {
      record.dpiStageEnabled[std::stoi(key.substr(4)) - 1] = 1;
    }
  }
  for (const ProfileFile::Entry& entry : entries) {
    const std::string key = LowerAscii(Utf16ToUtf8(entry.key));
    problem = ChangeSetting(profile.setup, key, SplitWords(Utf16ToUtf8(entry.value)), context);
    if (!problem.empty()) return fail(where.At(kSettingsSection, key), problem);
  }
  for (int mode = 0; mode < 2; ++mode) {
    if (!HasLeftClickButton(record, mode))
      return fail(where.At(kSettingsSection),
                  std::string("Mode ") + (mode == 0 ? "A" : "B") +
                      " has no Left Click among buttons 1 to 8; a mode keeps one.");
  }
  return profile;
}

bool StoreProfileMacros(const std::string& recordPath, const std::vector<ProfileMacro>& macros,
                        SettingsRecord& record) {
  ProfileFile file(recordPath);
  if (!file.readable()) return false;
  file.Clear(file.exists() ? file.encoding() : ProfileEncoding::kUtf16Le);
  for (const ProfileMacro& macro : macros) {
    std::vector<std::pair<std::string, std::string>> entries = {
        {kItemCountKey, std::to_string(macro.lines.size())}};
    for (std::size_t i = 0; i < macro.lines.size(); ++i)
      entries.emplace_back(MacroItemKey(static_cast<int>(i)), macro.lines[i]);
    if (!file.ReplaceSection(macro.name, entries)) return false;
  }
  if (!file.Save()) return false;
  EncodeProfileMacros(macros, record);
  return true;
}

void EncodeProfileMacros(const std::vector<ProfileMacro>& macros, SettingsRecord& record) {
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    auto& bytes = record.macroSlots[slot];
    if (slot >= static_cast<int>(macros.size())) {
      std::memset(bytes, 0, sizeof bytes);
      continue;
    }
    const ProfileMacro& macro = macros[static_cast<std::size_t>(slot)];
    EncodeMacroSlot(macro.lines, bytes);
    SetSlotLoopCount(record, slot, macro.loopCount);
  }
}

std::optional<std::vector<std::string>> ParseProgramList(const std::string& value, std::string& problem) {
  return ParsePrograms(value, problem);
}

bool IsUsableProfileName(std::string_view name) {
  if (name.empty() || name.size() > 100 || name.front() == ' ' || name.back() == ' ' || name.back() == '.')
    return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  // The names Windows keeps for devices, with or without an extension.
  const std::string stem = LowerAscii(name.substr(0, name.find('.')));
  static constexpr std::string_view kDevices[] = {"con", "prn", "aux", "nul"};
  for (std::string_view device : kDevices)
    if (stem == device) return false;
  return !(stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) && stem[3] >= '1' &&
           stem[3] <= '9');
}

std::vector<ProfileListing> ListProfiles(const std::string& folder, const WorkingSetup& base,
                                         const LocalizedTexts& texts,
                                         std::optional<std::uint8_t> sensorType,
                                         const std::vector<std::string>& currentMacros) {
  std::vector<ProfileListing> profiles;
  const std::string extension = kProfileExtension;
  for (const std::string& file : ListFiles(folder)) {
    if (file.size() <= extension.size() ||
        LowerAscii(file.substr(file.size() - extension.size())) != extension)
      continue;
    ProfileListing listing;
    listing.name = file.substr(0, file.size() - extension.size());
    listing.path = JoinPath(folder, file);
    if (auto profile = ReadProfile(listing.path, base, texts, sensorType, currentMacros, listing.damage)) {
      listing.programs = profile->programs;
    } else {
      // A damaged profile still says whose it is when its Programs line reads.
      std::string ignored;
      const ProfileFile raw(listing.path);
      if (auto programs = ParsePrograms(raw.Find(kProfileSection, kProgramsKey).value_or(""), ignored))
        listing.programs = *programs;
    }
    profiles.push_back(std::move(listing));
  }
  std::stable_sort(profiles.begin(), profiles.end(), [](const ProfileListing& a, const ProfileListing& b) {
    return LowerAscii(a.name) < LowerAscii(b.name);
  });
  return profiles;
}

const ProfileListing* ProfileFor(const std::vector<ProfileListing>& profiles,
                                 std::string_view executable) {
  const std::size_t slash = executable.find_last_of("/\\");
  const std::string name = LowerAscii(TrimBlanks(slash == std::string_view::npos ? executable : executable.substr(slash + 1)));
  for (const ProfileListing& profile : profiles) {
    if (!profile.damage.empty()) continue;
    for (const std::string& program : profile.programs)
      if (LowerAscii(program) == name) return &profile;
  }
  return nullptr;
}

}  // namespace vortal
