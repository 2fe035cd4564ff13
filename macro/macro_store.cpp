#include "macro/macro_store.h"

#include <algorithm>
#include <unordered_map>

#include "files/profile_file.h"
#include "files/text_encoding.h"
#include "settings/number_text.h"

namespace vortal {

namespace {

std::u16string Folded(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = FoldCase(c);
  return out;
}

// At most `limit` UTF-16 characters, never ending in half a surrogate pair.
std::u16string_view CutTo(std::u16string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  text = text.substr(0, limit);
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.remove_suffix(1);
  return text;
}

// The keys of one section looked up the way the profile functions do (any
// letter case, first duplicate wins), with every value as a 1024-character
// buffer holds it.
class SectionValues {
 public:
  SectionValues(const ProfileFile& file, std::string_view section) {
    for (auto& entry : file.Entries(Utf8ToUtf16(section))) {
      values_.try_emplace(Folded(entry.key),
                          std::u16string(CutTo(entry.value, kMacroValueBufferChars - 1)));
    }
  }

  std::string Get(std::string_view key) const {
    const auto it = values_.find(Folded(Utf8ToUtf16(key)));
    return it == values_.end() ? std::string() : Utf16ToUtf8(it->second);
  }

 private:
  std::unordered_map<std::u16string, std::u16string> values_;
};

}  // namespace

MacroLineKind ClassifyMacroLine(std::string_view line) {
  if (line.find(kPressMarker) != std::string_view::npos) return MacroLineKind::kPress;
  if (line.find(kReleaseMarker) != std::string_view::npos) return MacroLineKind::kRelease;
  return MacroLineKind::kOther;
}

std::string MacroItemKey(int index) { return kItemKeyPrefix + std::to_string(index); }

std::vector<std::string> ListMacroNames(const ProfileFile& file) {
  std::vector<std::string> names;
  std::u16string buffer(kMacroListBufferChars, u'\0');
  file.GetSectionNames(buffer);
  if (buffer[0] == u'\0') return names;
  std::size_t start = 0;
  for (std::size_t i = 0; i < kMacroListExaminedChars; ++i) {
    if (buffer[i] != u'\0') continue;
    const std::size_t length = i - start;
    if (length <= kMacroNameMaxChars) {
      names.push_back(Utf16ToUtf8(std::u16string_view(buffer).substr(start, length)));
    }
    if (buffer[i + 1] == u'\0') break;
    start = i + 1;
  }
  return names;
}

std::vector<std::string> ListMacroNames(const std::string& recordPath) {
  return ListMacroNames(ProfileFile(recordPath));
}

std::vector<std::string> ReadMacro(const ProfileFile& file, std::string_view name) {
  const SectionValues values(file, name);
  const int count = std::min(ReadCNumber(values.Get(kItemCountKey)), kMaxMacroLines);
  std::vector<std::string> lines;
  for (int j = 0; j < count; ++j) lines.push_back(values.Get(MacroItemKey(j)));
  return lines;
}

std::vector<std::string> ReadMacro(const std::string& recordPath, std::string_view name) {
  return ReadMacro(ProfileFile(recordPath), name);
}

bool WriteMacro(const std::string& recordPath, std::string_view name,
                const std::vector<std::string>& lines) {
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(lines.size() + 1);
  entries.emplace_back(kItemCountKey, std::to_string(lines.size()));
  for (std::size_t j = 0; j < lines.size(); ++j) {
    entries.emplace_back(MacroItemKey(static_cast<int>(j)), lines[j]);
  }
  ProfileFile file(recordPath);
  return file.ReplaceSection(name, entries) && file.Save();
}

bool DeleteMacro(const std::string& recordPath, std::string_view name) {
  return ProfileWriteString(recordPath, name, std::nullopt, std::nullopt);
}

std::optional<std::size_t> FindMacroName(const std::vector<std::string>& names,
                                         std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return i;
  const std::u16string wide = Utf8ToUtf16(name);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (EqualsIgnoreCase(Utf8ToUtf16(names[i]), wide)) return i;
  return std::nullopt;
}

NewMacroResult NewMacro(MacroEditorState& state) {
  // The name as the file will keep it: section names lose surrounding blanks,
  // and every reader handles at most 31 characters.
  const std::u16string field = Utf8ToUtf16(state.nameField);
  const std::u16string_view wide = TrimProfileBlanks(field);

  if (wide.empty()) return NewMacroResult::kNameBlank;
  if (wide.size() > kMacroNameMaxChars) return NewMacroResult::kNameTooLong;
  // A ']' would end the section name early, and a line break split it.
  if (wide.find_first_of(std::u16string_view(u"]\r\n\0", 4)) != std::u16string_view::npos) {
    return NewMacroResult::kNameInvalid;
  }
  if (state.names.size() >= static_cast<std::size_t>(kMaxMacros)) return NewMacroResult::kTooMany;
  const bool wasEmpty = state.names.empty();
  if (!wasEmpty) {
    for (const auto& listed : state.names) {
      if (EqualsIgnoreCase(Utf8ToUtf16(listed), wide)) return NewMacroResult::kNameExists;
    }
  }
  state.names.push_back(Utf16ToUtf8(wide));
  state.selected = state.names.size() - 1;
  if (!wasEmpty) state.events.clear();
  return NewMacroResult::kAdded;
}

}  // namespace vortal
