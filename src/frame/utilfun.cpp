#include "frame/utilfun.h"
#include "allegro_vz.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "music/musica.h"
#include "music/mp3.h"
#include <chrono>
#include <thread>

namespace vz {

std::atomic<int> tick{0};
int max_fps = 0;
std::atomic<int> mensaje{0};

void ticks() { tick++; }
END_OF_FUNCTION(ticks)

void fps_proc()
{
    if (mensaje > 0) mensaje--;
}
END_OF_FUNCTION(fps_proc)

void mp3actualiza()
{
    if (mp3est != 0) sigue_mp3();
    if (midiest != 0) sigue_midi();
}
END_OF_FUNCTION(mp3actualiza)

int fin_espera(int desde, float segundos)
{
    return static_cast<int>(desde + static_cast<double>(max_fps) * segundos);
}

// Waits only poll `tick`; sleeping a millisecond keeps a core free without changing their timing.
void cede() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

void delay(float segundos)
{
    presenta(); // what the wait shows stays still: one copy before it is enough
    const int antes = tick;
    const int fin = fin_espera(antes, segundos);
    while (tick < fin) cede();
    tick = antes;
}

void delay2(float segundos)
{
    presenta();
    const int antes = tick;
    const int fin = fin_espera(antes, segundos);
    clear_keybuf();
    for (;;) {
        if (keypressed()) break;
        if (tick >= fin) break;
        if (cambnib == 3) break;
        cede();
    }
    tick = antes;
}

} // namespace vz
