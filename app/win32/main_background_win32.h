// The main window's background: the fill (the average colour of bitmap 364),
// that bitmap stretched over the window and the panels of the sections
// shown. It is drawn once per section state into a picture every paint
// starts from; the first one on a thread of its own while the window is
// being made, so that the first paint finds it ready.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "ui/win32/scoped_win32.h"

namespace zeltra::win32 {

// What a background is drawn from: values only, so that any thread may draw it.
struct BackgroundPlan {
  int width = 0;
  int height = 0;
  float scale = 1.0f;
  std::vector<RECT> panels;  // in pixels
  std::filesystem::path panelFile;
  // The fill when the bitmap cannot be read; the bitmap's average otherwise.
  COLORREF fallbackFill = RGB(0, 0, 0);
};

struct BackgroundPicture {
  BackBuffer picture{BackBuffer::Format::TopDown32};
  COLORREF fill = RGB(0, 0, 0);
  bool fillRead = false;      // the fill is the bitmap's average
  bool panelsDrawn = false;   // false: the panels are left to the caller
};

// Draws the background into a new picture; nothing when no picture of that
// size can be made. Panels whose image our decoders do not take, or that is
// not opaque, are left to the caller (panelsDrawn false), who draws them with
// the shared image cache of the user-interface thread.
std::unique_ptr<BackgroundPicture> DrawBackgroundPicture(const BackgroundPlan& plan);

// A background drawn on a thread of its own; Take waits for it.
class BackgroundJob {
 public:
  explicit BackgroundJob(BackgroundPlan plan);
  ~BackgroundJob();
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  const BackgroundPlan& plan() const { return plan_; }
  std::unique_ptr<BackgroundPicture> Take();

 private:
  BackgroundPlan plan_;
  std::unique_ptr<BackgroundPicture> result_;
  std::thread thread_;
};

}  // namespace zeltra::win32
