// Whole-game harness: the staged game in a real window under its own Xvfb, driven by xdotool.
#pragma once
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace prueba {

struct Captura {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb; // w * h * 3
    // Colour of a pixel as 0xRRGGBB.
    unsigned pixel(int x, int y) const;
    // Pixels in the rectangle whose colour differs from `fondo`.
    int distintos(int x0, int y0, int x1, int y1, unsigned fondo) const;
};

// Screen of the Xvfb that the next Juego starts, "WIDTHxHEIGHTxDEPTH".
extern std::string pantalla_xvfb;

class Juego {
  public:
    // When set before arranca(): the program to start instead of the staged game, and its working
    // directory instead of dir().
    std::string programa, carpeta;
    // Scale of the game's window: foto() then gives one pixel of each square, the game's picture.
    int escala = 1;

    // Makes a scratch working directory holding a copy of the staged data (datos, levels, midi,
    // mp3); tests may change it before arranca(). Starts Xvfb with key auto-repeat off.
    Juego();
    ~Juego(); // kills the game and Xvfb, removes the scratch directory
    Juego(const Juego &) = delete;
    Juego &operator=(const Juego &) = delete;

    const std::string &dir() const { return dir_; }

    // Starts the game with its working directory in dir(); `env` is added to its environment.
    void arranca(const std::vector<std::string> &args = {},
                 const std::map<std::string, std::string> &env = {});
    // Waits for the window titled "VORK-ZEL 2003" and focuses it.
    bool espera_ventana(double segundos = 20);
    pid_t pid() const { return juego_; }

    void tecla(const std::string &keysym);  // press and release
    void pulsa(const std::string &keysym);  // hold down
    void suelta(const std::string &keysym); // release
    Captura foto() const;                   // the window's 320 x 240 pixels
    void cierra_ventana(); // the close button: a WM_DELETE_WINDOW message

    bool vivo();
    // Waits for the game to end; false on time-out. `estado` gets its exit status.
    bool espera_fin(double segundos, int &estado);
    std::string salida_error() const; // what the game wrote to standard error

  private:
    int xdotool(const std::string &args) const;
    std::string dir_, display_;
    std::vector<std::string> argumentos_;           // of the last arranca()
    std::map<std::string, std::string> entorno_;  // its extra environment
    pid_t xvfb_ = -1, juego_ = -1;
    unsigned long ventana_ = 0;
    int estado_ = -1;
};

// Seconds since an arbitrary start, for waits in tests.
double ahora();
// Polls `cond` every 50 ms until it holds or `segundos` pass.
template <class F> bool espera_que(double segundos, F cond);

} // namespace prueba

#include <thread>
template <class F> bool prueba::espera_que(double segundos, F cond)
{
    const double fin = ahora() + segundos;
    while (ahora() < fin) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return cond();
}
