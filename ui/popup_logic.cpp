#include "ui/popup_logic.h"

#include <utility>

namespace zeltra {

namespace {

struct Dismissal {
  int kind;
  std::uint32_t message;
};
constexpr std::array<Dismissal, 11> kDismissals{{
    {0, kComboPopupDismissed},
    {2, kDpiPopupDismissed},
    {3, kMultimediaPopupDismissed},
    {7, kComboProfilePopupDismissed},
    {9, kComboLightingPopupDismissed},
    {10, kDpiLockPopupDismissed},
    {11, kWindowsManagePopupDismissed},
    {12, kOfficePopupDismissed},
    {13, kProfileRKeyPopupDismissed},
    {14, kActionInsertPopupDismissed},
    {15, kMacroListPopupDismissed},
}};

}  // namespace

std::uint32_t DismissalMessage(int kind) {
  for (const Dismissal& d : kDismissals)
    if (d.kind == kind) return d.message;
  return 0;
}

PopupLogic::PopupLogic(std::unique_ptr<PopupMenu> menu, float scale, std::uint32_t resultMessage,
                       std::intptr_t ownerValue)
    : menu_(std::move(menu)), target_{resultMessage, ownerValue}, model_(menu_->Layout(), scale) {}

void PopupLogic::BuildItems() { currentRow_ = menu_->AddItems(model_); }

PopupReaction PopupLogic::Hover(int x, int y) {
  PopupReaction reaction;
  reaction.changed = model_.HoverAt(x, y);
  if (reaction.changed) {
    if (const PopupItem* item = model_.hoveredItem()) reaction.send = menu_->Entered(*item, target_);
  }
  return reaction;
}

PopupReaction PopupLogic::MouseMove(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

// The hover notification comes 50 ms after the mouse rested; with the button
// held it must not move the hovered item either, or a release elsewhere
// would choose the item it was moved to.
PopupReaction PopupLogic::MouseHover(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

PopupReaction PopupLogic::MouseLeave(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

PopupReaction PopupLogic::ButtonDown(int x, int y) {
  held_ = true;
  PopupReaction reaction;
  reaction.changed = model_.PressAt(x, y);
  if (const PopupItem* item = model_.hoveredItem()) reaction.send = menu_->Pressed(*item, target_);
  return reaction;
}

PopupReaction PopupLogic::ButtonUp(int x, int y) {
  held_ = false;
  const PopupModel::Release release = model_.ReleaseAt(x, y);
  PopupReaction reaction;
  reaction.changed = release.changed;
  const PopupItem* item = model_.item(release.chosen);
  if (item == nullptr) return reaction;
  PopupMenu::Choice choice = menu_->Chosen(*item, target_);
  if (choice.result) {
    result_ = std::move(*choice.result);
    reaction.send = PopupSend{target_.resultMessage, target_.ownerValue, 0, true};
  } else {
    reaction.send = choice.send;
  }
  return reaction;
}

PopupReaction PopupLogic::RightButtonUp(int x, int y) {
  PopupReaction reaction;
  if (const PopupItem* item = model_.item(model_.ItemAt(x, y))) reaction.send = menu_->RightClicked(*item, target_);
  return reaction;
}

std::optional<PopupSend> PopupLogic::Dismissal() const {
  const std::uint32_t message = DismissalMessage(kind());
  if (message == 0) return std::nullopt;
  return PopupSend{message, target_.ownerValue, kind(), false};
}

}  // namespace zeltra
