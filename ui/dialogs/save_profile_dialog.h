// CSaveProfileDialog: "Save as profile..." of the tray menu asks here for the
// profile's name (its file name in the Profiles folder) and the programs it
// is for. OK checks both and keeps the dialog open, saying what is wrong,
// until they can be written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs/sub_dialog_frame.h"
#include "ui/skin/skin_images.h"

namespace vortal {

inline constexpr std::string_view kSaveProfileImage = kSaveProfileDialogImage;
inline constexpr std::string_view kSaveProfileFailureCaption = "Profile Dialog Load background image failed!!!";
inline constexpr int kProfileNameFieldId = 620;
inline constexpr int kProfileProgramsFieldId = 621;
inline constexpr Rect kProfileNameCaptionBox{30, 58, 362, 76};
inline constexpr Rect kProfileNameFieldBox{35, 83, 357, 101};
inline constexpr Rect kProfileProgramsCaptionBox{30, 120, 362, 138};
inline constexpr Rect kProfileProgramsFieldBox{35, 145, 357, 163};
inline constexpr Rect kProfileWhereBox{30, 184, 362, 232};
inline constexpr int kProfileNameMaxChars = 100;
inline constexpr int kProfileProgramsMaxChars = 1000;
inline constexpr SubDialogTitle kSaveProfileTitle{{"SAVE AS PROFILE", "另存为配置文件", "另存為設定檔"}, 34};
inline constexpr DialogLabel kProfileNameCaption{"Profile name", "配置文件名称", "設定檔名稱"};
inline constexpr DialogLabel kProfileProgramsCaption{"Programs it is for (for example cs2.exe, valorant.exe)",
                                                     "适用的程序（例如 cs2.exe, valorant.exe）",
                                                     "適用的程式（例如 cs2.exe, valorant.exe）"};
inline constexpr DialogLabel kProfileWhere{
    "The profile holds the setup the window shows and goes into the Profiles folder beside the program.",
    "配置文件保存窗口显示的设置，存放在程序旁的 Profiles 文件夹中。",
    "設定檔儲存視窗顯示的設定，存放在程式旁的 Profiles 資料夾中。"};
inline constexpr DialogLabel kProfileNameRefused{
    "Give the profile a name that can be a file name: not empty, without \\ / : * ? \" < > |, not ending in a dot or a space.",
    "请为配置文件起一个可作文件名的名称：不能为空，不含 \\ / : * ? \" < > |，结尾不能是点或空格。",
    "請為設定檔取一個可作檔名的名稱：不能為空，不含 \\ / : * ? \" < > |，結尾不能是點或空格。"};
inline constexpr DialogLabel kProfileProgramsRefused{"The programs cannot be read:", "无法读取程序：",
                                                     "無法讀取程式："};

class CSaveProfileDialog : public SubDialogFrame {
 public:
  CSaveProfileDialog(SubDialogLook look, std::string name = {})
      : SubDialogFrame(std::move(look), kSaveProfileImage, kSaveProfileFailureCaption),
        name_(std::move(name)) {}

  // After kOk: the name as typed (blanks around it dropped) and the programs.
  const std::string& name() const { return name_; }
  const std::vector<std::string>& programs() const { return programs_; }

 protected:
  std::vector<WindowControl> DialogControls() override {
    const Language language = look().language;
    return {FieldControl(kProfileNameFieldId, 1, kProfileNameFieldBox, kProfileNameCaption.In(language)),
            FieldControl(kProfileProgramsFieldId, 2, kProfileProgramsFieldBox,
                         kProfileProgramsCaption.In(language))};
  }
  void CreateControls() override;
  void DrawContents(Canvas& canvas) override;
  bool OnOk() override;
  SubDialogTitle Title() const override { return kSaveProfileTitle; }

 private:
  std::string name_;
  std::vector<std::string> programs_;
};

}  // namespace vortal
