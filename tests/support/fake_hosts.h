// Fakes of the window hosts that record what the models ask of them: the
// main window's services and a sub-dialog's host, each with child controls
// kept in memory.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/fake_child_controls.h"
#include "support/recording_canvas.h"
#include "ui/dialogs/sub_dialog_frame.h"
#include "ui/host/main_window_services.h"

namespace vortal::testing {

// The parts every window host shares: background, redraws, lists, the
// colour dialog, messages and child controls. `calls` lists the requests in
// order ("HIDE", "REDRAW", "HOVER", ...); each redraw's drawing is kept in
// `redraws`.
template <class Host>
class FakeWindowHost : public Host {
 public:
  std::optional<Size> LoadBackground(std::string_view skinFolder,
                                     std::string_view imageName) override {
    calls.push_back("BACKGROUND " + std::string(skinFolder) + std::string(imageName));
    hasBackground = backgroundLoads && !unloadableFolders.contains(std::string(skinFolder));
    if (!hasBackground) return std::nullopt;
    return backgroundSize;
  }
  bool Redraw(std::string_view skinFolder,
              const std::function<void(Canvas&)>& draw) override {
    calls.push_back("REDRAW");
    if (!hasBackground) return false;
    RecordingCanvas canvas;
    canvas.missing = missingImages;
    draw(canvas);
    textColors.insert(textColors.end(), canvas.textColors.begin(), canvas.textColors.end());
    redrawFolders.emplace_back(skinFolder);
    redraws.push_back(canvas.lines);
    return true;
  }
  void Invalidate(const Rect& box) override { calls.push_back("INVALIDATE " + Describe(box)); }
  void RequestHover() override { calls.push_back("HOVER"); }
  void CreateList(int id, const Rect& area, const std::vector<std::string>& items) override {
    calls.push_back("CREATE_LIST " + std::to_string(id) + " " + Describe(area));
    lists[id] = items;
    listAreas[id] = area;
  }
  void DestroyList(int id) override {
    calls.push_back("DESTROY_LIST " + std::to_string(id));
    lists.erase(id);
  }
  bool ListExists(int id) const override { return lists.count(id) != 0; }
  // Lists lay their items out kListItemHeight pixels apart inside a one-pixel
  // border, as a list box in the window's font does.
  static constexpr int kListItemHeight = 16;
  std::optional<ListHost::ListItemHit> ListItemAt(int listId, Point p) const override {
    auto list = lists.find(listId);
    auto area = listAreas.find(listId);
    if (list == lists.end() || area == listAreas.end() || !area->second.Contains(p)) {
      return std::nullopt;
    }
    const int index = (p.y - area->second.top - 1) / kListItemHeight;
    if (p.y - area->second.top < 1 || index >= static_cast<int>(list->second.size())) {
      return std::nullopt;
    }
    return ListHost::ListItemHit{index, {0, index * kListItemHeight, area->second.Width() - 2,
                                         (index + 1) * kListItemHeight}};
  }
  void SelectListItem(int listId, int index) override { selections[listId] = index; }
  int ListSelection(int listId) const override {
    auto it = selections.find(listId);
    return lists.count(listId) != 0 && it != selections.end() ? it->second : kNoItem;
  }
  void ShowFocusRing(const FocusRing& ring) override { focusRing = ring; }
  void ScrollList(int id, int lines) override { scrolls.emplace_back(id, lines); }
  std::optional<Color> ChooseColor() override {
    calls.push_back("CHOOSE_COLOR");
    return chosenColor;
  }
  ChildControls& childControls() override { return controls; }
  void Show(const std::string& text, const std::string& caption) override {
    calls.push_back("MESSAGE " + text + " | " + caption);
    messages.push_back({text, caption});
  }

  bool backgroundLoads = true;
  std::set<std::string> unloadableFolders;  // skin folders whose background fails
  bool hasBackground = true;
  Size backgroundSize{880, 640};
  std::set<std::string> missingImages;
  std::vector<std::string> calls;
  std::vector<std::vector<std::string>> redraws;
  std::vector<std::string> redrawFolders;
  std::vector<Color> textColors;
  std::map<int, std::vector<std::string>> lists;
  std::map<int, Rect> listAreas;
  std::vector<std::pair<std::string, std::string>> messages;
  std::map<int, int> selections;
  std::vector<std::pair<int, int>> scrolls;
  std::optional<Color> chosenColor;  // nothing: the user cancels the colour dialog
  FocusRing focusRing;
  FakeChildControls controls;
};

class FakeMainWindowServices : public FakeWindowHost<MainWindowServices> {
 public:
  void ShowWindow() override { calls.push_back("SHOW"); }
  void HideWindow() override { calls.push_back("HIDE"); }
  void BringToForeground() override { calls.push_back("FOREGROUND"); }
  void StartWindowDrag(Point p) override {
    calls.push_back("DRAG " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void AddTrayIcon(std::string_view tip) override { calls.push_back("TRAY_ADD " + std::string(tip)); }
  void RemoveTrayIcon() override { calls.push_back("TRAY_REMOVE"); }
  void ShowTrayBalloon(std::string_view text, std::string_view title, BalloonIcon icon,
                       int timeoutMs) override {
    calls.push_back("BALLOON " + std::string(text) + " | " + std::string(title) + " | " +
                    (icon == BalloonIcon::kInfo ? "info" : "warning") + " | " +
                    std::to_string(timeoutMs));
  }
  void ShowTrayMenu(const std::vector<TrayMenuItem>& items) override {
    std::string labels;
    for (const TrayMenuItem& item : items)
      labels += (labels.empty() ? "" : "|") + item.label + (item.checked ? " [ticked]" : "");
    calls.push_back("TRAY_MENU " + labels);
    trayMenu = items;
  }
  // The user's answer to the next file dialogs, in turn (none left: cancel).
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override {
    calls.push_back(std::string(request.kind == FileDialogKind::kSaveAs ? "SAVE_AS " : "OPEN ") +
                    request.title);
    fileRequests.push_back(request);
    if (chosenFiles.empty()) return std::nullopt;
    std::optional<std::string> path = chosenFiles.front();
    chosenFiles.erase(chosenFiles.begin());
    return path;
  }
  bool CreateListener() override {
    calls.push_back("CREATE_LISTENER");
    return listenerCreates;
  }
  void ResumeListener() override { calls.push_back("RESUME_LISTENER"); }
  void SetEventPort(std::unique_ptr<EventPort> port) override {
    calls.push_back("EVENT_PORT");
    eventPort = std::move(port);
  }
  bool RegisterDeviceNotifications() override {
    calls.push_back("REGISTER_NOTIFICATIONS");
    return notificationsRegister;
  }
  void CloseListenerHandles() override { calls.push_back("CLOSE_LISTENER"); }
  bool StartsAtLogOn() override { return startsAtLogOn; }
  bool SetStartAtLogOn(bool on) override {
    calls.push_back(on ? "LOG_ON_START on" : "LOG_ON_START off");
    if (shortcutWritable) startsAtLogOn = on;
    return shortcutWritable;
  }
  bool startsAtLogOn = false;
  bool shortcutWritable = true;
  void WatchForeground(bool on) override { calls.push_back(on ? "WATCH on" : "WATCH off"); }
  std::optional<ForegroundWindow> ForegroundNow() override { return front; }
  void StartSettleTimer(int ms) override { calls.push_back("SETTLE " + std::to_string(ms)); }
  std::optional<ForegroundWindow> front;  // the window in front
  void ExitProcess(int code) override { calls.push_back("EXIT " + std::to_string(code)); }
  DialogResult RunSubDialog(SubDialogFrame& dialog) override {
    calls.push_back("SUB_DIALOG");
    if (runDialog) return runDialog(dialog);
    return DialogResult::kCancel;
  }
  // Plays the user's part in a sub-dialog (kCancel when unset).
  std::function<DialogResult(SubDialogFrame&)> runDialog;


  // The macro recorder's keyboard hook.
  unsigned InstallRecordingHook(RecordingHookHandlers handlers) override;
  void RemoveRecordingHook() override;
  bool RecordingHookInstalled() const override { return hookInstalled; }
  void SendRecorderMessage(int message) override;
  void SetWindowTitle(std::string_view text) override { windowTitle = std::string(text); }
  // A key reaches the window: through the hook while it is installed.
  // Returns whether the key-down was swallowed.
  bool Key(const KeyStroke& key);

  std::vector<TrayMenuItem> trayMenu;
  std::vector<std::optional<std::string>> chosenFiles;
  std::vector<FileDialogRequest> fileRequests;
  bool listenerCreates = true;
  bool notificationsRegister = true;
  std::unique_ptr<EventPort> eventPort;
  unsigned hookError = 0;
  bool hookInstalled = false;
  int hookInstalls = 0;
  RecordingHookHandlers handlers;
  std::vector<int> recorderMessages;
  std::string windowTitle;
};

class FakeSubDialogHost : public FakeWindowHost<SubDialogHost> {
 public:
  FakeSubDialogHost() { backgroundSize = {400, 290}; }
  void EndDialog(DialogResult result) override {
    calls.push_back(result == DialogResult::kOk ? "END ok" : "END cancel");
    ended.push_back(result);
  }
  void SetEditsEnabled(bool enabled) override {
    calls.push_back(enabled ? "EDITS on" : "EDITS off");
  }
  // A keyboard hook that the test presses keys through.
  unsigned InstallKeyCaptureHook(unsigned message) override {
    calls.push_back("HOOK " + std::to_string(message));
    hookMessages.push_back(message);
    return hookError;
  }

  // Starts the dialog the way the window does: edits report to it.
  bool Open(SubDialogFrame& dialog);
  // A keystroke, pressed and released, reaches the hook (if one was
  // installed without error).
  void Key(const std::string& name, unsigned virtualKey = 0);
  // The keyboard focus moves to `id` (0: no control); the field that had it
  // reports the loss.
  void Focus(int id);
  std::string Text(int id) const { return controls.ChildText(id); }

  std::vector<DialogResult> ended;
  unsigned hookError = 0;
  std::vector<unsigned> hookMessages;

 private:
  SubDialogFrame* dialog_ = nullptr;
};

// Runs `dialog` over `host` the way the window does: initialisation, the
// user's typing into `fieldId`, then a click at `click`.
DialogResult RunDialogWithInput(SubDialogFrame& dialog, FakeSubDialogHost& host, int fieldId,
                                std::optional<std::string> typed, Point click);

}  // namespace vortal::testing
