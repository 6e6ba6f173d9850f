#include "prueba.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/foto.h"
#include "game/juego.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "game/sin_pantalla.h"
#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace nivel {

namespace {

using namespace vz;

constexpr int FPS = 75;      // the rate the game is designed for; animcon is 1.0
constexpr size_t ANCHO = 96; // states kept per tick and phase
constexpr int FASES = 4;     // tick % 4 at a level's first tick
constexpr int CARRILES_Y[4] = {72, 96, 120, 144};

enum Tecla { NADA, ARRIBA, ABAJO };
using Fases = uint8_t; // bit p: the level's first tick had tick % 4 == p

// Set by a tick played in a splash, where the logic steers on one phase in four.
bool depende_fase = false;

// One logic tick with `t` held during it.
void juega(Tecla t)
{
    if (nscr2 != nscro && nscr2 > 0.0f) depende_fase = true;
    key[KEY_UP] = t == ARRIBA;
    key[KEY_DOWN] = t == ABAJO;
    tick_sin_pantalla();
    key[KEY_UP] = 0;
    key[KEY_DOWN] = 0;
}

// The global tick before the level's tick `capa` (from 0) is played, when the level's first tick
// had tick % 4 == p.
int tick_de(int capa, int p) { return capa + p + FASES - 1; }

int vista(const Foto &f) { return f.scr5 * ANCHO_PASADA + f.scr1 - 320; }

struct Barril {
    int indice;
    int x; // level x
    float carril_y;
};

// The game's test (enemivieja): nothing shows before the view's left edge reaches x 36.
bool visible(int ox, int v) { return v >= 36 && ox > v - 36 && ox < v + 318; }

std::vector<std::vector<int>> por_columna; // object records by column, in table order

// What the future of play depends on. Left out: the score and what follows from it (extra lives),
// the animation frame, where splashes are drawn, and the tick (one value per phase and tick).
// Records ahead of the collision window are the same in every state with this view; records behind
// it are never touched again.
void clave(std::string &k)
{
    k.clear();
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
    const int hasta = std::min<int>((v + 79) / 32, static_cast<int>(por_columna.size()) - 1);
    for (int c = std::max(0, (v + 31) / 32); c <= hasta; c++)
        for (int a : por_columna[c]) k.push_back(static_cast<char>(enemi[a].tipo));
}

// Whether the tick after `f` steers the truck (its tick is set for the phase).
bool lee(const Foto &f)
{
    return f.scr5 < PASADAS && (f.nscr2 == f.nscro || ((f.tick + 1) % 4 == 0 && f.nscr2 > 0.0f));
}

// The keys tried in the tick after state `f`. The autopilot moves as a player does: one lane change
// at a time, started with the truck at rest in a lane. Reversing in the middle of a change is left
// out on purpose: pressed every tick or two it keeps the truck between lanes, where nothing touches
// it, which no player can do by hand. A key the logic does not read would only repeat the no-key
// state.
int opciones(const Foto &f, Tecla t[3])
{
    int n = 0;
    t[n++] = NADA;
    if (!lee(f) || f.mov != 0) return n;
    if (f.pos > 0) t[n++] = ARRIBA;
    if (f.pos < 3) t[n++] = ABAJO;
    return n;
}

// Whether some run of presses from the state now loaded stays clear of fire until barrel `b` has
// left the collision window.
bool libre(const Barril &b)
{
    std::vector<Foto> capa(1), sig;
    toma_foto(capa[0]);
    std::unordered_set<std::string> vistos;
    std::string k;
    while (!capa.empty()) {
        sig.clear();
        vistos.clear();
        for (const Foto &f : capa) {
            if (b.x < vista(f) || f.cambnib != 0) return true;
            Tecla t[3];
            for (int i = 0, n = opciones(f, t); i < n; i++) {
                pon_foto(f);
                juega(t[i]);
                clave(k);
                if (fuego == 0.0f && vistos.insert(k).second) {
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

struct Reaccion {
    int k;          // ticks to the last press that saves the truck; -1 not forced, 0 too late
    uint8_t buenas; // the directions (bit per Tecla) that save it when pressed at the last tick
                    // that steers before the barrel would hit
};

// From the state now loaded (the truck at rest in the lane of barrel `b`, which it can see): the
// last tick at which the first press of a move still lets the truck clear `b` without a fire.
Reaccion reaccion(const Barril &b)
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
    Reaccion r{choque < 0 ? -1 : 0, 0};
    bool ultima = true;
    for (int k = choque; k >= 1 && r.k <= 0; k--) {
        Tecla t[3];
        const int n = opciones(quieto[k - 1], t);
        for (int i = 1; i < n && (ultima || r.k <= 0); i++) {
            pon_foto(quieto[k - 1]);
            juega(t[i]);
            if (fuego != 0.0f || !libre(b)) continue;
            r.k = k;
            if (ultima) r.buenas |= 1 << t[i];
        }
        ultima = ultima && n == 1;
    }
    return r;
}

// A state of the search with the starting phases that reach it. The world's score is not used:
// each phase keeps the best score it reaches this state with.
struct Nodo {
    Foto f;
    Fases fases = 0;
    std::array<uint32_t, FASES> puntos{};
    // Between lanes: the view when the change was started, and whether it was a forced move in a
    // direction that saves the truck even when pressed at the last moment, and the x of the barrel
    // that forced it. At rest: the directions of such a move, and that x.
    int pulsa_v = 1 << 30;
    bool forzada = false;
    uint8_t buenas = 0;
    int fuerza_x = 1 << 30;
};

// Keeps at most ANCHO states of every phase: from every lane and direction of change (pos, mov)
// in turn, the highest scores first, so that the truck's options stay open while the scores stay
// high. A state kept for one phase stays for all of its phases. False when nothing is dropped.
bool recorta(std::vector<Nodo> &sig)
{
    std::vector<bool> queda(sig.size());
    std::vector<std::pair<size_t, size_t>> turno; // (rank in its lane and direction, index)
    std::vector<size_t> orden;
    bool recortado = false;
    for (int p = 0; p < FASES; p++) {
        orden.clear();
        for (size_t i = 0; i < sig.size(); i++)
            if (sig[i].fases & (1 << p)) orden.push_back(i);
        std::stable_sort(orden.begin(), orden.end(), [&sig, p](size_t a, size_t b) {
            const Nodo &m = sig[a], &n = sig[b];
            if (m.f.pos != n.f.pos) return m.f.pos < n.f.pos;
            if (m.f.mov != n.f.mov) return m.f.mov < n.f.mov;
            return m.puntos[p] > n.puntos[p];
        });
        turno.clear();
        for (size_t j = 0; j < orden.size(); j++) {
            const Foto &f = sig[orden[j]].f, *antes = j > 0 ? &sig[orden[j - 1]].f : nullptr;
            const bool mismo = antes && antes->pos == f.pos && antes->mov == f.mov;
            turno.push_back({mismo ? turno.back().first + 1 : 0, orden[j]});
        }
        std::stable_sort(turno.begin(), turno.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        recortado |= turno.size() > ANCHO;
        for (size_t j = 0; j < turno.size() && j < ANCHO; j++) queda[turno[j].second] = true;
    }
    std::vector<Nodo> quedan;
    for (size_t i = 0; i < sig.size(); i++)
        if (queda[i]) quedan.push_back(std::move(sig[i]));
    sig.swap(quedan);
    return recortado;
}

// The forced move that barrel `b` asks of state `n` at tick `capa`, from each of its phases. A
// result depends on the phase only when some tick played read the keys on one phase in four.
void mide(Nodo &n, const Barril &b, int capa, Prueba &r)
{
    bool medido = false;
    for (int p = 0; p < FASES; p++) {
        if (!(n.fases & (1 << p)) || medido) continue;
        n.f.tick = tick_de(capa, p);
        pon_foto(n.f);
        depende_fase = false;
        const Reaccion re = reaccion(b);
        medido = !depende_fase;
        if (re.buenas != 0) {
            n.buenas |= re.buenas;
            n.fuerza_x = std::min(n.fuerza_x, b.x);
        }
        if (re.k < 0) continue;
        const int ms = re.k * 1000 / FPS;
        if (r.tension_ms < 0 || ms < r.tension_ms) {
            r.tension_ms = ms;
            r.columna = b.x / 32;
        }
    }
}

struct Busqueda {
    std::array<bool, FASES> gana{};
    std::array<uint32_t, FASES> mejor{};
};

// Plays the level now loaded from all four phases at once.
Busqueda busca(const std::vector<Barril> &barriles, Prueba &r)
{
    Busqueda res;
    std::vector<Nodo> capa(1), sig;
    toma_foto(capa[0].f);
    capa[0].fases = (1 << FASES) - 1;
    std::unordered_map<std::string, size_t> indice;
    std::vector<std::pair<size_t, int>> eventos; // (state, barrel) to measure
    std::string k;
    for (int n = 0; !capa.empty(); n++) {
        sig.clear();
        indice.clear();
        eventos.clear();
        for (const Nodo &nodo : capa) {
            // At full speed every phase steers; in a splash only the one whose tick % 4 is 0.
            Fases grupos[2] = {nodo.fases, 0};
            const Foto &f0 = nodo.f;
            if (f0.nscr2 != f0.nscro && f0.nscr2 > 0.0f) {
                const Fases lectora = static_cast<Fases>(1 << ((FASES - n % FASES) % FASES));
                grupos[0] = nodo.fases & lectora;
                grupos[1] = nodo.fases & ~lectora;
            }
            for (const Fases g : grupos) {
                if (g == 0) continue;
                Foto base = f0;
                base.tick = tick_de(n, __builtin_ctz(g));
                const int v_antes = vista(base);
                Tecla t[3];
                for (int i = 0, nt = opciones(base, t); i < nt; i++) {
                    pon_foto(base);
                    juega(t[i]);
                    if (fuego != 0.0f) continue;
                    const uint32_t gano = puntos - base.puntos;
                    if (cambnib != 0) {
                        for (int p = 0; p < FASES; p++)
                            if (g & (1 << p)) {
                                res.gana[p] = true;
                                res.mejor[p] = std::max(res.mejor[p], nodo.puntos[p] + gano);
                            }
                        continue;
                    }
                    clave(k);
                    const auto [it, nuevo] = indice.try_emplace(k, sig.size());
                    if (nuevo) {
                        sig.emplace_back();
                        toma_foto(sig.back().f);
                    }
                    Nodo &s = sig[it->second];
                    s.fases |= g;
                    for (int p = 0; p < FASES; p++)
                        if (g & (1 << p))
                            s.puntos[p] = std::max(s.puntos[p], nodo.puntos[p] + gano);
                    if (mov != 0) {
                        const bool pulsa = base.mov == 0;
                        s.pulsa_v = std::min(s.pulsa_v, pulsa ? v_antes : nodo.pulsa_v);
                        if (pulsa ? (nodo.buenas >> t[i]) & 1 : nodo.forzada) {
                            s.forzada = true;
                            s.fuerza_x = std::min(s.fuerza_x, nodo.fuerza_x);
                        }
                        continue;
                    }
                    if (base.mov == 0 && nodo.buenas != 0) {
                        s.buenas |= nodo.buenas;
                        s.fuerza_x = std::min(s.fuerza_x, nodo.fuerza_x);
                    }
                    // A barrel ahead in the truck's lane asks for a move from the later of the
                    // moment it shows and the moment the truck comes to rest. After a move pressed
                    // with it in view, it counts only when that move was forced, saves the truck
                    // even pressed at the last moment, and the barrel lies behind the one that
                    // forced it: only an early press, the player's choice, reaches the others.
                    const int v = vista_x();
                    for (size_t j = 0; j < barriles.size(); j++) {
                        const Barril &b = barriles[j];
                        if (b.carril_y != y || b.x <= v + 79 || !visible(b.x, v)) continue;
                        const bool aparece = !visible(b.x, v_antes);
                        const bool llega =
                            base.mov != 0 &&
                            ((nodo.forzada && b.x > nodo.fuerza_x) || !visible(b.x, nodo.pulsa_v));
                        if (aparece || llega) eventos.emplace_back(it->second, static_cast<int>(j));
                    }
                }
            }
        }
        std::sort(eventos.begin(), eventos.end());
        eventos.erase(std::unique(eventos.begin(), eventos.end()), eventos.end());
        for (const auto &[i, j] : eventos) mide(sig[i], barriles[j], n + 1, r);
        if (sig.size() > ANCHO && recorta(sig)) r.completa = false;
        std::swap(capa, sig);
    }
    return res;
}

// One scroll of `d` pixels from the carry `f`, by the game's scroller: the pixels and the new
// carry.
std::pair<int, float> paso(float f, float d)
{
    scr1 = scr2 = scr3 = scr4 = scr5 = 0;
    sobscro = f;
    scro(d);
    return {scr1, sobscro};
}

// Every carry a level can start with: what the game's speeds at FPS leave from 0.0, the carry at
// program start. The level start's 352 pixels, every difficulty's speed codes, a splash's crawl and
// a fire's stop; the carry is never reset, so any difficulty's speeds reach any game.
std::vector<float> fracciones()
{
    std::vector<float> velocidades = {0.0f, 352.0f};
    for (int d = 0; d < 3; d++) {
        juego_sin_pantalla(d, FPS);
        velocidades.push_back(animcon);
        for (unsigned char m = 1; m <= 3; m++) {
            multi = m;
            fija_velocidad();
            velocidades.push_back(nscro);
        }
    }
    std::vector<float> hay{0.0f};
    for (size_t i = 0; i < hay.size(); i++)
        for (float d : velocidades) {
            const float f = paso(hay[i], d).second;
            if (std::find(hay.begin(), hay.end(), f) == hay.end()) hay.push_back(f);
        }
    std::sort(hay.begin(), hay.end());
    return hay;
}

// The carries that play a level differently at its speeds (`nscro` now set, a splash's crawl, a
// fire's stop): each with how many carries play it alike. Two carries play alike when every speed
// scrolls them by the same pixels into carries that play alike.
std::vector<std::pair<float, int>> clases(const std::vector<float> &hay)
{
    const std::vector<float> velocidades = {352.0f, nscro, animcon, 0.0f};
    std::vector<int> clase(hay.size(), 0);
    for (int cuantas = 1;;) {
        std::map<std::vector<int>, int> firmas;
        std::vector<int> nueva(hay.size());
        for (size_t i = 0; i < hay.size(); i++) {
            std::vector<int> firma{clase[i]};
            for (float d : velocidades) {
                const auto [n, f] = paso(hay[i], d);
                firma.push_back(n);
                firma.push_back(clase[std::find(hay.begin(), hay.end(), f) - hay.begin()]);
            }
            nueva[i] = firmas.try_emplace(firma, static_cast<int>(firmas.size())).first->second;
        }
        clase = nueva;
        if (static_cast<int>(firmas.size()) == cuantas) break;
        cuantas = static_cast<int>(firmas.size());
    }
    std::vector<std::pair<float, int>> r;
    for (size_t i = 0; i < hay.size(); i++) {
        auto primera = std::find(clase.begin(), clase.end(), clase[i]) - clase.begin();
        if (static_cast<size_t>(primera) == i)
            r.push_back(
                {hay[i], static_cast<int>(std::count(clase.begin(), clase.end(), clase[i]))});
    }
    return r;
}

// A new game on difficulty `d` with the scroll's carry at `f`, at the start of the level `ruta`.
void empieza(const std::string &ruta, int d, float f)
{
    juego_sin_pantalla(d, FPS);
    sobscro = f;
    niveles = 1;
    vz::nivel = 0;
    nivel_sin_pantalla(ruta.c_str());
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

    const std::vector<float> hay = fracciones();
    empieza(ruta, d, 0.0f);
    const std::vector<std::pair<float, int>> cuales = clases(hay);

    std::vector<Barril> barriles;
    por_columna.assign(1, {});
    for (int a = 0; a < NUM_ENEMIGOS; a++) {
        if (enemi[a].columna >= por_columna.size()) por_columna.resize(enemi[a].columna + 1);
        por_columna[enemi[a].columna].push_back(a);
        if (enemi[a].tipo == 6)
            for (int c : CARRILES_Y)
                if (enemi[a].posy + 48 == c)
                    barriles.push_back({a, enemi[a].columna * 32, static_cast<float>(c)});
    }

    r.fases = FASES * static_cast<int>(hay.size());
    r.ganadas = 0;
    r.mejor = UINT32_MAX;
    for (const auto &[f, cuantas] : cuales) {
        empieza(ruta, d, f);
        const Busqueda b = busca(barriles, r);
        for (int p = 0; p < FASES; p++) {
            if (b.gana[p]) {
                r.ganadas += cuantas;
                r.mejor = std::min(r.mejor, b.mejor[p]);
            } else if (r.falla_tick < 0) {
                r.falla_tick = p;
                r.falla_fraccion = f;
            }
        }
    }
    r.ganable = r.ganadas == r.fases;
    if (!r.ganable) r.mejor = 0;

    destroy_bitmap(scroll);
    destroy_bitmap(proximo_bloque);
    scroll = tira;
    proximo_bloque = bloque;
    return r;
}

} // namespace nivel
