// Fatal signals (Ctrl+C, kill, a crash). The library's own handlers shut it down and end the
// process by the signal; the game adds one step before them. One file per platform.
#pragma once

namespace vz {

// Before the library starts: notes the signals that the game was started with ignored (a script's
// background job ignores Ctrl+C), so that they stay ignored once the library has put its own
// handlers in place.
void anota_senales();
// From now on a fatal signal first calls `antes` (which must be safe at any point of the main
// thread: a few stores), then the library's handler. Should the library's shutdown hang on a lock
// held by the code that the signal stopped, the process ends by the signal two seconds later.
void vigila_senales(void (*antes)());

} // namespace vz
