// CFireKeyDialog: sets up a rapid-fire button: the key (or mouse button) to
// repeat from a list of 61, the repeat speed and the number of repeats.
#pragma once

#include <string>
#include <vector>

#include "assign/assignment_choices.h"
#include "ui/dialogs/dialog_label.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr int kFireKeyFieldId = 572;
inline constexpr int kFireKeyListId = 573;
inline constexpr int kFireSpeedId = 574;
inline constexpr int kFireTimesId = 575;
inline constexpr Rect kFireKeyFieldBox{50, 70, 116, 84};
inline constexpr Rect kFireSpeedBox{50, 120, 131, 134};
inline constexpr Rect kFireTimesBox{50, 170, 131, 184};
inline constexpr SubDialogDropDown kFireKeyDropDown{
    {50, 70, 132, 84}, {50, 86, 132, 256}, kFireKeyListId};
inline constexpr std::string_view kFireKeyBackground = "/fire-key.png";
inline constexpr std::string_view kFireKeyFailureCaption =
    "FireKey Dialog Load background image failed!!!";

// Speed: a smaller value repeats faster. Times: 0 repeats until the button
// is released. A value out of range is replaced without a message.
inline constexpr int kFireDefaultSpeed = 32;
inline constexpr DialogLabel kFireSpeedRefused{
    "The speed must be from 5 to 255 (smaller values are faster).",
    "速度必须在 5 到 255 之间（数值越小越快）。", "速度必須在 5 到 255 之間（數值越小越快）。"};
inline constexpr int kFireDefaultTimes = 1;

inline constexpr SubDialogTitle kFireKeyTitle{{"FIRE KEY", "火力键", "火力鍵"}, 34};

struct FireKeyLabel {
  Rect box;
  DialogLabel text;
  TextAlign align;
};
// Each field's name above it (the 30 pixels left of a field do not hold
// "Speed"), then the notes between the fields' card rule and the buttons'
// rule; the long English times note takes two lines.
inline constexpr FireKeyLabel kFireKeyLabels[] = {
    {{50, 104, 131, 118}, {"Speed", "速度", "速度"}, TextAlign::kLeft},
    {{50, 154, 131, 168}, {"Times", "次数", "次數"}, TextAlign::kLeft},
    {{20, 187, 380, 201}, {"Illustration:", "说明:", "說明:"}, TextAlign::kLeft},
    {{20, 200, 380, 214},
     {"Speed (value range 5-255, with smaller values faster)",
      "速度(数值范围5-255，数值越小速度越快)", "速度(數值範圍5-255，數值越小速度越快)"},
     TextAlign::kLeft},
    {{20, 213, 380, 241},
     {"Times (value range 0-255,0 indicates fire key to end when the key released)",
      "次数(数值范围0-255，0表示按键放开火力键结束)",
      "次數(數值範圍0-255，0表示按鍵放開火力鍵結束)"},
     TextAlign::kLeftWrapped},
};

class CFireKeyDialog : public SubDialogFrame {
 public:
  explicit CFireKeyDialog(SubDialogLook look);

  void OnEditChanged(int id) override;
  void OnEditFocusLost(int id) override;
  void OnMouseWheel(int delta) override { ScrollOpenList(delta); }

  // Opens on the button's current fire key; values the mouse cannot take
  // (a hand-edited file) leave the defaults. Before the dialog runs.
  void StartFrom(int keyIndex, int speed, int times);

  int keyIndex() const { return keyIndex_; }
  const std::string& keyText() const { return keyText_; }
  int speed() const { return speed_; }
  int times() const { return times_; }

 protected:
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kFireKeyTitle; }
  std::vector<std::string> ListItems() const override;
  void OnListItemChosen(int index, const std::string& text) override;
  // A speed still being typed when OK is clicked counts too: the click on
  // the dialog's surface does not take the focus from the field. One the
  // mouse cannot take is refused, as on the command line: the field shows
  // the replacement and the user is told.
  bool OnOk() override;
  std::vector<WindowControl> DialogControls() override;
  std::string DropDownName() const override { return std::string(kKeyFieldLabel.In(look().language)); }
  std::string DropDownValue() const override { return keyText_; }

 private:
  // False when the field held a speed outside the mouse's range (replaced).
  bool ValidateSpeed();
  void ValidateTimes();

  int keyIndex_ = 0;
  std::string keyText_;
  int speed_ = kFireDefaultSpeed;
  int times_ = kFireDefaultTimes;
};

}  // namespace vortal
