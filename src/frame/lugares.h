// Where the game's data and the player's own files are: what differs between systems, one
// implementation file per system. Paths are UTF-8.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace vz {

// The installed data (datos/, levels/, midi/, mp3/), found from the program's own place:
// ../share/games/vorkzel from it on Linux, its own folder on Windows. Empty when the program
// cannot tell where it is.
std::string carpeta_instalada();
// The player's data folder, not created here: $XDG_DATA_HOME/vorkzel, by default
// ~/.local/share/vorkzel; %APPDATA%\vorkzel on Windows.
std::string carpeta_propia();
// The player's settings folder, not created here: $XDG_CONFIG_HOME/vorkzel, by default
// ~/.config/vorkzel; %APPDATA%\vorkzel on Windows.
std::string carpeta_config();
// Where the settings file is, as the help text tells the player.
extern const char *const DONDE_AJUSTES;
// Makes `ruta` and each missing folder above it, private to the player; folders that exist are
// left as they are. True when `ruta` is a folder at the end.
bool crea_carpetas(const std::string &ruta);
bool existe(const std::string &ruta);
// A new file open for writing; null when `ruta` is there already (errno EEXIST) or cannot be made.
std::FILE *crea_nuevo(const std::string &ruta);
// Makes `carpeta` the working directory.
bool entra(const std::string &carpeta);
// fopen for a UTF-8 path, also where the C library takes another character set (Windows).
std::FILE *abre(const std::string &ruta, const char *modo);
bool borra(const std::string &ruta);
// The whole file into `datos`; false when it cannot be opened or read.
bool lee_entero(const std::string &ruta, std::vector<unsigned char> &datos);

} // namespace vz
