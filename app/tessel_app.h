// CTesselApp: the application object of Vortal.exe. Starts the common
// controls and GDI+, registers the main window class (a copy of the system
// dialog class under the name "LumeoZQ5GMClass") and runs the main dialog.
#pragma once

#include <windows.h>

namespace vortal {

class CTesselApp {
 public:
  explicit CTesselApp(HINSTANCE instance) : instance_(instance) {}
  ~CTesselApp();
  CTesselApp(const CTesselApp&) = delete;
  CTesselApp& operator=(const CTesselApp&) = delete;

  // False when the window class could not be registered: the application
  // ends before any window is shown.
  bool InitInstance();
  // Runs the main dialog until it ends; returns the process exit code.
  int Run();

 private:
  HINSTANCE instance_;
  ULONG_PTR gdiplusToken_ = 0;
};

// Registers the copy of the system dialog class (#32770) under `className`.
bool RegisterDialogClassCopy(HINSTANCE instance, const wchar_t* className);

}  // namespace vortal
