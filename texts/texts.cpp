#include "texts/texts.h"

#include <iterator>

namespace vortal {
namespace {

struct TextRow {
  TextId id;
  std::string_view english;
  std::string_view simplified;
  std::string_view traditional;
};

constexpr TextRow kTextTable[] = {
    {TextId::kBasicSettings, "Basic Settings", "基本设置", "基本設置"},
    {TextId::kAdvancedSettings, "Advanced Settings", "高级设置", "高級設置"},
    {TextId::kColorSetting, "Color Setting", "颜色设置", "顏色設置"},
    {TextId::kOk, "OK", "确定", "確定"},
    {TextId::kApply, "Apply", "应用", "應用"},
    {TextId::kCancel, "Cancel", "取消", "取消"},
    {TextId::kLeftClick, "Left Click", "左键", "左鍵"},
    {TextId::kRightClick, "Right Click", "右键", "右鍵"},
    {TextId::kMidClick, "Mid Click", "中键", "中鍵"},
    {TextId::kForward, "Forward", "前进方向键", "前進方向鍵"},
    {TextId::kBackward, "Backward", "后退方向键", "後退方向鍵"},
    {TextId::kTripleClick, "Triple-click", "三连发", "三連發"},
    {TextId::kDpiSwitch, "DPI Switch", "DPI切换", "DPI切換"},
    {TextId::kReportRateSwitch, "Report Rate Switch", "报告率切换", "報告率切換"},
    {TextId::kShift, "Shift", "Shift", "Shift"},
    {TextId::kRgbOnOff, "RGB On/Off", "RGB打开/关闭", "RGB打開/關閉"},
    {TextId::kWindows, "Windows", "Windows", "Windows"},
    {TextId::kMultimedia, "Multimedia", "多媒体", "多媒體"},
    {TextId::kFireKey, "Fire Key", "火力键", "火力鍵"},
    {TextId::kSingleKey, "Single Key", "单键", "單鍵"},
    {TextId::kComboKey, "Combo Key", "组合键", "複合鍵"},
    {TextId::kMacroKey, "Macro Key", "宏", "巨集"},
    {TextId::kKeyOff, "Key Off", "按键关闭", "按鍵關閉"},
    {TextId::kLeftKeyMustBeSelected, "Left key must be selected!", "左键功能必须选择！", "左鍵功能必須選擇！"},
    {TextId::kKeyDefault, "Default", "按键恢复", "按鍵恢復"},
    {TextId::kKeyConfiguration1, "Key Configuration 1", "按键配置1", "按鍵配置1"},
    {TextId::kKeyConfiguration2, "Key Configuration 2", "按键配置2", "按鍵配置2"},
    {TextId::kKeyConfiguration3, "Key Configuration 3", "按键配置3", "按鍵配置3"},
    {TextId::kKeyConfiguration4, "Key Configuration 4", "按键配置4", "按鍵配置4"},
    {TextId::kKeySetting, "Key Setting", "按键设置", "按鍵設置"},
    {TextId::kReportRateSetting, "Report Rate Setting", "报告率设置", "報告率設置"},
    {TextId::kDpiSetting, "DPI Setting", "DPI设置", "DPI設置"},
    {TextId::kAuxiliaryLedSetting, "Auxiliary LED Setting", "辅灯设置", "輔燈設置"},
    {TextId::kAsRespirationLed, "As Respiration LED", "设为呼吸灯", "設為呼吸燈"},
    {TextId::kAsHeartBeatLed, "As Heart Beat LED", "设为心跳灯", "設為心跳燈"},
    {TextId::kAsKeyGroupSwitchLed, "As Key Group Switch LED", "设为按键组切换灯", "設為按鍵群組切換燈"},
    {TextId::kRgbEffectTitle, "RGB Effect", "RGB显示特效", "RGB顯示特效"},
    {TextId::kMode, "Mode", "模式", "模式"},
    {TextId::kParameter, "Parameter", "参数", "參數"},
    {TextId::kSpeed, "Speed", "速度:请调整灯光显示速度", "速度"},
    {TextId::kBrightness, "Brightness", "亮度:请调整灯光显示亮度", "亮度"},
    {TextId::kLoopColorSetting, "Loop Color Setting", "循环颜色设置", "迴圈顏色設置"},
    {TextId::kDpiSelfColorLedSetting, "DPI Self-Color LED Setting ", "DPI单色灯设置", "DPI單色燈設置"},
    {TextId::kOffMode, "Off Mode", "关闭模式", "關閉模式"},
    {TextId::kStandardMode, "Standard Mode", "标准模式", "標準模式"},
    {TextId::kRespirationMode, "Respiration Mode", "呼吸模式", "呼吸模式"},
    {TextId::kNeonMode, "Neon Mode", "霓虹模式", "霓虹模式"},
    {TextId::kNonDisplay, "Non-Disolay", "关闭", "關閉"},
    {TextId::kRgbEffectMode, "RGB Effect", "RGB效果", "RGB效果"},
    {TextId::kRgbFlash, "RGB Flash", "RGB闪烁", "RGB閃爍"},
    {TextId::kRgbFixedOn, "RGB Fixed On", "RGB常亮", "RGB常亮"},
    {TextId::kSelfColorLed, "Self-Color LED", "单色LED", "單色LED"},
    {TextId::kLoopColor, "Loop Color", "循环色", "迴圈色"},
    {TextId::kDpiColor, "DPI Color", "DPI颜色", "DPI顏色"},
    {TextId::kFixedColor, "Fixed Color", "单色", "單色"},
    {TextId::kReportRate1000, "Switch report rate into 1000HZ", "报告率切换到1000HZ", "報告率切換到1000HZ"},
    {TextId::kReportRate500, "Switch report rate into 500HZ", "报告率切换到500HZ", "報告率切換到500HZ"},
    {TextId::kReportRate250, "Switch report rate into 250HZ", "报告率切换到250HZ", "報告率切換到250HZ"},
    {TextId::kReportRate125, "Switch report rate into 125HZ", "报告率切换到125HZ", "報告率切換到125HZ"},
    {TextId::kDpiStage1, "Switch DPI into the first stage ", "DPI切换到第一段", "DPI切換到第一段"},
    {TextId::kDpiStage2, "Switch DPI into the second stage ", "DPI切换到第二段", "DPI切換到第二段"},
    {TextId::kDpiStage3, "Switch DPI into the third stage ", "DPI切换到第三段", "DPI切換到第三段"},
    {TextId::kDpiStage4, "Switch DPI into the fourth stage ", "DPI切换到第四段", "DPI切換到第四段"},
    {TextId::kKeyMatrix1, "Switch to key matrix 1", "切换到按键组1", "切換到按鍵群組1"},
    {TextId::kKeyMatrix2, "Switch to key matrix 2", "切换到按键组2", "切換到按鍵群組2"},
    {TextId::kKeyMatrix3, "Switch to key matrix 3", "切换到按键组3", "切換到按鍵群組3"},
    {TextId::kKeyMatrix4, "Switch to key matrix 4", "切换到按键组4", "切換到按鍵群組4"},
    {TextId::kSwitchToMacroKey, "Switch to macro key", "切换到宏", "切換到巨集"},
    {TextId::kExit, "Exit", "退出", "退出"},
    {TextId::kExportSettings, "Export settings...", "导出设置...", "匯出設定..."},
    {TextId::kImportSettings, "Import settings...", "导入设置...", "匯入設定..."},
    {TextId::kAboutVortal, "About Vortal", "关于 Vortal", "關於 Vortal"},
    {TextId::kStartWithWindows, "Start with Windows", "开机时启动", "開機時啟動"},
    {TextId::kStartWithWindowsNotChanged, "The shortcut in the Startup folder could not be changed.", "无法更改“启动”文件夹中的快捷方式。", "無法變更「啟動」資料夾中的捷徑。"},
    {TextId::kSaveAsProfile, "Save as profile...", "另存为配置文件...", "另存為設定檔..."},
    {TextId::kProfileNotSaved, "The profile could not be saved as %s.", "无法将配置文件保存为 %s。", "無法將設定檔儲存為 %s。"},
    {TextId::kProfilesMenu, "Profiles", "配置文件", "設定檔"},
    {TextId::kDefaultSetup, "Default setup", "默认设置", "預設設定"},
    {TextId::kSwitchAutomatically, "Switch automatically", "自动切换", "自動切換"},
    {TextId::kBalloonOnSwitch, "Show a balloon on each switch", "切换时显示提示", "切換時顯示提示"},
    {TextId::kSwitchedToProfile, "The mouse now has the profile %s.", "鼠标已切换到配置文件 %s。", "滑鼠已切換到設定檔 %s。"},
    {TextId::kSwitchedToDefault, "The mouse now has the default setup.", "鼠标已恢复默认设置。", "滑鼠已恢復預設設定。"},
    {TextId::kProfileNotUsed, "The profile %s cannot be read, so the mouse stays as it was:", "无法读取配置文件 %s，鼠标保持原样：", "無法讀取設定檔 %s，滑鼠保持原樣："},
    {TextId::kSwitchNotTaken, "The mouse did not take all of the switch: %s.", "鼠标没有接受全部切换：%s。", "滑鼠沒有接受全部切換：%s。"},
    {TextId::kSwitchingNotSaved, "The choice could not be saved in %s.", "无法将选择保存到 %s。", "無法將選擇儲存到 %s。"},
    {TextId::kReleasedUnderMit, "Released under the MIT License.", "依据 MIT 许可证发布。", "依據 MIT 授權條款發佈。"},
    {TextId::kExportSettingsTitle, "Export Settings", "导出设置", "匯出設定"},
    {TextId::kImportSettingsTitle, "Import Settings", "导入设置", "匯入設定"},
    {TextId::kProfileFiles, "Vortal settings (*.ini)", "Vortal 设置 (*.ini)", "Vortal 設定 (*.ini)"},
    {TextId::kMouseNotDetected, "The system did not detect the gaming mouse!", "系统没有检测到游戏鼠标！", "系統沒有檢測到遊戲滑鼠！"},
    {TextId::kMouseDetected, "The system detect the gaming mouse.", "系统检测到游戏鼠标。", "系統檢測到遊戲滑鼠。"},
    {TextId::kOpenWindow, "Open", "打开", "打開"},
    {TextId::kButtonName, "Button %s", "按键 %s", "按鍵 %s"},
    {TextId::kDpiStageName, "DPI stage %s", "DPI 第 %s 段", "DPI 第 %s 段"},
    {TextId::kReportRateName, "%s Hz", "%s Hz", "%s Hz"},
    {TextId::kDpiLevelName, "DPI of stage %s", "第 %s 段 DPI", "第 %s 段 DPI"},
    {TextId::kLoopColorName, "Loop Color %s", "循环色 %s", "迴圈色 %s"},
    {TextId::kLoopColorSwatchName, "Choose loop color %s...", "选择循环色 %s...", "選擇迴圈色 %s..."},
    {TextId::kLedSquareName, "LED %s", "LED %s", "LED %s"},
    {TextId::kSkinsButton, "Skins", "皮肤", "皮膚"},
    {TextId::kMinimizeButton, "Minimize", "最小化", "最小化"},
    {TextId::kCloseButton, "Close", "关闭", "關閉"},
    {TextId::kMouseSpeed, "Mouse Speed", "鼠标移动速度", "滑鼠移動速度"},
    {TextId::kScrollingSpeed, "Scrolling Speed", "鼠标滚动速度", "滑鼠滾動速度"},
    {TextId::kDoubleClickSpeed, "Double-Click Speed", "鼠标双击速度", "滑鼠雙擊速度"},
    {TextId::kMacroSetting, "Macro Setting", "宏设置", "巨集設置"},
    {TextId::kSelectMacro, "Select Macro", "选择宏", "選擇巨集"},
    {TextId::kKeyPressSequence, "Key Press Sequence", "按键序列", "按鍵序列"},
    {TextId::kRecordOption, "Record Option", "录制选项", "錄製選項"},
    {TextId::kEnhancePointerPrecision, "Enhance Pointer Precision", "提高指针准确度", "提高指針準確度"},
    {TextId::kScrollOneScreen, "Scroll One Screen", "一次滚动一个屏幕", "一次滾動一個螢幕"},
    {TextId::kPointerDefault, "Default", "恢复默认", "恢復默認"},
    {TextId::kMacroName, "Macro Name", "宏名称", "巨集名稱"},
    {TextId::kStartRecording, "Start Recording", "开始录制", "開始錄製"},
    {TextId::kStopRecording, "Stop Recording", "停止录制", "停止錄製"},
    {TextId::kLoopTimes, "Loop Times", "循环次数", "迴圈次數"},
    {TextId::kInsertMouseEvent, "Insert A Mouse Event", "插入一个鼠标事件", "插入一個滑鼠事件"},
    {TextId::kNew, "New", "新建", "新建"},
    {TextId::kDelete, "Delete", "删除", "刪除"},
    {TextId::kConfirm, "Confirm", "确认", "確認"},
    {TextId::kMacroNameBlank, "Macro name is blank", "宏名称为空", "巨集名稱為空"},
    {TextId::kMacroNameExists, "Macro name already exists", "宏名称已经存在", "巨集名稱已經存在"},
    {TextId::kCtrlBreakStopsRecording, "Press Ctrl+Break key to stop recording", "按Ctrl+Break可以停止录制", "按Ctrl+Break可以停止錄製"},
    {TextId::kNotRecording, "It doesn’t start recording, unnecessary to press Stop key!", "没有开始录制,点击停止录制按钮没有意义！", "沒有開始錄製，點擊停止錄製按鈕沒有意義！"},
    {TextId::kSettingsNotRead, "Vortal did not finish starting and has not read its settings, so nothing was sent to the mouse and nothing was saved.\n\nExit Vortal from its tray icon and start it again.", "Vortal 未能完成启动，尚未读取设置，因此没有向鼠标发送任何内容，也没有保存任何内容。\n\n请从托盘图标退出 Vortal，然后重新启动。", "Vortal 未能完成啟動，尚未讀取設定，因此沒有向滑鼠傳送任何內容，也沒有儲存任何內容。\n\n請從系統匣圖示結束 Vortal，然後重新啟動。"},
    {TextId::kSettingsMissing, "The settings file was not found:\n%s\n\nNothing was sent to the mouse and nothing was saved. Put the config.bin delivered with Vortal into that folder, then start Vortal again.", "找不到设置文件：\n%s\n\n没有向鼠标发送任何内容，也没有保存任何内容。请将 Vortal 随附的 config.bin 放入该文件夹，然后重新启动 Vortal。", "找不到設定檔：\n%s\n\n沒有向滑鼠傳送任何內容，也沒有儲存任何內容。請將 Vortal 隨附的 config.bin 放入該資料夾，然後重新啟動 Vortal。"},
    {TextId::kSettingsDamaged, "The settings file is damaged (a settings file is exactly 2022 bytes long):\n%s\n\nNothing was sent to the mouse and nothing was saved; the file was left as it is. Replace it with the config.bin delivered with Vortal, then start Vortal again.", "设置文件已损坏（设置文件的大小应正好为 2022 字节）：\n%s\n\n没有向鼠标发送任何内容，也没有保存任何内容；该文件保持原样。请用 Vortal 随附的 config.bin 替换它，然后重新启动 Vortal。", "設定檔已損壞（設定檔的大小應正好為 2022 位元組）：\n%s\n\n沒有向滑鼠傳送任何內容，也沒有儲存任何內容；該檔案保持原樣。請用 Vortal 隨附的 config.bin 取代它，然後重新啟動 Vortal。"},
    {TextId::kSettingsUnreadable, "The settings file could not be read:\n%s\n\nNothing was sent to the mouse and nothing was saved. Make sure it is a file you may read and that no other program holds it, then start Vortal again.", "无法读取设置文件：\n%s\n\n没有向鼠标发送任何内容，也没有保存任何内容。请确认它是您有权读取的文件，且没有被其他程序占用，然后重新启动 Vortal。", "無法讀取設定檔：\n%s\n\n沒有向滑鼠傳送任何內容，也沒有儲存任何內容。請確認它是您有權讀取的檔案，且沒有被其他程式佔用，然後重新啟動 Vortal。"},
    {TextId::kPaneTextsNotSaved, "The button names could not be saved in:\n%s\n\nThe mouse and config.bin have the new settings, but after a restart the buttons would show their old names. Make the file writable and click Apply again.", "无法将按键名称保存到：\n%s\n\n鼠标和 config.bin 已使用新设置，但重新启动后按键将显示旧名称。请使该文件可写，然后再次点击“应用”。", "無法將按鍵名稱儲存到：\n%s\n\n滑鼠和 config.bin 已使用新設定，但重新啟動後按鍵將顯示舊名稱。請使該檔案可寫入，然後再次點擊「應用」。"},
    {TextId::kMacroNameInvalid, "Macro name cannot contain \"]\"", "宏名称不能包含“]”", "巨集名稱不能包含「]」"},
    {TextId::kMacroNameTooLong, "Macro name is too long: a macro name has at most 31 characters.", "宏名称太长：宏名称最多 31 个字符。", "巨集名稱太長：巨集名稱最多 31 個字元。"},
    {TextId::kMacroTooLongForMouse, "This macro is too long for the mouse: a macro holds at most 126 bytes of events (31 key strokes with short delays). Nothing was saved; remove some events and confirm again.", "此宏对鼠标来说太长：一个宏最多容纳 126 字节的事件（约 31 次按键加短延时）。没有保存任何内容；请删除一些事件后再次确认。", "此巨集對滑鼠來說太長：一個巨集最多容納 126 位元組的事件（約 31 次按鍵加短延遲）。沒有儲存任何內容；請刪除一些事件後再次確認。"},
    {TextId::kMacroNotSaved, "The macro could not be saved: record.ini cannot be written.", "无法保存宏：无法写入 record.ini。", "無法儲存巨集：無法寫入 record.ini。"},
    {TextId::kMacroNotDeleted, "The macro could not be deleted: record.ini cannot be written.", "无法删除宏：无法写入 record.ini。", "無法刪除巨集：無法寫入 record.ini。"},
    {TextId::kMacrosCut, "These macros are too long for the mouse; their last events are left out: ", "以下宏对鼠标来说太长，其最后的事件被省略：", "以下巨集對滑鼠來說太長，其最後的事件被省略："},
    {TextId::kMacrosDropped, "The mouse holds 12 macros; these are not stored in it: ", "鼠标最多存储 12 个宏，以下宏未存入鼠标：", "滑鼠最多儲存 12 個巨集，以下巨集未存入滑鼠："},
    {TextId::kSkinChoiceNotSaved, "The skin choice could not be saved in str.ini.", "无法将皮肤选择保存到 str.ini。", "無法將皮膚選擇儲存到 str.ini。"},
    {TextId::kSettingsNotExported, "The settings could not be exported to:\n%s\n\nChoose a folder you may write to and export again.", "无法将设置导出到：\n%s\n\n请选择一个您有权写入的文件夹，然后再次导出。", "無法將設定匯出到：\n%s\n\n請選擇一個您有權寫入的資料夾，然後再次匯出。"},
    {TextId::kSettingsNotImported, "The settings were not imported; nothing was changed.", "设置未导入，没有更改任何内容。", "設定未匯入，沒有變更任何內容。"},
    {TextId::kProfileMacrosNotStored, "The settings were not imported: record.ini cannot be written. Nothing was changed.", "设置未导入：无法写入 record.ini。没有更改任何内容。", "設定未匯入：無法寫入 record.ini。沒有變更任何內容。"},
    {TextId::kSettingsApplied, "The settings are in the mouse.", "设置已写入鼠标。", "設定已寫入滑鼠。"},
    {TextId::kSettingsNotApplied, "The mouse did not take all of the settings: %s.\n\nconfig.bin holds them. Click Apply again once the mouse is plugged in.", "鼠标没有接收全部设置：%s。\n\nconfig.bin 已保存这些设置。请在鼠标插好后再次点击“应用”。", "滑鼠沒有接收全部設定：%s。\n\nconfig.bin 已儲存這些設定。請在滑鼠插好後再次點擊「應用」。"},
    {TextId::kMouseDidNotAnswer, "it stopped answering", "鼠标停止了响应", "滑鼠停止了回應"},
    {TextId::kSensorNotTold, "it did not tell which sensor it has, so nothing was sent", "鼠标没有报告其传感器型号，因此没有发送任何内容", "滑鼠沒有回報其感測器型號，因此沒有傳送任何內容"},
    {TextId::kMacroSlotReadBackWrong, "macro slot %s came back different", "宏槽 %s 读回的内容与写入的不同", "巨集槽 %s 讀回的內容與寫入的不同"},
    {TextId::kMacroSlotsReadBackWrong, "macro slots %s came back different", "宏槽 %s 读回的内容与写入的不同", "巨集槽 %s 讀回的內容與寫入的不同"},
    {TextId::kSkinSection, "Setting-EN", "Setting-CHS", "Setting-CHT"},
};

constexpr bool RowsFollowTheIds() {
  for (std::size_t i = 0; i < std::size(kTextTable); ++i) {
    if (static_cast<std::size_t>(kTextTable[i].id) != i) return false;
  }
  return std::size(kTextTable) == kTextCount;
}
static_assert(RowsFollowTheIds(), "one row per text id, in id order");

struct FontRow {
  Language language;
  bool onlyOnWindows62;
  LanguageFonts fonts;
};

// First matching row wins: Simplified Chinese on Windows 6.2 before the others.
constexpr FontRow kFontTable[] = {
    {Language::kSimplifiedChinese, true, {{"黑体", 13, 400}, {"黑体", 18, 700}}},
    {Language::kSimplifiedChinese, false, {{"宋体", 13, 400}, {"宋体", 18, 700}}},
    {Language::kTraditionalChinese, false, {{"黑体", 13, 400}, {"黑体", 18, 700}}},
    {Language::kEnglish, false, {{"Arial", 14, 400}, {"Tahoma", 18, 700}}},
};

struct BalloonRow {
  int event;
  std::int64_t value;  // ignored for kEventMouseMissing
  BalloonSpec spec;
};

constexpr BalloonSpec Info(TextId text, BalloonSuffix suffix = BalloonSuffix::kNone,
                           int dpiEntry = 0) {
  return {text, kBalloonInfoTitle, kBalloonInfoTimeoutMs, suffix, dpiEntry};
}

constexpr BalloonRow kBalloonTable[] = {
    {kEventReportRate, 1, Info(TextId::kReportRate1000)},
    {kEventReportRate, 2, Info(TextId::kReportRate500)},
    {kEventReportRate, 4, Info(TextId::kReportRate250)},
    {kEventReportRate, 8, Info(TextId::kReportRate125)},
    {kEventDpiStage, 1, Info(TextId::kDpiStage1, BalloonSuffix::kDpiLabel, 0)},
    {kEventDpiStage, 2, Info(TextId::kDpiStage2, BalloonSuffix::kDpiLabel, 1)},
    {kEventDpiStage, 3, Info(TextId::kDpiStage3, BalloonSuffix::kDpiLabel, 2)},
    {kEventDpiStage, 4, Info(TextId::kDpiStage4, BalloonSuffix::kDpiLabel, 3)},
    {kEventKeyMatrix, 1, Info(TextId::kKeyMatrix1)},
    {kEventKeyMatrix, 2, Info(TextId::kKeyMatrix2)},
};

}  // namespace

Language LanguageFromLangId(std::uint32_t langId) {
  switch (langId) {
    case kLangIdSimplifiedChinese:
      return Language::kSimplifiedChinese;
    case kLangIdTraditionalChinese:
      return Language::kTraditionalChinese;
    default:
      return Language::kEnglish;
  }
}

std::string_view LocalizedText(Language language, TextId id) {
  const auto index = static_cast<std::size_t>(id);
  if (index >= std::size(kTextTable)) return {};
  const TextRow& row = kTextTable[index];
  switch (language) {
    case Language::kSimplifiedChinese:
      return row.simplified;
    case Language::kTraditionalChinese:
      return row.traditional;
    case Language::kEnglish:
      break;
  }
  return row.english;
}

std::string FormatText(std::string_view pattern, std::string_view value) {
  std::string text(pattern);
  if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, value);
  return text;
}

LocalizedTexts LoadLocalizedTexts(std::uint32_t langId) {
  return LocalizedTexts(LanguageFromLangId(langId));
}

LanguageFonts FontsForLanguage(Language language, unsigned majorVersion, unsigned minorVersion) {
  const bool windows62 = majorVersion == 6 && minorVersion == 2;
  for (const FontRow& row : kFontTable) {
    if (row.language == language && (!row.onlyOnWindows62 || windows62)) return row.fonts;
  }
  return kFontTable[std::size(kFontTable) - 1].fonts;
}

std::optional<BalloonSpec> BalloonForEvent(std::int64_t event, std::int64_t value) {
  if (event == kEventMouseMissing) {
    return BalloonSpec{TextId::kMouseNotDetected, kBalloonWarningTitle, kBalloonWarningTimeoutMs,
                       BalloonSuffix::kNone, 0};
  }
  if (event == kEventMacroKey) {
    if (value == 0) return std::nullopt;
    return Info(TextId::kSwitchToMacroKey, BalloonSuffix::kNumber);
  }
  for (const BalloonRow& row : kBalloonTable) {
    if (row.event == event && row.value == value) return row.spec;
  }
  return std::nullopt;
}

std::optional<Balloon> BuildBalloon(const LocalizedTexts& texts, std::int64_t event,
                                    std::int64_t value,
                                    const std::function<std::string(int dpiEntry)>& dpiLabel) {
  const std::optional<BalloonSpec> spec = BalloonForEvent(event, value);
  if (!spec) return std::nullopt;
  Balloon balloon{std::string(texts[spec->text]), spec->title, spec->timeoutMs};
  switch (spec->suffix) {
    case BalloonSuffix::kDpiLabel:
      if (dpiLabel) balloon.text += dpiLabel(spec->dpiEntry);
      break;
    case BalloonSuffix::kNumber:
      balloon.text += std::to_string(value);
      break;
    case BalloonSuffix::kNone:
      break;
  }
  return balloon;
}

}  // namespace vortal
