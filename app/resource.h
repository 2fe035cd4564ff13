// Resource identifiers of Vortal.exe.
#pragma once

#define IDR_MAINFRAME 710  // the application icon (window and tray)
