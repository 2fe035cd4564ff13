#include "ui/dialogs/sub_dialog_frame.h"

#include <utility>

#include "ui/skin/skin_images.h"

namespace vortal {

std::string_view SubDialogOkLabel(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese: return "确定";
    case Language::kTraditionalChinese: return "確定";
    case Language::kEnglish: break;
  }
  return "OK";
}

std::string_view SubDialogCancelLabel(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese:
    case Language::kTraditionalChinese: return "取消";
    case Language::kEnglish: break;
  }
  return "Cancel";
}

SubDialogFrame::SubDialogFrame(SubDialogLook look, std::string_view backgroundImage,
                               std::string_view failureCaption,
                               std::optional<SubDialogDropDown> dropDown)
    : look_(std::move(look)),
      backgroundImage_(backgroundImage),
      failureCaption_(failureCaption),
      dropDown_(dropDown) {}

bool SubDialogFrame::Initialize(SubDialogHost& host) {
  host_ = &host;
  if (!host.LoadBackground(look_.skinFolderPath, backgroundImage_)) {
    host.Show(std::string(kBackgroundFailedText), failureCaption_);
    End(DialogResult::kCancel);
    usable_ = false;
    return false;
  }
  usable_ = true;
  CreateControls();
  return true;
}

void SubDialogFrame::End(DialogResult result) {
  result_ = result;
  host_->EndDialog(result);
}

bool SubDialogFrame::DrawSkinPng(Canvas& canvas, std::string_view imageName, Point at) {
  if (canvas.DrawImage(imageName, at)) return true;
  ++missingImages_;
  return false;
}

void SubDialogFrame::Redraw(const std::function<void(Canvas&)>& draw) {
  if (host_ == nullptr || !usable_) return;
  missingImages_ = 0;
  host_->Redraw(look_.skinFolderPath, draw);
  // Told after the repaint, not from inside it, once per missing image.
  for (int i = 0; i < missingImages_; ++i) {
    host_->Show(std::string(kImageFailedText), kAppCaption);
  }
  missingImages_ = 0;
}

void SubDialogFrame::DrawButton(Canvas& canvas, const Rect& box, std::string_view label,
                                bool over) {
  DrawSkinPng(canvas, over ? kButtonOverImage : kButtonNormalImage, box.TopLeft());
  canvas.DrawText(label, box, TextAlign::kCenter, look_.textColor, FontKind::kNormal);
}

void SubDialogFrame::DrawClose(Canvas& canvas, bool over) {
  DrawSkinPng(canvas, over ? kCloseOverImage : kCloseNormalImage, kSubDialogCloseBox.TopLeft());
}

void SubDialogFrame::DrawTitle(Canvas& canvas) {
  const SubDialogTitle title = Title();
  const std::string_view text = title.text.In(look_.language);
  if (text.empty()) return;
  canvas.DrawText(text,
                  {title.left, kSubDialogTitleTop, kSubDialogTitleRight, kSubDialogTitleBottom},
                  TextAlign::kLeft, kDialogTitleColor, FontKind::kDialogTitle);
}

void SubDialogFrame::Paint() {
  Redraw([this](Canvas& canvas) {
    DrawTitle(canvas);
    DrawButton(canvas, kSubDialogOkBox, SubDialogOkLabel(look_.language), false);
    DrawButton(canvas, kSubDialogCancelBox, SubDialogCancelLabel(look_.language), false);
    DrawContents(canvas);
    DrawClose(canvas, false);
  });
}

void SubDialogFrame::OnMouseHover(Point p) {
  if (kSubDialogCloseBox.Contains(p)) {
    Redraw([this](Canvas& canvas) { DrawClose(canvas, true); });
    closeHovered_ = true;
  } else if (kSubDialogOkBox.Contains(p)) {
    const bool restoreCancel = cancelHovered_;
    Redraw([&](Canvas& canvas) {
      DrawButton(canvas, kSubDialogOkBox, SubDialogOkLabel(look_.language), true);
      if (restoreCancel) {
        DrawButton(canvas, kSubDialogCancelBox, SubDialogCancelLabel(look_.language), false);
      }
    });
    okHovered_ = true;
    cancelHovered_ = false;
  } else if (kSubDialogCancelBox.Contains(p)) {
    const bool restoreOk = okHovered_;
    Redraw([&](Canvas& canvas) {
      DrawButton(canvas, kSubDialogCancelBox, SubDialogCancelLabel(look_.language), true);
      if (restoreOk) DrawButton(canvas, kSubDialogOkBox, SubDialogOkLabel(look_.language), false);
    });
    cancelHovered_ = true;
    okHovered_ = false;
  }
}

void SubDialogFrame::OnMouseMove(Point p) {
  if (kSubDialogOkBox.Contains(p) || kSubDialogCancelBox.Contains(p) ||
      kSubDialogCloseBox.Contains(p)) {
    if (host_ != nullptr) host_->RequestHover();
    return;
  }
  if (!okHovered_ && !cancelHovered_ && !closeHovered_) return;
  const bool ok = okHovered_, cancel = cancelHovered_, close = closeHovered_;
  Redraw([&](Canvas& canvas) {
    if (ok) DrawButton(canvas, kSubDialogOkBox, SubDialogOkLabel(look_.language), false);
    if (cancel) {
      DrawButton(canvas, kSubDialogCancelBox, SubDialogCancelLabel(look_.language), false);
    }
    if (close) DrawClose(canvas, false);
  });
  okHovered_ = cancelHovered_ = closeHovered_ = false;
}

void SubDialogFrame::OnLeftButtonDown(Point p) {
  if (host_ == nullptr) return;
  if (dropDown_ && listOpen_ && !dropDown_->list.Contains(p) && !dropDown_->field.Contains(p)) {
    CloseList();
  }
  if (kSubDialogOkBox.Contains(p)) PressOk();
  if (kSubDialogCancelBox.Contains(p)) End(DialogResult::kCancel);
  if (kSubDialogCloseBox.Contains(p)) End(DialogResult::kCancel);
  if (dropDown_ && dropDown_->field.Contains(p)) ToggleList();
  OnDialogClick(p);
}

void SubDialogFrame::PressOk() {
  if (OnOk()) End(DialogResult::kOk);
}

std::vector<WindowControl> SubDialogFrame::Controls() {
  std::vector<WindowControl> controls;
  const auto frame = MakeControl;
  if (dropDown_) {
    WindowControl field = frame(kSubDialogDropDownKeyId, 0, dropDown_->field, ControlRole::kList,
                                DropDownName(), [this] { ToggleList(); });
    field.value = DropDownValue();
    controls.push_back(std::move(field));
  }
  for (WindowControl& control : DialogControls()) controls.push_back(std::move(control));
  controls.push_back(frame(kSubDialogOkKeyId, -1, kSubDialogOkBox, ControlRole::kPushButton,
                           std::string(SubDialogOkLabel(look_.language)), [this] { PressOk(); }));
  controls.push_back(frame(kSubDialogCancelKeyId, -1, kSubDialogCancelBox, ControlRole::kPushButton,
                           std::string(SubDialogCancelLabel(look_.language)),
                           [this] { End(DialogResult::kCancel); }));
  controls.push_back(frame(kSubDialogCloseKeyId, -2, kSubDialogCloseBox, ControlRole::kPushButton,
                           std::string(LocalizedTexts(look_.language)[TextId::kCloseButton]),
                           [this] { End(DialogResult::kCancel); }));
  return controls;
}

bool SubDialogFrame::OnKey(const KeyPress& key) {
  if (host_ == nullptr || !usable_ || result_ != DialogResult::kNone) return false;
  if (dropDown_ && listOpen_ && host_->ListExists(dropDown_->listId)) {
    if (key.key != Key::kTab) {
      KeyInOpenList(
          key, *host_, dropDown_->listId, ListItems(), [this](int index) { OnListChoice(index); },
          [this] { CloseList(); });
      ShowFocus();
      return true;
    }
    CloseList();
  }
  const std::vector<WindowControl> controls = Controls();
  focus_.FollowChild(host_->childControls().FocusedChild(), controls);
  const WindowControl* current = focus_.Focused(controls);
  const bool onButton = current != nullptr && current->role == ControlRole::kPushButton;
  if (key.key == Key::kEscape) {
    End(DialogResult::kCancel);
    return true;
  }
  if (key.key == Key::kEnter && !onButton) {
    PressOk();
    return true;
  }
  const bool used = focus_.OnKey(key, controls);
  if (used) ShowFocus();
  return used;
}

WindowControl SubDialogFrame::FieldControl(int childId, int group, const Rect& box,
                                           std::string_view name) {
  WindowControl control = MakeControl(childId, group, box, ControlRole::kText, std::string(name));
  control.childId = childId;
  return control;
}

int SubDialogFrame::FocusedControl() { return focus_.focused(Controls()); }

void SubDialogFrame::FocusControl(int id) {
  focus_.Show(id);
  ShowFocus();
}

void SubDialogFrame::ShowFocus() {
  if (host_ == nullptr || result_ != DialogResult::kNone) return;
  ShowFocusIn(focus_, Controls(), *host_, host_->childControls());
}

std::string SubDialogFrame::FocusedName() {
  const std::vector<WindowControl> controls = Controls();
  const WindowControl* control = focus_.Focused(controls);
  return control ? control->name : std::string();
}

void SubDialogFrame::CloseList() {
  if (host_->ListExists(dropDown_->listId)) host_->DestroyList(dropDown_->listId);
  host_->SetEditsEnabled(true);
  listOpen_ = false;
}

void SubDialogFrame::ToggleList() {
  if (listOpen_) {
    CloseList();
    return;
  }
  if (!host_->ListExists(dropDown_->listId)) {
    host_->SetEditsEnabled(false);
    host_->CreateList(dropDown_->listId, dropDown_->list, ListItems());
  }
  listOpen_ = true;
}

void SubDialogFrame::ScrollOpenList(int delta) {
  if (host_ == nullptr || !dropDown_ || !host_->ListExists(dropDown_->listId)) return;
  host_->ScrollList(dropDown_->listId, delta > 0 ? -kWheelScrollLines : kWheelScrollLines);
}

void SubDialogFrame::OnListChoice(int index) {
  if (host_ == nullptr || !dropDown_) return;
  listOpen_ = false;
  const std::vector<std::string> items = ListItems();
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  OnListItemChosen(index, items[index]);
  host_->Invalidate(dropDown_->field);
  if (host_->ListExists(dropDown_->listId)) host_->DestroyList(dropDown_->listId);
  host_->SetEditsEnabled(true);
}

}  // namespace vortal
