// The basic settings page: the two button modes with eight button panes and
// their function lists (and the DPI-switch sub-list), the Default button, the
// report rate marks and the four DPI stages with their sliders; the lighting
// column is LightingArea. The page is drawn from skin images; the click
// dispatcher calls the operations below through the page's regions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assign/assignment_choices.h"
#include "edit/setup_editor.h"
#include "ui/window/assignment_dialogs.h"
#include "ui/host/geometry.h"
#include "ui/window/lighting_area.h"
#include "ui/window/main_window_model.h"

namespace vortal {

inline constexpr int kPanes = 8;                // buttons 1..8 have a pane
inline constexpr int kFirstFunctionListId = 41;  // button n's list is 40 + n
inline constexpr int kLastFunctionListId = 52;   // ids of slots 0..11
inline constexpr int kDpiSwitchListId = 37;
inline constexpr int kDpiSwitchListSize = 60;
inline constexpr int kDpiSwitchItem = 6;  // "DPI Switch" in a function list

// Hot control ids of the page (the frame uses 1..8).
inline constexpr int kDefaultButtonHotId = 100;
inline constexpr int kFirstPaneHotId = 101;  // panes 1..8: 101..108
inline constexpr int kPaneHotGroup = 1;
// The keyboard's ids of the other drawn controls (the panes and Default keep
// their hot ids).
inline constexpr int kModeAKeyId = 110;
inline constexpr int kModeBKeyId = 111;
inline constexpr int kFirstRateMarkKeyId = 121;  // marks 1..4: 121..124
inline constexpr int kFirstDpiTickKeyId = 131;   // stages 1..4: 131..134
inline constexpr int kFirstDpiSliderKeyId = 141; // stages 1..4: 141..144

inline constexpr Rect kModeAButton{253, 518, 358, 539};
inline constexpr Rect kModeBButton{357, 518, 462, 539};
inline constexpr Rect kDefaultButton{307, 549, 412, 570};

// Geometry (buttons and stages numbered from 1, steps from 1 at the bottom).
Rect PaneBox(int button);
Rect FunctionListArea(int button);
Rect ReportRateMarkBox(int mark);  // 1..4
Rect DpiTickBox(int stage);
Rect DpiStepBox(int stage, int step);

// 8 steps for sensor types 1 to 3, 12 for any other.
int DpiStepCount(std::uint8_t sensorType);
// The labels of the slider steps, step 1 first (the twelve-step table for a
// sensor type the program does not know).
std::vector<std::string> DpiStepLabels(std::uint8_t sensorType);

class BasicPage : public MainWindowPage {
 public:
  BasicPage(MainWindowModel& model, AssignmentDialogs& dialogs);

  // The dialogs a function choice opens; the window may replace them.
  void SetAssignmentDialogs(AssignmentDialogs& dialogs) { dialogs_ = &dialogs; }

  // MainWindowPage.
  void Build() override;
  void Teardown() override;
  std::vector<DropDownList> Lists() const override;
  std::vector<PageRegion> Regions() override;
  std::vector<HotControl> HotControls() const override;
  std::vector<WindowControl> Controls() override;
  void OnListChoice(int listId, int index, bool doubleClick) override;

  // Shows the page (nothing when it is already shown).
  void DrawBasicPage();

  // Click operations.
  void SelectMode(int mode);  // 0 Mode A, 1 Mode B
  void RestoreDefaultButtons();
  void TogglePaneList(int button);  // 1..8
  void SetReportRate(std::uint8_t code);
  void ToggleDpiStage(int stage);           // 1..4
  void SetDpiLevel(int stage, int step);    // 1..12
  // LBN_SELCHANGE of the DPI-switch sub-list; negative: no selection.
  void OnDpiSwitchChosen(int index);
  // Every pointer move while the page is shown (client coordinates): the
  // item under the pointer in an open list becomes its selection; resting on
  // "DPI Switch" opens the sub-list beside it, any other item closes it.
  void TrackFunctionListHover(Point p);

  // An imported setup brings the pane texts of its buttons: a first showing
  // after it keeps them instead of giving a delivered config.bin its default
  // ones.
  void KeepPaneTexts() { keepPaneTexts_ = true; }

  bool initialised() const { return initialised_; }
  int dpiStepCount() const { return dpiStepCount_; }
  std::uint8_t sensorType() const;
  LightingArea& lighting() { return lighting_; }

 private:
  SettingsRecord& record() { return model_.settings().working; }
  const SettingsRecord& record() const { return model_.settings().working; }
  // The pane texts' mode: any non-zero editedMode edits Mode B's area.
  int PaneMode() const;
  Color textColor() const { return model_.textColor(); }
  void Redraw(const std::function<void(Canvas&)>& draw);
  void FirstDisplay();
  void DrawPane(Canvas& canvas, int button, bool over) const;
  void DrawModeButtons(Canvas& canvas) const;
  void DrawCaptionButton(Canvas& canvas, const Rect& box, bool over, std::string_view caption) const;
  void DrawSlider(Canvas& canvas, int stage, int litSteps) const;
  void DrawTick(Canvas& canvas, int stage) const;
  void DrawMark(Canvas& canvas, int mark, bool lit) const;
  void CloseFunctionLists(int except);
  // Gives button `slot` of the edited mode the action through the editor.
  void AssignButton(int slot, const ButtonAction& action);

  MainWindowModel& model_;
  AssignmentDialogs* dialogs_;
  LightingArea lighting_;
  bool initialised_ = false;
  bool keepPaneTexts_ = false;
  int dpiStepCount_ = kMaxDpiSteps;
};

}  // namespace vortal
