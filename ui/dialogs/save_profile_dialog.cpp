#include "ui/dialogs/save_profile_dialog.h"

#include "edit/profile.h"

namespace vortal {
namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void CSaveProfileDialog::CreateControls() {
  ChildControls& c = controls();
  const ChildLook look{kControlTextColor, kControlBackColor};
  c.CreateChild(kProfileNameFieldId, ChildKind::kEdit, kProfileNameFieldBox, kProfileNameMaxChars);
  c.CreateChild(kProfileProgramsFieldId, ChildKind::kEdit, kProfileProgramsFieldBox, kProfileProgramsMaxChars);
  for (int id : {kProfileNameFieldId, kProfileProgramsFieldId}) c.SetChildLook(id, look);
  c.SetChildText(kProfileNameFieldId, name_);
  c.FocusChild(kProfileNameFieldId);
}

void CSaveProfileDialog::DrawContents(Canvas& canvas) {
  const Language language = look().language;
  canvas.DrawText(kProfileNameCaption.In(language), kProfileNameCaptionBox, TextAlign::kLeft, look().textColor,
                  FontKind::kNormal);
  canvas.DrawText(kProfileProgramsCaption.In(language), kProfileProgramsCaptionBox, TextAlign::kLeft,
                  look().textColor, FontKind::kNormal);
  canvas.DrawText(kProfileWhere.In(language), kProfileWhereBox, TextAlign::kLeftWrapped, kDialogCaptionColor,
                  FontKind::kNormal);
}

bool CSaveProfileDialog::OnOk() {
  const Language language = look().language;
  const std::string name = Trimmed(controls().ChildText(kProfileNameFieldId));
  if (!IsUsableProfileName(name)) {
    host()->Show(std::string(kProfileNameRefused.In(language)), kWarningCaption);
    return false;
  }
  std::string problem;
  const auto programs = ParseProgramList(controls().ChildText(kProfileProgramsFieldId), problem);
  if (!programs) {
    host()->Show(std::string(kProfileProgramsRefused.In(language)) + "\n\n" + problem, kWarningCaption);
    return false;
  }
  name_ = name;
  programs_ = *programs;
  return true;
}

}  // namespace vortal
