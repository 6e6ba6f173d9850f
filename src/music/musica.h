// Background music: file list, shuffled playlist, MIDI playback.
#pragma once
#include <atomic>

namespace vz {

constexpr int MAX_MUSICAS = 10;

extern char archivm[MAX_MUSICAS][512]; // music file names, sorted by name
extern int musicas;                    // how many, 0..10
extern int listamusica[11];            // 0..musicas-1: playlist order; slot 10: cursor
extern std::atomic<int> midiest;       // 1 while a playlist MIDI song has been started
extern char ruta_musica[512];          // the music's own path buffer

void buscaarchm();
void armalistamusica();
void playmidimusic();
// The music timer's turn: starts the next song when one has ended; never starts one after a stop.
void sigue_midi();
void stopmidi();

// Next playlist file number; moves the cursor on, wrapping after the last.
int siguiente_tema();

} // namespace vz
