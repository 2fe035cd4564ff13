// The main window's texts in its three languages, the language rule, the
// fonts that go with each language, and the tray balloons for device events.
// The language follows the system's default language identifier and is not a
// setting; the platform reads the identifier and the Windows version and
// passes them in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vortal {

enum class Language { kEnglish, kSimplifiedChinese, kTraditionalChinese };

inline constexpr std::uint32_t kLangIdSimplifiedChinese = 2052;   // 0x0804
inline constexpr std::uint32_t kLangIdTraditionalChinese = 1028;  // 0x0404

// The captions of message boxes: the application's name, and a warning's.
inline constexpr const char* kAppCaption = "Vortal";
inline constexpr const char* kWarningCaption = "Warning";

// 2052 Simplified Chinese, 1028 Traditional Chinese, anything else (Hong Kong
// 3076 included) English.
Language LanguageFromLangId(std::uint32_t langId);

// One entry per text of the main window. Entries that share an English text
// are still distinct: their Chinese texts differ.
enum class TextId : std::uint8_t {
  // Page titles and main buttons.
  kBasicSettings,
  kAdvancedSettings,
  kColorSetting,
  kOk,
  kApply,
  kCancel,

  // Button function names.
  kLeftClick,
  kRightClick,
  kMidClick,
  kForward,
  kBackward,
  kTripleClick,
  kDpiSwitch,
  kReportRateSwitch,
  kShift,
  kRgbOnOff,
  kWindows,
  kMultimedia,
  kFireKey,
  kSingleKey,
  kComboKey,
  kMacroKey,
  kKeyOff,
  kLeftKeyMustBeSelected,

  // Key configurations and basic page sections.
  kKeyDefault,       // "Default" of the key configurations
  kKeyConfiguration1,
  kKeyConfiguration2,
  kKeyConfiguration3,
  kKeyConfiguration4,
  kKeySetting,
  kReportRateSetting,
  kDpiSetting,

  // Lighting.
  kAuxiliaryLedSetting,
  kAsRespirationLed,
  kAsHeartBeatLed,
  kAsKeyGroupSwitchLed,
  kRgbEffectTitle,   // "RGB Effect" section title
  kMode,
  kParameter,
  kSpeed,
  kBrightness,
  kLoopColorSetting,
  kDpiSelfColorLedSetting,
  kOffMode,
  kStandardMode,
  kRespirationMode,
  kNeonMode,
  kNonDisplay,       // the lighting mode "Non-Disolay"
  kRgbEffectMode,    // "RGB Effect" lighting mode
  kRgbFlash,
  kRgbFixedOn,
  kSelfColorLed,
  kLoopColor,
  kDpiColor,
  kFixedColor,

  // Device notifications and tray.
  kReportRate1000,
  kReportRate500,
  kReportRate250,
  kReportRate125,
  kDpiStage1,
  kDpiStage2,
  kDpiStage3,
  kDpiStage4,
  kKeyMatrix1,
  kKeyMatrix2,
  kKeyMatrix3,
  kKeyMatrix4,
  kSwitchToMacroKey,
  kExit,
  kExportSettings,       // the tray menu's items
  kImportSettings,
  kAboutVortal,          // the tray menu's item and its box's caption
  kStartWithWindows,     // the tray menu's tick
  kStartWithWindowsNotChanged,
  kSaveAsProfile,         // the tray menu's item after Export
  kProfileNotSaved,       // "%s": the file
  kProfilesMenu,          // the tray's Profiles submenu and its items
  kDefaultSetup,
  kSwitchAutomatically,
  kBalloonOnSwitch,
  kSwitchedToProfile,     // "%s": the profile
  kSwitchedToDefault,
  kProfileNotUsed,        // "%s": the profile; the reason follows
  kSwitchNotTaken,        // "%s": what the mouse did not take
  kSwitchingNotSaved,     // "%s": the file
  kReleasedUnderMit,     // the About box's licence line
  kExportSettingsTitle,  // the file dialogs' titles
  kImportSettingsTitle,
  kProfileFiles,         // the file dialogs' filter
  kMouseNotDetected,
  kMouseDetected,
  kOpenWindow,           // the tray menu's first, default item

  // What the keyboard and screen readers call the drawn controls.
  kButtonName,           // "%s": the button's number
  kDpiStageName,         // "%s": the stage's number
  kReportRateName,       // "%s": the rate in Hz
  kDpiLevelName,         // "%s": the stage's number
  kLoopColorName,        // "%s": the colour's number
  kLoopColorSwatchName,  // "%s": the colour's number
  kLedSquareName,        // "%s": the square's number
  kSkinsButton,
  kMinimizeButton,
  kCloseButton,

  // Advanced page.
  kMouseSpeed,
  kScrollingSpeed,
  kDoubleClickSpeed,
  kMacroSetting,
  kSelectMacro,
  kKeyPressSequence,
  kRecordOption,
  kEnhancePointerPrecision,
  kScrollOneScreen,
  kPointerDefault,   // "Default" of the pointer settings
  kMacroName,
  kStartRecording,
  kStopRecording,
  kLoopTimes,
  kInsertMouseEvent,
  kNew,
  kDelete,
  kConfirm,
  kMacroNameBlank,
  kMacroNameExists,
  kCtrlBreakStopsRecording,
  kNotRecording,

  // The program's own messages. "%s" stands for a file's path.
  kSettingsNotRead,
  kSettingsMissing,
  kSettingsDamaged,
  kSettingsUnreadable,
  kPaneTextsNotSaved,
  kMacroNameInvalid,
  kMacroNameTooLong,
  kMacroTooLongForMouse,
  kMacroNotSaved,
  kMacroNotDeleted,
  kMacrosCut,      // the names follow
  kMacrosDropped,  // the names follow
  kSkinChoiceNotSaved,
  kSettingsNotExported,
  kSettingsNotImported,  // the reason follows
  kProfileMacrosNotStored,
  kSettingsApplied,
  kSettingsNotApplied,   // "%s": what the mouse did not take
  kMouseDidNotAnswer,
  kSensorNotTold,
  kMacroSlotReadBackWrong,   // "%s": the slot
  kMacroSlotsReadBackWrong,  // "%s": the slots

  // Not translated: the section of str.ini that holds this language's pane
  // texts. (The web address of the title area is the program's one address,
  // kVortalWebAddress of vortal_version.h.)
  kSkinSection,

  kCount
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::kCount);

// The text of an entry in a language (UTF-8). Some English texts end with a
// space that belongs to them.
std::string_view LocalizedText(Language language, TextId id);

// `pattern` with its "%s" replaced by `value` (the first one only).
std::string FormatText(std::string_view pattern, std::string_view value);

// The texts of the chosen language, fixed for the whole run.
class LocalizedTexts {
 public:
  explicit LocalizedTexts(Language language = Language::kEnglish) : language_(language) {}
  Language language() const { return language_; }
  std::string_view operator[](TextId id) const { return LocalizedText(language_, id); }

 private:
  Language language_;
};

// Chooses the language from the system's default language identifier.
LocalizedTexts LoadLocalizedTexts(std::uint32_t langId);

// The 16 items of a button's function list; the index is the stored function
// number (0 "Left Click" ... 15 "Key Off").
inline constexpr std::array<TextId, 16> kFunctionListTexts = {
    TextId::kLeftClick,  TextId::kRightClick, TextId::kMidClick,   TextId::kForward,
    TextId::kBackward,   TextId::kTripleClick, TextId::kDpiSwitch, TextId::kRgbOnOff,
    TextId::kWindows,    TextId::kMultimedia, TextId::kFireKey,    TextId::kSingleKey,
    TextId::kComboKey,   TextId::kMacroKey,   TextId::kShift,      TextId::kKeyOff,
};

// A text of the sub-dialogs in the three languages of the program; each
// dialog carries its own, the main window's are the table above.
struct DialogLabel {
  std::string_view english;
  std::string_view simplified;
  std::string_view traditional;

  constexpr std::string_view In(Language language) const {
    switch (language) {
      case Language::kSimplifiedChinese: return simplified;
      case Language::kTraditionalChinese: return traditional;
      case Language::kEnglish: break;
    }
    return english;
  }
};

// The items of the multimedia and Windows function lists, in the order of
// their tables of codes (assign/key_tables.h).
inline constexpr std::array<DialogLabel, 7> kMediaItems = {{
    {"Next", "下一首", "下一首"},
    {"Previous", "上一首", "上一首"},
    {"Stop", "停止", "停止"},
    {"Play/Pause", "播放/暂停", "播放/暫停"},
    {"Mute", "静音", "靜音"},
    {"Vol+", "音量+", "音量+"},
    {"Vol-", "音量-", "音量-"},
}};

inline constexpr std::array<DialogLabel, 11> kWindowsItems = {{
    {"Multimedia Player", "打开多媒体播放器", "打開多媒體播放器"},
    {"Mail", "邮件", "郵件"},
    {"Calculator", "计算器", "計算器"},
    {"My Computer", "我的电脑", "我的電腦"},
    {"Browser-Search", "浏览器-搜索", "瀏覽器-搜索"},
    {"Browser-Home", "浏览器-主页", "瀏覽器-主頁"},
    {"Browser-Back", "浏览器-后退", "瀏覽器-後退"},
    {"Browser-Forward", "浏览器-前进", "瀏覽器-前進"},
    {"Browser-Stop", "浏览器-停止", "瀏覽器-停止"},
    {"Browser-Refresh", "浏览器-刷新", "瀏覽器-刷新"},
    {"Browser-My Favorites", "浏览器-收藏夹", "瀏覽器-我的最愛"},
}};

// Fonts. Every font has width 0, no italic, underline or strike-out, the ANSI
// character set, default precisions and quality and the swiss family; only the
// face, height and weight depend on the language. The sub-dialogs use the
// normal font.
struct FontSpec {
  std::string_view faceName;  // UTF-8
  int height;
  int weight;
};

struct LanguageFonts {
  FontSpec normal;
  FontSpec title;  // page titles and other bold captions
};

// `majorVersion` and `minorVersion` are those of GetVersion: Simplified
// Chinese takes a different face on Windows 6.2 only.
LanguageFonts FontsForLanguage(Language language, unsigned majorVersion, unsigned minorVersion);

// Tray balloons for the events the mouse (or the program itself) reports.
inline constexpr int kEventReportRate = 5;      // value 1, 2, 4, 8: 1000..125 Hz
inline constexpr int kEventDpiStage = 7;        // value 1..4: the stage
inline constexpr int kEventKeyMatrix = 8;       // value 1, 2
inline constexpr int kEventMacroKey = 9;        // value: the macro number, not 0
inline constexpr int kEventMouseMissing = 15;   // any value

inline constexpr std::string_view kBalloonInfoTitle = "Info";
inline constexpr std::string_view kBalloonWarningTitle = "Warning";
inline constexpr int kBalloonInfoTimeoutMs = 5000;
inline constexpr int kBalloonWarningTimeoutMs = 100;

enum class BalloonSuffix {
  kNone,
  kDpiLabel,  // the DPI label of stage `dpiEntry` follows the text directly
  kNumber,    // the event value in decimal follows the text directly
};

struct BalloonSpec {
  TextId text;
  std::string_view title;
  int timeoutMs;
  BalloonSuffix suffix;
  int dpiEntry;  // 0..3, the record's DPI stage entry, for kDpiLabel only
};

// What to show for an event, or nothing for any combination the table does
// not list.
std::optional<BalloonSpec> BalloonForEvent(std::int64_t event, std::int64_t value);

struct Balloon {
  std::string text;
  std::string_view title;
  int timeoutMs;
};

// The complete balloon. `dpiLabel` gives the label of a DPI stage entry
// (0..3); it is called only for DPI stage events.
std::optional<Balloon> BuildBalloon(const LocalizedTexts& texts, std::int64_t event,
                                    std::int64_t value,
                                    const std::function<std::string(int dpiEntry)>& dpiLabel);

}  // namespace vortal
