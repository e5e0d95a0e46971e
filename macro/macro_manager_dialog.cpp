#include "macro/macro_manager_dialog.h"

#include "macro/macro_library_file.h"
#include "macro/macro_manager_layout.h"
#include "macro/macro_transfer.h"
#include "settings/text_format.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr int kContextPopupEntries = 8;  // the operations of ManagerOperation

UiRect ControlRect(int id, float scale) {
  const DialogControl* control = FindDialogControl(kMacroManagerControls, id);
  return control ? ScaleOriginAndSize(control->rect, scale) : UiRect{};
}

int RowsOf(int listId, float scale) { return ListRowsThatFit(ControlRect(listId, scale).height(), scale); }

}  // namespace

bool ProfileHasMacroButton(const ProfileRecord& profile) {
  for (const KeySlot& slot : profile.Key)
    if (slot.Value[0] == kCategoryMacro) return true;
  return false;
}

bool ReloadLibraryAfterManager(MacroLibrary& library, const std::filesystem::path& path,
                               const ProfileRecord& currentProfile) {
  LoadMacroLibrary(library, path);
  return ProfileHasMacroButton(currentProfile);
}

MacroManagerDialog::MacroManagerDialog(MacroLibrary& library, const ProfileRecord& profile,
                                       std::filesystem::path libraryPath, MacroManagerHost& host, float scale)
    : library_(library),
      profile_(profile),
      libraryPath_(libraryPath),
      host_(host),
      scale_(scale),
      tree_(library, host, RowsOf(kTreeListId, scale)),
      actions_(library, std::move(libraryPath), host, RowsOf(kActionListId, scale)) {}

void MacroManagerDialog::Open() {
  tree_.Open();
  // Closing every folder is the manager's own doing, not an edit.
  openedAs_ = MacroLibraryFingerprint(library_);
  actions_.SetMacro(nullptr);
  ShowRepeatRule();
  painted_ = false;
}

void MacroManagerDialog::Close() {
  actions_.StopRecording();
  library_.selectedLocation = MacroLocation::None();
  // Unchanged, the file stays as it is: also a file read only in part, whose
  // rest only the file itself still holds.
  if (MacroLibraryFingerprint(library_) != openedAs_) SaveManagedLibrary(library_, libraryPath_);
  host_.End();
}

void MacroManagerDialog::OnPainted() {
  if (!painted_) {
    painted_ = true;
    host_.PutCountBoxCaretAtEnd();
  }
  actions_.RunPendingInsert();
  if (pendingOperation_) {
    const ManagerOperation operation = *pendingOperation_;
    pendingOperation_.reset();
    RunOperation(operation);
  }
}

void MacroManagerDialog::OnTreeNotify(int code, UiPoint point) {
  if (code != kCodeClicked && code != kCodeDoubleClick && code != kCodeRightReleased) return;
  tree_.EnsureSelectionVisible();
  if (code == kCodeDoubleClick) {
    host_.RepaintAll();
    return;
  }
  RefreshSelection();
  if (code == kCodeRightReleased)
    host_.OpenPopup(PopupClass::kMacroList, PopupOptions{ContextPopupKind(library_), {}}, point);
}

void MacroManagerDialog::OnScrollBarNotify(int barId, int code, int part, int thumbPosition) {
  if (barId == kTreeScrollBarId) tree_.OnScrollBarNotify(code, part, thumbPosition);
  if (barId == kActionScrollBarId) actions_.OnScrollBarNotify(code, part, thumbPosition);
}

void MacroManagerDialog::OnWheel(int notches, UiPoint pointer) {
  if (ControlRect(kTreeListId, scale_).Contains(pointer))
    tree_.OnWheel(notches);
  else if (ControlRect(kActionListId, scale_).Contains(pointer))
    actions_.OnWheel(notches);
}

void MacroManagerDialog::OnContextPopupChosen(int operation) {
  host_.ClosePopup(PopupClass::kMacroList);
  if (operation < 0 || operation >= kContextPopupEntries) return;
  pendingOperation_ = static_cast<ManagerOperation>(operation);
  // The operation waits until the popup has gone and the dialog has repainted.
  host_.RepaintAll();
}

void MacroManagerDialog::RunOperation(ManagerOperation operation) {
  switch (operation) {
    case ManagerOperation::kNewMacro: AddItem(false); break;
    case ManagerOperation::kNewFolder: AddItem(true); break;
    case ManagerOperation::kRename: Rename(); break;
    case ManagerOperation::kDelete: Delete(); break;
    case ManagerOperation::kExportMacro:
    case ManagerOperation::kImportMacro:
    case ManagerOperation::kImportLibrary:
    case ManagerOperation::kExportLibrary: RunFileOperation(operation); break;
  }
}

bool MacroManagerDialog::RefusedWhileUnavailable() {
  // Nothing can be added to a library whose file could not be read (it
  // would never be saved): the user is told instead of nothing happening.
  if (!library_.Unavailable()) return false;
  host_.ShowAttention(kLibraryUnavailableMessage);
  return true;
}

void MacroManagerDialog::AddItem(bool folder) {
  if (RefusedWhileUnavailable()) return;
  const std::optional<std::u16string> name =
      host_.RunNameDialog(folder ? MacroEditDialog::kFolderName : MacroEditDialog::kMacroName, u"");
  if (!name) return;
  const ManagerOutcome outcome = folder ? NewFolder(library_, *name) : NewMacro(library_, *name);
  if (outcome.message) host_.ShowAttention(outcome.message);
  if (outcome.treeChanged) TreeChanged();
}

void MacroManagerDialog::Rename() {
  const std::optional<std::u16string> name = host_.RunNameDialog(MacroEditDialog::kRename, SelectedItemName(library_));
  if (!name) return;
  const ManagerOutcome outcome = RenameSelectedItem(library_, *name);
  if (outcome.message) host_.ShowAttention(outcome.message);
  if (outcome.treeChanged) tree_.Show();
}

void MacroManagerDialog::Delete() {
  const int question = DeleteQuestion(library_);
  if (question == kNothingSelectedMessage) {
    host_.ShowAttention(question);
    return;
  }
  if (!host_.Confirm(question)) return;
  const ManagerOutcome outcome = DeleteSelectedItem(library_, profile_);
  if (outcome.message) host_.ShowAttention(outcome.message);
  if (!outcome.treeChanged) return;
  tree_.PullBack();
  RefreshSelection(true);
  host_.RepaintAll();
}

void MacroManagerDialog::RunFileOperation(ManagerOperation operation) {
  if (operation == ManagerOperation::kExportMacro && !library_.MacroAt(library_.selectedLocation)) return;
  const bool imports = operation == ManagerOperation::kImportMacro || operation == ManagerOperation::kImportLibrary;
  if (imports && RefusedWhileUnavailable()) return;
  const std::optional<std::filesystem::path> path = host_.RunFileDialog(MacroFileDialogFor(operation, library_));
  if (!path) return;
  ImportOutcome outcome;
  switch (operation) {
    case ManagerOperation::kExportMacro: ExportMacro(library_, *path); return;
    case ManagerOperation::kExportLibrary: ExportLibrary(library_, *path); return;
    case ManagerOperation::kImportMacro: outcome = ImportMacro(library_, *path); break;
    default: outcome = ImportLibrary(library_, *path); break;
  }
  if (outcome.message) host_.ShowAttention(outcome.message);
  if (outcome.treeChanged) TreeChanged();
}

void MacroManagerDialog::RefreshSelection(bool macroGone) {
  Macro* current = CurrentMacro(library_);
  if (macroGone || current != actions_.macro())
    actions_.SetMacro(current);
  else
    actions_.Show();
  tree_.Show();
  ShowRepeatRule();
}

void MacroManagerDialog::TreeChanged() {
  tree_.EnsureSelectionVisible();
  RefreshSelection();
  host_.RepaintAll();
}

void MacroManagerDialog::ShowRepeatRule() {
  const Macro* macro = actions_.macro();
  host_.SetRepeatRule(RepeatRuleControl(macro));
  const bool counted = macro && macro->MacroKeyLoopType == 2;
  host_.ShowCountBox(counted, counted ? Udec(macro->MacroKeyLoopNum) : std::u16string());
}

void MacroManagerDialog::OnRepeatRule(int radioId) {
  if (Macro* macro = actions_.macro()) ChooseRepeatRule(macro, radioId);
  ShowRepeatRule();
}

void MacroManagerDialog::OnCountBoxChanged(std::u16string_view text) {
  const std::optional<RepeatCount> count = ApplyRepeatCountText(actions_.macro(), text);
  if (count && count->replacement) host_.SetCountBoxText(*count->replacement);
}

void MacroManagerDialog::OnChar(char16_t c) {
  const Macro* macro = actions_.macro();
  if (!macro || macro->MacroKeyLoopType != 2) return;
  if (const int warning = NotADigitWarning(c)) host_.ShowAttention(warning);
}

}  // namespace zeltra
