// A test-only gallery: each scene opens windows of the program (dialogs,
// popups) so that a screenshot can be taken of them. Not part of the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/dlg_base_win32.h"

namespace zeltra::gallery {

// A plain skinned dialog at the screen's top-left: owner of the scene's
// popups and small dialogs; it swallows every notification.
class HostDialog : public win32::CDlgBase {
 public:
  HostDialog();
  HWND hwnd() const { return hwnd_; }

 protected:
  void DrawBackground(HDC dc, const RECT& client) override;
  void CreateControls(const RECT&) override {}
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

struct SceneContext {
  HostDialog& host;
  float scale;
  // Windows the scene opened; the screenshot covers them (and the host
  // only when `includeHost` is set).
  std::vector<HWND> windows;
  bool includeHost = false;
  // How long the windows paint before the screenshot; -1 for the gallery's
  // default (a dialog that ends itself needs less).
  int waitMs = -1;
  // Takes the screenshot at once and ends the gallery: for a scene whose
  // window runs a loop of its own (a menu), from a timer inside that loop.
  std::function<void()> captureNow;
};

using SceneFunction = std::function<void(SceneContext&)>;

struct SceneRegistrar {
  SceneRegistrar(const char* name, SceneFunction open);
};

// Scene files use:  ZELTRA_GALLERY_SCENE(attention) { ... context ... }
#define ZELTRA_GALLERY_SCENE(ident)                                                  \
  static void GalleryScene_##ident(::zeltra::gallery::SceneContext& context);         \
  static const ::zeltra::gallery::SceneRegistrar kGalleryRegistrar_##ident(#ident,    \
                                                                          GalleryScene_##ident); \
  static void GalleryScene_##ident([[maybe_unused]] ::zeltra::gallery::SceneContext& context)

// Opens a dialog without a modal loop (Create) at its own size and keeps the
// object alive until the gallery ends; returns its window.
HWND OpenModeless(std::unique_ptr<win32::CDialog> dialog);

}  // namespace zeltra::gallery
