// "--first-paint-log FILE": the benchmark's view of start-up. Writes, once,
// the milliseconds from the process's creation to the end of the main
// window's first paint while it is shown (not minimised), then gets out of
// the way. Off unless asked for.
#pragma once

#include <string>

namespace zeltra::win32 {

// The option's value in the command line; empty when absent.
std::wstring FirstPaintLogPath(const wchar_t* commandLine);

// Watches the calling thread's window messages until the first paint of a
// visible, not minimised window of `windowClass`.
void StartFirstPaintLog(const std::wstring& path, const wchar_t* windowClass);

// Milliseconds since this process was created.
double MsSinceProcessStart();

}  // namespace zeltra::win32
