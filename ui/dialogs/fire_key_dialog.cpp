#include "ui/dialogs/fire_key_dialog.h"

#include <utility>

#include "assign/key_tables.h"
#include "settings/number_text.h"

namespace vortal {

namespace {
// The fields show white text on the dark field colour, the list too.
constexpr ChildLook kFieldLook{kControlTextColor, kControlBackColor};
}  // namespace

CFireKeyDialog::CFireKeyDialog(SubDialogLook look)
    : SubDialogFrame(std::move(look), kFireKeyBackground, kFireKeyFailureCaption,
                     kFireKeyDropDown),
      keyText_(FireKeyText(0)) {}

void CFireKeyDialog::CreateControls() {
  ChildControls* controls = host()->childControls();
  if (controls == nullptr) return;
  controls->CreateChild(kFireKeyFieldId, ChildKind::kStatic, kFireKeyFieldBox);
  controls->CreateChild(kFireSpeedId, ChildKind::kDigitsEdit, kFireSpeedBox);
  controls->CreateChild(kFireTimesId, ChildKind::kDigitsEdit, kFireTimesBox);
  for (int id : {kFireKeyFieldId, kFireSpeedId, kFireTimesId, kFireKeyListId}) {
    controls->SetChildLook(id, kFieldLook);
  }
  controls->SetChildText(kFireKeyFieldId, keyText_);
  controls->SetChildText(kFireSpeedId, std::to_string(speed_));
  controls->SetChildText(kFireTimesId, std::to_string(times_));
  controls->RepaintChild(kFireSpeedId);
  controls->RepaintChild(kFireTimesId);
}

void CFireKeyDialog::DrawContents(Canvas& canvas) {
  for (const FireKeyLabel& label : kFireKeyLabels) {
    canvas.DrawText(label.text.In(look().language), label.box, label.align, kDialogLabelColor,
                    FontKind::kNormal);
  }
}

std::vector<std::string> CFireKeyDialog::ListItems() const {
  std::vector<std::string> items;
  for (const FireKeyItem& item : FireKeyList) items.emplace_back(item.text);
  return items;
}

void CFireKeyDialog::OnListItemChosen(int index, const std::string& text) {
  keyIndex_ = index;
  keyText_ = text;
  if (ChildControls* controls = host()->childControls()) {
    controls->SetChildText(kFireKeyFieldId, keyText_);
  }
}

void CFireKeyDialog::ValidateSpeed() {
  ChildControls* controls = host() ? host()->childControls() : nullptr;
  if (controls == nullptr || !controls->ChildExists(kFireSpeedId)) return;
  int value = ReadCNumber(controls->ChildText(kFireSpeedId));
  if (value < kFireMinSpeed || value > kFireMaxSpeed) {
    value = kFireSpeedReplacement;
    controls->SetChildText(kFireSpeedId, std::to_string(value));
  }
  controls->RepaintChild(kFireSpeedId);
  speed_ = value;
}

void CFireKeyDialog::ValidateTimes() {
  ChildControls* controls = host() ? host()->childControls() : nullptr;
  if (controls == nullptr || !controls->ChildExists(kFireTimesId)) return;
  int value = ReadCNumber(controls->ChildText(kFireTimesId));
  if (value < 0 || value > kFireMaxTimes) {
    value = kFireTimesReplacement;
    // Reports a change again, which then finds "1" valid.
    controls->SetChildText(kFireTimesId, std::to_string(value));
  }
  controls->RepaintChild(kFireTimesId);
  times_ = value;
}

void CFireKeyDialog::OnEditChanged(int id) {
  if (id == kFireTimesId) {
    ValidateTimes();
  } else if (id == kFireSpeedId) {
    if (ChildControls* controls = host() ? host()->childControls() : nullptr) {
      controls->RepaintChild(kFireSpeedId);
    }
  }
}

void CFireKeyDialog::OnEditFocusLost(int id) {
  if (id == kFireSpeedId) ValidateSpeed();
}

void CFireKeyDialog::OnOk() { ValidateSpeed(); }

}  // namespace vortal
