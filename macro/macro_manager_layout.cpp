#include "macro/macro_manager_layout.h"

#include "macro/macro_manager.h"
#include "macro/macro_tree_view.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr DesignRect kCountBox{392, 190, 78, 20};

constexpr DialogControl Radio(int id, int y, RadioBit bit) {
  DialogControl control = ImageControl(id, ControlKind::kRadioButton, {368, y, 15, 15}, u"skins\\radio_nr.png",
                                       u"skins\\radio_ov.png", u"skins\\radio_dn.png");
  control.radio = bit;
  return control;
}

constexpr DialogControl RecordToggle() {
  DialogControl control =
      ImageControl(kManagerRecordButton, ControlKind::kCheckButton, {370, 53, 90, 18}, u"skins\\macro_record_nr.png",
                   u"skins\\macro_record_nr.png", u"skins\\macro_record_dn.png");
  control.text = 198;
  control.checkedText = 199;
  return control;
}

}  // namespace

const std::array<DialogControl, 23> kMacroManagerControls{{
    TextControl(kTreeCaptionId, {24, 35, 100, 17}, 191),
    TextControl(kManagerActionsCaption, {189, 35, 100, 17}, 192),
    TextControl(kManagerDelayCaption, {390, 84, 200, 18}, 193),
    TextControl(kManagerRepeatHeldCaption, {390, 113, 200, 17}, 194),
    TextControl(kManagerRepeatToggleCaption, {390, 141, 200, 17}, 195),
    TextControl(kManagerRepeatCountCaption, {390, 169, 200, 17}, 196),
    TextControl(kManagerActionsCaption, {370, 230, 100, 17}, 197),
    CloseCrossControl({505, 3, 15, 15}),
    ImageControl(kTreeListId, ControlKind::kTreeList, {25, 54, 143, 269}, kSkinFolderOpen, kSkinFolderClosed),
    ImageControl(kTreeScrollBarId, ControlKind::kScrollBar, {169, 53, 18, 271}),
    ImageControl(kActionListId, ControlKind::kActionList, {190, 54, 143, 269}, u"skins\\macro_up.png",
                 u"skins\\macro_down.png", u"skins\\macro_time.png"),
    ImageControl(kActionScrollBarId, ControlKind::kScrollBar, {334, 53, 18, 271}),
    RecordToggle(),
    CheckBoxControl(kManagerDelayBox, {370, 86, 11, 11}),
    Radio(kRepeatRuleControl1, 113, kRepeatRuleRadio1),
    Radio(kRepeatRuleControl4, 141, kRepeatRuleRadio4),
    Radio(kRepeatRuleControl2, 169, kRepeatRuleRadio2),
    ImageControl(kManagerCountBox, ControlKind::kEditBox, kCountBox),
    ImageControl(kManagerInsertCombo, ControlKind::kComboButton, {370, 250, 117, 14}, u"skins\\combo3_nr.png",
                 u"skins\\combo3_ov.png"),
    PushButtonControl(kManagerNewMacroButton, {24, 333, 65, 23}, 200),
    PushButtonControl(kManagerDeleteItemButton, {104, 333, 65, 23}, 202),
    PushButtonControl(kManagerModifyButton, {189, 333, 65, 23}, 201),
    PushButtonControl(kManagerDeleteActionButton, {269, 333, 65, 23}, 202),
}};

const std::array<int, 14> kControlsDisabledWhileRecording{
    kIdClose,
    kTreeListId,
    kTreeScrollBarId,
    kActionListId,
    kActionScrollBarId,
    kManagerDelayBox,
    kRepeatRuleControl1,
    kRepeatRuleControl4,
    kRepeatRuleControl2,
    kManagerCountBox,
    kManagerNewMacroButton,
    kManagerDeleteItemButton,
    kManagerModifyButton,
    kManagerDeleteActionButton,
};

UiRect CountBoxRect(bool shown, float scale) {
  DesignRect rect = kCountBox;
  if (!shown) rect.left += kCountBoxHiddenShift;
  return ScaleOriginAndSize(rect, scale);
}

}  // namespace zeltra
