#include "ui/window/main_window_model.h"
#include "edit/apply_shortfall.h"

#include <utility>

#include "ui/skin/skin_images.h"
#include "vortal_version.h"

namespace vortal {

const std::array<FrameButton, 8> kFrameButtons = {{
    {kFrameOk, {513, 609, 618, 630}, kButtonNormalImage, kButtonOverImage, TextId::kOk,
     kBottomButtonGroup},
    {kFrameApply, {617, 609, 722, 630}, kButtonNormalImage, kButtonOverImage, TextId::kApply,
     kBottomButtonGroup},
    {kFrameCancel, {721, 609, 826, 630}, kButtonNormalImage, kButtonOverImage, TextId::kCancel,
     kBottomButtonGroup},
    {kFrameSkins, {701, 5, 719, 23}, kSkinsButtonNormalImage, kSkinsButtonOverImage,
     std::nullopt, 0},
    {kFrameMinimise, {825, 5, 843, 23}, kMinimizeNormalImage, kMinimizeOverImage, std::nullopt,
     0},
    {kFrameClose, {850, 5, 868, 23}, kCloseNormalImage, kCloseOverImage, std::nullopt, 0},
    {kFrameBasicPage, {20, 55, 60, 95}, kBasicPageButtonNormalImage, kBasicPageButtonOverImage,
     std::nullopt, kPageButtonGroup},
    {kFrameAdvancedPage, {70, 55, 110, 95}, kAdvancedPageButtonNormalImage,
     kAdvancedPageButtonOverImage, std::nullopt, kPageButtonGroup},
}};

const FrameButton& FrameButtonOf(FrameControlId id) { return kFrameButtons[id - kFrameOk]; }

MainWindowModel::MainWindowModel(MainWindowServices& services, MouseLink& link,
                                 HidBackend& backend, SettingsState& settings,
                                 MainWindowFiles files)
    : services_(services),
      link_(link),
      backend_(backend),
      settings_(settings),
      files_(std::move(files)),
      lists_(services) {}

void MainWindowModel::SetPage(int number, MainWindowPage* page) {
  if (number == kBasicPage || number == kAdvancedPage) pages_[number - 1] = page;
}

MainWindowPage* MainWindowModel::Page(int number) const {
  if (number == kBasicPage || number == kAdvancedPage) return pages_[number - 1];
  return nullptr;
}

void MainWindowModel::OnLeftButtonDown(Point p) {
  lastClick_ = p;
  // The control clicked takes the focus, as in every window.
  if (focus_.keyboardUsed()) {
    for (const WindowControl& control : Controls()) {
      if (!control.box.Contains(p)) continue;
      focus_.Focus(control.id);
      break;
    }
  }
  Click(p);
  ShowFocus();
}

void MainWindowModel::Click(Point p) {
  auto in = [p](FrameControlId id) { return FrameButtonOf(id).box.Contains(p); };

  // OK, Apply and Cancel are tested independently: on a shared column both
  // neighbours act, left one first.
  // A refused Apply keeps the window open under its message, and the
  // neighbour sharing the column does not repeat the message.
  bool refused = false;
  if (in(kFrameOk) && link_.devicePresent) {
    if (ApplySettings()) {
      services_.HideWindow();
    } else {
      refused = true;
    }
  }
  if (in(kFrameApply) && link_.devicePresent && !refused) ApplySettings();
  if (in(kFrameSkins) && openSkinDialog) {
    // The dialog took the click (its button went up in the dialog): a drag
    // started now would keep the window on the pointer until the next click.
    openSkinDialog();
    return;
  }
  if (in(kFrameMinimise)) {
    services_.HideWindow();  // it lives on in the tray
    return;
  }
  if (in(kFrameClose)) {
    Exit();
    return;
  }
  if (in(kFrameBasicPage)) {
    ShowPage(kBasicPage);
    return;
  }
  if (in(kFrameAdvancedPage)) {
    ShowPage(kAdvancedPage);
    return;
  }
  if (in(kFrameCancel)) CancelChanges();
  DispatchToPage(p);
}

void MainWindowModel::PressFrameButton(FrameControlId id) {
  switch (id) {
    case kFrameOk:
      if (link_.devicePresent && ApplySettings()) services_.HideWindow();
      break;
    case kFrameApply:
      if (link_.devicePresent) ApplySettings();
      break;
    case kFrameCancel:
      CancelChanges();
      break;
    case kFrameSkins:
      if (openSkinDialog) openSkinDialog();
      break;
    case kFrameMinimise:
      services_.HideWindow();
      break;
    case kFrameClose:
      Exit();
      break;
    case kFrameBasicPage:
      ShowPage(kBasicPage);
      break;
    case kFrameAdvancedPage:
      ShowPage(kAdvancedPage);
      break;
  }
}

std::vector<WindowControl> MainWindowModel::Controls() {
  auto frame = [this](FrameControlId id, ControlRole role, std::string name, int group) {
    WindowControl control = MakeControl(id, group, FrameButtonOf(id).box, role, std::move(name),
                                        [this, id] { PressFrameButton(id); });
    // OK and Apply do nothing without the mouse.
    control.unavailable = (id == kFrameOk || id == kFrameApply) && !link_.devicePresent;
    return control;
  };
  std::vector<WindowControl> controls;
  for (auto [id, page, text] : {std::tuple{kFrameBasicPage, kBasicPage, TextId::kBasicSettings},
                                std::tuple{kFrameAdvancedPage, kAdvancedPage, TextId::kAdvancedSettings}}) {
    WindowControl tab = frame(id, ControlRole::kPageTab, std::string(texts[text]), kPageButtonGroup);
    tab.checked = currentPage_ == page;
    controls.push_back(std::move(tab));
  }
  if (MainWindowPage* page = Page(currentPage_)) {
    for (WindowControl& control : page->Controls()) controls.push_back(std::move(control));
  }
  controls.push_back(frame(kFrameOk, ControlRole::kPushButton, std::string(texts[TextId::kOk]), kBottomButtonGroup));
  controls.push_back(frame(kFrameApply, ControlRole::kPushButton, std::string(texts[TextId::kApply]), kBottomButtonGroup));
  controls.push_back(frame(kFrameCancel, ControlRole::kPushButton, std::string(texts[TextId::kCancel]), kBottomButtonGroup));
  controls.push_back(frame(kFrameSkins, ControlRole::kPushButton, std::string(texts[TextId::kSkinsButton]), kTitleButtonGroup));
  controls.push_back(frame(kFrameMinimise, ControlRole::kPushButton, std::string(texts[TextId::kMinimizeButton]), kTitleButtonGroup));
  controls.push_back(frame(kFrameClose, ControlRole::kPushButton, std::string(texts[TextId::kCloseButton]), kTitleButtonGroup));
  return controls;
}

bool MainWindowModel::OnKey(const KeyPress& key) {
  MainWindowPage* page = Page(currentPage_);
  focus_.FollowChild(services_.childControls().FocusedChild(), Controls());
  if (key.key == Key::kTab && key.ctrl) {
    const int next = currentPage_ == kBasicPage ? kAdvancedPage : kBasicPage;
    ShowPage(next);
    focus_.Show(next == kBasicPage ? kFrameBasicPage : kFrameAdvancedPage);
    ShowFocus();
    return true;
  }
  if (page != nullptr && lists_.KeyboardList() != 0) {
    if (key.key != Key::kTab) {
      lists_.OnKey(key, [page](int id, int index) { page->OnListChoice(id, index, false); });
      ShowFocus();
      return true;
    }
    // Tab leaves the lists: they close as for a click elsewhere.
    lists_.CloseOutside(page->Lists(), {-1, -1});
  }
  const bool used = focus_.OnKey(key, Controls());
  if (used) ShowFocus();
  return used;
}

void MainWindowModel::ShowFocus() {
  if (!focus_.keyboardUsed()) return;
  ShowFocusIn(focus_, Controls(), services_, services_.childControls(), lists_.KeyboardList() != 0);
}

std::string MainWindowModel::FocusedName() {
  const std::vector<WindowControl> controls = Controls();
  const WindowControl* control = focus_.Focused(controls);
  return control ? control->name : std::string();
}

void MainWindowModel::DispatchToPage(Point p) {
  MainWindowPage* page = Page(currentPage_);
  if (page != nullptr) {
    lists_.CloseOutside(page->Lists(), p);
    for (const PageRegion& region : page->Regions()) {
      if (!region.contains(p)) continue;
      region.action(p);
      if (region.stopsDispatch) return;
    }
  }
  // A free spot: the user moves the borderless window by dragging it.
  services_.StartWindowDrag(p);
}

namespace {

TextId SettingsProblemText(LoadResult result) {
  switch (result) {
    case LoadResult::kMissing:
      return TextId::kSettingsMissing;
    case LoadResult::kWrongSize:
      return TextId::kSettingsDamaged;
    case LoadResult::kUnreadable:
      return TextId::kSettingsUnreadable;
    case LoadResult::kNotRead:
    case LoadResult::kLoaded:
      break;
  }
  return TextId::kSettingsNotRead;
}

}  // namespace

void MainWindowModel::SettingsLoaded(LoadResult result) {
  settingsLoad_ = result;
  appliedPaneText_ = skin.paneText;
}

// Long enough to read, short enough not to linger over a game.
constexpr int kAppliedBalloonMs = 3000;

bool MainWindowModel::ApplySettings() {
  if (!settingsUsable()) {
    services_.Show(FormatText(texts[SettingsProblemText(settingsLoad_)], files_.settingsFile),
                   kAppCaption);
    return false;
  }
  ApplyFiles applyFiles;
  applyFiles.settingsFile = files_.settingsFile;
  applyFiles.savePaneTexts = [this] {
    return SavePaneTexts(files_.skinSettingsFile, texts[TextId::kSkinSection], skin.paneText);
  };
  const ApplyReport report = link_.Apply(settings_, applyFiles);
  if (!report.settingsFile.saved()) {
    const bool missing = report.settingsFile.status == SaveStatus::kMissing;
    services_.Show(SaveProblemText(report.settingsFile), missing ? kAppCaption : kSettingsWriteFailedCaption);
  }
  if (!report.paneTextsSaved) {
    services_.Show(FormatText(texts[TextId::kPaneTextsNotSaved], files_.skinSettingsFile), kAppCaption);
  }
  settings_.Snapshot();
  appliedPaneText_ = skin.paneText;
  if (afterApply) afterApply();
  // Said only when the mouse took everything; else what it did not take,
  // and that config.bin keeps the settings for the next Apply.
  if (report.Applied()) {
    services_.ShowTrayBalloon(texts[TextId::kSettingsApplied], kAppCaption, BalloonIcon::kInfo,
                              kAppliedBalloonMs);
  } else {
    services_.Show(FormatText(texts[TextId::kSettingsNotApplied], DescribeShortfall(report, texts)),
                   kAppCaption);
  }
  return true;
}

void MainWindowModel::CancelChanges() {
  settings_.Revert();
  skin.paneText = appliedPaneText_;
  if (afterCancel) afterCancel();
  restoreRedrawPending = true;
  services_.HideWindow();
}

void MainWindowModel::Exit() {
  services_.CloseListenerHandles();
  link_.Detach();
  services_.RemoveTrayIcon();
  services_.ExitProcess(0);
}

void MainWindowModel::ShowPage(int number) {
  if (number == currentPage_) return;
  BuildPage(number);
}

void MainWindowModel::BuildPage(int number) {
  TeardownPagesExcept(number);
  // Hot controls of the page that goes no longer exist on the window.
  if (number != currentPage_) {
    std::set<int> frameOnly;
    for (int id : drawnOver_) {
      if (id >= kFrameOk && id <= kFrameAdvancedPage) frameOnly.insert(id);
    }
    drawnOver_ = std::move(frameOnly);
  }
  if (MainWindowPage* page = Page(number)) page->Build();
  currentPage_ = number;
  if (number == kBasicPage) basicPageBuilt_ = true;
}

void MainWindowModel::TeardownPagesExcept(int keep) {
  for (int number : {kBasicPage, kAdvancedPage}) {
    if (number == keep) continue;
    if (MainWindowPage* page = Page(number)) page->Teardown();
  }
}

void MainWindowModel::RedrawWhole() {
  drawnOver_.clear();
  if (MainWindowPage* page = Page(currentPage_)) {
    page->Build();
  } else {
    services_.Redraw(skin.skinFolderPath, [this](Canvas& canvas) { DrawFrame(canvas); });
  }
}

void MainWindowModel::OnListNotification(int listId, int index, bool doubleClick) {
  // Only the shown page has list boxes: the others were torn down with it.
  if (MainWindowPage* page = Page(currentPage_)) page->OnListChoice(listId, index, doubleClick);
}

bool MainWindowModel::OnNcPaint() {
  if (hideOnStartCount_ <= 0) return false;
  --hideOnStartCount_;
  services_.HideWindow();
  return true;
}

std::vector<HotControl> MainWindowModel::HotControls() const {
  std::vector<HotControl> controls;
  for (const FrameButton& button : kFrameButtons) {
    controls.push_back({button.id, button.box, button.group,
                        [this, &button](Canvas& canvas, bool over) {
                          canvas.DrawImage(over ? button.overImage : button.normalImage,
                                           button.box.TopLeft());
                          if (button.caption) {
                            canvas.DrawText(texts[*button.caption], button.box,
                                            TextAlign::kCenter, textColor(), FontKind::kNormal);
                          }
                        }});
  }
  if (MainWindowPage* page = Page(currentPage_)) {
    for (HotControl& control : page->HotControls()) controls.push_back(std::move(control));
  }
  return controls;
}

void MainWindowModel::DrawHotControl(Canvas& canvas, const HotControl& control, bool over) const {
  if (control.draw) control.draw(canvas, over);
}

void MainWindowModel::DrawFrame(Canvas& canvas) const {
  for (const HotControl& control : HotControls()) {
    if (control.id >= kFrameOk && control.id <= kFrameAdvancedPage) {
      DrawHotControl(canvas, control, false);
    }
  }
  if (!kVortalWebAddress.empty()) {
    canvas.DrawText(kVortalWebAddress, kWebAddressBox, TextAlign::kRight, kWebAddressColor,
                    FontKind::kNormal);
  }
}

void MainWindowModel::OnMouseHover(Point p) {
  const std::vector<HotControl> controls = HotControls();
  const HotControl* hit = nullptr;
  for (const HotControl& control : controls) {
    if (control.box.Contains(p)) {
      hit = &control;
      break;
    }
  }
  if (hit == nullptr) return;
  services_.Redraw(skin.skinFolderPath, [&](Canvas& canvas) {
    DrawHotControl(canvas, *hit, true);
    if (hit->group == 0) return;
    for (const HotControl& other : controls) {
      if (other.id == hit->id || other.group != hit->group || !IsDrawnOver(other.id)) continue;
      DrawHotControl(canvas, other, false);
      drawnOver_.erase(other.id);
    }
  });
  // Set even when nothing could be drawn, so the pointer's next free spot
  // behaves the same.
  drawnOver_.insert(hit->id);
}

void MainWindowModel::OnMouseMove(Point p) {
  for (const FrameButton& button : kFrameButtons) {
    if (button.box.Contains(p)) {
      services_.RequestHover();
      return;
    }
  }
  if (MainWindowPage* page = Page(currentPage_)) {
    for (const HotControl& control : page->HotControls()) {
      if (control.box.Contains(p)) {
        services_.RequestHover();
        return;
      }
    }
  }
  RestoreAllDrawnOver();
}

void MainWindowModel::RestoreAllDrawnOver() {
  if (drawnOver_.empty()) return;
  const std::vector<HotControl> controls = HotControls();
  services_.Redraw(skin.skinFolderPath, [&](Canvas& canvas) {
    for (const HotControl& control : controls) {
      if (IsDrawnOver(control.id)) DrawHotControl(canvas, control, false);
    }
  });
  drawnOver_.clear();
}

}  // namespace vortal
