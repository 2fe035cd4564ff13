// The main window's hit test of list lines on the system's own list boxes
// (these run in the Windows build under Wine).
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/child_controls_win32.h"
#include "tests/support/test_window.h"

namespace vortal {
namespace {

// A shown parent window with list boxes.
class MainWindowControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = testing::CreateTestParent(L"VortalMainWindowControlsTest", Proc, this);
    if (parent_ == nullptr) GTEST_SKIP() << "no display: windows cannot be created";
    controls_.Attach(parent_, nullptr, {{255, 255, 255}, {0, 0, 0}});
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND MakeList(int id, const Rect& box, int lines) {
    controls_.CreateChild(id, ChildKind::kList, box, 0);
    for (int i = 0; i < lines; ++i) controls_.InsertItem(id, kNoItem, "line " + std::to_string(i));
    return GetDlgItem(parent_, id);
  }

  HWND parent_ = nullptr;
  Win32ChildControls controls_;
};

TEST_F(MainWindowControlsTest, ListLineUnderAPoint) {
  const Rect box{20, 20, 150, 120};
  HWND list = MakeList(151, box, 3);
  ASSERT_NE(list, nullptr);
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  ASSERT_LT(4 * height, box.Height()) << "the list must show room below its last line";
  RECT client;
  GetClientRect(list, &client);
  struct Case {
    const char* what;
    Point p;
    std::optional<int> line;
  };
  const Case cases[] = {
      {"first line, top left", {box.left, box.top}, 0},
      {"first line, last row", {box.left + 30, box.top + height - 1}, 0},
      {"second line", {box.left + 30, box.top + height}, 1},
      {"last line", {box.left + 60, box.top + 3 * height - 1}, 2},
      {"below the last line", {box.left + 30, box.top + 3 * height + 2}, std::nullopt},
      {"left of the list", {box.left - 1, box.top + 2}, std::nullopt},
      {"right of the list", {box.right, box.top + 2}, std::nullopt},
      {"above the list", {box.left + 30, box.top - 1}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto hit = ListItemUnder(parent_, 151, c.p, DisplayScale{});
    ASSERT_EQ(hit.has_value(), c.line.has_value());
    if (!hit) continue;
    EXPECT_EQ(hit->index, *c.line);
    EXPECT_EQ(hit->item, (Rect{0, *c.line * height, client.right, (*c.line + 1) * height}));
  }
  EXPECT_FALSE(ListItemUnder(parent_, 152, {box.left + 30, box.top + 2}, DisplayScale{}));  // no such list
}

TEST_F(MainWindowControlsTest, ListLineOfAScrolledListAndUnderACoveringList) {
  const Rect box{20, 20, 150, 120};
  HWND list = MakeList(151, box, 20);
  ASSERT_NE(list, nullptr);
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  SendMessageW(list, LB_SETTOPINDEX, 5, 0);
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  ASSERT_GT(top, 0);
  // The line shown first is the top index, its rectangle at the list's top.
  auto hit = ListItemUnder(parent_, 151, {box.left + 10, box.top + 1}, DisplayScale{});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, top);
  EXPECT_EQ(hit->item.top, 0);
  // A second list laid over the right half of the first one takes the point.
  HWND cover = MakeList(152, {100, 20, 200, 120}, 2);
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(ListItemUnder(parent_, 151, {box.left + 90, box.top + 1}, DisplayScale{}));
  hit = ListItemUnder(parent_, 152, {box.left + 90, box.top + 1}, DisplayScale{});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, 0);
  hit = ListItemUnder(parent_, 151, {box.left + 10, box.top + height + 1}, DisplayScale{});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, top + 1);
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
