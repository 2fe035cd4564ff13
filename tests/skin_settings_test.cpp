#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "files/text_encoding.h"
#include "files/file_io.h"
#include "support/temp_dir.h"
#include "ui/skin/skin_images.h"
#include "settings/skin_settings.h"

#ifdef _WIN32
#include <windows.h>

#include "files/win32_text.h"
#endif

namespace vortal {
namespace {

using testing::TempDir;

const std::string kProgramDir = "C:\\Games\\Vortal\\";

void WriteUtf16(const std::string& path, const std::string& text) {
  testing::WriteWhole(path, testing::Utf16LeFile(Utf8ToUtf16(text)));
}

PaneTexts NumberedTexts(const std::string& prefix) {
  PaneTexts texts;
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int button = 0; button < kPaneButtonCount; ++button) {
      texts[mode][button] = prefix + (mode == 0 ? "A" : "B") + std::to_string(button + 1);
    }
  }
  return texts;
}

TEST(SkinSettings, PaneTextKeys) {
  struct Case {
    int mode;
    int button;
    const char* key;
  } cases[] = {
      {0, 0, "Item1"},   {0, 1, "Item2"},    {0, 11, "Item12"},  {1, 0, "Item13"},
      {1, 1, "Item23"},  {1, 8, "Item93"},   {1, 9, "Item103"},  {1, 11, "Item123"},
      {0, 12, ""},       {1, -1, ""},        {2, 0, ""},         {-1, 3, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PaneTextKey(c.mode, c.button), c.key) << c.mode << "/" << c.button;
  std::set<std::string> keys;
  for (int mode = 0; mode < kPaneModeCount; ++mode) {
    for (int button = 0; button < kPaneButtonCount; ++button) keys.insert(PaneTextKey(mode, button));
  }
  EXPECT_EQ(keys.size(), 24u);
}

TEST(SkinSettings, ColorBytesAreTheLowByteOfTheNumber) {
  struct Case {
    const char* text;
    int byte;
  } cases[] = {
      {"300", 44}, {"255", 255}, {"256", 0},   {"0", 0},          {"", 0},
      {"abc", 0},  {" 12abc", 12}, {"-1", 255}, {"+7", 7},        {"99999999999", 255},
      {"0x20", 0}, {"  128 ", 128},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorByteFromText(c.text), c.byte) << '"' << c.text << '"';
}

TEST(SkinSettings, MissingOrEmptyFileGivesTheSkinsFolderAndBlack) {
  TempDir dir;
  dir.Write("empty.ini", "");
  dir.Write("other.ini", "[Unrelated]\r\nPath=Elsewhere\r\n");
  for (const char* name : {"missing.ini", "empty.ini", "other.ini"}) {
    const SkinState state =
        SkinStateAtStartup(LoadSkinSettings(dir.File(name), "Setting-EN"), kProgramDir);
    EXPECT_EQ(state.skinFolderPath, kProgramDir + "/Skins/") << name;
    EXPECT_EQ(state.skinName, "") << name;
    EXPECT_EQ(state.textColor, TextColor{}) << name;
    for (const auto& mode : state.paneText) {
      for (const std::string& text : mode) EXPECT_EQ(text, "") << name;
    }
  }
  EXPECT_FALSE(dir.Exists("missing.ini"));  // reading never creates it
}

TEST(SkinSettings, LoadsEachValueFromItsKey) {
  TempDir dir;
  const std::string path = dir.File("str.ini");
  WriteUtf16(path,
             "[Skins]\r\nPath=Dark Blue\r\nRColor=300\r\nGColor= 12\r\nBColor=x\r\n"
             "[Setting-EN]\r\nItem1=Left Click\r\nItem2=Right Click\r\nItem12=Key Off\r\n"
             "Item13=Mode B one\r\nItem23=Mode B two\r\nItem113=Mode B eleven\r\n"
             "Item123=Mode B twelve\r\n"
             "[Setting-CHS]\r\nItem1=左键\r\nItem13=宏-测试\r\n");
  const SkinSettingsValues en = LoadSkinSettings(path, "Setting-EN");
  EXPECT_EQ(en.path, "Dark Blue");
  EXPECT_EQ(en.red, "300");
  EXPECT_EQ(en.green, "12");
  EXPECT_EQ(en.blue, "x");
  struct Case {
    int mode;
    int button;
    const char* text;
  } cases[] = {
      {0, 0, "Left Click"},    {0, 1, "Right Click"},     {0, 2, ""},
      {0, 11, "Key Off"},      {1, 0, "Mode B one"},      {1, 1, "Mode B two"},
      {1, 2, ""},              {1, 10, "Mode B eleven"},  {1, 11, "Mode B twelve"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(en.paneText[c.mode][c.button], c.text) << c.mode << "/" << c.button;
  }

  const SkinSettingsValues chs = LoadSkinSettings(path, "Setting-CHS");
  EXPECT_EQ(chs.paneText[0][0], "左键");
  EXPECT_EQ(chs.paneText[1][0], "宏-测试");
  EXPECT_EQ(chs.paneText[0][1], "");
  EXPECT_EQ(chs.path, "Dark Blue");

  const SkinState state = SkinStateAtStartup(en, kProgramDir);
  EXPECT_EQ(state.skinFolderPath, kProgramDir + "/Skins/Dark Blue");
  EXPECT_EQ(state.skinName, "Dark Blue");
  EXPECT_EQ(state.textColor, (TextColor{44, 12, 0}));
  EXPECT_EQ(state.paneText, en.paneText);
}

TEST(SkinSettings, ValuesAreCutTo1023Characters) {
  struct Case {
    std::string unit;  // one character
    std::size_t length;
    std::size_t expected;
  } cases[] = {
      {"x", 1022, 1022}, {"x", 1023, 1023}, {"x", 1024, 1023}, {"x", 3000, 1023},
      {"键", 1023, 1023}, {"键", 1500, 1023},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("str.ini");
    std::string value;
    for (std::size_t i = 0; i < c.length; ++i) value += c.unit;
    WriteUtf16(path, "[Setting-CHT]\r\nItem5=" + value + "\r\n[Skins]\r\nPath=" + value + "\r\n");
    const SkinSettingsValues values = LoadSkinSettings(path, "Setting-CHT");
    std::string expected;
    for (std::size_t i = 0; i < c.expected; ++i) expected += c.unit;
    EXPECT_EQ(values.paneText[0][4], expected) << c.unit << " x " << c.length;
    EXPECT_EQ(values.path, expected) << c.unit << " x " << c.length;
  }
}

TEST(SkinSettings, PaneTextsRoundTripInEveryLanguageSection) {
  TempDir dir;
  const std::string path = dir.File("str.ini");
  testing::WriteWhole(path, "[Skins]\r\nPath=Default\r\nRColor=255\r\nGColor=128\r\nBColor=0\r\n");
  struct Case {
    const char* section;
    PaneTexts texts;
  } cases[] = {
      {"Setting-EN", NumberedTexts("Fire Key-")},
      {"Setting-CHS", NumberedTexts("火力键-")},
      {"Setting-CHT", NumberedTexts("複合鍵-巨集")},
  };
  cases[1].texts[1][11] = "";  // an empty text stays empty
  cases[2].texts[0][0] = std::string(1023, 'y');
  for (const Case& c : cases) ASSERT_TRUE(SavePaneTexts(path, c.section, c.texts)) << c.section;
  // Each section keeps its own texts, and the skin choice is untouched.
  for (const Case& c : cases) {
    const SkinSettingsValues values = LoadSkinSettings(path, c.section);
    EXPECT_EQ(values.paneText, c.texts) << c.section;
    EXPECT_EQ(values.path, "Default");
    EXPECT_EQ(values.red, "255");
    EXPECT_EQ(values.green, "128");
  }
  // Saving again replaces the texts instead of adding to them.
  const PaneTexts changed = NumberedTexts("Macro Key-");
  ASSERT_TRUE(SavePaneTexts(path, "Setting-CHS", changed));
  EXPECT_EQ(LoadSkinSettings(path, "Setting-CHS").paneText, changed);
  EXPECT_EQ(LoadSkinSettings(path, "Setting-EN").paneText, cases[0].texts);
}

TEST(SkinSettings, SavingCreatesAMissingFile) {
  TempDir dir;
  const std::string path = dir.File("str.ini");
  const PaneTexts texts = NumberedTexts("单键-");
  ASSERT_TRUE(SavePaneTexts(path, "Setting-CHS", texts));
  EXPECT_EQ(LoadSkinSettings(path, "Setting-CHS").paneText, texts);
}

TEST(SkinSettings, AnUnstorableTextLeavesTheFileAsItWas) {
  TempDir dir;
  const std::string path = dir.File("str.ini");
  ASSERT_TRUE(SavePaneTexts(path, "Setting-EN", NumberedTexts("old ")));
  const std::string before = testing::ReadWhole(path);
  PaneTexts texts = NumberedTexts("new ");
  texts[1][6] = "two\r\nlines";
  EXPECT_FALSE(SavePaneTexts(path, "Setting-EN", texts));
  EXPECT_EQ(testing::ReadWhole(path), before);
  EXPECT_EQ(LoadSkinSettings(path, "Setting-EN").paneText, NumberedTexts("old "));
}

TEST(SkinSettings, SkinChoiceIsStoredInDecimalAndReadBack) {
  struct Case {
    const char* name;
    TextColor color;
    const char* red;
    const char* green;
    const char* blue;
  } cases[] = {
      {"Default", {0, 0, 0}, "0", "0", "0"},
      {"Neon Red", {255, 16, 200}, "255", "16", "200"},
      {"暗夜", {1, 128, 9}, "1", "128", "9"},
  };
  TempDir dir;
  const std::string path = dir.File("str.ini");
  ASSERT_TRUE(SavePaneTexts(path, "Setting-EN", NumberedTexts("keep ")));
  for (const Case& c : cases) {
    ASSERT_TRUE(SaveSkinChoice(path, c.name, c.color)) << c.name;
    const SkinSettingsValues values = LoadSkinSettings(path, "Setting-EN");
    EXPECT_EQ(values.path, c.name);
    EXPECT_EQ(values.red, c.red);
    EXPECT_EQ(values.green, c.green);
    EXPECT_EQ(values.blue, c.blue);
    EXPECT_EQ(values.paneText, NumberedTexts("keep "));
    const SkinState state = SkinStateAtStartup(values, kProgramDir);
    EXPECT_EQ(state.textColor, c.color) << c.name;
    EXPECT_EQ(state.skinFolderPath, kProgramDir + "/Skins/" + c.name);
  }
}

#ifdef _WIN32
std::string SystemRead(const std::string& path, const std::string& section, const std::string& key) {
  wchar_t buffer[1024] = {};
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer, 1024,
                           Widen(path).c_str());
  return Narrow(buffer);
}

TEST(SkinSettings, TheSystemReadsWhatIsSavedAndTheOtherWayRound) {
  TempDir dir;
  const std::string ours = dir.File("ours.ini");
  const PaneTexts texts = NumberedTexts("複合鍵-");
  for (const char* section : {"Setting-EN", "Setting-CHS", "Setting-CHT"}) {
    ASSERT_TRUE(SavePaneTexts(ours, section, texts));
    for (int mode = 0; mode < kPaneModeCount; ++mode) {
      for (int button = 0; button < kPaneButtonCount; ++button) {
        EXPECT_EQ(SystemRead(ours, section, PaneTextKey(mode, button)), texts[mode][button]);
      }
    }
  }
  ASSERT_TRUE(SaveSkinChoice(ours, "暗夜", TextColor{44, 7, 255}));
  EXPECT_EQ(SystemRead(ours, "Skins", "Path"), "暗夜");
  EXPECT_EQ(SystemRead(ours, "Skins", "RColor"), "44");
  EXPECT_EQ(SystemRead(ours, "Skins", "BColor"), "255");

  // A file the system wrote (UTF-16 from its first bytes, so Chinese survives).
  const std::string theirs = dir.File("theirs.ini");
  testing::WriteWhole(theirs, "\xFF\xFE");
  const std::wstring file = Widen(theirs);
  WritePrivateProfileStringW(L"Setting-CHS", L"Item23", Widen("宏-连发").c_str(), file.c_str());
  WritePrivateProfileStringW(L"Skins", L"RColor", L"300", file.c_str());
  WritePrivateProfileStringW(L"Skins", L"Path", L"Default", file.c_str());
  const SkinSettingsValues values = LoadSkinSettings(theirs, "Setting-CHS");
  EXPECT_EQ(values.paneText[1][1], "宏-连发");
  EXPECT_EQ(SkinStateAtStartup(values, kProgramDir).textColor, (TextColor{44, 0, 0}));
  EXPECT_EQ(values.path, "Default");
}
#endif

TEST(SkinImages, NamesAreDistinctFilesAppendedToTheFolder) {
  std::set<std::string_view> names;
  for (std::string_view image : kSkinImages) {
    EXPECT_EQ(image.front(), '/') << image;
    EXPECT_TRUE(image.ends_with(".png")) << image;
    names.insert(image);
  }
  EXPECT_EQ(names.size(), kSkinImages.size());
  EXPECT_NE(kDpiStageHeaderImage, kLedHeaderImage);  // they differ only in case
  EXPECT_EQ(SkinImagePath(SkinFolderAtStartup(kProgramDir, "Default"), kMainImage),
            kProgramDir + "/Skins/Default/main.png");
}

TEST(SkinImages, EveryShippedSkinHasEveryImage) {
  const std::string skinsRoot = std::string(VORTAL_TEST_DATA) + "/../../skins";
  const std::vector<std::string> skins = ListSubfolders(skinsRoot);
  int complete = 0;
  for (const std::string& skin : skins) {
    if (skin == "src") continue;  // the sources the images are rendered from
    for (std::string_view image : kSkinImages) {
      EXPECT_TRUE(PathExists(SkinImagePath(skinsRoot + "/" + skin, image))) << skin << image;
    }
    ++complete;
  }
  EXPECT_GE(complete, 2);
}

}  // namespace
}  // namespace vortal
