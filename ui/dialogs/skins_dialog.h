// Skin selection: the Skins button's dialog, where the user picks another
// skin folder under "Skins" beside the executable and another UI text colour,
// and the change of skin that follows its OK.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/skin_settings.h"
#include "ui/dialogs/sub_dialog_frame.h"

namespace vortal {

inline constexpr SubDialogTitle kSkinsTitle{{"SKINS", "皮肤", "皮膚"}, 34};
inline constexpr std::string_view kSkinsDialogFailureCaption =
    "Skins Dialog Load background image failed!!!";

inline constexpr Rect kSkinsHintBox{12, 64, 181, 94};
inline constexpr Rect kColorSampleBox{42, 94, 151, 110};
inline constexpr Rect kSkinNameBox{42, 128, 136, 144};
inline constexpr Rect kSkinListHeader{42, 128, 151, 144};
inline constexpr Rect kSkinListArea{42, 146, 151, 266};
inline constexpr int kSkinNameId = 560;
inline constexpr int kColorSampleId = 561;
inline constexpr int kSkinListId = 562;
// What the keyboard and screen readers call the list's field and the colour.
inline constexpr DialogLabel kSkinListLabel{"Skin", "皮肤", "皮膚"};
inline constexpr DialogLabel kTextColorLabel{"Text color", "文字颜色", "文字顏色"};

// "Please click to set the UI text color" in the system language.
std::string_view SkinsHintText(Language language);

// The skins root: the program folder (with its trailing separator) and "/Skins".
std::string SkinsRoot(std::string_view programDir);

// The folder under `skinsRoot` whose name equals `name` ignoring ASCII letter
// case, as "root\name" with the name as the folder search returns it; of
// folders that differ only in case, the first the search returns. Nothing
// when none matches.
std::optional<std::string> FindSkinFolder(const std::string& skinsRoot, std::string_view name);

class CSkinsDialog : public SubDialogFrame {
 public:
  // Starts from the skin in use: its folder, name and text colour.
  CSkinsDialog(SubDialogLook look, std::string skinsRoot, std::string skinName);

  // The wheel anywhere over the dialog scrolls the open list, up for a
  // positive delta.
  void OnMouseWheel(int delta) override { ScrollOpenList(delta); }

  // The results, read after the dialog ended with kOk.
  const std::string& folderPath() const { return folderPath_; }
  const std::string& skinName() const { return skinName_; }
  Color color() const { return color_; }

 protected:
  void DrawContents(Canvas& canvas) override;
  SubDialogTitle Title() const override { return kSkinsTitle; }
  std::vector<std::string> ListItems() const override;
  void OnListItemChosen(int index, const std::string& text) override;
  void OnDialogClick(Point p) override;
  std::vector<WindowControl> DialogControls() override;
  std::string DropDownName() const override { return std::string(kSkinListLabel.In(look().language)); }
  std::string DropDownValue() const override { return skinName_; }

 private:
  std::string skinsRoot_;
  std::string folderPath_;
  std::string skinName_;
  Color color_;
  int lastChosen_ = -1;
  // The folders as listed when the list opened, so the chosen line is the
  // folder the user saw even if the folder changes meanwhile.
  mutable std::vector<std::string> listed_;
  mutable bool listedValid_ = false;
};

}  // namespace vortal
