// Screen flow: the state that says which screen runs next, and the close button.
#pragma once
#include <atomic>

namespace vz {

// Screen-flow state: 0 play, 1 level completed, 2 title, 3 quit, 4 game lost, 5 game won.
// Written by the window thread too (close button).
extern std::atomic<int> cambnib;
// 1 once the close button was clicked; never reset.
extern std::atomic<int> salir;

// Runs screens until the program is to end.
void cambia_funcion();
// Close-button callback: quit state, salir, and one ESC in the key buffer.
void close_hook();

} // namespace vz
