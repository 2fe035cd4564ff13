// The main window's hit test of list lines and its control colours, on the
// system's own list boxes, edits, statics and buttons (these run in the
// Windows build under Wine).
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/child_controls_win32.h"
#include "tests/support/test_window.h"
#include "ui/window/lighting_area.h"

namespace vortal {
namespace {

// A shown parent window whose WM_CTLCOLOR* answer is the main window's:
// the colours of the control table applied to the control's device context.
class MainWindowControlsTest : public ::testing::Test {
 protected:
  static constexpr Color kTextColour{220, 227, 234};

  void SetUp() override {
    parent_ = testing::CreateTestParent(L"VortalMainWindowControlsTest", Proc, this);
    if (parent_ == nullptr) GTEST_SKIP() << "no display: windows cannot be created";
    controls_.Attach(parent_, nullptr);
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = testing::TestParentData<MainWindowControlsTest>(hwnd);
    if (self && message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
      HWND control = reinterpret_cast<HWND>(lParam);
      const ControlColours colours = ChooseControlColours(
          GetDlgCtrlID(control), ControlKindOfMessage(message), self->record_, self->textColour_);
      return reinterpret_cast<LRESULT>(ApplyControlColours(reinterpret_cast<HDC>(wParam), control,
                                                           colours, nullptr, self->brushes_));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND MakeList(int id, const Rect& box, int lines) {
    controls_.CreateChild(id, ChildKind::kList, box, 0);
    for (int i = 0; i < lines; ++i) controls_.InsertItem(id, kNoItem, "line " + std::to_string(i));
    return GetDlgItem(parent_, id);
  }

  HWND parent_ = nullptr;
  Win32ChildControls controls_;
  SettingsRecord record_{};
  Color textColour_ = kTextColour;
  std::map<COLORREF, HBRUSH> brushes_;
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
    const auto hit = ListItemUnder(parent_, 151, c.p);
    ASSERT_EQ(hit.has_value(), c.line.has_value());
    if (!hit) continue;
    EXPECT_EQ(hit->index, *c.line);
    EXPECT_EQ(hit->item, (Rect{0, *c.line * height, client.right, (*c.line + 1) * height}));
  }
  EXPECT_FALSE(ListItemUnder(parent_, 152, {box.left + 30, box.top + 2}));  // no such list
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
  auto hit = ListItemUnder(parent_, 151, {box.left + 10, box.top + 1});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, top);
  EXPECT_EQ(hit->item.top, 0);
  // A second list laid over the right half of the first one takes the point.
  HWND cover = MakeList(152, {100, 20, 200, 120}, 2);
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(ListItemUnder(parent_, 151, {box.left + 90, box.top + 1}));
  hit = ListItemUnder(parent_, 152, {box.left + 90, box.top + 1});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, 0);
  hit = ListItemUnder(parent_, 151, {box.left + 10, box.top + height + 1});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, top + 1);
}

// What a real control's WM_CTLCOLOR* message leaves in its device context
// and which brush it returns, per kind of control.
TEST_F(MainWindowControlsTest, ControlColoursPerKindOfControl) {
  record_.loopColor[1][0] = 200;
  record_.loopColor[1][1] = 100;
  record_.loopColor[1][2] = 50;
  const COLORREF pale = RGB(kTextColour.red, kTextColour.green, kTextColour.blue);
  const COLORREF marker = RGB(1, 2, 3);  // what the context held before
  struct Case {
    const char* what;
    const wchar_t* windowClass;
    DWORD style;
    int id;
    UINT message;
    COLORREF text;                  // marker: left as it was
    int mode;                       // 0: left as it was
    COLORREF back;                  // marker: left as it was
    std::optional<COLORREF> brush;  // nothing: the default handling
  };
  const Case cases[] = {
      {"macro name edit", L"EDIT", 0, 120, WM_CTLCOLOREDIT, pale, TRANSPARENT, RGB(0, 0, 0), RGB(0, 0, 0)},
      {"macro list", L"LISTBOX", 0, 151, WM_CTLCOLORLISTBOX, pale, TRANSPARENT, RGB(2, 4, 5), RGB(2, 4, 5)},
      {"event list", L"LISTBOX", 0, 152, WM_CTLCOLORLISTBOX, pale, TRANSPARENT, RGB(2, 4, 5), RGB(2, 4, 5)},
      {"function list", L"LISTBOX", 0, 41, WM_CTLCOLORLISTBOX, RGB(255, 255, 255), TRANSPARENT,
       RGB(0, 0, 0), RGB(0, 0, 0)},
      {"button", L"BUTTON", BS_PUSHBUTTON, 5, WM_CTLCOLORBTN, marker, TRANSPARENT, marker, std::nullopt},
      {"swatch 2", L"STATIC", 0, 76, WM_CTLCOLORSTATIC, marker, TRANSPARENT, RGB(200, 100, 50),
       RGB(200, 100, 50)},
      {"mode static", L"STATIC", 0, 86, WM_CTLCOLORSTATIC, pale, OPAQUE, RGB(0, 0, 0), RGB(0, 0, 0)},
      {"static 119", L"STATIC", 0, 119, WM_CTLCOLORSTATIC, pale, OPAQUE, RGB(0, 0, 0), RGB(0, 0, 0)},
      {"other static", L"STATIC", 0, 83, WM_CTLCOLORSTATIC, RGB(0, 0, 0), OPAQUE, RGB(100, 150, 100),
       RGB(100, 150, 100)},
      {"scroll bar", L"SCROLLBAR", SBS_VERT, 7, WM_CTLCOLORSCROLLBAR, marker, 0, marker, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND control = CreateWindowExW(0, c.windowClass, L"", WS_CHILD | WS_VISIBLE | c.style, 10, 10,
                                   80, 40, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    HDC dc = GetDC(control);
    SetTextColor(dc, marker);
    SetBkColor(dc, marker);
    const int modeBefore = c.mode == TRANSPARENT ? OPAQUE : TRANSPARENT;
    SetBkMode(dc, modeBefore);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent_, c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    EXPECT_EQ(GetTextColor(dc), c.text);
    EXPECT_EQ(GetBkMode(dc), c.mode == 0 ? modeBefore : c.mode);
    EXPECT_EQ(GetBkColor(dc), c.back);
    if (c.brush) {
      ASSERT_NE(brush, nullptr);
      LOGBRUSH info{};
      ASSERT_EQ(GetObjectW(brush, sizeof info, &info), static_cast<int>(sizeof info));
      EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
      EXPECT_EQ(info.lbColor, *c.brush);
    } else {
      EXPECT_EQ(brush, nullptr);
    }
    ReleaseDC(control, dc);
    DestroyWindow(control);
  }
}

// A dark text colour (a pale skin's) turns white on the dark controls, so the
// macro lists and the edits never draw black on black.
TEST_F(MainWindowControlsTest, DarkSkinTextTurnsWhiteOnTheDarkControls) {
  textColour_ = {40, 40, 40};
  const struct {
    const wchar_t* windowClass;
    int id;
    UINT message;
  } cases[] = {{L"LISTBOX", 151, WM_CTLCOLORLISTBOX},
               {L"LISTBOX", 152, WM_CTLCOLORLISTBOX},
               {L"EDIT", 120, WM_CTLCOLOREDIT},
               {L"STATIC", 87, WM_CTLCOLORSTATIC}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    HWND control = CreateWindowExW(0, c.windowClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 80, 40,
                                   parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    HDC dc = GetDC(control);
    SendMessageW(parent_, c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    ReleaseDC(control, dc);
    DestroyWindow(control);
  }
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
