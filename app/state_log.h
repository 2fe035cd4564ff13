// The window's state log, for checks that drive Vortal.exe from outside: under
// the virtual mouse, when VORTAL_STATE_LOG names a file, the program appends a
// line to it for everything such a check waits for, so that it waits for that
// state instead of guessing from the screen or the clock. Nothing is written
// without the virtual mouse or without the variable.
//
// Each line is written whole by one append and reaches the file at once, so a
// reader never sees half a line. The lines:
//
//   rect NAME LEFT TOP RIGHT BOTTOM   a control's rectangle in the client
//                                     pixels of its window (at the window's
//                                     display scale), all of them once at
//                                     start-up, before "ready", and again
//                                     when the scale changes; "window" the
//                                     main window's client area once its
//                                     picture is loaded;
//                                     "static<ID>" when the window creates
//                                     that static control
//   ready                             start-up finished: the tray icon added,
//                                     the mouse looked for, the start-up
//                                     hiding of the window done (at once
//                                     for a window without a picture)
//   window shown PAGE | window hidden the main window (PAGE: basic,
//                                     advanced or none)
//   window painted                    the shown window's picture drawn on
//                                     the screen (once each time it is shown)
//   paint ms MS                       after "window painted": the time
//                                     from the window told shown to its
//                                     picture painted
//   memory BYTES                      the process's private memory
//                                     (PrivateUsage), after each "ready",
//                                     "window painted" and "window hidden"
//   page PAGE                         another page shown in the open window
//   clicked X Y                       a left click on the main window
//                                     handled (after what it opened ended)
//   edit ID TEXT                      an edit control's text changed
//   text ID TEXT                      the program set a child control's text
//   item ID INDEX TEXT                a line put into a list box
//   list opened ID | list closed ID   a drop-down list (of any window)
//   balloon TEXT                      a tray balloon
//   menu item LABEL                   an item of the tray icon's menu, top
//                                     down, before it opens
//   menu opened | menu closed         a pop-up menu (the tray icon's, a list's)
//   file dialog opened save|open      the system's Save As or Open dialog
//   file dialog closed ok PATH | file dialog closed cancel
//   imported                          a profile taken into the window (the
//                                     page shown is drawn again after it)
//   dialog opened NAME                a modal sub-dialog (NAME its class) or
//   dialog closed NAME ok|cancel      "colour", the system's colour dialog
//   message opened TEXT | message closed
//                                     a message box
//   applied                           an Apply (or OK) finished: the mouse
//                                     written, config.bin saved, the pointer
//                                     settings set
//   skin FOLDER                       the window drawn again after the Skins
//                                     dialog
//
// A line break inside a text is written as "\n".
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>
#include <typeinfo>

#include "ui/host/display_scale.h"
#include "ui/host/geometry.h"

namespace vortal {

inline constexpr const char* kStateLogVariable = "VORTAL_STATE_LOG";

class StateLog {
 public:
  // A log that writes nothing when `path` is empty or cannot be opened.
  explicit StateLog(const std::string& path);
  ~StateLog();
  StateLog(const StateLog&) = delete;
  StateLog& operator=(const StateLog&) = delete;

  bool enabled() const { return file_ != INVALID_HANDLE_VALUE; }

  // Appends one line: `event`, then `text` after a space when not empty.
  void Write(std::string_view event, std::string_view text = {});
  // Appends several lines, each ending with a newline, in one write.
  void WriteLines(const std::string& lines);

  // The window's visibility and page: a line when either changed since the
  // last call.
  void WindowState(bool shown, int page);
  // "clicked X Y".
  void Clicked(Point p);
  // "window painted": the shown window's picture is on the screen; once
  // each time it is shown.
  void Painted();
  // "ready", once.
  void Ready();
  // "memory BYTES": the process's private memory.
  void Memory();
  // "edit ID TEXT" with the edit control's text.
  void EditChanged(HWND edit);

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::mutex mutex_;
  int shownPage_ = -1;  // -1: hidden
  bool told_ = false;     // of the window
  bool paintTold_ = false;
  LARGE_INTEGER shownAt_{};
  bool ready_ = false;
};

// One line of the log: the event, the text after a space, line breaks in the
// text as "\n", and the newline.
std::string StateLine(std::string_view event, std::string_view text);
// "rect NAME LEFT TOP RIGHT BOTTOM" with its newline.
std::string RectLine(std::string_view name, const Rect& box);
// The name of a page in the log: basic, advanced or none.
std::string_view PageName(int page);
// A sub-dialog's name in the log: its class's name without the namespace.
std::string DialogName(const std::type_info& type);

// The file the log goes to, from the values of VORTAL_VIRTUAL_MOUSE and
// VORTAL_STATE_LOG (null when unset): the second while the first selects the
// virtual mouse (set, not empty), else none (empty).
std::string StateLogPath(const char* virtualMouse, const char* stateLog);
// The log of this process, from the environment at its first use.
StateLog& ProgramStateLog();

// Writes the rectangles of everything a check clicks by coordinates: the
// frame buttons, the pages' controls and the sub-dialogs' buttons, in
// pixels at `scale` (the sub-dialogs are drawn at the main window's).
void PublishControlRects(StateLog& log, DisplayScale scale);

}  // namespace vortal
