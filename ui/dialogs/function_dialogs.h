// CMediaDialog and CWindowsDialog: one field that opens a list of fixed
// functions (multimedia controls, or Windows applications and browser
// commands); the result is the chosen item's index and its text in the
// system language.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "ui/dialogs/dialog_label.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr int kMediaFieldId = 552;
inline constexpr int kMediaListId = 553;
inline constexpr int kWindowsFieldId = 532;
inline constexpr int kWindowsListId = 533;
inline constexpr Rect kFunctionFieldBox{43, 129, 135, 143};
inline constexpr SubDialogDropDown kMediaDropDown{
    {43, 129, 151, 143}, {43, 145, 151, 265}, kMediaListId};
inline constexpr SubDialogDropDown kWindowsDropDown{
    {43, 129, 151, 143}, {43, 145, 151, 305}, kWindowsListId};


// What tells the two dialogs apart.
struct FunctionDialogKind {
  std::string_view background;
  std::string_view failureCaption;
  int fieldId;
  SubDialogDropDown dropDown;
  std::span<const DialogLabel> items;
  SubDialogTitle title;
};

class CFunctionDialog : public SubDialogFrame {
 public:
  CFunctionDialog(SubDialogLook look, const FunctionDialogKind& kind);

  // Opens on item `index` (the button's current function); an index
  // outside the list leaves the first item. Before the dialog runs.
  void StartFrom(int index);

  int chosenIndex() const { return chosenIndex_; }
  const std::string& chosenText() const { return chosenText_; }

 protected:
  void CreateControls() override;
  std::vector<std::string> ListItems() const override;
  void OnListItemChosen(int index, const std::string& text) override;
  SubDialogTitle Title() const override { return title_; }
  std::string DropDownName() const override { return std::string(title_.text.In(look().language)); }
  std::string DropDownValue() const override { return chosenText_; }

 private:
  int fieldId_;
  SubDialogTitle title_;
  std::span<const DialogLabel> items_;
  int chosenIndex_ = 0;
  std::string chosenText_;
};

class CMediaDialog : public CFunctionDialog {
 public:
  explicit CMediaDialog(SubDialogLook look);
};

class CWindowsDialog : public CFunctionDialog {
 public:
  explicit CWindowsDialog(SubDialogLook look);
};

}  // namespace vortal
