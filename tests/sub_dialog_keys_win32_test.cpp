// The assignment dialogs in the system's own dialog manager (these run in the
// Windows build under Wine): keys that would end a dialog, and the mouse
// wheel over an open list.
#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/sub_dialog_host.h"
#include "support/dialog_user.h"
#include "support/gdiplus_test.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/dialogs/single_dialog.h"

namespace vortal {
namespace {

const std::string kSkinFolder = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";

using testing::DialogUser;
using testing::WindowsAvailable;

// Where the keyboard goes: the control with the focus, else the dialog.
HWND KeyboardTarget(HWND dialog) {
  HWND focus = GetFocus();
  return focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
}

void PressKey(HWND dialog, UINT virtualKey) {
  HWND target = KeyboardTarget(dialog);
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

void Click(HWND dialog, Point p) {
  PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

constexpr Point kOkPoint{kSubDialogOkBox.left + 20, kSubDialogOkBox.top + 5};

class SubDialogKeysWin32Test : public testing::GdiplusTest {
 protected:
  void SetUp() override {
    if (!WindowsAvailable()) GTEST_SKIP() << "no display: windows cannot be created";
  }
};

// Enter and Escape are keys the user may want to assign, so the key dialogs
// keep them; the fire key dialog does not, and Escape leaves it, which shows
// the keys reach the dialog manager at all.
TEST_F(SubDialogKeysWin32Test, KeyDialogsKeepEnterAndEscapeWhileOpen) {
  using Make = std::function<std::unique_ptr<SubDialogFrame>()>;
  const SubDialogLook look{kSkinFolder, {220, 227, 234}, Language::kEnglish};
  struct Case {
    const char* name;
    Make make;
    UINT key;
    bool staysOpen;
  };
  const Make single = [&] { return std::make_unique<CSingleDialog>(look); };
  const Make combo = [&] { return std::make_unique<CComboDialog>(look); };
  const Make fire = [&] { return std::make_unique<CFireKeyDialog>(look); };
  const Case cases[] = {
      {"single, Enter", single, VK_RETURN, true},
      {"single, Escape", single, VK_ESCAPE, true},
      {"combo, Enter", combo, VK_RETURN, true},
      {"combo, Escape", combo, VK_ESCAPE, true},
      {"fire key, Escape", fire, VK_ESCAPE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<SubDialogFrame> dialog = c.make();
    bool openAfterKey = false;
    DialogUser user({
        [&](HWND window) {
          // Into a key field, as the user would type the key.
          if (HWND field = GetDlgItem(window, kComboFirstKeyId)) SetFocus(field);
          PressKey(window, c.key);
        },
        [&](HWND window) {
          openAfterKey = IsWindow(window) && IsWindowVisible(window);
          Click(window, kOkPoint);
        },
    });
    const DialogResult result = RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, *dialog, DisplayScale{});
    EXPECT_EQ(openAfterKey, c.staysOpen);
    EXPECT_EQ(result, c.staysOpen ? DialogResult::kOk : DialogResult::kCancel);
  }
}

// The wheel turned over the open list of fire keys moves it three lines a
// notch, down and back up; the pointer is over the list, the focus wherever
// the click left it.
TEST_F(SubDialogKeysWin32Test, WheelOverTheFireKeyListScrollsIt) {
  CFireKeyDialog dialog({kSkinFolder, {220, 227, 234}, Language::kEnglish});
  const Rect list = kFireKeyDropDown.list;
  const Point overList{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  std::vector<LRESULT> topIndex;
  bool listOpened = false;
  auto turnWheel = [&](HWND window, int delta) {
    POINT screen{overList.x, overList.y};
    ClientToScreen(window, &screen);
    PostMessageW(KeyboardTarget(window), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                 MAKELPARAM(screen.x, screen.y));
  };
  auto noteTop = [&](HWND window) {
    HWND box = GetDlgItem(window, kFireKeyListId);
    topIndex.push_back(box ? SendMessageW(box, LB_GETTOPINDEX, 0, 0) : -1);
  };
  DialogUser user({
      [&](HWND window) { Click(window, {kFireKeyDropDown.field.left + 5, 77}); },
      [&](HWND window) {
        listOpened = GetDlgItem(window, kFireKeyListId) != nullptr;
        noteTop(window);
        turnWheel(window, -WHEEL_DELTA);
      },
      [&](HWND window) {
        noteTop(window);
        turnWheel(window, WHEEL_DELTA);
      },
      [&](HWND window) {
        noteTop(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
      },
  });
  RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, dialog, DisplayScale{});
  ASSERT_TRUE(listOpened);
  EXPECT_EQ(topIndex, (std::vector<LRESULT>{0, kWheelScrollLines, 0}));
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
