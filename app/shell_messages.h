// The Win32 messages of the tray icon and of device changes, decoded into
// what the window's shell acts on.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/window/startup.h"

namespace vortal {

// The tray icon's notification (its lParam, a mouse message): a left click,
// a double click and a right click count; the pointer passing over does not.
std::optional<TrayClick> DecodeTrayMessage(LPARAM mouseMessage);

// A WM_DEVICECHANGE that tells of a device interface arriving or removed:
// its change and the interface's name. Every other notice is nothing.
struct DecodedDeviceChange {
  DeviceChange change;
  std::string interfaceName;
};
std::optional<DecodedDeviceChange> DecodeDeviceChange(WPARAM event, LPARAM data);

}  // namespace vortal
