// The lighting column of the basic page ("RGB Effect"): the LED mode and its
// parameter, eight loop colours with their ticks and swatches, and the four
// colour bits of each DPI stage. Everything edits the working record; Apply
// sends it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "edit/record_rules.h"
#include "settings/settings_record.h"
#include "ui/host/canvas.h"
#include "ui/window/drop_down_lists.h"
#include "ui/host/geometry.h"
#include "ui/host/window_controls.h"
#include "texts/texts.h"

namespace vortal {

class MainWindowModel;

// Control ids.
inline constexpr int kLedModeListId = 63;
inline constexpr int kLedParameterListId = 64;
inline constexpr int kLedStageListId = 67;
inline constexpr int kFirstSwatchId = 75;  // swatches 75..82, loop colours 0..7
inline constexpr int kLedModeStaticId = 86;
inline constexpr int kLedParameterStaticId = 87;
// The keyboard's ids of the drawn controls.
inline constexpr int kLedModeHeaderKeyId = 160;
inline constexpr int kLedParameterHeaderKeyId = 161;
inline constexpr int kFirstLoopTickKeyId = 170;    // 170..177
inline constexpr int kFirstLoopSwatchKeyId = 180;  // 180..187
inline constexpr int kLedStageHeaderKeyId = 190;
inline constexpr int kFirstLedSquareKeyId = 191;   // 191..194

// Hit rectangles.
inline constexpr Rect kLedModeHeader{766, 329, 851, 344};
inline constexpr Rect kLedParameterHeader{766, 359, 851, 374};
inline constexpr Rect kLedModeListArea{766, 347, 851, 407};
inline constexpr Rect kLedStageHeader{741, 510, 826, 526};
inline constexpr Rect kLedStageListArea{740, 529, 826, 609};
Rect LoopColorTickBox(int color);    // 0..7
Rect LoopColorSwatchBox(int color);  // 0..7
Rect LedSquareBox(int square);       // 0..3

// The parameter list's area: its height follows the mode's item count.
Rect LedParameterListArea(int mode);


class LightingArea {
 public:
  explicit LightingArea(MainWindowModel& model);

  // Part of the page drawing, in the page's buffer. Creates the swatches and
  // the LED statics when the mode static does not exist.
  void DrawLightingArea(Canvas& canvas);
  // The page is left: its statics, swatches and lists go.
  void Teardown();
  // Closing order for clicks outside: mode list, parameter list, stage list.
  std::vector<DropDownList> Lists() const;
  // The area's controls in focus order, in groups from `firstGroup` on.
  std::vector<WindowControl> Controls(int firstGroup);

  void ToggleLedModeList();
  void ToggleParameterList();
  void ToggleLedStageList();
  void ToggleLoopColor(int color);  // 0..7
  void ChooseLoopColor(int color);  // 0..7
  void ToggleLedBit(int square);    // 0..3 of the selected stage

  // LBN_SELCHANGE of lists 63, 64, 67; a negative index is no selection.
  void OnLedModeChosen(int index);
  void OnParameterChosen(int index);
  void OnLedStageChosen(int index);
  // A choice in one of this area's lists; false for any other list.
  bool OnListChoice(int listId, int index);
  // The pointer moved: over one of this area's lists, the item under it
  // becomes the selection.
  void TrackListHover(Point p);

  int selectedLedStage() const { return selectedLedStage_; }

 private:
  SettingsRecord& record();
  Color textColor() const;
  // The swatches show the loop colours, the mode and parameter statics the
  // skin's text colour wherever it reads on black.
  void SetLooks();
  void CreateParameterStatic(const std::string& text);
  void DrawSquares(Canvas& canvas, int stage);
  void DrawStageHeader(Canvas& canvas, int stage);

  MainWindowModel& model_;
  int selectedLedStage_ = 0;
};

}  // namespace vortal
