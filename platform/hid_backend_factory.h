// Picks the HID backend and the pause clock the program runs on.
#pragma once

#include <memory>

#include "device/hid_port.h"

namespace vortal {

// The virtual mouse when VORTAL_VIRTUAL_MOUSE is set, otherwise the system's
// HID backend. A mouse seen but not opened says why in its `problem`.
std::unique_ptr<HidBackend> MakeHidBackend();

// The system's own backend, whatever the environment says.
std::unique_ptr<HidBackend> MakeSystemHidBackend();

// Pauses of at least the requested length that end within a fraction of a
// millisecond after it, without keeping a processor busy.
std::unique_ptr<Pauser> MakeSystemPauser();

}  // namespace vortal
