// The rule of the main window's delayed save (timer 70, and at the exit): a
// pending save stays pending until a save has written every file, so that a
// failed one is done again by the next timer or at the exit.
#pragma once

#include <functional>

namespace zeltra {

// Runs `save` (true when every file was written) when `pending` is 1 and
// returns what is pending afterwards.
int RunDelayedSave(int pending, const std::function<bool()>& save);

}  // namespace zeltra
