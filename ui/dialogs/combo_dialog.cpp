#include "ui/dialogs/combo_dialog.h"

#include <utility>

#include "assign/key_tables.h"

namespace vortal {

CComboDialog::CComboDialog(SubDialogLook look)
    : SubDialogFrame(std::move(look), kComboKeyBackground, kComboKeyFailureCaption,
                     kComboModifierDropDown) {}

void CComboDialog::CreateControls() {
  ChildControls& c = controls();
  c.CreateChild(kComboModifierFieldId, ChildKind::kStatic, kComboModifierFieldBox);
  c.CreateChild(kComboFirstKeyId, ChildKind::kEdit, kComboFirstKeyBox);
  c.CreateChild(kComboSecondKeyId, ChildKind::kEdit, kComboSecondKeyBox);
  for (int id : {kComboModifierFieldId, kComboFirstKeyId, kComboSecondKeyId, kComboModifierListId}) {
    c.SetChildLook(id, kKeyFieldLook);
  }
  c.SetChildText(kComboModifierFieldId, modifier_);
  c.SetChildText(kComboFirstKeyId, firstKey_);
  c.SetChildText(kComboSecondKeyId, secondKey_);
  if (const unsigned error = host()->InstallKeyCaptureHook(kComboKeyCapturedMessage)) {
    host()->Show(HookFailureText("KeyboardHook_ComboDlg", error), kAppCaption);
  }
}

void CComboDialog::DrawContents(Canvas& canvas) {
  for (const ComboKeyLabel& label : kComboKeyLabels) {
    canvas.DrawText(label.text.In(look().language), label.box, TextAlign::kLeft,
                    kDialogCaptionColor, FontKind::kNormal);
  }
}

void CComboDialog::StartFrom(int modifierIndex, std::string firstKey, std::string secondKey) {
  if (modifierIndex >= 0 && modifierIndex < static_cast<int>(std::size(ModifierNameTable))) {
    modifierIndex_ = modifierIndex;
    modifier_ = ModifierNameTable[static_cast<std::size_t>(modifierIndex)].name;
  }
  firstKey_ = std::move(firstKey);
  secondKey_ = std::move(secondKey);
}

std::vector<std::string> CComboDialog::ListItems() const {
  std::vector<std::string> items;
  for (const ModifierNameRow& row : ModifierNameTable) items.emplace_back(row.name);
  return items;
}

void CComboDialog::OnListItemChosen(int index, const std::string& text) {
  modifier_ = text;
  modifierIndex_ = index;
  controls().SetChildText(kComboModifierFieldId, modifier_);
}

void CComboDialog::OnKeyCaptured(const CapturedKey& key) {
  const int focus = controls().FocusedChild();
  std::string* field = focus == kComboFirstKeyId    ? &firstKey_
                       : focus == kComboSecondKeyId ? &secondKey_
                                                    : nullptr;
  if (field == nullptr) return;
  if (!key.released) {
    heard_ = true;
    *field = key.name;
    controls().SetChildText(focus, key.name);
    controls().RepaintChild(focus);
    return;
  }
  // The release of a key pressed before the field listened says nothing.
  if (!heard_) return;
  heard_ = false;
  FocusControl(focus == kComboFirstKeyId ? kComboSecondKeyId : kSubDialogOkKeyId);
}

bool CComboDialog::SwallowsKey(bool keyDown, unsigned virtualKey) const {
  (void)keyDown;
  (void)virtualKey;
  const int focus = controls().FocusedChild();
  return focus == kComboFirstKeyId || focus == kComboSecondKeyId;
}

std::vector<WindowControl> CComboDialog::DialogControls() {
  const Language language = look().language;
  return {FieldControl(kComboFirstKeyId, 1, kComboFirstKeyBox, kComboKeyLabels[1].text.In(language)),
          FieldControl(kComboSecondKeyId, 2, kComboSecondKeyBox, kComboKeyLabels[2].text.In(language))};
}

}  // namespace vortal
