// CDelayTimeDialog: the small dialog in which the user types a new pause for
// a delay line of the macro editor. One digits-only field; the caller turns
// what was typed into the new line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr int kDelayFieldId = 600;
inline constexpr Rect kDelayFieldBox{74, 129, 150, 143};
// The field's rectangle widened by 60 on each side, moved up by 40 and 20.
inline constexpr Rect kDelayPromptBox{14, 89, 210, 109};
inline constexpr Rect kDelayRangeBox{14, 109, 210, 129};
inline constexpr SubDialogTitle kDelayTimeTitle{{"DELAY TIME", "延时", "延時"}, 34};
inline constexpr std::string_view kDelayDialogFailureCaption =
    "DelayTime Dialog Load background image failed!!!";
// The field: white text on 0x282828.
inline constexpr ChildLook kDelayFieldLook{{255, 255, 255}, {0x28, 0x28, 0x28}};
// Nine digits cannot leave the int range.
inline constexpr int kDelayFieldMaxChars = 9;
// What the keyboard and screen readers call the field.
inline constexpr DialogLabel kDelayFieldLabel{"Delay time (ms)", "延时(毫秒)", "延時(毫秒)"};

// The largest pause the editor takes; a larger value becomes the default.
inline constexpr int kMaxDelayMs = 10000;
inline constexpr int kDefaultDelayMs = 50;

std::string_view DelayPromptText(Language language);
std::string_view DelayRangeText(Language language);

// The delay line that replaces the edited one: the typed text followed by
// " ms", or "50 ms" when the value, taken as unsigned, exceeds 10000.
std::string DelayLineFromInput(std::string_view typed, std::int32_t value);

class CDelayTimeDialog : public SubDialogFrame {
 public:
  explicit CDelayTimeDialog(SubDialogLook look);

  void OnEditChanged(int id) override;

  // Kept current on every change of the field; empty and 0 at first.
  const std::string& typedText() const { return typedText_; }
  std::int32_t typedValue() const { return typedValue_; }
  // The delay line that the user's input stands for.
  std::string ResultLine() const { return DelayLineFromInput(typedText_, typedValue_); }

 protected:
  std::vector<WindowControl> DialogControls() override {
    return {FieldControl(kDelayFieldId, 1, kDelayFieldBox, kDelayFieldLabel.In(look().language))};
  }
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kDelayTimeTitle; }

 private:
  std::string typedText_;
  std::int32_t typedValue_ = 0;
};

}  // namespace vortal
