#include "app/sections.h"

#include <initializer_list>

namespace zeltra {

namespace {

// One row of the collapse rule: when `clicked` was opened and `ifOpen` is
// open, the sections in `collapse` close. A header's rows are tried in order
// and the first that applies wins.
struct CollapseRow {
  Section clicked;
  Section ifOpen;
  std::initializer_list<Section> collapse;
};

using S = Section;
const CollapseRow kCollapseRows[] = {
    {S::Dpi, S::Lighting, {S::ReportRate, S::LiftOff, S::Debounce, S::Pointer}},
    {S::Dpi, S::ReportRate, {S::LiftOff, S::Debounce, S::Pointer}},
    {S::Dpi, S::LiftOff, {S::Debounce, S::Pointer}},
    {S::Lighting, S::Dpi, {S::ReportRate, S::LiftOff, S::Debounce, S::Pointer}},
    {S::Lighting, S::ReportRate, {S::LiftOff, S::Debounce, S::Pointer}},
    {S::Lighting, S::LiftOff, {S::Debounce, S::Pointer}},
    {S::Pointer, S::Dpi, {S::Lighting, S::LiftOff, S::Debounce, S::ReportRate}},
    {S::Pointer, S::Lighting, {S::ReportRate, S::LiftOff, S::Debounce}},
    {S::Pointer, S::ReportRate, {S::LiftOff, S::Debounce}},
    {S::ReportRate, S::Dpi, {S::Lighting, S::LiftOff, S::Debounce, S::Pointer}},
    {S::ReportRate, S::Lighting, {S::LiftOff, S::Debounce, S::Pointer}},
    {S::ReportRate, S::LiftOff, {S::Debounce, S::Pointer}},
    {S::LiftOff, S::Dpi, {S::Lighting, S::ReportRate, S::Debounce, S::Pointer}},
    {S::LiftOff, S::Lighting, {S::ReportRate, S::Debounce, S::Pointer}},
    {S::LiftOff, S::ReportRate, {S::Pointer, S::Debounce}},
};

std::size_t At(Section s) { return static_cast<std::size_t>(s); }

}  // namespace

const SectionInfo& InfoOf(Section section) { return kSections[At(section)]; }

const SectionInfo* SectionOfHeader(int headerId) {
  for (const SectionInfo& info : kSections)
    if (info.headerId == headerId) return &info;
  return nullptr;
}

SectionState::SectionState(bool liftOffOffered) : liftOffOffered_(liftOffOffered) {
  expanded_[At(Section::Dpi)] = true;
  expanded_[At(Section::Lighting)] = true;
}

SectionState SectionState::WithExpanded(const std::array<bool, kSectionCount>& expanded, bool liftOffOffered) {
  SectionState state(liftOffOffered);
  state.expanded_ = expanded;
  return state;
}

bool SectionState::HeaderShown(Section section) const {
  if (section == Section::Debounce) return false;
  if (section == Section::LiftOff) return liftOffOffered_;
  return true;
}

bool SectionState::OnHeaderClicked(int headerId, bool nowExpanded) {
  const SectionInfo* info = SectionOfHeader(headerId);
  if (!info || !HeaderShown(info->section)) return false;
  const auto before = expanded_;
  expanded_[At(info->section)] = nowExpanded;
  if (nowExpanded) {
    for (const CollapseRow& row : kCollapseRows) {
      if (row.clicked != info->section || !expanded_[At(row.ifOpen)]) continue;
      for (Section s : row.collapse) expanded_[At(s)] = false;
      break;
    }
  }
  return expanded_ != before;
}

void SectionState::SetLiftOffOffered(bool offered) {
  liftOffOffered_ = offered;
  if (!offered) expanded_[At(Section::LiftOff)] = false;
}

std::array<SectionPlace, kSectionCount> LayoutSections(const SectionState& state) {
  std::array<SectionPlace, kSectionCount> places{};
  int y = kSectionColumnTop;
  for (const SectionInfo& info : kSections) {
    SectionPlace& place = places[At(info.section)];
    place.headerShown = state.HeaderShown(info.section);
    place.headerTop = y;
    place.bodyTop = y + kHeaderSpacing;
    place.panelHeight = info.expandedHeight - kBodyGap;
    place.bodyShown = state.BodyShown(info.section);
    if (!place.headerShown) continue;
    y += kHeaderSpacing;
    if (place.bodyShown) y += info.expandedHeight;
  }
  return places;
}

}  // namespace zeltra
