// What drawing at a display scale costs, in the Windows build (under Wine on
// a virtual display): a whole redraw of the basic page, and the first paint
// of a sub-dialog, at 96 and 192 DPI, each with the skin images already
// prepared (the usual case) and with none prepared (the first time after a
// change of skin or scale); and what the prepared images of one skin hold in
// memory at 192 DPI. Prints figures; asserts nothing.
//
//   vortal_render_bench [--runs N] [--skin FOLDER]   (default: skins/Default)
#include <windows.h>

#include "app/skin_drawing.h"  // before the models' headers: undoes the system's DrawText

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gdiplus.h>

#include "app/sub_dialog_host.h"
#include "app/window_picture.h"
#include "support/basic_page_rig.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/skin/skin_images.h"

namespace vortal {
namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The drawing calls of a model, kept to be replayed on a real canvas.
class CapturingCanvas : public Canvas {
 public:
  struct Call {
    int kind;  // 0 image, 1 text, 2 fill
    std::string text;
    Point at;
    Rect box;
    TextAlign align;
    Color color;
    FontKind font;
  };
  bool DrawImage(std::string_view name, Point at) override {
    calls.push_back({0, std::string(name), at, {}, TextAlign::kLeft, {}, FontKind::kNormal});
    return true;
  }
  void DrawText(std::string_view text, const Rect& box, TextAlign align, Color color,
                FontKind font) override {
    calls.push_back({1, std::string(text), {}, box, align, color, font});
  }
  void FillRect(const Rect& box, Color color) override {
    calls.push_back({2, {}, {}, box, TextAlign::kLeft, color, FontKind::kNormal});
  }
  void Replay(Canvas& canvas) const {
    for (const Call& c : calls) {
      if (c.kind == 0) canvas.DrawImage(c.text, c.at);
      if (c.kind == 1) canvas.DrawText(c.text, c.box, c.align, c.color, c.font);
      if (c.kind == 2) canvas.FillRect(c.box, c.color);
    }
  }
  std::vector<Call> calls;
};

// Everything the basic page draws when it is shown, as the page itself draws it.
CapturingCanvas BasicPageDrawing(const std::string& skin) {
  struct Services : testing::FakeMainWindowServices {
    bool Redraw(std::string_view, const std::function<void(Canvas&)>& draw) override {
      draw(captured);
      return true;
    }
    CapturingCanvas captured;
  };
  struct Rig {
    testing::TempDir dir;
    Services services;
    testing::FakeMouseBackend backend;
    testing::CountingPauser pauser;
    MouseLink link{pauser};
    SettingsState settings;
    MainWindowModel model{services, link, backend, settings,
                          {dir.File("config.bin"), dir.File("str.ini"), dir.File("")}};
    testing::FakeAssignmentDialogs dialogs;
    BasicPage page{model, dialogs};
  } rig;
  rig.backend.featureReplies.push_back(testing::SensorReply(0));
  rig.link.FindDevice(rig.backend);
  rig.settings.firstRunFlag = 1;
  rig.model.SettingsLoaded(LoadResult::kLoaded);
  rig.model.skin.skinFolderPath = skin;
  rig.model.skin.textColor = {220, 230, 240};
  rig.model.SetPage(kBasicPage, &rig.page);
  rig.model.BuildPage(kBasicPage);
  return rig.services.captured;
}

HWND BenchWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VortalRenderBench";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// One redraw of the whole page onto the main window's picture, in ms.
double PageRedrawMs(WindowPicture& picture, const std::string& skin,
                    const CapturingCanvas& page) {
  const auto start = Clock::now();
  picture.Redraw(skin, [&](Canvas& canvas) { page.Replay(canvas); });
  GdiFlush();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The fire key dialog from its creation to the end of its first paint, in ms.
Clock::time_point paintedAt;
HHOOK paintHook = nullptr;
LRESULT CALLBACK AfterPaint(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_ERASEBKGND) {
    GdiFlush();
    paintedAt = Clock::now();
    PostMessageW(message->hwnd, WM_CLOSE, 0, 0);
  }
  return CallNextHookEx(paintHook, code, wParam, lParam);
}

double DialogFirstPaintMs(const std::string& skin, DisplayScale scale) {
  CFireKeyDialog dialog(SubDialogLook{skin, {220, 230, 240}, Language::kEnglish});
  paintHook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterPaint, nullptr, GetCurrentThreadId());
  const auto start = Clock::now();
  paintedAt = start;
  RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, dialog, scale);
  UnhookWindowsHookEx(paintHook);
  return std::chrono::duration<double, std::milli>(paintedAt - start).count();
}

int Run(int runs, const std::string& skin) {
  const CapturingCanvas page = BasicPageDrawing(skin);
  HWND window = BenchWindow();
  if (!window) {
    std::printf("no window could be created (no display?)\n");
    return 1;
  }
  std::printf("skin %s, %zu drawing calls in a basic page redraw, %d runs\n", skin.c_str(),
              page.calls.size(), runs);
  double warmPage[2] = {}, warmDialog[2] = {}, coldPage[2] = {}, coldDialog[2] = {};
  const int dpis[] = {96, 192};
  for (int i = 0; i < 2; ++i) {
    const DisplayScale scale(dpis[i]);
    std::vector<double> cold, warm, dialogCold, dialogWarm;
    for (int run = 0; run < runs; ++run) {
      ProgramSkinImages().Clear();
      WindowPicture picture;
      picture.Attach(window);
      picture.SetMonitorDpi(scale.dpi());
      picture.SetFonts({"Arial", 14, 400}, {"Arial", 14, 700});
      const auto start = Clock::now();
      picture.LoadBackground(skin, kMainImage);
      const double load = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      cold.push_back(load + PageRedrawMs(picture, skin, page));
      warm.push_back(PageRedrawMs(picture, skin, page));
      // The dialog opened before (its images prepared), then the first time
      // after a change of skin or scale (nothing prepared).
      DialogFirstPaintMs(skin, scale);
      dialogWarm.push_back(DialogFirstPaintMs(skin, scale));
      ProgramSkinImages().Clear();
      dialogCold.push_back(DialogFirstPaintMs(skin, scale));
    }
    warmPage[i] = Median(warm);
    warmDialog[i] = Median(dialogWarm);
    coldPage[i] = Median(cold);
    coldDialog[i] = Median(dialogCold);
    std::printf("%3d DPI: page redraw %.2f ms (images prepared), %.2f ms (window background "
                "and images made first); fire key dialog first paint %.2f ms (images "
                "prepared), %.2f ms (none prepared)\n",
                scale.dpi(), warmPage[i], coldPage[i], warmDialog[i], coldDialog[i]);
  }
  std::printf("192 DPI / 96 DPI, images prepared: page redraw %.2f, dialog first paint %.2f "
              "(at most 2 wanted); none prepared: %.2f, %.2f\n",
              warmPage[1] / warmPage[0], warmDialog[1] / warmDialog[0], coldPage[1] / coldPage[0],
              coldDialog[1] / coldDialog[0]);

  // Every image of the skin prepared at 192 DPI, as after using every page and dialog.
  ProgramSkinImages().Clear();
  for (std::string_view name : kSkinImages) ProgramSkinImages().Get(skin, name, DisplayScale(192));
  std::printf("image cache at 192 DPI, all %zu images of the skin: %.1f MiB (64 MiB allowed)\n",
              ProgramSkinImages().size(),
              static_cast<double>(ProgramSkinImages().bytes()) / (1024.0 * 1024.0));
  DestroyWindow(window);
  return 0;
}

}  // namespace
}  // namespace vortal

int main(int argc, char** argv) {
  int runs = 10;
  std::string skin = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--skin") == 0) skin = argv[i + 1];
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  const int result = vortal::Run(runs, skin);
  Gdiplus::GdiplusShutdown(token);
  return result;
}
