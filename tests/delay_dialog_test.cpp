#include "ui/dialogs/delay_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/fake_hosts.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kCancel{300, 260};
constexpr Point kClose{360, 10};

TEST(DelayDialogLine, TurnsTheInputIntoADelayLine) {
  struct Case {
    std::string typed;
    std::int32_t value;
    std::string line;
  };
  const Case cases[] = {
      {"", 0, " ms"},          {"10000", 10000, "10000 ms"}, {"10001", 10001, "50 ms"},
      {"0100", 100, "0100 ms"}, {"49", 49, "49 ms"},         {"-1", -1, "50 ms"},  // unsigned: huge
      {"0", 0, "0 ms"},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(DelayLineFromInput(test.typed, test.value), test.line) << test.typed;
  }
}

TEST(DelayDialog, KeepsWhatWasTypedAndEndsAsClicked) {
  struct Case {
    const char* name;
    std::optional<std::string> typed;
    Point click;
    DialogResult result;
    std::string text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"untouched OK", std::nullopt, kOk, DialogResult::kOk, "", 0},
      {"typed OK", "250", kOk, DialogResult::kOk, "250", 250},
      {"letters are not taken", "2a5", kOk, DialogResult::kOk, "25", 25},
      {"nine digits at most", "123456789012", kOk, DialogResult::kOk, "123456789", 123456789},
      {"cancel", "250", kCancel, DialogResult::kCancel, "250", 250},
      {"close", "250", kClose, DialogResult::kCancel, "250", 250},
      {"no input is checked", "70000", kOk, DialogResult::kOk, "70000", 70000},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FakeSubDialogHost host;
    CDelayTimeDialog dialog({"/skins/Default", {1, 2, 3}, Language::kEnglish});
    EXPECT_EQ(testing::RunDialogWithInput(dialog, host, kDelayFieldId, test.typed, test.click),
              test.result);
    EXPECT_EQ(dialog.typedText(), test.text);
    EXPECT_EQ(dialog.typedValue(), test.value);
    ASSERT_TRUE(host.controls.ChildExists(kDelayFieldId));
    const auto& field = host.controls.children[kDelayFieldId];
    EXPECT_EQ(field.kind, ChildKind::kBorderedDigitsEdit);
    EXPECT_EQ(field.box, (Rect{74, 129, 150, 143}));
    EXPECT_EQ(field.text, test.text);  // it starts empty
    EXPECT_EQ(host.controls.looks[kDelayFieldId].text, (Color{255, 255, 255}));
    EXPECT_EQ(host.controls.looks[kDelayFieldId].back, (Color{0x28, 0x28, 0x28}));
    EXPECT_EQ(host.controls.focused, kDelayFieldId);  // typing goes to the field at once
  }
}

TEST(DelayDialog, DrawsItsTextsInTheSystemLanguage) {
  struct Case {
    Language language;
    std::string prompt;
    std::string range;
  };
  const Case cases[] = {
      {Language::kEnglish, "Please enter a delay", "(value range 50-10000)"},
      {Language::kSimplifiedChinese, "请输入一个延时", "(数值范围 50-10000)"},
      {Language::kTraditionalChinese, "請輸入一個延時", "(數值範圍 50-10000)"},
  };
  for (const Case& test : cases) {
    FakeSubDialogHost host;
    CDelayTimeDialog dialog({"/skins/Default", {1, 2, 3}, test.language});
    ASSERT_TRUE(dialog.Initialize(host));
    dialog.Paint();
    ASSERT_EQ(host.redraws.size(), 1u);
    const auto& lines = host.redraws[0];
    auto has = [&](const std::string& line) {
      return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("TEXT center " + test.prompt + " 14,89,210,109"));
    EXPECT_TRUE(has("TEXT center " + test.range + " 14,109,210,129"));
    EXPECT_EQ(host.calls[0], "BACKGROUND /skins/Default/delay-time.png");
  }
}

TEST(DelayDialog, AMissingBackgroundIsToldAndCancels) {
  FakeSubDialogHost host;
  host.backgroundLoads = false;
  CDelayTimeDialog dialog({"/skins/Gone", {1, 2, 3}, Language::kEnglish});
  EXPECT_FALSE(dialog.Initialize(host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            (std::pair<std::string, std::string>{"error", "DelayTime Dialog Load background image failed!!!"}));
  EXPECT_FALSE(host.controls.ChildExists(kDelayFieldId));
  EXPECT_EQ(dialog.result(), DialogResult::kCancel);
}

}  // namespace
}  // namespace vortal
