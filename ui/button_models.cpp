#include "ui/button_models.h"

#include <algorithm>

#include "settings/text_format.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/ui_context.h"

namespace zeltra {

int CheckButtonModel::look() const {
  if (checked_ || state_ == kStatePressed) return kLookChecked;
  return state_ == kStateOver ? kLookOver : kLookNormal;
}

bool ColorCheckModel::OnLButtonDblClk(int x, int y) { return StandardDoubleClick(x, y); }

// --- combo button ------------------------------------------------------------

bool ComboButtonModel::OnMouseMove(int x, int y) {
  if (disabled() || state_ == kStatePressed) return false;
  const std::uintptr_t self = static_cast<std::uintptr_t>(id());
  if (Contains(x, y)) {
    const bool changed = SetState(kStateOver);
    if (!entered_) {
      if (enterCounter_ >= kEnterMoves - 1) {
        entered_ = true;
      } else {
        ++enterCounter_;
      }
      left_ = false;
      NotifyAs(messageNumber_, self, kCodeEntered);
    }
    return changed;
  }
  const bool changed = SetState(kStateNormal);
  if (!left_ && !popupOpen_) {
    entered_ = false;
    enterCounter_ = 0;
    left_ = true;
    NotifyAs(messageNumber_, self, kCodeLeft);
  }
  return changed;
}

bool ComboButtonModel::OnLButtonDown(int x, int y) { return StandardPress(x, y); }

bool ComboButtonModel::OnLButtonUp(int x, int y) {
  if (disabled()) return false;
  if (!Contains(x, y)) return SetState(kStateNormal);
  const bool changed = SetState(kStateOver);
  NotifyAs(messageNumber_, static_cast<std::uintptr_t>(id()), kCodeClicked);
  return changed;
}

// --- radio buttons -----------------------------------------------------------

int DpiRadioModel::index() const { return std::clamp(index_, 0, kDpiRadioCount - 1); }

bool DpiRadioModel::checked() const { return DpiRadioChecked(index()); }

void DpiRadioModel::OnClicked() { SelectDpiRadio(index()); }

std::u16string DpiRadioModel::Label() const { return Dec(static_cast<long long>(valueIndex_) * 50); }

UiRect DpiRadioModel::LabelBand(float scale) const {
  const UiRect& r = rect();
  return {r.left, r.top, r.right, r.top + Scaled(11, scale)};
}

// --- power dial ----------------------------------------------------------------

namespace {

// The arc points a0..a8 and the centre, in design pixels from the top-left.
constexpr std::array<UiPoint, 9> kArc{{{3, 71}, {7, 51}, {17, 32}, {40, 13}, {70, 5}, {100, 14}, {121, 31},
                                       {131, 51}, {134, 71}}};
constexpr UiPoint kCentre{70, 71};

long long Cross(UiPoint o, UiPoint a, UiPoint p) {
  return static_cast<long long>(a.x - o.x) * (p.y - o.y) - static_cast<long long>(a.y - o.y) * (p.x - o.x);
}

bool InTriangle(const PowerDialModel::Wedge& w, UiPoint p) {
  const long long d1 = Cross(w.a, w.b, p);
  const long long d2 = Cross(w.b, w.centre, p);
  const long long d3 = Cross(w.centre, w.a, p);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

}  // namespace

PowerDialModel::PowerDialModel(int id, const UiRect& rect, float scale) : PushButtonModel(id, rect), scale_(scale) {
  BuildWedges();
}

void PowerDialModel::SetRect(const UiRect& rect) {
  PushButtonModel::SetRect(rect);
  BuildWedges();
}

void PowerDialModel::BuildWedges() {
  const UiRect& r = rect();
  const auto at = [&](UiPoint design) {
    return UiPoint{r.left + Scaled(design.x, scale_), r.top + Scaled(design.y, scale_)};
  };
  for (std::size_t k = 0; k < wedges_.size(); ++k) wedges_[k] = Wedge{at(kArc[k]), at(kArc[k + 1]), at(kCentre)};
}

int PowerDialModel::WedgeAt(int x, int y) const {
  for (std::size_t k = 0; k < wedges_.size(); ++k) {
    if (InTriangle(wedges_[k], UiPoint{x, y})) return static_cast<int>(k) + 2;
  }
  return 0;
}

void PowerDialModel::SetValue(int value) { value_ = std::clamp(value, kMinValue, kMaxValue); }

bool PowerDialModel::OnLButtonUp(int x, int y) {
  if (disabled()) return false;
  if (!Contains(x, y)) return SetState(kStateNormal);
  const int wedge = WedgeAt(x, y);
  // Between the wedges (below the baseline, beside the arc) the value and
  // the owner stay as they are; only the press ends.
  if (wedge == 0) return SetState(kStateOver);
  const int old = value_;
  value_ = wedge + 1;
  const bool changed = SetState(kStateOver) || value_ != old;
  Notify(0, kCodeClicked);
  return changed;
}

}  // namespace zeltra
