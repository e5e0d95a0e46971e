// The column of collapsible sections on the right of the main window: which
// headers are open, the rule that keeps the open sections fitting, and where
// each header and its section body stand.
#pragma once

#include <array>

#include "app/main_window_ids.h"

namespace zeltra {

// Top to bottom.
enum class Section : int { Dpi = 0, Lighting, ReportRate, LiftOff, Debounce, Pointer };
inline constexpr int kSectionCount = 6;

struct SectionInfo {
  Section section;
  int headerId;
  int textString;            // the header's caption
  int expandedHeight;        // how far an open section pushes the sections below it
  bool clickRepaintsWindow;  // the lift-off and debounce headers repaint only themselves
};

// The pointer section is the last one: its height pushes nothing and only
// sizes the panel behind its control-panel button.
inline constexpr std::array<SectionInfo, kSectionCount> kSections{{
    {Section::Dpi, kIdDpiHeader, 11, 196, true},
    {Section::Lighting, kIdLightingHeader, 12, 180, true},
    {Section::ReportRate, kIdReportRateHeader, 13, 180, true},
    {Section::LiftOff, kIdLiftOffHeader, 19, 85, false},
    {Section::Debounce, kIdDebounceHeader, 272, 85, false},
    {Section::Pointer, kIdPointerHeader, 14, 50, true},
}};

// Geometry of the column in design units.
inline constexpr int kSectionColumnLeft = 560;
inline constexpr int kSectionColumnWidth = 540;
inline constexpr int kSectionColumnTop = 60;
inline constexpr int kHeaderHeight = 26;
inline constexpr int kHeaderSpacing = 30;  // header top to the next header (or the body) top
inline constexpr int kBodyGap = 6;         // between a body's panel and the next header

const SectionInfo& InfoOf(Section section);
// The section a header id belongs to; nothing for other ids.
const SectionInfo* SectionOfHeader(int headerId);

class SectionState {
 public:
  // Start: DPI and lighting open, the others closed.
  explicit SectionState(bool liftOffOffered = false);
  // A state taken as it is, without the collapse rule.
  static SectionState WithExpanded(const std::array<bool, kSectionCount>& expanded, bool liftOffOffered);

  bool Expanded(Section section) const { return expanded_[static_cast<std::size_t>(section)]; }
  // The debounce header is never shown; the lift-off header only while the
  // sensor offers the lift-off distance.
  bool HeaderShown(Section section) const;
  // A section's controls are visible only under a shown, open header.
  bool BodyShown(Section section) const { return HeaderShown(section) && Expanded(section); }
  bool liftOffOffered() const { return liftOffOffered_; }
  const std::array<bool, kSectionCount>& expanded() const { return expanded_; }

  // A header was clicked and its check button now shows `nowExpanded`.
  // Opening one closes others so that the open sections fit. Clicks on a
  // header that is not shown (or not a header) change nothing; returns
  // whether anything changed.
  bool OnHeaderClicked(int headerId, bool nowExpanded);
  // The sensor's page flag. Taking the lift-off header away also closes its
  // section, so that it does not reappear open with a later sensor.
  void SetLiftOffOffered(bool offered);

 private:
  std::array<bool, kSectionCount> expanded_{};
  bool liftOffOffered_ = false;
};

// Where a section stands (design units, window coordinates).
struct SectionPlace {
  bool headerShown = false;
  int headerTop = 0;
  bool bodyShown = false;
  int bodyTop = 0;     // the body's controls are placed relative to (column left, bodyTop)
  int panelHeight = 0; // the panel drawn behind an open body
};

// Headers follow one another 30 units apart, every open section pushes the
// ones below it down by its expanded height, and a hidden header takes no place.
std::array<SectionPlace, kSectionCount> LayoutSections(const SectionState& state);

}  // namespace zeltra
