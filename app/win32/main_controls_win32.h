// The main window's controls, made from the layout table: creation into the
// dialog's seven groups, lookup by id and instance, and the push of the
// page state and section states into them.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "app/main_layout.h"
#include "app/page_state.h"
#include "app/sections.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

class MainControls {
 public:
  // Every control of the table, in table order, with its images, caption and
  // the visibility the states give it.
  void Create(CDlgBase& dialog, HWND window, const PageState& page, const SectionState& sections, float scale);

  CControlBase* Find(int id, int instance = 0) const;
  template <class T>
  T* As(int id, int instance = 0) const {
    return dynamic_cast<T*>(Find(id, instance));
  }
  const ControlSpec* SpecOf(const CControlBase* control) const;
  std::size_t size() const { return byId_.size(); }

  // Values, captions, checked flags, the radio selection word, visibility and
  // places from the states (Place, then the values; a changed caption asks
  // for its repaint).
  void Update(const PageState& page, const SectionState& sections, float scale);
  // Visibility and places only, without any repaint: safe inside a paint.
  void Place(const PageState& page, const SectionState& sections, float scale);

  // A shown flag another owner decides (the battery text follows the battery
  // display): Place keeps it instead of the layout's.
  void HoldShown(int id, bool shown) { heldShown_[id] = shown; }

  // What a control holds after it handled the mouse: the checked flag, the
  // slider position or the power dial's minutes; 0 for the others.
  int ValueOf(int id) const;

 private:
  std::map<std::pair<int, int>, CControlBase*> byId_;
  std::map<const CControlBase*, const ControlSpec*> specs_;
  std::map<int, bool> heldShown_;
};

}  // namespace zeltra::win32
