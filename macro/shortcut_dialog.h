// CShortcutDlg's rules: the key comes from the keyboard hook, the modifiers
// only from the four check boxes, and OK builds the code 0x70.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "macro/button_function.h"
#include "macro/dialog_layout.h"

namespace zeltra {

inline constexpr int kShortcutDialogWidth = 429;  // design units
inline constexpr int kShortcutDialogHeight = 140;
inline constexpr std::u16string_view kShortcutDialogFrame = u"skins\\Frame_common.bmp";
inline constexpr int kShortcutKeyField = 2012;
inline constexpr int kShortcutNoModifiersBox = 2005;
inline constexpr int kShortcutCtrlBox = 2006;
inline constexpr int kShortcutAltBox = 2007;
inline constexpr int kShortcutShiftBox = 2008;
inline constexpr int kShortcutWinBox = 2009;
// The boxes' names, right of them.
inline constexpr int kShortcutShiftName = 2013;
inline constexpr int kShortcutCtrlName = 2014;
inline constexpr int kShortcutAltName = 2015;
inline constexpr int kShortcutWinName = 2016;
// Enter and Esc end the dialog through the platform's own handling, without
// assigning anything.
inline constexpr DialogKeys kShortcutDialogKeys{DialogKeyRule::kEndWithoutResult, DialogKeyRule::kEndWithoutResult};

// Caption (string 180), key field, the four modifier boxes each followed by
// its name, the no-modifiers box on the bottom edge, OK, Cancel and the close
// cross.
extern const std::array<DialogControl, 14> kShortcutDialogControls;
// Filled white behind the key field (design corners), after the frame.
inline constexpr std::array<int, 4> kShortcutKeyFieldBackground{22, 35, 179, 57};

class ShortcutDialogState {
 public:
  // A key event from the hook (press or release alike). The Windows keys and
  // the left and right Shift, Ctrl and Alt are ignored: modifiers come from
  // the boxes. True when the key field shows a new name.
  bool OnKey(std::uint8_t virtualKey);
  // A box was ticked or unticked (the no-modifiers box or a modifier's).
  void SetBox(int id, bool checked);
  // Whether the four modifier boxes are enabled (the no-modifiers box not ticked).
  bool ModifierBoxesEnabled() const { return !noModifiers_; }
  const std::u16string& keyName() const { return keyName_; }
  std::uint8_t deviceKey() const { return deviceKey_; }

  // OK: what to send as kKeyCombinationResultMessage, nothing when neither a modifier nor a key was
  // given. The dialog closes either way.
  std::optional<ButtonAssignment> Ok() const;

 private:
  std::u16string keyName_;
  std::uint8_t deviceKey_ = 0;
  std::uint8_t modifiers_ = 0;  // ticked boxes, as modifier bits
  bool noModifiers_ = false;
};

}  // namespace zeltra
