// Texts and lines fit their controls: a drop-down list shows the lines of its
// own font, and a narrow field's text gets a smaller face rather than being
// cut (these run in the Windows build under Wine).
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/child_controls_win32.h"
#include "app/window_picture.h"

namespace vortal {
namespace {

class TextFitWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 320, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (parent_ == nullptr) GTEST_SKIP() << "no display: windows cannot be created";
    // The sub-dialogs' English face.
    font_ = CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                        L"Arial");
    ASSERT_NE(font_, nullptr);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    if (font_) DeleteObject(font_);
  }

  // The width of `text` in the font the control uses now.
  static int TextWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.cx;
  }

  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
};

TEST_F(TextFitWin32Test, ADropDownListShowsEveryLineThatFitsItsAreaAndScrollsTheRest) {
  struct Case {
    int lines;
    bool allShown;
  };
  // The Windows function list: eleven lines in 160 pixels; and a list longer
  // than its area.
  const Rect area{43, 145, 151, 305};
  for (const Case& c : {Case{11, true}, Case{40, false}}) {
    std::vector<std::string> items;
    for (int i = 0; i < c.lines; ++i) items.push_back("Browser-Add Favorite " + std::to_string(i));
    HWND list = CreateDropDownList(parent_, 533, area, items, font_, DisplayScale{});
    ASSERT_NE(list, nullptr);
    RECT client{}, last{};
    GetClientRect(list, &client);
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(c.lines - 1), reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.bottom <= client.bottom, c.allShown) << c.lines << " lines";
    // The list is as tall as its area allows, whole lines only.
    RECT window{};
    GetWindowRect(list, &window);
    const int lineHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GT(window.bottom - window.top, area.Height() - lineHeight) << c.lines << " lines";
    if (!c.allShown) {
      SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE};
      ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &scroll));
      EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage));
    }
    DestroyWindow(list);
  }
}

TEST_F(TextFitWin32Test, ALineWiderThanTheListWidensItWithinItsWindow) {
  struct Case {
    const char* what;
    Rect area;
    std::vector<std::string> items;
    bool widened;
  };
  const std::vector<std::string> shortLines{"Mail", "Calculator", "My Computer"};
  std::vector<std::string> scrolled;  // lines that fit until the scroll bar takes its room
  for (int i = 0; i < 40; ++i) scrolled.push_back("Browser-Back " + std::to_string(i));
  const Case cases[] = {
      {"short lines", {43, 145, 151, 305}, shortLines, false},
      {"a long function name", {43, 145, 151, 305}, {"Mail", "Browser-My Favorite Sites"}, true},
      {"a scroll bar beside long lines", {43, 145, 151, 305}, scrolled, true},
      {"a line wider than the window", {300, 145, 380, 305},
       {"A function name far too long for any list of this dialog"}, true},
  };
  for (const Case& c : cases) {
    HWND list = CreateDropDownList(parent_, 533, c.area, c.items, font_, DisplayScale{});
    ASSERT_NE(list, nullptr) << c.what;
    RECT window{}, client{}, parentClient{};
    GetWindowRect(list, &window);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(list, &client);
    GetClientRect(parent_, &parentClient);
    // It keeps its place and height and never leaves its window.
    EXPECT_EQ(window.left, c.area.left) << c.what;
    EXPECT_EQ(window.top, c.area.top) << c.what;
    EXPECT_LE(window.right, parentClient.right) << c.what;
    EXPECT_EQ(window.right - window.left > c.area.Width(), c.widened) << c.what;
    // Every line is whole, unless the window itself is too narrow for it.
    if (window.right < parentClient.right) {
      for (const std::string& item : c.items) {
        EXPECT_LE(TextWidth(list, std::wstring(item.begin(), item.end())), client.right)
            << c.what << ": " << item;
      }
    }
    DestroyWindow(list);
  }
}

TEST_F(TextFitWin32Test, AFieldsTextTakesASmallerFaceOnlyWhenItWouldBeCut) {
  Win32ChildControls controls;
  controls.Attach(parent_, font_, {{255, 255, 255}, {0, 0, 0}});
  // The Windows function dialog's field: 92 pixels wide.
  controls.CreateChild(532, ChildKind::kLeftStatic, Rect{43, 129, 135, 143}, 0);
  HWND field = GetDlgItem(parent_, 532);
  ASSERT_NE(field, nullptr);
  RECT client{};
  GetClientRect(field, &client);
  for (const std::wstring text : {L"Mail", L"Multimedia Player", L"Browser-Add Favorite"}) {
    controls.SetChildText(532, std::string(text.begin(), text.end()));
    HFONT used = reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0));
    EXPECT_LE(TextWidth(field, text), client.right) << std::string(text.begin(), text.end());
    if (text == L"Mail") {
      EXPECT_EQ(used, font_);
    } else if (text == L"Multimedia Player") {
      EXPECT_NE(used, font_);
    }
  }
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
