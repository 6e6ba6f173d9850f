// Pictures, palettes and sounds loaded once at start-up.
#pragma once
#include "allegro_vz.h"
#include <string>
#include <cstdio>

namespace vz {

constexpr int NUM_TILES = 40;
constexpr int NUM_SPRITES = 29;
constexpr int NUM_SAMPLES = 11;

extern BITMAP *tile[NUM_TILES];     // 32 x 24 level tiles
extern BITMAP *sprite[NUM_SPRITES]; // 0-7 objects, 8-12 vehicle, 13-16 splash, 17-28 flames
extern BITMAP *hud;                 // 320 x 48 score panel
extern PALETTE the_palette;         // game palette (from the sprite sheet)
extern BITMAP *imagen1, *imagen2, *imagen3; // opening, title and victory pictures, 320 x 240
extern PALETTE the_palette1, the_palette2, the_palette3;
extern SAMPLE *sample[NUM_SAMPLES]; // sound slots; 7-9 stay empty
extern MIDI *music2;                // title tune
extern MIDI *music;                 // playlist song now loaded (music module)

// Writes the data files that are missing or cannot be read to `err`, one per line; returns how many.
int faltan_datos(FILE *err);
// After CargarBMP and carga_sonidos: writes the files that failed to load; returns how many.
int datos_fallidos(FILE *err);
// The lines of the last of those two reports, each ending in a line break; "" when all was well.
std::string lista_fallidos();

void CargarBMP();
void carga_sonidos();
void DestruyeBMP();
void DestruyeSonidos();

} // namespace vz
