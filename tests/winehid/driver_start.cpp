#include "driver_start.h"

#include <windows.h>

#include <cstdint>

// MinGW's DLL start-up: runs the runtime's initialisers, then DllMain.
extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE module, DWORD reason, LPVOID reserved);
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

bool gRuntimeStarted = false;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) gRuntimeStarted = true;
  return TRUE;
}

namespace zeltra::winehid {

bool IsLoaderCall(const void* first, const void*) { return first == &__ImageBase; }

long LoaderEntry(const void* first, const void* second) {
  // The second argument holds the reason of a DLL's entry point.
  const auto reason = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(second));
  return DllMainCRTStartup(const_cast<void*>(first), reason, nullptr);
}

bool StartRuntime() {
  if (!gRuntimeStarted) DllMainCRTStartup(&__ImageBase, DLL_PROCESS_ATTACH, nullptr);
  return gRuntimeStarted;
}

}  // namespace zeltra::winehid
