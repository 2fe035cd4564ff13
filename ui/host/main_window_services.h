// The narrow interfaces a window host implements for the portable models of
// the main window and of the owner-drawn sub-dialogs. The Windows host turns
// window messages into calls on the models and carries out these requests;
// tests use fakes that record them. Every member is the host's to carry
// out: a host that cannot do something says so in its result.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_port.h"
#include "macro/recording_host.h"
#include "macro/user_messages.h"
#include "ui/host/canvas.h"
#include "ui/host/child_controls.h"
#include "ui/host/geometry.h"
#include "ui/host/window_controls.h"

namespace vortal {

// A window whose picture is kept on its background bitmap.
class Surface {
 public:
  virtual ~Surface() = default;
  // Loads `skinFolder` + `imageName` as the window's background bitmap,
  // replacing the previous one, and sizes the window to it without moving it
  // or changing its Z order. Returns the image's size, or nothing (the old
  // bitmap is dropped, the window gets no area) when it cannot be loaded.
  virtual std::optional<Size> LoadBackground(std::string_view skinFolder,
                                             std::string_view imageName) = 0;
  // One redraw: builds the off-screen buffer over the whole client area with
  // the background bitmap selected into it and the window's font, lets
  // `draw` paint (image names are taken from `skinFolder`), then copies the
  // result to the window. Without a background bitmap nothing is drawn, `draw`
  // is not called and false is returned.
  virtual bool Redraw(std::string_view skinFolder, const std::function<void(Canvas&)>& draw) = 0;
  // Marks part of the window for repainting (a child control drawn on it).
  virtual void Invalidate(const Rect& box) = 0;
  // Asks the system for one hover notification after the pointer rests 10 ms
  // (TrackMouseEvent; the main window also asks for the leave notification).
  virtual void RequestHover() = 0;
  // Shows the keyboard's focus ring over the picture (or takes it away).
  virtual void ShowFocusRing(const FocusRing& ring) = 0;
};

// Drop-down lists: child list boxes created on demand under a drawn header.
// The host makes the item under the pointer the selection while the pointer
// moves over an open list, and reports a selection change or double-click to
// the model that owns the list.
class ListHost {
 public:
  virtual ~ListHost() = default;
  virtual void CreateList(int id, const Rect& area, const std::vector<std::string>& items) = 0;
  virtual void DestroyList(int id) = 0;  // nothing when it does not exist
  virtual bool ListExists(int id) const = 0;
  // The item of list `listId` under `p` (the window's client coordinates),
  // with the item's rectangle in the list's own client coordinates; nothing
  // when the list does not exist or `p` is not over one of its items.
  struct ListItemHit {
    int index = -1;
    Rect item;
  };
  virtual std::optional<ListItemHit> ListItemAt(int listId, Point p) const = 0;
  // Makes an item the list's selection (LB_SETCURSEL), without a notification.
  virtual void SelectListItem(int listId, int index) = 0;
  // The list's selection; kNoItem for none or when it does not exist.
  virtual int ListSelection(int listId) const = 0;
  // Scrolls a list by `lines` line steps (WM_VSCROLL), negative ones up.
  virtual void ScrollList(int id, int lines) = 0;
};

// The standard colour dialog over the window, with no initial colour;
// nothing when the user cancels it.
class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  virtual std::optional<Color> ChooseColor() = 0;
};

class SubDialogFrame;

// What a sub-dialog asks of the window that shows it.
enum class DialogResult { kNone, kOk, kCancel };  // kOk = IDOK, kCancel = IDCANCEL

class SubDialogHost : public Surface, public ListHost, public ColorChooser, public UserMessages {
 public:
  // Ends the modal dialog with this result (after the current message).
  virtual void EndDialog(DialogResult result) = 0;
  // Enables or disables the dialog's edit controls (disabled while a list is
  // open over them).
  virtual void SetEditsEnabled(bool enabled) = 0;
  // The dialog's own child controls.
  virtual ChildControls& childControls() = 0;
  // A keyboard hook on the window's own thread that names every keystroke
  // (press, repeat and release) as the key tables do and hands the name to
  // the dialog (SubDialogFrame::OnKeyCaptured) through window message
  // `message`; the keystroke is still delivered. It lives until the dialog's
  // window is destroyed. Returns 0, or the system's error code when the hook
  // cannot be installed.
  virtual unsigned InstallKeyCaptureHook(unsigned message) = 0;
};

enum class BalloonIcon { kInfo, kWarning };

// An item of the tray icon's menu: its text, the command it sends, and
// whether it shows a tick.
struct TrayMenuItem {
  int command = 0;
  std::string label;
  bool checked = false;
  // A submenu's items (its own command is then 0).
  std::vector<TrayMenuItem> submenu;
  bool isDefault = false;  // the menu's default item, in bold
  friend bool operator==(const TrayMenuItem&, const TrayMenuItem&) = default;
};

// The notification-area icon (tip as given, callback WM_USER+1).
class Tray {
 public:
  virtual ~Tray() = default;
  virtual void AddTrayIcon(std::string_view tip) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void ShowTrayBalloon(std::string_view text, std::string_view title, BalloonIcon icon,
                               int timeoutMs) = 0;
  // The pop-up menu at the cursor with these items, top down, the window
  // brought to the foreground first. The chosen item's command reaches the
  // window's shell as MainWindowShell::OnTrayCommand.
  virtual void ShowTrayMenu(const std::vector<TrayMenuItem>& items) = 0;
};

// The system's Open and Save As dialogs over the window.
enum class FileDialogKind { kOpen, kSaveAs };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpen;
  std::string title;             // in the user's language
  std::string filterName;        // the one filter's name, "... (*.ini)"
  std::string pattern;           // "*.ini"
  std::string defaultExtension;  // added to a name typed without one ("ini")
  std::string suggestedName;     // the name field's text at the start (Save As)
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The path the user chose (UTF-8), or nothing when the dialog was
  // cancelled. Open accepts only a file that exists; Save As asks before
  // replacing one.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
};

// The shortcut in the user's Startup folder that starts the program when
// the user logs on (a file, like everything else the program keeps).
class LogOnStart {
 public:
  virtual ~LogOnStart() = default;
  // True when the shortcut is there and starts this executable.
  virtual bool StartsAtLogOn() = 0;
  // Creates (true) or removes (false) the shortcut; false when that failed.
  virtual bool SetStartAtLogOn(bool on) = 0;
};

// A window that came to the front.
struct ForegroundWindow {
  std::string executable;   // its program's path; empty when it could not be told
  std::string windowClass;
  bool ownProcess = false;  // one of this program's windows
};

// The program in front, for the profiles that follow it. Nothing polls: the
// system tells of each change.
class ForegroundWatch {
 public:
  virtual ~ForegroundWatch() = default;
  // Starts (true) or stops hearing of the windows that come to the front;
  // each reaches the shell as MainWindowShell::OnForegroundChange.
  virtual void WatchForeground(bool on) = 0;
  // The window in front now; nothing when there is none.
  virtual std::optional<ForegroundWindow> ForegroundNow() = 0;
  // One call of MainWindowShell::OnForegroundSettled after `ms`; a new
  // request replaces the one pending.
  virtual void StartSettleTimer(int ms) = 0;
};

// The mouse's comings and goings and its event collection.
class DeviceWatch {
 public:
  virtual ~DeviceWatch() = default;
  // The listener: its event (manual reset) and its thread, created
  // suspended. False when the event cannot be created.
  virtual bool CreateListener() = 0;
  virtual void ResumeListener() = 0;
  // The event collection of a newly found mouse, for the listener to read.
  virtual void SetEventPort(std::unique_ptr<EventPort> port) = 0;
  // Device-interface notifications of the HID class; false on failure.
  virtual bool RegisterDeviceNotifications() = 0;
  // Closes the event collection's handles and the listener event.
  virtual void CloseListenerHandles() = 0;
};

// What the main window model asks of the Windows shell. Message boxes come
// through UserMessages::Show (an OK button; the caption as given); the
// keyboard hook of the macro recorder through RecordingHost.
class MainWindowServices : public Surface,
                           public ListHost,
                           public ColorChooser,
                           public Tray,
                           public FileDialogs,
                           public DeviceWatch,
                           public LogOnStart,
                           public ForegroundWatch,
                           public RecordingHost {
 public:
  virtual void ShowWindow() = 0;  // SW_SHOW
  virtual void HideWindow() = 0;  // SW_HIDE
  virtual void BringToForeground() = 0;
  // Lets the user move the borderless window: WM_NCLBUTTONDOWN with HTCAPTION
  // and the click point, then default processing of the click.
  virtual void StartWindowDrag(Point clickPoint) = 0;
  // Ends the process at once.
  virtual void ExitProcess(int code) = 0;
  // Runs an owner-drawn sub-dialog modally over the main window; the host
  // forwards its messages to the model and returns how it ended.
  virtual DialogResult RunSubDialog(SubDialogFrame& dialog) = 0;
  // The main window's edits, statics and list boxes.
  virtual ChildControls& childControls() = 0;
};

}  // namespace vortal
