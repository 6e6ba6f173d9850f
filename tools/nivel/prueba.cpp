#include "prueba.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/foto.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "game/sin_pantalla.h"
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace nivel {

namespace {

using namespace vz;

constexpr int FPS = 75;       // the rate the game is designed for; animcon is 1.0
constexpr size_t ANCHO = 96;  // states kept per tick
constexpr int CARRILES_Y[4] = {72, 96, 120, 144};

enum Tecla { NADA, ARRIBA, ABAJO };

// One logic tick with `t` held during it.
void juega(Tecla t)
{
    key[KEY_UP] = t == ARRIBA;
    key[KEY_DOWN] = t == ABAJO;
    tick_sin_pantalla();
    key[KEY_UP] = 0;
    key[KEY_DOWN] = 0;
}

struct Barril {
    int indice;
    int x; // level x
    float carril_y;
};

// The game's test (enemivieja): nothing shows before the view's left edge reaches x 36.
bool visible(int ox, int v) { return v >= 36 && ox > v - 36 && ox < v + 318; }

// What the future of play depends on. Left out: the score and what follows from it (extra lives),
// the animation frame and where splashes are drawn. Records ahead of the collision window are the
// same in every state with this view; records behind it are never touched again.
std::string clave()
{
    std::string k;
    auto mete = [&k](const auto &v) { k.append(reinterpret_cast<const char *>(&v), sizeof v); };
    mete(x);
    mete(y);
    mete(pos);
    mete(mov);
    mete(cammov);
    mete(scr1);
    mete(scr5);
    mete(sobscro);
    mete(nscr2);
    mete(sang);
    for (const auto &sl : sanani) mete(sl.tiempo);
    const int v = vista_x();
    for (int a = 0; a < NUM_ENEMIGOS; a++) {
        const int ox = enemi[a].columna * 32;
        if (ox >= v && ox <= v + 79) k.push_back(static_cast<char>(enemi[a].tipo));
    }
    return k;
}

// The keys tried in the tick after state `f`. The autopilot moves as a player does: one lane change
// at a time, started with the truck at rest in a lane. Reversing in the middle of a change is left
// out on purpose: pressed every tick or two it keeps the truck between lanes, where nothing touches
// it, which no player can do by hand.
std::vector<Tecla> opciones(const Foto &f)
{
    std::vector<Tecla> t{NADA};
    // A key the logic does not read this tick would only repeat the no-key state.
    const bool lee = f.scr5 < PASADAS &&
                     (f.nscr2 == f.nscro || ((f.tick + 1) % 4 == 0 && f.nscr2 > 0.0f));
    if (!lee || f.mov != 0) return t;
    if (f.pos > 0) t.push_back(ARRIBA);
    if (f.pos < 3) t.push_back(ABAJO);
    return t;
}

// Whether some run of presses from the state now loaded stays clear of fire until barrel `b` has
// left the collision window.
bool libre(const Barril &b)
{
    std::vector<Foto> capa(1), sig;
    toma_foto(capa[0]);
    std::unordered_set<std::string> vistos;
    while (!capa.empty()) {
        sig.clear();
        vistos.clear();
        for (const Foto &f : capa) {
            if (b.x < f.scr5 * ANCHO_PASADA + f.scr1 - 320 || f.cambnib != 0) return true;
            for (Tecla t : opciones(f)) {
                pon_foto(f);
                juega(t);
                if (fuego == 0.0f && vistos.insert(clave()).second) {
                    sig.emplace_back();
                    toma_foto(sig.back());
                }
            }
        }
        if (sig.size() > ANCHO) sig.resize(ANCHO);
        std::swap(capa, sig);
    }
    return false;
}

// Ticks from the tick barrel `b` came into view (the state now loaded) to the last tick at which
// the first press of a move still lets the truck clear it without a fire. -1 when standing still
// does not run into this barrel; 0 when nothing helps any more.
int reaccion(const Barril &b)
{
    std::vector<Foto> quieto(1);
    toma_foto(quieto[0]);
    int choque = -1;
    for (int j = 1;; j++) {
        juega(NADA);
        if (fuego != 0.0f) {
            if (sprcol == b.indice) choque = j;
            break;
        }
        if (cambnib != 0 || b.x < vista_x()) break;
        quieto.emplace_back();
        toma_foto(quieto.back());
    }
    for (int k = choque; k >= 1; k--) {
        for (Tecla t : opciones(quieto[k - 1])) {
            if (t == NADA) continue;
            pon_foto(quieto[k - 1]);
            juega(t);
            if (fuego == 0.0f && libre(b)) return k;
        }
    }
    return choque < 0 ? -1 : 0;
}

// Keeps ANCHO states: in turn from every lane and direction of change (pos, mov), the highest
// scores first, so that the truck's options stay open while the scores stay high.
void recorta(std::vector<Foto> &sig)
{
    std::vector<size_t> orden(sig.size());
    for (size_t i = 0; i < orden.size(); i++) orden[i] = i;
    std::sort(orden.begin(), orden.end(), [&sig](size_t a, size_t b) {
        const Foto &p = sig[a], &q = sig[b];
        if (p.pos != q.pos) return p.pos < q.pos;
        if (p.mov != q.mov) return p.mov < q.mov;
        return p.puntos > q.puntos;
    });
    std::vector<std::pair<size_t, size_t>> turno(orden.size()); // (rank in its group, index)
    for (size_t i = 0; i < orden.size(); i++) {
        const Foto &p = sig[orden[i]];
        const bool mismo = i > 0 && sig[orden[i - 1]].pos == p.pos && sig[orden[i - 1]].mov == p.mov;
        turno[i] = {mismo ? turno[i - 1].first + 1 : 0, orden[i]};
    }
    std::stable_sort(turno.begin(), turno.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<Foto> quedan;
    quedan.reserve(ANCHO);
    for (size_t i = 0; i < ANCHO; i++) quedan.push_back(sig[turno[i].second]);
    sig.swap(quedan);
}

} // namespace

bool prepara_prueba() { return prepara_sin_pantalla(); }

Prueba prueba(const std::string &ruta, int d)
{
    Prueba r;
    // The autopilot draws nothing: the strip and the tile column shrink to one pixel, so the
    // scroller's copies clip to nothing while its counters run exactly as in play.
    BITMAP *tira = scroll, *bloque = proximo_bloque;
    scroll = create_bitmap(1, 1);
    proximo_bloque = create_bitmap(1, 1);

    juego_sin_pantalla(d, FPS);
    sobscro = 0.0f;
    tick = 0;
    niveles = 1;
    vz::nivel = 0;
    nivel_sin_pantalla(ruta.c_str());

    std::vector<Barril> barriles;
    for (int a = 0; a < NUM_ENEMIGOS; a++)
        if (enemi[a].tipo == 6)
            for (int c : CARRILES_Y)
                if (enemi[a].posy + 48 == c)
                    barriles.push_back({a, enemi[a].columna * 32, static_cast<float>(c)});

    std::vector<Foto> capa(1), sig;
    toma_foto(capa[0]);
    std::unordered_map<std::string, size_t> indice;
    while (!capa.empty()) {
        sig.clear();
        indice.clear();
        for (const Foto &f : capa) {
            for (Tecla t : opciones(f)) {
                pon_foto(f);
                const int v_antes = vista_x();
                juega(t);
                if (fuego != 0.0f) continue;
                if (cambnib != 0) {
                    r.ganable = true;
                    r.mejor = std::max(r.mejor, puntos);
                    continue;
                }
                const auto [it, nuevo] = indice.try_emplace(clave(), sig.size());
                if (!nuevo) {
                    if (puntos > sig[it->second].puntos) toma_foto(sig[it->second]);
                    continue;
                }
                sig.emplace_back();
                toma_foto(sig.back());
                // A barrel that appears while the truck rests in its lane: how long is left to move.
                const int v = vista_x();
                for (const Barril &b : barriles) {
                    if (visible(b.x, v_antes) || !visible(b.x, v) || sig.back().mov != 0 ||
                        sig.back().y != b.carril_y)
                        continue;
                    const int k = reaccion(b);
                    pon_foto(sig.back());
                    if (k < 0) continue;
                    const int ms = k * 1000 / FPS;
                    if (r.tension_ms < 0 || ms < r.tension_ms) {
                        r.tension_ms = ms;
                        r.columna = b.x / 32;
                    }
                }
            }
        }
        if (sig.size() > ANCHO) {
            recorta(sig);
            r.completa = false;
        }
        std::swap(capa, sig);
    }

    destroy_bitmap(scroll);
    destroy_bitmap(proximo_bloque);
    scroll = tira;
    proximo_bloque = bloque;
    return r;
}

} // namespace nivel
