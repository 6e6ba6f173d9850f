#include "frame/mandos.h"
#include <atomic>

namespace vz {

namespace {

std::atomic<unsigned> mando{0};    // bit a: action a held on some pad; written by the poll
unsigned ignorados[MAX_JOYSTICKS]; // per pad: axes past half their travel at start-up
unsigned antes = 0;                // the poll's last state, to see what went down

constexpr int MEDIO = 64; // half of the library's -127..127 travel

// The axes past half their travel, by the system's numbers, and which of them are on the
// negative side. The library pairs the system's axes into sticks in order, so counting them
// back gives each one its number.
void ejes_fuera(const JOYSTICK_INFO &p, unsigned &fuera, unsigned &negativos)
{
    fuera = negativos = 0;
    int n = 0;
    for (int s = 0; s < p.num_sticks; s++)
        for (int e = 0; e < p.stick[s].num_axis; e++, n++) {
            const int pos = p.stick[s].axis[e].pos;
            if (pos > -MEDIO && pos < MEDIO) continue;
            fuera |= 1u << n;
            if (pos < 0) negativos |= 1u << n;
        }
}

// Bit a: action a held on pad `p` (buttons by the settings, the axes past half their travel).
// Axes in `ignorados` (bit n: axis n as the system numbers them) are not read.
unsigned estado_mando(const JOYSTICK_INFO &p, unsigned ignorados)
{
    unsigned r = 0;
    for (int a = 0; a < NUM_ACCIONES; a++) {
        const int b = ajustes[BOTON + a];
        if (b >= 0 && b < p.num_buttons && p.button[b].b) r |= 1u << a;
    }
    unsigned fuera, negativos;
    ejes_fuera(p, fuera, negativos);
    fuera &= ~ignorados;
    const unsigned v = ajustes[EJES_V], h = ajustes[EJES_H];
    if (fuera & negativos & v) r |= 1u << ARRIBA;
    if (fuera & ~negativos & v) r |= 1u << ABAJO;
    if (fuera & negativos & h) r |= 1u << IZQUIERDA;
    if (fuera & ~negativos & h) r |= 1u << DERECHA;
    return r;
}

} // namespace

bool pulsada(int accion)
{
    // `key` is volatile: the keyboard thread writes it, every call reads it afresh.
    return key[ajustes[TECLA + accion]] != 0 || (mando & 1u << accion) != 0;
}

int accion_de(int tecla)
{
    for (int a = 0; a < NUM_ACCIONES; a++)
        if (ajustes[TECLA + a] == tecla) return a;
    return NINGUNA;
}

void lee_mando()
{
    poll_joystick();
    unsigned ahora = 0;
    for (int i = 0; i < num_joysticks; i++)
        ahora |= estado_mando(joy[i], ignorados[i]);
    mando = ahora;
    // Held down is one press: no repeat, as the menus would run through their entries.
    for (int a = 0; a < NUM_ACCIONES; a++)
        if ((ahora & ~antes) >> a & 1) simulate_keypress(ajustes[TECLA + a] << 8);
    antes = ahora;
}
END_OF_FUNCTION(lee_mando)

void instala_mando()
{
    if (install_joystick(JOY_TYPE_AUTODETECT) != 0 || num_joysticks == 0) return;
    // A trigger rests at one end of its travel: taken for a direction it would hold one down.
    // The driver has read the pads once already.
    unsigned negativos;
    for (int i = 0; i < num_joysticks; i++)
        ejes_fuera(joy[i], ignorados[i], negativos);
    LOCK_FUNCTION(lee_mando);
    install_int(lee_mando, 10);
}

} // namespace vz
