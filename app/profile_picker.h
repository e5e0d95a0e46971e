// The profile picker and its two popups: the rows of CComboProfilePopup,
// where it opens, what choosing a row does, and the right-click
// CProfileRKeyPopup with its placement.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/main_layout.h"
#include "app/main_window_ids.h"
#include "app/program_links_dialog.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "ui/popup_classes.h"

namespace zeltra {

inline constexpr int kStringPickerHeader = 10;
inline constexpr int kStringPickerAdd = 200;

struct PickerPopupSpec {
  ProfilePopupRows rows;  // ProfileRowsOf: the popup and the model share one builder
  UiPoint topLeft;        // client coordinates of the main window
  unsigned resultMessage = kPickerResultMessage;
  std::u16string_view headerImage = u"skins\\header2_nr.png";
};

// Row 1 the header (string 10), rows 2..6 the names of the shown profiles in
// list order and empty rows after them, row 7 string 200; the top-left
// corner at the picker's left edge, 201 units above its bottom edge.
PickerPopupSpec BuildPickerPopup(const SettingsStore& settings, const UiRect& picker, float scale,
                                 const LanguageTable& language = Language());

// Code 12 remembers whether the popup was open then; code 2 opens it unless
// it was (so a click on the picker while it is open only closes it).
class PickerToggle {
 public:
  void OnPointerMove(bool popupOpen) { openAtLastMove_ = popupOpen; }
  bool OpensOnClick() const { return !openAtLastMove_; }

 private:
  bool openAtLastMove_ = false;
};

// A row chosen (kPickerResultMessage with wParam kProfileRowChosen).
struct PickerChoice {
  enum class Kind { Nothing, SwitchProfile, ProfileAction };
  Kind kind = Kind::Nothing;
  int profile = -1;  // SwitchProfile: the profile that becomes current
  int action = -1;   // ProfileAction: 4 add, or 5 the all-shown notice
  friend bool operator==(const PickerChoice&, const PickerChoice&) = default;
};
PickerChoice ChoosePickerRow(const SettingsStore& settings, int item);

// The right-click popup of a profile row (kPickerResultMessage with wParam
// kProfileRowRightClicked).
struct ProfileTabPopupSpec {
  int profile = 0;
  int ownerValue = 0;  // kIdProfileTabFirst + profile: the profile's tab
  unsigned resultMessage = kProfileTabResultMessage;
  UiPoint topLeft;  // client coordinates of the main window
  std::array<int, 5> entryStrings{90, 91, 92, 93, kStringLinkPrograms};  // import, export, edit, delete, programs
  std::array<std::u16string_view, 4> images = kMenuItemSkins;
};
// Nothing for the header, the last row and empty rows. 225 units right of the
// picker's left edge, at the row's top; moved up to H - window top - 96 units
// when its top + window top + 116 units would pass H (H = the full-screen
// client height kept at start-up): 74 and 94 for the four entries of old,
// each one item (22 units) more for the fifth, the linked programs.
std::optional<ProfileTabPopupSpec> BuildProfileTabPopup(const SettingsStore& settings, int item,
                                                        const UiRect& picker, float scale, int windowTop,
                                                        int fullScreenHeight);

// Entry k (1..5) of the popup with this owner value: action k - 1 (0 import,
// 1 export, 2 edit, 3 delete) for that profile, and 6 (its linked programs)
// for entry 5.
struct ProfileActionRequest {
  int action = 0;
  int profile = 0;
  friend bool operator==(const ProfileActionRequest&, const ProfileActionRequest&) = default;
};
// The profile of a profile-tab popup's owner value; -1 outside the five.
int ProfileOfRKeyOwner(std::intptr_t ownerValue);
std::optional<ProfileActionRequest> ChooseProfileTabEntry(int ownerValue, int entry);

}  // namespace zeltra
