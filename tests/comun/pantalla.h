// Whole-game harness: the staged game in a real window under its own Xvfb, driven by xdotool, and
// what it should show, drawn here from the shipped data to compare with screenshots.
#pragma once
#include "formato.h"
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <vector>

struct _XDisplay; // Xlib's Display

namespace prueba {

using Bytes = std::vector<unsigned char>;
template <class T = Bytes> T lee(const std::string &ruta) {
    std::ifstream in(ruta, std::ios::binary);
    return T(std::istreambuf_iterator<char>(in), {});
}
inline void escribe(const std::string &ruta, const Bytes &b) {
    std::ofstream(ruta, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
}
// Record `fila` of table `tabla` of a ranking file: score, three initials, a reserved byte.
inline void pon_registro(Bytes &b, int tabla, int fila, uint32_t puntos, const char *ini,
                         int reservado) {
    unsigned char *r = b.data() + 80 * tabla + 8 * fila;
    for (int i = 0; i < 4; i++)
        r[i] = static_cast<unsigned char>(puntos >> (8 * i));
    std::copy_n(ini, 3, r + 4);
    r[7] = static_cast<unsigned char>(reservado);
}
// A level with every tile column drawn as road below and scenery above, no objects, speed code 3.
nivel::Nivel nivel_corto();
// Replaces the levels in `dir` with this one, as 01.map.
void pon_nivel(const std::string &dir, const nivel::Nivel &n);

struct Captura {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;    // w * h * 3
    unsigned pixel(int x, int y) const // 0xRRGGBB
    {
        const unsigned char *p = rgb.data() + 3 * (y * w + x);
        return p[0] << 16 | p[1] << 8 | p[2];
    }
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
    void tecla(const std::string &keysym, int ms = 80) {
        en_x("xdotool keydown " + keysym);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        en_x("xdotool keyup " + keysym);
    }
    // One GetImage request, answered between two updates of the window, never within one.
    Captura foto() const;
    void cierra_ventana(); // the close button: a WM_DELETE_WINDOW message
    bool vivo() {
        int st;
        if (juego_ <= 0 || waitpid(juego_, &st, WNOHANG) != juego_) return juego_ > 0;
        estado_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        juego_ = -1;
        return false;
    }
    int espera_fin(double segundos); // the exit status, or -1 on time-out
    // What the game wrote to standard error.
    std::string salida_error() const { return lee<std::string>(dir_ + "/error.txt"); }

  private:
    std::string en_x(const std::string &orden) const // output of `orden` run on our display
    {
        std::string salida;
        FILE *p = popen(("DISPLAY=" + display_ + " " + orden + " 2>/dev/null").c_str(), "r");
        char buf[4096];
        for (size_t n; p != nullptr && (n = fread(buf, 1, sizeof buf, p)) > 0;)
            salida.append(buf, n);
        if (p != nullptr) pclose(p);
        return salida;
    }
    std::string dir_, display_;
    std::vector<std::string> argumentos_; // of the last arranca(), and its extra environment
    std::map<std::string, std::string> entorno_;
    pid_t xvfb_ = -1, juego_ = -1;
    int cerrojo_x_ = -1; // held while our server has its display number
    unsigned long ventana_ = 0;
    mutable _XDisplay *x_ = nullptr; // our connection for screenshots, opened on first use
    int estado_ = -1;
};

inline double ahora() // seconds since an arbitrary start
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
inline void espera(double segundos) {
    std::this_thread::sleep_for(std::chrono::duration<double>(segundos));
}

// Polls `cond` every 50 ms until it holds or `segundos` pass.
template <class F> bool espera_que(double segundos, F cond) {
    for (const double fin = ahora() + segundos; ahora() < fin; espera(0.05))
        if (cond()) return true;
    return cond();
}

// True when the score panel of `c` shows "PUNTOS:%5d VIDAS:%2d" for these values.
bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas);
// Fraction (0..1) of the window's pixels that match the shipped picture `datos/<nombre>`.
double parecido_a(const Captura &c, const std::string &nombre);
// A line of text centred on x 160: its top y, palette colour (-1: the font's) and text.
using Texto = std::tuple<int, int, std::string>;
// True when `c` shows exactly these lines in the game font on a black screen.
bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas);

// Waits for the window, cuts the opening picture short and returns once the title picture shows.
bool hasta_titulo(Juego &j);
// On from the title picture to the difficulty menu; returns once the menu shows.
bool hasta_menu(Juego &j);
// From the start to the first frame of the level at difficulty `dificultad` (0..2).
bool hasta_jugar(Juego &j, int dificultad);

} // namespace prueba
