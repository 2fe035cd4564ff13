#include "ui/dialogs/single_dialog.h"

#include <utility>

namespace vortal {

std::string HookFailureText(std::string_view hookName, unsigned errorCode) {
  return std::string(hookName) + " Install error code :" + std::to_string(errorCode) + "\n";
}

CSingleDialog::CSingleDialog(SubDialogLook look)
    : SubDialogFrame(std::move(look), kSingleKeyBackground, kSingleKeyFailureCaption) {}

void CSingleDialog::CreateControls() {
  controls().CreateChild(kSingleKeyFieldId, ChildKind::kStatic, kSingleKeyFieldBox);
  controls().SetChildLook(kSingleKeyFieldId, kKeyFieldLook);
  controls().SetChildText(kSingleKeyFieldId, keyName_);
  if (const unsigned error = host()->InstallKeyCaptureHook(kSingleKeyCapturedMessage)) {
    host()->Show(HookFailureText("KeyboardHook_SingleDlgKey", error), kAppCaption);
  }
}

void CSingleDialog::OnKeyCaptured(const std::string& name) {
  keyName_ = name;
  controls().SetChildText(kSingleKeyFieldId, keyName_);
  controls().RepaintChild(kSingleKeyFieldId);
}

bool CSingleDialog::SwallowsKey(bool keyDown, unsigned virtualKey) const {
  if (virtualKey == kVirtualKeyLeftWindows || virtualKey == kVirtualKeyRightWindows) return true;
  return keyDown && (virtualKey == kVirtualKeyReturn || virtualKey == kVirtualKeyEscape);
}

void CSingleDialog::DrawContents(Canvas& canvas) {
  canvas.DrawText(kSingleKeyPrompt.In(look().language), kSingleKeyPromptBox, TextAlign::kCenter,
                  kDialogLabelColor, FontKind::kNormal);
}

}  // namespace vortal
