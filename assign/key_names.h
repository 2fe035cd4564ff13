// The name a captured key is stored under. The key dialogs and the macro
// recorder get a key's name from the system, but the key tables hold the US
// English names Windows reports for them. Under another keyboard language,
// or where the system names keys differently (X11 names such as "Control" or
// "Return" under Wine), the system's name would find no code and the button
// would silently do nothing. The mouse sends keyboard usages, which name key
// positions, not characters: the system turns them into characters through
// its keyboard language, as it does for the keyboard itself. So a key is
// named by its position (its scan code), and the mouse presses the very key
// the user pressed on every layout.
#pragma once

#include <string>
#include <string_view>

namespace vortal {

// The key-table name of the key at set-1 scan code `scanCode` with the
// extended-key bit `extended` (bits 16..23 and 24 of a keystroke's flags);
// empty when the tables have no such key.
std::string_view KeyNameForScanCode(unsigned scanCode, bool extended);

// The name to store for a captured key: the table's name for the key's scan
// code; for a position the table does not know, the system's name (stored as
// code 0 unless the table knows that name; it is shown either way).
std::string KeyNameForCapture(std::string_view systemName, unsigned scanCode, bool extended);

}  // namespace vortal
