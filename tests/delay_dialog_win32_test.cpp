// The delay time dialog in the system's own dialog manager (these run in the
// Windows build under Wine): the user types the pause as soon as it opens.
#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/owner_drawn_window.h"
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

// Drawn at its owner's scale, the dialog lays itself out again when its
// monitor's scale changes: its size, its field and where a click lands,
// at the corner the system suggests.
TEST_F(DelayDialogWin32Test, ADialogMovedToAMonitorOfAnotherScaleIsLaidOutAgainAtIt) {
  if (!testing::WindowsAvailable()) GTEST_SKIP() << "no display: windows cannot be created";
  struct Case {
    int from, to;
  };
  for (const Case& c : {Case{96, 192}, Case{144, 96}}) {
    SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
    CDelayTimeDialog dialog({kSkinFolder, {220, 227, 234}, Language::kEnglish});
    auto layout = [](HWND window) {
      RECT client{}, field{};
      GetClientRect(window, &client);
      GetWindowRect(GetDlgItem(window, kDelayFieldId), &field);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&field), 2);
      return std::pair{Rect{0, 0, client.right, client.bottom},
                       Rect{field.left, field.top, field.right, field.bottom}};
    };
    const DisplayScale from(c.from), to(c.to);
    std::pair<Rect, Rect> before, after;
    RECT moved{};
    const RECT suggested{40, 30, 40 + to.Scale(392), 30 + to.Scale(285)};
    testing::DialogUser user({[&](HWND window) {
                                before = layout(window);
                                SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(c.to, c.to),
                                             reinterpret_cast<LPARAM>(&suggested));
                              },
                              [&](HWND window) {
                                after = layout(window);
                                GetWindowRect(window, &moved);
                                const Point ok = to.Scale(Point{kSubDialogOkBox.left + 20, kSubDialogOkBox.top + 5});
                                PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ok.x, ok.y));
                              }});
    EXPECT_EQ(RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, dialog, from), DialogResult::kOk);
    EXPECT_EQ(before.first, from.Scale(Rect{0, 0, 392, 285}));
    EXPECT_EQ(before.second, from.Scale(kDelayFieldBox));
    EXPECT_EQ(after.first, to.Scale(Rect{0, 0, 392, 285}));
    EXPECT_EQ(after.second, to.Scale(kDelayFieldBox));
    EXPECT_EQ((Point{moved.left, moved.top}), (Point{40, 30}));
  }
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
