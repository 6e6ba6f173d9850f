#include "music/mp3.h"
#include "frame/ajustes.h"
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

// Size of the ID3v2 tag whose 10-byte header is `h` (header and footer included), or 0.
long etiqueta_id3(const unsigned char *h)
{
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xff || h[4] == 0xff) return 0;
    long tam = 0;
    for (int i = 6; i < 10; i++) {
        if (h[i] & 0x80) return 0; // sizes are stored 7 bits a byte
        tam = tam << 7 | h[i];
    }
    return 10 + tam + ((h[5] & 0x10) ? 10 : 0);
}

// Reads the first block of music, skipping the tags at the start of the file: ripped and bought
// songs carry up to megabytes of cover art there, which would otherwise go through the decoder
// a block per timer turn while the player hears nothing.
long primer_bloque(PACKFILE *pf, unsigned char *bloque)
{
    for (;;) {
        const long cabecera = pack_fread(bloque, 10, pf);
        if (cabecera < 10) return std::max(0L, cabecera);
        const long tam = etiqueta_id3(bloque);
        if (tam == 0) return 10 + std::max(0L, pack_fread(bloque + 10, BLOQUE_MP3 - 10, pf));
        if (pack_fseek(pf, static_cast<int>(tam - 10)) != 0) return 0;
    }
}

// Hands the stream the next block of the file when it asks for one; false when it does not.
bool entrega_bloque(mp3_file *f)
{
    void *buffer = almp3_get_mp3stream_buffer(f->stream);
    if (buffer == nullptr) return false;
    const long leidos = pack_fread(buffer, BLOQUE_MP3, f->packfile);
    // A short block is the file's last, 0 bytes at its end.
    almp3_free_mp3stream_buffer(f->stream,
                                leidos < BLOQUE_MP3 ? static_cast<int>(std::max(0L, leidos)) : -1);
    return true;
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
        const long leidos = primer_bloque(f->packfile, reinterpret_cast<unsigned char *>(bloque));
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
    // The first fill takes the whole sound ring, 1.5 s of music: one block holds only 0.8 s of a
    // 320 kbps song. The stream asks for what covers the ring at any bit rate (about 200 KB), and
    // gets it now rather than a block a timer turn, so that the song starts at once and whole.
    while (entrega_bloque(f)) continue;
    almp3_poll_mp3stream(f->stream);
}

int poll_mp3_file(mp3_file *f)
{
    entrega_bloque(f);
    return almp3_poll_mp3stream(f->stream);
}

void close_mp3_file(mp3_file *f)
{
    if (f == nullptr) return;
    pack_fclose(f->packfile);
    almp3_destroy_mp3stream(f->stream);
    std::free(f);
}

namespace {

// Opens and starts the next song of the playlist; the caller holds candado_musica.
void empieza_mp3()
{
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
            play_mp3_file(mp3, BUFFER_MP3, vol_musica(255), 128);
            mp3est = 1;
            return;
        }
    }
}

} // namespace

void playmp3()
{
    std::unique_lock<std::mutex> cerrojo(candado_musica, std::try_to_lock);
    if (!cerrojo.owns_lock()) return; // the other thread is at it; the timer comes back soon
    if (mp3est != 0 && poll_mp3_file(mp3) != 0) cierra_actual();
    if (mp3est == 0) empieza_mp3();
}

void sigue_mp3()
{
    std::unique_lock<std::mutex> cerrojo(candado_musica, std::try_to_lock);
    if (!cerrojo.owns_lock()) return;
    // Tested again under the lock: a stop between the timer's look and here must stay a stop.
    if (mp3est == 0 || poll_mp3_file(mp3) == 0) return;
    cierra_actual();
    empieza_mp3();
}

void stopmp3()
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    if (mp3est != 0) cierra_actual();
}

void ajusta_mp3(int vol)
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    if (mp3est != 0) almp3_adjust_mp3stream(mp3->stream, vol_musica(vol), 128, 1000);
}

} // namespace vz
