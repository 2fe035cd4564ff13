#include "app/foreground_watch_win32.h"

#include <string>

#include "files/win32_text.h"

namespace vortal {
namespace {

// The hook's callback carries no context; one hook runs at a time.
ForegroundHook* g_hook = nullptr;

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

std::wstring ProgramOf(DWORD process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (!handle) return {};
  wchar_t path[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(path));
  const bool told = QueryFullProcessImageNameW(handle, 0, path, &size) != 0;
  CloseHandle(handle);
  return told ? std::wstring(path, size) : std::wstring();
}

bool IsFrameHost(const std::wstring& program) {
  const std::size_t slash = program.find_last_of(L"\\/");
  const std::wstring name = program.substr(slash == std::wstring::npos ? 0 : slash + 1);
  return CompareStringOrdinal(name.c_str(), -1, L"ApplicationFrameHost.exe", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

ForegroundWindow DescribeWindow(HWND window) {
  ForegroundWindow described;
  if (!window) return described;
  const DWORD process = ProcessOf(window);
  described.ownProcess = process == GetCurrentProcessId();
  wchar_t className[256] = L"";
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  described.windowClass = Narrow(className);
  std::wstring program = ProgramOf(process);
  if (IsFrameHost(program)) {
    // The frame host draws the frame of a store app whose own window is a
    // child of another process.
    struct Search {
      DWORD frameProcess;
      DWORD appProcess = 0;
    } search{process};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          const DWORD owner = ProcessOf(child);
          if (owner == s->frameProcess) return TRUE;
          s->appProcess = owner;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.appProcess) program = ProgramOf(search.appProcess);
  }
  described.executable = Narrow(program);
  return described;
}

bool ForegroundHook::Start(std::function<void(HWND)> onForeground) {
  Stop();
  onForeground_ = std::move(onForeground);
  g_hook = this;
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnEvent, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  if (!hook_) g_hook = nullptr;
  return hook_ != nullptr;
}

void ForegroundHook::Stop() {
  if (hook_) UnhookWinEvent(hook_);
  hook_ = nullptr;
  if (g_hook == this) g_hook = nullptr;
}

void CALLBACK ForegroundHook::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG, LONG,
                                      DWORD, DWORD) {
  if (!g_hook || hook != g_hook->hook_ || event != EVENT_SYSTEM_FOREGROUND || !window) return;
  g_hook->onForeground_(window);
}

}  // namespace vortal
