// Level list, and the sorted directory listing that the music lists share.
#pragma once
#include "allegro_vz.h"

namespace vz {

constexpr int MAX_NIVELES = 15;

extern char archive[MAX_NIVELES][512]; // level file names in play order (sorted by name)
extern int niveles;                    // how many of them, 0..15
extern struct al_ffblk dir_reader;     // scratch record of the directory searches

// Lists the files matching `patron`, sorted by name (byte order), and copies the first `max` names
// of at most `largo_max` characters into `nombres`; longer names are left out. Returns the count.
int lista_ordenada(const char *patron, char (*nombres)[512], int max, int largo_max);

void buscaarch();

} // namespace vz
