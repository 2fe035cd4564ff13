// CSingleDialog: gives a button one keyboard key. While it is open a keyboard
// hook names every keystroke; the last one named is the result.
#pragma once

#include <string>
#include <string_view>

#include "ui/dialogs/dialog_label.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr unsigned kSingleKeyCapturedMessage = 0x0B04;
inline constexpr int kSingleKeyFieldId = 502;
inline constexpr Rect kSingleKeyFieldBox{74, 129, 150, 143};
inline constexpr Rect kSingleKeyPromptBox{45, 108, 181, 124};
inline constexpr std::string_view kSingleKeyBackground = "/single-key.png";
inline constexpr std::string_view kSingleKeyFailureCaption =
    "Single Key Dialog Load background image failed!!!";
inline constexpr SubDialogTitle kSingleKeyTitle{{"SINGLE KEY", "单键", "單鍵"}, 36};
inline constexpr DialogLabel kSingleKeyPrompt{"Please enter a key", "请输入一个按键",
                                              "請輸入一個按鍵"};

// The fields the key dialogs show their keys in: white on the dark field.
inline constexpr ChildLook kKeyFieldLook{kControlTextColor, kControlBackColor};

// Virtual keys the key dialogs keep from the dialog's own handling.
inline constexpr unsigned kVirtualKeyTab = 0x09;
inline constexpr unsigned kVirtualKeyReturn = 0x0D;
inline constexpr unsigned kVirtualKeyEscape = 0x1B;
inline constexpr unsigned kVirtualKeyLeftWindows = 0x5B;
inline constexpr unsigned kVirtualKeyRightWindows = 0x5C;

// The keyboard's id of the single key field.
inline constexpr int kSingleKeyFieldKeyId = 10;

// Tab, Enter and Escape: the keys a dialog moves, confirms and cancels with.
bool IsDialogKey(unsigned virtualKey);

// The message shown when a key dialog's hook cannot be installed.
std::string HookFailureText(std::string_view hookName, unsigned errorCode);

class CSingleDialog : public SubDialogFrame {
 public:
  explicit CSingleDialog(SubDialogLook look);

  // While the key field has the focus (as the dialog opens) every key is
  // the one to assign, Tab, Enter and Escape included; once that key is
  // released the focus moves on to OK. Elsewhere Tab, Enter and Escape are
  // the dialog's, every other key is still taken as the key.
  void OnKeyCaptured(const CapturedKey& key) override;
  // Every key while the field listens; elsewhere all but Tab, Enter and
  // Escape. The Windows keys reach nothing else either.
  bool SwallowsKey(bool keyDown, unsigned virtualKey) const override;

  // Opens showing the button's current key. Before the dialog runs.
  void StartFrom(std::string keyName) { keyName_ = std::move(keyName); }

  // The name of the last key pressed or released; empty when none.
  const std::string& keyName() const { return keyName_; }

 protected:
  std::vector<WindowControl> DialogControls() override;
  void OnDialogClick(Point p) override;
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kSingleKeyTitle; }

 private:
  // The field has the focus: every key is the one to assign.
  bool Listening() const;
  std::string keyName_;
  bool heard_ = false;  // a key went down while the field listened
  int focused_ = 0;     // the control in focus, as last seen
};

}  // namespace vortal
