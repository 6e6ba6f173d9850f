#include "music/musica.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "music/candado.h"
#include "music/carpetas.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vz {

char archivm[MAX_MUSICAS][512];
int musicas = 0;
int listamusica[11];
std::atomic<int> midiest{0};
char ruta_musica[512];
std::mutex candado_musica;

namespace {
constexpr int CURSOR = 10;
}

void buscaarchm()
{
    // "Sonando:" and the name must fit the 512-byte message line.
    musicas = lista_musica("midi", "mid");
}

void armalistamusica()
{
    for (int &slot : listamusica) slot = 0;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // 0 marks a free slot; file 0 takes the one slot left at the end.
    for (int a = 0; a < musicas; a++) {
        int b;
        do {
            b = std::rand() % musicas;
        } while (listamusica[b] != 0);
        listamusica[b] = a;
    }
}

int siguiente_tema()
{
    const int tema = listamusica[listamusica[CURSOR]];
    listamusica[CURSOR] = listamusica[CURSOR] < musicas - 1 ? listamusica[CURSOR] + 1 : 0;
    return tema;
}

void anuncia_tema(const char *nombre, int largo)
{
    std::lock_guard<std::mutex> cerrojo(candado_mensa);
    mensaje = 3;
    std::snprintf(mensa, sizeof mensa, "Sonando:%.*s", largo, nombre);
}

namespace {

// Loads and starts the next song of the playlist; the caller holds candado_musica.
void empieza_midi()
{
    // A song that does not load is skipped; with none that loads the game stays silent.
    for (int intento = 0; intento < musicas; intento++) {
        const int tema = siguiente_tema();
        const char *nombre = archivm[tema];
        std::snprintf(ruta_musica, sizeof ruta_musica, "%s/%s", carpetam[tema].c_str(), nombre);
        anuncia_tema(nombre, static_cast<int>(std::strlen(nombre)));
        destroy_midi(music);
        music = load_midi(ruta_musica);
        if (music != nullptr && play_midi(music, 0) == 0) {
            midiest = 1;
            return;
        }
    }
}

} // namespace

void playmidimusic()
{
    std::unique_lock<std::mutex> cerrojo(candado_musica, std::try_to_lock);
    if (!cerrojo.owns_lock()) return; // the other thread is at it; the timer comes back soon
    if (midiest != 0 && midi_pos < 0) midiest = 0;
    if (midiest == 0) empieza_midi();
}

void sigue_midi()
{
    std::unique_lock<std::mutex> cerrojo(candado_musica, std::try_to_lock);
    if (!cerrojo.owns_lock()) return;
    // Tested again under the lock: a stop between the timer's look and here must stay a stop.
    if (midiest == 0 || midi_pos >= 0) return;
    midiest = 0;
    empieza_midi();
}

void stopmidi()
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    midiest = 0;
    stop_midi();
}

} // namespace vz
