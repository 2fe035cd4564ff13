// The delay time dialog in the system's own dialog manager (these run in the
// Windows build under Wine): the user types the pause as soon as it opens.
#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <string>

#include "app/sub_dialog_host.h"
#include "support/dialog_user.h"
#include "support/gdiplus_test.h"
#include "ui/dialogs/delay_dialog.h"

namespace vortal {
namespace {

const std::string kSkinFolder = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";

class DelayDialogWin32Test : public testing::GdiplusTest {};

TEST_F(DelayDialogWin32Test, TheFieldHasTheFocusSoTypingFillsItAtOnce) {
  if (!testing::WindowsAvailable()) GTEST_SKIP() << "no display: windows cannot be created";
  for (Language language : {Language::kEnglish, Language::kSimplifiedChinese}) {
    SCOPED_TRACE(static_cast<int>(language));
    CDelayTimeDialog dialog({kSkinFolder, {220, 227, 234}, language});
    int focusedId = 0;
    // Without a click into the field: the keys go wherever the focus is.
    testing::DialogUser user({[&](HWND window) {
      HWND focus = GetFocus();
      if (focus && IsChild(window, focus)) focusedId = GetDlgCtrlID(focus);
      for (wchar_t key : std::wstring(L"700")) PostMessageW(focus ? focus : window, WM_CHAR, key, 1);
      PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(kSubDialogOkBox.left + 20, kSubDialogOkBox.top + 5));
    }});
    const DialogResult result = RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, dialog, DisplayScale{});
    EXPECT_EQ(focusedId, kDelayFieldId);
    EXPECT_EQ(result, DialogResult::kOk);
    EXPECT_EQ(dialog.typedText(), "700");
    EXPECT_EQ(dialog.ResultLine(), "700 ms");
  }
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
