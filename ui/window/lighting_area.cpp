#include "ui/window/lighting_area.h"

#include <array>
#include <cstdio>

#include "ui/window/main_window_model.h"
#include "ui/skin/skin_images.h"
#include "ui/skin/text_contrast.h"

namespace vortal {
namespace {

constexpr int kBoxSize = 16;
constexpr std::array<int, kLoopColors> kLoopColorLefts = {703, 724, 745, 766, 787, 808, 829, 850};
constexpr int kSwatchTop = 420;
constexpr int kLoopTickTop = 440;
constexpr std::array<Point, kLedSquares> kSquareCorners = {{{737, 540}, {763, 540}, {789, 540}, {815, 540}}};

constexpr Point kLedModeHeaderImageAt{766, 329};
constexpr Point kLedParameterHeaderImageAt{766, 359};
constexpr Point kLedStageHeaderImageAt{741, 510};
constexpr Rect kModeLabelBox{696, 329, 756, 344};
constexpr Rect kParameterLabelBox{696, 359, 756, 374};
constexpr Rect kLoopColorLabelBox{697, 390, 870, 420};
constexpr Rect kDpiColorTitleBox{697, 480, 870, 500};
constexpr Rect kLedStageTextBox{741, 510, 826, 526};
constexpr Rect kLedModeStaticBox{767, 330, 835, 344};
constexpr Rect kLedParameterStaticBox{767, 360, 835, 374};

constexpr int kParameterListLeft = 766;
constexpr int kParameterListTop = 377;
constexpr int kParameterListRight = 851;
constexpr int kBrightnessListBottom = 547;
constexpr int kSpeedListBottom = 467;
constexpr int kTimeListBottom = 577;


// The stage items are the same in every language.
constexpr std::array<const char*, kLedStages> kLedStageTexts = {"DPI Stage1", "DPI Stage2",
                                                                "DPI Stage3", "DPI Stage4"};

constexpr Color kBlack{0, 0, 0};
// A label without the blanks some texts end in.
std::string WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}
constexpr Color kWhite{255, 255, 255};


}  // namespace

Rect LoopColorTickBox(int color) {
  const int left = kLoopColorLefts[static_cast<std::size_t>(color)];
  return {left, kLoopTickTop, left + kBoxSize, kLoopTickTop + kBoxSize};
}

Rect LoopColorSwatchBox(int color) {
  const int left = kLoopColorLefts[static_cast<std::size_t>(color)];
  return {left, kSwatchTop, left + kBoxSize, kSwatchTop + kBoxSize};
}

Rect LedSquareBox(int square) {
  const Point at = kSquareCorners[static_cast<std::size_t>(square)];
  return {at.x, at.y, at.x + kBoxSize, at.y + kBoxSize};
}

Rect LedParameterListArea(int mode) {
  const int bottom = mode == 1 ? kBrightnessListBottom : mode == 2 ? kSpeedListBottom : kTimeListBottom;
  return {kParameterListLeft, kParameterListTop, kParameterListRight, bottom};
}

LightingArea::LightingArea(MainWindowModel& model) : model_(model) {}

SettingsRecord& LightingArea::record() { return model_.settings().working; }

Color LightingArea::textColor() const { return model_.textColor(); }

void LightingArea::SetLooks() {
  ChildControls& controls = model_.services().childControls();
  for (int i = 0; i < kLoopColors; ++i) {
    const std::uint8_t* rgb = record().loopColor[i];
    controls.SetChildLook(kFirstSwatchId + i, {kBlack, Color{rgb[0], rgb[1], rgb[2]}});
    controls.RepaintChild(kFirstSwatchId + i);
  }
  const ChildLook onBlack{ReadableTextColor(textColor(), kBlack), kBlack};
  controls.SetChildLook(kLedModeStaticId, onBlack);
  controls.SetChildLook(kLedParameterStaticId, onBlack);
}

void LightingArea::CreateParameterStatic(const std::string& text) {
  ChildControls& controls = model_.services().childControls();
  controls.CreateChild(kLedParameterStaticId, ChildKind::kStatic, kLedParameterStaticBox);
  controls.SetChildText(kLedParameterStaticId, text);
}

void LightingArea::DrawLightingArea(Canvas& canvas) {
  const LocalizedTexts& texts = model_.texts;
  ChildControls& controls = model_.services().childControls();
  SettingsRecord& rec = record();

  canvas.DrawImage(kLedHeaderImage, kLedModeHeaderImageAt);
  canvas.DrawImage(kLedHeaderImage, kLedParameterHeaderImageAt);
  canvas.DrawText(texts[TextId::kMode], kModeLabelBox, TextAlign::kRight, textColor(), FontKind::kNormal);
  canvas.DrawText(texts[TextId::kParameter], kParameterLabelBox, TextAlign::kRight, textColor(),
                  FontKind::kNormal);
  canvas.DrawText(texts[TextId::kLoopColorSetting], kLoopColorLabelBox, TextAlign::kLeft, textColor(),
                  FontKind::kNormal);

  const bool hasParameter = rec.auxLedMode >= 1 && rec.auxLedMode <= 3;
  const std::string parameter =
      hasParameter ? LedParameterText(rec.auxLedMode, rec.auxLedParam[rec.auxLedMode - 1])
                   : std::string();
  if (controls.ChildExists(kLedModeStaticId)) {
    // Still there from an earlier draw (the record may have been restored
    // since): show what the record holds now.
    controls.SetChildText(kLedModeStaticId, LedModeText(texts, rec.auxLedMode));
    controls.SetChildText(kLedParameterStaticId, parameter);
  } else {
    for (int i = 0; i < kLoopColors; ++i) {
      controls.CreateChild(kFirstSwatchId + i, ChildKind::kStatic, LoopColorSwatchBox(i));
    }
    controls.CreateChild(kLedModeStaticId, ChildKind::kStatic, kLedModeStaticBox);
    controls.SetChildText(kLedModeStaticId, LedModeText(texts, rec.auxLedMode));
    if (hasParameter) CreateParameterStatic(parameter);
  }
  SetLooks();
  for (int i = 0; i < kLoopColors; ++i) {
    canvas.DrawImage(rec.loopColorEnabled[i] == 1 ? kCheckBoxTickedImage : kCheckBoxImage,
                     LoopColorTickBox(i).TopLeft());
  }

  canvas.DrawText(texts[TextId::kDpiSelfColorLedSetting], kDpiColorTitleBox, TextAlign::kLeftTop,
                  textColor(), FontKind::kNormal);
  // A redraw shows stage 1 in the header and its bits in the squares, so the
  // squares edit stage 1 again: header, squares and edits always agree.
  selectedLedStage_ = 0;
  DrawStageHeader(canvas, selectedLedStage_);
  DrawSquares(canvas, selectedLedStage_);
}

void LightingArea::DrawStageHeader(Canvas& canvas, int stage) {
  canvas.DrawImage(kDpiStageHeaderImage, kLedStageHeaderImageAt);
  canvas.DrawText(kLedStageTexts[static_cast<std::size_t>(stage)], kLedStageTextBox,
                  TextAlign::kLeftTop, textColor(), FontKind::kNormal);
}

void LightingArea::DrawSquares(Canvas& canvas, int stage) {
  for (int k = 0; k < kLedSquares; ++k) {
    const LedBit bit = LedBitOf(stage, k);
    const bool set = (record().dpiStageLedBits[bit.byte] & bit.mask) != 0;
    canvas.DrawImage(set ? kDpiLightImage : kDpiDarkImage, LedSquareBox(k).TopLeft());
  }
}

void LightingArea::Teardown() {
  ChildControls& controls = model_.services().childControls();
  for (int i = 0; i < kLoopColors; ++i) controls.DestroyChild(kFirstSwatchId + i);
  controls.DestroyChild(kLedModeStaticId);
  controls.DestroyChild(kLedParameterStaticId);
  for (int id : {kLedModeListId, kLedParameterListId, kLedStageListId}) model_.lists().Close(id);
}

std::vector<DropDownList> LightingArea::Lists() const {
  return {{kLedModeListId, kLedModeHeader, kLedModeListArea, {}},
          {kLedParameterListId, kLedParameterHeader, std::nullopt, {}},
          {kLedStageListId, kLedStageHeader, kLedStageListArea, {}}};
}

std::vector<WindowControl> LightingArea::Controls(int firstGroup) {
  const LocalizedTexts& texts = model_.texts;
  const SettingsRecord& rec = record();
  ChildControls& children = model_.services().childControls();
  std::vector<WindowControl> controls;
  auto add = [&](int id, int group, Rect box, ControlRole role, std::string name,
                 std::function<void()> act) {
    return &controls.emplace_back(MakeControl(id, group, box, role, std::move(name), std::move(act)));
  };
  add(kLedModeHeaderKeyId, firstGroup, kLedModeHeader, ControlRole::kList,
      std::string(texts[TextId::kMode]), [this] { ToggleLedModeList(); })
      ->value = children.ChildText(kLedModeStaticId);
  WindowControl* parameter =
      add(kLedParameterHeaderKeyId, firstGroup + 1, kLedParameterHeader, ControlRole::kList,
          std::string(texts[TextId::kParameter]), [this] { ToggleParameterList(); });
  parameter->value = children.ChildText(kLedParameterStaticId);
  parameter->unavailable = !(rec.auxLedMode >= 1 && rec.auxLedMode <= 3);
  for (int i = 0; i < kLoopColors; ++i) {
    const std::string number = std::to_string(i + 1);
    add(kFirstLoopTickKeyId + i, firstGroup + 2, LoopColorTickBox(i), ControlRole::kCheckBox,
        FormatText(texts[TextId::kLoopColorName], number), [this, i] { ToggleLoopColor(i); })
        ->checked = rec.loopColorEnabled[i] == 1;
  }
  for (int i = 0; i < kLoopColors; ++i) {
    const std::uint8_t* rgb = rec.loopColor[i];
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    WindowControl* swatch =
        add(kFirstLoopSwatchKeyId + i, firstGroup + 3, LoopColorSwatchBox(i), ControlRole::kPushButton,
            FormatText(texts[TextId::kLoopColorSwatchName], std::to_string(i + 1)),
            [this, i] { ChooseLoopColor(i); });
    swatch->value = hex;
    // The colour dialog opens only while the first loop colour is ticked.
    swatch->unavailable = !CanChooseLoopColor(rec);
  }
  add(kLedStageHeaderKeyId, firstGroup + 4, kLedStageHeader, ControlRole::kList,
      WithoutTrailingBlanks(texts[TextId::kDpiSelfColorLedSetting]), [this] { ToggleLedStageList(); })
      ->value = kLedStageTexts[static_cast<std::size_t>(selectedLedStage_)];
  for (int k = 0; k < kLedSquares; ++k) {
    const LedBit bit = LedBitOf(selectedLedStage_, k);
    add(kFirstLedSquareKeyId + k, firstGroup + 5, LedSquareBox(k), ControlRole::kCheckBox,
        FormatText(texts[TextId::kLedSquareName], std::to_string(k + 1)), [this, k] { ToggleLedBit(k); })
        ->checked = (rec.dpiStageLedBits[bit.byte] & bit.mask) != 0;
  }
  return controls;
}

void LightingArea::ToggleLedModeList() {
  std::vector<std::string> items;
  for (TextId id : kLedModeListTexts) items.emplace_back(model_.texts[id]);
  model_.lists().Toggle(kLedModeListId, kLedModeListArea, items);
}

void LightingArea::ToggleParameterList() {
  const int mode = record().auxLedMode;
  model_.lists().Toggle(kLedParameterListId, LedParameterListArea(mode), LedParameterTexts(mode));
}

void LightingArea::ToggleLedStageList() {
  model_.lists().Toggle(kLedStageListId, kLedStageListArea,
                        {kLedStageTexts.begin(), kLedStageTexts.end()});
}

void LightingArea::ToggleLoopColor(int color) {
  std::uint8_t& enabled = record().loopColorEnabled[color];
  enabled = enabled == 1 ? 0 : 1;
  model_.services().Redraw(model_.skin.skinFolderPath, [&](Canvas& canvas) {
    canvas.DrawImage(enabled == 1 ? kCheckBoxTickedImage : kCheckBoxImage,
                     LoopColorTickBox(color).TopLeft());
  });
}

void LightingArea::ChooseLoopColor(int color) {
  // The colour dialog opens only while the first loop colour is ticked,
  // whichever swatch was clicked.
  if (!CanChooseLoopColor(record())) return;
  const std::optional<Color> chosen = model_.services().ChooseColor();
  if (!chosen) return;
  std::uint8_t* rgb = record().loopColor[color];
  rgb[0] = chosen->red;
  rgb[1] = chosen->green;
  rgb[2] = chosen->blue;
  SetLooks();
}

void LightingArea::ToggleLedBit(int square) {
  const LedBit bit = LedBitOf(selectedLedStage_, square);
  std::uint8_t& byte = record().dpiStageLedBits[bit.byte];
  byte ^= bit.mask;
  const bool set = (byte & bit.mask) != 0;
  model_.services().Redraw(model_.skin.skinFolderPath, [&](Canvas& canvas) {
    canvas.DrawImage(set ? kDpiLightImage : kDpiDarkImage, LedSquareBox(square).TopLeft());
  });
}

void LightingArea::OnLedModeChosen(int index) {
  SettingsRecord& rec = record();
  if (!SetLedMode(rec, index)) return;
  ChildControls& controls = model_.services().childControls();
  controls.SetChildText(kLedModeStaticId, LedModeText(model_.texts, rec.auxLedMode));
  const std::string parameter = LedParameterText(rec.auxLedMode, rec.auxLedParam[index]);
  // A page drawn in "Off Mode" has no parameter text yet; the new mode has a
  // parameter, so it gets one now.
  if (controls.ChildExists(kLedParameterStaticId)) {
    controls.SetChildText(kLedParameterStaticId, parameter);
  } else if (controls.ChildExists(kLedModeStaticId)) {
    CreateParameterStatic(parameter);
    SetLooks();
  }
  model_.lists().Close(kLedModeListId);
}

void LightingArea::OnParameterChosen(int index) {
  if (index < 0) return;
  SettingsRecord& rec = record();
  const int mode = rec.auxLedMode;
  // Only an item of the mode's own list is stored.
  if (SetLedParameter(rec, index)) {
    model_.services().childControls().SetChildText(kLedParameterStaticId,
                                                  LedParameterText(mode, index));
  }
  model_.lists().Close(kLedParameterListId);
}

void LightingArea::OnLedStageChosen(int index) {
  if (index < 0 || index >= kLedStages) return;
  selectedLedStage_ = index;
  model_.lists().Close(kLedStageListId);
  model_.services().Redraw(model_.skin.skinFolderPath, [&](Canvas& canvas) {
    DrawStageHeader(canvas, index);
    DrawSquares(canvas, index);
  });
}

bool LightingArea::OnListChoice(int listId, int index) {
  switch (listId) {
    case kLedModeListId: OnLedModeChosen(index); return true;
    case kLedParameterListId: OnParameterChosen(index); return true;
    case kLedStageListId: OnLedStageChosen(index); return true;
    default: return false;
  }
}

void LightingArea::TrackListHover(Point p) {
  MainWindowServices& services = model_.services();
  for (int id : {kLedModeListId, kLedParameterListId, kLedStageListId}) {
    if (auto hit = services.ListItemAt(id, p)) {
      services.SelectListItem(id, hit->index);
      return;
    }
  }
}

}  // namespace vortal
