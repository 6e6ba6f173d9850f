// World state of a running game. Units: pixels of the 320 x 240 screen; "frame" means a 75 Hz frame
// (every per-tick step is a per-frame constant times animcon).
#pragma once
#include <cstdint>

namespace vz {

// Object record, as stored in the level file (4 bytes, little-endian).
struct enemigo {
    uint16_t columna; // level x / 32 over the four passes, 0..799 reached in play
    uint8_t posy;     // sprite top at posy + 20; lane y is posy + 48 (24, 48, 72, 96 = lanes 0..3)
    uint8_t tipo;     // 0 empty, 1..5 run-over, 6 hazard, 7 bag, 8 remains
};
static_assert(sizeof(enemigo) == 4);

constexpr int NUM_ENEMIGOS = 300;   // records in a level
// Room for every record in the draw list, so that no visible object is ever left undrawn.
constexpr int MAX_VISIBLES = NUM_ENEMIGOS;
constexpr int NUM_SANGRE = 6;       // blood splash slots

// Vehicle and control
extern float x;     // vehicle screen x, 40.0 in play, up to 320.0 during the drive-off
extern float y;     // vehicle lane position: 72, 96, 120, 144 in a lane, in between while changing
extern int pos;     // lane 0..3 the vehicle is in or is leaving
extern int mov;     // lane change under way: 0 none, 1 up, 2 down
extern int cammov;  // lane-change step in pixels per frame: 2, or 1 while a splash is active

// Scrolling
extern int scr1;       // level x within the pass of the next column to enter, 0..6399
extern int scr2;       // next column of proximo_bloque to copy, 0..32 (32: compose a new tile column)
extern int scr3;       // scr4 before the current one-pixel step, 0..319
extern int scr4;       // x in `scroll` of the view's left edge, 0..319
extern int scr5;       // completed passes through the map, 0..4
extern float sobscro;  // fraction of a pixel carried between ticks, 0 <= v < 1; never reset
extern float nscro;    // the level's full speed, pixels per tick
extern float nscr2;    // current speed: nscro, animcon (splash) or 0.0 (burning)
extern float nscr3;    // difficulty base speed, pixels per frame: 3, 4 or 5

// Level
extern unsigned char mapa[1600]; // tile 0..39 of column c, row r at index c * 8 + r
extern unsigned char multi;      // speed code: 1 (x1), 2 (x1.5), 3 (x2)
extern enemigo *enemi;           // the level's 300 object records (allocated at start-up)
extern int nivel;                // current level, from 1; 0 before the first
extern char archivo[512];        // path buffer: "levels/" + file name

// Draw list, rebuilt every tick: sprite index, screen y, screen x
extern int sprite_div[MAX_VISIBLES][3];
extern int spr_cant;  // valid entries of sprite_div, 0..300
extern int sprcol;    // record index 0..299 of the latest object touched

// Effects
struct salpicadura {
    float tiempo; // remaining time in frames, 80 when started; active while above 0
    int py;       // screen y
    float px;     // screen x
};
extern float fuego;                     // fire timer in frames, 0.0 = no fire, up to 480
extern salpicadura sanani[NUM_SANGRE];  // blood splashes
extern int sang;                        // 1 if a splash was active after the latest update
extern int s;                           // vehicle animation frame 0..4; never reset
extern float dela;                      // animation frame timer in frames, 0..10
extern int pan;                         // pan of the latest bag sound, 0 or 255; never reset

// Score and progress
extern uint32_t puntos; // score, compared unsigned
extern int vidas;       // spare lives
extern int bvid;        // next extra life due at bvid * 10000 points
extern int difi;        // difficulty 0 "VOY DE PASEO", 1 "QUIERO JUGAR", 2 "SOY JODIDO"

// Speed factor: 75 Hz frames per tick (1.0 at 75 Hz, 1.25 at 60 Hz, 0.75 at 100 Hz)
extern float animcon;

} // namespace vz
