// Screens outside play: title, difficulty menu, end screens, ranking.
#pragma once
#include "allegro_vz.h"
#include <cstdint>
#include <cstdio>

namespace vz {

void presentacion();
int seleciona_dificultad();
void game_over();
void gane();
void tupuntaje();

constexpr int TAM_RANKING = 240;
extern const char *ruta_ranking; // "datos/ranking.dat"

void muestraranking(int tabla, int fila);
// The text of row `r` (0..9) for the 8-byte `registro`: "%2d %6d %.3s" with place, score and the
// initials up to the first zero byte. Reads the record's 7 bytes of score and initials only.
constexpr int TAM_FILA = 24;
void texto_fila(char texto[TAM_FILA], int r, const unsigned char *registro);
void escriveranking();

// Reads the ranking file into `bloque`; missing bytes stay zero. Returns the bytes read.
int lee_ranking(unsigned char bloque[TAM_RANKING]);
// Place (0..9) that a total takes in table `difi`, or 10 when it does not enter.
int posicion_ranking(const unsigned char *bloque, int difi, uint32_t total);
// Puts the entry at `posicion` of table `difi`, moving the rest down; reserved bytes untouched.
void inserta_ranking(unsigned char *bloque, int difi, int posicion, uint32_t total,
                     const char iniciales[3]);
// Saves a record of `total` into table `difi` of the ranking file, under the file's lock: the file
// is read again, the place found on it, the record put there and the file replaced whole. Returns
// the place (0..9), 10 when the total no longer enters, or -1 when the file cannot be written.
int guarda_record(int difi, uint32_t total, const char iniciales[3]);

} // namespace vz
