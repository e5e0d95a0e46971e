// The program's command line, split into arguments as Windows splits it
// (the only place that does), then read by ParseStartOptions.
#pragma once

#include "app/start_options.h"

namespace zeltra::win32 {

StartOptions ReadStartOptions(const wchar_t* commandLine);

}  // namespace zeltra::win32
