#include "ui/window/basic_page.h"

#include <algorithm>
#include <array>

#include "device/device_commands.h"
#include "macro/macro_store.h"
#include "ui/skin/skin_images.h"
#include "settings/skin_settings.h"
#include "setup/button_action.h"

namespace vortal {
namespace {

constexpr int kPaneLeft = 252;
constexpr int kPaneRight = 463;
constexpr int kPaneTop = 186;
constexpr int kPaneStride = 23;
constexpr int kPaneHeight = 21;
constexpr int kPaneNumberWidth = 20;
constexpr int kFunctionListTopOffset = 22;
constexpr int kFunctionListBottomOffset = 292;

constexpr int kMarkLeft = 542;
constexpr int kMarkStride = 72;
constexpr int kMarkTop = 204;
constexpr int kMarkWidth = 70;
constexpr int kMarkHeight = 11;
constexpr int kMarkLabelGap = 10;
constexpr int kMarkLabelBottomGap = 30;

constexpr int kDpiLeft = 554;
constexpr int kDpiStride = 27;
constexpr int kDpiTickTop = 541;
constexpr int kDpiBox = 16;
constexpr int kDpiStepTop = 518;  // step 1
constexpr int kDpiStepStride = 18;
constexpr int kStageNumberGap = 5;
constexpr int kStageNumberBottomGap = 30;
constexpr Rect kSelectLabelBox{494, 541, 544, 557};
constexpr int kDpiLabelRight = 544;
constexpr int kDpiLabelLeft12 = 514;
constexpr int kDpiLabelLeft8 = 494;

constexpr Rect kTitleBox{120, 50, 352, 100};
constexpr Rect kKeySettingBox{259, 160, 364, 181};
constexpr Rect kReportRateSettingBox{504, 161, 609, 182};
constexpr Rect kDpiSettingBox{504, 275, 609, 296};
constexpr Rect kRgbEffectBox{704, 275, 809, 296};
constexpr Color kTitleColor{255, 255, 255};

constexpr std::array<const char*, kReportRateMarks> kReportRateLabels = {"125", "250", "500", "1000"};
constexpr std::string_view kModeACaption = "Mode A";
constexpr std::string_view kModeBCaption = "Mode B";
constexpr std::string_view kSelectCaption = "Select";

}  // namespace

Rect PaneBox(int button) {
  const int top = kPaneTop + kPaneStride * (button - 1);
  return {kPaneLeft, top, kPaneRight, top + kPaneHeight};
}

Rect FunctionListArea(int button) {
  const int top = PaneBox(button).top;
  return {kPaneLeft, top + kFunctionListTopOffset, kPaneRight, top + kFunctionListBottomOffset};
}

Rect ReportRateMarkBox(int mark) {
  const int left = kMarkLeft + kMarkStride * (mark - 1);
  return {left, kMarkTop, left + kMarkWidth, kMarkTop + kMarkHeight};
}

Rect DpiTickBox(int stage) {
  const int left = kDpiLeft + kDpiStride * (stage - 1);
  return {left, kDpiTickTop, left + kDpiBox, kDpiTickTop + kDpiBox};
}

Rect DpiStepBox(int stage, int step) {
  const int left = kDpiLeft + kDpiStride * (stage - 1);
  const int top = kDpiStepTop - kDpiStepStride * (step - 1);
  return {left, top, left + kDpiBox, top + kDpiBox};
}

int DpiStepCount(std::uint8_t sensorType) {
  return sensorType >= 1 && sensorType <= 3 ? 8 : kMaxDpiSteps;
}

std::vector<std::string> DpiStepLabels(std::uint8_t sensorType) {
  const std::uint8_t table = DpiStepCount(sensorType) == kMaxDpiSteps ? 0 : sensorType;
  std::vector<std::string> labels;
  for (int level = 0; level < DpiStepCount(sensorType); ++level) {
    labels.push_back(DpiLabel(table, level));
  }
  return labels;
}

BasicPage::BasicPage(MainWindowModel& model, AssignmentDialogs& dialogs)
    : model_(model), dialogs_(&dialogs), lighting_(model) {}

std::uint8_t BasicPage::sensorType() const { return model_.link().sensorType(); }

int BasicPage::PaneMode() const { return record().editedMode == 0 ? 0 : 1; }

void BasicPage::Redraw(const std::function<void(Canvas&)>& draw) {
  model_.services().Redraw(model_.skin.skinFolderPath, draw);
}

void BasicPage::DrawBasicPage() { model_.ShowPage(kBasicPage); }

void BasicPage::FirstDisplay() {
  // The sensor type chooses the DPI table; option 2 gets bit 6 (nothing is
  // written back when the mouse did not answer).
  model_.link().OnMouseFound();
  // A delivered config.bin (flag 0) gets the default pane texts; a record
  // that was never read says nothing about the panes, and str.ini keeps its.
  if (model_.settingsUsable() && model_.settings().firstRunFlag == 0 && !keepPaneTexts_) {
    SetDefaultPaneTexts(model_.skin.paneText, model_.texts, kPanes);
    SavePaneTexts(model_.files().skinSettingsFile, model_.texts[TextId::kSkinSection],
                  model_.skin.paneText);
  }
  initialised_ = true;
}

void BasicPage::Build() {
  if (!initialised_) FirstDisplay();
  const LocalizedTexts& texts = model_.texts;
  const SettingsRecord& rec = record();
  dpiStepCount_ = DpiStepCount(sensorType());

  Redraw([&](Canvas& canvas) {
    canvas.DrawImage(kBasicPageImage, {0, 0});
    model_.DrawFrame(canvas);
    DrawCaptionButton(canvas, kDefaultButton, false, texts[TextId::kKeyDefault]);
    for (int mark = 1; mark <= kReportRateMarks; ++mark) DrawMark(canvas, mark, false);

    canvas.DrawText(texts[TextId::kBasicSettings], kTitleBox, TextAlign::kLeft, kTitleColor,
                    FontKind::kTitle);
    canvas.DrawText(texts[TextId::kKeySetting], kKeySettingBox, TextAlign::kCenter, textColor(),
                    FontKind::kNormal);
    canvas.DrawText(texts[TextId::kReportRateSetting], kReportRateSettingBox, TextAlign::kCenter,
                    textColor(), FontKind::kNormal);
    canvas.DrawText(texts[TextId::kDpiSetting], kDpiSettingBox, TextAlign::kCenter, textColor(),
                    FontKind::kNormal);
    canvas.DrawText(texts[TextId::kRgbEffectTitle], kRgbEffectBox, TextAlign::kCenter, textColor(),
                    FontKind::kNormal);

    for (int button = 1; button <= kPanes; ++button) DrawPane(canvas, button, false);
    DrawModeButtons(canvas);

    for (int mark = 1; mark <= kReportRateMarks; ++mark) {
      const Rect box = ReportRateMarkBox(mark);
      canvas.DrawText(kReportRateLabels[static_cast<std::size_t>(mark - 1)],
                      {box.left, box.bottom + kMarkLabelGap, box.right, box.bottom + kMarkLabelBottomGap},
                      TextAlign::kCenter, textColor(), FontKind::kNormal);
    }
    canvas.DrawText(kSelectCaption, kSelectLabelBox, TextAlign::kRight, textColor(), FontKind::kNormal);
    lighting_.DrawLightingArea(canvas);
    for (int stage = 1; stage <= kDpiStages; ++stage) {
      const Rect tick = DpiTickBox(stage);
      canvas.DrawText(std::to_string(stage),
                      {tick.left, tick.bottom + kStageNumberGap, tick.right,
                       tick.bottom + kStageNumberBottomGap},
                      TextAlign::kCenter, textColor(), FontKind::kNormal);
    }

    const std::vector<std::string> labels = DpiStepLabels(sensorType());
    const int labelLeft = dpiStepCount_ == kMaxDpiSteps ? kDpiLabelLeft12 : kDpiLabelLeft8;
    for (int step = 1; step <= dpiStepCount_; ++step) {
      const Rect box = DpiStepBox(1, step);
      canvas.DrawText(labels[static_cast<std::size_t>(step - 1)],
                      {labelLeft, box.top, kDpiLabelRight, box.bottom}, TextAlign::kRight,
                      textColor(), FontKind::kNormal);
    }

    DrawMark(canvas, ReportRateMark(rec.reportRate), true);
    for (int stage = 1; stage <= kDpiStages; ++stage) {
      DrawTick(canvas, stage);
      const bool enabled = rec.dpiStageEnabled[stage - 1] == 1;
      DrawSlider(canvas, stage, enabled ? rec.dpiLevel[stage - 1] + 1 : 0);
    }
  });
}

void BasicPage::Teardown() {
  for (int id = kFirstFunctionListId; id <= kLastFunctionListId; ++id) model_.lists().Close(id);
  model_.lists().Close(kDpiSwitchListId);
  lighting_.Teardown();
}

std::vector<DropDownList> BasicPage::Lists() const {
  std::vector<DropDownList> lists;
  for (int button = 1; button <= kPanes; ++button) {
    // The sub-list goes with any click outside a function list.
    lists.push_back({kFirstFunctionListId + button - 1, PaneBox(button), FunctionListArea(button),
                     {kDpiSwitchListId}});
  }
  for (const DropDownList& list : lighting_.Lists()) lists.push_back(list);
  return lists;
}

std::vector<PageRegion> BasicPage::Regions() {
  std::vector<PageRegion> regions;
  regions.push_back(RectRegion(kModeAButton, [this](Point) { SelectMode(0); }));
  regions.push_back(RectRegion(kModeBButton, [this](Point) { SelectMode(1); }));
  regions.push_back(RectRegion(kDefaultButton, [this](Point) { RestoreDefaultButtons(); }));
  for (int button = 1; button <= kPanes; ++button) {
    regions.push_back(RectRegion(PaneBox(button), [this, button](Point) { TogglePaneList(button); }));
  }
  for (int mark = 1; mark <= kReportRateMarks; ++mark) {
    regions.push_back(RectRegion(ReportRateMarkBox(mark), [this, mark](Point) {
      SetReportRate(kReportRateCodes[mark - 1]);
    }));
  }
  for (int stage = 1; stage <= kDpiStages; ++stage) {
    regions.push_back(RectRegion(DpiTickBox(stage), [this, stage](Point) { ToggleDpiStage(stage); }));
  }
  regions.push_back(RectRegion(kLedStageHeader, [this](Point) { lighting_.ToggleLedStageList(); }));
  for (int square = 0; square < kLedSquares; ++square) {
    regions.push_back(
        RectRegion(LedSquareBox(square), [this, square](Point) { lighting_.ToggleLedBit(square); }));
  }
  regions.push_back(RectRegion(kLedModeHeader, [this](Point) { lighting_.ToggleLedModeList(); }));
  regions.push_back(RectRegion(kLedParameterHeader, [this](Point) { lighting_.ToggleParameterList(); }));
  for (int color = 0; color < kLoopColors; ++color) {
    regions.push_back(
        RectRegion(LoopColorTickBox(color), [this, color](Point) { lighting_.ToggleLoopColor(color); }));
  }
  for (int color = 0; color < kLoopColors; ++color) {
    regions.push_back(RectRegion(LoopColorSwatchBox(color),
                                 [this, color](Point) { lighting_.ChooseLoopColor(color); }));
  }
  for (int stage = 1; stage <= kDpiStages; ++stage) {
    for (int step = 1; step <= kMaxDpiSteps; ++step) {
      // Steps 9 to 12 answer only while the sensor type is 0; otherwise a
      // click there goes on as if it hit nothing.
      regions.push_back({[this, stage, step](Point p) {
                           return DpiStepBox(stage, step).Contains(p) &&
                                  (step <= 8 || sensorType() == 0);
                         },
                         [this, stage, step](Point) { SetDpiLevel(stage, step); }, true});
    }
  }
  return regions;
}

std::vector<HotControl> BasicPage::HotControls() const {
  std::vector<HotControl> controls;
  controls.push_back({kDefaultButtonHotId, kDefaultButton, 0, [this](Canvas& canvas, bool over) {
                        DrawCaptionButton(canvas, kDefaultButton, over,
                                          model_.texts[TextId::kKeyDefault]);
                      }});
  for (int button = 1; button <= kPanes; ++button) {
    controls.push_back({kFirstPaneHotId + button - 1, PaneBox(button), kPaneHotGroup,
                        [this, button](Canvas& canvas, bool over) { DrawPane(canvas, button, over); }});
  }
  return controls;
}

std::vector<WindowControl> BasicPage::Controls() {
  const LocalizedTexts& texts = model_.texts;
  const SettingsRecord& rec = record();
  std::vector<WindowControl> controls;
  auto add = [&](int id, int group, Rect box, ControlRole role, std::string name,
                 std::function<void()> act) -> WindowControl& {
    return controls.emplace_back(MakeControl(id, group, box, role, std::move(name), std::move(act)));
  };
  int group = 1;
  for (int mode = 0; mode < 2; ++mode) {
    add(mode == 0 ? kModeAKeyId : kModeBKeyId, group, mode == 0 ? kModeAButton : kModeBButton,
        ControlRole::kRadioButton, std::string(mode == 0 ? kModeACaption : kModeBCaption),
        [this, mode] { SelectMode(mode); })
        .checked = PaneMode() == mode;
  }
  ++group;
  for (int button = 1; button <= kPanes; ++button) {
    const std::string& pane =
        model_.skin.paneText[static_cast<std::size_t>(PaneMode())][static_cast<std::size_t>(button - 1)];
    WindowControl& control =
        add(kFirstPaneHotId + button - 1, group, PaneBox(button), ControlRole::kList,
            FormatText(texts[TextId::kButtonName], std::to_string(button)) + ": " + pane,
            [this, button] { TogglePaneList(button); });
    control.value = pane;
  }
  ++group;
  add(kDefaultButtonHotId, group++, kDefaultButton, ControlRole::kPushButton,
      std::string(texts[TextId::kKeyDefault]), [this] { RestoreDefaultButtons(); });
  const int rateMark = ReportRateMark(rec.reportRate);
  for (int mark = 1; mark <= kReportRateMarks; ++mark) {
    add(kFirstRateMarkKeyId + mark - 1, group, ReportRateMarkBox(mark), ControlRole::kRadioButton,
        FormatText(texts[TextId::kReportRateName], kReportRateLabels[static_cast<std::size_t>(mark - 1)]),
        [this, mark] { SetReportRate(kReportRateCodes[mark - 1]); })
        .checked = mark == rateMark;
  }
  ++group;
  for (int stage = 1; stage <= kDpiStages; ++stage) {
    add(kFirstDpiTickKeyId + stage - 1, group, DpiTickBox(stage), ControlRole::kCheckBox,
        FormatText(texts[TextId::kDpiStageName], std::to_string(stage)),
        [this, stage] { ToggleDpiStage(stage); })
        .checked = rec.dpiStageEnabled[stage - 1] == 1;
  }
  ++group;
  const std::vector<std::string> labels = DpiStepLabels(sensorType());
  for (int stage = 1; stage <= kDpiStages; ++stage) {
    const int level = std::clamp<int>(rec.dpiLevel[stage - 1], 0, dpiStepCount_ - 1);
    const Rect top = DpiStepBox(stage, dpiStepCount_);
    const Rect bottom = DpiStepBox(stage, 1);
    WindowControl& slider = add(kFirstDpiSliderKeyId + stage - 1, group++,
                                {top.left, top.top, bottom.right, bottom.bottom}, ControlRole::kSlider,
                                FormatText(texts[TextId::kDpiLevelName], std::to_string(stage)), nullptr);
    slider.value = labels[static_cast<std::size_t>(level)];
    slider.step = [this, stage, level](int steps) {
      SetDpiLevel(stage, std::clamp(level + 1 + steps, 1, dpiStepCount_));
    };
  }
  for (WindowControl& control : lighting_.Controls(group)) controls.push_back(std::move(control));
  return controls;
}

void BasicPage::DrawPane(Canvas& canvas, int button, bool over) const {
  const Rect box = PaneBox(button);
  canvas.DrawImage(over ? kPaneOverImage : kPaneNormalImage, box.TopLeft());
  canvas.DrawText(std::to_string(button), {box.left, box.top, box.left + kPaneNumberWidth, box.bottom},
                  TextAlign::kLeft, textColor(), FontKind::kNormal);
  canvas.DrawText(model_.skin.paneText[static_cast<std::size_t>(PaneMode())]
                                      [static_cast<std::size_t>(button - 1)],
                  {box.left + kPaneNumberWidth, box.top, box.right, box.bottom}, TextAlign::kLeft,
                  textColor(), FontKind::kNormal);
}

void BasicPage::DrawCaptionButton(Canvas& canvas, const Rect& box, bool over,
                                  std::string_view caption) const {
  canvas.DrawImage(over ? kButtonOverImage : kButtonNormalImage, box.TopLeft());
  canvas.DrawText(caption, box, TextAlign::kCenter, textColor(), FontKind::kNormal);
}

void BasicPage::DrawModeButtons(Canvas& canvas) const {
  DrawCaptionButton(canvas, kModeAButton, PaneMode() == 0, kModeACaption);
  DrawCaptionButton(canvas, kModeBButton, PaneMode() == 1, kModeBCaption);
}

void BasicPage::DrawMark(Canvas& canvas, int mark, bool lit) const {
  canvas.DrawImage(lit ? kReportRateLightImage : kReportRateDarkImage, ReportRateMarkBox(mark).TopLeft());
}

void BasicPage::DrawTick(Canvas& canvas, int stage) const {
  canvas.DrawImage(record().dpiStageEnabled[stage - 1] == 1 ? kCheckBoxTickedImage : kCheckBoxImage,
                   DpiTickBox(stage).TopLeft());
}

void BasicPage::DrawSlider(Canvas& canvas, int stage, int litSteps) const {
  for (int step = 1; step <= dpiStepCount_; ++step) {
    canvas.DrawImage(step <= litSteps ? kDpiLightImage : kDpiDarkImage, DpiStepBox(stage, step).TopLeft());
  }
}

void BasicPage::SelectMode(int mode) {
  record().editedMode = static_cast<std::uint8_t>(mode);
  Redraw([&](Canvas& canvas) {
    DrawModeButtons(canvas);
    for (int button = 1; button <= kPanes; ++button) DrawPane(canvas, button, false);
  });
}

void BasicPage::RestoreDefaultButtons() {
  WorkingSetup setup{record(), model_.skin.paneText};
  vortal::RestoreDefaultButtons(setup, model_.texts);
  record() = setup.record;
  model_.skin.paneText = std::move(setup.panes);
  Redraw([&](Canvas& canvas) {
    for (int button = 1; button <= kPanes; ++button) DrawPane(canvas, button, false);
  });
}

void BasicPage::SetReportRate(std::uint8_t code) {
  const int clicked = ReportRateMark(code);
  const int previous = ReportRateMark(record().reportRate);
  Redraw([&](Canvas& canvas) {
    DrawMark(canvas, clicked, true);
    if (previous != clicked) DrawMark(canvas, previous, false);
  });
  record().reportRate = code;
}

void BasicPage::ToggleDpiStage(int stage) {
  SettingsRecord& rec = record();
  const bool on = rec.dpiStageEnabled[stage - 1] != 1;
  if (!SetDpiStageEnabled(rec, stage - 1, on)) return;
  Redraw([&](Canvas& canvas) {
    DrawTick(canvas, stage);
    DrawSlider(canvas, stage, on ? rec.dpiLevel[stage - 1] + 1 : 0);
  });
}

void BasicPage::SetDpiLevel(int stage, int step) {
  record().dpiLevel[stage - 1] = static_cast<std::uint8_t>(step - 1);
  Redraw([&](Canvas& canvas) { DrawSlider(canvas, stage, step); });
}

void BasicPage::CloseFunctionLists(int except) {
  for (int id = kFirstFunctionListId; id <= kLastFunctionListId; ++id) {
    if (id != except) model_.lists().Close(id);
  }
  // The sub-list belongs to the list that goes.
  model_.lists().Close(kDpiSwitchListId);
}

void BasicPage::TogglePaneList(int button) {
  const int id = kFirstFunctionListId + button - 1;
  MainWindowServices& services = model_.services();
  if (services.ListExists(id)) {
    model_.lists().Close(id);
    model_.lists().Close(kDpiSwitchListId);
    return;
  }
  CloseFunctionLists(id);

  // At least one button of a mode keeps Left Click: the last one cannot be
  // given another function.
  const SettingsRecord& rec = record();
  if (IsOnlyLeftClick(rec, rec.editedMode, button - 1)) {
    services.Show(std::string(model_.texts[TextId::kLeftKeyMustBeSelected]), "Warning");
    return;
  }
  std::vector<std::string> items;
  for (TextId text : kFunctionListTexts) items.emplace_back(model_.texts[text]);
  model_.lists().Open(id, FunctionListArea(button), items);
}

void BasicPage::TrackFunctionListHover(Point p) {
  MainWindowServices& services = model_.services();
  for (int button = 1; button <= kPanes; ++button) {
    const int id = kFirstFunctionListId + button - 1;
    const auto hit = services.ListItemAt(id, p);
    if (!hit) continue;
    services.SelectListItem(id, hit->index);
    if (hit->index != kDpiSwitchItem) {
      model_.lists().Close(kDpiSwitchListId);
    } else if (!services.ListExists(kDpiSwitchListId)) {
      const Rect list = FunctionListArea(button);
      const Rect area{list.left + hit->item.right, list.top + hit->item.top,
                      list.left + hit->item.right + kDpiSwitchListSize,
                      list.top + hit->item.top + kDpiSwitchListSize};
      model_.lists().Open(kDpiSwitchListId, area, {kDpiSwitchTexts.begin(), kDpiSwitchTexts.end()});
    }
    return;
  }
  if (const auto hit = services.ListItemAt(kDpiSwitchListId, p)) {
    services.SelectListItem(kDpiSwitchListId, hit->index);
    return;
  }
  lighting_.TrackListHover(p);
}

void BasicPage::OnDpiSwitchChosen(int index) {
  if (index < 0 || index >= static_cast<int>(kDpiSwitchTexts.size())) return;
  MainWindowServices& services = model_.services();
  int slot = -1;
  for (int b = 0; b < kPanes; ++b) {
    if (services.ListExists(kFirstFunctionListId + b)) {
      slot = b;
      break;
    }
  }
  model_.lists().Close(kDpiSwitchListId);
  if (slot < 0) return;  // its function list is gone: there is no button to assign

  AssignButton(slot, DpiSwitchAction{static_cast<DpiAction>(index + 1)});
  Redraw([&](Canvas& canvas) { DrawPane(canvas, slot + 1, false); });
  model_.lists().Close(kFirstFunctionListId + slot);
}

void BasicPage::AssignButton(int slot, const ButtonAction& action) {
  WorkingSetup setup{record(), model_.skin.paneText};
  const ButtonEdit edit = SetButton(setup, PaneMode(), slot, action, model_.texts,
                                    ListMacroNames(model_.files().macroStore));
  // A Shift would take the other mode's last Left Click; a second Shift is
  // refused without a word, as the list always did.
  if (edit.refusal == ButtonRefusal::kLastLeftClick)
    model_.services().Show(std::string(model_.texts[TextId::kLeftKeyMustBeSelected]), "Warning");
  if (!edit.ok()) return;
  record() = setup.record;
  model_.skin.paneText = std::move(setup.panes);
}

void BasicPage::OnListChoice(int listId, int index, bool doubleClick) {
  if (listId == kDpiSwitchListId) {
    if (!doubleClick) OnDpiSwitchChosen(index);
    return;
  }
  if (lighting_.OnListChoice(listId, index)) return;
  if (listId < kFirstFunctionListId || listId > kLastFunctionListId) return;
  if (doubleClick && listId >= kFirstFunctionListId + kPanes) return;

  const int slot = listId - kFirstFunctionListId;
  if (!model_.services().ListExists(listId)) return;
  // No choice, or DPI Switch (its sub-list chooses), keeps the list open.
  const bool chosen = index >= 0 && index < static_cast<int>(kFunctionListTexts.size()) &&
                      index != kDpiSwitch;
  if (chosen) {
    const auto function = static_cast<FunctionType>(index);
    // A dialog opens on the button's current action; cancelled, the button
    // stays as it was.
    const std::optional<ButtonAction> action =
        HasAssignmentDialog(function)
            ? dialogs_->Choose(function, ReadButtonAction(record(), PaneMode(), slot))
            : std::optional<ButtonAction>(PlainFunction{function});
    if (action) AssignButton(slot, *action);
    model_.lists().Close(listId);
    model_.lists().Close(kDpiSwitchListId);
  }
  if (slot < kPanes) Redraw([&](Canvas& canvas) { DrawPane(canvas, slot + 1, false); });
}

}  // namespace vortal
