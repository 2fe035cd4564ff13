#include "support/fake_hosts.h"

namespace vortal::testing {

unsigned FakeMainWindowServices::InstallRecordingHook(RecordingHookHandlers newHandlers) {
  calls.push_back("INSTALL_HOOK");
  if (hookError != 0) return hookError;
  handlers = std::move(newHandlers);
  hookInstalled = true;
  ++hookInstalls;
  return 0;
}

void FakeMainWindowServices::RemoveRecordingHook() {
  calls.push_back("REMOVE_HOOK");
  hookInstalled = false;
}

void FakeMainWindowServices::SendRecorderMessage(int message) {
  recorderMessages.push_back(message);
  if (handlers.onMessage) handlers.onMessage(message);
}

bool FakeMainWindowServices::Key(const KeyStroke& key) {
  if (!hookInstalled) return false;
  if (std::optional<int> message = handlers.onKey(key)) SendRecorderMessage(*message);
  return !key.released;
}

DialogResult RunDialogWithInput(SubDialogFrame& dialog, FakeSubDialogHost& host, int fieldId,
                                std::optional<std::string> typed, Point click) {
  if (!host.Open(dialog)) return DialogResult::kCancel;
  dialog.Paint();
  if (typed) host.controls.Type(fieldId, *typed);
  dialog.OnLeftButtonDown(click);
  return dialog.result() == DialogResult::kOk ? DialogResult::kOk : DialogResult::kCancel;
}

bool FakeSubDialogHost::Open(SubDialogFrame& dialog) {
  dialog_ = &dialog;
  controls.onAnyTextChange = [&dialog](int id) { dialog.OnEditChanged(id); };
  return dialog.Initialize(*this);
}

void FakeSubDialogHost::Key(const std::string& name, unsigned virtualKey) {
  if (hookMessages.empty() || hookError != 0) return;
  dialog_->OnKeyCaptured({name, virtualKey, false});
  dialog_->OnKeyCaptured({name, virtualKey, true});
}

void FakeSubDialogHost::Focus(int id) {
  const int old = controls.focused;
  controls.focused = id;
  if (old != 0 && old != id) dialog_->OnEditFocusLost(old);
}

}  // namespace vortal::testing
