#include "ui/win32/gdiplus_api_win32.h"

#include "settings/win32/system_library_win32.h"

namespace zeltra::win32 {

namespace {

using Gdiplus::GpBitmap;
using Gdiplus::GpImage;
using Gdiplus::GpStatus;

// Stand-ins for what gdiplus.dll does not provide.
constexpr GpStatus kMissing = Gdiplus::GdiplusNotInitialized;
GpStatus WINGDIPAPI NoStartup(ULONG_PTR*, const Gdiplus::GdiplusStartupInput*, Gdiplus::GdiplusStartupOutput*) {
  return kMissing;
}
VOID WINGDIPAPI NoShutdown(ULONG_PTR) {}
GpStatus WINGDIPAPI NoImageFromFile(const WCHAR*, GpImage**) { return kMissing; }
GpStatus WINGDIPAPI NoImageFromStream(IStream*, GpImage**) { return kMissing; }
GpStatus WINGDIPAPI NoBitmapFromFile(const WCHAR*, GpBitmap**) { return kMissing; }
GpStatus WINGDIPAPI NoHbitmap(GpBitmap*, HBITMAP*, Gdiplus::ARGB) { return kMissing; }
GpStatus WINGDIPAPI NoImageSize(GpImage*, UINT*) { return kMissing; }
GpStatus WINGDIPAPI NoLockBits(GpBitmap*, const Gdiplus::GpRect*, UINT, Gdiplus::PixelFormat, Gdiplus::BitmapData*) {
  return kMissing;
}
GpStatus WINGDIPAPI NoUnlockBits(GpBitmap*, Gdiplus::BitmapData*) { return kMissing; }
GpStatus WINGDIPAPI NoDispose(GpImage*) { return kMissing; }

GdiplusApi LoadGdiplusApi() {
  SystemFunctions dll(LoadSystemLibrary(L"gdiplus.dll"));
  GdiplusApi api;
  api.GdiplusStartup = dll.Take("GdiplusStartup", &NoStartup);
  api.GdiplusShutdown = dll.Take("GdiplusShutdown", &NoShutdown);
  api.GdipLoadImageFromFileICM = dll.Take("GdipLoadImageFromFileICM", &NoImageFromFile);
  api.GdipLoadImageFromStream = dll.Take("GdipLoadImageFromStream", &NoImageFromStream);
  api.GdipCreateBitmapFromFile = dll.Take("GdipCreateBitmapFromFile", &NoBitmapFromFile);
  api.GdipCreateHBITMAPFromBitmap = dll.Take("GdipCreateHBITMAPFromBitmap", &NoHbitmap);
  api.GdipGetImageWidth = dll.Take("GdipGetImageWidth", &NoImageSize);
  api.GdipGetImageHeight = dll.Take("GdipGetImageHeight", &NoImageSize);
  api.GdipBitmapLockBits = dll.Take("GdipBitmapLockBits", &NoLockBits);
  api.GdipBitmapUnlockBits = dll.Take("GdipBitmapUnlockBits", &NoUnlockBits);
  api.GdipDisposeImage = dll.Take("GdipDisposeImage", &NoDispose);
  api.loaded = dll.all();
  return api;
}

}  // namespace

const GdiplusApi& Gdip() {
  static const GdiplusApi api = LoadGdiplusApi();
  return api;
}

}  // namespace zeltra::win32
