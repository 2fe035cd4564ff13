// Picks the HID backend and the pause clock the program runs on.
#pragma once

#include <memory>

#include "device/hid_port.h"
#include "settings/user_messages.h"

namespace vortal {

// The virtual mouse when VORTAL_VIRTUAL_MOUSE is set, otherwise the system's
// HID backend. Failures while searching are shown through `messages`.
std::unique_ptr<HidBackend> MakeHidBackend(UserMessages* messages = nullptr);

// The system's own backend, whatever the environment says.
std::unique_ptr<HidBackend> MakeSystemHidBackend(UserMessages* messages = nullptr);

// Pauses of at least the requested length that end within a fraction of a
// millisecond after it, without keeping a processor busy.
std::unique_ptr<Pauser> MakeSystemPauser();

}  // namespace vortal
