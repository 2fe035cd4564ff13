// The Windows shell's drawing and its sub-dialog host, on the system's own
// GDI, GDI+ and window manager (these run in the Windows build under Wine).
#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <gdiplus.h>
#include <dbt.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/event_listener.h"
#include "app/log_on_start_win32.h"
#include "files/win32_text.h"
#include "app/mem_dc.h"
#include "app/shell_messages.h"
#include "app/skin_drawing.h"
#include "app/sub_dialog_host.h"
#include "app/tessel_app.h"
#include "app/window_picture.h"
#include "support/dialog_user.h"
#include "support/gdiplus_test.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "ui/skin/skin_images.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {
namespace {

const std::string kSkinFolder = std::string(VORTAL_SOURCE_DIR) + "/skins/Default";

class WinShellTest : public testing::GdiplusTest {};

// A 32-bit top-down bitmap filled with one colour, selected into a memory DC.
class Surface32 {
 public:
  Surface32(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) {
      bits_[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    }
  }
  ~Surface32() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  void Unselect() { SelectObject(dc_, old_); }
  // 0x00RRGGBB of a pixel (after GDI has finished drawing).
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }

 private:
  int width_;
  int height_;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST(WinShellPremultiply, ColourBytesBecomeTheirShareOfAlpha) {
  struct Case {
    std::array<std::uint8_t, 4> bgra;
    std::array<std::uint8_t, 4> expected;
  };
  const Case cases[] = {
      {{10, 200, 255, 255}, {10, 200, 255, 255}},  // opaque: unchanged
      {{10, 200, 255, 0}, {0, 0, 0, 0}},           // transparent: black
      {{255, 255, 255, 128}, {128, 128, 128, 128}},
      {{200, 1, 100, 100}, {78, 0, 39, 100}},      // floor(200 * 100 / 255) = 78, 1 -> 0
      {{254, 3, 85, 254}, {253, 2, 84, 254}},      // rounding down, never up
  };
  for (const Case& c : cases) {
    std::array<std::uint8_t, 8> twoPixels{};
    std::copy(c.bgra.begin(), c.bgra.end(), twoPixels.begin());
    std::copy(c.bgra.begin(), c.bgra.end(), twoPixels.begin() + 4);
    PremultiplyBgra(twoPixels.data(), 2);
    for (int pixel = 0; pixel < 2; ++pixel) {
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(twoPixels[pixel * 4 + i], c.expected[i])
            << "pixel " << pixel << " byte " << i << " of " << int(c.bgra[0]) << ","
            << int(c.bgra[1]) << "," << int(c.bgra[2]) << "," << int(c.bgra[3]);
      }
    }
  }
}

// Every pixel of a skin image drawn over a plain background is the image's
// colour blended by its own alpha, read here through GDI+ independently.
TEST_F(WinShellTest, SkinImagesBlendByTheirAlphaAtTheirPosition) {
  const COLORREF background = RGB(200, 40, 90);
  for (std::string_view name : {kButtonNormalImage, kCloseOverImage, kCheckBoxTickedImage}) {
    const std::string path = SkinImagePath(kSkinFolder, name);
    Gdiplus::Bitmap source(std::filesystem::path(path).wstring().c_str());
    ASSERT_EQ(source.GetLastStatus(), Gdiplus::Ok) << path;
    const int w = static_cast<int>(source.GetWidth());
    const int h = static_cast<int>(source.GetHeight());
    const int atX = 7, atY = 5;
    Surface32 target(w + 14, h + 10, background);
    SkinImageCache cache;
    ASSERT_TRUE(DrawSkinImage(target.dc(), cache, kSkinFolder, name, atX, atY)) << name;

    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        Gdiplus::Color c;
        source.GetPixel(x, y, &c);
        const int a = c.GetA();
        auto blend = [&](int s, int d) { return s * a / 255 + d * (255 - a) / 255; };
        const std::uint32_t got = target.At(atX + x, atY + y);
        const int r = (got >> 16) & 0xFF, g = (got >> 8) & 0xFF, b = got & 0xFF;
        if (std::abs(r - blend(c.GetR(), GetRValue(background))) > 2 ||
            std::abs(g - blend(c.GetG(), GetGValue(background))) > 2 ||
            std::abs(b - blend(c.GetB(), GetBValue(background))) > 2) {
          ++mismatches;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << name;
    // Outside the image the background is untouched.
    EXPECT_EQ(target.At(atX - 1, atY - 1), 0xC8285Au) << name;
    EXPECT_EQ(target.At(atX + w, atY + h), 0xC8285Au) << name;
  }
}

TEST_F(WinShellTest, MissingImagesDrawNothingAndOnlySubDialogDrawingSaysSo) {
  Surface32 target(8, 8, RGB(1, 2, 3));
  SkinImageCache cache;
  testing::RecordingMessages messages;
  struct Case {
    HDC dc;
    std::string_view name;
    bool drawn;
    std::size_t messagesAfter;
  };
  const Case cases[] = {
      {target.dc(), "/no-such-image.png", false, 1},  // told, with the default caption
      {nullptr, kButtonNormalImage, false, 1},         // no buffer: failure, nothing shown
      {target.dc(), kButtonNormalImage, true, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DrawSkinPng(c.dc, cache, kSkinFolder, c.name, 100, 100, messages), c.drawn) << c.name;
    EXPECT_EQ(messages.shown.size(), c.messagesAfter) << c.name;
  }
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown[0], (testing::ShownMessage{"LoadPng---Load image failed.", ""}));
  EXPECT_FALSE(DrawSkinImage(target.dc(), cache, kSkinFolder, "/no-such-image.png", 0, 0));
  EXPECT_EQ(target.At(0, 0), 0x010203u);
}

TEST_F(WinShellTest, ImageCacheKeepsOneSkinAndRetriesImagesThatWereMissing) {
  testing::TempDir dir;
  const std::string skinA = (dir.path() / "A").string();
  const std::string skinB = (dir.path() / "B").string();
  std::filesystem::create_directories(skinA);
  std::filesystem::create_directories(skinB);
  std::filesystem::copy_file(SkinImagePath(kSkinFolder, kButtonNormalImage),
                             SkinImagePath(skinA, kButtonNormalImage));
  std::filesystem::copy_file(SkinImagePath(kSkinFolder, kCloseNormalImage),
                             SkinImagePath(skinB, kButtonNormalImage));

  SkinImageCache cache;
  const SkinImage* a = cache.Get(skinA, kButtonNormalImage);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(cache.Get(skinA, kButtonNormalImage), a);  // decoded once
  EXPECT_EQ(a->width(), 105);
  // The same name in another skin is that skin's image, not the cached one.
  const SkinImage* b = cache.Get(skinB, kButtonNormalImage);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->width(), 18);

  // A failure is not remembered: the image is there once the file is.
  EXPECT_EQ(cache.Get(skinB, kCloseOverImage), nullptr);
  std::filesystem::copy_file(SkinImagePath(kSkinFolder, kCloseOverImage),
                             SkinImagePath(skinB, kCloseOverImage));
  EXPECT_NE(cache.Get(skinB, kCloseOverImage), nullptr);
}

// At a scale an image is the skin's render for it, else made from the nearest
// larger render, else from the base image; always at the scaled base size.
TEST_F(WinShellTest, ImagesAtAScaleComeFromTheRenderForItOrTheNearestLargerOne) {
  testing::TempDir dir;
  const std::string withRender = (dir.path() / "A").string();
  const std::string baseOnly = (dir.path() / "B").string();
  const std::string renderOnly = (dir.path() / "C").string();
  std::filesystem::create_directories(withRender);
  std::filesystem::create_directories(baseOnly);
  std::filesystem::create_directories(renderOnly);
  const std::string base = SkinImagePath(kSkinFolder, kButtonNormalImage);
  // A's 200 % render is another picture, so that what it came from shows.
  const std::string render = SkinImagePath(kSkinFolder, ScaledImageName(kButtonOverImage, 200));
  std::filesystem::copy_file(base, SkinImagePath(withRender, kButtonNormalImage));
  std::filesystem::copy_file(render, SkinImagePath(withRender, ScaledImageName(kButtonNormalImage, 200)));
  std::filesystem::copy_file(base, SkinImagePath(baseOnly, kButtonNormalImage));
  std::filesystem::copy_file(render, SkinImagePath(renderOnly, ScaledImageName(kButtonNormalImage, 200)));

  struct Case {
    const std::string& skin;
    int dpi;
    Size pixels;
    const std::string& from;  // the file it is made of
  };
  const Case cases[] = {
      {withRender, 192, {210, 42}, render},  // the render itself
      {withRender, 144, {158, 32}, render},  // shrunk from the larger render
      {baseOnly, 144, {158, 32}, base},      // grown from the base image
      {renderOnly, 144, {158, 32}, render},  // its size in units the render's at 200 %
      {withRender, 96, {105, 21}, base},
  };
  for (const Case& c : cases) {
    SkinImageCache cache;
    const SkinImage* image = cache.Get(c.skin, kButtonNormalImage, DisplayScale(c.dpi));
    ASSERT_NE(image, nullptr) << c.dpi;
    EXPECT_EQ((Size{image->width(), image->height()}), c.pixels) << c.dpi;
    EXPECT_EQ(image->units(), (Size{105, 21})) << c.dpi;
    const PixelImage source = LoadSkinImage(c.from)->Pixels();
    const PixelImage expected = source.width == c.pixels.width
                                    ? source
                                    : Resample(source, c.pixels.width, c.pixels.height);
    EXPECT_TRUE(image->Pixels().pixels == expected.pixels) << c.dpi << " from " << c.from;
    EXPECT_EQ(cache.Get(c.skin, kButtonNormalImage, DisplayScale(c.dpi)), image);  // prepared once
  }
}

// A hidden window's picture holds no images: it learns the background's
// size without keeping it, draws nothing while released, and once prepared
// has its background again and the images it draws.
TEST_F(WinShellTest, AReleasedPictureHoldsNoImagesUntilItIsPreparedAndDrawnAgain) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SkinImageCache cache;
  {
    WindowPicture picture(cache);
    picture.Attach(window);
    picture.SetMonitorDpi(96);
    picture.Release();
    EXPECT_EQ(picture.LoadBackground(kSkinFolder, kMainImage), (Size{880, 645}));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 880);
    EXPECT_FALSE(picture.hasBackground());
    int drawn = 0;
    auto draw = [&](Canvas& canvas) { drawn += canvas.DrawImage(kButtonNormalImage, {0, 0}); };
    EXPECT_TRUE(picture.Redraw(kSkinFolder, draw));
    EXPECT_EQ(cache.size(), 0u);

    EXPECT_TRUE(picture.Prepare());
    EXPECT_FALSE(picture.Prepare());  // prepared already: no whole redraw asked for
    EXPECT_TRUE(picture.hasBackground());
    EXPECT_TRUE(picture.Redraw(kSkinFolder, draw));
    EXPECT_EQ(drawn, 2);
    EXPECT_EQ(cache.size(), 2u);  // the background's image and the button

    picture.Release();
    EXPECT_FALSE(picture.hasBackground());
    EXPECT_EQ(cache.size(), 0u);
  }
  DestroyWindow(window);
}

// Drawing through the buffer with the background selected lands on the
// background bitmap and, when the buffer goes, on the target.
TEST_F(WinShellTest, BufferedDrawingPersistsOnTheBackgroundAndReachesTheTarget) {
  Surface32 window(40, 30, RGB(255, 0, 0));
  Surface32 background(40, 30, RGB(0, 255, 0));
  {
    RECT all{0, 0, 40, 30};
    CMemDC buffer(window.dc(), &all);
    background.Unselect();  // a bitmap is selected into one DC at a time
    buffer.SelectBackground(background.bitmap());
    RECT spot{10, 10, 20, 20};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(buffer.dc(), &spot, blue);
    DeleteObject(blue);
    EXPECT_EQ(window.At(15, 15), 0xFF0000u);  // nothing reaches the window before the copy
  }
  EXPECT_EQ(window.At(15, 15), 0x0000FFu);
  EXPECT_EQ(window.At(2, 2), 0x00FF00u);  // the background everywhere else
  EXPECT_EQ(background.At(15, 15), 0x0000FFu);  // and it stays on the background
}

TEST(WinShellClass, TheMainWindowClassIsACopyOfTheDialogClass) {
  const wchar_t* name = L"VortalTestDialogCopy";
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(RegisterDialogClassCopy(instance, name));
  WNDCLASSEXW dialog{sizeof(WNDCLASSEXW)};
  WNDCLASSEXW copy{sizeof(WNDCLASSEXW)};
  ASSERT_TRUE(GetClassInfoExW(nullptr, L"#32770", &dialog));
  ASSERT_TRUE(GetClassInfoExW(instance, name, &copy));
  EXPECT_EQ(copy.lpfnWndProc, dialog.lpfnWndProc);
  EXPECT_EQ(copy.cbWndExtra, dialog.cbWndExtra);
  EXPECT_EQ(copy.style, dialog.style);
  // A second registration of the same name fails: the program then ends.
  EXPECT_FALSE(RegisterDialogClassCopy(instance, name));
  UnregisterClassW(name, instance);
}

// Drives a modal sub-dialog from a thread-local CBT hook: message boxes are
// recorded and closed, the dialog gets one click when it is activated.
struct DialogDriver {
  static DialogDriver* current;
  POINT click{};
  std::vector<std::wstring> boxTexts;
  HHOOK hook = nullptr;

  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current) {
      HWND window = reinterpret_cast<HWND>(wParam);
      HWND text = FindWindowExW(window, nullptr, L"Static", nullptr);
      if (GetDlgItem(window, IDOK) || text) {
        // A message box: remember its text, then close it.
        wchar_t buffer[256] = {};
        HWND label = GetDlgItem(window, 0xFFFF);
        GetWindowTextW(label ? label : text, buffer, 256);
        current->boxTexts.push_back(buffer);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
      } else {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(current->click.x, current->click.y));
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  explicit DialogDriver(POINT p) : click(p) {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~DialogDriver() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
};
DialogDriver* DialogDriver::current = nullptr;

TEST_F(WinShellTest, SubDialogsEndAsClickedAndAlwaysLetTheUserOut) {
  if (!testing::WindowsAvailable()) GTEST_SKIP() << "no display: windows cannot be created";
  struct Case {
    std::string folder;
    POINT click;
    DialogResult expected;
    bool toldError;
  };
  const Case cases[] = {
      {kSkinFolder, {200, 263}, DialogResult::kOk, false},
      {kSkinFolder, {300, 263}, DialogResult::kCancel, false},
      {kSkinFolder, {270, 263}, DialogResult::kCancel, false},  // in OK and Cancel: Cancel last
      {kSkinFolder, {360, 10}, DialogResult::kCancel, false},   // close button
      {kSkinFolder + "/missing", {200, 263}, DialogResult::kCancel, true},  // no background
  };
  for (const Case& c : cases) {
    SubDialogFrame frame(SubDialogLook{c.folder, {255, 255, 255}, Language::kEnglish},
                         kSingleKeyDialogImage, "Single Dialog Load background image failed!!!");
    DialogDriver driver(c.click);
    const DialogResult result = RunSubDialogModal(GetModuleHandleW(nullptr), nullptr, frame, DisplayScale{});
    EXPECT_EQ(result, c.expected) << c.folder << " at " << c.click.x << "," << c.click.y;
    const bool toldError =
        std::find(driver.boxTexts.begin(), driver.boxTexts.end(), L"error") != driver.boxTexts.end();
    EXPECT_EQ(toldError, c.toldError) << c.folder;
  }
}

// An event collection fed by the test: ReadEvent blocks until a report is
// queued, the port is closed (the mouse went away) or cancelled.
class QueuePort : public EventPort {
 public:
  // `cancelSeen` outlives the port: the listener may drop the port at once.
  explicit QueuePort(std::atomic<bool>* cancelSeen = nullptr) : cancelSeen_(cancelSeen) {}
  std::size_t InputLength() const override { return 8; }
  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    std::unique_lock<std::mutex> lock(mutex_);
    ++reads_;
    changed_.wait(lock, [&] { return cancelled_ || closed_ || !reports_.empty(); });
    if (cancelled_ || reports_.empty()) return 0;
    std::vector<std::uint8_t> next = reports_.front();
    reports_.pop_front();
    const std::size_t n = std::min(capacity, next.size());
    std::copy(next.begin(), next.begin() + n, report);
    return n;
  }
  void Cancel() override {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (cancelSeen_) cancelSeen_->store(true);
    changed_.notify_all();
  }
  void Queue(std::vector<std::uint8_t> report) {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back(std::move(report));
    changed_.notify_all();
  }
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }
  int reads() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reads_;
  }

 private:
  std::atomic<bool>* cancelSeen_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<std::uint8_t>> reports_;
  bool cancelled_ = false;
  bool closed_ = false;
  int reads_ = 0;
};

// What the listener handed on, waited for without a fixed sleep.
class EventLog {
 public:
  void Add(DeviceEvent event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }
  // The events once there are `count` of them (or after a generous limit).
  std::vector<DeviceEvent> WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return events_.size() >= count; });
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<DeviceEvent> events_;
};

TEST(WinShellListener, HandsOnTheMousesEventsInOrderAndOnlyOnceResumed) {
  EventLog log;
  EventListener listener([&](DeviceEvent e) { log.Add(e); });
  ASSERT_TRUE(listener.Create());
  auto port = std::make_unique<QueuePort>();
  QueuePort* raw = port.get();
  const std::vector<std::vector<std::uint8_t>> reports = {
      {6, 7, 0, 2, 0, 0, 0, 0},  // DPI stage 2
      {5, 7, 0, 3, 0, 0, 0, 0},  // another report ID: dropped
      {6, 6, 0, 1, 0, 0, 0, 0},  // a code the program ignores
      {6, 9, 0, 3, 0, 0, 0, 0},  // macro key 3
      {6, 5, 0, 8, 0, 0, 0, 0},  // 125 Hz
  };
  for (const auto& r : reports) raw->Queue(r);
  listener.UsePort(std::move(port));
  Sleep(50);
  EXPECT_EQ(raw->reads(), 0);  // created suspended: nothing is read before Resume
  listener.Resume();
  const std::vector<DeviceEvent> expected = {{7, 2}, {9, 3}, {5, 8}};
  EXPECT_EQ(log.WaitFor(3), expected);
}

TEST(WinShellListener, ANewMouseReplacesTheOldOneAndAGoneMouseIsNotPolled) {
  EventLog log;
  EventListener listener([&](DeviceEvent e) { log.Add(e); });
  ASSERT_TRUE(listener.Create());
  listener.Resume();

  // The first mouse goes away: its port stops answering.
  std::atomic<bool> goneCancelled{false}, backCancelled{false};
  auto first = std::make_unique<QueuePort>(&goneCancelled);
  QueuePort* gone = first.get();
  listener.UsePort(std::move(first));
  gone->Queue({6, 8, 0, 1, 0, 0, 0, 0});
  ASSERT_EQ(log.WaitFor(1).size(), 1u);
  gone->Close();
  Sleep(100);
  // A listener that kept reading a dead port would have read it over and over.
  EXPECT_LE(gone->reads(), 3);

  // A mouse found again: its events come through, the old port is let go.
  auto second = std::make_unique<QueuePort>(&backCancelled);
  QueuePort* back = second.get();
  listener.UsePort(std::move(second));
  back->Queue({6, 8, 0, 2, 0, 0, 0, 0});
  const std::vector<DeviceEvent> expected = {{8, 1}, {8, 2}};
  EXPECT_EQ(log.WaitFor(2), expected);
  EXPECT_TRUE(goneCancelled.load());

  // Replacing a port that is blocked in a read ends that read at once.
  auto third = std::make_unique<QueuePort>();
  third->Queue({6, 7, 0, 4, 0, 0, 0, 0});
  listener.UsePort(std::move(third));
  EXPECT_TRUE(backCancelled.load());
  const std::vector<DeviceEvent> all = {{8, 1}, {8, 2}, {7, 4}};
  EXPECT_EQ(log.WaitFor(3), all);
}

TEST(WinShellListener, StoppingEndsTheListenerWhetherOrNotItEverRan) {
  for (bool resumed : {false, true}) {
    EventLog log;
    auto listener = std::make_unique<EventListener>([&](DeviceEvent e) { log.Add(e); });
    ASSERT_TRUE(listener->Create());
    std::atomic<bool> cancelled{false};
    listener->UsePort(std::make_unique<QueuePort>(&cancelled));
    if (resumed) listener->Resume();
    listener->Stop();
    EXPECT_TRUE(cancelled.load()) << resumed;
    listener.reset();  // returns: the thread has ended
    EXPECT_TRUE(log.WaitFor(0).empty()) << resumed;
  }
}

// What the window's procedure hands the shell: only the tray's clicks and
// the notices of a device interface that came or went.
TEST(ShellMessages, DecodesTrayClicksAndInterfaceChanges) {
  EXPECT_EQ(DecodeTrayMessage(WM_LBUTTONUP), TrayClick::kLeft);
  EXPECT_EQ(DecodeTrayMessage(WM_LBUTTONDBLCLK), TrayClick::kLeftDouble);
  EXPECT_EQ(DecodeTrayMessage(WM_RBUTTONUP), TrayClick::kRight);
  EXPECT_EQ(DecodeTrayMessage(WM_MOUSEMOVE), std::nullopt);  // the pointer over the icon

  const std::wstring name = L"\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&1";
  std::vector<std::uint64_t> storage((sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + name.size() * 2) / 8 + 1);
  auto* iface = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
  iface->dbcc_size = static_cast<DWORD>(storage.size() * 8);
  iface->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::copy(name.begin(), name.end(), iface->dbcc_name);
  const LPARAM data = reinterpret_cast<LPARAM>(iface);
  struct Case {
    const char* what;
    WPARAM event;
    DWORD type;
    std::optional<DeviceChange> change;
  } cases[] = {
      {"arrival", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, DeviceChange::kArrival},
      {"removal", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, DeviceChange::kRemoval},
      {"not an interface", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, std::nullopt},
      {"other notice", DBT_DEVNODES_CHANGED, DBT_DEVTYP_DEVICEINTERFACE, std::nullopt},
  };
  for (const Case& c : cases) {
    iface->dbcc_devicetype = c.type;
    const auto decoded = DecodeDeviceChange(c.event, data);
    ASSERT_EQ(decoded.has_value(), c.change.has_value()) << c.what;
    if (!decoded) continue;
    EXPECT_EQ(decoded->change, *c.change) << c.what;
    EXPECT_EQ(decoded->interfaceName, "\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&1") << c.what;
  }
  EXPECT_EQ(DecodeDeviceChange(DBT_DEVICEARRIVAL, 0), std::nullopt);  // a notice without data
}

// The Start with Windows shortcut is a shell link that starts the program
// it was written for, whatever the letter case of its path.
TEST(WinShellLogOnStart, AShortcutStartsTheProgramItWasWrittenFor) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::TempDir dir;
  const std::wstring shortcut = Widen(dir.File("Vortal.lnk"));
  const std::wstring program = L"C:\\Games\\Vortal\\Vortal.exe";
  EXPECT_FALSE(ShortcutTarget(shortcut));
  ASSERT_TRUE(WriteShortcut(shortcut, program));
  const std::optional<std::wstring> target = ShortcutTarget(shortcut);
  ASSERT_TRUE(target);
  EXPECT_TRUE(SamePath(*target, L"c:\\games\\vortal\\VORTAL.EXE"));
  EXPECT_FALSE(SamePath(*target, L"C:\\Games\\Other\\Vortal.exe"));
  EXPECT_FALSE(WriteShortcut(Widen(dir.File("missing/Vortal.lnk")), program));
  EXPECT_FALSE(WriteShortcut(L"", program));
}

}  // namespace
}  // namespace vortal
#endif  // _WIN32
