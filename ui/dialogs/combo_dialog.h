// CComboDialog: gives a button a key combination: at most one modifier from
// a drop-down list and up to two keys, each captured by pressing it while
// its field has the keyboard focus.
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs/single_dialog.h"

namespace vortal {

inline constexpr unsigned kComboKeyCapturedMessage = 0x0B05;
inline constexpr int kComboModifierFieldId = 512;
inline constexpr int kComboModifierListId = 515;
inline constexpr int kComboFirstKeyId = 516;
inline constexpr int kComboSecondKeyId = 517;
inline constexpr Rect kComboModifierFieldBox{50, 70, 116, 84};
inline constexpr Rect kComboFirstKeyBox{50, 120, 131, 134};
inline constexpr Rect kComboSecondKeyBox{50, 170, 131, 184};
// The click area that opens the list is a little wider than the field.
inline constexpr SubDialogDropDown kComboModifierDropDown{
    {50, 70, 132, 84}, {50, 86, 132, 226}, kComboModifierListId};
inline constexpr SubDialogTitle kComboKeyTitle{{"COMBO KEY", "组合键", "複合鍵"}, 40};

// A caption above each field, and a help line beside each of the numbered
// markers of the background (one line each, centred on its marker).
struct ComboKeyLabel {
  Rect box;
  DialogLabel text;
};
inline constexpr ComboKeyLabel kComboKeyLabels[] = {
    {{50, 53, 170, 67}, {"Modifier", "修饰键", "修飾鍵"}},
    {{50, 103, 170, 117}, {"First key", "第一个键", "第一個鍵"}},
    {{50, 153, 170, 167}, {"Second key", "第二个键", "第二個鍵"}},
    {{176, 71, 384, 85},
     {"Pick a modifier from the list.", "从列表中选择一个修饰键。", "從清單中選擇一個修飾鍵。"}},
    {{176, 119, 384, 133},
     {"Click a key box, then press the key.", "点击按键框，再按下要设置的键。",
      "點擊按鍵框，再按下要設定的鍵。"}},
    {{176, 169, 384, 183},
     {"A second key is optional.", "第二个键可以不设置。", "第二個鍵可以不設定。"}},
};

inline constexpr std::string_view kComboKeyBackground = "/combo-key.png";
inline constexpr std::string_view kComboKeyFailureCaption =
    "Combo Dialog Load background image failed!!!";

class CComboDialog : public SubDialogFrame {
 public:
  explicit CComboDialog(SubDialogLook look);

  // The key goes to the key field that has the focus (none: ignored); once
  // it is released the focus moves on, to the second field, then to OK.
  void OnKeyCaptured(const CapturedKey& key) override;
  // A key field in focus takes every key, Tab, Enter and Escape included.
  bool SwallowsKey(bool keyDown, unsigned virtualKey) const override;

  // Opens on the button's current combination: the modifier's list index
  // (-1 none) and the two keys' names. Before the dialog runs.
  void StartFrom(int modifierIndex, std::string firstKey, std::string secondKey);

  const std::string& modifier() const { return modifier_; }
  int modifierIndex() const { return modifierIndex_; }
  const std::string& firstKey() const { return firstKey_; }
  const std::string& secondKey() const { return secondKey_; }

 protected:
  std::vector<WindowControl> DialogControls() override;
  std::string DropDownName() const override {
    return std::string(kComboKeyLabels[0].text.In(look().language));
  }
  std::string DropDownValue() const override { return modifier_; }
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kComboKeyTitle; }
  std::vector<std::string> ListItems() const override;
  void OnListItemChosen(int index, const std::string& text) override;

 private:
  bool heard_ = false;  // a key went down while a key field listened
  std::string modifier_;
  int modifierIndex_ = -1;
  std::string firstKey_;
  std::string secondKey_;
};

}  // namespace vortal
