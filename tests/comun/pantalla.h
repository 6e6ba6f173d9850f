// Whole-game harness: the staged game in a real window under its own Xvfb, driven by xdotool, and
// what it should show, drawn here from the shipped data to compare with screenshots.
#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace prueba {

using Bytes = std::vector<unsigned char>;
Bytes lee(const std::string &ruta);
void escribe(const std::string &ruta, const Bytes &b);

struct Captura {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;     // w * h * 3
    unsigned pixel(int x, int y) const; // 0xRRGGBB
    // Pixels in the rectangle whose colour differs from `fondo`.
    int distintos(int x0, int y0, int x1, int y1, unsigned fondo) const;
};

// Screen of the Xvfb that the next Juego starts, "WIDTHxHEIGHTxDEPTH".
extern std::string pantalla_xvfb;

class Juego {
  public:
    std::string programa, carpeta; // if set: started instead of the staged game, and its directory
    int escala = 1;                // of the window: foto() gives one pixel of each square

    // A scratch copy of the staged data (datos, levels, midi, mp3), which tests may change before
    // arranca(), and an Xvfb with key auto-repeat off. All of it goes with the object.
    Juego();
    ~Juego();
    Juego(const Juego &) = delete;
    Juego &operator=(const Juego &) = delete;
    const std::string &dir() const { return dir_; }

    void arranca(const std::vector<std::string> &args = {},
                 const std::map<std::string, std::string> &env = {});
    // Waits for the window titled "VORK-ZEL 2003" and focuses it.
    bool espera_ventana(double segundos = 20);
    pid_t pid() const { return juego_; }
    // Held like a finger would: the game reads held keys once a tick.
    void tecla(const std::string &keysym, int ms = 80);
    Captura foto() const;
    void cierra_ventana(); // the close button: a WM_DELETE_WINDOW message
    bool vivo();
    // Waits for the game to end; false on time-out. `estado` gets its exit status.
    bool espera_fin(double segundos, int &estado);
    std::string salida_error() const; // what the game wrote to standard error

  private:
    std::string en_x(const std::string &orden) const; // runs `orden` on our display: its output
    std::string dir_, display_;
    std::vector<std::string> argumentos_; // of the last arranca(), and its extra environment
    std::map<std::string, std::string> entorno_;
    pid_t xvfb_ = -1, juego_ = -1;
    unsigned long ventana_ = 0;
    int estado_ = -1;
};

double ahora(); // seconds since an arbitrary start
inline void espera(double segundos)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(segundos));
}

// Polls `cond` every 50 ms until it holds or `segundos` pass.
template <class F> bool espera_que(double segundos, F cond)
{
    for (const double fin = ahora() + segundos; ahora() < fin; espera(0.05))
        if (cond()) return true;
    return cond();
}

// True when the score panel of `c` shows "PUNTOS:%5d VIDAS:%2d" for these values.
bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas);
// Fraction (0..1) of the window's pixels that match the shipped picture `datos/<nombre>`.
double parecido_a(const Captura &c, const std::string &nombre);
// A line of text centred on x 160 with its top at `y`, in palette colour `color` (-1: the font's).
struct Texto {
    int y, color;
    std::string texto;
};
// True when `c` shows exactly these lines in the game font on a black screen.
bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas);
// True when `c` shows table `tabla` (0..2) of the 240-byte `ranking` with row `fila` highlighted
// (-1 for none): title at the top, ten rows "%2d %6d %.3s" 21 pixels apart.
bool muestra_ranking(const Captura &c, const Bytes &ranking, int tabla, int fila);

// Waits for the window, cuts the opening picture short and returns once the title picture shows.
bool hasta_titulo(Juego &j);
// On from the title picture to the difficulty menu; returns once the menu shows.
bool hasta_menu(Juego &j);
// From the start to the first frame of the level at difficulty `dificultad` (0..2).
bool hasta_jugar(Juego &j, int dificultad);

} // namespace prueba
