// What the player sees and hears, scene by scene: the game's own code run from a chosen state,
// filmed (every screen shown, in the palette of its moment) with a record of the keys read, the
// ticks each screen stayed and the sounds played, against golden/<scene>.ppm.gz and .txt.
#include "assets/render.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "formato.h"
#include "frame/arranque.h"
#include "game/busca.h"
#include "game/juego.h"
#include "game/enemigos.h"
#include "game/logica.h"
#include "game/scroll.h"
#include "menus/menus.h"
#include "music/mp3.h"
#include "mundo_prueba.h"
#include <array>
#include <filesystem>
#include <fstream>

using namespace vz;
using namespace prueba;
using M = Mundo;
namespace fs = std::filesystem;

namespace {

// The whole-game scene's: the level it leaves with Esc (if any), the level whose state was told.
int sale_en = 0, visto = 0;

void cuadro() {
    act_grafica();
    foto();
}

// The objects, from record 0 on: column, posy, kind.
void objetos(std::initializer_list<std::array<int, 3>> lista) {
    M::nivel_vacio();
    int i = 0;
    for (auto [columna, posy, tipo] : lista)
        M::objeto(i++, columna, posy, tipo);
    enemivieja(0);
}

struct Escena {
    const char *nombre;
    void (*juega)();
    void (*cada_tick)(int pantalla, int ticks) = nullptr;
    friend void PrintTo(const Escena &e, std::ostream *os) { *os << e.nombre; }
};

const Escena escenas[] = {
    // A level's first view (what the last level left in the next block never shows), then 1200
    // pixels on with objects, a splash and the song's name, then the same once the name is gone.
    {"carretera",
     [] {
         clear_to_color(proximo_bloque, 4);
         M::empieza();
         cuadro();
         scro(1200.0f);
         y = 96.0f;
         s = 2;
         sanani[0] = {45.0f, 61, 30.0f};
         objetos({{41, 96, 2}, {44, 72, 7}, {46, 48, 6}, {39, 24, 8}});
         puntos = 12450;
         vidas = 3;
         mensaje = 2;
         std::snprintf(mensa, sizeof mensa, "Sonando:01_autopista.mid");
         cuadro();
         mensaje = 0;
         cuadro();
     }},
    // Flames: frame 0 at first, frame 9 at 119.9, frame 0 again at 120 and 9 at 239.9; from 240 the
    // truck blinks, shown on ticks that are multiples of 3.
    {"fuego",
     [] {
         const float fuegos[] = {1.0f, 119.9f, 120.0f, 239.9f, 240.0f, 241.0f};
         const int ticks[] = {0, 0, 0, 0, 3, 2};
         for (int i = 0; i < 6; i++) {
             tick = ticks[i];
             fuego = fuegos[i];
             cuadro();
         }
     }},
    // Depth, the truck in lane 1: an object in its own lane or in the lane above is covered by it,
    // one in the lane below covers it; and so does one in the lane above listed after that one.
    {"profundidad",
     [] {
         scro(10.0f);
         y = 96.0f;
         for (const auto &lista : {std::initializer_list<std::array<int, 3>>{{3, 48, 2}},
                                   {{3, 24, 2}},
                                   {{3, 72, 2}},
                                   {{2, 72, 2}, {3, 24, 4}}}) {
             objetos(lista);
             cuadro();
         }
     }},
    // P in the middle of a lane change: "PAUSA" on the screen until P is pressed again, then the
    // change goes on; the time paused is given back, so the game does not catch up on it.
    {"pausa",
     [] {
         BITMAP *pagina = active_page = create_bitmap(320, 240);
         for (int i = 0; i < 12; i++) { // Up for 5 ticks, P on the 6th: lane 1 on the 12th
             key[KEY_UP] = i < 5;
             key[KEY_P] = i == 5;
             const int antes = tick;
             act_logica();
             EXPECT_EQ(tick, antes);
             if (i != 4 && i != 11) continue;
             act_grafica();
             blit(pagina, screen, 0, 0, 0, 0, 320, 240);
             foto();
         }
         active_page = screen;
         destroy_bitmap(pagina);
     },
     [](int, int t) { key[KEY_P] = t == 2; }},
    // The difficulty menu: Up twice wraps round to the last entry, the keypad's Enter and Space do
    // nothing, Down wraps to the first, Enter confirms; Down and Esc quit; and so does a close
    // request whose Esc the menu emptied from the key buffer, with no key to follow.
    {"dificultad",
     [] {
         for (auto teclas : {std::initializer_list<int>{KEY_UP, KEY_UP, KEY_ENTER_PAD, KEY_SPACE,
                                                        KEY_DOWN, KEY_ENTER},
                             {KEY_DOWN, KEY_ESC},
                             {}}) {
             guion_teclas(teclas);
             if (teclas.size() == 0)
                 al_esperar = [] {
                     if (cambnib == 3) return;
                     close_hook();
                     clear_keybuf();
                 };
             cambnib = 0;
             const int d = seleciona_dificultad();
             registro.push_back("elige " + std::to_string(d) + ", cambnib " +
                                std::to_string(cambnib));
         }
         al_esperar = nullptr;
     }},
    // A life lost with none to spare: the last frame fades to black for two seconds, then
    // "GAME OVER" with its sound for five.
    {"fin_del_juego",
     [] {
         cuadro();
         game_over();
     }},
    // A won game on "SOY JODIDO" with 2 lives and 1200 points: the victory picture, the final
    // score, the initials (Down wraps A to Z, Up back to A and on to B; Left, Right and Enter move;
    // Enter on the third confirms), then the table with the record at its place (a tie with place
    // 3 goes above it), highlighted. Then a total too low for the easy table.
    {"victoria",
     [] {
         difi = 2;
         vidas = 2;
         puntos = 1200;
         guion_teclas({KEY_DOWN, KEY_UP, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_ENTER,
                       KEY_RIGHT, KEY_UP, KEY_ENTER});
         gane();
         difi = 0; // then a total below place 10: no initials, and the table as it was
         puntos = 999;
         escriveranking();
         muestraranking(1, -1);
     }},
    // A record that cannot be saved: the table as the file has it (here none), no row highlighted.
    {"guardado_fallido",
     [] {
         ruta_ranking = "no-such-dir/ranking.dat";
         difi = 0;
         puntos = 100;
         guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
         escriveranking();
     }},
    // Two games over three short levels at 10 pixels a tick. On "SOY JODIDO" (4 lives): a monster,
    // three bags (heard right, left, right) and two barrels on level 1, the second fire burning on
    // into level 2, levels 2 and 3 empty: won. Then on "VOY DE PASEO", Esc in level 1. The
    // banners, the state as each shows, every sound and the music's volume.
    {"partida",
     [] {
         const auto antes = fs::current_path(),
                    dir = fs::path(::testing::TempDir() + "vz-partida-" + std::to_string(getpid()));
         fs::create_directories(dir / "levels");
         fs::create_directories(dir / "mp3");
         fs::current_path(dir);
         for (int n = 1; n <= 3; n++) {
             std::vector<nivel::Objeto> objetos;
             if (n == 1)
                 objetos = {{40, 72, 1},  {100, 72, 7}, {101, 72, 7},
                            {102, 72, 7}, {791, 72, 6}, {792, 72, 6}};
             const auto b = nivel::a_binario({3, {}, objetos});
             std::ofstream("levels/" + std::to_string(n) + ".map", std::ios::binary)
                 .write(reinterpret_cast<const char *>(b.data()), nivel::TAM);
         }
         std::ofstream("mp3/a.mp3") << "any bytes: the stand-in takes them";
         buscaarch();
         buscaarchmp3();
         musicmp3 = 1;
         visto = 0;
         for (int esc : {0, 1}) {
             guion_teclas({esc ? KEY_UP : KEY_DOWN, KEY_ENTER});
             sale_en = esc;
             game();
             foto(); // the last picture of play
             registro.push_back("cambnib " + std::to_string(cambnib) + " after level " +
                                std::to_string(vz::nivel));
         }
         stopmp3();
         fs::current_path(antes);
         fs::remove_all(dir);
     },
     [](int, int) {
         if (vz::nivel == visto) return;
         visto = vz::nivel;
         char t[80];
         std::snprintf(t, sizeof t, "level %d: %d lives, %u points, fire %.1f", visto, vidas,
                       puntos, fuego);
         registro.push_back(t);
         if (visto == sale_en) key[KEY_ESC] = 1;
     }},
    // The title: the opening picture cut short by a key, the title picture with its blinking line,
    // Space for the three tables, one key cutting the first of them short; Enter held ends it.
    {"titulo",
     [] {
         cambnib = 2;
         presentacion();
         registro.push_back("cambnib " + std::to_string(cambnib));
     },
     [](int p, int t) {
         if ((p == 0 && t == 10) || (p == 3 && t == 20)) simulate_keypress(KEY_X << 8);
         if (p == 2 && t == 15) key[KEY_SPACE] = 1;
         if (p == 5) key[KEY_ENTER] = 1;
     }},
};

class Escenas : public Mundo, public ::testing::WithParamInterface<Escena> {};

TEST_P(Escenas, AreSeenAndHeardAsFilmed) {
    rueda(GetParam().cada_tick);
    GetParam().juega();
    compara(GetParam().nombre);
}

INSTANTIATE_TEST_SUITE_P(Todas, Escenas, ::testing::ValuesIn(escenas),
                         [](const auto &i) { return std::string(i.param.nombre); });

} // namespace
