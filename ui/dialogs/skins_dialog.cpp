#include "ui/dialogs/skins_dialog.h"

#include <utility>

#include "files/file_io.h"
#include "macro/user_messages.h"
#include "ui/skin/skin_images.h"

namespace vortal {
namespace {

// The skin name's sunken field: the control colours on the dark skin, with
// a one-pixel edge darker above and left, lighter below and right.
constexpr Color kSunkenShadow{16, 16, 16};
constexpr Color kSunkenLight{96, 96, 96};
constexpr int kNameTextIndent = 3;
// The English hint is wider than its box in the dialog's font: it keeps the
// box's centre and spills over both sides, short of the skin preview.
constexpr int kHintSpill = 10;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

SubDialogDropDown SkinListDropDown() { return {kSkinListHeader, kSkinListArea, kSkinListId}; }

}  // namespace

std::string_view SkinsHintText(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese: return "请点击设置UI文本颜色";
    case Language::kTraditionalChinese: return "請點擊設置UI文本顏色";
    case Language::kEnglish: break;
  }
  return "Please click to set the UI text color";
}

std::string SkinsRoot(std::string_view programDir) {
  std::string root(programDir);
  root += '/';
  root += kSkinsFolder;
  return root;
}

std::optional<std::string> FindSkinFolder(const std::string& skinsRoot, std::string_view name) {
  for (const std::string& folder : ListSubfolders(skinsRoot)) {
    if (EqualIgnoringAsciiCase(folder, name)) return skinsRoot + '\\' + folder;
  }
  return std::nullopt;
}

CSkinsDialog::CSkinsDialog(SubDialogLook look, std::string skinsRoot, std::string skinName)
    : SubDialogFrame(look, kSkinsDialogImage, kSkinsDialogFailureCaption, SkinListDropDown()),
      skinsRoot_(std::move(skinsRoot)),
      folderPath_(look.skinFolderPath),
      skinName_(std::move(skinName)),
      color_(look.textColor) {}

void CSkinsDialog::DrawContents(Canvas& canvas) {
  canvas.DrawText(SkinsHintText(look().language),
                  {kSkinsHintBox.left - kHintSpill, kSkinsHintBox.top,
                   kSkinsHintBox.right + kHintSpill, kSkinsHintBox.bottom},
                  TextAlign::kCenter, look().textColor, FontKind::kNormal);
  canvas.FillRect(kColorSampleBox, color_);

  const Rect& box = kSkinNameBox;
  canvas.FillRect(box, kControlBackColor);
  canvas.FillRect({box.left, box.top, box.right, box.top + 1}, kSunkenShadow);
  canvas.FillRect({box.left, box.top, box.left + 1, box.bottom}, kSunkenShadow);
  canvas.FillRect({box.left, box.bottom - 1, box.right, box.bottom}, kSunkenLight);
  canvas.FillRect({box.right - 1, box.top, box.right, box.bottom}, kSunkenLight);
  canvas.DrawText(skinName_, {box.left + kNameTextIndent, box.top + 1, box.right - 1, box.bottom - 1},
                  TextAlign::kLeft, kControlTextColor, FontKind::kNormal);
}

std::vector<std::string> CSkinsDialog::ListItems() const {
  if (!listedValid_) {
    listed_ = ListSubfolders(skinsRoot_);
    listedValid_ = true;
  }
  return listed_;
}

void CSkinsDialog::OnListItemChosen(int index, const std::string& text) {
  skinName_ = text;
  lastChosen_ = index;
  listedValid_ = false;
  // The folder is looked up again by name: of two folders that differ only
  // in letter case the search's first wins, whichever line was chosen.
  if (std::optional<std::string> folder = FindSkinFolder(skinsRoot_, text)) {
    folderPath_ = std::move(*folder);
  }
}

void CSkinsDialog::OnDialogClick(Point p) {
  // A closed list is listed afresh when it opens again.
  if (!listOpen()) listedValid_ = false;
  if (!kColorSampleBox.Contains(p) || host() == nullptr || result() != DialogResult::kNone) return;
  if (std::optional<Color> chosen = host()->ChooseColor()) {
    color_ = *chosen;
    host()->Invalidate(kColorSampleBox);
  }
}

std::vector<WindowControl> CSkinsDialog::DialogControls() {
  return {MakeControl(10, 1, kColorSampleBox, ControlRole::kPushButton,
                      std::string(kTextColorLabel.In(look().language)),
                      [this] { OnDialogClick({kColorSampleBox.left + 1, kColorSampleBox.top + 1}); })};
}

}  // namespace vortal
