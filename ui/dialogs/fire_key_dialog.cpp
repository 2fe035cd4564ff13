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

void CFireKeyDialog::StartFrom(int keyIndex, int speed, int times) {
  if (keyIndex >= 0 && keyIndex < static_cast<int>(std::size(FireKeyList))) {
    keyIndex_ = keyIndex;
    keyText_ = FireKeyText(keyIndex);
  }
  if (speed >= kFireMinSpeed && speed <= kFireMaxSpeed) speed_ = speed;
  if (times >= 0 && times <= kFireMaxTimes) times_ = times;
}

void CFireKeyDialog::CreateControls() {
  ChildControls& c = controls();
  c.CreateChild(kFireKeyFieldId, ChildKind::kStatic, kFireKeyFieldBox);
  c.CreateChild(kFireSpeedId, ChildKind::kDigitsEdit, kFireSpeedBox);
  c.CreateChild(kFireTimesId, ChildKind::kDigitsEdit, kFireTimesBox);
  for (int id : {kFireKeyFieldId, kFireSpeedId, kFireTimesId, kFireKeyListId}) {
    c.SetChildLook(id, kFieldLook);
  }
  c.SetChildText(kFireKeyFieldId, keyText_);
  c.SetChildText(kFireSpeedId, std::to_string(speed_));
  c.SetChildText(kFireTimesId, std::to_string(times_));
  c.RepaintChild(kFireSpeedId);
  c.RepaintChild(kFireTimesId);
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
  controls().SetChildText(kFireKeyFieldId, keyText_);
}

bool CFireKeyDialog::ValidateSpeed() {
  ChildControls& c = controls();
  if (!c.ChildExists(kFireSpeedId)) return true;
  int value = ReadCNumber(c.ChildText(kFireSpeedId));
  const bool inRange = value >= kFireMinSpeed && value <= kFireMaxSpeed;
  if (!inRange) {
    value = kFireSpeedReplacement;
    c.SetChildText(kFireSpeedId, std::to_string(value));
  }
  c.RepaintChild(kFireSpeedId);
  speed_ = value;
  return inRange;
}

void CFireKeyDialog::ValidateTimes() {
  ChildControls& c = controls();
  if (!c.ChildExists(kFireTimesId)) return;
  int value = ReadCNumber(c.ChildText(kFireTimesId));
  if (value < 0 || value > kFireMaxTimes) {
    value = kFireTimesReplacement;
    // Reports a change again, which then finds "1" valid.
    c.SetChildText(kFireTimesId, std::to_string(value));
  }
  c.RepaintChild(kFireTimesId);
  times_ = value;
}

void CFireKeyDialog::OnEditChanged(int id) {
  if (id == kFireTimesId) {
    ValidateTimes();
  } else if (id == kFireSpeedId) {
    controls().RepaintChild(kFireSpeedId);
  }
}

void CFireKeyDialog::OnEditFocusLost(int id) {
  if (id == kFireSpeedId) ValidateSpeed();
}

bool CFireKeyDialog::OnOk() {
  if (ValidateSpeed()) return true;
  host()->Show(std::string(kFireSpeedRefused.In(look().language)), kWarningCaption);
  return false;
}

std::vector<WindowControl> CFireKeyDialog::DialogControls() {
  const Language language = look().language;
  return {FieldControl(kFireSpeedId, 1, kFireSpeedBox, kFireKeyLabels[0].text.In(language)),
          FieldControl(kFireTimesId, 2, kFireTimesBox, kFireKeyLabels[1].text.In(language))};
}

}  // namespace vortal
