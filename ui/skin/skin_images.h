// File names of a skin's images. They are appended as they are to the skin
// folder, so each begins with "/"; names are case-sensitive
// ("/DropdownBox.png" and "/dropdownbox.png" are two different images).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vortal {

// Window backgrounds.
inline constexpr std::string_view kMainImage = "/main.png";  // sets the window size
inline constexpr std::string_view kBasicPageImage = "/BasicSet2.png";
inline constexpr std::string_view kAdvancedPageImage = "/AdvancedSet2.png";
inline constexpr std::string_view kSkinsDialogImage = "/skins.png";

// Buttons, each with its hover state.
inline constexpr std::string_view kButtonNormalImage = "/button-normal.png";
inline constexpr std::string_view kButtonOverImage = "/button-over.png";
inline constexpr std::string_view kCloseNormalImage = "/button-close-normal.png";
inline constexpr std::string_view kCloseOverImage = "/button-close-over.png";
inline constexpr std::string_view kMinimizeNormalImage = "/button-min-normal.png";
inline constexpr std::string_view kMinimizeOverImage = "/button-min-over.png";
inline constexpr std::string_view kSkinsButtonNormalImage = "/button-Skins-normal.png";
inline constexpr std::string_view kSkinsButtonOverImage = "/button-Skins-over.png";
inline constexpr std::string_view kBasicPageButtonNormalImage = "/button-PrePage-normal.png";
inline constexpr std::string_view kBasicPageButtonOverImage = "/button-PrePage-over.png";
inline constexpr std::string_view kAdvancedPageButtonNormalImage = "/button-NextPage-normal.png";
inline constexpr std::string_view kAdvancedPageButtonOverImage = "/button-NextPage-over.png";

// Button panes, drop-down headers and marks.
inline constexpr std::string_view kPaneNormalImage = "/DropdownBox-normal.png";
inline constexpr std::string_view kPaneOverImage = "/DropdownBox-over.png";
inline constexpr std::string_view kDpiStageHeaderImage = "/DropdownBox.png";
inline constexpr std::string_view kLedHeaderImage = "/dropdownbox.png";
inline constexpr std::string_view kReportRateDarkImage = "/slider-RP-dark.png";
inline constexpr std::string_view kReportRateLightImage = "/slider-RP-light.png";
inline constexpr std::string_view kDpiDarkImage = "/slider-DPI-dark.png";
inline constexpr std::string_view kDpiLightImage = "/slider-DPI-light.png";
inline constexpr std::string_view kSliderDarkImage = "/slider-dark.png";
inline constexpr std::string_view kSliderLightImage = "/slider-light.png";
inline constexpr std::string_view kCheckBoxImage = "/Pane.png";
inline constexpr std::string_view kCheckBoxTickedImage = "/PaneMakingTick.png";

// Sub-dialog backgrounds.
inline constexpr std::string_view kSingleKeyDialogImage = "/single-key.png";
inline constexpr std::string_view kComboKeyDialogImage = "/combo-key.png";
inline constexpr std::string_view kFireKeyDialogImage = "/fire-key.png";
inline constexpr std::string_view kMediaDialogImage = "/media-key.png";
inline constexpr std::string_view kWindowsDialogImage = "/windows-key.png";
inline constexpr std::string_view kDelayTimeDialogImage = "/delay-time.png";
inline constexpr std::string_view kMacroDialogImage = "/macro-key.png";
inline constexpr std::string_view kSaveProfileDialogImage = "/profile-save.png";

// Every image a complete skin provides.
inline constexpr std::array<std::string_view, 36> kSkinImages = {
    kMainImage,
    kBasicPageImage,
    kAdvancedPageImage,
    kSkinsDialogImage,
    kButtonNormalImage,
    kButtonOverImage,
    kCloseNormalImage,
    kCloseOverImage,
    kMinimizeNormalImage,
    kMinimizeOverImage,
    kSkinsButtonNormalImage,
    kSkinsButtonOverImage,
    kBasicPageButtonNormalImage,
    kBasicPageButtonOverImage,
    kAdvancedPageButtonNormalImage,
    kAdvancedPageButtonOverImage,
    kPaneNormalImage,
    kPaneOverImage,
    kDpiStageHeaderImage,
    kLedHeaderImage,
    kReportRateDarkImage,
    kReportRateLightImage,
    kDpiDarkImage,
    kDpiLightImage,
    kSliderDarkImage,
    kSliderLightImage,
    kCheckBoxImage,
    kCheckBoxTickedImage,
    kSingleKeyDialogImage,
    kComboKeyDialogImage,
    kFireKeyDialogImage,
    kMediaDialogImage,
    kWindowsDialogImage,
    kDelayTimeDialogImage,
    kMacroDialogImage,
    kSaveProfileDialogImage,
};

// The file of an image in a skin folder: the name appended as it is.
inline std::string SkinImagePath(std::string_view skinFolderPath, std::string_view image) {
  std::string path(skinFolderPath);
  path += image;
  return path;
}

}  // namespace vortal
