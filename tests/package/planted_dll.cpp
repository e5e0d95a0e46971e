// A DLL no program of ours may ever load. Planted beside the program under
// the names of system DLLs that are not known DLLs (hid.dll, gdiplus.dll,
// comctl32.dll), as a malicious download could leave it, it writes
// "<its own path>.loaded", naming the program that loaded it, as soon as it
// is loaded. It exports what the programs once imported from those DLLs (each
// failing), so that a program importing them would start with it.
#include <windows.h>

namespace {

void LeaveMarker(HINSTANCE self) {
  wchar_t marker[MAX_PATH + 16];
  const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatW(marker, L".loaded");
  wchar_t program[MAX_PATH];
  const DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH);
  HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, program, programLength * sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

#define PLANTED extern "C" __declspec(dllexport)

// hid.dll
PLANTED void WINAPI HidD_GetHidGuid(GUID* guid) { *guid = GUID{}; }
PLANTED BOOLEAN WINAPI HidD_GetAttributes(HANDLE, void*) { return FALSE; }
PLANTED BOOLEAN WINAPI HidD_GetPreparsedData(HANDLE, void**) { return FALSE; }
PLANTED BOOLEAN WINAPI HidD_FreePreparsedData(void*) { return FALSE; }
PLANTED LONG WINAPI HidP_GetCaps(void*, void*) { return 0; }
PLANTED BOOLEAN WINAPI HidD_SetFeature(HANDLE, void*, ULONG) { return FALSE; }
PLANTED BOOLEAN WINAPI HidD_GetFeature(HANDLE, void*, ULONG) { return FALSE; }

// gdiplus.dll: every call answers GdiplusNotInitialized.
constexpr int kNotInitialized = 18;
PLANTED int WINAPI GdiplusStartup(ULONG_PTR*, const void*, void*) { return kNotInitialized; }
PLANTED void WINAPI GdiplusShutdown(ULONG_PTR) {}
PLANTED int WINAPI GdipLoadImageFromFileICM(const wchar_t*, void**) { return kNotInitialized; }
PLANTED int WINAPI GdipLoadImageFromStream(void*, void**) { return kNotInitialized; }
PLANTED int WINAPI GdipCreateBitmapFromFile(const wchar_t*, void**) { return kNotInitialized; }
PLANTED int WINAPI GdipCreateHBITMAPFromBitmap(void*, HBITMAP*, DWORD) { return kNotInitialized; }
PLANTED int WINAPI GdipGetImageWidth(void*, UINT*) { return kNotInitialized; }
PLANTED int WINAPI GdipGetImageHeight(void*, UINT*) { return kNotInitialized; }
PLANTED int WINAPI GdipBitmapLockBits(void*, const void*, UINT, INT, void*) { return kNotInitialized; }
PLANTED int WINAPI GdipBitmapUnlockBits(void*, void*) { return kNotInitialized; }
PLANTED int WINAPI GdipDisposeImage(void*) { return kNotInitialized; }

// comctl32.dll
PLANTED BOOL WINAPI InitCommonControlsEx(const void*) { return FALSE; }
