// The shortcut that starts the program when the user logs on: a .lnk file
// in the user's Startup folder, made and read through the shell's link
// object (COM must be initialised on the calling thread).
#pragma once

#include <optional>
#include <string>

namespace vortal {

// The shortcut's path in the user's Startup folder ("...\Startup\Vortal.lnk");
// empty when the folder cannot be found.
std::wstring LogOnShortcutPath();

// Writes a shortcut at `shortcut` that starts `target` in its own folder,
// replacing one that is there. False when it could not be written.
bool WriteShortcut(const std::wstring& shortcut, const std::wstring& target);

// The program a shortcut starts; nothing when there is no readable shortcut.
std::optional<std::wstring> ShortcutTarget(const std::wstring& shortcut);

// Whether two paths name the same file as Windows compares them (letter case
// ignored).
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace vortal
