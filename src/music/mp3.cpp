#include "music/mp3.h"
#include "game/busca.h"
#include "music/candado.h"
#include "music/carpetas.h"
#include "music/musica.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vz {

mp3_file *mp3 = nullptr;
std::atomic<int> mp3est{0};

namespace {

bool voces_liberadas = false;

void cierra_actual()
{
    almp3_stop_mp3stream(mp3->stream);
    close_mp3_file(mp3);
    mp3 = nullptr;
    mp3est = 0;
}

} // namespace

void buscaarchmp3()
{
    musicas = lista_musica("mp3", "mp3");
}

mp3_file *open_mp3_file(const char *filename)
{
    auto *f = static_cast<mp3_file *>(std::malloc(sizeof(mp3_file)));
    if (f == nullptr) return nullptr;
    f->packfile = pack_fopen(filename, F_READ);
    f->stream = nullptr;
    if (f->packfile != nullptr) {
        static char bloque[BLOQUE_MP3]; // callers hold candado_musica
        const long leidos = pack_fread(bloque, BLOQUE_MP3, f->packfile);
        if (leidos > 0) {
            // A file shorter than one block is handed over whole, marked as the last block.
            if (leidos < BLOQUE_MP3)
                f->stream = almp3_create_mp3stream(bloque, static_cast<int>(leidos), -1);
            else
                f->stream = almp3_create_mp3stream(bloque, BLOQUE_MP3, 0);
        }
    }
    if (f->stream == nullptr) {
        if (f->packfile != nullptr) pack_fclose(f->packfile);
        std::free(f);
        return nullptr;
    }
    return f;
}

void play_mp3_file(mp3_file *f, int buflen, int vol, int pan)
{
    almp3_play_mp3stream(f->stream, buflen, vol, pan);
}

int poll_mp3_file(mp3_file *f)
{
    void *buffer = almp3_get_mp3stream_buffer(f->stream);
    if (buffer != nullptr) {
        const long leidos = pack_fread(buffer, BLOQUE_MP3, f->packfile);
        almp3_free_mp3stream_buffer(f->stream,
                                    leidos < BLOQUE_MP3 ? static_cast<int>(std::max(0L, leidos)) : -1);
    }
    return almp3_poll_mp3stream(f->stream);
}

void close_mp3_file(mp3_file *f)
{
    if (f == nullptr) return;
    pack_fclose(f->packfile);
    almp3_destroy_mp3stream(f->stream);
    std::free(f);
}

void playmp3()
{
    std::unique_lock<std::mutex> cerrojo(candado_musica, std::try_to_lock);
    if (!cerrojo.owns_lock()) return; // the other thread is at it; the timer comes back soon
    if (mp3est != 0 && poll_mp3_file(mp3) != 0) cierra_actual();
    if (mp3est != 0) return;

    // A song that cannot be opened is skipped; with none that opens the game stays silent.
    for (int intento = 0; intento < musicas; intento++) {
        const int tema = siguiente_tema();
        const char *nombre = archivm[tema];
        std::snprintf(ruta_musica, sizeof ruta_musica, "%s/%s", carpetam[tema].c_str(), nombre);
        const int largo = static_cast<int>(std::strlen(nombre));
        anuncia_tema(nombre, largo > 4 ? largo - 4 : 0);
        if (!voces_liberadas) {
            for (int v = 0; v < 16; v++) deallocate_voice(v);
            voces_liberadas = true;
        }
        mp3 = open_mp3_file(ruta_musica);
        if (mp3 != nullptr) {
            play_mp3_file(mp3, BUFFER_MP3, 255, 128);
            mp3est = 1;
            return;
        }
    }
}

void stopmp3()
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    if (mp3est != 0) cierra_actual();
}

void ajusta_mp3(int vol)
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    if (mp3est != 0) almp3_adjust_mp3stream(mp3->stream, vol, 128, 1000);
}

} // namespace vz
