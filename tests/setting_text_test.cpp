// The settings as words (vortalctl get/set) and as profile files.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "assign/assignment_choices.h"
#include "edit/profile.h"
#include "edit/setting_text.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "settings/delivered_settings.h"
#include "setup/button_action.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using testing::TempDir;

const std::vector<std::string> kMacros = {"Run", "Jump"};

SettingContext Context(Language language = Language::kEnglish,
                       std::optional<std::uint8_t> sensor = std::nullopt) {
  return SettingContext{LocalizedTexts(language), sensor, kMacros, false};
}

WorkingSetup Delivered() { return WorkingSetup{DeliveredSettings(), {}}; }

std::string Pane(const WorkingSetup& setup, int mode, int slot) {
  return setup.panes[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)];
}

TEST(SettingText, EachChangeReadsBackAndGivesTheWindowsPaneText) {
  struct Case {
    const char* name;
    const char* words;
    const char* value;  // as get prints it afterwards
    const char* pane;   // the button's pane text; empty for other settings
    Language language = Language::kEnglish;
  } cases[] = {
      {"mode-a.button4", "fire key KEY=a speed=30 times=5", "Fire Key key=A speed=30 times=5",
       "Fire Key-A"},
      {"mode-a.button3", "Single Key key=num +", "Single Key key=Num +", "Single Key-Num +"},
      {"mode-a.button2", "Combo Key modifier=left ctrl key2=c", "Combo Key modifier=Left Ctrl key2=C",
       "Combo Key-Left Ctrl+C"},
      {"mode-a.button5", "Windows function=my computer", "Windows function=My Computer",
       "My Computer"},
      {"mode-a.button5", "Windows function=My Computer", "Windows function=My Computer", "我的电脑",
       Language::kSimplifiedChinese},
      {"mode-a.button5", "Multimedia function=VOL+", "Multimedia function=Vol+", "多媒體-音量+",
       Language::kTraditionalChinese},
      {"mode-a.button6", "DPI Switch action=dpi loop", "DPI Switch action=DPI Loop", "DPI Loop"},
      {"mode-a.button8", "Macro Key macro=jump", "Macro Key repeat=1 macro=Jump", "Macro Key-Jump"},
      {"mode-a.button8", "Macro Key repeat=3 macro=Run", "Macro Key repeat=3 macro=Run",
       "Macro Key-Run"},
      {"mode-a.button3", "triple-click", "Triple-click", "Triple-click"},
      {"mode-a.button7", "RGB On/Off", "RGB On/Off", "RGB On/Off"},
      {"rate", "250Hz", "250", ""},
      {"dpi.1", "off level=3", "off level=3", ""},
      {"lighting", "respiration speed=5s", "Respiration Mode brightness=100% speed=5S time=2.5S", ""},
      {"lighting", "Neon Mode time=15S", "Neon Mode brightness=100% speed=6S time=15S", ""},
      {"loop-color.2", "off #00ff80", "off #00FF80", ""},
      {"loop-color.5", "orange", "off #FF8000", ""},
      {"dpi-led.3", "4,2", "2,4", ""},
      {"dpi-led.4", "none", "none", ""},
      {"pointer.wheel-lines", "0", "0", ""},
      {"pointer.precision", "OFF", "off", ""},
  };
  for (const Case& c : cases) {
    WorkingSetup setup = Delivered();
    const SettingContext context = Context(c.language);
    ASSERT_EQ(ChangeSetting(setup, c.name, SplitWords(c.words), context), "") << c.name << " " << c.words;
    EXPECT_EQ(SettingValue(setup.record, c.name, context), c.value) << c.words;
    if (*c.pane) {
      const int slot = std::string(c.name).back() - '1';
      EXPECT_EQ(Pane(setup, 0, slot), c.pane) << c.words;
    }
  }
}

TEST(SettingText, DpiValuesGoThroughTheSensorsTable) {
  WorkingSetup setup = Delivered();
  ASSERT_EQ(ChangeSetting(setup, "dpi.2", {"on", "1500", "DPI"}, Context({}, 0)), "");
  EXPECT_EQ(SettingValue(setup.record, "dpi.2", Context({}, 0)), "on 1500");
  EXPECT_EQ(SettingValue(setup.record, "dpi.2", Context()), "on level=6");
}

TEST(SettingText, ShiftIsOneButtonOfBothModes) {
  WorkingSetup setup = Delivered();
  const SettingContext context = Context();
  ASSERT_EQ(ChangeSetting(setup, "mode-a.button3", {"Shift"}, context), "");
  EXPECT_EQ(SettingValue(setup.record, "mode-b.button3", context), "Shift");
  EXPECT_EQ(Pane(setup, 1, 2), "Shift");
  // Asked for again (as a profile does for the other mode): no change, no refusal.
  ASSERT_EQ(ChangeSetting(setup, "mode-b.button3", {"Shift"}, context), "");
  // Whatever replaces it replaces it in both modes.
  ASSERT_EQ(ChangeSetting(setup, "mode-b.button3", {"Forward"}, context), "");
  EXPECT_EQ(SettingValue(setup.record, "mode-a.button3", context), "Forward");
  EXPECT_EQ(Pane(setup, 0, 2), "Forward");
}

TEST(SettingText, BadInputSaysWhatIsAcceptedAndChangesNothing) {
  SettingsRecord oneStage = DeliveredSettings();
  std::memset(oneStage.dpiStageEnabled, 0, sizeof oneStage.dpiStageEnabled);
  oneStage.dpiStageEnabled[0] = 1;
  SettingsRecord shift = DeliveredSettings();
  shift.modeA.keyFunction[7] = kShift;
  SettingsRecord loopOneOff = DeliveredSettings();
  loopOneOff.loopColorEnabled[0] = 0;
  // The delivered file holds Left Click on the hidden slots 9 to 12 too; they
  // never reach the mouse and keep nothing usable.
  const SettingsRecord delivered = DeliveredSettings();
  SettingsRecord modeBLeftOnTwo = DeliveredSettings();
  modeBLeftOnTwo.modeB.keyFunction[0] = kRightClick;
  modeBLeftOnTwo.modeB.keyFunction[1] = kLeftClick;
  struct Case {
    const SettingsRecord& base;
    const char* name;
    const char* words;
    std::optional<std::uint8_t> sensor;
    const char* message;
  } cases[] = {
      {delivered, "mode-a.button9", "Left Click", {}, "is no setting; the settings are"},
      {delivered, "mode-a.button1", "Fire", {}, "\"Fire\" is not one of Left Click, Right Click"},
      {delivered, "mode-a.button1", "Fire", {}, "Key Off. Did you mean \"Fire Key\"?"},
      {delivered, "mode-a.buton3", "Forward", {}, "dpi.1 to dpi.4, lighting, loop-color.1 to loop-color.8, dpi-led.1 to dpi-led.4, pointer.speed"},
      {delivered, "mode-a.buton3", "Forward", {}, "Did you mean \"mode-a.button3\"?"},
      {delivered, "mode-a.button1", "Single Key key=Spase", {}, "Did you mean \"Space\"?"},
      {delivered, "dpi.4", "of", {}, "\"of\" is neither on, off, a DPI nor level=N. Did you mean \"off\"?"},
      {delivered, "mode-a.button1", "Fire Key speed=30", {}, "key= is missing: give one of A, B"},
      {delivered, "mode-a.button1", "Fire Key key=A speed=4", {}, "\"4\" is not a whole number from 5 to 255"},
      {delivered, "mode-a.button1", "Fire Key key=A times=256", {}, "from 0 to 255"},
      {delivered, "mode-a.button1", "Fire Key key=A key=B", {}, "key= is given twice"},
      {delivered, "mode-a.button1", "Fire Key key=A colour=red", {}, "has no parameter colour=; it takes key=, speed=, times="},
      {delivered, "mode-a.button1", "Left Click key=A", {}, "takes no parameters"},
      {delivered, "mode-a.button1", "Single Key key=Foo", {}, "\"Foo\" is no key name"},
      {delivered, "mode-a.button1", "Combo Key", {}, "needs modifier=, key1= or key2="},
      {delivered, "mode-a.button1", "Combo Key modifier=Ctrl", {}, "is not one of Left Ctrl"},
      {delivered, "mode-a.button1", "Macro Key macro=Walk", {}, "\"Walk\" is not one of Run, Jump"},
      {delivered, "mode-a.button1", "Macro Key macro=Run repeat=4", {}, "from 1 to 3"},
      {delivered, "mode-a.button1", "DPI Switch action=up", {}, "is not one of DPI +, DPI -, DPI Loop"},
      {delivered, "rate", "300", {}, "\"300\" is not one of 125, 250, 500, 1000"},
      {delivered, "dpi.1", "1600", {}, "DPI levels are not known"},
      {delivered, "dpi.1", "1600", 0, "has no \"1600\" DPI; it has 250, 500"},
      {delivered, "dpi.1", "level=13", {}, "from 1 to 12"},
      {delivered, "dpi.1", "1500 level=2", 0, "not both"},
      {delivered, "lighting", "disco", {}, "is not one of Off Mode, Standard Mode"},
      {delivered, "lighting", "neon time=16S", {}, "\"16S\" is not one of 0.5S"},
      {delivered, "loop-color.1", "#12345", {}, "is no colour"},
      {delivered, "loop-color.1", "red blue", {}, "give on, off and/or a colour"},
      {delivered, "dpi-led.1", "5", {}, "\"5\" is no square"},
      {delivered, "dpi-led.1", "none,1", {}, "or none"},
      {delivered, "pointer.speed", "12", {}, "from 1 to 11"},
      {delivered, "pointer.precision", "yes", {}, "give on or off"},
      // The window's rules.
      {oneStage, "dpi.1", "off", {}, "the only DPI stage switched on"},
      {shift, "mode-a.button2", "Shift", {}, "Mode A has its Shift button already"},
      {loopOneOff, "loop-color.3", "red", {}, "while loop-color.1 is on"},
      {delivered, "mode-a.button1", "Right Click", {}, "the only Left Click of Mode A among buttons 1 to 8"},
      {modeBLeftOnTwo, "mode-a.button2", "Shift", {}, "would take Shift into Mode B"},
  };
  for (const Case& c : cases) {
    WorkingSetup setup{c.base, {}};
    const std::string message =
        ChangeSetting(setup, c.name, SplitWords(c.words), Context(Language::kEnglish, c.sensor));
    EXPECT_NE(message.find(c.message), std::string::npos) << c.words << ": " << message;
    EXPECT_EQ(std::memcmp(setup.record.bytes(), c.base.bytes(), kSettingsRecordSize), 0) << c.words;
    EXPECT_EQ(setup.panes, PaneTexts{}) << c.words;
  }
}

TEST(SettingText, QueriesNameOneSettingOrAGroup) {
  EXPECT_EQ(SettingNamesMatching("DPI"), (std::vector<std::string>{"dpi.1", "dpi.2", "dpi.3", "dpi.4"}));
  EXPECT_EQ(SettingNamesMatching("rate"), std::vector<std::string>{"rate"});
  EXPECT_EQ(SettingValue(DeliveredSettings(), "RATE", Context()), "1000");
  EXPECT_EQ(SettingNamesMatching("mode-b").size(), 8u);
  EXPECT_EQ(SettingNamesMatching(""), SettingNames());
  EXPECT_TRUE(SettingNamesMatching("dp").empty());
}

TEST(SettingText, MacroEventsAsText) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;  // empty: refused
    const char* message;
  } cases[] = {
      {"A Dn, 50 ms, A Up", {"A   Dn", "50 ms", "A   Up"}, ""},
      // "," is a key: only a comma after Dn, Up or ms separates.
      {", dn, 2000 MS, , up", {",   Dn", "2000 ms", ",   Up"}, ""},
      {"Num + Dn,Num + Up", {"Num +   Dn", "Num +   Up"}, ""},
      // "Up" and "Page Up" are keys too.
      {"Up Dn, Page Up Up,up up", {"Up   Dn", "Page Up   Up", "Up   Up"}, ""},
      {"Foo Dn", {}, "\"Foo\" is no key name"},
      {"A Dn, 50", {}, "\"50\" is not a whole event"},
      {"R down, 50 ms", {}, "\"R down\" is not a whole event"},
      {"Foo Dn, A Up", {}, "\"Foo\" is no key name"},
      {"Dn", {}, "needs a key name"},
      {"A Dn, 99999 ms", {}, "give 0 to 25599 ms"},
      {"", {}, "at least one event"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto lines = ParseMacroEvents(c.text, error);
    if (c.lines.empty()) {
      EXPECT_FALSE(lines) << c.text;
      EXPECT_NE(error.find(c.message), std::string::npos) << c.text << ": " << error;
      continue;
    }
    ASSERT_TRUE(lines) << c.text << ": " << error;
    EXPECT_EQ(*lines, c.lines);
    EXPECT_EQ(ParseMacroEvents(DescribeMacroLines(*lines), error), lines) << c.text;
  }
}

// ---- Profiles

// A random setup the window could hold, made through the grammar itself.
Profile RandomProfile(std::mt19937& random) {
  auto pick = [&](const std::vector<std::string>& items) {
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
  };
  auto number = [&](int low, int high) {
    return std::to_string(std::uniform_int_distribution<int>(low, high)(random));
  };
  Profile profile;
  const int macroCount = std::uniform_int_distribution<int>(0, 3)(random);
  for (int m = 0; m < macroCount; ++m) {
    std::string error;
    const std::string key = pick(*NamesOfList("keys"));
    profile.macros.push_back({"Macro " + std::to_string(m), std::stoi(number(1, 65535)),
                              *ParseMacroEvents(key + " Dn, " + number(0, 25599) + " ms, " + key + " Up", error)});
  }
  SettingContext context{LocalizedTexts(), std::nullopt, {}, true};
  for (const ProfileMacro& macro : profile.macros) context.macroNames.push_back(macro.name);
  profile.setup = Delivered();
  SetDefaultPaneTexts(profile.setup.panes, context.texts, kDeviceButtons);
  const std::vector<std::string> buttons = {
      "Right Click", "Forward", "Triple-click", "RGB On/Off", "Key Off",
      "DPI Switch action=" + pick(*NamesOfList("dpi-switch")),
      "Windows function=" + pick(*NamesOfList("windows")),
      "Multimedia function=" + pick(*NamesOfList("multimedia")),
      "Fire Key key=" + pick(*NamesOfList("fire-keys")) + " speed=" + number(5, 255) + " times=" + number(0, 255),
      "Single Key key=" + pick(*NamesOfList("keys")),
      "Combo Key modifier=" + pick(*NamesOfList("modifiers")) + " key2=" + pick(*NamesOfList("keys")),
      macroCount ? "Macro Key repeat=" + number(1, 3) + " macro=Macro 0" : "Mid Click"};
  auto set = [&](const std::string& name, const std::string& words) {
    EXPECT_EQ(ChangeSetting(profile.setup, name, SplitWords(words), context), "") << name << " " << words;
  };
  for (const char* mode : {"mode-a", "mode-b"})
    for (int b = 2; b <= kDeviceButtons; ++b) set(std::string(mode) + ".button" + std::to_string(b), pick(buttons));
  set("rate", pick({"125", "250", "500", "1000"}));
  set("dpi.1", "on level=" + number(1, 12));  // the mouse needs one stage on
  for (int s = 2; s <= 4; ++s) set("dpi." + std::to_string(s), pick({"on", "off"}) + " level=" + number(1, 12));
  set("lighting", pick(*NamesOfList("lighting")) + " brightness=" + pick(*NamesOfList("brightness")) +
                      " time=" + pick(*NamesOfList("time")));
  for (int c = 1; c <= 8; ++c)
    set("loop-color." + std::to_string(c), pick({"on", "off"}) + " #" + number(100000, 999999));
  set("dpi-led.2", pick({"none", "1,2", "4"}));
  set("pointer.speed", number(1, 11));
  set("pointer.page-scroll", pick({"on", "off"}));
  const int programs = std::uniform_int_distribution<int>(0, 2)(random);
  for (int p = 0; p < programs; ++p) profile.programs.push_back(pick({"cs2.exe", "Valorant.EXE", "my game.exe"}));
  return profile;
}

TEST(Profile, RandomSetupsComeBackWholeAndWriteTheSameFile) {
  std::mt19937 random(20261209);
  TempDir dir;
  for (int round = 0; round < 40; ++round) {
    const Profile written = RandomProfile(random);
    ASSERT_TRUE(WriteProfile(dir.File("a.ini"), written, LocalizedTexts()));
    std::string error;
    const auto read = ReadProfile(dir.File("a.ini"), Delivered(), LocalizedTexts(), std::nullopt, {}, error);
    ASSERT_TRUE(read) << error << "\n" << dir.Read("a.ini");
    EXPECT_EQ(read->macros, written.macros);
    EXPECT_EQ(read->programs, written.programs);
    SettingContext context{LocalizedTexts(), std::nullopt, {}, true};
    for (const ProfileMacro& macro : written.macros) context.macroNames.push_back(macro.name);
    for (const std::string& name : SettingNames())
      ASSERT_EQ(SettingValue(read->setup.record, name, context), SettingValue(written.setup.record, name, context))
          << name;
    ASSERT_TRUE(WriteProfile(dir.File("b.ini"), *read, LocalizedTexts()));
    ASSERT_EQ(dir.Read("a.ini"), dir.Read("b.ini"));

    // record.ini then holds exactly those macros, in slot order, with their loop counts.
    SettingsRecord record = read->setup.record;
    ASSERT_TRUE(StoreProfileMacros(dir.File("record.ini"), read->macros, record));
    EXPECT_EQ(MacrosOfSetup(dir.File("record.ini"), record), written.macros);
  }
}

TEST(Profile, AWrongLineIsNamedAndNothingIsRead) {
  const std::string head = "[Profile]\nFormat=1\n[Settings]\n";
  struct Case {
    std::string text;
    const char* message;
  } cases[] = {
      {"[Settings]\nrate=500\n", "is not a profile of this program"},
      {"[Profile]\nFormat=1\nPrograms=cs2.exe,, b.exe\n", "line 3: Programs=cs2.exe,, b.exe: a program is missing"},
      {"[Profile]\nFormat=1\nPrograms=cs2.exe ,\n", "line 3: Programs=cs2.exe ,: a program is missing"},
      {"[Profile]\nFormat=1\nPrograms=C:\\Games\\cs2.exe\n", "line 3: Programs=C:\\Games\\cs2.exe: \"C:\\Games\\cs2.exe\" is a path"},
      {"[Profile]\nFormat=1\nPrograms=bin/cs2.exe\n", "\"bin/cs2.exe\" is a path"},
      {head + "rate=500\ndpi.1=on level=99\n", "line 5: dpi.1 level=: \"99\" is not a whole number"},
      {head + "speed=3\n", "line 4: \"speed\" is no setting"},
      {head + "[Other]\n", "line 4: [Other] is no section of a profile"},
      {head + "[Macro2]\nName=A\n", "[Macro2] is no section"},
      {head + "[Macro1]\nName=A\nEvents=A Dn, Q\n", "line 6: \"Q\" is not a whole event"},
      {head + "[Macro1]\nName=A\nLoop=0\nEvents=A Dn\n", "line 6: Loop=0 is not a whole number from 1 to 65535"},
      {head + "[Macro1]\nName=A\nEvents=A Dn\n[Macro2]\nName=a\nEvents=A Up\n", "\"a\" is there twice"},
      {head + "[Macro1]\nName=A]\nEvents=A Dn\n", "cannot hold ']'"},
      {head + "mode-a.button1=Macro Key macro=Missing\n", "line 4: mode-a.button1: there are no macros yet"},
      {head + "mode-a.button1=Forward\nmode-a.button2=Forward\nmode-a.button3=Forward\n"
              "mode-a.button4=Forward\nmode-a.button5=Forward\nmode-a.button6=Forward\n"
              "mode-a.button7=Forward\nmode-a.button8=Forward\n",
       "Mode A has no Left Click among buttons 1 to 8"},
  };
  TempDir dir;
  const SettingsRecord delivered = DeliveredSettings();
  for (const Case& c : cases) {
    dir.Write("p.ini", c.text);
    std::string error;
    EXPECT_FALSE(ReadProfile(dir.File("p.ini"), WorkingSetup{delivered, {}}, LocalizedTexts(), std::nullopt, {}, error))
        << c.text;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.text << "\n" << error;
  }
}

}  // namespace
}  // namespace vortal
