// The vertical scroll bar and the two macro lists: the library tree and one
// macro's actions.
#pragma once

#include "ui/list_models.h"
#include "ui/scroll_bar_model.h"
#include "ui/win32/control_base_win32.h"

namespace zeltra::win32 {

class CVScrollBar : public CModelControl<ScrollBarModel> {
 public:
  CVScrollBar(HWND parent, int id, const RECT& rect, std::u16string text, int position = 0, int page = 1,
              int range = 1, bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;
  // The arrow strips (PNG resources 188 up, 187 down), loaded at
  // construction; lays the bar out again.
  bool LoadArrowImages();
  void SetScrollInfo(int position, int page, int range) { model_.SetScrollInfo(position, page, range); }
  int position() const { return model_.position(); }
  bool dragging() const { return model_.dragging(); }
  // From the owner's mouse-move handler while the thumb is dragged.
  int FollowDrag(UINT flags, int x, int y) {
    (void)flags;
    return model_.FollowDrag(x, y) ? 1 : 0;
  }

 private:
  SkinImage up_;
  SkinImage down_;
};

class CEditShowList : public CModelControl<TreeListModel> {
 public:
  CEditShowList(HWND parent, int id, const RECT& rect, std::u16string text, MacroLibrary* library, bool visible = true,
                bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;
  // The open icon's size sets the indents and the folder-icon zone.
  bool SetOpenFolderImage(const std::filesystem::path& file);
  void SetClosedFolderImage(const std::filesystem::path& file) { SetSkinFile(file, closed_); }
  void EnsureSelectionVisible() { model_.EnsureSelectionVisible(); }

 private:
  SkinImage open_;
  SkinImage closed_;
};

class CImageShowList : public CModelControl<ActionListModel> {
 public:
  CImageShowList(HWND parent, int id, const RECT& rect, std::u16string text, const Macro* macro = nullptr,
                 bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;
  // First action icon (a release), second (a press), the delay icon.
  void SetReleaseIcon(const std::filesystem::path& file) { SetSkinFile(file, release_); }
  void SetPressIcon(const std::filesystem::path& file) { SetSkinFile(file, press_); }
  void SetDelayIcon(const std::filesystem::path& file) { SetSkinFile(file, delay_); }
  void SetMacro(const Macro* macro) { model_.SetMacro(macro); }

 private:
  SkinImage release_;
  SkinImage press_;
  SkinImage delay_;
};

}  // namespace zeltra::win32
