// CMacroDialog: gives a button one of the stored macros and the way it
// repeats. The list shows the macros of "record.ini" in file order, so a
// macro's position is its slot in the mouse.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ui/dialogs/dialog_label.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr int kMacroNameFieldId = 592;
inline constexpr int kMacroListId = 593;
inline constexpr Rect kMacroNameFieldBox{43, 129, 136, 143};
inline constexpr SubDialogDropDown kMacroDropDown{
    {43, 129, 151, 143}, {43, 146, 151, 285}, kMacroListId};
inline constexpr Rect kMacroPromptBox{13, 113, 181, 129};
inline constexpr SubDialogTitle kMacroKeyTitle{{"MACRO KEY", "宏按键", "巨集按鍵"}, 36};
inline constexpr std::string_view kMacroKeyBackground = "/macro-key.png";
inline constexpr std::string_view kMacroKeyFailureCaption =
    "Macro Key Dialog Load background image failed!!!";
inline constexpr DialogLabel kMacroNotChosen{"Choose a macro from the list first.",
                                             "请先从列表框选择一个宏。",
                                             "請先從清單方塊選擇一個巨集。"};
inline constexpr DialogLabel kNoMacroStored{
    "There is no macro yet: record one under Advanced Settings first.",
    "还没有宏：请先在高级设置中录制一个。", "還沒有巨集：請先在高級設置中錄製一個。"};
inline constexpr DialogLabel kMacroPrompt{"Please select a macro", "请从列表框选择一个宏",
                                          "請從清單方塊選擇一個巨集"};

struct RepeatModeChoice {
  Rect box;   // the tick box, clicked to choose the mode
  Rect text;  // the mode's description beside it
  DialogLabel label;
};
// Repeat modes 1, 2 and 3, in order.
inline constexpr std::array<RepeatModeChoice, 3> kRepeatModes = {{
    {{220, 78, 236, 94}, {237, 70, 390, 102},
     {"Repeat a specified number of times or press any key to end",
      "重复指定次数或按任意键结束", "重複指定次數或按任意鍵結束"}},
    {{220, 128, 236, 144}, {237, 120, 390, 152},
     {"Repeat until press any key to end", "重复直到按任意键结束", "重複直到按任意鍵結束"}},
    {{220, 178, 236, 194}, {237, 170, 390, 202},
     {"Repeat until the key is released", "重复直到该按键松开结束", "重複直到該按鍵鬆開結束"}},
}};

class CMacroDialog : public SubDialogFrame {
 public:
  // `recordPath`: the macro store, read each time the list opens.
  CMacroDialog(SubDialogLook look, std::string recordPath);

  void OnMouseWheel(int delta) override { ScrollOpenList(delta); }

  // Opens on the button's current macro (its position in record.ini, shown
  // while there is a macro there) and repeat mode (1 to 3). Before the
  // dialog runs.
  void StartFrom(int position, int repeatMode);

  // OK needs a chosen macro; the user is told when none is chosen, or
  // none is stored yet.
  int chosenPosition() const { return chosenPosition_; }
  const std::string& chosenName() const { return chosenName_; }
  int repeatMode() const { return repeatMode_; }  // 1, 2 or 3

 protected:
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kMacroKeyTitle; }
  std::vector<std::string> ListItems() const override;
  void OnListItemChosen(int index, const std::string& text) override;
  void OnDialogClick(Point p) override;
  bool OnOk() override;
  std::vector<WindowControl> DialogControls() override;
  std::string DropDownName() const override { return std::string(kMacroPrompt.In(look().language)); }
  std::string DropDownValue() const override { return chosenName_; }

 private:
  std::string recordPath_;
  int startPosition_ = -1;
  int chosenPosition_ = 0;
  std::string chosenName_;
  int repeatMode_ = 1;
};

}  // namespace vortal
