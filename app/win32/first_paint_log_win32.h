// "--first-paint-log FILE": the benchmark's view of start-up. Writes, once,
// the milliseconds from the process's creation to the end of the main
// window's first paint while it is shown (not minimised), then gets out of
// the way. Off unless asked for.
#pragma once

#include <filesystem>

namespace zeltra::win32 {

// Watches the calling thread's window messages until the first paint of a
// visible, not minimised window of `windowClass`; nothing for an empty path.
void StartFirstPaintLog(const std::filesystem::path& path, const wchar_t* windowClass);

// Milliseconds since this process was created.
double MsSinceProcessStart();

}  // namespace zeltra::win32
