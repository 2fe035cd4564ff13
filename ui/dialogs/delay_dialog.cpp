#include "ui/dialogs/delay_dialog.h"

#include "settings/number_text.h"
#include "ui/skin/skin_images.h"

namespace vortal {

std::string_view DelayPromptText(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese: return "请输入一个延时";
    case Language::kTraditionalChinese: return "請輸入一個延時";
    case Language::kEnglish: break;
  }
  return "Please enter a delay";
}

std::string_view DelayRangeText(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese: return "(数值范围 50-10000)";
    case Language::kTraditionalChinese: return "(數值範圍 50-10000)";
    case Language::kEnglish: break;
  }
  return "(value range 50-10000)";
}

std::string DelayLineFromInput(std::string_view typed, std::int32_t value) {
  if (static_cast<std::uint32_t>(value) > static_cast<std::uint32_t>(kMaxDelayMs)) {
    return std::to_string(kDefaultDelayMs) + " ms";
  }
  return std::string(typed) + " ms";
}

CDelayTimeDialog::CDelayTimeDialog(SubDialogLook look)
    : SubDialogFrame(std::move(look), kDelayTimeDialogImage, kDelayDialogFailureCaption) {}

void CDelayTimeDialog::CreateControls() {
  ChildControls& c = controls();
  c.CreateChild(kDelayFieldId, ChildKind::kBorderedDigitsEdit, kDelayFieldBox, kDelayFieldMaxChars);
  c.SetChildLook(kDelayFieldId, kDelayFieldLook);
  // The user opened the dialog to type a pause: the field takes the keys at once.
  c.FocusChild(kDelayFieldId);
}

void CDelayTimeDialog::OnEditChanged(int id) {
  if (id != kDelayFieldId) return;
  typedText_ = controls().ChildText(kDelayFieldId);
  // Saturating, so a long string of digits can never wrap into the range.
  typedValue_ = ReadCNumber(typedText_);
  controls().RepaintChild(kDelayFieldId);
}

void CDelayTimeDialog::DrawContents(Canvas& canvas) {
  canvas.DrawText(DelayPromptText(look().language), kDelayPromptBox, TextAlign::kCenter,
                  look().textColor, FontKind::kNormal);
  canvas.DrawText(DelayRangeText(look().language), kDelayRangeBox, TextAlign::kCenter,
                  look().textColor, FontKind::kNormal);
}

}  // namespace vortal
