#include "macro/macro_action_panel.h"

#include <algorithm>

#include "macro/keyboard_hook.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "macro/macro_manager_layout.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr int kInsertOperations = static_cast<int>(InsertOperation::kKey) + 1;

}  // namespace

int SaveManagedLibrary(const MacroLibrary& library, const std::filesystem::path& path) {
  return SaveMacroLibrary(library, path, MacroLocation::None());
}

MacroActionPanel::MacroActionPanel(MacroLibrary& library, std::filesystem::path libraryPath, MacroManagerHost& host,
                                   int visibleRows)
    : library_(library),
      libraryPath_(std::move(libraryPath)),
      host_(host),
      list_(host, kActionListId, kActionScrollBarId, visibleRows) {}

int MacroActionPanel::Count() const {
  return macro_ ? static_cast<int>(std::min<std::uint32_t>(macro_->MacroActionNum, kMaxMacroActions)) : 0;
}

void MacroActionPanel::SetMacro(Macro* macro) {
  macro_ = macro;
  selection_ = -1;
  list_.scroll().Reset();
  host_.ShowMacro(macro_);
  host_.SelectAction(-1);
  Show();
}

void MacroActionPanel::Show() { list_.Show(Count()); }

void MacroActionPanel::OnActionListNotify(int code, int selectedRow) {
  if (code != kCodeClicked && code != kCodeDoubleClick) return;
  selection_ = selectedRow >= 0 && selectedRow < Count() ? selectedRow : -1;
  if (code == kCodeDoubleClick) OnModify();
}

void MacroActionPanel::OnScrollBarNotify(int code, int part, int thumbPosition) {
  list_.OnScrollBarNotify(code, part, thumbPosition, Count());
}

void MacroActionPanel::OnWheel(int notches) { list_.OnWheel(notches, Count()); }

void MacroActionPanel::OnRecordToggled(bool on) {
  if (!on) {
    host_.StopHook();
    recorder_.Stop();
    host_.EnableControls(true);
    SaveManagedLibrary(library_, libraryPath_);
    return;
  }
  if (recorder_.Start(macro_) == MacroRecorder::StartResult::kNoMacro) {
    host_.SetRecordButton(false);
    host_.ShowAttention(kNoMacroToRecordMessage);
    return;
  }
  host_.StartHook();
  selection_ = -1;
  host_.SelectAction(-1);
  host_.EnableControls(false);
  list_.scroll().Reset();
  host_.ShowMacro(macro_);
  Show();
}

void MacroActionPanel::OnHookMessage(std::uint64_t wParam, std::uint64_t lParam) {
  if (!macro_ || !recorder_.recording()) return;
  switch (recorder_.Record(*macro_, DecodeKeyHookMessage(wParam, lParam), recordDelays_)) {
    case MacroRecorder::EventResult::kIgnored: break;
    case MacroRecorder::EventResult::kStored:
      list_.scroll().EnsureVisible(Count() - 1, Count());
      host_.ShowMacro(macro_);
      Show();
      break;
    case MacroRecorder::EventResult::kLimitReached: EndRecording(); break;
  }
}

void MacroActionPanel::EndRecording() {
  host_.SetRecordButton(false);
  host_.EnableControls(true);
  host_.ShowAttention(kRecordLimitMessage);
  host_.StopHook();
  SaveManagedLibrary(library_, libraryPath_);
}

void MacroActionPanel::StopRecording() {
  if (!recorder_.recording()) return;
  host_.StopHook();
  recorder_.Stop();
}

void MacroActionPanel::OnInsertCombo(float scale) {
  const DialogControl* combo = FindDialogControl(kMacroManagerControls, kManagerInsertCombo);
  const UiRect rect = ScaleOriginAndSize(combo->rect, scale);
  host_.OpenPopup(PopupClass::kActionInsert, {}, {rect.left, rect.bottom});
}

void MacroActionPanel::OnInsertChosen(int operation) {
  host_.ClosePopup(PopupClass::kActionInsert);
  if (operation < 0 || operation >= kInsertOperations) return;
  pendingInsert_ = static_cast<InsertOperation>(operation);
  // The operation waits until the popup has gone and the dialog has repainted.
  host_.RepaintAll();
}

bool MacroActionPanel::RunPendingInsert() {
  if (!pendingInsert_) return false;
  const InsertOperation operation = *pendingInsert_;
  pendingInsert_.reset();
  Insert(operation);
  return true;
}

void MacroActionPanel::Insert(InsertOperation operation) {
  // The key dialog starts a hook of its own: only one may run.
  const bool wasRecording = recorder_.recording();
  if (wasRecording) host_.StopHook();
  if (Follow(editor_.Insert(macro_, selection_, operation))) ListChanged();
  if (wasRecording) host_.StartHook();
}

void MacroActionPanel::OnModify() {
  if (!Follow(editor_.Modify(macro_, selection_))) return;
  host_.ShowMacro(macro_);
  host_.SelectAction(selection_);
}

void MacroActionPanel::OnDeleteAction() {
  if (Follow(editor_.DeleteSelected(macro_, selection_))) ListChanged();
}

bool MacroActionPanel::Follow(const EditOutcome& outcome) {
  if (outcome.message) host_.ShowAttention(outcome.message);
  bool changed = outcome.listChanged;
  const int at = outcome.dialogAction;
  if (outcome.dialog == EditOutcome::Dialog::kNone || !macro_ || at < 0 || at >= Count()) return changed;
  const MacroAction action = macro_->AllAction[static_cast<std::size_t>(at)];
  if (changed) {
    // The inserted actions show while their dialog is open.
    host_.ShowMacro(macro_);
    host_.SelectAction(at);
  }
  EditOutcome finished;
  if (outcome.dialog == EditOutcome::Dialog::kDelay) {
    const std::optional<std::u16string> text = host_.RunDelayDialog(DelayDialogText(action));
    finished = editor_.FinishDelayDialog(*macro_, selection_, text.has_value(), text ? *text : std::u16string());
  } else {
    const KeyDialogResult result = host_.RunKeyDialog(action.Code());
    finished = editor_.FinishKeyDialog(*macro_, selection_, result.ok, result.code);
  }
  return changed || finished.listChanged;
}

void MacroActionPanel::ListChanged() {
  const int count = Count();
  const int first = ActionListFirstRowAfterEdit(count, list_.scroll().visibleRows());
  if (first >= 0)
    list_.scroll().SetFirstRow(first, count);
  else
    list_.scroll().PullBack(count);
  host_.ShowMacro(macro_);
  host_.SelectAction(selection_);
  Show();
}

}  // namespace zeltra
