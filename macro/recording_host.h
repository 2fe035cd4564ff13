// What the macro recorder asks of the window it records in: the keyboard
// hook of the window's own thread, its title and its messages.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "macro/user_messages.h"

namespace vortal {

// One key press or release that reached the window while a macro is
// recorded: the system's name of the key and where it sits.
struct KeyStroke {
  std::string name;  // the system's key-name text, at most 31 characters
  int scanCode = 0;
  bool extended = false;
  bool released = false;  // bit 31 of the keyboard message
  bool wasDown = false;   // bit 30: the key was down before (auto-repeat)
};

// What the recording hook asks of its owner. `onKey` runs inside the hook
// and returns the recorder message to send to the window (0 a press, 1 a
// release) or nothing; `onMessage` receives every recorder message (the
// window's WM_USER+3) on the window's thread.
struct RecordingHookHandlers {
  std::function<std::optional<int>(const KeyStroke&)> onKey;
  std::function<void(int message)> onMessage;
};

class RecordingHost : public UserMessages {
 public:
  // Installs the keyboard hook of the window's own thread; while it is
  // installed every key-down message is swallowed before it reaches a
  // control. Returns 0, or the system's error code when it cannot be
  // installed.
  virtual unsigned InstallRecordingHook(RecordingHookHandlers handlers) = 0;
  virtual void RemoveRecordingHook() = 0;
  virtual bool RecordingHookInstalled() const = 0;
  // Sends a recorder message (WM_USER+3) to the window: reaches onMessage.
  virtual void SendRecorderMessage(int message) = 0;
  virtual void SetWindowTitle(std::string_view title) = 0;
};

}  // namespace vortal
