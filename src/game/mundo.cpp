#include "game/mundo.h"

namespace vz {

float x = 0.0f;
float y = 0.0f;
int pos = 0;
int mov = 0;
int cammov = 0;

int scr1 = 0, scr2 = 0, scr3 = 0, scr4 = 0, scr5 = 0;
float sobscro = 0.0f;
float nscro = 0.0f;
float nscr2 = 0.0f;
float nscr3 = 0.0f;

unsigned char mapa[1600];
unsigned char multi = 0;
enemigo *enemi = nullptr;
int nivel = 0;
char archivo[512];

int sprite_div[MAX_VISIBLES][3];
int spr_cant = 0;
int sprcol = 0;

float fuego = 0.0f;
salpicadura sanani[NUM_SANGRE];
int sang = 0;
int s = 0;
float dela = 0.0f;
int pan = 0;

uint32_t puntos = 0;
int vidas = 0;
int bvid = 0;
int difi = 0;

float animcon = 0.0f;

} // namespace vz
