// Vortal.exe: the gaming mouse's settings window in the notification area.
#include <windows.h>
#include <objbase.h>

#include "app/tessel_app.h"
#include "files/system_code_page.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Libraries loaded from now on come from the system folder only, never
  // from the program's own folder or the current directory.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  vortal::InstallSystemCodePage();
  // The shell's link object (the Start with Windows shortcut) needs COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  vortal::CTesselApp app(instance);
  if (!app.InitInstance()) return 0;
  return app.Run();
}
