// Drives a modal window of the system's dialog manager from the test's own
// thread (these run in the Windows build under Wine): the steps of a user,
// taken once the dialog is up.
#pragma once

#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace vortal::testing {

// True when windows can be created here (Wine needs a display for them).
inline bool WindowsAvailable() {
  HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

// Acts as the user once the dialog is up: one step per timer tick, each given
// the dialog's window. A dialog still open after the last step is closed, so
// a fault cannot hang the test.
class DialogUser {
 public:
  using Step = std::function<void(HWND dialog)>;

  explicit DialogUser(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~DialogUser() {
    if (timer_) KillTimer(nullptr, timer_);
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    DialogUser* self = current_;
    if (code == HCBT_ACTIVATE && self && !self->dialog_) {
      self->dialog_ = reinterpret_cast<HWND>(wParam);
      self->timer_ = SetTimer(nullptr, 0, 150, Tick);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogUser* self = current_;
    if (!self || !IsWindow(self->dialog_)) return;
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++](self->dialog_);
    } else {
      PostMessageW(self->dialog_, WM_CLOSE, 0, 0);
    }
  }

  static inline DialogUser* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  HWND dialog_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
};

}  // namespace vortal::testing
#endif  // _WIN32
