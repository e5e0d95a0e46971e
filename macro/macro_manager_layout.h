// Where CMacroManagerDlg's controls are and what they show: one table, in
// design units relative to the client area, for the dialog to build its
// controls from and for tests and journeys to find them.
#pragma once

#include <array>
#include <cstdint>

#include "macro/dialog_layout.h"
#include "macro/macro_messages.h"

namespace zeltra {

inline constexpr int kMacroManagerWidth = 528;  // design units
inline constexpr int kMacroManagerHeight = 365;
inline constexpr DialogKeys kMacroManagerKeys{DialogKeyRule::kSwallow, DialogKeyRule::kSwallow};

// Captions (the tree's is kTreeCaptionId): the action list's (the insert
// combo's caption has the same id), the record-delays box's and the three
// repeat rules'.
inline constexpr int kManagerActionsCaption = 2026;
inline constexpr int kManagerDelayCaption = 2027;
inline constexpr int kManagerRepeatHeldCaption = 2028;
inline constexpr int kManagerRepeatToggleCaption = 2029;
inline constexpr int kManagerRepeatCountCaption = 2030;
// The manager's controls are all numbered up to this one.
inline constexpr int kLastManagerControlId = 2099;

// Controls with a part to play in the manager's rules.
inline constexpr int kManagerNewMacroButton = 2012;
inline constexpr int kManagerDeleteItemButton = 2013;
inline constexpr int kManagerDelayBox = 2017;
inline constexpr int kManagerRecordButton = 2018;
inline constexpr int kManagerModifyButton = 2023;
inline constexpr int kManagerDeleteActionButton = 2024;
inline constexpr int kManagerCountBox = 2034;
inline constexpr int kManagerInsertCombo = 2035;

// Every control of the manager, in creation order. Static texts are drawn in
// kManagerTextColour. The record toggle shows string 198 while off and 199
// while on. The OK and Cancel buttons (strings 203 and 204) that the
// manager could carry do nothing when clicked, so they are left out.
extern const std::array<DialogControl, 23> kMacroManagerControls;

// The controls a recording disables: all but the record toggle and the
// insert combo (static texts are always disabled).
extern const std::array<int, 14> kControlsDisabledWhileRecording;

// Drawn after the frame kSkinMacroFrame: the grey surrounds of the tree and
// the action list (design corners), filled with kManagerSurroundColour.
inline constexpr std::array<std::array<int, 4>, 2> kManagerSurrounds{{{24, 53, 169, 324}, {189, 53, 334, 324}}};

// Colours, red in the low byte.
inline constexpr std::uint32_t kManagerTextColour = 0xB4B4B4;      // RGB(180, 180, 180)
inline constexpr std::uint32_t kManagerSurroundColour = 0x949494;  // RGB(148, 148, 148)
inline constexpr std::uint32_t kCountBoxTextColour = 0xB4B4B4;     // RGB(180, 180, 180)
inline constexpr std::uint32_t kCountBoxBackColour = 0x141414;     // RGB(20, 20, 20)

// The count box is hidden by moving it this far to the right.
inline constexpr int kCountBoxHiddenShift = 1000;
// The count box's rectangle in pixels, shown or hidden.
UiRect CountBoxRect(bool shown, float scale);

}  // namespace zeltra
