// The delay time dialog in the system's own dialog manager (these run in the
// Windows build under Wine): the user types the pause as soon as it opens.
#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <string>

#include "app/sub_dialog_host.h"
#include "support/gdiplus_test.h"
#include "ui/delay_dialog.h"

namespace vortal {
namespace {

const std::string kSkinFolder = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";

// Waits for the dialog to come up, then acts as the user: notes which control
// has the keyboard focus, types into whatever has it, and clicks OK. A dialog
// still open on a later tick is closed, so a fault cannot hang the test.
struct Typist {
  static inline Typist* current = nullptr;
  std::wstring keys;
  HWND dialog = nullptr;
  int focusedId = 0;
  int ticks = 0;
  HHOOK hook = nullptr;
  UINT_PTR timer = 0;

  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current && !current->dialog) {
      current->dialog = reinterpret_cast<HWND>(wParam);
      current->timer = SetTimer(nullptr, 0, 200, Tick);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Typist* self = current;
    if (!self || !IsWindow(self->dialog)) return;
    if (self->ticks++ > 0) {
      PostMessageW(self->dialog, WM_CLOSE, 0, 0);
      return;
    }
    HWND focus = GetFocus();
    if (focus && IsChild(self->dialog, focus)) self->focusedId = GetDlgCtrlID(focus);
    for (wchar_t key : self->keys) PostMessageW(focus ? focus : self->dialog, WM_CHAR, key, 1);
    PostMessageW(self->dialog, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(kSubDialogOkBox.left + 20, kSubDialogOkBox.top + 5));
  }
  explicit Typist(std::wstring typed) : keys(std::move(typed)) {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~Typist() {
    if (timer) KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
};

class DelayDialogWin32Test : public testing::GdiplusTest {};

TEST_F(DelayDialogWin32Test, TheFieldHasTheFocusSoTypingFillsItAtOnce) {
  HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!probe) GTEST_SKIP() << "no display: windows cannot be created";
  DestroyWindow(probe);
  for (Language language : {Language::kEnglish, Language::kSimplifiedChinese}) {
    SCOPED_TRACE(static_cast<int>(language));
    CDelayTimeDialog dialog({kSkinFolder, {220, 227, 234}, language});
    Typist typist(L"700");
    const DialogResult result = RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, dialog);
    EXPECT_EQ(typist.focusedId, kDelayFieldId);
    EXPECT_EQ(result, DialogResult::kOk);
    EXPECT_EQ(dialog.typedText(), "700");
    EXPECT_EQ(dialog.ResultLine(), "700 ms");
  }
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
