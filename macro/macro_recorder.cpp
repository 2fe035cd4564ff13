#include "macro/macro_recorder.h"

#include <cstdio>

#include "assign/key_names.h"
#include "macro/macro_store.h"
#include "macro/user_messages.h"

namespace vortal {
namespace {

// The key table's name of the key where the system names it otherwise (so
// the mouse gets the key's code under every keyboard layout), at most 31
// characters as the hook's buffer holds it, cut on a character boundary.
std::string RecordedKeyName(const KeyStroke& key) {
  std::string name = KeyNameForCapture(key.name, static_cast<unsigned>(key.scanCode), key.extended);
  std::size_t units = 0;
  for (std::size_t i = 0; i < name.size();) {
    const unsigned char lead = static_cast<unsigned char>(name[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::size_t wide = length == 4 ? 2 : 1;  // UTF-16 units
    if (units + wide > kRecordedKeyNameMaxChars) return name.substr(0, i);
    units += wide;
    i += length;
  }
  return name;
}

}  // namespace

std::string DelayLine(int ms) { return std::to_string(ms) + std::string(kDelaySuffix); }

void MacroRecorder::Start() {
  if (!editor_.HasMacros()) {
    window_.Show(std::string(texts_[TextId::kMacroNameBlank]), kWarningCaption);
    return;
  }
  window_.Show(std::string(texts_[TextId::kStartRecording]), kAppCaption);
  if (window_.RecordingHookInstalled()) window_.RemoveRecordingHook();
  editor_.ClearEvents();
  const unsigned error = window_.InstallRecordingHook(
      {[this](const KeyStroke& key) { return OnKey(key); },
       [this](int message) { OnMessage(message); }});
  if (error != 0) {
    char text[64];
    std::snprintf(text, sizeof text, kHookInstallErrorFormat, static_cast<int>(error));
    window_.Show(text, kAppCaption);
    return;
  }
  started_ = true;
  progress_ = 0;
  pressedSinceStart_.clear();
  window_.SetWindowTitle(texts_[TextId::kCtrlBreakStopsRecording]);
}

void MacroRecorder::Stop() {
  // The hook goes before the box is shown: the key that closes the box
  // would otherwise end the macro with a press that is never released.
  const bool stopping = started_ && window_.RecordingHookInstalled();
  if (stopping) {
    window_.RemoveRecordingHook();
    window_.SetWindowTitle(kAppCaption);  // the window's own name again
  }
  window_.Show(std::string(texts_[TextId::kStopRecording]), kAppCaption);
  if (!started_) {
    window_.Show(std::string(texts_[TextId::kNotRecording]), kWarningCaption);
    return;
  }
  if (!stopping) return;
  window_.SendRecorderMessage(kRecordingStopped);
  progress_ = 2;
}

void MacroRecorder::Leave() {
  if (!window_.RecordingHookInstalled()) return;
  window_.RemoveRecordingHook();
  window_.SetWindowTitle(kAppCaption);
}

std::optional<int> MacroRecorder::OnKey(const KeyStroke& key) {
  currentKeyName_ = RecordedKeyName(key);
  if (key.released) {
    // The system never reports a release as a repeat.
    if (currentKeyName_ == lastPressName_ && !key.wasDown) return std::nullopt;
    if (pressedSinceStart_.erase(currentKeyName_) == 0) return std::nullopt;
    return kRecordedRelease;
  }
  pressedSinceStart_.insert(currentKeyName_);
  // Holding a key repeats its press; only the first one is recorded.
  if (currentKeyName_ == lastPressName_ && key.wasDown) return std::nullopt;
  return kRecordedPress;
}

void MacroRecorder::OnMessage(int message) {
  if (!editor_.HasSelectedMacro()) return;
  if (message == kRecordedPress) {
    if (progress_ == 0) {
      progress_ = 1;
    } else {
      editor_.AppendEvent(DelayLine(kRecordedDelayMs));
    }
    editor_.AppendEvent(currentKeyName_ + std::string(kPressMarker));
    lastPressName_ = currentKeyName_;
  } else if (message == kRecordedRelease) {
    editor_.AppendEvent(DelayLine(kRecordedDelayMs));
    editor_.AppendEvent(currentKeyName_ + std::string(kReleaseMarker));
  }
}

}  // namespace vortal
