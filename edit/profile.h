// A whole setup as a profile file a person can read, edit and share: an INI
// file in UTF-8 with the settings in the grammar of edit/setting_text.h, the
// buttons' pane texts, and the macros with their loop counts.
//
//   [Profile]
//   Format=1
//   Programs=cs2.exe, valorant.exe
//   [Settings]
//   mode-a.button1=Left Click
//   ...
//   [Labels]
//   mode-a.button1=Left Click
//   ...
//   [Macro1]
//   Name=Reload
//   Loop=1
//   Events=R Dn, 50 ms, R Up
//
// "Programs" names the programs the profile is for (executable names, in
// any letter case); the product switches the mouse to it when one of them
// comes to the front. "Labels" are what the window shows on each button, written for reading;
// reading a profile composes them anew in the reader's language.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/setting_text.h"

namespace vortal {

inline constexpr const char* kProfileFormat = "1";

struct ProfileMacro {
  std::string name;
  int loopCount = 1;
  std::vector<std::string> lines;  // record.ini's event lines
  friend bool operator==(const ProfileMacro&, const ProfileMacro&) = default;
};

struct Profile {
  WorkingSetup setup;
  std::vector<ProfileMacro> macros;  // slot order
  // A file without macro sections leaves the macros as they are; what it
  // does not name stays, as for every setting.
  bool namesMacros = true;
  std::vector<std::string> programs;  // executable names, as written
};

// A profile of the Profiles folder as its list shows it.
struct ProfileListing {
  std::string name;  // the file name without ".ini"
  std::string path;
  std::vector<std::string> programs;  // a damaged file's too, when its Programs line reads
  std::string damage;  // why it cannot be read; empty when it can
};

// The macros of record.ini in slot order with the record's loop counts.
std::vector<ProfileMacro> MacrosOfSetup(const std::string& recordPath,
                                        const SettingsRecord& record);

// Writes the profile file (replacing one that is there, atomically); false
// when it could not be written.
bool WriteProfile(const std::string& path, const Profile& profile, const LocalizedTexts& texts);

// Reads a profile onto `base` (what the file does not name stays as it is)
// and checks all of it: nothing when any line is wrong, with `error` naming
// the line and what is accepted. The pane texts are composed in `texts`'
// language; DPI values in DPI need `sensorType`. A file without macros keeps
// `currentMacros` (the names of record.ini's macros), which its Macro Key
// buttons may name.
std::optional<Profile> ReadProfile(const std::string& path, const WorkingSetup& base,
                                   const LocalizedTexts& texts,
                                   std::optional<std::uint8_t> sensorType,
                                   const std::vector<std::string>& currentMacros,
                                   std::string& error);

// Makes record.ini hold exactly the profile's macros, in their order, in one
// save; the record's macro slots and loop counts follow. False when the file
// could not be written (it is then as it was, and so is the record).
bool StoreProfileMacros(const std::string& recordPath, const std::vector<ProfileMacro>& macros,
                        SettingsRecord& record);

// The macros into the record's slots with their loop counts, the slots
// after the last emptied, as StoreProfileMacros leaves them; record.ini is
// not touched.
void EncodeProfileMacros(const std::vector<ProfileMacro>& macros, SettingsRecord& record);

// A Programs line's value: executable names between commas (blanks around
// them dropped; nothing at all is an empty list); nothing, with `problem`
// saying why, for a missing name or a path.
std::optional<std::vector<std::string>> ParseProgramList(const std::string& value, std::string& problem);

// Whether `name` can be a profile's file name in the Profiles folder: no
// characters Windows refuses in names, no blank or dot at the end, not a
// device's name, at most 100 bytes.
bool IsUsableProfileName(std::string_view name);

// The profiles (*.ini) of `folder`, by name in any letter case. Each is read
// whole as ReadProfile reads it; one that cannot be read is listed with the
// reason, not left out. No folder: no profiles.
std::vector<ProfileListing> ListProfiles(const std::string& folder, const WorkingSetup& base,
                                         const LocalizedTexts& texts,
                                         std::optional<std::uint8_t> sensorType,
                                         const std::vector<std::string>& currentMacros);

// The first readable profile of `profiles` that names `executable` (a file
// name, or a path whose file name counts), in any letter case; null when
// none does: the program then gets the default setup, config.bin's.
const ProfileListing* ProfileFor(const std::vector<ProfileListing>& profiles,
                                 std::string_view executable);

}  // namespace vortal
