#include "ui/dialogs/function_dialogs.h"

#include <utility>

namespace vortal {

namespace {

constexpr ChildLook kFieldLook{kControlTextColor, kControlBackColor};

constexpr FunctionDialogKind kMediaKind{"/media-key.png",
                                        "Media Dialog Load background image failed!!!",
                                        kMediaFieldId, kMediaDropDown, kMediaItems,
                                        {{"MULTIMEDIA", "多媒体", "多媒體"}, 34}};
constexpr FunctionDialogKind kWindowsKind{"/windows-key.png",
                                          "Windows Dialog Load background image failed!!!",
                                          kWindowsFieldId, kWindowsDropDown, kWindowsItems,
                                          {{"WINDOWS FUNCTION", "Windows 功能", "Windows 功能"}, 36}};

}  // namespace

CFunctionDialog::CFunctionDialog(SubDialogLook look, const FunctionDialogKind& kind)
    : SubDialogFrame(std::move(look), kind.background, kind.failureCaption, kind.dropDown),
      fieldId_(kind.fieldId),
      title_(kind.title),
      items_(kind.items) {
  chosenText_ = std::string(items_.front().In(this->look().language));
}

void CFunctionDialog::StartFrom(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  chosenIndex_ = index;
  chosenText_ = std::string(items_[static_cast<std::size_t>(index)].In(look().language));
}

void CFunctionDialog::CreateControls() {
  ChildControls& c = controls();
  c.CreateChild(fieldId_, ChildKind::kLeftStatic, kFunctionFieldBox);
  c.SetChildLook(fieldId_, kFieldLook);
  c.SetChildLook(fieldId_ + 1, kFieldLook);  // the list
  c.SetChildText(fieldId_, chosenText_);
}

std::vector<std::string> CFunctionDialog::ListItems() const {
  std::vector<std::string> items;
  for (const DialogLabel& item : items_) items.emplace_back(item.In(look().language));
  return items;
}

void CFunctionDialog::OnListItemChosen(int index, const std::string& text) {
  chosenIndex_ = index;
  chosenText_ = text;
  controls().SetChildText(fieldId_, chosenText_);
}

CMediaDialog::CMediaDialog(SubDialogLook look) : CFunctionDialog(std::move(look), kMediaKind) {}

CWindowsDialog::CWindowsDialog(SubDialogLook look)
    : CFunctionDialog(std::move(look), kWindowsKind) {}

}  // namespace vortal
