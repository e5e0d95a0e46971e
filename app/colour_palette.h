// The colour palette dialog (CColorPaletteDlg) apart from drawing: which
// colour it edits, how a click picks one, its value texts, and where OK
// writes it.
#pragma once

#include <array>
#include <string>

#include "app/main_layout.h"
#include "settings/profile.h"

namespace zeltra {

enum class PaletteKind { LightingSlot = 0, DpiStage = 1 };

class ColourPalette {
 public:
  static constexpr int kWidth = 500;
  static constexpr int kHeight = 291;
  static constexpr int kBitmap = 287;
  static constexpr int kRedTextId = 2011;
  static constexpr int kGreenTextId = 2012;
  static constexpr int kBlueTextId = 2013;
  static constexpr Colour kBackground = Rgb(15, 15, 15);  // between the swatches: never taken
  // Design rectangles of the picture, edges inclusive as drawn.
  static constexpr DesignRect kField{18, 26, 205, 245};     // (18, 26) to (222, 270)
  static constexpr DesignRect kSwatches{244, 26, 230, 165};  // (244, 26) to (473, 190)
  static constexpr DesignRect kPreview{245, 212, 59, 59};    // (245, 212) to (303, 270)
  static constexpr DesignRect kClosePlace = DesignRect::FromEdges(480, 3, 495, 18);
  static constexpr DesignRect kOkPlace = DesignRect::FromEdges(410, 247, 475, 270);

  // A lighting slot of a mode (modes and slots outside the profile's tables
  // stand for 0), or a DPI stage (8 or more stands for stage 0). The working
  // colour starts as the colour being edited.
  static ColourPalette ForLightingSlot(const ProfileRecord& record, int mode, int slot);
  static ColourPalette ForDpiStage(const ProfileRecord& record, int stage);

  PaletteKind kind() const { return kind_; }
  int modeOrStage() const { return modeOrStage_; }
  int slot() const { return slot_; }
  Colour working() const { return working_; }

  // A left click at window point (x, y) whose pixel, as the dialog drew it,
  // has colour `pixel`: inside the field or the swatch grid that colour
  // becomes the working colour, unless it is the background. True when taken
  // (the value texts and the preview then repaint).
  bool OnClick(int x, int y, Colour pixel, float scale);
  // The red, green and blue texts: "%d" of each.
  std::array<std::u16string, 3> ValueTexts() const;
  // The preview square in window pixels.
  static UiRect PreviewRect(float scale);
  // OK or Enter: the working colour into the profile.
  void Confirm(ProfileRecord& record) const;

 private:
  ColourPalette(PaletteKind kind, int modeOrStage, int slot, Colour working)
      : kind_(kind), modeOrStage_(modeOrStage), slot_(slot), working_(working) {}

  PaletteKind kind_;
  int modeOrStage_;
  int slot_;
  Colour working_;
};

}  // namespace zeltra
