// The user's macros in "record.ini": one section per macro, named after it,
// holding "ItemCount" and the event lines "Item0" .. "Item<n-1>". The order of
// the sections is the order of every macro list and of the mouse's slots.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


namespace vortal {

class ProfileFile;

inline constexpr int kMaxMacros = 12;                  // the mouse has twelve slots
inline constexpr std::size_t kMacroNameMaxChars = 31;  // UTF-16 characters
// Every reader lists the names into 1024 characters and examines only the
// first 255 of them; values are read into 1024 characters.
inline constexpr std::size_t kMacroListBufferChars = 1024;
inline constexpr std::size_t kMacroListExaminedChars = 255;
inline constexpr std::size_t kMacroValueBufferChars = 1024;
// A hand-edited "ItemCount" can claim any number; no macro is read past this.
inline constexpr int kMaxMacroLines = 65536;

inline constexpr const char* kItemCountKey = "ItemCount";
inline constexpr const char* kItemKeyPrefix = "Item";
inline constexpr std::string_view kPressMarker = "   Dn";
inline constexpr std::string_view kReleaseMarker = "   Up";
inline constexpr std::string_view kDelaySuffix = " ms";

// The message when a thirteenth macro is asked for, in every language.
inline constexpr const char* kMacroLimitMessage = "Macro numbers up to 12.";

// A line that contains "   Dn" is a press, else one that contains "   Up" a
// release; every other line (a delay included) is no event of its own.
enum class MacroLineKind { kPress, kRelease, kOther };
MacroLineKind ClassifyMacroLine(std::string_view line);

// The "Item%d" key of line `index`.
std::string MacroItemKey(int index);

// Section names in file order as every macro list shows them; empty when the
// file does not exist. Only the first 255 characters of the zero-separated
// name list count: a name that does not end within them, and every name after
// it, is left out. A name longer than 31 characters is left out too: the
// program's lists and the mouse's slot numbers never show a name cut short
// that would then not find its own section.
std::vector<std::string> ListMacroNames(const std::string& recordPath);
std::vector<std::string> ListMacroNames(const ProfileFile& file);

// The n lines of the macro, n = "ItemCount" (missing or no number: 0, at most
// kMaxMacroLines); a missing "Item%d" gives an empty line. Each line is cut at
// 1023 characters and at its first zero character.
std::vector<std::string> ReadMacro(const std::string& recordPath, std::string_view name);
std::vector<std::string> ReadMacro(const ProfileFile& file, std::string_view name);

// Replaces the macro's section by "ItemCount" and the lines: the section is
// removed first, so the macro moves to the end of the file. All of it is
// written at once or not at all; false when the file could not be written or
// a name or line cannot be stored (a line break, a ']' in the name).
bool WriteMacro(const std::string& recordPath, std::string_view name,
                const std::vector<std::string>& lines);

// Removes the macro's section with all its keys. Succeeds without writing
// when there is no such section or file.
bool DeleteMacro(const std::string& recordPath, std::string_view name);

// The macro editor's list of names with its selection, event list and name
// field, and the rules of its "New" button (storing and deleting are
// macro_changes.h).
struct MacroEditorState {
  std::vector<std::string> names;
  std::optional<std::size_t> selected;
  std::vector<std::string> events;
  std::string nameField;
};

// "New": adds the name of the name field (trimmed of blanks, cut to 31
// characters) to the list and selects it; nothing is written to the file.
// Refused, in this order, when the name is blank, holds ']', the list has
// twelve names already, or holds the name in any letter case; the caller
// tells the user why. The event list is cleared unless the list was empty.
// The position of the macro named `name` among `names`: the exact name
// first (two names may differ only in letter case), then in any letter case.
std::optional<std::size_t> FindMacroName(const std::vector<std::string>& names,
                                         std::string_view name);

// A name is taken without the blanks around it (the file keeps it so); one
// longer than kMacroNameMaxChars after that is refused, never cut.
enum class NewMacroResult { kAdded, kNameBlank, kNameTooLong, kNameInvalid, kTooMany, kNameExists };
NewMacroResult NewMacro(MacroEditorState& state);


}  // namespace vortal
