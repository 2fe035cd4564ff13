// A stand-in for a game in the checks of the profiles that follow the program
// in front: a plain window at a given place, copied under the executable
// names the profiles name. Windows tells every WinEvent hook when a window
// comes to the front; Wine 8 does not, so this window says it itself when it
// is activated, as the system would.
//   front_window.exe X TITLE      a window 240 x 160 at X, 420
//   front_window.exe --announce CLASS TITLE [CLASS TITLE]...
//                                 tells of each window (TITLE "-": any title)
//                                 as if it had come to the front, one right
//                                 after the other (an Alt+Tab flurry), and ends
#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 3) return 2;
  if (std::wcscmp(args[1], L"--announce") == 0) {
    std::vector<HWND> windows;
    for (int i = 2; i + 1 < count; i += 2) {
      HWND window = FindWindowW(args[i], std::wcscmp(args[i + 1], L"-") == 0 ? nullptr : args[i + 1]);
      if (!window) return 1;
      windows.push_back(window);
    }
    for (HWND window : windows) NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
    return 0;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"VortalFrontWindow";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&windowClass);
  CreateWindowW(L"VortalFrontWindow", args[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, _wtoi(args[1]), 420,
                240, 160, nullptr, nullptr, instance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
