// The small dialogs of the profile picker and the mouse reset: where their
// controls stand and what their OK may come to.
#pragma once

#include <string>

#include "ui/control_codes.h"
#include "ui/ui_geometry.h"

namespace zeltra {

// The 429 x 140 dialogs on "skins\Frame_common.bmp". Their places are given
// by their corners, and every edge is scaled (ScaleEdges).
inline constexpr int kCommonDialogWidth = 429;
inline constexpr int kCommonDialogHeight = 140;
inline constexpr DesignRect kCommonCloseButton = DesignRect::FromEdges(405, 4, 420, 19);
inline constexpr DesignRect kCommonOkButton = DesignRect::FromEdges(270, 108, 335, 131);
inline constexpr DesignRect kCommonCancelButton = DesignRect::FromEdges(350, 108, 415, 131);
inline constexpr DesignRect kCommonTitle = DesignRect::FromEdges(20, 2, 380, 26);

// The attention dialog (319 x 102 on "skins\Frame_warning.bmp"), its
// places by their corners, every edge scaled.
inline constexpr int kAttentionDialogWidth = 319;
inline constexpr int kAttentionDialogHeight = 102;
inline constexpr DesignRect kAttentionCloseButton = DesignRect::FromEdges(297, 5, 312, 20);
inline constexpr DesignRect kAttentionOkButton = DesignRect::FromEdges(127, 70, 192, 93);
inline constexpr DesignRect kAttentionTitleText = DesignRect::FromEdges(12, 0, 280, 24);
inline constexpr DesignRect kAttentionMessageText = DesignRect::FromEdges(0, 40, kAttentionDialogWidth, 60);
inline constexpr int kStringAttentionTitle = 150;  // the language string most attention dialogs show as title
inline constexpr int kAttentionTitleId = 2012;
inline constexpr int kAttentionMessageId = 2013;

// The profile dialogs' name box (a native edit control).
inline constexpr int kProfileNameEditId = kIdTextEntry;
inline constexpr int kProfileTitleId = 2012;
inline constexpr DesignRect kAddProfileEdit = DesignRect::FromEdges(15, 65, 415, 87);
inline constexpr DesignRect kEditProfileEdit = DesignRect::FromEdges(11, 40, 306, 62);
inline constexpr int kAddProfileTitle = 141;
inline constexpr int kEditProfileTitle = 144;

// The reset question across the middle band.
inline constexpr int kResetQuestionId = 3001;
inline constexpr DesignRect kResetQuestion = DesignRect::FromEdges(0, 60, 429, 108);
inline constexpr int kResetQuestionText = 140;

// The warning the profile dialogs show, with this title.
inline constexpr char16_t kProfileWarningTitle[] = u"\u8B66\u544A!";  // 警告!
inline constexpr int kEmptyProfileNameWarning = 147;
inline constexpr int kAllProfilesShownWarning = 145;

// The name box's font: kEditBoxFontFace at EditBoxFontTenths.
// Cell height (negative, as fonts are asked for by character height) of a
// font of that many tenths of a point on a device of `dpiY` pixels per inch.
int PointFontHeight(int tenths, int dpiY);

// What OK (or Enter) in a profile dialog comes to.
struct ProfileNameOutcome {
  bool accepted = false;   // the dialog ends with OK
  int warning = 0;         // language string to show in an attention dialog, 0 for none
  bool staysOpen = false;  // after the warning the dialog stays open
  int profile = -1;        // the profile that was added, if any
};

}  // namespace zeltra
