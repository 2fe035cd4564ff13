#include "app/macro_recorder_hook.h"

#include "files/win32_text.h"

namespace vortal {
namespace {

// One hook per thread: the window's.
thread_local MacroRecorderHook* activeHook = nullptr;

constexpr int kKeyNameChars = 32;

}  // namespace

unsigned MacroRecorderHook::Install(HWND window, RecordingHookHandlers handlers) {
  Remove();
  window_ = window;
  handlers_ = std::move(handlers);
  hook_ = SetWindowsHookExW(WH_KEYBOARD, Procedure, nullptr, GetCurrentThreadId());
  if (hook_ == nullptr) return static_cast<unsigned>(GetLastError());
  activeHook = this;
  return 0;
}

void MacroRecorderHook::Remove() {
  if (hook_ == nullptr) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (activeHook == this) activeHook = nullptr;
}

void MacroRecorderHook::OnRecorderMessage(WPARAM message) {
  if (handlers_.onMessage) handlers_.onMessage(static_cast<int>(message));
}

LRESULT CALLBACK MacroRecorderHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  MacroRecorderHook* self = activeHook;
  if (code != HC_ACTION || self == nullptr || !self->handlers_.onKey) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  wchar_t name[kKeyNameChars] = {};
  GetKeyNameTextW(static_cast<LONG>(lParam), name, kKeyNameChars);
  KeyStroke key;
  key.name = Narrow(name);
  key.scanCode = static_cast<int>((lParam >> 16) & 0xFF);
  key.extended = ((lParam >> 24) & 1) != 0;
  key.wasDown = ((lParam >> 30) & 1) != 0;
  key.released = ((lParam >> 31) & 1) != 0;
  const HWND window = self->window_;
  if (const std::optional<int> message = self->handlers_.onKey(key)) {
    SendMessageW(window, kRecorderMessage, static_cast<WPARAM>(*message), key.wasDown ? 0 : 1);
  }
  // Key-downs (not those with Alt, which are system keys) never reach the
  // page's controls while recording; keys for another window of the thread
  // (a message box) and everything else go on.
  const bool altDown = ((lParam >> 29) & 1) != 0;
  const HWND focus = GetFocus();
  const bool forWindow = focus != nullptr && (focus == window || IsChild(window, focus));
  return forWindow && !key.released && !altDown ? 1 : 0;
}

}  // namespace vortal
