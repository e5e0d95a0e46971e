// A drop-down popup's rules apart from drawing and apart from what it lists:
// hover, press and release over its items, the messages it sends its owner,
// and the dismissal its kind fixes. What a popup lists and what choosing an
// item means is its menu's (PopupMenu), given by the layer that opens it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ui/popup_messages.h"
#include "ui/popup_model.h"

namespace zeltra {

// What a popup of this kind sends when it loses activation; 0 for a kind
// that has none.
std::uint32_t DismissalMessage(int kind);

// The record a chosen item hands its owner: the item's label and three
// bytes whose meaning is the menu's (a button-function code, a lighting
// mode, an operation).
struct PopupResult {
  std::u16string label;
  std::array<std::uint8_t, 3> bytes{};
};

// One message to the owner. With `carriesResult` the lParam is the address
// of the popup's result record, valid while the message is handled.
struct PopupSend {
  std::uint32_t message = 0;
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
  bool carriesResult = false;
  friend bool operator==(const PopupSend&, const PopupSend&) = default;
};

struct PopupReaction {
  bool changed = false;  // repaint
  std::optional<PopupSend> send;
};

// Where a popup reports: the message its owner chose for results, and the
// value that tells the owner which of its popups this is.
struct PopupTarget {
  std::uint32_t resultMessage = 0;
  std::intptr_t ownerValue = 0;
};

// A popup's contents and what its items do.
class PopupMenu {
 public:
  virtual ~PopupMenu() = default;

  // Fixes the dismissal message.
  virtual int Kind() const = 0;
  virtual PopupLayout Layout() const = 0;
  // Adds the items; returns the index of the item drawn as the current one,
  // -1 for none.
  virtual int AddItems(PopupModel& model) const = 0;

  // What choosing an item comes to: nothing, a result record handed to the
  // owner with the result message, or a message of its own.
  struct Choice {
    std::optional<PopupResult> result;
    std::optional<PopupSend> send;
  };
  virtual Choice Chosen(const PopupItem& item, const PopupTarget& target) const = 0;
  // The mouse moved onto an item.
  virtual std::optional<PopupSend> Entered(const PopupItem&, const PopupTarget&) const { return std::nullopt; }
  // The left button went down on an item.
  virtual std::optional<PopupSend> Pressed(const PopupItem&, const PopupTarget&) const { return std::nullopt; }
  // The right button came up on an item.
  virtual std::optional<PopupSend> RightClicked(const PopupItem&, const PopupTarget&) const { return std::nullopt; }
};

// One popup's items and mouse rules.
class PopupLogic {
 public:
  PopupLogic(std::unique_ptr<PopupMenu> menu, float scale, std::uint32_t resultMessage, std::intptr_t ownerValue);

  // Adds the menu's items.
  void BuildItems();

  int kind() const { return menu_->Kind(); }
  std::intptr_t ownerValue() const { return target_.ownerValue; }
  std::uint32_t resultMessage() const { return target_.resultMessage; }
  PopupModel& model() { return model_; }
  const PopupModel& model() const { return model_; }
  const PopupResult& result() const { return result_; }
  bool buttonHeld() const { return held_; }
  // The item drawn as the current one (an item index), -1 for none.
  int currentRow() const { return currentRow_; }

  // Window messages, in client coordinates. While the left button is held
  // the hovered item does not follow the mouse.
  PopupReaction MouseMove(int x, int y);
  PopupReaction MouseHover(int x, int y);
  PopupReaction MouseLeave(int x, int y);
  PopupReaction ButtonDown(int x, int y);
  PopupReaction ButtonUp(int x, int y);
  PopupReaction RightButtonUp(int x, int y);
  // The capture went elsewhere in the middle of a press: no release comes.
  void CaptureLost() { held_ = false; }

  // Sent on losing activation; nothing for a kind without a dismissal message.
  std::optional<PopupSend> Dismissal() const;
  PopupSend Closed() const { return {kPopupClosedMessage, 0, 0, false}; }

 private:
  PopupReaction Hover(int x, int y);

  std::unique_ptr<PopupMenu> menu_;
  PopupTarget target_;
  PopupModel model_;
  PopupResult result_;
  bool held_ = false;
  int currentRow_ = -1;
};

}  // namespace zeltra
