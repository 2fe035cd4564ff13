// A top-level popup window for tests of child controls: the test's own window
// procedure answers the controls' messages, with a pointer of the test's
// choosing kept in the window for it.
#pragma once

#ifdef _WIN32
#include <windows.h>

namespace vortal::testing {

// Registers `className` with `proc` and creates a hidden 400 x 300 popup of
// it holding `userData`; nullptr when no display lets windows be created.
inline HWND CreateTestParent(const wchar_t* className, WNDPROC proc, void* userData) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  HWND parent = CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (parent) SetWindowLongPtrW(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return parent;
}

// The pointer CreateTestParent kept in `parent`.
template <typename T>
T* TestParentData(HWND parent) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(parent, GWLP_USERDATA));
}

}  // namespace vortal::testing
#endif  // _WIN32
