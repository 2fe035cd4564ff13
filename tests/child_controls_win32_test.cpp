// The Win32 child controls on the system's own edits, statics and list boxes
// (these run in the Windows build under Wine).
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/child_controls_win32.h"
#include "tests/support/test_window.h"

namespace vortal {
namespace {

using Lines = std::vector<std::string>;

// A parent window that hands its controls' messages to the controls object.
class ChildControlsWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = testing::CreateTestParent(L"VortalChildControlsTest", Proc, &controls_);
    ASSERT_NE(parent_, nullptr);
    controls_.Attach(parent_, nullptr, {{255, 255, 255}, {40, 40, 40}});
  }
  void TearDown() override { DestroyWindow(parent_); }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* controls = testing::TestParentData<Win32ChildControls>(hwnd);
    if (controls && message == WM_COMMAND && controls->OnCommand(wParam, lParam)) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Type(int id, const std::wstring& keys) {
    HWND edit = GetDlgItem(parent_, id);
    for (wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 0);
  }

  HWND parent_ = nullptr;
  Win32ChildControls controls_;
};

TEST_F(ChildControlsWin32Test, EditsKeepTheirTextAndReportEveryChange) {
  struct Case {
    ChildKind kind;
    int maxChars;
    std::wstring typed;
    std::string text;
  };
  const Case cases[] = {
      {ChildKind::kEdit, 31, L"Fire", "Fire"},
      {ChildKind::kEdit, 3, L"Fire", "Fir"},
      {ChildKind::kDigitsEdit, 5, L"7a0000", "70000"},
      {ChildKind::kBorderedDigitsEdit, 9, L"0100", "0100"},
  };
  int id = 700;
  for (const Case& test : cases) {
    ++id;
    SCOPED_TRACE(test.text);
    std::vector<int> changes;
    controls_.CreateChild(id, test.kind, {10, 10, 100, 24}, test.maxChars);
    ASSERT_TRUE(controls_.ChildExists(id));
    controls_.SetChildEvents(id, {[&](int changed) { changes.push_back(changed); }, nullptr});
    Type(id, test.typed);
    EXPECT_EQ(controls_.ChildText(id), test.text);
    EXPECT_FALSE(changes.empty());
    changes.clear();
    controls_.SetChildText(id, "宏 1");  // set by the program: reported too
    EXPECT_EQ(controls_.ChildText(id), "宏 1");
    EXPECT_EQ(changes, std::vector<int>{id});
    controls_.DestroyChild(id);
    EXPECT_FALSE(controls_.ChildExists(id));
  }
}

TEST_F(ChildControlsWin32Test, ListsInsertDeleteAndSelectLines) {
  controls_.CreateChild(152, ChildKind::kHoverList, {0, 0, 130, 290}, 0);
  for (const char* line : {"A   Dn", "50 ms", "A   Up"}) controls_.InsertItem(152, kNoItem, line);
  EXPECT_EQ(controls_.Selection(152), kNoItem);
  controls_.Select(152, 2);
  controls_.InsertItem(152, 0, "键   Dn");  // before the selection: it stays on its line
  EXPECT_EQ(controls_.Items(152), (Lines{"键   Dn", "A   Dn", "50 ms", "A   Up"}));
  EXPECT_EQ(controls_.Selection(152), 3);
  controls_.DeleteItem(152, 1);
  EXPECT_EQ(controls_.Items(152), (Lines{"键   Dn", "50 ms", "A   Up"}));
  controls_.Select(152, kNoItem);
  EXPECT_EQ(controls_.Selection(152), kNoItem);
  controls_.ClearItems(152);
  EXPECT_TRUE(controls_.Items(152).empty());
  EXPECT_EQ(controls_.Items(999), Lines{});  // no such control
}

TEST_F(ChildControlsWin32Test, ControlsTakeTheirLookOrTheFallback) {
  controls_.CreateChild(151, ChildKind::kList, {0, 0, 130, 290}, 0);
  controls_.CreateChild(150, ChildKind::kEdit, {0, 0, 60, 14}, 0);
  controls_.SetChildLook(151, {{10, 20, 30}, {2, 4, 5}});
  HDC dc = GetDC(parent_);
  HBRUSH brush = controls_.OnControlColor(dc, GetDlgItem(parent_, 151));
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
  EXPECT_EQ(GetBkColor(dc), RGB(2, 4, 5));
  LOGBRUSH info{};
  GetObjectW(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(2, 4, 5));
  // A control without a look of its own takes the window's fallback.
  brush = controls_.OnControlColor(dc, GetDlgItem(parent_, 150));
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(dc), RGB(40, 40, 40));
  GetObjectW(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(40, 40, 40));
  ReleaseDC(parent_, dc);
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
