// The functions of GDI+ (gdiplus.dll) the drawing code uses. GDI+ is not a
// known DLL on every Windows the program runs on (Windows 7 keeps it side by
// side), so it is loaded at run time from the system (LoadSystemLibrary),
// never found beside the program.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace zeltra::win32 {

// One entry per function, named as gdiplus.dll exports it. Every entry can
// be called: where gdiplus.dll or the function is missing it answers
// GdiplusNotInitialized (and GdiplusShutdown does nothing), so images are
// simply not drawn.
struct GdiplusApi {
  decltype(&Gdiplus::GdiplusStartup) GdiplusStartup;
  decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown;
  decltype(&Gdiplus::DllExports::GdipLoadImageFromFileICM) GdipLoadImageFromFileICM;
  decltype(&Gdiplus::DllExports::GdipLoadImageFromStream) GdipLoadImageFromStream;
  decltype(&Gdiplus::DllExports::GdipCreateBitmapFromFile) GdipCreateBitmapFromFile;
  decltype(&Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap) GdipCreateHBITMAPFromBitmap;
  decltype(&Gdiplus::DllExports::GdipGetImageWidth) GdipGetImageWidth;
  decltype(&Gdiplus::DllExports::GdipGetImageHeight) GdipGetImageHeight;
  decltype(&Gdiplus::DllExports::GdipBitmapLockBits) GdipBitmapLockBits;
  decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) GdipBitmapUnlockBits;
  decltype(&Gdiplus::DllExports::GdipDisposeImage) GdipDisposeImage;
  bool loaded = false;  // every entry is gdiplus.dll's own
};

// The table, filled at the first call.
const GdiplusApi& Gdip();

}  // namespace zeltra::win32
