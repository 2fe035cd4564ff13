// The main window's behaviour without the window: the click dispatcher, hot
// controls and hover, the start-up hiding, and OK / Apply / Cancel on the two
// settings records. Its surface is one picture of skin images at constant
// positions; every control is a constant rectangle the model hit-tests. The
// pages plug in through MainWindowPage.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_port.h"
#include "device/mouse_link.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "ui/host/canvas.h"
#include "ui/window/drop_down_lists.h"
#include "ui/host/geometry.h"
#include "ui/host/keyboard_focus.h"
#include "ui/host/main_window_services.h"
#include "settings/skin_settings.h"
#include "texts/texts.h"

namespace vortal {

// A control drawn in its over image while the pointer rests on it.
struct HotControl {
  int id = 0;     // unique in the window; frame controls use 1..8
  Rect box;
  int group = 0;  // members of one non-zero group restore each other
  std::function<void(Canvas&, bool over)> draw;
};

// A clickable region of a page, tested in the page's order.
struct PageRegion {
  std::function<bool(Point)> contains;
  std::function<void(Point)> action;
  // False for a region that acts and lets the test go on (the advanced
  // page's insert-list box): the click may still reach a later region or
  // drag the window.
  bool stopsDispatch = true;
};

inline PageRegion RectRegion(const Rect& box, std::function<void(Point)> action) {
  return {[box](Point p) { return box.Contains(p); }, std::move(action), true};
}

// A page of the main window (1 basic, 2 advanced).
class MainWindowPage {
 public:
  virtual ~MainWindowPage() = default;
  // Draws the page whole and creates those of its child controls that are
  // not there yet.
  virtual void Build() = 0;
  // Destroys the page's child controls and lists (another page is shown).
  virtual void Teardown() = 0;
  // The lists a click outside them closes, in closing order.
  virtual std::vector<DropDownList> Lists() const = 0;
  virtual std::vector<PageRegion> Regions() = 0;
  virtual std::vector<HotControl> HotControls() const = 0;
  // The page's controls for the keyboard and screen readers, in focus
  // order; ids from 100 (the frame has 1..8), groups from 1.
  virtual std::vector<WindowControl> Controls() = 0;
  // A selection change (or double-click) in one of the page's list boxes;
  // `index` is the list's selection, negative for none.
  virtual void OnListChoice(int listId, int index, bool doubleClick) {
    (void)listId;
    (void)index;
    (void)doubleClick;
  }
};

inline constexpr int kNoPage = 0;
inline constexpr int kBasicPage = 1;
inline constexpr int kAdvancedPage = 2;
inline constexpr int kTeardownAllPages = 3;  // neither page: every page's controls go

enum FrameControlId : int {
  kFrameOk = 1,
  kFrameApply,
  kFrameCancel,
  kFrameSkins,
  kFrameMinimise,
  kFrameClose,
  kFrameBasicPage,
  kFrameAdvancedPage,
};

struct FrameButton {
  FrameControlId id;
  Rect box;
  std::string_view normalImage;
  std::string_view overImage;
  std::optional<TextId> caption;
  int group;  // frame groups are negative, so pages can number theirs from 1
};

inline constexpr int kBottomButtonGroup = -1;
inline constexpr int kPageButtonGroup = -2;
inline constexpr int kTitleButtonGroup = -3;  // the keyboard's group of Skins, minimise, close

// OK, Apply and Cancel share the columns 617 and 721: a click there is in both.
extern const std::array<FrameButton, 8> kFrameButtons;
const FrameButton& FrameButtonOf(FrameControlId id);

// The web address in the title band, right-aligned up to the Skins button, in
// a grey that reads on dark and pale bands alike.
inline constexpr Rect kWebAddressBox{480, 5, 690, 23};
inline constexpr Color kWebAddressColor{0x8A, 0x93, 0x9E};

// Start-up hiding: the first two non-client paints hide the window.
inline constexpr int kHideOnStartPaints = 2;

struct MainWindowFiles {
  std::string settingsFile;      // config.bin
  std::string skinSettingsFile;  // str.ini
  std::string programDir;        // with its trailing separator
  std::string macroStore;        // record.ini
};

class MainWindowModel {
 public:
  MainWindowModel(MainWindowServices& services, MouseLink& link, HidBackend& backend,
                  SettingsState& settings, MainWindowFiles files);

  // Operations of other parts of the window, run where the frame asks.
  // After every OK and Apply: the pointer settings, and what the macro editor
  // keeps of the applied slots.
  std::function<void()> afterApply;
  // After Cancel restored the applied record: the macro editor brings its
  // buttons in line with record.ini, which Cancel does not take back.
  std::function<void()> afterCancel;
  std::function<void()> openSkinDialog;         // the Skins button

  void SetPage(int number, MainWindowPage* page);

  // WM_LBUTTONDOWN.
  void OnLeftButtonDown(Point p);
  // WM_MOUSEMOVE. Moving off every hot control restores those drawn over;
  // leaving the window does not (WM_MOUSELEAVE has only default handling).
  void OnMouseMove(Point p);
  // WM_MOUSEHOVER.
  void OnMouseHover(Point p);
  // A key while the window has the keyboard; true when it was used. Tab,
  // the arrows, Space and Enter go through the window's controls, Ctrl+Tab
  // changes pages, an open list takes the list keys. Escape with no list
  // open is the window's (it hides).
  bool OnKey(const KeyPress& key);
  // The window's controls in focus order: the page tabs, the page's, OK,
  // Apply, Cancel, then Skins, minimise and close.
  std::vector<WindowControl> Controls();
  // What a frame button does, pressed from the keyboard (a click acts
  // through OnLeftButtonDown, where OK, Apply and Cancel share columns).
  void PressFrameButton(FrameControlId id);
  const KeyboardFocus& focus() const { return focus_; }
  // The name of the control in focus; empty for none.
  std::string FocusedName();

  // WM_NCPAINT: true when the window was hidden instead of painted.
  bool OnNcPaint();
  // The user asked for the window: the start-up's hiding paints, if any are
  // still to come, leave it shown.
  void EndStartupHiding() { hideOnStartCount_ = 0; }
  // LBN_SELCHANGE / LBN_DBLCLK from a list box of the page shown.
  void OnListNotification(int listId, int index, bool doubleClick);

  // Draws a page and makes it current, tearing down the other page's
  // controls. ShowPage does nothing when the page is already shown.
  void BuildPage(int number);
  void ShowPage(int number);
  // Destroys the child controls of every page other than `keep`
  // (kTeardownAllPages: of every page).
  void TeardownPagesExcept(int keep);
  // The window's picture drawn whole as the page shown has it, every control
  // in its normal image, the page's controls and open lists kept: the
  // picture was made anew (the window shown again after it was hidden).
  void RedrawWhole();

  // OK and Apply: write the working record into the mouse and save it, make
  // it the applied record, apply the pointer settings. Refused with a message
  // (false) while config.bin was not loaded: the record then holds nothing the
  // user chose, and must reach neither the mouse nor the files.
  bool ApplySettings();
  // Cancel: back to the applied record and the pane texts that went with it;
  // the page is redrawn when the window is next opened from the tray.
  void CancelChanges();
  // What start-up made of config.bin. The pane texts read with it (or saved
  // with the last Apply) are the ones Cancel goes back to.
  void SettingsLoaded(LoadResult result);
  LoadResult settingsLoad() const { return settingsLoad_; }
  bool settingsUsable() const { return settingsLoad_ == LoadResult::kLoaded; }
  // The shutdown clean-up, then the end of the process with exit code 0.
  void Exit();

  // Draws the frame buttons in their normal images with their captions.
  void DrawFrame(Canvas& canvas) const;
  void DrawHotControl(Canvas& canvas, const HotControl& control, bool over) const;

  int currentPage() const { return currentPage_; }
  bool basicPageBuilt() const { return basicPageBuilt_; }
  int hideOnStartCount() const { return hideOnStartCount_; }
  bool IsDrawnOver(int controlId) const { return drawnOver_.count(controlId) != 0; }
  Point lastClick() const { return lastClick_; }

  bool restoreRedrawPending = false;
  LocalizedTexts texts;
  SkinState skin;

  MainWindowServices& services() { return services_; }
  MouseLink& link() { return link_; }
  HidBackend& backend() { return backend_; }
  SettingsState& settings() { return settings_; }
  const MainWindowFiles& files() const { return files_; }
  DropDownLists& lists() { return lists_; }
  Color textColor() const { return {skin.textColor.red, skin.textColor.green, skin.textColor.blue}; }

 private:
  MainWindowPage* Page(int number) const;
  std::vector<HotControl> HotControls() const;
  void Click(Point p);
  void DispatchToPage(Point p);
  void RestoreAllDrawnOver();
  // The ring follows the focus once the keyboard was used.
  void ShowFocus();

  MainWindowServices& services_;
  MouseLink& link_;
  HidBackend& backend_;
  SettingsState& settings_;
  MainWindowFiles files_;
  DropDownLists lists_;
  std::array<MainWindowPage*, 2> pages_{};
  int currentPage_ = kNoPage;
  bool basicPageBuilt_ = false;
  int hideOnStartCount_ = kHideOnStartPaints;
  std::set<int> drawnOver_;
  Point lastClick_;
  LoadResult settingsLoad_ = LoadResult::kNotRead;
  PaneTexts appliedPaneText_;
  KeyboardFocus focus_;
};

}  // namespace vortal
