#include "ui/dialogs/macro_dialog.h"

#include <utility>

#include "macro/macro_store.h"
#include "ui/skin/skin_images.h"

namespace vortal {

namespace {
constexpr ChildLook kFieldLook{kControlTextColor, kControlBackColor};
}  // namespace

CMacroDialog::CMacroDialog(SubDialogLook look, std::string recordPath)
    : SubDialogFrame(std::move(look), kMacroKeyBackground, kMacroKeyFailureCaption,
                     kMacroDropDown),
      recordPath_(std::move(recordPath)) {}

void CMacroDialog::CreateControls() {
  ChildControls& c = controls();
  c.CreateChild(kMacroNameFieldId, ChildKind::kLeftStatic, kMacroNameFieldBox);
  c.SetChildLook(kMacroNameFieldId, kFieldLook);
  c.SetChildLook(kMacroListId, kFieldLook);
  if (startPosition_ >= 0) {
    const std::vector<std::string> names = ListItems();
    if (startPosition_ < static_cast<int>(names.size())) {
      chosenPosition_ = startPosition_;
      chosenName_ = names[static_cast<std::size_t>(startPosition_)];
    }
  }
  c.SetChildText(kMacroNameFieldId, chosenName_);
}

void CMacroDialog::StartFrom(int position, int repeatMode) {
  startPosition_ = position;
  if (repeatMode >= 1 && repeatMode <= static_cast<int>(kRepeatModes.size())) repeatMode_ = repeatMode;
}

std::vector<std::string> CMacroDialog::ListItems() const { return ListMacroNames(recordPath_); }

void CMacroDialog::OnListItemChosen(int index, const std::string& text) {
  chosenPosition_ = index;
  chosenName_ = text;
  controls().SetChildText(kMacroNameFieldId, chosenName_);
}

void CMacroDialog::OnDialogClick(Point p) {
  if (result() != DialogResult::kNone) return;  // the click ended the dialog
  for (std::size_t i = 0; i < kRepeatModes.size(); ++i) {
    if (!kRepeatModes[i].box.Contains(p)) continue;
    repeatMode_ = static_cast<int>(i) + 1;
    Paint();
    return;
  }
}

bool CMacroDialog::OnOk() {
  if (!chosenName_.empty()) return true;
  const DialogLabel& told = ListItems().empty() ? kNoMacroStored : kMacroNotChosen;
  host()->Show(std::string(told.In(look().language)), kWarningCaption);
  return false;
}

void CMacroDialog::DrawContents(Canvas& canvas) {
  const Language language = look().language;
  canvas.DrawText(kMacroPrompt.In(language), kMacroPromptBox, TextAlign::kCenter,
                  look().textColor, FontKind::kNormal);
  for (std::size_t i = 0; i < kRepeatModes.size(); ++i) {
    const RepeatModeChoice& mode = kRepeatModes[i];
    const bool ticked = static_cast<int>(i) + 1 == repeatMode_;
    DrawSkinPng(canvas, ticked ? kCheckBoxTickedImage : kCheckBoxImage, mode.box.TopLeft());
    canvas.DrawText(mode.label.In(language), mode.text, TextAlign::kLeftWrapped,
                    look().textColor, FontKind::kNormal);
  }
}

std::vector<WindowControl> CMacroDialog::DialogControls() {
  std::vector<WindowControl> modes;
  for (std::size_t i = 0; i < kRepeatModes.size(); ++i) {
    const int mode = static_cast<int>(i) + 1;
    modes.push_back(MakeControl(10 + mode, 1, kRepeatModes[i].box, ControlRole::kRadioButton,
                                std::string(kRepeatModes[i].label.In(look().language)), [this, mode] {
                                  repeatMode_ = mode;
                                  Paint();
                                }));
    modes.back().checked = repeatMode_ == mode;
  }
  return modes;
}

}  // namespace vortal
