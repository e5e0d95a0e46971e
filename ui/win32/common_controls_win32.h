// The system's common controls (comctl32.dll, version 6 through the
// manifest), started the first time a window needs one of their classes.
#pragma once

namespace zeltra::win32 {

// Registers the common controls' window classes, once per process; false
// where comctl32.dll cannot be loaded (the caller then goes without).
bool EnsureCommonControls();

}  // namespace zeltra::win32
