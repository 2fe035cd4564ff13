// MacroEditorPage: the macro half of the advanced settings page. The user
// creates, names, records, edits, confirms and deletes macros here; the page
// works on the definitions in "record.ini" and on the encoded slots of the
// working settings record. The advanced page draws it, creates its controls,
// tests its regions in its place of the click order and hands it the
// notifications of its controls.
//
// Two things are refused rather than lost:
// - A macro name longer than the 31 characters every reader of
//   "record.ini" takes: the name field accepts no more, and "New" with a
//   longer name (pasted, say) is refused with a message instead of being
//   cut, so the name in the list is always the name the user typed.
// - A macro whose events do not fit the 126 bytes of its slot: "Confirm"
//   tells the user how many events fit and stores nothing, so the lines stay
//   on screen to be shortened. Macros of a hand-edited file that are cut by
//   the encoder, or lie beyond the twelfth slot, are named in a message after
//   every encoding pass.
//
// Buttons keep their macros. A button holds its macro's slot number, and a
// slot is a macro's place in the file, which Confirm (the macro moves to the
// end) and Delete change. After every New, Delete and Confirm the loop counts
// and the Macro Key buttons of both modes follow their macros to their new
// slots, and Delete encodes the slots again at once, so the slots, the
// buttons and the macro dialog's positions agree with the file. A button
// whose macro was deleted becomes "Key Off", and its pane says so.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_changes.h"
#include "macro/macro_recorder.h"
#include "ui/host/child_controls.h"
#include "ui/window/drop_down_lists.h"
#include "ui/window/main_window_model.h"

namespace vortal {

// Child windows of the page, in main window client coordinates.
inline constexpr int kLoopTimesEditId = 149;
inline constexpr int kMacroNameEditId = 150;
inline constexpr int kMacroNamesListId = 151;
inline constexpr int kEventListId = 152;
inline constexpr int kInsertedEventStaticId = 119;
inline constexpr int kInsertListId = 154;

inline constexpr Rect kMacroNameEditBox{735, 322, 799, 336};
inline constexpr Rect kLoopTimesEditBox{735, 362, 799, 376};
inline constexpr Rect kMacroListBox{462, 220, 591, 512};
inline constexpr Rect kEventListBox{592, 220, 725, 512};
inline constexpr Rect kInsertedEventBox{735, 402, 839, 416};
inline constexpr Rect kInsertListArea{734, 419, 854, 569};

// Painted buttons.
inline constexpr Rect kNewMacroBox{513, 528, 618, 549};
inline constexpr Rect kDeleteMacroBox{617, 528, 722, 549};
inline constexpr Rect kConfirmMacroBox{721, 528, 826, 549};
inline constexpr Rect kStartRecordingBox{735, 229, 764, 258};
inline constexpr Rect kStopRecordingBox{735, 265, 764, 294};
inline constexpr Rect kInsertListHeader{735, 402, 854, 416};

// Hot controls of the New / Delete / Confirm group.
inline constexpr int kNewMacroHotId = 301;
inline constexpr int kDeleteMacroHotId = 302;
inline constexpr int kConfirmMacroHotId = 303;
inline constexpr int kMacroButtonGroup = 3;
// The keyboard's ids of the drawn buttons and the insert list's header.
inline constexpr int kStartRecordingKeyId = 304;
inline constexpr int kStopRecordingKeyId = 305;
inline constexpr int kInsertHeaderKeyId = 306;


// The nine items of the "Insert A Mouse Event" list.
const std::vector<std::string>& InsertListItems();

// Lines to insert for a chosen mouse event, and the selection afterwards.
struct EventInsertion {
  int position = 0;                // where the first line goes
  std::vector<std::string> lines;  // empty: nothing is inserted
  int selectAfter = kNoItem;       // kNoItem: the selection is left as it is
};

// The insertion rule that keeps events and delays alternating. `selected`
// is the event list's selection (kNoItem for none).
EventInsertion PlanEventInsertion(const std::vector<std::string>& events, int selected,
                                  bool macroSelected, std::string_view chosen);

class MacroEditorPage : private RecordingEditor {
 public:
  MacroEditorPage(MainWindowModel& window, std::string recordPath);

  // OK or Apply made the working record the applied one: its slots follow
  // record.ini as it is now.
  void OnApplied();
  // Cancel took the record back to the slots of the last Apply, but not
  // record.ini: the buttons and loop counts follow their macros to the slots
  // the file gives them now, and the slots are encoded again.
  void OnCancelled();

  // The labels and the New / Delete / Confirm buttons.
  void Draw(Canvas& canvas) const;
  // Creates the child windows and fills them from "record.ini".
  void CreateControls();
  // Destroys the child windows and the insert list, removes a recording hook.
  void Teardown();

  // The insert list, which a click elsewhere on the page closes.
  std::vector<DropDownList> Lists() const;
  // In click order: Start and Stop Recording, New, Delete, Confirm, then the
  // insert-list box, which acts and lets the click go on.
  std::vector<PageRegion> Regions();
  std::vector<HotControl> HotControls() const;
  // Its controls in focus order, in groups from `firstGroup` on.
  std::vector<WindowControl> Controls(int firstGroup);
  bool OwnsControl(int id) const;

  // Notifications of the page's child windows.
  void OnListChoice(int listId, int index, bool doubleClick);
  void OnEditChanged(int id);
  // The right button over a child window.
  void OnContextMenu(int id);

  // The buttons.
  void NewMacro();
  void DeleteMacro();
  void ConfirmMacro();
  void StartRecording() { recorder_.Start(); }
  void StopRecording() { recorder_.Stop(); }
  void ToggleInsertList();

  MacroRecorder& recorder() { return recorder_; }

 private:
  // RecordingEditor.
  bool HasMacros() const override;
  bool HasSelectedMacro() const override;
  void ClearEvents() override;
  void AppendEvent(const std::string& line) override;

  ChildControls& controls() const;
  void ShowMacro(int index);
  // The lists show what the page holds.
  void ShowNames();
  void ShowEvents();
  void StoreLoopCount();
  void InsertMouseEvent(int index);
  void EditDelay(int line);
  // After the list of macros changed: the panes of the buttons whose macro
  // is gone read "Key Off", and macros the slots could not hold are named.
  // False (the problem told) when the change was refused.
  bool ShowChange(const MacroChange& change);
  void ShowKeyOff(const std::vector<RecordButton>& buttons);
  void ShowEncoded(const MacroEncodeResult& result);
  // A message of the window's language.
  std::string Text(TextId id) const { return std::string(window_.texts[id]); }
  // The macros by slot that the applied record's buttons refer to.
  std::vector<std::string> appliedNames_;

  MainWindowModel& window_;
  std::string recordPath_;
  MacroRecorder recorder_;
  // The page's own state, which its lists show: the macros in list order
  // (which is slot order), the one selected, and its event lines.
  std::vector<std::string> names_;
  int selected_ = kNoItem;
  std::vector<std::string> events_;
};

}  // namespace vortal
