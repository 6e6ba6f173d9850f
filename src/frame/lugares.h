// Where the game's data and the player's own files are: what differs between systems, one
// implementation file per system. Paths are UTF-8.
#pragma once
#include <cstdio>
#include <string>

namespace vz {

// The installed data (datos/, levels/, midi/, mp3/), found from the program's own place:
// ../share/games/vorkzel from it on Linux. Empty when the program cannot tell where it is.
std::string carpeta_instalada();
// The player's data folder, not created here: $XDG_DATA_HOME/vorkzel, by default
// ~/.local/share/vorkzel.
std::string carpeta_propia();
// The player's settings folder, not created here: $XDG_CONFIG_HOME/vorkzel, by default
// ~/.config/vorkzel.
std::string carpeta_config();
// Makes `ruta` and each missing folder above it, private to the player; folders that exist are
// left as they are. True when `ruta` is a folder at the end.
bool crea_carpetas(const std::string &ruta);
bool existe(const std::string &ruta);
// A new file open for writing; null when `ruta` is there already (errno EEXIST) or cannot be made.
std::FILE *crea_nuevo(const std::string &ruta);
// Makes `carpeta` the working directory.
bool entra(const std::string &carpeta);

} // namespace vz
