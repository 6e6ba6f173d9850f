// Streamed MP3 background music.
#pragma once
#include "allegro_vz.h"
#include "music/almp3.h"
#include <atomic>

namespace vz {

constexpr int BLOQUE_MP3 = 32768;
constexpr int BUFFER_MP3 = 65536;

struct mp3_file {
    PACKFILE *packfile; // positioned after the data already handed to the decoder
    ALMP3_MP3STREAM *stream;
};

extern mp3_file *mp3;           // the song now open; null until the first one
extern std::atomic<int> mp3est; // 1 while a song has been opened and started

void buscaarchmp3();
mp3_file *open_mp3_file(const char *filename);
void play_mp3_file(mp3_file *f, int buflen, int vol, int pan);
int poll_mp3_file(mp3_file *f);
void close_mp3_file(mp3_file *f);
void playmp3();
// The music timer's turn: feeds the song playing and starts the next when it ends; never
// starts one after a stop.
void sigue_mp3();
void stopmp3();
// Volume of the playing song, if any (level start 255, level end 100).
void ajusta_mp3(int vol);

} // namespace vz
