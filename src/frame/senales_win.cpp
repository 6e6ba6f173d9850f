#include "frame/senales.h"

// Windows starts every program with the C library's own signal handling, and the library installs
// no handler there: a program that is ended (Task Manager, a console's Ctrl+C or Ctrl+Break) or
// that crashes is ended by the system, which takes back its window, its display mode and its
// DirectX objects with the process. There is nothing to note and nothing to hand back.

namespace vz {

void anota_senales() {}

void vigila_senales(void (*)()) {}

} // namespace vz
