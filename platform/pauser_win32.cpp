#include <windows.h>

#include "platform/hid_backend_factory.h"

namespace vortal {
namespace {

// Not in every SDK's headers; Windows 10 1803 and later accept it.
constexpr DWORD kHighResolutionTimerFlag = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

using DelayExecution = LONG(NTAPI*)(BOOLEAN alertable, PLARGE_INTEGER interval);

// A plain Sleep(2) lasts a whole 15.6 ms tick on Windows, which would make
// the Apply sequence five times slower than its pauses. A high-resolution
// waitable timer ends within about half a millisecond; where the system
// refuses that flag, a normal timer with the system tick raised to 1 ms
// ends within about one. Under Wine every timer wait is a round trip to the
// wine server and overshoots by most of a millisecond, while the kernel's
// own delay call sleeps locally and is accurate, so that is used there.
class WindowsPauser : public Pauser {
 public:
  WindowsPauser() {
    QueryPerformanceFrequency(&frequency_);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) {
      delay_ = reinterpret_cast<DelayExecution>(
          reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDelayExecution")));
    }
    if (delay_) return;
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimerFlag, TIMER_ALL_ACCESS);
    if (!timer_) {
      timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
      raisedPeriod_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    }
  }

  ~WindowsPauser() override {
    if (timer_) CloseHandle(timer_);
    if (raisedPeriod_) timeEndPeriod(1);
  }

  void Pause(std::chrono::microseconds duration) override {
    if (duration.count() <= 0) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // Rounded up, so the deadline never falls short of the requested length.
    const LONGLONG deadline =
        now.QuadPart + (duration.count() * frequency_.QuadPart + 999999) / 1000000;
    // Waits again for what is left whenever a wait ends early, so a pause is
    // never shorter than asked.
    for (;;) {
      QueryPerformanceCounter(&now);
      LONGLONG left = deadline - now.QuadPart;
      if (left <= 0) return;
      LARGE_INTEGER due;
      due.QuadPart =
          -((left * 10000000 + frequency_.QuadPart - 1) / frequency_.QuadPart);  // 100 ns units
      if (delay_) {
        delay_(FALSE, &due);
      } else if (timer_ && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
        WaitForSingleObject(timer_, INFINITE);
      } else {
        Sleep(static_cast<DWORD>((-due.QuadPart + 9999) / 10000));
      }
    }
  }

 private:
  LARGE_INTEGER frequency_{};
  DelayExecution delay_ = nullptr;
  HANDLE timer_ = nullptr;
  bool raisedPeriod_ = false;
};

}  // namespace

std::unique_ptr<Pauser> MakeSystemPauser() { return std::make_unique<WindowsPauser>(); }

}  // namespace vortal
