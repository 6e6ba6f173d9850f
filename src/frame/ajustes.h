// The player's settings: keys, pad buttons, window and volumes, from an optional text file of
// "name = value" lines. The game only reads it; --write-settings writes one with the defaults.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace vz {

// What the player can do; each action has one key and may have one pad button.
enum Accion { ARRIBA, ABAJO, IZQUIERDA, DERECHA, PAUSA, CONFIRMA, SALE, RANKING, NUM_ACCIONES };
constexpr int NINGUNA = -1; // no action: a key that no action has
constexpr int SIN_BOTON = -1;

// Indexes into `ajustes`. Axes are bit sets: bit n is the pad's axis n as the system numbers them.
constexpr int TECLA = 0;            // TECLA + action: its key (scancode)
constexpr int BOTON = NUM_ACCIONES; // BOTON + action: its pad button (from 0), or SIN_BOTON
enum {
    EJES_V = 2 * NUM_ACCIONES, // axes whose negative side is up, positive side down
    EJES_H,                    // axes whose negative side is left, positive side right
    ESCALA,                    // window scale 1..4; 0: the largest that fits the desktop
    COMPLETA,                  // 1: full screen
    EFECTOS,                   // volume of the sound effects, 0..100
    MUSICA,                    // volume of the music, 0..100
    NUM_AJUSTES
};

using Valores = std::array<int, NUM_AJUSTES>;
// How the system numbers a pad's axes, which differs between systems (one file per system): the
// default axes of an Xbox-style pad, and the settings file's words on the numbers.
struct PadSistema {
    int ejes_v, ejes_h;
    const char *nota_botones, *nota_ejes;
};
extern const PadSistema PAD_SISTEMA;
extern const Valores AJUSTES_DEFECTO;
extern Valores ajustes; // the defaults until start-up reads the file
// Applies the lines of `texto` over `valores`. A wrong line (unknown name, bad value, a name or a
// key or button given twice) leaves its setting at the default and adds a message naming
// `archivo` and the line to `avisos`.
void interpreta_ajustes(const std::string &texto, const std::string &archivo, Valores &valores,
                        std::vector<std::string> &avisos);
// A settings file with every setting at its default, each with a comment.
std::string texto_ajustes();

// The key of this name (the library's names without KEY_, any case), or 0 when there is none.
int tecla_de_nombre(const std::string &nombre);

// A level of the game's own (0..255) with the player's music volume on top.
int vol_musica(int nivel);
// The loaded sound effects made quieter by the player's effects volume.
void atenua_efectos();

// $XDG_CONFIG_HOME/vorkzel/vorkzel.cfg
std::string ruta_ajustes();
// Reads the player's file, if there is one, into `ajustes`; its complaints go to standard error.
void lee_ajustes();
// --write-settings: the defaults into a new file. Returns the process status.
int escribe_ajustes();

} // namespace vz
