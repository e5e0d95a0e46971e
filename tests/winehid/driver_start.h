// Starting the C++ runtime inside a driver. Wine's loader may call a driver's
// entry point as a DLL's (when the driver imports user-mode DLLs, as the
// runtime makes this one do) before the kernel calls it as DriverEntry; the
// driver tells the two calls apart and starts the runtime once either way.
#pragma once

namespace zeltra::winehid {

// The loader's call: the first argument is the module itself.
bool IsLoaderCall(const void* first, const void* second);
// Answers the loader's call as a DLL's entry point (and starts the runtime
// on the first attach).
long LoaderEntry(const void* first, const void* second);
// Starts the runtime (static objects, threads, thread-local data) once;
// false when it cannot.
bool StartRuntime();

}  // namespace zeltra::winehid
