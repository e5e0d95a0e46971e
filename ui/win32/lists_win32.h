// The vertical scroll bar and the lists: a tree and a list of rows with
// icons, each drawing what its model gives.
#pragma once

#include <array>
#include <filesystem>
#include <type_traits>
#include <utility>
#include <vector>

#include "ui/list_models.h"
#include "ui/ui_context.h"
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

// Draws a tree's rows: the selection, the folder icons, the names.
class TreeRowsPainter {
 public:
  bool LoadOpenFolderImage(const std::filesystem::path& file) { return LoadSkinImage(file, open_); }
  void SetClosedFolderImage(const std::filesystem::path& file) { SetSkinFile(file, closed_); }
  const SkinImage& openFolder() const { return open_; }
  void Draw(HDC dc, const RECT& box, HFONT font, const std::vector<TreeRow>& rows) const;
  void ForEachImage(const ImageVisitor& visit);

 private:
  SkinImage open_;
  SkinImage closed_;
};

// The tree list (CEditShowList) over a TreeModel built from `modelArgs`
// after its id, rectangle and scale.
template <class Model>
class CTreeList : public CModelControl<Model> {
  static_assert(std::is_base_of_v<TreeModel, Model>, "a tree list shows a TreeModel");

 public:
  template <class... ModelArgs>
  CTreeList(HWND parent, int id, const RECT& rect, std::u16string text, ModelArgs&&... modelArgs)
      : CModelControl<Model>(parent, std::move(text), true, true, id, ToUiRect(rect), Ui().scale,
                             std::forward<ModelArgs>(modelArgs)...) {}

  void Draw(HDC dc, const RECT&) override { painter_.Draw(dc, this->GetRect(), this->font(), this->model_.Rows()); }
  void ForEachImage(const ImageVisitor& visit) override { painter_.ForEachImage(visit); }
  // The open icon's size sets the indents and the folder-icon zone.
  bool SetOpenFolderImage(const std::filesystem::path& file) {
    const bool ok = painter_.LoadOpenFolderImage(file);
    this->model_.SetIconSize(painter_.openFolder().width(), painter_.openFolder().height());
    return ok;
  }
  void SetClosedFolderImage(const std::filesystem::path& file) { painter_.SetClosedFolderImage(file); }

 private:
  TreeRowsPainter painter_;
};

// Draws rows with an icon left of their text: the selection, the row's
// image (one of kImages), the text.
class IconRowsPainter {
 public:
  static constexpr int kImages = 4;
  // Names image `image`'s file (decoded when first drawn); false for an
  // image number outside 0..kImages - 1.
  bool SetImage(int image, const std::filesystem::path& file);
  void Draw(HDC dc, const RECT& box, HFONT font, const std::vector<IconRow>& rows) const;
  void ForEachImage(const ImageVisitor& visit);

 private:
  std::array<SkinImage, kImages> images_;
};

// The icon list (CImageShowList) over an IconListModel built from
// `modelArgs` after its id, rectangle and scale.
template <class Model>
class CIconList : public CModelControl<Model> {
  static_assert(std::is_base_of_v<IconListModel, Model>, "an icon list shows an IconListModel");

 public:
  template <class... ModelArgs>
  CIconList(HWND parent, int id, const RECT& rect, std::u16string text, ModelArgs&&... modelArgs)
      : CModelControl<Model>(parent, std::move(text), true, true, id, ToUiRect(rect), Ui().scale,
                             std::forward<ModelArgs>(modelArgs)...) {}

  void Draw(HDC dc, const RECT&) override { painter_.Draw(dc, this->GetRect(), this->font(), this->model_.Rows()); }
  void ForEachImage(const ImageVisitor& visit) override { painter_.ForEachImage(visit); }
  // The icon of the rows whose image is `image`.
  bool SetIcon(int image, const std::filesystem::path& file) { return painter_.SetImage(image, file); }

 private:
  IconRowsPainter painter_;
};

}  // namespace zeltra::win32
