#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/text_encoding.h"
#include "texts/texts.h"

namespace vortal {
namespace {

constexpr Language kAllLanguages[] = {Language::kEnglish, Language::kSimplifiedChinese,
                                      Language::kTraditionalChinese};

TextId IdAt(std::size_t i) { return static_cast<TextId>(i); }

TEST(Texts, LanguageFollowsTheSystemLanguageId) {
  struct Case {
    std::uint32_t langId;
    Language language;
  } cases[] = {
      {2052, Language::kSimplifiedChinese},  {1028, Language::kTraditionalChinese},
      {3076, Language::kEnglish},            {4100, Language::kEnglish},
      {1033, Language::kEnglish},            {0, Language::kEnglish},
      {0x10804, Language::kEnglish},         {0x0004, Language::kEnglish},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageFromLangId(c.langId), c.language) << c.langId;
    EXPECT_EQ(LoadLocalizedTexts(c.langId).language(), c.language) << c.langId;
  }
}

TEST(Texts, EntriesAcrossTheTableInAllLanguages) {
  struct Case {
    TextId id;
    const char* english;
    const char* simplified;
    const char* traditional;
  } cases[] = {
      {TextId::kBasicSettings, "Basic Settings", "基本设置", "基本設置"},
      {TextId::kCancel, "Cancel", "取消", "取消"},
      {TextId::kLeftClick, "Left Click", "左键", "左鍵"},
      {TextId::kComboKey, "Combo Key", "组合键", "複合鍵"},
      {TextId::kMacroKey, "Macro Key", "宏", "巨集"},
      {TextId::kLeftKeyMustBeSelected, "Left key must be selected!", "左键功能必须选择！",
       "左鍵功能必須選擇！"},
      {TextId::kKeyDefault, "Default", "按键恢复", "按鍵恢復"},
      {TextId::kPointerDefault, "Default", "恢复默认", "恢復默認"},
      {TextId::kDpiSetting, "DPI Setting", "DPI设置", "DPI設置"},
      {TextId::kAuxiliaryLedSetting, "Auxiliary LED Setting", "辅灯设置", "輔燈設置"},
      {TextId::kRgbEffectTitle, "RGB Effect", "RGB显示特效", "RGB顯示特效"},
      {TextId::kRgbEffectMode, "RGB Effect", "RGB效果", "RGB效果"},
      {TextId::kSpeed, "Speed", "速度:请调整灯光显示速度", "速度"},
      {TextId::kBrightness, "Brightness", "亮度:请调整灯光显示亮度", "亮度"},
      {TextId::kDpiSelfColorLedSetting, "DPI Self-Color LED Setting ", "DPI单色灯设置",
       "DPI單色燈設置"},
      {TextId::kNonDisplay, "Non-Disolay", "关闭", "關閉"},
      {TextId::kFixedColor, "Fixed Color", "单色", "單色"},
      {TextId::kReportRate1000, "Switch report rate into 1000HZ", "报告率切换到1000HZ",
       "報告率切換到1000HZ"},
      {TextId::kDpiStage1, "Switch DPI into the first stage ", "DPI切换到第一段",
       "DPI切換到第一段"},
      {TextId::kKeyMatrix4, "Switch to key matrix 4", "切换到按键组4", "切換到按鍵群組4"},
      {TextId::kMouseNotDetected, "The system did not detect the gaming mouse!",
       "系统没有检测到游戏鼠标！", "系統沒有檢測到遊戲滑鼠！"},
      {TextId::kMouseDetected, "The system detect the gaming mouse.", "系统检测到游戏鼠标。",
       "系統檢測到遊戲滑鼠。"},
      {TextId::kMouseSpeed, "Mouse Speed", "鼠标移动速度", "滑鼠移動速度"},
      {TextId::kNotRecording, "It doesn’t start recording, unnecessary to press Stop key!",
       "没有开始录制,点击停止录制按钮没有意义！", "沒有開始錄製，點擊停止錄製按鈕沒有意義！"},
      {TextId::kAboutVortal, "About Vortal", "关于 Vortal", "關於 Vortal"},
      {TextId::kReleasedUnderMit, "Released under the MIT License.", "依据 MIT 许可证发布。",
       "依據 MIT 授權條款發佈。"},
      {TextId::kSkinSection, "Setting-EN", "Setting-CHS", "Setting-CHT"},
  };
  for (const Case& c : cases) {
    const auto i = static_cast<int>(c.id);
    EXPECT_EQ(LocalizedText(Language::kEnglish, c.id), c.english) << i;
    EXPECT_EQ(LocalizedText(Language::kSimplifiedChinese, c.id), c.simplified) << i;
    EXPECT_EQ(LocalizedText(Language::kTraditionalChinese, c.id), c.traditional) << i;
    EXPECT_EQ(LoadLocalizedTexts(1028)[c.id], c.traditional) << i;
  }
}

TEST(Texts, EveryEntryExistsInEveryLanguage) {
  for (Language language : kAllLanguages) {
    for (std::size_t i = 0; i < kTextCount; ++i) {
      const std::string_view text = LocalizedText(language, IdAt(i));
      EXPECT_FALSE(text.empty()) << i;
      EXPECT_TRUE(IsValidUtf8(text)) << i;
    }
  }
  EXPECT_TRUE(LocalizedText(Language::kEnglish, TextId::kCount).empty());
}

TEST(Texts, OnlyTheKnownEntriesShareTheirEnglishText) {
  // A row pasted twice or a shifted row shows up as an unexpected duplicate.
  std::map<std::string_view, std::vector<TextId>> byEnglish;
  for (std::size_t i = 0; i < kTextCount; ++i) {
    byEnglish[LocalizedText(Language::kEnglish, IdAt(i))].push_back(IdAt(i));
  }
  std::map<std::string_view, std::vector<TextId>> shared;
  for (const auto& [text, ids] : byEnglish) {
    if (ids.size() > 1) shared[text] = ids;
  }
  const std::map<std::string_view, std::vector<TextId>> expected = {
      {"Default", {TextId::kKeyDefault, TextId::kPointerDefault}},
      {"RGB Effect", {TextId::kRgbEffectTitle, TextId::kRgbEffectMode}},
  };
  EXPECT_EQ(shared, expected);
  for (const auto& [text, ids] : expected) {
    for (Language language : {Language::kSimplifiedChinese, Language::kTraditionalChinese}) {
      EXPECT_NE(LocalizedText(language, ids[0]), LocalizedText(language, ids[1])) << text;
    }
  }
}

TEST(Texts, TrailingSpacesBelongToSomeEnglishTextsOnly) {
  std::set<TextId> withTrailingSpace;
  for (Language language : kAllLanguages) {
    for (std::size_t i = 0; i < kTextCount; ++i) {
      const std::string_view text = LocalizedText(language, IdAt(i));
      EXPECT_NE(text.front(), ' ') << i;
      if (text.back() == ' ') {
        EXPECT_EQ(language, Language::kEnglish) << i;
        withTrailingSpace.insert(IdAt(i));
      }
    }
  }
  const std::set<TextId> expected = {TextId::kDpiSelfColorLedSetting, TextId::kDpiStage1,
                                     TextId::kDpiStage2, TextId::kDpiStage3, TextId::kDpiStage4,
                                     TextId::kMacrosCut,  // the names follow
                                     TextId::kMacrosDropped};
  EXPECT_EQ(withTrailingSpace, expected);
}

TEST(Texts, FunctionListItems) {
  struct Case {
    int index;
    const char* english;
    const char* traditional;
  } cases[] = {
      {0, "Left Click", "左鍵"},  {6, "DPI Switch", "DPI切換"}, {7, "RGB On/Off", "RGB打開/關閉"},
      {12, "Combo Key", "複合鍵"}, {13, "Macro Key", "巨集"},   {14, "Shift", "Shift"},
      {15, "Key Off", "按鍵關閉"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocalizedText(Language::kEnglish, kFunctionListTexts[c.index]), c.english);
    EXPECT_EQ(LocalizedText(Language::kTraditionalChinese, kFunctionListTexts[c.index]),
              c.traditional);
  }
}

TEST(Texts, FontsByLanguageAndWindowsVersion) {
  struct Case {
    std::uint32_t langId;
    unsigned major;
    unsigned minor;
    const char* normalFace;
    int normalHeight;
    const char* titleFace;
  } cases[] = {
      {2052, 6, 2, "黑体", 13, "黑体"},  {2052, 6, 1, "宋体", 13, "宋体"},
      {2052, 6, 3, "宋体", 13, "宋体"},  {2052, 10, 0, "宋体", 13, "宋体"},
      {2052, 5, 2, "宋体", 13, "宋体"},  {1028, 6, 2, "黑体", 13, "黑体"},
      {1028, 6, 1, "黑体", 13, "黑体"},  {1033, 6, 2, "Arial", 14, "Tahoma"},
      {3076, 6, 1, "Arial", 14, "Tahoma"},
  };
  for (const Case& c : cases) {
    const LanguageFonts fonts = FontsForLanguage(LanguageFromLangId(c.langId), c.major, c.minor);
    const std::string where = std::to_string(c.langId) + " on " + std::to_string(c.major) + "." +
                              std::to_string(c.minor);
    EXPECT_EQ(fonts.normal.faceName, c.normalFace) << where;
    EXPECT_EQ(fonts.normal.height, c.normalHeight) << where;
    EXPECT_EQ(fonts.normal.weight, 400) << where;
    EXPECT_EQ(fonts.title.faceName, c.titleFace) << where;
    EXPECT_EQ(fonts.title.height, 18) << where;
    EXPECT_EQ(fonts.title.weight, 700) << where;
  }
}

std::string LabelOfEntry(int entry) {
  std::string label = "<";
  label += std::to_string(entry);
  label += '>';
  return label;
}

TEST(Texts, BalloonsForDeviceEvents) {
  struct Case {
    std::uint32_t langId;
    std::int64_t event;
    std::int64_t value;
    const char* text;  // nullptr: no balloon
    std::string_view title;
    int timeoutMs;
  } cases[] = {
      {1033, 5, 1, "Switch report rate into 1000HZ", "Info", 5000},
      {1033, 5, 2, "Switch report rate into 500HZ", "Info", 5000},
      {1033, 5, 4, "Switch report rate into 250HZ", "Info", 5000},
      {1033, 5, 8, "Switch report rate into 125HZ", "Info", 5000},
      {1033, 7, 1, "Switch DPI into the first stage <0>", "Info", 5000},
      {1033, 7, 2, "Switch DPI into the second stage <1>", "Info", 5000},
      {1033, 7, 4, "Switch DPI into the fourth stage <3>", "Info", 5000},
      {1033, 8, 1, "Switch to key matrix 1", "Info", 5000},
      {1033, 8, 2, "Switch to key matrix 2", "Info", 5000},
      {1033, 9, 3, "Switch to macro key3", "Info", 5000},
      {1033, 9, 12, "Switch to macro key12", "Info", 5000},
      {1033, 15, 0, "The system did not detect the gaming mouse!", "Warning", 100},
      {1033, 15, 77, "The system did not detect the gaming mouse!", "Warning", 100},
      {2052, 7, 3, "DPI切换到第三段<2>", "Info", 5000},
      {2052, 15, 0, "系统没有检测到游戏鼠标！", "Warning", 100},
      {1028, 9, 5, "切換到巨集5", "Info", 5000},
      {1028, 5, 8, "報告率切換到125HZ", "Info", 5000},
      {1033, 5, 3, nullptr, "", 0},
      {1033, 5, 0, nullptr, "", 0},
      {1033, 5, 16, nullptr, "", 0},
      {1033, 7, 0, nullptr, "", 0},
      {1033, 7, 5, nullptr, "", 0},
      {1033, 8, 3, nullptr, "", 0},
      {1033, 9, 0, nullptr, "", 0},
      {1033, 6, 1, nullptr, "", 0},
      {1033, 0, 0, nullptr, "", 0},
  };
  for (const Case& c : cases) {
    const std::optional<Balloon> balloon =
        BuildBalloon(LoadLocalizedTexts(c.langId), c.event, c.value, LabelOfEntry);
    const std::string where = std::to_string(c.event) + "/" + std::to_string(c.value);
    if (c.text == nullptr) {
      EXPECT_FALSE(balloon.has_value()) << where;
      EXPECT_FALSE(BalloonForEvent(c.event, c.value).has_value()) << where;
      continue;
    }
    ASSERT_TRUE(balloon.has_value()) << where;
    EXPECT_EQ(balloon->text, c.text) << where;
    EXPECT_EQ(balloon->title, c.title) << where;
    EXPECT_EQ(balloon->timeoutMs, c.timeoutMs) << where;
  }
}

TEST(Texts, DpiBalloonWithoutALabelSourceKeepsTheText) {
  const std::optional<Balloon> balloon = BuildBalloon(LocalizedTexts(), 7, 2, nullptr);
  ASSERT_TRUE(balloon.has_value());
  EXPECT_EQ(balloon->text, "Switch DPI into the second stage ");
}

}  // namespace
}  // namespace vortal
