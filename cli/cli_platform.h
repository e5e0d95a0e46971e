// What zeltra-cli takes from the platform it runs on: where it and its data
// live, the real mouse's HID backend and the console set-up.
#pragma once

#include "cli/cli.h"

namespace zeltra::cli {

// Everything but the streams and the clock, which the caller sets.
CliEnvironment PlatformEnvironment();

}  // namespace zeltra::cli
