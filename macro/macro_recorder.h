// Records key strokes into the macro editor's event list through the
// keyboard hook of the window's own thread: every press and release that
// reaches the window becomes one event line, with a fixed "50 ms" between
// consecutive events (times are not measured; the user edits them later).
#pragma once

#include <optional>
#include <set>
#include <string>

#include "macro/recording_host.h"
#include "texts/texts.h"

namespace vortal {

// Messages the hook sends to the window (WM_USER+3's wParam).
inline constexpr int kRecordedPress = 0;
inline constexpr int kRecordedRelease = 1;
inline constexpr int kRecordingStopped = 5;

inline constexpr int kRecordedDelayMs = 50;
inline constexpr std::size_t kRecordedKeyNameMaxChars = 31;
inline constexpr const char* kHookInstallErrorFormat = "JournalRecordHook Install error code :%d\n";

// The macro editor as the recorder sees it.
class RecordingEditor {
 public:
  virtual ~RecordingEditor() = default;
  virtual bool HasMacros() const = 0;
  virtual bool HasSelectedMacro() const = 0;
  virtual void ClearEvents() = 0;
  // Appends a line and selects it, so it is scrolled into view.
  virtual void AppendEvent(const std::string& line) = 0;
};

// The line of a delay of `ms` milliseconds ("50 ms").
std::string DelayLine(int ms);

class MacroRecorder {
 public:
  MacroRecorder(RecordingHost& window, const LocalizedTexts& texts, RecordingEditor& editor)
      : window_(window), texts_(texts), editor_(editor) {}

  // "Start Recording": clears the event list and installs the hook.
  void Start();
  // "Stop Recording": removes the hook.
  void Stop();
  // The page is left: the hook goes without a message.
  void Leave();

  // Inside the hook: which message to send for this key, if any. An
  // auto-repeat of the last recorded press sends nothing.
  std::optional<int> OnKey(const KeyStroke& key);
  // The window's recorder message: appends the lines.
  void OnMessage(int message);

  bool recording() const { return window_.RecordingHookInstalled(); }
  bool started() const { return started_; }
  int progress() const { return progress_; }
  const std::string& lastPressName() const { return lastPressName_; }

 private:
  RecordingHost& window_;
  const LocalizedTexts& texts_;
  RecordingEditor& editor_;
  bool started_ = false;  // a recording began since the program started
  int progress_ = 0;      // 0 nothing pressed yet, 1 pressed, 2 stopped
  std::string currentKeyName_;
  std::string lastPressName_;  // survives from one recording to the next
  // Keys pressed since the recording started: the release of a key that was
  // down before (the Enter that closed the "Start Recording" box) is no part
  // of the macro.
  std::set<std::string> pressedSinceStart_;
};

}  // namespace vortal
