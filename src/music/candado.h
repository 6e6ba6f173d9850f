// The music state is shared by the main thread and the 250 ms timer.
#pragma once
#include <mutex>

namespace vz {

// Held while a song is started, fed, polled or stopped. The timer thread only tries it and skips
// its turn when the main thread holds it, so it never waits.
extern std::mutex candado_musica;

// "Sonando:" and the first `largo` characters of `nombre` into the message line, shown 3 seconds.
void anuncia_tema(const char *nombre, int largo);

} // namespace vz
