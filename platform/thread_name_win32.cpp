#include "platform/thread_name.h"

#include <windows.h>

#include <string>

namespace vortal {

void NameThisThread(const char* name) {
  // SetThreadDescription came with Windows 10 1607: looked up, not linked.
  using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  static const auto set = reinterpret_cast<SetDescription>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
  if (!set) return;
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  set(GetCurrentThread(), wide.c_str());
}

}  // namespace vortal
