#include "ui/window/macro_editor_page.h"

#include <algorithm>
#include <cstdint>

#include "macro/macro_changes.h"
#include "macro/macro_encoder.h"
#include "macro/macro_store.h"
#include "files/text_encoding.h"
#include "files/file_io.h"
#include "settings/number_text.h"
#include "macro/user_messages.h"
#include "ui/dialogs/delay_dialog.h"
#include "ui/skin/skin_images.h"
#include "ui/skin/text_contrast.h"

namespace vortal {
namespace {

// The edits and static 119: the skin's text colour on black; lists 151 and
// 152 on the brush 0x050402 (white text where the skin's colour would not
// read on them); list 154 white on black.
constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kMacroListBack{0x02, 0x04, 0x05};
constexpr int kLoopFieldMaxChars = 5;  // 65535 and no more digits

constexpr std::string_view kClickSuffix = " Click";
constexpr std::string_view kDelayMarker = "ms";

struct Label {
  TextId text;
  Rect box;
  TextAlign align;
};

constexpr Label kLabels[] = {
    {TextId::kMacroSetting, {469, 160, 578, 181}, TextAlign::kCenter},
    {TextId::kSelectMacro, {457, 196, 592, 220}, TextAlign::kCenter},
    {TextId::kKeyPressSequence, {591, 196, 726, 220}, TextAlign::kCenter},
    {TextId::kRecordOption, {725, 196, 875, 220}, TextAlign::kCenter},
    {TextId::kStartRecording, {765, 239, 874, 268}, TextAlign::kLeft},
    {TextId::kStopRecording, {765, 275, 874, 304}, TextAlign::kLeft},
    {TextId::kMacroName, {735, 302, 874, 322}, TextAlign::kLeft},
    {TextId::kLoopTimes, {735, 342, 874, 362}, TextAlign::kLeft},
    {TextId::kInsertMouseEvent, {735, 382, 874, 402}, TextAlign::kLeft},
};

struct MacroButton {
  int hotId;
  Rect box;
  TextId caption;
};

constexpr MacroButton kMacroButtons[] = {
    {kNewMacroHotId, kNewMacroBox, TextId::kNew},
    {kDeleteMacroHotId, kDeleteMacroBox, TextId::kDelete},
    {kConfirmMacroHotId, kConfirmMacroBox, TextId::kConfirm},
};

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string ReplaceClick(std::string_view chosen, std::string_view marker) {
  std::string line(chosen);
  const std::size_t at = line.find(kClickSuffix);
  line.replace(at, kClickSuffix.size(), marker);
  return line;
}

// The store's English messages in the window's language, where it has them.
std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += ", ";
    joined += name;
  }
  return joined;
}

bool IsSlot(int index) { return index >= 0 && index < kMacroSlots; }


}  // namespace

const std::vector<std::string>& InsertListItems() {
  static const std::vector<std::string> items = {
      "L-Button Click", "R-Button Click", "M-Button Click", "L-Button   Dn", "L-Button   Up",
      "R-Button   Dn",  "R-Button   Up",  "M-Button   Dn",  "M-Button   Up",
  };
  return items;
}

EventInsertion PlanEventInsertion(const std::vector<std::string>& events, int selected,
                                  bool macroSelected, std::string_view chosen) {
  const bool click = Contains(chosen, "Click");
  const std::string delay = DelayLine(kRecordedDelayMs);
  std::vector<std::string> event;
  if (click) {
    event = {ReplaceClick(chosen, kPressMarker), delay, ReplaceClick(chosen, kReleaseMarker)};
  } else {
    event = {std::string(chosen)};
  }

  EventInsertion plan;
  if (selected < 0 || selected >= static_cast<int>(events.size())) {
    if (!events.empty() || !macroSelected) return plan;
    plan.position = 0;
    plan.lines = event;
    plan.lines.push_back(delay);
    return plan;
  }
  plan.position = selected + 1;
  if (Contains(events[selected], kDelayMarker)) {
    // After a delay: the event, then its own pause.
    plan.lines = event;
    plan.lines.push_back(delay);
    plan.selectAfter = selected + 1;
  } else {
    // After an event: a pause for it first.
    plan.lines = {delay};
    plan.lines.insert(plan.lines.end(), event.begin(), event.end());
    plan.selectAfter = selected + 2;
  }
  return plan;
}


MacroEditorPage::MacroEditorPage(MainWindowModel& window, std::string recordPath)
    : window_(window), recordPath_(std::move(recordPath)), recorder_(window.services(), window.texts, *this) {
  appliedNames_ = ListMacroNames(recordPath_);
}

void MacroEditorPage::OnApplied() { appliedNames_ = ListMacroNames(recordPath_); }

void MacroEditorPage::OnCancelled() {
  const std::vector<std::string> now = ListMacroNames(recordPath_);
  if (now == appliedNames_) return;
  ShowKeyOff(FollowMacroSlots(window_.settings().working, appliedNames_, now));
  ShowEncoded(EncodeMacros(recordPath_, window_.settings().working));
}

ChildControls& MacroEditorPage::controls() const { return window_.services().childControls(); }

void MacroEditorPage::Draw(Canvas& canvas) const {
  const Color color = window_.textColor();
  for (const Label& label : kLabels) {
    canvas.DrawText(window_.texts[label.text], label.box, label.align, color, FontKind::kNormal);
  }
  for (const MacroButton& button : kMacroButtons) {
    canvas.DrawImage(kButtonNormalImage, button.box.TopLeft());
    canvas.DrawText(window_.texts[button.caption], button.box, TextAlign::kCenter, color,
                    FontKind::kNormal);
  }
}

std::vector<HotControl> MacroEditorPage::HotControls() const {
  std::vector<HotControl> hot;
  for (const MacroButton& button : kMacroButtons) {
    hot.push_back({button.hotId, button.box, kMacroButtonGroup,
                   [this, button](Canvas& canvas, bool over) {
                     canvas.DrawImage(over ? kButtonOverImage : kButtonNormalImage,
                                      button.box.TopLeft());
                     canvas.DrawText(window_.texts[button.caption], button.box,
                                     TextAlign::kCenter, window_.textColor(), FontKind::kNormal);
                   }});
  }
  return hot;
}

std::vector<DropDownList> MacroEditorPage::Lists() const {
  return {{kInsertListId, kInsertListHeader, kInsertListArea, {}}};
}

std::vector<PageRegion> MacroEditorPage::Regions() {
  std::vector<PageRegion> regions = {
      RectRegion(kStartRecordingBox, [this](Point) { StartRecording(); }),
      RectRegion(kStopRecordingBox, [this](Point) { StopRecording(); }),
      RectRegion(kNewMacroBox, [this](Point) { NewMacro(); }),
      RectRegion(kDeleteMacroBox, [this](Point) { DeleteMacro(); }),
      RectRegion(kConfirmMacroBox, [this](Point) { ConfirmMacro(); }),
  };
  PageRegion insertBox = RectRegion(kInsertListHeader, [this](Point) { ToggleInsertList(); });
  insertBox.stopsDispatch = false;
  regions.push_back(insertBox);
  return regions;
}

std::vector<WindowControl> MacroEditorPage::Controls(int firstGroup) {
  ChildControls& c = controls();
  std::vector<WindowControl> list;
  int group = firstGroup;
  auto add = [&](int id, const Rect& box, ControlRole role, TextId name, std::function<void()> act,
                 int childId = 0) -> WindowControl& {
    WindowControl& control = list.emplace_back(MakeControl(id, group, box, role, Text(name), std::move(act)));
    control.childId = childId;
    return control;
  };
  add(kMacroNamesListId, kMacroListBox, ControlRole::kList, TextId::kSelectMacro, nullptr,
      kMacroNamesListId)
      .value = selected_ >= 0 && selected_ < static_cast<int>(names_.size())
                   ? names_[static_cast<std::size_t>(selected_)]
                   : std::string();
  ++group;
  // Enter on a delay line edits it, as a double-click does.
  add(kEventListId, kEventListBox, ControlRole::kList, TextId::kKeyPressSequence,
      [this] {
        const int line = controls().Selection(kEventListId);
        if (line >= 0) EditDelay(line);
      },
      kEventListId);
  ++group;
  add(kStartRecordingKeyId, kStartRecordingBox, ControlRole::kPushButton, TextId::kStartRecording,
      [this] { StartRecording(); });
  add(kStopRecordingKeyId, kStopRecordingBox, ControlRole::kPushButton, TextId::kStopRecording,
      [this] { StopRecording(); });
  ++group;
  add(kMacroNameEditId, kMacroNameEditBox, ControlRole::kText, TextId::kMacroName, nullptr,
      kMacroNameEditId)
      .value = c.ChildText(kMacroNameEditId);
  ++group;
  add(kLoopTimesEditId, kLoopTimesEditBox, ControlRole::kText, TextId::kLoopTimes, nullptr,
      kLoopTimesEditId)
      .value = c.ChildText(kLoopTimesEditId);
  ++group;
  add(kInsertHeaderKeyId, kInsertListHeader, ControlRole::kList, TextId::kInsertMouseEvent,
      [this] { ToggleInsertList(); });
  ++group;
  add(kNewMacroHotId, kNewMacroBox, ControlRole::kPushButton, TextId::kNew, [this] { NewMacro(); });
  add(kDeleteMacroHotId, kDeleteMacroBox, ControlRole::kPushButton, TextId::kDelete,
      [this] { DeleteMacro(); });
  add(kConfirmMacroHotId, kConfirmMacroBox, ControlRole::kPushButton, TextId::kConfirm,
      [this] { ConfirmMacro(); });
  return list;
}

bool MacroEditorPage::OwnsControl(int id) const {
  return id == kLoopTimesEditId || id == kMacroNameEditId || id == kMacroNamesListId ||
         id == kEventListId || id == kInsertedEventStaticId || id == kInsertListId;
}

void MacroEditorPage::CreateControls() {
  ChildControls& c = controls();
  const Color text = window_.textColor();
  c.CreateChild(kMacroNameEditId, ChildKind::kEdit, kMacroNameEditBox,
                 static_cast<int>(kMacroNameMaxChars));
  c.CreateChild(kLoopTimesEditId, ChildKind::kDigitsEdit, kLoopTimesEditBox, kLoopFieldMaxChars);
  c.CreateChild(kMacroNamesListId, ChildKind::kList, kMacroListBox);
  c.CreateChild(kEventListId, ChildKind::kHoverList, kEventListBox);
  c.CreateChild(kInsertedEventStaticId, ChildKind::kStatic, kInsertedEventBox);
  // A text colour chosen for a pale skin would not show on these dark fills.
  const Color onBlack = ReadableTextColor(text, kBlack);
  const Color onList = ReadableTextColor(text, kMacroListBack);
  c.SetChildLook(kMacroNameEditId, {onBlack, kBlack});
  c.SetChildLook(kLoopTimesEditId, {onBlack, kBlack});
  c.SetChildLook(kInsertedEventStaticId, {onBlack, kBlack});
  c.SetChildLook(kMacroNamesListId, {onList, kMacroListBack});
  c.SetChildLook(kEventListId, {onList, kMacroListBack});
  c.SetChildLook(kInsertListId, {kWhite, kBlack});
  const ChildEvents events{[this](int id) { OnEditChanged(id); },
                          [this](int id) { OnContextMenu(id); }};
  c.SetChildEvents(kMacroNameEditId, events);
  c.SetChildEvents(kLoopTimesEditId, events);
  c.SetChildEvents(kEventListId, events);

  names_.clear();
  selected_ = kNoItem;
  events_.clear();
  if (PathExists(recordPath_)) {
    names_ = ListMacroNames(recordPath_);
    if (!names_.empty()) {
      selected_ = 0;
      events_ = ReadMacro(recordPath_, names_.front());
    }
    c.SetChildText(kMacroNameEditId, names_.empty() ? std::string() : names_.front());
    c.SetChildText(kLoopTimesEditId, names_.empty() ? std::string()
                                                    : std::to_string(SlotLoopCount(window_.settings().working, 0)));
  }
  ShowNames();
  ShowEvents();
}

void MacroEditorPage::Teardown() {
  recorder_.Leave();
  window_.lists().Close(kInsertListId);
  for (int id : {kLoopTimesEditId, kMacroNameEditId, kMacroNamesListId, kEventListId,
                 kInsertedEventStaticId}) {
    controls().DestroyChild(id);
  }
}

void MacroEditorPage::ShowNames() {
  ChildControls& c = controls();
  c.ClearItems(kMacroNamesListId);
  for (const std::string& name : names_) c.InsertItem(kMacroNamesListId, kNoItem, name);
  c.Select(kMacroNamesListId, selected_);
}

void MacroEditorPage::ShowEvents() {
  ChildControls& c = controls();
  c.ClearItems(kEventListId);
  for (const std::string& line : events_) c.InsertItem(kEventListId, kNoItem, line);
}

void MacroEditorPage::ShowMacro(int index) {
  ChildControls& c = controls();
  if (index < 0 || index >= static_cast<int>(names_.size())) return;
  selected_ = index;
  c.SetChildText(kMacroNameEditId, names_[index]);
  const std::vector<std::string> lines = ReadMacro(recordPath_, names_[index]);
  events_ = lines;
  ShowEvents();
  // A hand-edited file can list more macros than the mouse has slots.
  if (!lines.empty() && IsSlot(index)) {
    c.SetChildText(kLoopTimesEditId,
                    std::to_string(SlotLoopCount(window_.settings().working, index)));
    c.RepaintChild(kLoopTimesEditId);
  }
}

void MacroEditorPage::StoreLoopCount() {
  ChildControls& c = controls();
  int value = ReadCNumber(c.ChildText(kLoopTimesEditId));
  if (value < 1 || value > kMaxLoopCount) {
    c.SetChildText(kLoopTimesEditId, "1");
    value = 1;
  }
  c.RepaintChild(kLoopTimesEditId);
  if (IsSlot(selected_)) SetSlotLoopCount(window_.settings().working, selected_, value);
}

void MacroEditorPage::OnEditChanged(int id) {
  ChildControls& c = controls();
  if (id == kLoopTimesEditId) {
    StoreLoopCount();
  } else if (id == kMacroNameEditId) {
    c.RepaintChild(kMacroNameEditId);
  }
}

void MacroEditorPage::OnListChoice(int listId, int index, bool doubleClick) {
  if (listId == kMacroNamesListId && !doubleClick) {
    ShowMacro(index);
  } else if (listId == kEventListId && doubleClick) {
    EditDelay(index);
  } else if (listId == kInsertListId) {
    InsertMouseEvent(index);
  }
}

void MacroEditorPage::OnContextMenu(int id) {
  ChildControls& c = controls();
  if (id != kEventListId) return;
  if (!c.TrackSingleItemMenu(window_.texts[TextId::kDelete])) return;
  const int line = c.Selection(kEventListId);
  if (line < 0 || line >= static_cast<int>(events_.size())) return;
  events_.erase(events_.begin() + line);
  c.DeleteItem(kEventListId, line);
}

void MacroEditorPage::ToggleInsertList() {
  window_.lists().Toggle(kInsertListId, kInsertListArea, InsertListItems());
}

void MacroEditorPage::InsertMouseEvent(int index) {
  ChildControls& c = controls();
  const std::vector<std::string>& items = InsertListItems();
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  const std::string& chosen = items[index];
  const EventInsertion plan =
      PlanEventInsertion(events_, c.Selection(kEventListId), HasSelectedMacro(), chosen);
  for (std::size_t i = 0; i < plan.lines.size(); ++i) {
    const int at = plan.position + static_cast<int>(i);
    events_.insert(events_.begin() + at, plan.lines[i]);
    c.InsertItem(kEventListId, at, plan.lines[i]);
  }
  if (plan.selectAfter != kNoItem) c.Select(kEventListId, plan.selectAfter);
  c.SetChildText(kInsertedEventStaticId, chosen);
  c.RepaintChild(kInsertedEventStaticId);
  window_.lists().Close(kInsertListId);
}

void MacroEditorPage::EditDelay(int line) {
  ChildControls& c = controls();
  if (line < 0 || line >= static_cast<int>(events_.size())) return;
  if (!Contains(events_[line], kDelayMarker)) return;
  CDelayTimeDialog dialog({window_.skin.skinFolderPath, window_.textColor(), window_.texts.language()});
  if (window_.services().RunSubDialog(dialog) != DialogResult::kOk) return;
  events_[line] = dialog.ResultLine();
  c.DeleteItem(kEventListId, line);
  c.InsertItem(kEventListId, line, events_[line]);
  c.Select(kEventListId, line);
}

void MacroEditorPage::NewMacro() {
  ChildControls& c = controls();
  MacroEditorState state;
  state.names = names_;
  if (selected_ != kNoItem) state.selected = static_cast<std::size_t>(selected_);
  state.events = events_;
  state.nameField = c.ChildText(kMacroNameEditId);
  const std::vector<std::string> before = state.names;
  switch (vortal::NewMacro(state)) {
    case NewMacroResult::kAdded:
      break;
    case NewMacroResult::kNameBlank:
      window_.services().Show(Text(TextId::kMacroNameBlank), kAppCaption);
      return;
    case NewMacroResult::kNameTooLong:
      window_.services().Show(Text(TextId::kMacroNameTooLong), kAppCaption);
      return;
    case NewMacroResult::kNameInvalid:
      window_.services().Show(Text(TextId::kMacroNameInvalid), kWarningCaption);
      return;
    case NewMacroResult::kTooMany:
      window_.services().Show(kMacroLimitMessage, kWarningCaption);
      return;
    case NewMacroResult::kNameExists:
      window_.services().Show(Text(TextId::kMacroNameExists), kAppCaption);
      return;
  }
  ShowKeyOff(FollowMacroSlots(window_.settings().working, before, state.names));
  names_ = state.names;
  selected_ = static_cast<int>(names_.size()) - 1;
  events_ = state.events;
  ShowNames();
  ShowEvents();
  // The new macro's slot starts at one loop, and the field says so rather
  // than still showing the count of the macro selected before.
  c.SetChildText(kLoopTimesEditId, "1");
}

void MacroEditorPage::DeleteMacro() {
  ChildControls& c = controls();
  if (selected_ < 0 || selected_ >= static_cast<int>(names_.size())) return;
  // The macros after it move up a slot at once, so that the slots, the
  // buttons and the macro dialog's positions all follow the file again.
  const std::string name = names_[static_cast<std::size_t>(selected_)];
  if (!ShowChange(RemoveMacro(recordPath_, window_.settings().working, names_, name))) return;
  selected_ = kNoItem;
  events_.clear();
  ShowNames();
  ShowEvents();
  c.SetChildText(kMacroNameEditId, "");
}

void MacroEditorPage::ConfirmMacro() {
  if (selected_ < 0 || selected_ >= static_cast<int>(names_.size())) return;
  const std::string name = names_[static_cast<std::size_t>(selected_)];
  if (!ShowChange(StoreMacro(recordPath_, window_.settings().working, names_, name, events_)))
    return;
  selected_ = static_cast<int>(std::find(names_.begin(), names_.end(), name) - names_.begin());
  ShowNames();
}

bool MacroEditorPage::ShowChange(const MacroChange& change) {
  switch (change.problem) {
    case MacroChangeProblem::kNone: break;
    case MacroChangeProblem::kTooLongForMouse:
      window_.services().Show(Text(TextId::kMacroTooLongForMouse), kWarningCaption);
      return false;
    case MacroChangeProblem::kNotSaved:
      window_.services().Show(Text(TextId::kMacroNotSaved), kWarningCaption);
      return false;
    case MacroChangeProblem::kNotDeleted:
      window_.services().Show(Text(TextId::kMacroNotDeleted), kWarningCaption);
      return false;
  }
  ShowKeyOff(change.keyOff);
  names_ = change.order;
  ShowEncoded(change.encoded);
  return true;
}

void MacroEditorPage::ShowEncoded(const MacroEncodeResult& result) {
  if (!result.cutMacros.empty()) {
    window_.services().Show(Text(TextId::kMacrosCut) + JoinNames(result.cutMacros), kWarningCaption);
  }
  if (!result.droppedMacros.empty()) {
    window_.services().Show(Text(TextId::kMacrosDropped) + JoinNames(result.droppedMacros),
                            kWarningCaption);
  }
}

void MacroEditorPage::ShowKeyOff(const std::vector<RecordButton>& buttons) {
  ShowKeyOffLabels(window_.skin.paneText, buttons, window_.texts);
}

bool MacroEditorPage::HasMacros() const { return !names_.empty(); }

bool MacroEditorPage::HasSelectedMacro() const { return selected_ != kNoItem; }

void MacroEditorPage::ClearEvents() {
  events_.clear();
  ShowEvents();
}

void MacroEditorPage::AppendEvent(const std::string& line) {
  ChildControls& c = controls();
  events_.push_back(line);
  c.InsertItem(kEventListId, kNoItem, line);
  c.Select(kEventListId, static_cast<int>(events_.size()) - 1);
}

}  // namespace vortal
