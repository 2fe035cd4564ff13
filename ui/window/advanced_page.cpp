#include "ui/window/advanced_page.h"

#include <algorithm>
#include <string>

#include "macro/user_messages.h"
#include "ui/skin/skin_images.h"

namespace vortal {
namespace {

constexpr Color kTitleColor{255, 255, 255};
constexpr Rect kTitleBox{120, 50, 352, 100};
constexpr Rect kPrecisionLabelBox{77, 255, 408, 271};
constexpr Rect kScrollOneScreenLabelBox{77, 405, 408, 421};
constexpr Rect kSliderCaptionBoxes[kPointerSliderCount] = {
    {38, 160, 143, 181}, {38, 310, 143, 331}, {38, 460, 143, 481}};
// A caption longer than its box ("Double-Click Speed" in the window's font)
// keeps its centre and spills over both sides instead of being cut.
constexpr int kCaptionSpill = 30;
constexpr TextId kSliderCaptions[kPointerSliderCount] = {
    TextId::kMouseSpeed, TextId::kScrollingSpeed, TextId::kDoubleClickSpeed};
// Numbers under the cells: 10 to 30 pixels below the cell's bottom.
constexpr int kNumberGap = 10;
constexpr int kNumberBottom = 30;

constexpr MouseParams kPrecisionOn{6, 10, 1};
constexpr MouseParams kPrecisionOff{0, 0, 0};

int SliderIndex(PointerSlider slider) { return static_cast<int>(slider) - 1; }

}  // namespace

std::uint32_t PointerSpeedOfStep(int step) {
  step = std::clamp(step, 1, kPointerSliderSteps);
  return step == 1 ? 1u : static_cast<std::uint32_t>(2 * step - 2);
}

std::uint32_t DoubleClickTimeOfStep(int step) {
  step = std::clamp(step, 1, kPointerSliderSteps);
  return static_cast<std::uint32_t>(970 - 70 * step);
}

MouseParams MouseParamsOf(bool precision) { return precision ? kPrecisionOn : kPrecisionOff; }

int SpeedStepOfSystem(std::uint32_t speed) {
  const std::uint32_t v = std::clamp<std::uint32_t>(speed, 1, 20);
  return static_cast<int>(v / 2 + 1);
}

int DoubleClickStepOfSystem(std::uint32_t milliseconds) {
  const std::uint32_t t = std::clamp<std::uint32_t>(milliseconds, 200, 900);
  return static_cast<int>((900 - t) / 70 + 1);
}

int ScrollStepOfSystem(std::uint32_t lines) {
  return static_cast<int>(std::min<std::uint32_t>(lines, kPointerSliderSteps));
}

bool PointerStepsValid(const SettingsRecord& record) {
  auto inSteps = [](int step, int lowest) { return step >= lowest && step <= kPointerSliderSteps; };
  return inSteps(record.mouseSpeed, 1) && inSteps(record.doubleClickIndex, 1) &&
         inSteps(record.scrollLines, 0);
}

Rect SliderCellBox(PointerSlider slider, int step) {
  const int left = kSliderLeft + kSliderCellWidth * (step - 1);
  const int top = kSliderTops[SliderIndex(slider)];
  return {left, top, left + kSliderCellWidth, top + kSliderCellHeight};
}

AdvancedPage::AdvancedPage(MainWindowModel& model, PointerSystem& system,
                           AdvancedPageHalf* macroHalf)
    : model_(model), system_(system), macroHalf_(macroHalf) {}

SettingsRecord& AdvancedPage::record() { return model_.settings().working; }
const SettingsRecord& AdvancedPage::record() const { return model_.settings().working; }

void AdvancedPage::Warn(std::string_view text) {
  model_.services().Show(std::string(text), kWarningCaption);
}

// ---- Drawing

void AdvancedPage::DrawSlider(Canvas& canvas, PointerSlider slider) const {
  int lit = 0;
  switch (slider) {
    case PointerSlider::kMouseSpeed: lit = record().mouseSpeed; break;
    case PointerSlider::kScrollLines: lit = record().scrollLines; break;
    case PointerSlider::kDoubleClick: lit = record().doubleClickIndex; break;
  }
  for (int step = 1; step <= kPointerSliderSteps; ++step) {
    canvas.DrawImage(step <= lit ? kSliderLightImage : kSliderDarkImage,
                     SliderCellBox(slider, step).TopLeft());
  }
}

void AdvancedPage::DrawCheck(Canvas& canvas, PointerCheck check) const {
  const bool ticked = check == PointerCheck::kPrecision ? record().pointerPrecision != 0
                                                        : record().scrollOneScreen != 0;
  const Rect& box =
      check == PointerCheck::kPrecision ? kPrecisionCheckBox : kScrollOneScreenCheckBox;
  canvas.DrawImage(ticked ? kCheckBoxTickedImage : kCheckBoxImage, box.TopLeft());
}

void AdvancedPage::DrawDefaultButton(Canvas& canvas, bool over) const {
  canvas.DrawImage(over ? kButtonOverImage : kButtonNormalImage, kPointerDefaultBox.TopLeft());
  canvas.DrawText(model_.texts[TextId::kPointerDefault], kPointerDefaultBox, TextAlign::kCenter,
                  model_.textColor(), FontKind::kNormal);
}

void AdvancedPage::DrawTexts(Canvas& canvas) const {
  const LocalizedTexts& texts = model_.texts;
  const Color color = model_.textColor();
  canvas.DrawText(texts[TextId::kEnhancePointerPrecision], kPrecisionLabelBox, TextAlign::kLeft,
                  color, FontKind::kNormal);
  canvas.DrawText(texts[TextId::kScrollOneScreen], kScrollOneScreenLabelBox, TextAlign::kLeft,
                  color, FontKind::kNormal);
  for (int i = 0; i < kPointerSliderCount; ++i) {
    const auto slider = static_cast<PointerSlider>(i + 1);
    for (int step = 1; step <= kPointerSliderSteps; ++step) {
      const Rect cell = SliderCellBox(slider, step);
      canvas.DrawText(std::to_string(step),
                      {cell.left, cell.bottom + kNumberGap, cell.right, cell.bottom + kNumberBottom},
                      TextAlign::kCenter, color, FontKind::kNormal);
    }
    const Rect& box = kSliderCaptionBoxes[i];
    canvas.DrawText(texts[kSliderCaptions[i]],
                    {box.left - kCaptionSpill, box.top, box.right + kCaptionSpill, box.bottom},
                    TextAlign::kCenter, color, FontKind::kNormal);
  }
  canvas.DrawText(texts[TextId::kAdvancedSettings], kTitleBox, TextAlign::kLeft, kTitleColor,
                  FontKind::kTitle);
}

void AdvancedPage::DrawAdvancedPage() {
  // The system is asked before drawing, so its failure messages never open
  // in the middle of a redraw.
  if (!pointerValuesRead_) ReadSystemValues();

  model_.services().Redraw(model_.skin.skinFolderPath, [this](Canvas& canvas) {
    canvas.DrawImage(kAdvancedPageImage, {0, 0});
    model_.DrawFrame(canvas);
    DrawDefaultButton(canvas, false);
    DrawTexts(canvas);
    for (int i = 1; i <= kPointerSliderCount; ++i) {
      DrawSlider(canvas, static_cast<PointerSlider>(i));
    }
    // Drawn in either state: the page's background has just covered the
    // boxes, also when the page is rebuilt over its own controls.
    DrawCheck(canvas, PointerCheck::kPrecision);
    DrawCheck(canvas, PointerCheck::kScrollOneScreen);
    // The macro half's labels and its New, Delete and Confirm buttons.
    if (macroHalf_ != nullptr) macroHalf_->Draw(canvas);
  });
  if (macroHalf_ != nullptr && !controlsCreated_) {
    macroHalf_->CreateControls();
    controlsCreated_ = true;
  }
}

void AdvancedPage::ReadSystemValues() {
  SettingsRecord& r = record();

  const std::optional<MouseParams> params = system_.GetMouseParams();
  r.pointerPrecision = params && params->acceleration != 0 ? 1 : 0;

  // A failed reading leaves no value to show: the page takes the system's
  // default instead, so a later Apply cannot push a made-up one.
  if (const std::optional<std::uint32_t> speed = system_.GetMouseSpeed()) {
    r.mouseSpeed = static_cast<std::uint8_t>(SpeedStepOfSystem(*speed));
  } else {
    Warn(kGetMouseSpeedFailed);
    r.mouseSpeed = kFallbackSpeedStep;
  }

  std::uint32_t lines = kFallbackScrollLines;
  if (const std::optional<std::uint32_t> read = system_.GetWheelScrollLines()) {
    lines = *read;
  } else {
    Warn(kGetWheelScrollLinesFailed);
  }
  if (lines == kScrollOneScreenLines) {
    r.scrollOneScreen = 1;
    r.scrollLines = 0;
  } else {
    r.scrollOneScreen = 0;
    r.scrollLines = static_cast<std::uint8_t>(ScrollStepOfSystem(lines));
  }

  const std::uint32_t time = system_.GetDoubleClickTime();
  if (time == 0) {
    Warn(kGetDoubleClickTimeFailed);
    r.doubleClickIndex = kFallbackDoubleClickStep;
  } else {
    r.doubleClickIndex = static_cast<std::uint8_t>(DoubleClickStepOfSystem(time));
  }
  pointerValuesRead_ = true;
}

// ---- Clicks

void AdvancedPage::SetSliderStep(PointerSlider slider, int step) {
  if (step < 1 || step > kPointerSliderSteps) return;
  const auto value = static_cast<std::uint8_t>(step);
  switch (slider) {
    case PointerSlider::kMouseSpeed: record().mouseSpeed = value; break;
    case PointerSlider::kScrollLines: record().scrollLines = value; break;
    case PointerSlider::kDoubleClick: record().doubleClickIndex = value; break;
  }
  model_.services().Redraw(model_.skin.skinFolderPath,
                           [&](Canvas& canvas) { DrawSlider(canvas, slider); });
}

void AdvancedPage::TogglePointerCheck(PointerCheck check) {
  std::uint8_t& field =
      check == PointerCheck::kPrecision ? record().pointerPrecision : record().scrollOneScreen;
  field = field == 1 ? 0 : 1;
  model_.services().Redraw(model_.skin.skinFolderPath,
                           [&](Canvas& canvas) { DrawCheck(canvas, check); });
}

void AdvancedPage::RestorePointerDefaults() {
  if (!system_.SetMouseParams(kDefaultMouseParams)) Warn(kSetMouseFailed);
  if (!system_.SetMouseSpeed(kDefaultPointerSpeed)) Warn(kSetMouseSpeedFailed);
  if (!system_.SetWheelScrollLines(kDefaultScrollLines)) Warn(kSetWheelScrollLinesFailed);
  if (!system_.SetDoubleClickTime(kDefaultDoubleClickTime)) Warn(kSetDoubleClickTimeFailed);

  SettingsRecord& r = record();
  r.pointerPrecision = 0;
  r.scrollOneScreen = 0;
  r.mouseSpeed = kDefaultSpeedStep;
  r.scrollLines = kDefaultScrollStep;
  r.doubleClickIndex = kDefaultDoubleClickStep;
  model_.services().Redraw(model_.skin.skinFolderPath, [this](Canvas& canvas) {
    DrawCheck(canvas, PointerCheck::kPrecision);
    DrawCheck(canvas, PointerCheck::kScrollOneScreen);
    for (int i = 1; i <= kPointerSliderCount; ++i) {
      DrawSlider(canvas, static_cast<PointerSlider>(i));
    }
  });
}

void AdvancedPage::ApplyPointerSettings() {
  const SettingsRecord& r = record();
  // Steps the page never held (the fields are 0 until the system was first
  // read, or config.bin was edited by hand) stand for no setting of the
  // user's: the system keeps its own instead of receiving values outside
  // its ranges or wheel scrolling switched off.
  if (!PointerStepsValid(r)) return;

  if (!system_.SetMouseParams(MouseParamsOf(r.pointerPrecision != 0))) Warn(kSetMouseFailed);
  if (!system_.SetMouseSpeed(PointerSpeedOfStep(r.mouseSpeed))) Warn(kSetMouseSpeedFailed);
  const std::uint32_t lines =
      r.scrollOneScreen != 0 ? kScrollOneScreenLines : static_cast<std::uint32_t>(r.scrollLines);
  if (!system_.SetWheelScrollLines(lines)) Warn(kSetWheelScrollLinesFailed);
  if (!system_.SetDoubleClickTime(DoubleClickTimeOfStep(r.doubleClickIndex))) {
    Warn(kSetDoubleClickTimeFailed);
  }
}

// ---- The page's plug-in

void AdvancedPage::Teardown() {
  if (macroHalf_ != nullptr) macroHalf_->Teardown();
  controlsCreated_ = false;
}

std::vector<DropDownList> AdvancedPage::Lists() const {
  if (macroHalf_ == nullptr) return {};
  return macroHalf_->Lists();
}

std::vector<PageRegion> AdvancedPage::Regions() {
  std::vector<PageRegion> regions = {
      RectRegion(kPrecisionCheckBox, [this](Point) { TogglePointerCheck(PointerCheck::kPrecision); }),
      RectRegion(kScrollOneScreenCheckBox,
                 [this](Point) { TogglePointerCheck(PointerCheck::kScrollOneScreen); }),
      RectRegion(kPointerDefaultBox, [this](Point) { RestorePointerDefaults(); }),
  };
  // The macro editor's buttons and its insert-list box come between the
  // pointer buttons and the sliders.
  if (macroHalf_ != nullptr) {
    for (PageRegion& region : macroHalf_->Regions()) regions.push_back(std::move(region));
  }
  for (int i = 1; i <= kPointerSliderCount; ++i) {
    const auto slider = static_cast<PointerSlider>(i);
    const Rect row{kSliderLeft, SliderCellBox(slider, 1).top,
                   kSliderLeft + kSliderCellWidth * kPointerSliderSteps,
                   SliderCellBox(slider, 1).bottom};
    regions.push_back(RectRegion(row, [this, slider](Point p) {
      SetSliderStep(slider, (p.x - kSliderLeft) / kSliderCellWidth + 1);
    }));
  }
  return regions;
}

std::vector<WindowControl> AdvancedPage::Controls() {
  const LocalizedTexts& texts = model_.texts;
  const SettingsRecord& rec = record();
  std::vector<WindowControl> controls;
  int group = 1;
  auto check = [&](int id, const Rect& box, TextId name, std::uint8_t field, PointerCheck which) {
    controls.push_back(MakeControl(id, group++, box, ControlRole::kCheckBox, std::string(texts[name]),
                                   [this, which] { TogglePointerCheck(which); }));
    controls.back().checked = field == 1;
  };
  const std::uint8_t steps[kPointerSliderCount] = {rec.mouseSpeed, rec.scrollLines, rec.doubleClickIndex};
  for (int i = 1; i <= kPointerSliderCount; ++i) {
    const auto slider = static_cast<PointerSlider>(i);
    const int step = std::clamp<int>(steps[i - 1], 1, kPointerSliderSteps);
    WindowControl control = MakeControl(
        kFirstPointerSliderKeyId + i - 1, group++,
        {kSliderLeft, SliderCellBox(slider, 1).top, kSliderLeft + kSliderCellWidth * kPointerSliderSteps,
         SliderCellBox(slider, 1).bottom},
        ControlRole::kSlider, std::string(texts[kSliderCaptions[i - 1]]));
    control.value = std::to_string(step);
    control.step = [this, slider, step](int by) {
      SetSliderStep(slider, std::clamp(step + by, 1, kPointerSliderSteps));
    };
    controls.push_back(std::move(control));
    if (slider == PointerSlider::kMouseSpeed)
      check(kPrecisionKeyId, kPrecisionCheckBox, TextId::kEnhancePointerPrecision, rec.pointerPrecision,
            PointerCheck::kPrecision);
    if (slider == PointerSlider::kScrollLines)
      check(kScrollOneScreenKeyId, kScrollOneScreenCheckBox, TextId::kScrollOneScreen,
            rec.scrollOneScreen, PointerCheck::kScrollOneScreen);
  }
  controls.push_back(MakeControl(kPointerDefaultHotId, group++, kPointerDefaultBox, ControlRole::kPushButton,
                                 std::string(texts[TextId::kPointerDefault]),
                                 [this] { RestorePointerDefaults(); }));
  if (macroHalf_ != nullptr) {
    for (WindowControl& control : macroHalf_->Controls(group)) controls.push_back(std::move(control));
  }
  return controls;
}

std::vector<HotControl> AdvancedPage::HotControls() const {
  std::vector<HotControl> controls = {
      {kPointerDefaultHotId, kPointerDefaultBox, 0,
       [this](Canvas& canvas, bool over) { DrawDefaultButton(canvas, over); }},
  };
  if (macroHalf_ != nullptr) {
    for (HotControl& control : macroHalf_->HotControls()) controls.push_back(std::move(control));
  }
  return controls;
}

void AdvancedPage::OnListChoice(int listId, int index, bool doubleClick) {
  if (macroHalf_ != nullptr) macroHalf_->OnListChoice(listId, index, doubleClick);
}

}  // namespace vortal
