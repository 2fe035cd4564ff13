// The frame every owner-drawn sub-dialog shares: a skin background that sets
// the window's size, OK, Cancel and close buttons with hover images, an
// optional drop-down list under a clickable field, and how the dialog ends.
// Each dialog derives from it and adds its own drawing, list items and
// results; the opener reads the results after the dialog ended with kOk.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/canvas.h"
#include "ui/dialogs/dialog_label.h"
#include "ui/host/geometry.h"
#include "ui/host/keyboard_focus.h"
#include "ui/host/main_window_services.h"
#include "texts/texts.h"

namespace vortal {

inline constexpr Rect kSubDialogOkBox{166, 253, 271, 274};
inline constexpr Rect kSubDialogCancelBox{270, 253, 375, 274};  // shares column 270 with OK
inline constexpr Rect kSubDialogCloseBox{352, 6, 370, 24};

// Edit controls (and lists drawn over the dialog) on the dark skin: white
// text on this background, with a solid brush of the same colour.
inline constexpr Color kControlTextColor{255, 255, 255};
inline constexpr Color kControlBackColor{40, 40, 40};

// One wheel notch scrolls an open drop-down list by this many lines.
inline constexpr int kWheelScrollLines = 3;

// The dialogs' captions: a dim grey that stands out 4:1 on the dark and on
// the light dialog panels alike, whatever text colour the user chose for the
// window. Titles: a lighter grey, as the title band is dark in every skin.
inline constexpr Color kDialogCaptionColor{112, 125, 141};
inline constexpr Color kDialogTitleColor{127, 140, 156};

// A dialog's title: upper-case in English, drawn in the title band beside
// the dialog's glyph, which ends at `left`. The band leaves the close button
// free.
struct SubDialogTitle {
  DialogLabel text;
  int left = 0;
};
inline constexpr int kSubDialogTitleTop = 8;
inline constexpr int kSubDialogTitleBottom = 25;
inline constexpr int kSubDialogTitleRight = 346;

// A background that cannot be loaded is reported with this text under the
// dialog's own caption; a missing button image with the second text.
inline constexpr std::string_view kBackgroundFailedText = "error";
inline constexpr std::string_view kImageFailedText = "LoadPng---Load image failed.";

// What the keyboard and screen readers call a key dialog's key field.
inline constexpr DialogLabel kKeyFieldLabel{"Key", "按键", "按鍵"};

// The OK and Cancel labels in the system language.
std::string_view SubDialogOkLabel(Language language);
std::string_view SubDialogCancelLabel(Language language);

// A keystroke as the key dialogs' hook names it: the key tables' name, the
// system's virtual key, and whether the key went up.
struct CapturedKey {
  std::string name;
  unsigned virtualKey = 0;
  bool released = false;
};

// The clickable field and the list it opens.
struct SubDialogDropDown {
  Rect field;
  Rect list;
  int listId = 0;
};

// What every dialog of the family is drawn with.
struct SubDialogLook {
  std::string skinFolderPath;  // no trailing separator; image names begin with "/"
  Color textColor;
  Language language = Language::kEnglish;
};

class SubDialogFrame {
 public:
  SubDialogFrame(SubDialogLook look, std::string_view backgroundImage,
                 std::string_view failureCaption,
                 std::optional<SubDialogDropDown> dropDown = std::nullopt);
  virtual ~SubDialogFrame() = default;

  // Loads the background and sizes the window to it. When it cannot be
  // loaded the user is told ("error" under the dialog's caption) and, since a
  // window without area can be neither seen nor clicked, the dialog is ended
  // at once with kCancel, which every opener treats as a cancel. Returns
  // whether the dialog is usable.
  bool Initialize(SubDialogHost& host);

  // WM_ERASEBKGND: the whole picture.
  void Paint();
  // WM_LBUTTONDOWN. Each test is independent: on the column OK and Cancel
  // share, OK runs first and Cancel last, so the dialog ends with kCancel.
  void OnLeftButtonDown(Point p);
  void OnMouseMove(Point p);
  void OnMouseHover(Point p);
  // LBN_SELCHANGE or LBN_DBLCLK from the list; `index` is the list's
  // selection, negative for none.
  void OnListChoice(int index);
  // A key while the dialog has the keyboard; true when it was used. An open
  // list takes the list keys; Tab, the arrows, Space and Enter go through
  // the dialog's controls; Enter on anything but a button is OK, Escape is
  // Cancel, as in every dialog.
  bool OnKey(const KeyPress& key);
  // The dialog's controls in focus order: its drop-down field, its own, OK,
  // Cancel, then close.
  std::vector<WindowControl> Controls();
  // The name of the control in focus; empty for none.
  std::string FocusedName();

  DialogResult result() const { return result_; }
  bool usable() const { return usable_; }
  bool listOpen() const { return listOpen_; }
  bool okHovered() const { return okHovered_; }
  bool cancelHovered() const { return cancelHovered_; }
  bool closeHovered() const { return closeHovered_; }

 protected:
  // The dialog's own texts and fields, drawn between the buttons and the
  // close button.
  virtual void DrawContents(Canvas& canvas) { (void)canvas; }
  // The list's items, in order.
  virtual std::vector<std::string> ListItems() const { return {}; }
  // A list item was chosen: store it as the result and show it in the field.
  virtual void OnListItemChosen(int index, const std::string& text) {
    (void)index;
    (void)text;
  }
  // OK was clicked; the result fields already hold what the dialog's
  // handlers stored. False keeps the dialog open: the dialog has told the
  // user what is missing.
  virtual bool OnOk() { return true; }

 public:
  // The text of one of the dialog's edit fields changed (EN_CHANGE).
  virtual void OnEditChanged(int id) { (void)id; }

 protected:
  // Creates the dialog's own controls, once the background is loaded.
  virtual void CreateControls() {}

 public:
  // Added for the key and fire key dialogs.
  // An edit lost the keyboard focus (EN_KILLFOCUS).
  virtual void OnEditFocusLost(int id) { (void)id; }
  // The dialog's keyboard hook named a keystroke.
  virtual void OnKeyCaptured(const CapturedKey& key) { (void)key; }
  // WM_MOUSEWHEEL with its delta (positive: away from the user).
  virtual void OnMouseWheel(int delta) { (void)delta; }
  // Whether a keyboard message (WM_KEYDOWN when `keyDown`, any other
  // keyboard message otherwise) with this virtual key is dropped before the
  // dialog and its controls see it.
  virtual bool SwallowsKey(bool keyDown, unsigned virtualKey) const {
    (void)keyDown;
    (void)virtualKey;
    return false;
  }

 protected:
  // The dialog's own controls (fields, options) in focus order, ids from
  // 10, groups from 1; the frame adds its drop-down field, OK, Cancel and
  // close around them.
  virtual std::vector<WindowControl> DialogControls() { return {}; }
  // An edit field of the dialog, in a group of its own.
  static WindowControl FieldControl(int childId, int group, const Rect& box, std::string_view name);
  // What the drop-down field is called and shows.
  virtual std::string DropDownName() const { return {}; }
  virtual std::string DropDownValue() const { return {}; }
  // The control with this id takes the focus, shown (a key dialog moves on
  // once it heard its key).
  void FocusControl(int id);
  // The control in focus; 0 before the first key or click gave it one.
  int FocusedControl();

  // The title the frame draws in the band; an empty one draws nothing.
  virtual SubDialogTitle Title() const { return {}; }

  // Every left click, after the frame's own buttons and list took theirs
  // (a click that ended the dialog included).
  virtual void OnDialogClick(Point p) { (void)p; }

  // Scrolls the open drop-down list by kWheelScrollLines for a wheel notch,
  // up for a positive `delta`; nothing while no list is open.
  void ScrollOpenList(int delta);

  // Draws a skin image; a missing one is reported after the repaint.
  bool DrawSkinPng(Canvas& canvas, std::string_view imageName, Point at);
  const SubDialogLook& look() const { return look_; }
  SubDialogHost* host() const { return host_; }
  // The dialog's child controls; only from Initialize on.
  ChildControls& controls() const { return host_->childControls(); }

 private:
  void End(DialogResult result);
  void PressOk();
  // The ring and the keyboard go where the focus is.
  void ShowFocus();
  void ToggleList();
  void CloseList();
  void DrawButton(Canvas& canvas, const Rect& box, std::string_view label, bool over);
  void DrawClose(Canvas& canvas, bool over);
  void DrawTitle(Canvas& canvas);
  void Redraw(const std::function<void(Canvas&)>& draw);

  SubDialogLook look_;
  std::string backgroundImage_;
  std::string failureCaption_;
  std::optional<SubDialogDropDown> dropDown_;
  SubDialogHost* host_ = nullptr;
  bool usable_ = false;
  DialogResult result_ = DialogResult::kNone;
  bool okHovered_ = false;
  bool cancelHovered_ = false;
  bool closeHovered_ = false;
  bool listOpen_ = false;
  int missingImages_ = 0;
  KeyboardFocus focus_;
};

// The frame's keyboard ids.
inline constexpr int kSubDialogDropDownKeyId = 1;
inline constexpr int kSubDialogOkKeyId = 2;
inline constexpr int kSubDialogCancelKeyId = 3;
inline constexpr int kSubDialogCloseKeyId = 4;

}  // namespace vortal
