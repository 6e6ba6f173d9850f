// The folders that songs come from: the shipped mp3/ and midi/, and the player's own copies of them.
#pragma once
#include "music/musica.h"
#include <string>

namespace vz {

// The player's data folder when running from installed data ($XDG_DATA_HOME/vorkzel); empty
// otherwise, and then only the shipped folders are searched.
extern std::string carpeta_jugador;
// Folder of each entry of archivm ("mp3", "midi", or the player's copy of them).
extern std::string carpetam[MAX_MUSICAS];

// Lists the `sub`/*.`ext` files of the shipped folder and of the player's, in name order, into
// archivm and carpetam; a name in both is the player's file. At most ten. Returns the count.
int lista_musica(const char *sub, const char *ext);

} // namespace vz
