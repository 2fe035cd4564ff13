// The window in front as the profiles that follow it see it, and the
// system's notice of each change (an out-of-context WinEvent hook: the
// system calls back on the hooking thread's message loop, nothing polls).
#pragma once

#include <windows.h>

#include <functional>

#include "ui/host/main_window_services.h"

namespace vortal {

// The window's program (asked with limited query rights, so an elevated
// game is told too), its class, and whether it is this process's. A store
// app's frame stands for the app inside it: its program is the app's own.
ForegroundWindow DescribeWindow(HWND window);

// EVENT_SYSTEM_FOREGROUND, heard on the thread that starts the hook.
class ForegroundHook {
 public:
  ForegroundHook() = default;
  ~ForegroundHook() { Stop(); }
  ForegroundHook(const ForegroundHook&) = delete;
  ForegroundHook& operator=(const ForegroundHook&) = delete;

  // False when the system would not set the hook. One hook at a time.
  bool Start(std::function<void(HWND)> onForeground);
  void Stop();
  bool running() const { return hook_ != nullptr; }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                               DWORD thread, DWORD time);
  HWINEVENTHOOK hook_ = nullptr;
  std::function<void(HWND)> onForeground_;
};

}  // namespace vortal
