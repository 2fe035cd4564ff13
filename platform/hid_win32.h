// The mouse through the Windows HID class driver (SetupDi and HidD).
#pragma once

#include <memory>

#include "device/hid_port.h"
#include "settings/user_messages.h"

namespace vortal {

// Failures of the system calls during the search are shown through
// `messages` when given.
std::unique_ptr<HidBackend> MakeWin32HidBackend(UserMessages* messages);

}  // namespace vortal
