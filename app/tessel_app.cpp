#include "app/tessel_app.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
// clang-format on

#include "app/tessel_dlg.h"

namespace vortal {

bool RegisterDialogClassCopy(HINSTANCE instance, const wchar_t* className) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(nullptr, WC_DIALOG, &wc)) return false;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

bool CTesselApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;  // 8
  controls.dwICC = 0xFF;
  InitCommonControlsEx(&controls);
  if (!RegisterDialogClassCopy(instance_, kMainWindowClass)) return false;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
  return true;
}

int CTesselApp::Run() {
  CTesselDlg dialog(instance_);
  dialog.DoModal();
  return 0;
}

CTesselApp::~CTesselApp() {
  if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

}  // namespace vortal
