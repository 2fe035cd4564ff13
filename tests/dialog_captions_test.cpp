#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_hosts.h"
#include "ui/dialogs/combo_dialog.h"
#include "ui/dialogs/delay_dialog.h"
#include "ui/dialogs/fire_key_dialog.h"
#include "ui/dialogs/function_dialogs.h"
#include "ui/dialogs/macro_dialog.h"
#include "ui/dialogs/single_dialog.h"
#include "ui/dialogs/skins_dialog.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

// The user's text colour, which the captions and titles must not take.
constexpr Color kUserColor{10, 200, 30};

SubDialogLook LookIn(Language language) { return {"/skins/Default", kUserColor, language}; }

// The text lines of one full paint, and the colours they were drawn in.
struct Painted {
  std::vector<std::string> texts;
  std::vector<Color> colors;
};

Painted PaintOnce(SubDialogFrame& dialog) {
  FakeSubDialogHost host;
  EXPECT_TRUE(host.Open(dialog));
  host.textColors.clear();
  dialog.Paint();
  Painted painted;
  EXPECT_EQ(host.redraws.size(), 1u);
  if (host.redraws.empty()) return painted;
  for (const std::string& line : host.redraws.back()) {
    if (line.rfind("TEXT ", 0) == 0) painted.texts.push_back(line);
  }
  painted.colors = host.textColors;
  return painted;
}

TEST(DialogCaptions, ComboKeyCaptionsAndHelpInTheUsersLanguage) {
  struct Case {
    Language language;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {Language::kEnglish,
       {"TEXT left Modifier 50,53,170,67", "TEXT left First key 50,103,170,117",
        "TEXT left Second key 50,153,170,167",
        "TEXT left Pick a modifier from the list. 176,71,384,85",
        "TEXT left Click a key box, then press the key. 176,119,384,133",
        "TEXT left A second key is optional. 176,169,384,183"}},
      {Language::kSimplifiedChinese,
       {"TEXT left 修饰键 50,53,170,67", "TEXT left 第一个键 50,103,170,117",
        "TEXT left 第二个键 50,153,170,167", "TEXT left 从列表中选择一个修饰键。 176,71,384,85",
        "TEXT left 点击按键框，再按下要设置的键。 176,119,384,133",
        "TEXT left 第二个键可以不设置。 176,169,384,183"}},
      {Language::kTraditionalChinese,
       {"TEXT left 修飾鍵 50,53,170,67", "TEXT left 第一個鍵 50,103,170,117",
        "TEXT left 第二個鍵 50,153,170,167", "TEXT left 從清單中選擇一個修飾鍵。 176,71,384,85",
        "TEXT left 點擊按鍵框，再按下要設定的鍵。 176,119,384,133",
        "TEXT left 第二個鍵可以不設定。 176,169,384,183"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.language));
    CComboDialog dialog(LookIn(c.language));
    const Painted painted = PaintOnce(dialog);
    // Title, OK, Cancel, then the dialog's own texts.
    ASSERT_EQ(painted.texts.size(), 3 + c.texts.size());
    const std::vector<std::string> own(painted.texts.begin() + 3, painted.texts.end());
    EXPECT_EQ(own, c.texts);
    for (std::size_t i = 3; i < painted.colors.size(); ++i) {
      EXPECT_EQ(painted.colors[i], kDialogCaptionColor) << painted.texts[i];
    }
  }
}

TEST(DialogCaptions, CaptionsStayClearOfTheFieldsAndTheWindowEdge) {
  const Rect fields[] = {kComboModifierDropDown.field, kComboFirstKeyBox, kComboSecondKeyBox};
  for (const ComboKeyLabel& label : kComboKeyLabels) {
    SCOPED_TRACE(std::string(label.text.english));
    for (const Rect& field : fields) {
      const bool overlap = label.box.left < field.right && field.left < label.box.right &&
                           label.box.top < field.bottom && field.top < label.box.bottom;
      EXPECT_FALSE(overlap);
    }
    EXPECT_LE(label.box.right, 392 - 6);
    EXPECT_GE(label.box.top, 33);  // under the title band's rule
    EXPECT_LE(label.box.bottom, kSubDialogOkBox.top);
  }
}

TEST(DialogCaptions, EveryDialogWritesItsTitleFirstInTheBand) {
  using Make = std::function<std::unique_ptr<SubDialogFrame>(SubDialogLook)>;
  struct Case {
    const char* name;
    Make make;
    std::string english, simplified, traditional;
    int left;
  };
  const std::vector<Case> cases = {
      {"single", [](SubDialogLook l) { return std::make_unique<CSingleDialog>(l); },
       "SINGLE KEY", "单键", "單鍵", 36},
      {"combo", [](SubDialogLook l) { return std::make_unique<CComboDialog>(l); },
       "COMBO KEY", "组合键", "複合鍵", 40},
      {"fire", [](SubDialogLook l) { return std::make_unique<CFireKeyDialog>(l); },
       "FIRE KEY", "火力键", "火力鍵", 34},
      {"media", [](SubDialogLook l) { return std::make_unique<CMediaDialog>(l); },
       "MULTIMEDIA", "多媒体", "多媒體", 34},
      {"windows", [](SubDialogLook l) { return std::make_unique<CWindowsDialog>(l); },
       "WINDOWS FUNCTION", "Windows 功能", "Windows 功能", 36},
      {"macro",
       [](SubDialogLook l) { return std::make_unique<CMacroDialog>(l, "/no/such/record.ini"); },
       "MACRO KEY", "宏按键", "巨集按鍵", 36},
      {"delay", [](SubDialogLook l) { return std::make_unique<CDelayTimeDialog>(l); },
       "DELAY TIME", "延时", "延時", 34},
      {"skins",
       [](SubDialogLook l) {
         return std::make_unique<CSkinsDialog>(l, "/no/such/Skins", "Default");
       },
       "SKINS", "皮肤", "皮膚", 34},
  };
  for (const Case& c : cases) {
    for (const auto& [language, title] :
         {std::pair{Language::kEnglish, c.english},
          std::pair{Language::kSimplifiedChinese, c.simplified},
          std::pair{Language::kTraditionalChinese, c.traditional}}) {
      SCOPED_TRACE(std::string(c.name) + " " + title);
      std::unique_ptr<SubDialogFrame> dialog = c.make(LookIn(language));
      const Painted painted = PaintOnce(*dialog);
      ASSERT_FALSE(painted.texts.empty());
      EXPECT_EQ(painted.texts.front(), "TEXT left dialog-title " + title + " " +
                                           std::to_string(c.left) + ",8,346,25");
      ASSERT_FALSE(painted.colors.empty());
      EXPECT_EQ(painted.colors.front(), kDialogTitleColor);
    }
  }
}

}  // namespace
}  // namespace vortal
