// Whole-game harness: the staged game in a real window under its own Xvfb, driven by xdotool.
#pragma once
#include <chrono>
#include <map>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace prueba {

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

    // A scratch directory holding a copy of the staged data (datos, levels, midi, mp3), which tests
    // may change before arranca(), and an Xvfb with key auto-repeat off.
    Juego();
    ~Juego(); // kills the game and Xvfb, removes the scratch directory
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
    Captura foto() const;  // the window's pixels
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

// Seconds since an arbitrary start, for waits in tests.
double ahora();
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

} // namespace prueba
