// The keyboard hook of the window's own thread that records macros. The
// system calls it for every keyboard message the thread takes from its
// queue; it names the key, lets its owner decide, sends the recorder message
// (WM_USER+3) to the window and swallows key-downs, so typed keys do not
// reach the page's fields and lists while a macro is recorded.
#pragma once

#include <windows.h>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's ChooseColor
#include "ui/host/main_window_services.h"

namespace vortal {

inline constexpr UINT kRecorderMessage = WM_USER + 3;

class MacroRecorderHook {
 public:
  MacroRecorderHook() = default;
  ~MacroRecorderHook() { Remove(); }
  MacroRecorderHook(const MacroRecorderHook&) = delete;
  MacroRecorderHook& operator=(const MacroRecorderHook&) = delete;

  // Returns 0, or the system's error code.
  unsigned Install(HWND window, RecordingHookHandlers handlers);
  void Remove();
  bool installed() const { return hook_ != nullptr; }
  // WM_USER+3 at the window.
  void OnRecorderMessage(WPARAM message);

 private:
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;
  RecordingHookHandlers handlers_;
};

}  // namespace vortal
