// DLLs of the system taken from the system folder only. Users start the
// program from wherever they unpacked it (Downloads, the desktop), where any
// other download may have left a DLL of a system name: a DLL that is not one
// of the system's known DLLs must never be looked for there.
#pragma once

#include <windows.h>

namespace zeltra::win32 {

// Makes every later load by name, ours and the system's own, search the
// system folder only. Call it first thing in the entry point. False where the
// system lacks the call (Windows 7 without its 2011 loader update); the
// program's own DLLs are still loaded safely by LoadSystemLibrary then.
bool RestrictDllSearchToSystemFolder();

// The system DLL `name` (e.g. L"hid.dll") from the system folder, or from
// the side-by-side assembly the system redirects that name to; never from the
// program's folder, the current folder or PATH. Null when it cannot be loaded.
// The module stays loaded for the life of the process.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Fills a table of one DLL's functions: each entry the DLL's function of
// that name, or the given stand-in when the DLL is null or lacks it, so that
// every entry is always safe to call.
class SystemFunctions {
 public:
  explicit SystemFunctions(HMODULE module) : module_(module) {}

  template <typename Function>
  Function Take(const char* name, Function standIn) {
    FARPROC found = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
    if (found == nullptr) {
      all_ = false;
      return standIn;
    }
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
  }

  // Every function taken so far was the DLL's own.
  bool all() const { return all_; }

 private:
  HMODULE module_;
  bool all_ = true;
};

}  // namespace zeltra::win32
