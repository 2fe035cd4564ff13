#include "app/state_log.h"

#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <typeinfo>
#include <utility>

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

#include "platform/virtual_mouse.h"
#include "files/win32_text.h"
#include "ui/window/advanced_page.h"
#include "ui/window/basic_page.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/delay_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/window/lighting_area.h"
#include "ui/dialogs/macro_dialog.h"
#include "ui/window/macro_editor_page.h"
#include "ui/window/main_window_model.h"
#include "ui/dialogs/single_dialog.h"
#include "ui/dialogs/skins_dialog.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

StateLog::StateLog(const std::string& path) {
  if (path.empty()) return;
  // Append-only access: every write lands at the end of the file, whole.
  file_ = CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

StateLog::~StateLog() {
  if (enabled()) CloseHandle(file_);
}

void StateLog::WriteLines(const std::string& lines) {
  if (!enabled() || lines.empty()) return;
  std::lock_guard lock(mutex_);
  DWORD written = 0;
  // One call: the system writes it at the end in one piece, unbuffered.
  WriteFile(file_, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

void StateLog::Write(std::string_view event, std::string_view text) {
  if (enabled()) WriteLines(StateLine(event, text));
}

void StateLog::WindowState(bool shown, int page) {
  if (!enabled()) return;
  const int now = shown ? page : -1;
  if (told_ && now == shownPage_) return;
  const bool wasShown = told_ && shownPage_ != -1;
  told_ = true;
  shownPage_ = now;
  if (!shown) {
    Write("window hidden");
    Memory();
  } else if (wasShown) {
    Write("page", PageName(page));
  } else {
    paintTold_ = false;
    QueryPerformanceCounter(&shownAt_);
    Write("window shown", PageName(page));
  }
}

void StateLog::Painted() {
  if (!enabled() || !told_ || shownPage_ == -1 || paintTold_) return;
  paintTold_ = true;
  Write("window painted");
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  const long long tenths = (now.QuadPart - shownAt_.QuadPart) * 10000 / frequency.QuadPart;
  Write("paint ms", std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10));
  Memory();
}

void StateLog::Ready() {
  if (!enabled() || ready_) return;
  ready_ = true;
  Write("ready");
  Memory();
}

void StateLog::Memory() {
  if (!enabled()) return;
  // Windows 7 on; looked up, so that older systems still start.
  using GetMemoryInfoFn = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
  static const auto getMemoryInfo = reinterpret_cast<GetMemoryInfoFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo")));
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!getMemoryInfo || !getMemoryInfo(GetCurrentProcess(),
                                       reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                       sizeof counters)) {
    return;
  }
  // The same figure in both fields on Windows; Wine fills only the second.
  const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  Write("memory", std::to_string(bytes));
}

void StateLog::Clicked(Point p) {
  if (enabled()) Write("clicked", std::to_string(p.x) + ' ' + std::to_string(p.y));
}

void StateLog::EditChanged(HWND edit) {
  if (!enabled()) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  Write("edit", std::to_string(GetDlgCtrlID(edit)) + ' ' + Narrow(text));
}

std::string StateLine(std::string_view event, std::string_view text) {
  std::string line(event);
  if (!text.empty()) {
    line += ' ';
    for (char c : text) {
      if (c == '\n') {
        line += "\\n";
      } else if (c != '\r') {
        line += c;
      }
    }
  }
  line += '\n';
  return line;
}

std::string RectLine(std::string_view name, const Rect& box) {
  return StateLine("rect", std::string(name) + ' ' + std::to_string(box.left) + ' ' +
                               std::to_string(box.top) + ' ' + std::to_string(box.right) + ' ' +
                               std::to_string(box.bottom));
}

std::string_view PageName(int page) {
  switch (page) {
    case kBasicPage:
      return "basic";
    case kAdvancedPage:
      return "advanced";
    default:
      return "none";
  }
}

std::string DialogName(const std::type_info& type) {
  std::string name = type.name();
#if defined(__GNUC__)
  int status = 0;
  if (char* readable = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status)) {
    name = readable;
    std::free(readable);
  }
#endif
  if (const auto colons = name.rfind("::"); colons != std::string::npos) name.erase(0, colons + 2);
  if (const auto space = name.rfind(' '); space != std::string::npos) name.erase(0, space + 1);
  return name;
}

std::string StateLogPath(const char* virtualMouse, const char* stateLog) {
  // The same rule that selects the virtual mouse: a real mouse's user never
  // gets a log.
  if (virtualMouse == nullptr || *virtualMouse == '\0' || stateLog == nullptr) return {};
  return stateLog;
}

StateLog& ProgramStateLog() {
  static StateLog log(
      StateLogPath(std::getenv(kVirtualMouseVariable), std::getenv(kStateLogVariable)));
  return log;
}

void PublishControlRects(StateLog& log, DisplayScale scale) {
  if (!log.enabled()) return;
  std::string lines;
  auto add = [&](std::string_view name, const Rect& box) { lines += RectLine(name, scale.Scale(box)); };
  auto numbered = [&](std::string_view name, int n, const Rect& box) {
    add(std::string(name) + std::to_string(n), box);
  };

  // The frame, on every page.
  constexpr std::string_view kFrameNames[] = {"ok",       "apply", "cancel",     "skins",
                                              "minimise", "close", "basic_page", "advanced_page"};
  for (const FrameButton& button : kFrameButtons) add(kFrameNames[button.id - kFrameOk], button.box);

  // The basic page and its lighting column.
  add("mode_a", kModeAButton);
  add("mode_b", kModeBButton);
  add("default_buttons", kDefaultButton);
  for (int button = 1; button <= kPanes; ++button) numbered("pane", button, PaneBox(button));
  for (int mark = 1; mark <= kReportRateMarks; ++mark) {
    numbered("report_rate", mark, ReportRateMarkBox(mark));
  }
  for (int stage = 1; stage <= 4; ++stage) {
    numbered("dpi_tick", stage, DpiTickBox(stage));
    for (int step = 1; step <= kMaxDpiSteps; ++step) {
      add("dpi_step" + std::to_string(stage) + "_" + std::to_string(step), DpiStepBox(stage, step));
    }
  }
  add("led_mode", kLedModeHeader);
  add("led_parameter", kLedParameterHeader);
  add("led_stage", kLedStageHeader);
  for (int color = 0; color < kLoopColors; ++color) {
    numbered("loop_tick", color + 1, LoopColorTickBox(color));
    numbered("loop_swatch", color + 1, LoopColorSwatchBox(color));
  }
  for (int square = 0; square < kLedSquares; ++square) {
    numbered("led_square", square + 1, LedSquareBox(square));
  }

  // The advanced page: the pointer half and the macro editor.
  constexpr std::pair<std::string_view, PointerSlider> kSliders[] = {
      {"speed", PointerSlider::kMouseSpeed},
      {"lines", PointerSlider::kScrollLines},
      {"double_click", PointerSlider::kDoubleClick}};
  for (const auto& [name, slider] : kSliders) {
    for (int step = 1; step <= 11; ++step) numbered(std::string(name) + "_", step, SliderCellBox(slider, step));
  }
  add("precision", kPrecisionCheckBox);
  add("one_screen", kScrollOneScreenCheckBox);
  add("pointer_default", kPointerDefaultBox);
  add("macro_name", kMacroNameEditBox);
  add("loop_times", kLoopTimesEditBox);
  add("macro_list", kMacroListBox);
  add("event_list", kEventListBox);
  add("insert_header", kInsertListHeader);
  add("insert_list", kInsertListArea);
  add("new_macro", kNewMacroBox);
  add("delete_macro", kDeleteMacroBox);
  add("confirm_macro", kConfirmMacroBox);
  add("start_recording", kStartRecordingBox);
  add("stop_recording", kStopRecordingBox);

  // The sub-dialogs (their own client coordinates).
  add("dialog_ok", kSubDialogOkBox);
  add("dialog_cancel", kSubDialogCancelBox);
  add("dialog_close", kSubDialogCloseBox);
  add("fire_key", kFireKeyFieldBox);
  add("fire_speed", kFireSpeedBox);
  add("fire_times", kFireTimesBox);
  add("combo_modifier", kComboModifierFieldBox);
  add("combo_first", kComboFirstKeyBox);
  add("combo_second", kComboSecondKeyBox);
  add("single_key", kSingleKeyFieldBox);
  add("delay_field", kDelayFieldBox);
  add("colour_sample", kColorSampleBox);
  add("skin_list_header", kSkinListHeader);
  add("skin_list", kSkinListArea);
  for (std::size_t mode = 0; mode < kRepeatModes.size(); ++mode) {
    numbered("repeat_mode", static_cast<int>(mode + 1), kRepeatModes[mode].box);
  }
  log.WriteLines(lines);
}

}  // namespace vortal
