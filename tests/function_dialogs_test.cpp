#include "ui/dialogs/function_dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fake_hosts.h"

namespace vortal {
namespace {

using testing::FakeSubDialogHost;

constexpr Point kOk{200, 260};
constexpr Point kField{140, 135};  // beyond the text, still the field

std::unique_ptr<CFunctionDialog> Make(bool windows, Language language) {
  const SubDialogLook look{"/skins/Default", {10, 20, 30}, language};
  if (windows) return std::make_unique<CWindowsDialog>(look);
  return std::make_unique<CMediaDialog>(look);
}

TEST(FunctionDialogs, ResultsByChoiceAndLanguage) {
  struct Case {
    const char* name;
    bool windows;
    Language language;
    int choice;  // -1: OK without opening the list
    int index;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"media default", false, Language::kEnglish, -1, 0, "Next"},
      {"media Vol-", false, Language::kEnglish, 6, 6, "Vol-"},
      {"media Chinese mute", false, Language::kSimplifiedChinese, 4, 4, "静音"},
      {"media Chinese default", false, Language::kSimplifiedChinese, -1, 0, "下一首"},
      {"media Traditional", false, Language::kTraditionalChinese, 3, 3, "播放/暫停"},
      {"windows default", true, Language::kEnglish, -1, 0, "Multimedia Player"},
      {"windows Calculator", true, Language::kEnglish, 2, 2, "Calculator"},
      {"windows favourites", true, Language::kEnglish, 10, 10, "Browser-My Favorites"},
      {"windows Traditional favourites", true, Language::kTraditionalChinese, 10, 10,
       "瀏覽器-我的最愛"},
      {"windows Chinese back", true, Language::kSimplifiedChinese, 6, 6, "浏览器-后退"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSubDialogHost host;
    auto dialog = Make(c.windows, c.language);
    ASSERT_TRUE(host.Open(*dialog));
    const int fieldId = c.windows ? kWindowsFieldId : kMediaFieldId;
    const int listId = c.windows ? kWindowsListId : kMediaListId;
    EXPECT_EQ(host.calls.front(),
              c.windows ? "BACKGROUND /skins/Default/windows-key.png"
                        : "BACKGROUND /skins/Default/media-key.png");
    const auto& field = host.controls.children.at(fieldId);
    EXPECT_EQ(field.kind, ChildKind::kLeftStatic);
    EXPECT_EQ(field.box, (Rect{43, 129, 135, 143}));
    if (c.choice >= 0) {
      dialog->OnLeftButtonDown(kField);
      ASSERT_TRUE(host.ListExists(listId));
      EXPECT_EQ(host.lists.at(listId).size(), c.windows ? 11u : 7u);
      EXPECT_EQ(host.listAreas.at(listId),
                c.windows ? (Rect{43, 145, 151, 305}) : (Rect{43, 145, 151, 265}));
      EXPECT_EQ(host.lists.at(listId)[c.choice], c.text);
      dialog->OnListChoice(c.choice);
      EXPECT_FALSE(host.ListExists(listId));
    }
    EXPECT_EQ(host.Text(fieldId), c.text);
    dialog->OnLeftButtonDown(kOk);
    EXPECT_EQ(host.ended, std::vector<DialogResult>{DialogResult::kOk});
    EXPECT_EQ(dialog->chosenIndex(), c.index);
    EXPECT_EQ(dialog->chosenText(), c.text);
  }
}

TEST(FunctionDialogs, ClosingTheListWithoutAChoiceKeepsTheResult) {
  for (bool windows : {false, true}) {
    FakeSubDialogHost host;
    auto dialog = Make(windows, Language::kEnglish);
    ASSERT_TRUE(host.Open(*dialog));
    dialog->OnLeftButtonDown(kField);
    dialog->OnListChoice(3);
    dialog->OnLeftButtonDown(kField);
    ASSERT_TRUE(dialog->listOpen());
    dialog->OnLeftButtonDown({300, 100});  // beside list and field
    EXPECT_FALSE(dialog->listOpen());
    dialog->OnListChoice(-1);  // a late notification without a selection
    EXPECT_EQ(dialog->chosenIndex(), 3);
    EXPECT_EQ(dialog->chosenText(), windows ? "My Computer" : "Play/Pause");
    EXPECT_TRUE(host.ended.empty());
  }
}

}  // namespace
}  // namespace vortal
