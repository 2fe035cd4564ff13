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

bool IsDialogKey(unsigned virtualKey) {
  return virtualKey == kVirtualKeyTab || virtualKey == kVirtualKeyReturn || virtualKey == kVirtualKeyEscape;
}

bool CSingleDialog::Listening() const { return focused_ == 0 || focused_ == kSingleKeyFieldKeyId; }

void CSingleDialog::OnKeyCaptured(const CapturedKey& key) {
  focused_ = FocusedControl();
  const bool listening = Listening();
  if (!listening && IsDialogKey(key.virtualKey)) return;
  if (!key.released) {
    heard_ = heard_ || listening;
    keyName_ = key.name;
    controls().SetChildText(kSingleKeyFieldId, keyName_);
    controls().RepaintChild(kSingleKeyFieldId);
    return;
  }
  // The release of a key pressed before the dialog opened says nothing.
  if (!listening || !heard_) return;
  heard_ = false;
  FocusControl(kSubDialogOkKeyId);
  focused_ = kSubDialogOkKeyId;
}

bool CSingleDialog::SwallowsKey(bool keyDown, unsigned virtualKey) const {
  (void)keyDown;
  if (virtualKey == kVirtualKeyLeftWindows || virtualKey == kVirtualKeyRightWindows) return true;
  return Listening() || !IsDialogKey(virtualKey);
}

std::vector<WindowControl> CSingleDialog::DialogControls() {
  return {MakeControl(kSingleKeyFieldKeyId, 1, kSingleKeyFieldBox, ControlRole::kText,
                      std::string(kKeyFieldLabel.In(look().language)))};
}

void CSingleDialog::OnDialogClick(Point p) {
  // A click on the field listens for a key again.
  if (result() == DialogResult::kNone && kSingleKeyFieldBox.Contains(p)) {
    FocusControl(kSingleKeyFieldKeyId);
    focused_ = kSingleKeyFieldKeyId;
  }
}

void CSingleDialog::DrawContents(Canvas& canvas) {
  canvas.DrawText(kSingleKeyPrompt.In(look().language), kSingleKeyPromptBox, TextAlign::kCenter,
                  kDialogLabelColor, FontKind::kNormal);
}

}  // namespace vortal
