// Start-up and shutdown: options, graphics mode, timers, resources.
#pragma once
#include "allegro_vz.h"

namespace vz {

extern int autodetect_card; // graphics driver for set_gfx_mode: GFX_AUTODETECT_WINDOWED (2) or _FULLSCREEN (1)
extern int info;            // 1: show the diagnostics screen once at start-up
extern int triple_buffer;   // 1: three pages flipped in turn (-tbuf), 0: one memory page copied
extern int musicmp3;        // 1: background music comes from mp3/, 0: from midi/
extern FONT *font2;         // the library's built-in font, kept before `font` becomes the game font
extern int bg;              // text background for every text call: -1 (transparent) from start-up on

// Ends the program with status 1 and one line on standard error.
[[noreturn]] void aborta(const char *porque);

// The scrolling strip, the next block and the object table; ends start-up when one cannot be had.
void crea_trabajo();

// The window settings of the player's file; options read afterwards win over them.
void aplica_ajustes();
// Reads -full, -window, -tbuf, -info and the scale -1..-4; anything else is ignored.
void lee_opciones(int argc, char **argv);

// The whole program: start-up, screen flow, shutdown. Returns the process status.
int arranque(int argc, char **argv);

} // namespace vz
