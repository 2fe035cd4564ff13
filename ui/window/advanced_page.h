// The main window's second page, "Advanced Settings": on the left the
// system's pointer parameters (pointer speed, wheel scroll lines, double-click
// time, enhanced pointer precision, scrolling by screens), on the right the
// macro editor, which this page composes. The pointer values are not sent to
// the mouse: they live in five fields of the settings record, are read from
// the system at the page's first showing in a run and pushed to the system
// after every OK and Apply.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "edit/record_rules.h"
#include "settings/settings_record.h"
#include "ui/host/geometry.h"
#include "ui/window/main_window_model.h"
#include "ui/host/pointer_system.h"

namespace vortal {

// ---- Steps and system values


// The three sliders, numbered as the page shows them from the top.
enum class PointerSlider { kMouseSpeed = 1, kScrollLines = 2, kDoubleClick = 3 };
inline constexpr int kPointerSliderCount = 3;

enum class PointerCheck { kPrecision, kScrollOneScreen };

// Step 1 to 11 to the system's pointer speed 1 to 20: 1 for step 1, else
// 2 * step - 2.
std::uint32_t PointerSpeedOfStep(int step);
// Step 1 to 11 to the double-click time, 900 down to 200 ms: 970 - 70 * step.
std::uint32_t DoubleClickTimeOfStep(int step);
// Enhanced precision on is the triple (6, 10, 1), off (0, 0, 0).
MouseParams MouseParamsOf(bool precision);

// The step a system value shows on its slider. A value outside the range the
// slider covers is taken as the nearest end of that range, so the page never
// holds a step the system could not be given back.
int SpeedStepOfSystem(std::uint32_t speed);             // 1..20 -> 1..11
int DoubleClickStepOfSystem(std::uint32_t milliseconds);  // 900..200 ms -> 1..11
int ScrollStepOfSystem(std::uint32_t lines);            // 0..11 lines, not one screen

// Whether the record's three steps are ones the page can show: speed and
// double-click 1 to 11, scroll lines 0 to 11. They are not before the page has
// ever read the system (all 0) or in a hand-edited config.bin.
bool PointerStepsValid(const SettingsRecord& record);

// The steps the page takes when a reading fails: the system's own defaults
// (speed 10, 3 lines, and 550 ms, the step nearest to 500 ms).
inline constexpr int kFallbackSpeedStep = 6;
inline constexpr int kFallbackScrollLines = 3;
inline constexpr int kFallbackDoubleClickStep = 6;

// "Default": what the system gets at once, and the steps the page then shows.
inline constexpr MouseParams kDefaultMouseParams{0, 0, 0};
inline constexpr std::uint32_t kDefaultPointerSpeed = 10;
inline constexpr std::uint32_t kDefaultScrollLines = 3;
inline constexpr std::uint32_t kDefaultDoubleClickTime = 500;
inline constexpr int kDefaultSpeedStep = 6;
inline constexpr int kDefaultScrollStep = 3;
inline constexpr int kDefaultDoubleClickStep = 6;

// Failed system calls, told in English in every language.
inline constexpr std::string_view kGetMouseSpeedFailed = "GETMOUSESPEED failed.";
inline constexpr std::string_view kGetWheelScrollLinesFailed = "GETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kGetDoubleClickTimeFailed = "GetDoubleClickTime failed.";
inline constexpr std::string_view kSetMouseFailed = "SETMOUSE failed.";
inline constexpr std::string_view kSetMouseSpeedFailed = "SETMOUSESPEED failed.";
inline constexpr std::string_view kSetWheelScrollLinesFailed = "SETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kSetDoubleClickTimeFailed = "SPI_SETDOUBLECLICKTIME failed.";

// ---- Layout

// Slider rows: 11 cells of 24 x 11, cell s at left 52 + 24 (s - 1); the
// number under a cell is centred in (left, bottom + 10, right, bottom + 30).
inline constexpr int kSliderLeft = 52;
inline constexpr int kSliderCellWidth = 24;
inline constexpr int kSliderCellHeight = 11;
inline constexpr int kSliderTops[kPointerSliderCount] = {200, 350, 500};
Rect SliderCellBox(PointerSlider slider, int step);

inline constexpr Rect kPrecisionCheckBox{51, 255, 67, 271};
inline constexpr Rect kScrollOneScreenCheckBox{51, 405, 67, 421};
inline constexpr Rect kPointerDefaultBox{194, 573, 299, 594};

// Hot control id of the page (the frame's are 1..8, the macro half has its
// own).
inline constexpr int kPointerDefaultHotId = 201;
// The keyboard's ids of the sliders (202..204) and ticks (205, 206).
inline constexpr int kFirstPointerSliderKeyId = 202;
inline constexpr int kPrecisionKeyId = 205;
inline constexpr int kScrollOneScreenKeyId = 206;

// The page's right half, the macro editor, as the page composes it: drawn
// after the pointer half on the same picture, its child controls made while
// they do not exist, its regions tested between the pointer buttons and the
// sliders.
class AdvancedPageHalf {
 public:
  virtual ~AdvancedPageHalf() = default;
  virtual void Draw(Canvas& canvas) const = 0;
  virtual void CreateControls() = 0;
  virtual void Teardown() = 0;
  virtual std::vector<DropDownList> Lists() const = 0;
  virtual std::vector<PageRegion> Regions() = 0;
  virtual std::vector<HotControl> HotControls() const = 0;
  // Its controls in focus order, in groups from `firstGroup` on.
  virtual std::vector<WindowControl> Controls(int firstGroup) = 0;
  virtual void OnListChoice(int listId, int index, bool doubleClick) = 0;
};

// Any editor with these members serves as the half.
template <class Editor>
class AdvancedPageHalfOf : public AdvancedPageHalf {
 public:
  explicit AdvancedPageHalfOf(Editor& editor) : editor_(editor) {}
  void Draw(Canvas& canvas) const override { editor_.Draw(canvas); }
  void CreateControls() override { editor_.CreateControls(); }
  void Teardown() override { editor_.Teardown(); }
  std::vector<DropDownList> Lists() const override { return editor_.Lists(); }
  std::vector<PageRegion> Regions() override { return editor_.Regions(); }
  std::vector<HotControl> HotControls() const override { return editor_.HotControls(); }
  std::vector<WindowControl> Controls(int firstGroup) override { return editor_.Controls(firstGroup); }
  void OnListChoice(int listId, int index, bool doubleClick) override {
    editor_.OnListChoice(listId, index, doubleClick);
  }

 private:
  Editor& editor_;
};

class AdvancedPage : public MainWindowPage {
 public:
  // `macroHalf` is the right half; it may be absent.
  AdvancedPage(MainWindowModel& model, PointerSystem& system,
               AdvancedPageHalf* macroHalf = nullptr);
  // Before the page is first drawn.
  void SetMacroHalf(AdvancedPageHalf* macroHalf) { macroHalf_ = macroHalf; }

  // MainWindowPage.
  void Build() override { DrawAdvancedPage(); }
  void Teardown() override;
  std::vector<DropDownList> Lists() const override;
  std::vector<PageRegion> Regions() override;
  std::vector<HotControl> HotControls() const override;
  std::vector<WindowControl> Controls() override;
  void OnListChoice(int listId, int index, bool doubleClick) override;

  // Draws the whole page; the system's values are read at the first call of
  // the run, later calls show the record's fields.
  void DrawAdvancedPage();
  // A click on a slider cell: step 1 to 11. Nothing reaches the system.
  void SetSliderStep(PointerSlider slider, int step);
  // A click on a tick box. Nothing reaches the system.
  void TogglePointerCheck(PointerCheck check);
  // "Default": the system's defaults at once, and the page's default steps.
  void RestorePointerDefaults();
  // After every OK and Apply: the record's values to the system.
  void ApplyPointerSettings();

  // An imported setup's pointer steps are the user's choice: when they are
  // ones the page can show, its first showing keeps them instead of reading
  // the system's.
  void KeepRecordPointerValues() {
    if (PointerStepsValid(record())) pointerValuesRead_ = true;
  }

  bool pointerValuesRead() const { return pointerValuesRead_; }

 private:
  void ReadSystemValues();
  void DrawSlider(Canvas& canvas, PointerSlider slider) const;
  void DrawCheck(Canvas& canvas, PointerCheck check) const;
  void DrawDefaultButton(Canvas& canvas, bool over) const;
  void DrawTexts(Canvas& canvas) const;
  void Warn(std::string_view text);
  SettingsRecord& record();
  const SettingsRecord& record() const;

  MainWindowModel& model_;
  PointerSystem& system_;
  AdvancedPageHalf* macroHalf_;
  bool pointerValuesRead_ = false;
  bool controlsCreated_ = false;  // the macro half's child controls exist
};

}  // namespace vortal
